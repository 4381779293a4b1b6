#pragma once

// Where the test's own X server stacks the windows, and which window each
// says it belongs to.

#include <QVector>
#include <QWidget>
#include <QWindow>

#include <xcb/xcb.h>

// The root's children from the bottom of the stack to its top.
inline QVector<WId> stackingOrder()
{
    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    QVector<WId> order;
    xcb_query_tree_reply_t *tree = xcb_query_tree_reply(connection, xcb_query_tree(connection, root), nullptr);
    if (tree) {
        const xcb_window_t *children = xcb_query_tree_children(tree);
        for (int i = 0; i < xcb_query_tree_children_length(tree); ++i) {
            order << WId(children[i]);
        }
        free(tree);
    }
    xcb_disconnect(connection);
    return order;
}

inline WId transientFor(WId window)
{
    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    WId owner = 0;
    xcb_get_property_reply_t *reply = xcb_get_property_reply(
        connection,
        xcb_get_property(connection, 0, xcb_window_t(window), XCB_ATOM_WM_TRANSIENT_FOR, XCB_ATOM_WINDOW, 0, 1),
        nullptr);
    if (reply && xcb_get_property_value_length(reply) >= 4) {
        owner = *static_cast<const xcb_window_t *>(xcb_get_property_value(reply));
    }
    free(reply);
    xcb_disconnect(connection);
    return owner;
}

// The X window the widget shows in now. A native widget's own id may still
// name a window that Qt has since made anew (a flags change), while its
// QWindow knows the one on the screen.
inline WId screenWindowOf(QWidget *widget)
{
    const QWindow *window = widget->windowHandle();
    return window && window->handle() ? window->winId() : widget->winId();
}

// Whether the first window lies above the second on the screen's stack.
inline bool isStackedAbove(QWidget *window, QWidget *other)
{
    const QVector<WId> order = stackingOrder();
    const int below = order.indexOf(screenWindowOf(other));
    return below >= 0 && order.indexOf(screenWindowOf(window)) > below;
}
