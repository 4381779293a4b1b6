#pragma once

#include <QPixmap>
#include <QPoint>
#include <QWidget>

// The avatar dialog's frame: shows a picture at an offset and a zoom that the
// user chooses by dragging with the left button and with the mouse wheel, and
// composes what the frame shows into a picture of the widget's size (white
// where the picture does not reach).
class CPictureEditWidget : public QWidget
{
    Q_OBJECT

public:
    // Zooming in stops before a side of the drawn picture grows past this.
    static constexpr int kMaxPictureSide = 16384;
    // Zooming out stops before the drawn width falls below this.
    static constexpr int kMinPictureWidth = 100;

    explicit CPictureEditWidget(QWidget *parent);
    ~CPictureEditWidget() override;

    // Loads a picture and centres it on the 200 x 200 area at the top left,
    // at its natural size. A file that does not decode leaves no picture.
    void setImage(const QString &path);
    // What the frame shows, at the widget's size; null without a picture.
    QPixmap getPixmap();

    bool hasPicture() const { return m_bLoaded; }
    QPoint pictureOffset() const { return QPoint(m_nX, m_nY); }
    QSize pictureSize() const { return QSize(m_nWidth, m_nHeight); }

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void compose();
    bool zoomIn(const QPoint &mouse);
    bool zoomOut(const QPoint &mouse);

    QPixmap m_source;
    QPixmap m_canvas;
    QPixmap m_placeholder;
    QString m_placeholderPath;
    int m_nX = 0;
    int m_nY = 0;
    int m_nWidth = 0;
    int m_nHeight = 0;
    int m_nAreaWidth = 200;
    int m_nAreaHeight = 200;
    bool m_bLoaded = false;
    bool m_bDragging = false;
    int m_nLastX = 0;
    int m_nLastY = 0;
};
