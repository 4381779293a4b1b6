#pragma once

#include <string>

#include <QObject>

#include "engine/ikdeventcallback.h"
#include "engine/kdmetatypes.h"

namespace kd_app {
namespace models {

// Receives the engine's callbacks on the engine's threads, logs them, copies
// their records and emits one signal per event; the wrapper's connections
// carry them over to the graphical thread.
class CKDSdkEventObserver : public QObject, public kd::engine::IAVEventHandler
{
    Q_OBJECT

public:
    CKDSdkEventObserver();

    void onError(kd::engine::KDError &err) override;
    void onWarn(kd::engine::KDWarn &warn) override;
    void onLoginSucceed(kd::engine::KDUserInfo &user) override;
    void onRegisterInfo(kd::engine::KDRegisterInfo &info) override;
    void onDownloadUserImageComplete(const char *path) override;
    void onUploadUserImageComplete(const char *path) override;
    void onNetworkState(bool reachable) override;
    void onNetworkQuality(float quality_rating) override;
    void onCallConnected(kd::engine::KDCallInfo &info) override;
    void onCallState(kd::engine::KDCallInfo &info) override;
    void onCallPeerConnected(kd::engine::KDCallInfo &info) override;
    void onCallEnd(kd::engine::KDCallInfo &info) override;
    void onContent(kd::engine::KDContentInfo &info) override;
    void onMuteSpeakingDetected() override;
    void onMicMutedShow(int mic_muted) override;
    void onWaitQueue(int queue_size) override;
    void onUploadFeedback(int number) override;
    void onContentSourceStatusChange(kd::engine::KDVideoSize size, int x, int y, bool isOverlaidorMinimized,
                                     bool isAlive) override;
    void onVolume(kd::engine::_KD_DEVICE_TYPE type, kd::engine::KDVolume &vol) override;
    void onDeviceAdded(kd::engine::KDDevice &device) override;
    void onDeviceRemoved(kd::engine::KDDevice &device) override;
    void onCurrentDeviceChanged(kd::engine::KDDevice &device) override;
    void onVideoMutedShow(int video_muted) override;
    void onSIPForceClear() override;
    void onCallIncoming(kd::engine::KDCallInfo &info) override;

    // The one-line text the call handlers log for a call record.
    static std::string callInfoText(const kd::engine::KDCallInfo &info);

signals:
    void eventError(kd::engine::KDError err);
    void eventWarn(kd::engine::KDWarn warn);
    void eventLoginSucceed(kd::engine::KDUserInfo user);
    void eventRegisterInfo(kd::engine::KDRegisterInfo info);
    void eventDownloadUserImageComplete(std::string szPath);
    void eventUploadUserImageComplete(std::string szPath);
    void eventNetworkState(bool reachable);
    void eventNetworkQuality(float quality_rating);
    void eventCallConnected(kd::engine::KDCallInfo info);
    void eventCallState(kd::engine::KDCallInfo info);
    void eventCallPeerConnected(kd::engine::KDCallInfo info);
    void eventCallEnd(kd::engine::KDCallInfo info);
    void eventContent(kd::engine::KDContentInfo info);
    void eventMuteSpeakingDetected();
    void eventMicMutedShow(bool mic_muted);
    void eventWaitQueue(int queue_size);
    void eventUploadFeedback(int number);
    void eventContentSourceStatusChange(kd::engine::KDVideoSize size, int x, int y, bool isOverlaidorMinimized,
                                        bool isAlive);
    void eventSIPRegister(bool registered);
    void eventSIPForceClear();
    void eventCallIncoming(kd::engine::KDCallInfo info);
    void eventVolume(kd::engine::KD_DEVICE_TYPE type, kd::engine::KDVolume vol);
    void eventDeviceAdded(kd::engine::KDDevice device);
    void eventDeviceRemoved(kd::engine::KDDevice device);
    void eventCurrentDeviceChanged(kd::engine::KDDevice device);
    void eventVideoMutedShow(int video_muted);
};

} // namespace models
} // namespace kd_app
