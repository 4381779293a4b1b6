#include "button_share.h"

#include "ui_button_share.h"

Button_share::Button_share(QWidget *parent) : QWidget(parent), m_pUi(std::make_unique<Ui::Button_share>())
{
    m_pUi->setupUi(this);
}

Button_share::~Button_share() = default;

QString Button_share::arrowStyle() const
{
    return m_pUi->ShareBtn->styleSheet();
}

void Button_share::enterEvent(QEvent *event)
{
    QWidget::enterEvent(event);
    const bool wasFlipped = m_bFlipped;
    m_bFlipped = !m_bFlipped;
    m_pUi->ShareBtn->setStyleSheet(wasFlipped
                                       ? QStringLiteral("image: url(:/resources/images/ScreenDrawing/icon_up.png);")
                                       : QStringLiteral("image: url(:/resources/images/ScreenDrawing/icon_down.png);"));
    emit mySignal();
}
