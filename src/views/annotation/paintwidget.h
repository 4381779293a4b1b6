#pragma once

#include <QImage>
#include <QList>
#include <QMap>
#include <QPen>
#include <QPoint>
#include <QRect>
#include <QWidget>

class QPainter;

namespace kd_app {
namespace views {
class WhiteBoardFile;
}
} // namespace kd_app

// One recorded stroke: the pen it was drawn with, its kind (0 pen, 2 eraser,
// 3 marker; also the composition mode it is painted with) and its points.
struct PaintStroke
{
    QPen pen;
    int kind = 0;
    QList<QPoint> points;
};

// The drawing surface laid over the shared screen: records freehand strokes
// made with the left button while drawing is on, under increasing step keys,
// and paints them all in key order. The overlay turns drawing on and off,
// gives the pen and the kind, and calls undo and clear.
class PaintWidget : public QWidget
{
    Q_OBJECT

public:
    enum DrawMode { PenMode = 0, EraserMode = 2, MarkerMode = 3 };

    explicit PaintWidget(QWidget *parent = nullptr);
    ~PaintWidget() override;

    // Takes the pen for the next strokes, with round caps.
    void setPen(const QPen &pen);
    QPen pen() const { return m_pen; }
    void setDrawMode(int mode);
    int drawMode() const { return m_nDrawMode; }
    void clear();
    // Undoes the most recent stroke.
    void RevocationSingleStep();

    // On a window that cannot be translucent the strokes are first drawn
    // into a transparent layer and then over what the window shows, so that
    // the eraser and the marker work on the strokes only instead of clearing
    // the window to black.
    void setLayered(bool layered);
    bool isLayered() const { return m_bLayered; }
    // All strokes on transparent pixels, at the canvas's size.
    QImage strokeLayer() const;

    // Written by the overlay: strokes are recorded only while it is set.
    bool m_bDrawEnabled = false;

signals:
    void LeftButtonPressed();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

    QPen m_pen;
    bool m_bLeftDown = false;
    quint32 m_nStep = 0;
    QPoint m_pressPoint;
    int m_nDrawMode = PenMode;
    QList<QPoint> m_listPoints;
    QMap<quint32, PaintStroke> m_mapSteps;

private:
    // The area a stroke's paint can touch, kept beside each stroke so that
    // a repaint of a small area skips the strokes that miss it.
    static QRect segmentBounds(const QPoint &from, const QPoint &to, const QPen &pen, int kind);
    void paintStrokes(QPainter &painter, const QRect &area) const;

    QMap<quint32, QRect> m_mapBounds;
    bool m_bLayered = false;
    QImage m_layer;
    kd_app::views::WhiteBoardFile *m_pWhiteBoardFile = nullptr;
};
