#include "cdevicemanager.h"

#include <algorithm>

#include "kdsdkcontrol.h"

using namespace kd::engine;

namespace kd {
namespace sdk {

namespace {

const char *const kSyntheticNames[3] = {"Built-in Microphone", "Built-in Speaker", "Synthetic Camera"};
// Small fixed ids: the synthetic devices keep the ids they always had, the
// system default heads get their own so that a client never mistakes one
// for the other.
constexpr unsigned kSyntheticIds[3] = {1, 11, 21};
constexpr unsigned kDefaultIds[2] = {2, 12};

std::string syntheticKey(int type)
{
    return "synthetic:" + std::to_string(type);
}

} // namespace

const char *const CDeviceManager::kDefaultMicrophoneName = "System Default Microphone";
const char *const CDeviceManager::kDefaultSpeakerName = "System Default Speaker";

CDeviceManager::CDeviceManager(Raise raise) : m_raise(std::move(raise))
{
    for (int type = 0; type < 3; ++type) {
        m_entries[type].push_back(syntheticEntryLocked(type));
        m_current[type] = m_entries[type].front().device.id;
    }
}

std::string CDeviceManager::defaultKey(int type)
{
    return "default:" + std::to_string(type);
}

unsigned CDeviceManager::idForKeyLocked(const std::string &key, unsigned fixedId)
{
    const auto known = m_idsByKey.find(key);
    if (known != m_idsByKey.end()) {
        return known->second;
    }
    const unsigned id = fixedId != KDDevice().id ? fixedId : m_nextId++;
    m_idsByKey[key] = id;
    return id;
}

CDeviceManager::CEntry CDeviceManager::syntheticEntryLocked(int type)
{
    CEntry entry;
    entry.origin = Origin::Synthetic;
    entry.key = syntheticKey(type);
    entry.device.id = idForKeyLocked(entry.key, kSyntheticIds[type]);
    entry.device.type = type;
    entry.device.name = kSyntheticNames[type];
    entry.device.desc = "kdsdk";
    return entry;
}

const CDeviceManager::CEntry *CDeviceManager::findLocked(int type, unsigned id) const
{
    for (const CEntry &entry : m_entries[type]) {
        if (entry.device.id == id) {
            return &entry;
        }
    }
    return nullptr;
}

KDDevice CDeviceManager::currentLocked(int type) const
{
    if (const CEntry *entry = findLocked(type, m_current[type])) {
        return entry->device;
    }
    KDDevice none;
    none.type = type;
    return none;
}

bool CDeviceManager::repairCurrentLocked(int type)
{
    if (findLocked(type, m_current[type])) {
        return false;
    }
    const unsigned before = m_current[type];
    m_current[type] = m_entries[type].empty() ? KDDevice().id : m_entries[type].front().device.id;
    return m_current[type] != before;
}

std::vector<KDDevice> CDeviceManager::devices(int type) const
{
    std::vector<KDDevice> list;
    if (!validType(type)) {
        return list;
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    for (const CEntry &entry : m_entries[type]) {
        list.push_back(entry.device);
    }
    return list;
}

KDDevice CDeviceManager::current(int type) const
{
    if (!validType(type)) {
        return KDDevice();
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    return currentLocked(type);
}

int CDeviceManager::select(int type, unsigned id)
{
    if (!validType(type)) {
        return KD_ERR_INVALID_ARGUMENT;
    }
    KDDevice device;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!findLocked(type, id)) {
            return KD_ERR_INVALID_ARGUMENT;
        }
        if (m_current[type] == id) {
            return KD_OK;
        }
        m_current[type] = id;
        device = currentLocked(type);
    }
    m_raise([device](IAVEventHandler &handler) {
        KDDevice copy = device;
        handler.onCurrentDeviceChanged(copy);
    });
    return KD_OK;
}

void CDeviceManager::add(const KDDevice &device)
{
    if (!validType(device.type)) {
        return;
    }
    CEntry entry;
    entry.origin = Origin::Injected;
    entry.device = device;
    bool becameCurrent = false;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (entry.device.id == KDDevice().id || findLocked(device.type, device.id)) {
            entry.device.id = m_nextId++;
        }
        m_entries[device.type].push_back(entry);
        becameCurrent = repairCurrentLocked(device.type);
    }
    const KDDevice added = entry.device;
    m_raise([added, becameCurrent](IAVEventHandler &handler) {
        KDDevice copy = added;
        handler.onDeviceAdded(copy);
        if (becameCurrent) {
            KDDevice current = added;
            handler.onCurrentDeviceChanged(current);
        }
    });
}

void CDeviceManager::remove(int type, unsigned id)
{
    if (!validType(type)) {
        return;
    }
    KDDevice removed;
    KDDevice current;
    bool currentChanged = false;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        auto &list = m_entries[type];
        const auto found =
            std::find_if(list.begin(), list.end(), [id](const CEntry &entry) { return entry.device.id == id; });
        if (found == list.end()) {
            return;
        }
        removed = found->device;
        list.erase(found);
        currentChanged = repairCurrentLocked(type);
        current = currentLocked(type);
    }
    m_raise([removed, current, currentChanged](IAVEventHandler &handler) {
        KDDevice copy = removed;
        handler.onDeviceRemoved(copy);
        if (currentChanged) {
            KDDevice now = current;
            handler.onCurrentDeviceChanged(now);
        }
    });
}

