#pragma once

class QMouseEvent;
class QPoint;
class QWidget;

namespace kd_app {
namespace views {

// Without a compositor the covers over the video are cut down to what they
// paint, so the pointer reaches the windows below them; those hand each
// event to their cover at the same screen position, so the cover's own
// handlers run as if it had been hit.
class CCoverInputForwarder
{
public:
    CCoverInputForwarder() = delete;

    // Sends the event to the cover's child under its screen position, or to
    // the cover itself; true when a visible cover took it.
    static bool forwardMouse(const QMouseEvent *event, QWidget *cover);
    static void forwardEnter(QWidget *cover, const QPoint &globalPos);
    // Unless the pointer is still over the cover's rectangle: then it only
    // moved onto a part the cover paints.
    static void forwardLeave(QWidget *cover);
};

} // namespace views
} // namespace kd_app
