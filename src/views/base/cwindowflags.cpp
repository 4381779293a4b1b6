#include "cwindowflags.h"

namespace kd_app {
namespace views {

namespace {

// QWidget::destroy is protected: a member pointer taken through a class of
// our own reaches it on any widget.
struct CNativeWindowAccess : QWidget
{
    static void destroyNativeWindows(QWidget *widget)
    {
        void (QWidget::*destroyWindows)(bool, bool) = &CNativeWindowAccess::destroy;
        (widget->*destroyWindows)(true, true);
    }
};

} // namespace

void CWindowFlags::setFlags(QWidget *window, Qt::WindowFlags flags)
{
    if (!window || window->windowFlags() == flags) {
        return;
    }
    if (window->testAttribute(Qt::WA_WState_Created)) {
        window->hide();
        CNativeWindowAccess::destroyNativeWindows(window);
    }
    window->setWindowFlags(flags);
}

void CWindowFlags::setStaysOnTop(QWidget *window, bool onTop)
{
    if (!window) {
        return;
    }
    const Qt::WindowFlags flags = window->windowFlags();
    setFlags(window, onTop ? flags | Qt::WindowStaysOnTopHint : flags & ~Qt::WindowStaysOnTopHint);
}

} // namespace views
} // namespace kd_app
