#include "cpulsemainloop.h"

#include <pulse/rtclock.h>
#include <pulse/timeval.h>

#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>

namespace kd {
namespace sdk {

namespace {

// The library marks a time on the monotonic clock with this bit in the
// microseconds; without it the time is on the wall clock.
constexpr long kMonotonicMark = 1L << 30;

CPulseMainloop *loopOf(pa_mainloop_api *api)
{
    return static_cast<CPulseMainloop *>(api->userdata);
}

int msecondsUntil(const struct timeval *tv)
{
    pa_usec_t target = 0;
    pa_usec_t now = 0;
    if (tv->tv_usec & kMonotonicMark) {
        target = pa_usec_t(tv->tv_sec) * PA_USEC_PER_SEC + pa_usec_t(tv->tv_usec & ~kMonotonicMark);
        now = pa_rtclock_now();
    } else {
        target = pa_timeval_load(tv);
        struct timeval wall;
        now = pa_timeval_load(pa_gettimeofday(&wall));
    }
    return target <= now ? 0 : int((target - now + 999) / 1000);
}

// Every event is deleted later, so that one freed from its own callback
// is not deleted under it.
struct CEventBase : QObject
{
    explicit CEventBase(CPulseMainloop *loop, pa_mainloop_api *api, void *userdata)
        : QObject(loop), api(api), userdata(userdata)
    {
    }
    pa_mainloop_api *api;
    void *userdata;
    bool dead = false;
};

} // namespace

} // namespace sdk
} // namespace kd

struct pa_io_event : kd::sdk::CEventBase
{
    using CEventBase::CEventBase;
    int fd = -1;
    pa_io_event_cb_t callback = nullptr;
    pa_io_event_destroy_cb_t destroy = nullptr;
    QSocketNotifier *readable = nullptr;
    QSocketNotifier *writable = nullptr;
};

struct pa_time_event : kd::sdk::CEventBase
{
    using CEventBase::CEventBase;
    pa_time_event_cb_t callback = nullptr;
    pa_time_event_destroy_cb_t destroy = nullptr;
    QTimer timer;
    struct timeval when = {};
};

struct pa_defer_event : kd::sdk::CEventBase
{
    using CEventBase::CEventBase;
    pa_defer_event_cb_t callback = nullptr;
    pa_defer_event_destroy_cb_t destroy = nullptr;
    bool enabled = false;
};

