#pragma once

#include <optional>

#include <QRegion>
#include <QWidget>

namespace kd_app {

// Window shapes and the compositing manager, for the windows laid over
// video and over the shared screen. Without a compositor a translucent
// window is drawn opaque, so such a window is cut down to what it paints
// (its bounding shape) or made deaf to the mouse in part (its input region)
// instead. Regions are in the window's own coordinates; every call answers
// false where the window system has no such thing, and changes nothing.
class CWindowShape
{
public:
    CWindowShape() = delete;

    // Whether translucent windows blend with what lies below them now; asked
    // of the display each time, since a compositor may start or end at any
    // moment.
    static bool isCompositorRunning();
    // Tests choose the answer; nullopt asks the display again.
    static void setCompositorRunningForTests(std::optional<bool> running);

    // The window is drawn and hit only inside region; an empty region hides
    // it completely while it stays mapped.
    static bool setBoundingShape(WId window, const QRegion &region);
    static bool clearBoundingShape(WId window);

    // The window takes the mouse only inside region, and passes it to what
    // lies below everywhere else; it is still drawn whole.
    static bool setInputRegion(WId window, const QRegion &region);
    static bool clearInputRegion(WId window);

    // The window's bounding shape as the window system holds it, for tests;
    // nullopt when the window has none of its own or there is no such thing.
    static std::optional<QRegion> boundingShape(WId window);
};

} // namespace kd_app
