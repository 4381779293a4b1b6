#include "ccameracapture.h"

#include <QCamera>

namespace kd {
namespace sdk {

namespace {

// Enough for a preview, and little enough to copy ten times a second.
constexpr int kFrameIntervalMs = 100;
const QSize kLargestPicture(1280, 720);

} // namespace

CCameraCapture::CCameraCapture(const QCameraInfo &camera, Sink sink, QObject *parent)
    : QAbstractVideoSurface(parent), m_info(camera), m_sink(std::move(sink)),
      m_camera(std::make_unique<QCamera>(camera))
{
    m_camera->setViewfinder(this);
    m_camera->start();
}

CCameraCapture::~CCameraCapture()
{
    m_camera->stop();
    m_camera.reset();
    if (m_sink) {
        m_sink(QImage());
    }
}

QList<QVideoFrame::PixelFormat> CCameraCapture::supportedPixelFormats(QAbstractVideoBuffer::HandleType type) const
{
    if (type != QAbstractVideoBuffer::NoHandle) {
        return {};
    }
    // The formats a frame can be turned into a picture from.
    return {QVideoFrame::Format_RGB32, QVideoFrame::Format_ARGB32, QVideoFrame::Format_RGB24,
            QVideoFrame::Format_YUYV,  QVideoFrame::Format_UYVY,   QVideoFrame::Format_YUV420P,
            QVideoFrame::Format_NV12,  QVideoFrame::Format_Jpeg};
}

bool CCameraCapture::present(const QVideoFrame &frame)
{
    if (m_sinceLast.isValid() && m_sinceLast.elapsed() < kFrameIntervalMs) {
        return true;
    }
    m_sinceLast.restart();
    QImage picture = frame.image();
    if (picture.isNull()) {
        return true;
    }
    if (picture.width() > kLargestPicture.width() || picture.height() > kLargestPicture.height()) {
        picture = picture.scaled(kLargestPicture, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    if (m_sink) {
        m_sink(picture.convertToFormat(QImage::Format_RGB32));
    }
    return true;
}

} // namespace sdk
} // namespace kd
