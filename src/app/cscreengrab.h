#pragma once

#include <memory>

#include <QImage>
#include <QRect>

namespace kd_app {

// Grabs the primary screen, or one window by its native id, into an image,
// from a thread other than the graphical one. One object serves one thread.
class CScreenGrab
{
public:
    CScreenGrab();
    ~CScreenGrab();
    CScreenGrab(const CScreenGrab &) = delete;
    CScreenGrab &operator=(const CScreenGrab &) = delete;

    // Window 0 is the whole primary screen. The image may share memory with
    // this object: it is valid until the next grab. Null when nothing could
    // be grabbed (no screen, no such window, or a window of a platform where
    // only the graphical thread may read it, asked from another thread).
    QImage grab(unsigned windowId);
    // A rectangle of the desktop (all screens together), in the desktop's
    // coordinates; the part outside the desktop is left out.
    QImage grabArea(const QRect &area);

private:
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace kd_app
