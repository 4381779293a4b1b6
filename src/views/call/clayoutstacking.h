#pragma once

class QWidget;

namespace kd_app {
namespace views {

// Stacks the call layout's top-level windows as their ownership says: each
// window above its owner, the video cells below the covers that share their
// owner. Window managers keep owned (transient) windows above their owner by
// themselves; a display without one stacks by the order of mapping, which
// would leave a cell under the frame or the strip.
class CLayoutStacking
{
public:
    CLayoutStacking() = delete;

    // Raises the window, when shown, and then every shown window it owns,
    // however deep.
    static void raiseTree(QWidget *window);
    // The same without the window itself: for a window that has just come
    // forward and buried what it owns.
    static void raiseOwned(QWidget *window);
    // Raises, over a strip that has just come forward, the other windows its
    // owner owns (popups and windows the call opened), however deep.
    static void raiseOwnedOver(QWidget *window);
};

} // namespace views
} // namespace kd_app
