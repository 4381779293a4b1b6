#include "chomeexitbutton.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>

CHomeExitButton::CHomeExitButton(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_StyledBackground);
    setCursor(Qt::PointingHandCursor);
    m_pLayout = new QVBoxLayout(this);
    m_pLayout->setSpacing(0);
    m_pLayout->setContentsMargins(0, 0, 0, 0);
    m_pTopSpacer = new QSpacerItem(20, 20, QSizePolicy::Minimum, QSizePolicy::Expanding);
    m_pLayout->addItem(m_pTopSpacer);
    m_pCaption = new QLabel(this);
    m_pCaption->setObjectName("m_pLblExit");
    m_pCaption->setFixedSize(70, 20);
    m_pCaption->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    m_pLayout->addWidget(m_pCaption);
    m_pBottomSpacer = new QSpacerItem(20, 6, QSizePolicy::Fixed, QSizePolicy::Fixed);
    m_pLayout->addItem(m_pBottomSpacer);
    retranslate();
}

CHomeExitButton::~CHomeExitButton() = default;

void CHomeExitButton::retranslate()
{
    m_pCaption->setText(tr("Exit"));
}

void CHomeExitButton::updateDpi(double scale)
{
    m_fScale = scale;
    m_pCaption->setFixedSize(int(70 * scale), int(20 * scale));
    m_pBottomSpacer->changeSize(20, int(6 * scale), QSizePolicy::Fixed, QSizePolicy::Fixed);
    m_pLayout->invalidate();
    const int fontSize = scale <= 1 ? 13 : scale < 2 ? 19 : 26;
    m_pCaption->setStyleSheet(QStringLiteral("color: #fff; font-size: %1px;").arg(fontSize));
    const QString suffix = scale <= 1 ? QString() : scale < 2 ? QStringLiteral("-1.5x") : QStringLiteral("-2x");
    m_normal = QPixmap(QStringLiteral(":/resources/images/home-window/icon_exit_n%1.png").arg(suffix));
    m_hover = QPixmap(QStringLiteral(":/resources/images/home-window/icon_exit_h%1.png").arg(suffix));
    update();
}

void CHomeExitButton::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        emit clicked();
    }
}

void CHomeExitButton::enterEvent(QEvent *)
{
    m_bHovered = true;
    update();
}

void CHomeExitButton::leaveEvent(QEvent *)
{
    m_bHovered = false;
    update();
}

void CHomeExitButton::paintEvent(QPaintEvent *)
{
    const double s = m_fScale > 0 ? m_fScale : 1.0;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRect target(int(width() / 2 - 10 * s), int(6 * s), int(20 * s), int(20 * s));
    painter.drawPixmap(target, m_bHovered ? m_hover : m_normal);
}
