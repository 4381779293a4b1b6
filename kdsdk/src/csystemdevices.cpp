#include "csystemdevices.h"

namespace kd {
namespace sdk {

namespace {

// The plugin that lists the sound library's aliases; the sound server's
// devices come from Qt's built-in backend.
const QLatin1String kAliasRealm("alsa");

QAudio::Mode modeOf(int type)
{
    return type == kd::engine::KD_DEVICE_MIC ? QAudio::AudioInput : QAudio::AudioOutput;
}

std::string audioKey(int type, const QAudioDeviceInfo &device)
{
    return "audio:" + std::to_string(type) + ":" + device.realm().toStdString() + ":" +
           device.deviceName().toStdString();
}

std::string cameraKey(const QCameraInfo &camera)
{
    return "camera:" + camera.deviceName().toStdString();
}

bool isServerDevice(const QAudioDeviceInfo &device)
{
    return !device.isNull() && !device.deviceName().isEmpty() && device.realm() != kAliasRealm;
}

} // namespace

CSystemDevices CSystemDeviceLister::list()
{
    CSystemDevices system;
    listSound(&system);
    listCameras(&system);
    return system;
}

void CSystemDeviceLister::listSound(CSystemDevices *into)
{
    for (int type : {int(kd::engine::KD_DEVICE_MIC), int(kd::engine::KD_DEVICE_SPEAKER)}) {
        into->lists[type].clear();
        for (const QAudioDeviceInfo &device : QAudioDeviceInfo::availableDevices(modeOf(type))) {
            if (!isServerDevice(device)) {
                continue;
            }
            CSystemDevice entry;
            entry.key = audioKey(type, device);
            entry.name = device.deviceName().toStdString();
            entry.desc = device.realm().toStdString();
            into->lists[type].push_back(entry);
        }
    }
}

void CSystemDeviceLister::listCameras(CSystemDevices *into)
{
    std::vector<CSystemDevice> &cameras = into->lists[kd::engine::KD_DEVICE_CAMERA];
    cameras.clear();
    for (const QCameraInfo &camera : QCameraInfo::availableCameras()) {
        CSystemDevice entry;
        entry.key = cameraKey(camera);
        entry.name = (camera.description().isEmpty() ? camera.deviceName() : camera.description()).toStdString();
        entry.desc = camera.deviceName().toStdString();
        cameras.push_back(entry);
    }
}

QAudioDeviceInfo CSystemDeviceLister::audioDevice(int type, const std::string &key)
{
    if (type != kd::engine::KD_DEVICE_MIC && type != kd::engine::KD_DEVICE_SPEAKER) {
        return QAudioDeviceInfo();
    }
    if (key == CDeviceManager::defaultKey(type)) {
        const QAudioDeviceInfo device = type == kd::engine::KD_DEVICE_MIC ? QAudioDeviceInfo::defaultInputDevice()
                                                                          : QAudioDeviceInfo::defaultOutputDevice();
        return isServerDevice(device) ? device : QAudioDeviceInfo();
    }
    for (const QAudioDeviceInfo &device : QAudioDeviceInfo::availableDevices(modeOf(type))) {
        if (isServerDevice(device) && audioKey(type, device) == key) {
            return device;
        }
    }
    return QAudioDeviceInfo();
}

QCameraInfo CSystemDeviceLister::camera(const std::string &key)
{
    for (const QCameraInfo &camera : QCameraInfo::availableCameras()) {
        if (cameraKey(camera) == key) {
            return camera;
        }
    }
    return QCameraInfo();
}

} // namespace sdk
} // namespace kd