namespace kd {
namespace sdk {

namespace {

void ioEnable(pa_io_event *event, pa_io_event_flags_t flags)
{
    event->readable->setEnabled(flags & (PA_IO_EVENT_INPUT | PA_IO_EVENT_HANGUP | PA_IO_EVENT_ERROR));
    event->writable->setEnabled(flags & PA_IO_EVENT_OUTPUT);
}

pa_io_event *ioNew(pa_mainloop_api *api, int fd, pa_io_event_flags_t flags, pa_io_event_cb_t callback, void *userdata)
{
    auto *event = new pa_io_event(loopOf(api), api, userdata);
    event->fd = fd;
    event->callback = callback;
    event->readable = new QSocketNotifier(fd, QSocketNotifier::Read, event);
    event->writable = new QSocketNotifier(fd, QSocketNotifier::Write, event);
    const auto fire = [event](pa_io_event_flags_t what) {
        if (!event->dead) {
            event->callback(event->api, event, event->fd, what, event->userdata);
        }
    };
    QObject::connect(event->readable, &QSocketNotifier::activated, event, [fire] { fire(PA_IO_EVENT_INPUT); });
    QObject::connect(event->writable, &QSocketNotifier::activated, event, [fire] { fire(PA_IO_EVENT_OUTPUT); });
    ioEnable(event, flags);
    return event;
}

void ioFree(pa_io_event *event)
{
    event->dead = true;
    event->readable->setEnabled(false);
    event->writable->setEnabled(false);
    if (event->destroy) {
        event->destroy(event->api, event, event->userdata);
    }
    event->deleteLater();
}

void ioSetDestroy(pa_io_event *event, pa_io_event_destroy_cb_t destroy)
{
    event->destroy = destroy;
}

void timeRestart(pa_time_event *event, const struct timeval *tv)
{
    if (!tv) {
        event->timer.stop();
        return;
    }
    event->when = *tv;
    event->timer.start(msecondsUntil(tv));
}

pa_time_event *timeNew(pa_mainloop_api *api, const struct timeval *tv, pa_time_event_cb_t callback, void *userdata)
{
    auto *event = new pa_time_event(loopOf(api), api, userdata);
    event->callback = callback;
    event->timer.setSingleShot(true);
    QObject::connect(&event->timer, &QTimer::timeout, event, [event] {
        if (!event->dead) {
            event->callback(event->api, event, &event->when, event->userdata);
        }
    });
    timeRestart(event, tv);
    return event;
}

void timeFree(pa_time_event *event)
{
    event->dead = true;
    event->timer.stop();
    if (event->destroy) {
        event->destroy(event->api, event, event->userdata);
    }
    event->deleteLater();
}

void timeSetDestroy(pa_time_event *event, pa_time_event_destroy_cb_t destroy)
{
    event->destroy = destroy;
}

void deferEnable(pa_defer_event *event, int enable);

pa_defer_event *deferNew(pa_mainloop_api *api, pa_defer_event_cb_t callback, void *userdata)
{
    auto *event = new pa_defer_event(loopOf(api), api, userdata);
    event->callback = callback;
    deferEnable(event, 1);
    return event;
}

void deferFree(pa_defer_event *event)
{
    event->dead = true;
    event->enabled = false;
    if (event->destroy) {
        event->destroy(event->api, event, event->userdata);
    }
    event->deleteLater();
}

void deferSetDestroy(pa_defer_event *event, pa_defer_event_destroy_cb_t destroy)
{
    event->destroy = destroy;
}

void quit(pa_mainloop_api *, int)
{
    // The Qt event loop belongs to the thread, not to the sound server.
}

} // namespace

namespace {

void deferEnable(pa_defer_event *event, int enable)
{
    event->enabled = enable != 0 && !event->dead;
    if (event->enabled) {
        loopOf(event->api)->wakeDeferred();
    }
}

} // namespace

CPulseMainloop::CPulseMainloop(QObject *parent) : QObject(parent), m_deferTimer(new QTimer(this))
{
    m_deferTimer->setInterval(0);
    connect(m_deferTimer, &QTimer::timeout, this, &CPulseMainloop::runDeferred);
    m_api.userdata = this;
    m_api.io_new = ioNew;
    m_api.io_enable = ioEnable;
    m_api.io_free = ioFree;
    m_api.io_set_destroy = ioSetDestroy;
    m_api.time_new = timeNew;
    m_api.time_restart = timeRestart;
    m_api.time_free = timeFree;
    m_api.time_set_destroy = timeSetDestroy;
    m_api.defer_new = deferNew;
    m_api.defer_enable = deferEnable;
    m_api.defer_free = deferFree;
    m_api.defer_set_destroy = deferSetDestroy;
    m_api.quit = quit;
}

CPulseMainloop::~CPulseMainloop() = default;

void CPulseMainloop::wakeDeferred()
{
    m_deferTimer->start();
}

void CPulseMainloop::runDeferred()
{
    bool any = false;
    const QObjectList events = children();
    for (QObject *child : events) {
        auto *event = dynamic_cast<pa_defer_event *>(child);
        if (!event || !event->enabled || event->dead) {
            continue;
        }
        QPointer<QObject> alive(event);
        event->callback(event->api, event, event->userdata);
        any = any || (alive && event->enabled);
    }
    if (!any) {
        m_deferTimer->stop();
    }
}

} // namespace sdk
} // namespace kd
