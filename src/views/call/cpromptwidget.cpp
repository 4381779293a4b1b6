#include "cpromptwidget.h"

#include <QLabel>
#include <QPainter>
#include <QTimer>

#include "helpers/clogformat.h"

namespace kd_app {
namespace views {

CPromptWidget::CPromptWidget(QWidget *parent) : CBaseWgt(parent), m_pTimer(std::make_unique<QTimer>())
{
    // A window of its own over the one it is shown for, owned by that one.
    if (parent) {
        setParent(parent, Qt::SplashScreen | Qt::FramelessWindowHint);
    }
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    m_text = new QLabel(this);
    m_text->setObjectName("m_text");
    // Texts may come from the far end or the engine: never rich text.
    m_text->setTextFormat(Qt::PlainText);
    m_text->setStyleSheet("border: none; background: transparent; padding: 0px; margin: 0px;");
    m_text->setText("test");
    connect(m_pTimer.get(), &QTimer::timeout, this, &CPromptWidget::slot_Timer);
}

CPromptWidget::~CPromptWidget()
{
    m_pTimer->stop();
}

QString CPromptWidget::text() const
{
    return m_text->text();
}

void CPromptWidget::showPrompt(const QString &text, int durationMs)
{
    KD_LOG << "text:" << text << ", duration:" << durationMs;
    m_text->setText(text);
    adjustToText();
    applyStyle();
    setActive(true, durationMs);
    raise();
    QWidget *owner = parentWidget();
    if (owner && !owner->isVisible()) {
        hide();
    }
}

void CPromptWidget::setActive(bool on, int durationMs)
{
    m_bActive = on;
    if (!on) {
        m_pTimer->stop();
        return;
    }
    m_pTimer->setInterval(durationMs);
    m_pTimer->start();
    show();
    updatePosition();
    adjustToText();
    m_text->move((width() - m_text->width()) / 2, (height() - m_text->height()) / 2);
}

void CPromptWidget::slot_Timer()
{
    m_bActive = false;
    m_pTimer->stop();
    hide();
}

void CPromptWidget::hideIfActive()
{
    if (m_pTimer->isActive()) {
        hide();
    }
}

void CPromptWidget::showIfActive()
{
    if (m_pTimer->isActive()) {
        show();
    }
}

void CPromptWidget::updatePosition()
{
    QWidget *owner = parentWidget();
    if (!owner) {
        return;
    }
    const QRect area(owner->mapToGlobal(QPoint(0, 0)), owner->size());
    adjustToText();
    const int x = area.left() + (area.width() - width()) / 2;
    const int y = area.top() + int(m_nVerticalPercent * (area.height() - height()) * 0.01);
    move(x, y);
    repaint();
}

void CPromptWidget::adjustToText()
{
    const QFontMetrics metrics = m_text->fontMetrics();
    const int textWidth = metrics.horizontalAdvance(m_text->text());
    m_text->setFixedSize(textWidth, metrics.height());
    setFixedSize(textWidth + int(30 * scale()), int(50 * scale()));
}

void CPromptWidget::applyStyle()
{
    m_text->setStyleSheet(
        QString("color: rgb(%1, %2, %3);").arg(m_textColor.red()).arg(m_textColor.green()).arg(m_textColor.blue()));
    QFont font = m_text->font();
    font.setPointSize(m_nFontPointSize);
    m_text->setFont(font);
    adjustToText();
    updatePosition();
}

void CPromptWidget::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)
    QPainter painter(this);
    QColor background = m_backgroundColor;
    background.setAlpha(m_nBackgroundAlpha);
    painter.fillRect(rect(), background);
}

void CPromptWidget::showEvent(QShowEvent *event)
{
    m_dpiScaler.init(width(), height(), this);
    CBaseWgt::showEvent(event);
}

void CPromptWidget::onDpiChanged()
{
    CBaseWgt::onDpiChanged();
    m_dpiScaler.scaleWindow(m_fStretchFactor, this);
    adjustToText();
}

} // namespace views
} // namespace kd_app
