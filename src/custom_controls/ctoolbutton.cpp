#include "ctoolbutton.h"

namespace {

const char kStyleTemplate[] =
    "QToolButton {         color: #ffffff;         font-size: %1px;         text-align: center;         "
    "background-image: url(:/resources/images/layout-operationbar/icon_resume_pip_normal%2.png);         "
    "background-repeat: repeat-no-repeat;         background-position: left;         background-origin: content;  "
    "       padding-left: %3px;         padding-right: -%3px;         background-color: rgba(255, 255, 255, 0.2);  "
    "       border-radius: 5px;     }         QToolButton:hover {         "
    "background-image: url(:/resources/images/layout-operationbar/icon_resume_pip_click%2.png);         color: "
    "#4381ff;     }";

} // namespace

CToolButton::CToolButton(QWidget *parent) : QToolButton(parent)
{
    setStyleSheet(QString());
}

void CToolButton::onDpiChanged(double scale)
{
    int fontSize = 12;
    QString suffix;
    int padding = 10;
    if (scale > 1.5) {
        fontSize = 24;
        suffix = QStringLiteral("_2x");
        padding = 20;
    } else if (scale > 1.0) {
        fontSize = 18;
        suffix = QStringLiteral("_1.5x");
        padding = 15;
    }
    setStyleSheet(QString::fromLatin1(kStyleTemplate).arg(fontSize).arg(suffix).arg(padding));
}
