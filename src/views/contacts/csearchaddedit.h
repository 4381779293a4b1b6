#pragma once

#include <QLineEdit>

class QHBoxLayout;
class QLabel;

// The search field of the add-contacts page, with its magnifier inside the
// left edge.
class CSearchAddEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit CSearchAddEdit(QWidget *parent = nullptr);
    ~CSearchAddEdit() override;

    void updateDpi(double scale);

private:
    QHBoxLayout *m_pLayout = nullptr;
    QLabel *m_label = nullptr;
};
