#include "paintwidget.h"

#include <algorithm>
#include <cmath>

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include "helpers/clogformat.h"
#include "views/annotation/colorwidget.h"
#include "views/annotation/whiteboardfile.h"

namespace {

constexpr double kInitialWidth = 3.0;
// The eraser leaves a practically invisible trace so that the overlay keeps
// taking the mouse where it went.
constexpr double kEraserTraceWidth = 12.0;
const QColor kEraserTraceColor(255, 255, 255, 1);

QPen eraserTracePen()
{
    return QPen(QBrush(kEraserTraceColor, Qt::SolidPattern), kEraserTraceWidth, Qt::SolidLine, Qt::SquareCap,
                Qt::BevelJoin);
}

} // namespace

PaintWidget::PaintWidget(QWidget *parent) : QWidget(parent), m_pWhiteBoardFile(new kd_app::views::WhiteBoardFile(this))
{
    m_pen.setColor(kd_app::views::penColor(0));
    m_pen.setWidthF(kInitialWidth);
}

PaintWidget::~PaintWidget() = default;

void PaintWidget::setPen(const QPen &pen)
{
    m_pen = pen;
    m_pen.setCapStyle(Qt::RoundCap);
}

void PaintWidget::setDrawMode(int mode)
{
    m_nDrawMode = mode;
}

void PaintWidget::clear()
{
    m_mapSteps.clear();
    m_mapBounds.clear();
    m_nStep = 0;
    update();
}

void PaintWidget::RevocationSingleStep()
{
    KD_LOG << "totalStep size:" << m_mapSteps.size();
    // The newest stroke is the one under the highest key; its key is where
    // the next stroke goes.
    if (!m_mapSteps.isEmpty()) {
        const quint32 last = m_mapSteps.lastKey();
        m_mapSteps.remove(last);
        m_mapBounds.remove(last);
        m_nStep = last;
    }
    update();
    KD_LOG << "Revoke Done";
}

QRect PaintWidget::segmentBounds(const QPoint &from, const QPoint &to, const QPen &pen, int kind)
{
    double width = std::max(pen.widthF(), 1.0);
    if (kind == EraserMode) {
        width = std::max(width, kEraserTraceWidth);
    }
    // Square and round caps reach half the width past an end, at most
    // width / sqrt(2) diagonally; antialiasing adds a pixel.
    const int margin = int(std::ceil(width * 0.75)) + 2;
    return QRect(from, to).normalized().adjusted(-margin, -margin, margin, margin);
}

void PaintWidget::mousePressEvent(QMouseEvent *event)
{
    emit LeftButtonPressed();
    if (event->button() != Qt::LeftButton) {
        return;
    }
    m_bLeftDown = true;
    m_pressPoint = event->pos();
    m_listPoints.append(event->pos());
    update(segmentBounds(event->pos(), event->pos(), m_pen, m_nDrawMode));
}

void PaintWidget::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_bDrawEnabled || !m_bLeftDown) {
        return;
    }
    const QPoint previous = m_listPoints.isEmpty() ? event->pos() : m_listPoints.last();
    m_listPoints.append(event->pos());
    PaintStroke &stroke = m_mapSteps[m_nStep];
    const bool restyled = stroke.pen != m_pen || stroke.kind != m_nDrawMode;
    stroke.pen = m_pen;
    stroke.kind = m_nDrawMode;
    stroke.points = m_listPoints;

    QRect &bounds = m_mapBounds[m_nStep];
    const QRect segment = segmentBounds(previous, event->pos(), m_pen, m_nDrawMode);
    if (restyled || bounds.isNull()) {
        // A new pen reaches all of the stroke's segments, not only the newest.
        bounds = QRect();
        for (int i = 1; i < m_listPoints.size(); ++i) {
            bounds |= segmentBounds(m_listPoints[i - 1], m_listPoints[i], m_pen, m_nDrawMode);
        }
        update(bounds);
        return;
    }
    bounds |= segment;
    update(segment);
}

void PaintWidget::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        return;
    }
    m_bLeftDown = false;
    // A stroke that was recorded is finished, wherever the release lies:
    // one drawn back to its start stays, and a drag with drawing off leaves
    // no empty key behind.
    if (m_mapSteps.contains(m_nStep)) {
        ++m_nStep;
    }
    m_listPoints.clear();
}

void PaintWidget::setLayered(bool layered)
{
    if (m_bLayered == layered) {
        return;
    }
    m_bLayered = layered;
    m_layer = QImage();
    update();
}

QImage PaintWidget::strokeLayer() const
{
    QImage layer(size(), QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    QPainter painter(&layer);
    paintStrokes(painter, layer.rect());
    return layer;
}

void PaintWidget::paintEvent(QPaintEvent *event)
{
    const QRect area = event->rect();
    if (!m_bLayered) {
        QPainter painter(this);
        paintStrokes(painter, area);
        return;
    }
    if (m_layer.size() != size()) {
        m_layer = QImage(size(), QImage::Format_ARGB32_Premultiplied);
        m_layer.fill(Qt::transparent);
    }
    {
        QPainter layerPainter(&m_layer);
        layerPainter.setCompositionMode(QPainter::CompositionMode_Clear);
        layerPainter.fillRect(area, Qt::transparent);
        layerPainter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        layerPainter.setClipRect(area);
        paintStrokes(layerPainter, area);
    }
    QPainter painter(this);
    painter.drawImage(area, m_layer, area);
}

void PaintWidget::paintStrokes(QPainter &painter, const QRect &area) const
{
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QPen tracePen = eraserTracePen();
    for (auto it = m_mapSteps.cbegin(); it != m_mapSteps.cend(); ++it) {
        const PaintStroke &stroke = it.value();
        if (stroke.points.size() < 2 || !m_mapBounds.value(it.key()).intersects(area)) {
            continue;
        }
        painter.setPen(stroke.pen);
        painter.setCompositionMode(stroke.kind == MarkerMode ? QPainter::CompositionMode_Source
                                                             : QPainter::CompositionMode_SourceOver);
        for (int i = 0; i + 1 < stroke.points.size(); ++i) {
            const QPoint &from = stroke.points[i];
            const QPoint &to = stroke.points[i + 1];
            if (!segmentBounds(from, to, stroke.pen, stroke.kind).intersects(area)) {
                continue;
            }
            if (stroke.kind != EraserMode) {
                painter.drawLine(from, to);
                continue;
            }
            // Every segment is cleared with the stroke's own pen, so the
            // erased band has one width along the whole stroke.
            painter.setCompositionMode(QPainter::CompositionMode_Clear);
            painter.drawLine(from, to);
        }
        if (stroke.kind == EraserMode) {
            // The trace goes on as one line: drawn segment by segment, its
            // alpha would add up where the segments meet and show.
            painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
            painter.setPen(tracePen);
            painter.drawPolyline(QPolygon(stroke.points.toVector()));
        }
    }
}
