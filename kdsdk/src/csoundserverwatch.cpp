#include "csoundserverwatch.h"

#include <pulse/context.h>
#include <pulse/introspect.h>
#include <pulse/subscribe.h>

#include "cpulsemainloop.h"

namespace kd {
namespace sdk {

namespace {

void release(pa_operation *operation)
{
    if (operation) {
        pa_operation_unref(operation);
    }
}

} // namespace

CSoundServerWatch::CSoundServerWatch(std::function<void(const CSoundServerDevices &)> changed,
                                     std::function<void()> lost, QObject *parent)
    : QObject(parent), m_changed(std::move(changed)), m_lost(std::move(lost)), m_loop(new CPulseMainloop(this))
{
}

CSoundServerWatch::~CSoundServerWatch()
{
    disconnect();
    // The connection's last events are freed now, before the loop goes.
    delete m_loop;
}

bool CSoundServerWatch::start()
{
    disconnect();
    m_context = pa_context_new(m_loop->api(), "kdsdk devices");
    if (!m_context) {
        return false;
    }
    pa_context_set_state_callback(m_context, &CSoundServerWatch::onState, this);
    // Never start a server of our own: no server means polling.
    if (pa_context_connect(m_context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
        disconnect();
        return false;
    }
    return true;
}

void CSoundServerWatch::disconnect()
{
    if (!m_context) {
        return;
    }
    pa_context_set_state_callback(m_context, nullptr, nullptr);
    pa_context_set_subscribe_callback(m_context, nullptr, nullptr);
    pa_context_disconnect(m_context);
    pa_context_unref(m_context);
    m_context = nullptr;
    m_connected = false;
    m_fetching = false;
    m_dirty = false;
}

void CSoundServerWatch::onState(pa_context *context, void *self)
{
    auto *watch = static_cast<CSoundServerWatch *>(self);
    switch (pa_context_get_state(context)) {
    case PA_CONTEXT_READY: {
        watch->m_connected = true;
        pa_context_set_subscribe_callback(context, &CSoundServerWatch::onEvent, watch);
        const auto mask = pa_subscription_mask_t(PA_SUBSCRIPTION_MASK_SINK | PA_SUBSCRIPTION_MASK_SOURCE |
                                                 PA_SUBSCRIPTION_MASK_SERVER);
        release(pa_context_subscribe(context, mask, nullptr, nullptr));
        watch->fetch();
        break;
    }
    case PA_CONTEXT_FAILED:
    case PA_CONTEXT_TERMINATED:
        // Told from the loop, not from inside the library's call.
        watch->m_connected = false;
        QMetaObject::invokeMethod(
            watch,
            [watch] {
                watch->disconnect();
                watch->m_lost();
            },
            Qt::QueuedConnection);
        break;
    default:
        break;
    }
}

void CSoundServerWatch::onEvent(pa_context *, pa_subscription_event_type_t facility, uint32_t, void *self)
{
    auto *watch = static_cast<CSoundServerWatch *>(self);
    const unsigned kind = facility & PA_SUBSCRIPTION_EVENT_TYPE_MASK;
    const unsigned what = facility & PA_SUBSCRIPTION_EVENT_FACILITY_MASK;
    // A device's volume or state changes often and leaves the lists as they are.
    if (what != PA_SUBSCRIPTION_EVENT_SERVER && kind == PA_SUBSCRIPTION_EVENT_CHANGE) {
        return;
    }
    watch->fetch();
}

void CSoundServerWatch::fetch()
{
    if (m_fetching) {
        m_dirty = true;
        return;
    }
    m_fetching = true;
    m_dirty = false;
    m_fetched = CSoundServerDevices();
    const auto onSink = [](pa_context *, const pa_sink_info *info, int eol, void *self) {
        auto *watch = static_cast<CSoundServerWatch *>(self);
        if (!eol && info) {
            watch->m_fetched.speakers.insert(info->name);
        }
    };
    const auto onSource = [](pa_context *, const pa_source_info *info, int eol, void *self) {
        auto *watch = static_cast<CSoundServerWatch *>(self);
        if (!eol && info) {
            watch->m_fetched.microphones.insert(info->name);
            return;
        }
        if (eol == 0) {
            return;
        }
        // The server answers in order: the speakers came before.
        watch->m_fetching = false;
        watch->m_changed(watch->m_fetched);
        if (watch->m_dirty) {
            watch->fetch();
        }
    };
    release(pa_context_get_sink_info_list(m_context, onSink, this));
    pa_operation *sources = pa_context_get_source_info_list(m_context, onSource, this);
    if (!sources) {
        m_fetching = false;
        return;
    }
    pa_operation_unref(sources);
}

} // namespace sdk
} // namespace kd
