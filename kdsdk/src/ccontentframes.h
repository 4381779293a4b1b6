#pragma once

#include <cstdint>
#include <mutex>

#include <QImage>

#include "engine/kdtypes.h"
#include "kdsdkcontrol.h"

namespace kd {
namespace sdk {

// Frames that the application captures itself and hands over as the local
// content source (type 3): checks each one, copies its pixels (the caller's
// buffer is only valid during the call) and keeps the count and the latest.
class CContentFrames
{
public:
    // The pixel-format codes taken: the QImage format numbers of RGB32,
    // ARGB32, premultiplied ARGB32 and 3-byte RGB.
    static bool isKnownFormat(int code);

    // KD_OK with the copy in frame, or KD_ERR_INVALID_ARGUMENT for a record
    // without pixels, with an impossible size or line length, or with a
    // format code outside the known ones.
    int take(const kd::engine::KDContentSourceInfo &info, QImage &frame);

    // A frame the engine grabbed itself: it becomes the latest.
    void capture(const QImage &frame);

    uint64_t taken() const;
    uint64_t captured() const;
    KDContentFrame latest() const;

private:
    mutable std::mutex m_mutex;
    uint64_t m_taken = 0;
    uint64_t m_captured = 0;
    QImage m_latest;
};

} // namespace sdk
} // namespace kd
