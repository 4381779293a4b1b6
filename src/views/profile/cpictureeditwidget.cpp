#include "cpictureeditwidget.h"

#include <QImageReader>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include "helpers/clogformat.h"

namespace {

// The placeholder drawn for the frame's size: 200, 300 or 400 pixels wide.
QString placeholderFor(int width)
{
    const char *suffix = width >= 400 ? "_2x" : width >= 300 ? "_1.5x" : "";
    return QStringLiteral(":/resources/images/my-info/bg_upload%1.png").arg(QLatin1String(suffix));
}
const QColor kFrameColour(0xd1, 0xd1, 0xd1);

} // namespace

CPictureEditWidget::CPictureEditWidget(QWidget *parent) : QWidget(parent)
{
    setMouseTracking(true);
}

CPictureEditWidget::~CPictureEditWidget() = default;

void CPictureEditWidget::setImage(const QString &path)
{
    if (path.trimmed().isEmpty()) {
        return;
    }
    QImageReader reader(path);
    // A photo from a camera stands the way it was taken.
    reader.setAutoTransform(true);
    const QImage image = reader.read();
    if (image.isNull()) {
        // Uploading a blank frame as the user's new face would be reported
        // as a success; with no picture, Upload does nothing instead.
        KD_WARN << "Cannot decode picture:" << path << reader.errorString();
        m_source = QPixmap();
        m_bLoaded = false;
        m_nWidth = 0;
        m_nHeight = 0;
        update();
        return;
    }
    m_source = QPixmap::fromImage(image);
    m_nWidth = m_source.width();
    m_nHeight = m_source.height();
    m_bLoaded = true;
    m_nX = (m_nAreaWidth - m_nWidth) / 2;
    m_nY = (m_nAreaHeight - m_nHeight) / 2;
    update();
}

QPixmap CPictureEditWidget::getPixmap()
{
    if (!m_bLoaded) {
        return QPixmap();
    }
    compose();
    return m_canvas;
}

void CPictureEditWidget::compose()
{
    // The canvas follows the widget's size, so that after a change of the
    // display scale the upload is what the frame shows.
    if (m_canvas.size() != size()) {
        m_canvas = QPixmap(size());
    }
    m_canvas.fill(Qt::white);
    if (!m_bLoaded || m_nWidth <= 0 || m_nHeight <= 0) {
        return;
    }
    QPainter painter(&m_canvas);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    painter.drawPixmap(QRect(m_nX, m_nY, m_nWidth, m_nHeight), m_source);
}

void CPictureEditWidget::paintEvent(QPaintEvent *)
{
    compose();
    QPainter painter(this);
    painter.fillRect(rect(), kFrameColour);
    if (m_bLoaded && m_nWidth > 0 && m_nHeight > 0) {
        painter.drawPixmap(rect().adjusted(1, 1, -1, -1), m_canvas, m_canvas.rect().adjusted(1, 1, -1, -1));
        return;
    }
    const QString placeholder = placeholderFor(width());
    if (m_placeholderPath != placeholder) {
        m_placeholder.load(placeholder);
        m_placeholderPath = placeholder;
    }
    painter.drawPixmap((width() - m_placeholder.width()) / 2, (height() - m_placeholder.height()) / 2, m_placeholder);
}

void CPictureEditWidget::mousePressEvent(QMouseEvent *event)
{
    m_nLastX = event->pos().x();
    m_nLastY = event->pos().y();
    if (event->button() == Qt::LeftButton) {
        m_bDragging = true;
    }
    setCursor(Qt::SizeAllCursor);
}

void CPictureEditWidget::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_bDragging) {
        return;
    }
    m_nX += event->pos().x() - m_nLastX;
    m_nY += event->pos().y() - m_nLastY;
    m_nLastX = event->pos().x();
    m_nLastY = event->pos().y();
    update();
}

void CPictureEditWidget::mouseReleaseEvent(QMouseEvent *)
{
    setCursor(Qt::ArrowCursor);
    m_bDragging = false;
}

void CPictureEditWidget::wheelEvent(QWheelEvent *event)
{
    const QPoint mouse = event->position().toPoint();
    const bool changed = event->angleDelta().y() > 0 ? zoomIn(mouse) : zoomOut(mouse);
    if (changed) {
        update();
    }
}

bool CPictureEditWidget::zoomIn(const QPoint &mouse)
{
    // Checked in floating point: the growth itself must not overflow.
    const double width = m_nWidth * 1.1;
    const double height = m_nHeight * 1.1;
    if (width > kMaxPictureSide || height > kMaxPictureSide) {
        return false;
    }
    const int dx = mouse.x() - m_nX;
    const int dy = mouse.y() - m_nY;
    m_nWidth = int(width);
    m_nHeight = int(height);
    m_nX = int(m_nX - dx * 0.1);
    m_nY = int(m_nY - dy * 0.1);
    return true;
}

bool CPictureEditWidget::zoomOut(const QPoint &mouse)
{
    const int width = int(m_nWidth * 0.9);
    if (width < kMinPictureWidth) {
        return false;
    }
    const int dx = mouse.x() - m_nX;
    const int dy = mouse.y() - m_nY;
    m_nWidth = width;
    m_nHeight = int(m_nHeight * 0.9);
    m_nX = int(m_nX + dx * 0.1);
    m_nY = int(m_nY + dy * 0.1);
    return true;
}
