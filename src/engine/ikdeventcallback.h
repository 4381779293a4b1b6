#pragma once

// The engine's callback interface. The declaration order is the engine's
// dispatch order; every operation does nothing unless a handler overrides it.

#include <string>

#include "engine/kdtypes.h"

namespace kd {
namespace engine {

class IKDEventCallBack
{
public:
    virtual void onError(KDError &err) {}
    virtual void onWarn(KDWarn &warn) {}
    virtual void onLoginSucceed(KDUserInfo &user) {}
    virtual void onRegisterState(_KD_CALL_TYPE type, _KD_REGISTER_STATE state) {}
    virtual void onRegisterInfo(KDRegisterInfo &info) {}
    virtual void onDownloadUserImageComplete(const char *path) {}
    virtual void onUploadUserImageComplete(const char *path) {}
    virtual void onNetworkState(bool reachable) {}
    virtual void onNetworkQuality(float quality_rating) {}
    virtual void onProvision(bool provisioned) {}
    virtual void onCallConnected(KDCallInfo &info) {}
    virtual void onCallState(KDCallInfo &info) {}
    virtual void onCallPeerConnected(KDCallInfo &info) {}
    virtual void onCallEnd(KDCallInfo &info) {}
    virtual void onContent(KDContentInfo &info) {}
    virtual void onCallLogUpdated(KDCallLog &log) {}
    virtual void onMuteSpeakingDetected() {}
    virtual void onConntentSourceUpdated(KDContentSourceInfo &info) {}
    virtual void onAudioData(int sample_rate, const unsigned char *data, int size) {}
    virtual void onVideoPreviewFrame(const unsigned char *data, int size) {}
    virtual void onContentPreviewFrame(const unsigned char *data, int size) {}
    virtual void onDeliverFrame(KDFrame &frame) {}
    virtual void onMicMutedShow(int mic_muted) {}
    virtual void onWaitQueue(int queue_size) {}
    virtual void onVidInputStateChanged(int index, int state, int width, int height, int frameRate) {}
    virtual void onUploadFeedback(int number) {}
    virtual void onContentSourceStatusChange(KDVideoSize size, int x, int y, bool isOverlaidorMinimized, bool isAlive)
    {
    }
    virtual void onVoteInvitation(KDVoteInfo &info) {}
    virtual void onVolume(_KD_DEVICE_TYPE type, KDVolume &vol) {}
    virtual void onDeviceAdded(KDDevice &device) {}
    virtual void onDeviceRemoved(KDDevice &device) {}
    virtual void onCurrentDeviceChanged(KDDevice &device) {}
    virtual void onVideoMutedShow(int video_muted) {}
    virtual void onFaceInfo(std::string id, std::string info) {}
    virtual void onFirstLocalVideoFrame(KDVideoSize size) {}
    virtual void onFirstRemoteVideoFrame(std::string peer, KDVideoSize size) {}
    virtual void onFirstRemoteContentFrame(KDVideoSize size) {}
    virtual void onFirstLocalContentFrame(KDVideoSize size) {}

protected:
    IKDEventCallBack() = default;
    IKDEventCallBack(const IKDEventCallBack &) = default;
    IKDEventCallBack &operator=(const IKDEventCallBack &) { return *this; }
    ~IKDEventCallBack() = default;
};

class IAVEventHandler : public IKDEventCallBack
{
public:
    virtual void onSIPRegister(bool registered) {}
    virtual void onSIPForceClear() {}
    virtual void onCallIncoming(KDCallInfo &info) {}

protected:
    IAVEventHandler() = default;
    IAVEventHandler(const IAVEventHandler &) = default;
    IAVEventHandler &operator=(const IAVEventHandler &) { return *this; }
    ~IAVEventHandler() = default;
};

} // namespace engine
} // namespace kd
