#include "ccontentframes.h"

#include <cstring>

namespace kd {
namespace sdk {

namespace {

constexpr int kMaxSide = 16384;

} // namespace

bool CContentFrames::isKnownFormat(int code)
{
    switch (code) {
    case kd::engine::KD_PIX_FMT_RGB32:
    case kd::engine::KD_PIX_FMT_ARGB32:
    case kd::engine::KD_PIX_FMT_ARGB32_PREMULTIPLIED:
    case kd::engine::KD_PIX_FMT_RGB888:
        return true;
    default:
        return false;
    }
}

int CContentFrames::take(const kd::engine::KDContentSourceInfo &info, QImage &frame)
{
    const int width = info.captureSize.width;
    const int height = info.captureSize.height;
    const int format = info.framePixelFormat;
    if (!info.frameData || width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide ||
        !isKnownFormat(format)) {
        return KD_ERR_INVALID_ARGUMENT;
    }
    const int depth = format == kd::engine::KD_PIX_FMT_RGB888 ? 24 : 32;
    if (qint64(info.frameBytesPerLine) * 8 < qint64(width) * depth) {
        return KD_ERR_INVALID_ARGUMENT;
    }
    frame = QImage(info.frameData, width, height, info.frameBytesPerLine, QImage::Format(format)).copy();
    if (frame.isNull()) {
        return KD_ERR_INVALID_ARGUMENT;
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    ++m_taken;
    m_latest = frame;
    return KD_OK;
}

void CContentFrames::capture(const QImage &frame)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    ++m_captured;
    m_latest = frame;
}

uint64_t CContentFrames::captured() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_captured;
}

uint64_t CContentFrames::taken() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_taken;
}

KDContentFrame CContentFrames::latest() const
{
    QImage image;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        image = m_latest;
    }
    KDContentFrame frame;
    if (image.isNull()) {
        return frame;
    }
    frame.width = image.width();
    frame.height = image.height();
    frame.bytesPerLine = int(image.bytesPerLine());
    frame.format = int(image.format());
    frame.pixels.resize(size_t(image.sizeInBytes()));
    std::memcpy(frame.pixels.data(), image.constBits(), frame.pixels.size());
    return frame;
}

} // namespace sdk
} // namespace kd
