#include "ccomboboxignorescroll.h"

#include <QWheelEvent>

CComboBoxIgnoreScroll::CComboBoxIgnoreScroll(QWidget *parent) : QComboBox(parent)
{
    setFocusPolicy(Qt::StrongFocus);
}

void CComboBoxIgnoreScroll::wheelEvent(QWheelEvent *event)
{
    if (hasFocus()) {
        QComboBox::wheelEvent(event);
        return;
    }
    event->ignore();
}
