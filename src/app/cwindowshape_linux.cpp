#include "cwindowshape.h"

#include <cstdlib>
#include <vector>

#include <QX11Info>

#include <xcb/shape.h>
#include <xcb/xcb.h>

#include "helpers/clogformat.h"

namespace kd_app {

namespace {

std::optional<bool> &compositorOverride()
{
    static std::optional<bool> running;
    return running;
}

// The display's connection when it has the shape extension, else null.
xcb_connection_t *shapeConnection()
{
    if (!QX11Info::isPlatformX11()) {
        return nullptr;
    }
    xcb_connection_t *connection = QX11Info::connection();
    if (!connection) {
        return nullptr;
    }
    const xcb_query_extension_reply_t *shape = xcb_get_extension_data(connection, &xcb_shape_id);
    if (!shape || !shape->present) {
        static bool warned = false;
        if (!warned) {
            KD_WARN << "The display has no shape extension";
            warned = true;
        }
        return nullptr;
    }
    return connection;
}

bool setShape(WId window, xcb_shape_kind_t kind, const QRegion &region)
{
    xcb_connection_t *connection = shapeConnection();
    if (!connection || window == 0) {
        return false;
    }
    std::vector<xcb_rectangle_t> rectangles;
    rectangles.reserve(size_t(region.rectCount()));
    for (const QRect &rect : region) {
        rectangles.push_back({int16_t(rect.x()), int16_t(rect.y()), uint16_t(rect.width()), uint16_t(rect.height())});
    }
    xcb_shape_rectangles(connection, XCB_SHAPE_SO_SET, kind, XCB_CLIP_ORDERING_UNSORTED, xcb_window_t(window), 0, 0,
                         uint32_t(rectangles.size()), rectangles.data());
    xcb_flush(connection);
    return true;
}

bool clearShape(WId window, xcb_shape_kind_t kind)
{
    xcb_connection_t *connection = shapeConnection();
    if (!connection || window == 0) {
        return false;
    }
    // No mask gives the window its plain rectangle back.
    xcb_shape_mask(connection, XCB_SHAPE_SO_SET, kind, xcb_window_t(window), 0, 0, XCB_PIXMAP_NONE);
    xcb_flush(connection);
    return true;
}

} // namespace

bool CWindowShape::isCompositorRunning()
{
    if (compositorOverride()) {
        return *compositorOverride();
    }
    return QX11Info::isPlatformX11() && QX11Info::isCompositingManagerRunning();
}

void CWindowShape::setCompositorRunningForTests(std::optional<bool> running)
{
    compositorOverride() = running;
}

bool CWindowShape::setBoundingShape(WId window, const QRegion &region)
{
    return setShape(window, XCB_SHAPE_SK_BOUNDING, region);
}

bool CWindowShape::clearBoundingShape(WId window)
{
    return clearShape(window, XCB_SHAPE_SK_BOUNDING);
}

bool CWindowShape::setInputRegion(WId window, const QRegion &region)
{
    return setShape(window, XCB_SHAPE_SK_INPUT, region);
}

bool CWindowShape::clearInputRegion(WId window)
{
    return clearShape(window, XCB_SHAPE_SK_INPUT);
}

std::optional<QRegion> CWindowShape::boundingShape(WId window)
{
    xcb_connection_t *connection = shapeConnection();
    if (!connection || window == 0) {
        return std::nullopt;
    }
    xcb_shape_query_extents_reply_t *extents =
        xcb_shape_query_extents_reply(connection, xcb_shape_query_extents(connection, xcb_window_t(window)), nullptr);
    const bool shaped = extents && extents->bounding_shaped;
    free(extents);
    if (!shaped) {
        return std::nullopt;
    }
    xcb_shape_get_rectangles_reply_t *reply = xcb_shape_get_rectangles_reply(
        connection, xcb_shape_get_rectangles(connection, xcb_window_t(window), XCB_SHAPE_SK_BOUNDING), nullptr);
    if (!reply) {
        return std::nullopt;
    }
    QRegion region;
    const xcb_rectangle_t *rectangles = xcb_shape_get_rectangles_rectangles(reply);
    const int count = xcb_shape_get_rectangles_rectangles_length(reply);
    for (int i = 0; i < count; ++i) {
        region += QRect(rectangles[i].x, rectangles[i].y, rectangles[i].width, rectangles[i].height);
    }
    free(reply);
    return region;
}

} // namespace kd_app
