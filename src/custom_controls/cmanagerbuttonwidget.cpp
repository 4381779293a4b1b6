#include "cmanagerbuttonwidget.h"

#include <QMouseEvent>

#include "ui_cmanagerbuttonwidget.h"

CManagerButtonWidget::CManagerButtonWidget(QWidget *parent)
    : QWidget(parent), m_pUi(std::make_unique<Ui::CManagerButtonWidget>())
{
    m_pUi->setupUi(this);
    setAttribute(Qt::WA_StyledBackground);
}

CManagerButtonWidget::~CManagerButtonWidget() = default;

void CManagerButtonWidget::setTitle(const QString &title)
{
    m_pUi->m_pTitle->setText(title);
}

void CManagerButtonWidget::setNumber(const QString &number)
{
    m_pUi->m_pNumber->setText(number);
}

void CManagerButtonWidget::onDpiChanged(double scale)
{
    const int iconSide = int(28 * scale);
    m_pUi->m_pImg->setFixedSize(iconSide, iconSide);
    m_pUi->m_pImg->move(int(width() / 2.0 - 14 * scale), m_pUi->m_pImg->y());
    m_pUi->m_pNumber->setFixedSize(iconSide, iconSide);
    m_pUi->m_pNumber->move(int(width() / 2.0 + 5 * scale), m_pUi->m_pNumber->y());
    m_pUi->m_pTitle->setFixedSize(int(88 * scale), int(15 * scale));
    m_pUi->m_pTitle->move(0, height() - m_pUi->m_pTitle->height() - 5);

    QString fontSize = QStringLiteral("24px");
    if (scale == 1.0) {
        fontSize = QStringLiteral("12px");
    } else if (scale == 1.5) {
        fontSize = QStringLiteral("18px");
    }
    m_pUi->m_pTitle->setStyleSheet(QStringLiteral("#m_pTitle{color: rgb(255, 255, 255);font-size: %1;}").arg(fontSize));
    m_pUi->m_pNumber->setStyleSheet(
        QStringLiteral("#m_pNumber{color: rgb(255, 255, 255);font-size: %1;background-color: rgba(255, 255, 255, 0);}")
            .arg(fontSize));
}

void CManagerButtonWidget::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        emit clicked();
    }
}
