#pragma once

#include <QWidget>

namespace kd_app {
namespace views {

// Changes the flags of a top-level that may already have native windows.
// Qt makes a window whose stay-on-top hint changed anew at its next show,
// behind the widget's back: on X11 the native windows inside it die with
// the old one while their widgets keep the old ids, so a video window
// inside shows black for good, shapes and ids handed out name nothing, and
// every paint into them fails. The window is taken down here first, with
// every native window in it, so that all of them come back new at the next
// show and their widgets hear of their new ids (QEvent::WinIdChange).
class CWindowFlags
{
public:
    CWindowFlags() = delete;

    // Leaves the window hidden, as QWidget::setWindowFlags does; nothing
    // happens when the flags are the same.
    static void setFlags(QWidget *window, Qt::WindowFlags flags);
    static void setStaysOnTop(QWidget *window, bool onTop);
};

} // namespace views
} // namespace kd_app
