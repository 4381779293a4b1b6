#include "cstackingwatcher.h"

#include <QWindow>

#include <xcb/xcb.h>

namespace kd_app {

bool CStackingWatcher::isRestackOfWindow(const QByteArray &eventType, void *message)
{
    // The QWindow's id, not the widget's: a native widget keeps the id of a
    // window that Qt has made anew behind its back (a flags change).
    const QWindow *window = m_window->windowHandle();
    if (eventType != "xcb_generic_event_t" || !window || !window->handle()) {
        return false;
    }
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    if ((event->response_type & ~0x80) != XCB_CONFIGURE_NOTIFY) {
        return false;
    }
    const auto *configure = reinterpret_cast<const xcb_configure_notify_event_t *>(event);
    if (configure->window != xcb_window_t(window->winId())) {
        return false;
    }
    // The window system says the same of a move, a resize and a restack; the
    // one that keeps the geometry is a restack. (Which window lies below says
    // nothing: the same one may lie below before and after a raise.)
    const QRect geometry(configure->x, configure->y, configure->width, configure->height);
    const bool restacked = geometry == m_lastGeometry;
    m_lastGeometry = geometry;
    return restacked;
}

} // namespace kd_app