void CDeviceManager::applySystem(const CSystemDevices &system, bool raiseEvents)
{
    std::vector<KDDevice> added;
    std::vector<KDDevice> removed;
    std::vector<KDDevice> currentChanged;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        for (int type = 0; type < 3; ++type) {
            std::vector<CEntry> wanted;
            const std::vector<CSystemDevice> &listed = system.lists[type];
            if (listed.empty()) {
                wanted.push_back(syntheticEntryLocked(type));
            } else {
                if (type != KD_DEVICE_CAMERA) {
                    CEntry head;
                    head.origin = Origin::System;
                    head.key = defaultKey(type);
                    head.device.id = idForKeyLocked(head.key, kDefaultIds[type]);
                    head.device.type = type;
                    head.device.name = type == KD_DEVICE_MIC ? kDefaultMicrophoneName : kDefaultSpeakerName;
                    head.device.desc = "system default";
                    wanted.push_back(head);
                }
                for (const CSystemDevice &device : listed) {
                    CEntry entry;
                    entry.origin = Origin::System;
                    entry.key = device.key;
                    entry.device.id = idForKeyLocked(device.key, KDDevice().id);
                    entry.device.type = type;
                    entry.device.name = device.name;
                    entry.device.desc = device.desc;
                    wanted.push_back(entry);
                }
            }
            std::vector<CEntry> &list = m_entries[type];
            const auto isWanted = [&wanted](const CEntry &entry) {
                return std::any_of(wanted.begin(), wanted.end(),
                                   [&entry](const CEntry &other) { return other.device.id == entry.device.id; });
            };
            for (const CEntry &entry : list) {
                if (entry.origin != Origin::Injected && !isWanted(entry)) {
                    removed.push_back(entry.device);
                }
            }
            for (const CEntry &entry : wanted) {
                if (!findLocked(type, entry.device.id)) {
                    added.push_back(entry.device);
                }
            }
            // The system's devices first, in its order; those given through
            // the control interface after them.
            for (const CEntry &entry : list) {
                if (entry.origin == Origin::Injected) {
                    wanted.push_back(entry);
                }
            }
            list = wanted;
            if (repairCurrentLocked(type)) {
                currentChanged.push_back(currentLocked(type));
            }
        }
    }
    if (!raiseEvents || (added.empty() && removed.empty() && currentChanged.empty())) {
        return;
    }
    m_raise([added, removed, currentChanged](IAVEventHandler &handler) {
        for (const KDDevice &device : removed) {
            KDDevice copy = device;
            handler.onDeviceRemoved(copy);
        }
        for (const KDDevice &device : added) {
            KDDevice copy = device;
            handler.onDeviceAdded(copy);
        }
        for (const KDDevice &device : currentChanged) {
            KDDevice copy = device;
            handler.onCurrentDeviceChanged(copy);
        }
    });
}

std::string CDeviceManager::systemKey(int type, unsigned id) const
{
    if (!validType(type)) {
        return std::string();
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    const CEntry *entry = findLocked(type, id);
    return entry && entry->origin == Origin::System ? entry->key : std::string();
}

bool CDeviceManager::isSynthetic(int type, unsigned id) const
{
    if (!validType(type)) {
        return false;
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    const CEntry *entry = findLocked(type, id);
    return entry && entry->origin == Origin::Synthetic;
}

} // namespace sdk
} // namespace kd
