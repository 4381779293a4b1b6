#pragma once

#include <functional>
#include <memory>

#include <QAbstractVideoSurface>
#include <QCameraInfo>
#include <QElapsedTimer>
#include <QImage>

class QCamera;

namespace kd {
namespace sdk {

// Pictures of one system camera while it runs, handed on as images at about
// ten a second. Lives on the engine's media thread.
class CCameraCapture : public QAbstractVideoSurface
{
public:
    using Sink = std::function<void(const QImage &)>;

    CCameraCapture(const QCameraInfo &camera, Sink sink, QObject *parent);
    ~CCameraCapture() override;

    QCameraInfo camera() const { return m_info; }

    QList<QVideoFrame::PixelFormat>
    supportedPixelFormats(QAbstractVideoBuffer::HandleType type = QAbstractVideoBuffer::NoHandle) const override;
    bool present(const QVideoFrame &frame) override;

private:
    QCameraInfo m_info;
    Sink m_sink;
    std::unique_ptr<QCamera> m_camera;
    QElapsedTimer m_sinceLast;
};

} // namespace sdk
} // namespace kd
