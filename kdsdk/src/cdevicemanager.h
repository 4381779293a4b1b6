#pragma once

#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "engine/iavengine.h"

namespace kd {
namespace sdk {

// One device as the system lists it: a key that names it for as long as the
// engine runs (the same device plugged in again keeps its id), and the texts
// the client shows.
struct CSystemDevice
{
    std::string key;
    std::string name;
    std::string desc;
};

// What the system lists now, per device kind (microphone, speaker, camera).
struct CSystemDevices
{
    std::vector<CSystemDevice> lists[3];
};

// The engine's microphones, speakers and cameras and the current one of each.
// A kind the system lists nothing of (a machine without a sound server, CI)
// keeps one synthetic device; when the system lists devices of a kind, they
// come led by "System Default Microphone" / "System Default Speaker", which
// follow the system's own default. Devices given through the control
// interface stay until they are taken away the same way. Every change is
// raised as the engine's device events, outside the lock.
class CDeviceManager
{
public:
    using Event = std::function<void(kd::engine::IAVEventHandler &)>;
    using Raise = std::function<void(Event)>;

    static const char *const kDefaultMicrophoneName;
    static const char *const kDefaultSpeakerName;

    explicit CDeviceManager(Raise raise);

    std::vector<kd::engine::KDDevice> devices(int type) const;
    // The current device; an id of KDDevice() when the kind has none.
    kd::engine::KDDevice current(int type) const;
    // KD_OK, also when it already was current; KD_ERR_INVALID_ARGUMENT for
    // a device the engine does not list.
    int select(int type, unsigned id);

    // Devices given through the control interface.
    void add(const kd::engine::KDDevice &device);
    void remove(int type, unsigned id);

    // Brings the lists in line with what the system lists now. The first
    // call after construction raises nothing: the client has not asked yet.
    void applySystem(const CSystemDevices &system, bool raiseEvents = true);

    // The system key of a device ("" for the synthetic and injected ones):
    // what the sound and camera code opens. A default head's key is its
    // kind's default key.
    std::string systemKey(int type, unsigned id) const;
    static std::string defaultKey(int type);
    bool isSynthetic(int type, unsigned id) const;

    static bool validType(int type) { return type >= 0 && type <= 2; }

private:
    enum class Origin { Synthetic, System, Injected };
    struct CEntry
    {
        kd::engine::KDDevice device;
        Origin origin = Origin::Synthetic;
        std::string key;
    };

    CEntry syntheticEntryLocked(int type);
    const CEntry *findLocked(int type, unsigned id) const;
    unsigned idForKeyLocked(const std::string &key, unsigned fixedId);
    kd::engine::KDDevice currentLocked(int type) const;
    // Makes the first device current when the current one is gone; true when
    // the current device changed.
    bool repairCurrentLocked(int type);

    Raise m_raise;
    mutable std::mutex m_mutex;
    std::vector<CEntry> m_entries[3];
    unsigned m_current[3];
    std::map<std::string, unsigned> m_idsByKey;
    unsigned m_nextId = 100;
};

} // namespace sdk
} // namespace kd
