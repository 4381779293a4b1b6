#pragma once

#include <string>

#include <QAudioDeviceInfo>
#include <QCameraInfo>

#include "cdevicemanager.h"

namespace kd {
namespace sdk {

// The sound server's microphones and speakers and the cameras, as Qt
// Multimedia lists them, under keys that stay the same for a device. Only
// the sound server's own devices count: the sound library's plugin aliases
// ("lavrate", "upmix" ...) are not devices a user can choose.
class CSystemDeviceLister
{
public:
    CSystemDeviceLister() = delete;

    static CSystemDevices list();
    // Only the microphones and speakers, or only the cameras, in `into`.
    static void listSound(CSystemDevices *into);
    static void listCameras(CSystemDevices *into);
    // The device behind a key (a default key means the system's default
    // now); a null device when it is gone.
    static QAudioDeviceInfo audioDevice(int type, const std::string &key);
    static QCameraInfo camera(const std::string &key);
};

} // namespace sdk
} // namespace kd
