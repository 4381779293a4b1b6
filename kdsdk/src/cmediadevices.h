#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <string>

#include <QImage>
#include <QString>

#include "cdevicemanager.h"

class QTimer;

namespace kd {
namespace sdk {

class CAudioIo;
class CCameraCapture;
class CCameraWatch;
class CMediaThread;
class CSoundServerWatch;

// The engine's devices area: the device lists, following the system's
// devices as the sound server and the device manager tell their changes (by
// a slow poll where they cannot), the test sound on the current speaker and the level of
// the current microphone. Synthetic devices play and measure nothing real:
// their sound lasts as long as the file would play and their microphone has
// a generated level.
class CMediaDevices
{
public:
    // "KDSDK_DEVICES=synthetic" keeps the fixed synthetic set, whatever the
    // machine has; so does a process without a Qt application.
    explicit CMediaDevices(CDeviceManager::Raise raise);
    ~CMediaDevices();
    CMediaDevices(const CMediaDevices &) = delete;
    CMediaDevices &operator=(const CMediaDevices &) = delete;

    CDeviceManager &devices() { return *m_devices; }
    bool followsSystem() const { return m_media != nullptr; }

    int select(int type, unsigned id);
    // Lists the system's devices now.
    void pollNow();
    // How often the lists are read where the system cannot tell changes; 0
    // stops that polling.
    void setPollInterval(int milliseconds);

    int enableMeter(bool enable);
    // The current microphone's level, 0 to 1, while the meter is on.
    float micLevel();
    // A negative level gives the synthetic microphone its generated level back.
    void setSyntheticMicLevel(float level);

    // Where the current camera's pictures go while it is wanted; an empty
    // picture when it stops. The synthetic camera sends none.
    void setCameraSink(std::function<void(const QImage &)> sink);
    void setCameraWanted(bool wanted);

    int setAudioFile(const std::string &path);
    int startPlay();
    int stopPlay();
    bool isPlaying();
    // Ends sound and measuring for good (the engine is released).
    void shutDown();

private:
    using Clock = std::chrono::steady_clock;

    void poll();
    // Lists again only what the system does not tell changes of.
    void pollUnfollowed();
    // On the media thread: starts following the system's changes, and polls
    // for what cannot be followed.
    void watch();
    void updatePolling();
    void logPolling(bool polled, bool *logged, const char *teller) const;
    void apply(const CSystemDevices &listed);
    bool isShutDown() const;
    // Lists again until Qt's lists hold the sound server's devices: Qt hears
    // of them on a connection of its own, a moment later or earlier.
    void settleSound();
    // On the media thread: (re)opens or closes the meter for the current microphone.
    int updateMeter();
    // On the media thread: runs the current camera while it is wanted.
    void updateCamera();
    bool currentIsSystem(int type, std::string *key) const;

    std::unique_ptr<CDeviceManager> m_devices;
    std::unique_ptr<CMediaThread> m_media;
    CAudioIo *m_audio = nullptr; // lives on the media thread, child of its context
    QTimer *m_pollTimer = nullptr;
    QTimer *m_settleTimer = nullptr;
    CSoundServerWatch *m_soundWatch = nullptr; // on the media thread, while the sound server may tell changes
    CCameraWatch *m_cameraWatch = nullptr;     // on the media thread, while the device manager may tell changes
    // Media thread only.
    bool m_soundFollowed = false;
    bool m_camerasFollowed = false;
    bool m_soundPollingLogged = false;
    bool m_cameraPollingLogged = false;
    int m_pollIntervalMs;
    int m_settleTries = 0;
    CSystemDevices m_listed; // what was listed last
    std::set<std::string> m_serverSpeakers;
    std::set<std::string> m_serverMicrophones;
    CCameraCapture *m_camera = nullptr; // on the media thread, while a system camera runs

    mutable std::mutex m_mutex;
    bool m_meterOn = false;
    bool m_cameraWanted = false;
    std::function<void(const QImage &)> m_cameraSink;
    QString m_meterDevice; // the system microphone measured, empty for none
    float m_syntheticLevel = -1.0f;
    std::string m_audioFile;
    double m_audioSeconds = 0.0;
    Clock::time_point m_syntheticEnd;
    bool m_systemPlayback = false;
    bool m_shutDown = false;
};

} // namespace sdk
} // namespace kd
