#pragma once

#include <QComboBox>

// A combo box on a scrolling page: the mouse wheel changes its value only
// while it has keyboard focus; otherwise the wheel scrolls the page.
class CComboBoxIgnoreScroll : public QComboBox
{
    Q_OBJECT

public:
    explicit CComboBoxIgnoreScroll(QWidget *parent = nullptr);

protected:
    void wheelEvent(QWheelEvent *event) override;
};
