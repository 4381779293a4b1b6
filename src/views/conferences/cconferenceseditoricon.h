#pragma once

#include <QString>

class QLabel;
class QWidget;

// The small picture inside the left edge of the schedule page's date and
// time editors; the editors' style sheets leave room for it.
class CConferencesEditorIcon
{
public:
    CConferencesEditorIcon(QWidget *editor, const QString &plainImageFile);

    void updateDpi(double scale);

private:
    QLabel *m_pLabel = nullptr;
    QString m_strImageName;
};
