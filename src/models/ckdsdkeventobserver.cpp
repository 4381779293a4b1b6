#include "ckdsdkeventobserver.h"

#include <sstream>

#include "helpers/clogformat.h"

using kd_app::helpers::CLogFormat;

namespace kd_app {
namespace models {

namespace {

QString u(const std::string &text)
{
    return QString::fromStdString(text);
}

// The engine may hand a null path; it then reads as empty rather than crashing.
std::string pathText(const char *path)
{
    return path ? std::string(path) : std::string();
}

} // namespace

CKDSdkEventObserver::CKDSdkEventObserver() = default;

std::string CKDSdkEventObserver::callInfoText(const kd::engine::KDCallInfo &info)
{
    // A meeting password is short enough that any prefix of it gives it away:
    // the log only tells whether there is one.
    const char *password = info.password.empty() ? "" : "*****";
    std::ostringstream out;
    out << "isAudioOnly: " << info.isAudioOnly << ", contentEnabled: " << info.contentEnabled
        << ", isBigConference: " << info.isBigConference << ", isRemoteMuted: " << info.isRemoteMuted
        << ", peer: " << info.peer << ", conference_number: " << info.conference_number << ", password:" << password
        << ", err.type: " << info.err.type << ", err.action: " << info.err.action << ", err.code: " << info.err.code
        << ", svcCallType: " << info.svcCallType << ", svcCallAction: " << info.svcCallAction;
    return out.str();
}

void CKDSdkEventObserver::onError(kd::engine::KDError &err)
{
    qInfo("CKDSdkEventObserver::onError, type: %d, action: %s, code: %d, msg: %s", err.type, err.action.c_str(),
          err.code, err.msg.c_str());
    const kd::engine::KDError copy = err;
    emit eventError(copy);
    qInfo("onError done");
}

void CKDSdkEventObserver::onWarn(kd::engine::KDWarn &warn)
{
    qInfo("CKDSdkEventObserver::onWarn, code: %d, msg: %s", warn.code, warn.msg.c_str());
    const kd::engine::KDWarn copy = warn;
    emit eventWarn(copy);
    qInfo("onWarn done");
}

void CKDSdkEventObserver::onLoginSucceed(kd::engine::KDUserInfo &user)
{
    KD_LOG;
    KD_LOG << "userId:" << user.userId;
    KD_LOG << "username:" << u(user.username) << ", displayName" << u(user.displayName) << ", org:" << u(user.org)
           << ", orgPortAllocMode:" << u(user.orgPortAllocMode) << ", orgPortCount:" << user.orgPortCount
           << ", email:" << u(user.email) << ", cellphone:" << u(user.cellphone) << ", telephone:" << u(user.telephone)
           << ", deviceId:" << user.deviceId << ", dept:" << u(user.dept)
           << ", everChangedPasswd:" << user.everChangedPasswd
           << ", customizedH5UrlPrefix:" << u(user.customizedH5UrlPrefix)
           << ", token:" << CLogFormat::masked(u(user.token)) << ", sorvelVersion:" << u(user.sorvelVersion)
           << ", specifiedUpgradingServerAddress:" << u(user.specifiedUpgradingServerAddress)
           << ", serverTime:" << user.serverTime << ", callNumber:" << u(user.callNumber)
           << ", appServerType:" << u(user.appServerType) << ", urlSuffixForMobile:" << u(user.urlSuffixForMobile)
           << ", urlSuffixForPC:" << u(user.urlSuffixForPC) << ", vmr:" << u(user.vmr)
           << ", contactWebPage:" << user.contactWebPage << ", p2pCall:" << user.p2pCall
           << ", chatInConference:" << user.chatInConference
           << ", switchingToAudioConference:" << user.switchingToAudioConference << ", sitenameIsChangeable"
           << user.sitenameIsChangeable << ", sipUserName:" << u(user.sipUserName);
    const kd::engine::KDUserInfo copy = user;
    emit eventLoginSucceed(copy);
    KD_LOG << "done";
}

void CKDSdkEventObserver::onRegisterInfo(kd::engine::KDRegisterInfo &info)
{
    KD_LOG << "type:" << info.type << ", state:" << info.state << ", transProtocol:" << info.transProtocol
           << ", useInternalServer:" << info.useInternalServer << ", externalServer:" << u(info.externalServer)
           << ", internalServer:" << u(info.internalServer);
    const kd::engine::KDRegisterInfo copy = info;
    emit eventRegisterInfo(copy);
    KD_LOG << "done";
}

void CKDSdkEventObserver::onDownloadUserImageComplete(const char *path)
{
    const std::string text = pathText(path);
    qInfo("CKDSdkEventObserver::onDownloadUserImageComplete: %s", text.c_str());
    emit eventDownloadUserImageComplete(text);
    qInfo("onDownloadUserImageComplete done");
}

void CKDSdkEventObserver::onUploadUserImageComplete(const char *path)
{
    const std::string text = pathText(path);
    qInfo("CKDSdkEventObserver::onUploadUserImageComplete: %s", text.c_str());
    emit eventUploadUserImageComplete(text);
    qInfo("onUploadUserImageComplete done");
}

void CKDSdkEventObserver::onNetworkState(bool reachable)
{
    qInfo("CKDSdkEventObserver::onNetworkState: %d", reachable ? 1 : 0);
    emit eventNetworkState(reachable);
    qInfo("onNetworkState done");
}

void CKDSdkEventObserver::onNetworkQuality(float quality_rating)
{
    qInfo("CKDSdkEventObserver::onNetworkQuality: %f", double(quality_rating));
    emit eventNetworkQuality(quality_rating);
    qInfo("onNetworkQuality done");
}

void CKDSdkEventObserver::onCallConnected(kd::engine::KDCallInfo &info)
{
    KD_LOG << u(callInfoText(info));
    const kd::engine::KDCallInfo copy = info;
    emit eventCallConnected(copy);
    KD_LOG << "done";
}

void CKDSdkEventObserver::onCallState(kd::engine::KDCallInfo &info)
{
    KD_LOG << u(callInfoText(info));
    const kd::engine::KDCallInfo copy = info;
    emit eventCallState(copy);
    KD_LOG << "done";
}

void CKDSdkEventObserver::onCallPeerConnected(kd::engine::KDCallInfo &info)
{
    KD_LOG << u(callInfoText(info));
    const kd::engine::KDCallInfo copy = info;
    emit eventCallPeerConnected(copy);
    KD_LOG << "done";
}

void CKDSdkEventObserver::onCallEnd(kd::engine::KDCallInfo &info)
{
    KD_LOG << u(callInfoText(info));
    const kd::engine::KDCallInfo copy = info;
    emit eventCallEnd(copy);
    KD_LOG << "done";
}

void CKDSdkEventObserver::onCallIncoming(kd::engine::KDCallInfo &info)
{
    KD_LOG << u(callInfoText(info));
    const kd::engine::KDCallInfo copy = info;
    emit eventCallIncoming(copy);
    KD_LOG << "done";
}

void CKDSdkEventObserver::onContent(kd::engine::KDContentInfo &info)
{
    KD_LOG << "enabled:" << info.enabled << ", dir:" << info.dir << ", type:" << info.type << ", status:" << info.status
           << ", isBigConference:" << info.isBigConference << ", isRemoteMuted:" << info.isRemoteMuted
           << ", senderName:" << u(info.senderName) << ", senderDeviceId:" << info.senderDeviceId;
    const kd::engine::KDContentInfo copy = info;
    emit eventContent(copy);
    KD_LOG << "done";
}

void CKDSdkEventObserver::onMuteSpeakingDetected()
{
    qInfo("CKDSdkEventObserver::onMuteSpeakingDetected");
    emit eventMuteSpeakingDetected();
    qInfo("onMuteSpeakingDetected done");
}

void CKDSdkEventObserver::onMicMutedShow(int mic_muted)
{
    qInfo("CKDSdkEventObserver::onMicMutedShow: %d", mic_muted);
    emit eventMicMutedShow(mic_muted != 0);
    qInfo("onMicMutedShow");
}

void CKDSdkEventObserver::onWaitQueue(int queue_size)
{
    qInfo("CKDSdkEventObserver::onWaitQueue: %d", queue_size);
    emit eventWaitQueue(queue_size);
    qInfo("onWaitQueue done");
}

void CKDSdkEventObserver::onUploadFeedback(int number)
{
    qInfo("CKDSdkEventObserver::onUploadFeedback: %d", number);
    emit eventUploadFeedback(number);
    qInfo("onUploadFeedback done");
}

void CKDSdkEventObserver::onContentSourceStatusChange(kd::engine::KDVideoSize size, int x, int y,
                                                      bool isOverlaidorMinimized, bool isAlive)
{
    KD_LOG << "size:" << size.width << size.height << ", x:" << x << ", y:" << y
           << ", isOverlaidorMinimized:" << isOverlaidorMinimized << ", isAlive:" << isAlive;
    emit eventContentSourceStatusChange(size, x, y, isOverlaidorMinimized, isAlive);
    KD_LOG << "done";
}

void CKDSdkEventObserver::onVolume(kd::engine::_KD_DEVICE_TYPE type, kd::engine::KDVolume &vol)
{
    qInfo("CKDSdkEventObserver::onVolume: %d, %d, %f", int(type), vol.mute, double(vol.volume));
    const kd::engine::KDVolume copy = vol;
    emit eventVolume(type, copy);
    qInfo("onVolume done");
}

void CKDSdkEventObserver::onDeviceAdded(kd::engine::KDDevice &device)
{
    KD_LOG << "type:" << device.type << ", id:" << device.id << ", name:" << u(device.name);
    const kd::engine::KDDevice copy = device;
    emit eventDeviceAdded(copy);
    KD_LOG << "done";
}

void CKDSdkEventObserver::onDeviceRemoved(kd::engine::KDDevice &device)
{
    KD_LOG << "type:" << device.type << ", id:" << device.id << ", name:" << u(device.name);
    const kd::engine::KDDevice copy = device;
    emit eventDeviceRemoved(copy);
    KD_LOG << "done";
}

void CKDSdkEventObserver::onCurrentDeviceChanged(kd::engine::KDDevice &device)
{
    KD_LOG << "type:" << device.type << ", id:" << device.id << ", name:" << u(device.name)
           << ", desc:" << u(device.desc);
    const kd::engine::KDDevice copy = device;
    emit eventCurrentDeviceChanged(copy);
    KD_LOG << "done";
}

void CKDSdkEventObserver::onVideoMutedShow(int video_muted)
{
    KD_LOG << "video_muted:" << video_muted;
    emit eventVideoMutedShow(video_muted);
    KD_LOG << "done";
}

void CKDSdkEventObserver::onSIPForceClear()
{
    KD_LOG;
    emit eventSIPForceClear();
    KD_LOG << "done";
}

} // namespace models
} // namespace kd_app
