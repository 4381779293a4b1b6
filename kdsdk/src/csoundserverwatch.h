#pragma once

#include <functional>
#include <set>
#include <string>

#include <pulse/subscribe.h>

#include <QObject>

struct pa_context;

namespace kd {
namespace sdk {

class CPulseMainloop;

// The names of the sound server's speakers (sinks) and microphones (sources,
// monitors included), as the server has them now.
struct CSoundServerDevices
{
    std::set<std::string> speakers;
    std::set<std::string> microphones;
};

// Follows the sound server's devices by its own notification: each time a
// speaker or microphone comes or goes, or the defaults change, `changed`
// gets the server's device names (once more right after connecting). `lost`
// is called once when the server cannot be reached or goes away. Lives on
// the thread whose event loop runs it.
class CSoundServerWatch : public QObject
{
public:
    CSoundServerWatch(std::function<void(const CSoundServerDevices &)> changed, std::function<void()> lost,
                      QObject *parent = nullptr);
    ~CSoundServerWatch() override;

    // Starts connecting; false when that failed at once (`lost` is not called then).
    bool start();
    bool connected() const { return m_connected; }
    bool connecting() const { return m_context && !m_connected; }

private:
    static void onState(pa_context *context, void *self);
    static void onEvent(pa_context *context, pa_subscription_event_type_t facility, uint32_t index, void *self);
    void fetch();
    void disconnect();

    std::function<void(const CSoundServerDevices &)> m_changed;
    std::function<void()> m_lost;
    CPulseMainloop *m_loop = nullptr;
    pa_context *m_context = nullptr;
    bool m_connected = false;
    bool m_fetching = false;
    bool m_dirty = false;
    CSoundServerDevices m_fetched;
};

} // namespace sdk
} // namespace kd
