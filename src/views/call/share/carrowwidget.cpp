#include "carrowwidget.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>

#include "app/cwindowshape.h"

namespace kd_app {
namespace views {

CArrowWidget::CArrowWidget(QWidget *parent) : QWidget(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setAttribute(Qt::WA_TranslucentBackground);
    m_label = new QLabel(QStringLiteral("test show"), this);
    m_label->setObjectName("m_label");
    m_label->setStyleSheet("color: #313131; background: transparent;");
    auto *layout = new QHBoxLayout(this);
    layout->setSpacing(0);
    layout->addWidget(m_label);
    setScale(1.0);
}

void CArrowWidget::setScale(double scale)
{
    // The arrow keeps its size: it only points at the button.
    layout()->setContentsMargins(int(15 * scale), int(5 * scale), int(15 * scale), int(2 * scale) + ARROW_HEIGHT);
    QFont font = m_label->font();
    font.setPixelSize(int(12 * scale));
    m_label->setFont(font);
    adjustSize();
}

CArrowWidget::~CArrowWidget() = default;

void CArrowWidget::setText(const QString &text)
{
    m_label->setText(text);
    adjustSize();
}

QString CArrowWidget::text() const
{
    return m_label->text();
}

void CArrowWidget::setOpaque(bool opaque)
{
    m_bOpaque = opaque;
    setAttribute(Qt::WA_TranslucentBackground, !opaque);
    updateMask();
    update();
}

void CArrowWidget::setVisible(bool visible)
{
    if (visible) {
        setOpaque(!CWindowShape::isCompositorRunning());
    }
    QWidget::setVisible(visible);
}

void CArrowWidget::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    updateMask();
}

void CArrowWidget::updateMask()
{
    if (m_bOpaque) {
        setMask(QRegion(outline().toFillPolygon().toPolygon()));
    } else {
        clearMask();
    }
}

QPainterPath CArrowWidget::outline() const
{
    const qreal w = width();
    const qreal h = height();
    QPainterPath bubble;
    bubble.addRoundedRect(QRectF(0.5, 0.5, w - 1, h - ARROW_HEIGHT - 1), CORNER_RADIUS, CORNER_RADIUS);
    QPainterPath arrow;
    arrow.moveTo(w / 2 - ARROW_WIDTH / 2.0, h - ARROW_HEIGHT - 1);
    arrow.lineTo(w / 2, h - 0.5);
    arrow.lineTo(w / 2 + ARROW_WIDTH / 2.0, h - ARROW_HEIGHT - 1);
    arrow.closeSubpath();
    return bubble.united(arrow);
}

bool CArrowWidget::event(QEvent *event)
{
    if (event->type() == QEvent::WindowDeactivate && isVisible()) {
        hide();
    }
    return QWidget::event(event);
}

void CArrowWidget::paintEvent(QPaintEvent * /*event*/)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (m_bOpaque) {
        // Inside the mask nothing may stay unpainted.
        painter.fillRect(rect(), Qt::white);
    }
    painter.setPen(QColor(225, 225, 225));
    painter.setBrush(Qt::white);
    painter.drawPath(outline());
}

} // namespace views
} // namespace kd_app
