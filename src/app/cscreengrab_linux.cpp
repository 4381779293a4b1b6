#include "cscreengrab.h"

#include <sys/ipc.h>
#include <sys/shm.h>

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QThread>

#include <xcb/shm.h>
#include <xcb/xcb.h>

namespace kd_app {

namespace {

// A grab through X shared memory: the server writes the pixels straight
// into our memory, instead of sending 8 MB a frame down the socket for Qt
// to convert.
class CShmGrab
{
public:
    ~CShmGrab()
    {
        releaseSegment();
        if (m_connection) {
            xcb_disconnect(m_connection);
        }
    }

    bool open()
    {
        m_connection = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(m_connection)) {
            return false;
        }
        xcb_generic_error_t *error = nullptr;
        xcb_shm_query_version_reply_t *version =
            xcb_shm_query_version_reply(m_connection, xcb_shm_query_version(m_connection), &error);
        free(error);
        const bool shm = version != nullptr;
        free(version);
        const xcb_setup_t *setup = xcb_get_setup(m_connection);
        m_root = xcb_setup_roots_iterator(setup).data->root;
        // A server on another machine has no memory to share with us.
        return shm && reserve(4);
    }

    QImage grab(xcb_drawable_t drawable, const QRect &area)
    {
        if (area.isEmpty() || !reserve(size_t(area.width()) * size_t(area.height()) * 4)) {
            return QImage();
        }
        xcb_generic_error_t *error = nullptr;
        xcb_shm_get_image_reply_t *reply = xcb_shm_get_image_reply(
            m_connection,
            xcb_shm_get_image(m_connection, drawable, int16_t(area.x()), int16_t(area.y()), uint16_t(area.width()),
                              uint16_t(area.height()), ~0u, XCB_IMAGE_FORMAT_Z_PIXMAP, m_segment, 0),
            &error);
        free(error);
        const bool truecolor = reply && (reply->depth == 24 || reply->depth == 32) &&
                               size_t(reply->size) >= size_t(area.width()) * size_t(area.height()) * 4;
        free(reply);
        if (!truecolor) {
            return QImage();
        }
        return QImage(static_cast<const uchar *>(m_memory), area.width(), area.height(), area.width() * 4,
                      QImage::Format_RGB32);
    }

    QRect windowArea(xcb_window_t window)
    {
        // A window that is gone answers with an error; taken here, it does not
        // pile up in the connection's event queue, which nobody reads.
        xcb_generic_error_t *error = nullptr;
        xcb_get_geometry_reply_t *geometry =
            xcb_get_geometry_reply(m_connection, xcb_get_geometry(m_connection, window), &error);
        free(error);
        if (!geometry) {
            return QRect();
        }
        const QRect area(0, 0, geometry->width, geometry->height);
        free(geometry);
        return area;
    }

    xcb_window_t root() const { return m_root; }

private:
    bool reserve(size_t bytes)
    {
        if (bytes <= m_size) {
            return true;
        }
        releaseSegment();
        m_shmId = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
        if (m_shmId < 0) {
            return false;
        }
        m_memory = shmat(m_shmId, nullptr, 0);
        // Marked for removal at once: the segment goes when both sides let go,
        // even if this process dies.
        shmctl(m_shmId, IPC_RMID, nullptr);
        if (m_memory == reinterpret_cast<void *>(-1)) {
            m_memory = nullptr;
            return false;
        }
        m_segment = xcb_generate_id(m_connection);
        xcb_generic_error_t *error =
            xcb_request_check(m_connection, xcb_shm_attach_checked(m_connection, m_segment, uint32_t(m_shmId), 0));
        if (error) {
            free(error);
            shmdt(m_memory);
            m_memory = nullptr;
            return false;
        }
        m_size = bytes;
        return true;
    }

    void releaseSegment()
    {
        if (!m_memory) {
            return;
        }
        xcb_shm_detach(m_connection, m_segment);
        xcb_flush(m_connection);
        shmdt(m_memory);
        m_memory = nullptr;
        m_size = 0;
    }

    xcb_connection_t *m_connection = nullptr;
    xcb_window_t m_root = 0;
    xcb_shm_seg_t m_segment = 0;
    int m_shmId = -1;
    void *m_memory = nullptr;
    size_t m_size = 0;
};

// Without shared memory the toolkit grabs a window. On X11 that asks the
// server, which any thread may do; other platforms (the offscreen one in
// tests) copy the window's own backing store, which the graphical thread may
// free at the same moment (a whiteboard closing while it is captured), so
// only that thread may read it.
bool windowGrabAllowedHere()
{
    return QGuiApplication::platformName() == QLatin1String("xcb")
           || QThread::currentThread() == QCoreApplication::instance()->thread();
}

} // namespace

struct CScreenGrab::Private
{
    // The shared-memory grab, when the display offers it; null otherwise.
    CShmGrab *shmGrab()
    {
        if (!triedShm) {
            triedShm = true;
            auto grab = std::make_unique<CShmGrab>();
            if (QGuiApplication::platformName() == QLatin1String("xcb") && grab->open()) {
                shm = std::move(grab);
            }
        }
        return shm.get();
    }

    bool triedShm = false;
    std::unique_ptr<CShmGrab> shm;
};

CScreenGrab::CScreenGrab() : d(std::make_unique<Private>())
{
}

CScreenGrab::~CScreenGrab() = default;

QImage CScreenGrab::grab(unsigned windowId)
{
    QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen) {
        return QImage();
    }
    CShmGrab *shm = d->shmGrab();
    if (!shm && windowId == 0) {
        // The screen's whole area, named: some platforms find nothing to
        // grab for an open-ended area.
        return screen->grabWindow(0, 0, 0, screen->size().width(), screen->size().height()).toImage();
    }
    if (!shm) {
        if (!windowGrabAllowedHere()) {
            return QImage();
        }
        return screen->grabWindow(windowId).toImage();
    }
    if (windowId == 0) {
        // The root window spans every screen; the primary one is a part.
        return shm->grab(shm->root(), screen->geometry());
    }
    const QImage image = shm->grab(windowId, shm->windowArea(windowId));
    // A window that reaches past the screen cannot be read whole from
    // shared memory; the toolkit's grab takes what shows.
    return image.isNull() ? screen->grabWindow(windowId).toImage() : image;
}

QImage CScreenGrab::grabArea(const QRect &area)
{
    QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen || area.isEmpty()) {
        return QImage();
    }
    CShmGrab *shm = d->shmGrab();
    if (!shm) {
        const QRect inside = area & screen->virtualGeometry();
        return screen->grabWindow(0, inside.x(), inside.y(), inside.width(), inside.height()).toImage();
    }
    return shm->grab(shm->root(), area & shm->windowArea(shm->root()));
}

} // namespace kd_app
