#pragma once

#include <QSpinBox>

#include "views/conferences/cconferenceseditoricon.h"

// The schedule page's duration editor: hours and minutes as "HH:mm", where
// the hours go on past 23 (a time-of-day editor stops at 23:59, so a meeting
// of a day or more could be neither made nor shown). Its value is in minutes;
// the arrows step the hours while the cursor is in them, else the minutes.
class CConferencesScheduleDurationEdit : public QSpinBox
{
    Q_OBJECT

public:
    explicit CConferencesScheduleDurationEdit(QWidget *parent = nullptr);
    ~CConferencesScheduleDurationEdit() override;

    void updateDpi(double scale);
    void stepBy(int steps) override;

protected:
    QString textFromValue(int minutes) const override;
    int valueFromText(const QString &text) const override;
    QValidator::State validate(QString &text, int &position) const override;

private:
    CConferencesEditorIcon m_icon;
};
