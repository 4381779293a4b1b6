#pragma once

#include <atomic>
#include <string>
#include <vector>

#include <QObject>
#include <QString>
#include <QWidget>

#include "engine/iavengine.h"
#include "engine/kdmetatypes.h"

namespace kd_app {
namespace models {

class CKDSdkEventObserver;

// The one object that talks to the engine: owns it and the event observer,
// re-emits the observer's events on the graphical thread and wraps every
// engine operation the program uses in one logged method.
class CKDSdkManager : public QObject
{
    Q_OBJECT

public:
    static void initInstance();
    static void releaseInstance();
    static CKDSdkManager *getInstance();

    // Set-up
    void setLog(int level, const char *log_path, const char *log_file_name, unsigned max_file_size);
    void enableLog(bool enable);
    bool initialize(const char *config_path, const char *config_file_name);
    bool setRootCA(const char *path);
    bool enableWhiteBoard(bool enable);
    bool setUserAgent(const char *company, const char *version);
    bool enableSecure(bool enable);
    bool enablePreview(bool enable);
    bool setBandwidth(unsigned kbps);
    unsigned getBandwidth();

    // Account and sign-in
    bool getFeature(const char *server, unsigned port, kd::engine::AVFeature &feature);
    std::string encryptPassword(int type, const char *text);
    bool avlogin(const char *server, unsigned port, const char *username, const char *password);
    bool avlogout();
    std::string encryptPassword(int type, const char *text, const char *key);
    std::string descryptPassword(int type, const char *text, const char *key, const char *iv);
    bool getUserInfo(kd::engine::KDUserInfo &info);
    std::string getDisplayName();
    bool changeDisplayName(const char *display_name);
    kd::engine::KDPasswordPolicy getPasswordPolicy();
    bool validatePassword(const char *password);
    bool changePassword(const char *oldPassword, const char *newPassword);
    bool downloadUserImage(const char *path);
    bool uploadUserImage(const char *path);
    bool getRegisterInfo(int type, kd::engine::KDRegisterInfo &info);
    bool registerSIPServer(const char *domain, const char *displayName, const char *username, const char *password,
                           const char *protocol);
    bool unregisterSIPServer();

    // Call
    bool setUserImage(const char *background_file_path, const char *user_image_path);
    bool dialOut(const char *number, bool enable_video);
    bool acceptCall(bool enable_video);
    bool hangUp();
    bool declineCall();
    bool conferenceControllable();
    bool requestRemoteUnmute(bool request);
    bool sendDTMF(char key);
    bool getStats(kd::engine::KDStats &stats);

    // Devices and audio
    std::vector<kd::engine::KDDevice> getDevices(kd::engine::KD_DEVICE_TYPE type);
    kd::engine::KDDevice getDevice(kd::engine::KD_DEVICE_TYPE type);
    void setDevice(kd::engine::KD_DEVICE_TYPE type, unsigned id);
    bool enableMicMeter(bool enable);
    float getMicVolume();
    bool setAudioFile(const QString &path);
    bool startAudioPlay(int kind);
    bool stopAudioPlay();
    bool isAudioPlaying();
    kd::engine::KDVolume getVolume(kd::engine::KD_DEVICE_TYPE type);
    bool setVolume(kd::engine::KD_DEVICE_TYPE type, const kd::engine::KDVolume &vol);
    bool micEnabled();
    bool enableMic(bool enable);
    bool enableNoiseSuppression(bool enable);

    // Video
    bool setRenderType(int type);
    int getRenderType();
    bool setLocalVideoWindow(WId id);
    bool setRemoteVideoWindow(WId id);
    bool setRemoteContentWindow(WId id);
    bool setLocalContentWindow(WId id, int mode);
    bool repaintVideo();
    bool cameraEnabled();
    bool enableCamera(bool enable);
    bool highFPSEnabled();
    bool enableHighFPS(bool enable);
    bool enableHD(bool enable);
    bool HDEnabled();
    bool enableHardDecoder(bool enable);
    bool enableHardEncoder(bool enable);

    // Content
    std::vector<kd::engine::KDContentSourceInfo> getContentSourceList();
    bool getContentSourceBitmap(const kd::engine::KDContentSourceInfo &info, int bitmapType, int maxWidth,
                                int maxHeight, kd::engine::KDBitmap *bitmap);
    void releaseContentSourceBitmap(kd::engine::KDBitmap *bitmap);
    bool setLocalContentSource(const kd::engine::KDContentSourceInfo &info);
    bool sendContent();
    bool sendWhiteBoard();
    bool stopContent();
    bool enableContentAudio(bool enable);
    bool contentAudioEnabled();
    bool enableContentHighFPS(bool enable);
    bool enableContent(bool enable);
    bool contentEnabled();

    // Feedback and diagnostics
    bool uploadFeedbackfile(const QString &path, const QString &contact, const QString &description);
    bool uploadFeedbackFilesWithAddress(const QString &path, const QString &contact, const QString &description,
                                        const QString &address);
    kd::engine::KDDiag getDiag();
    std::string getDiagString();

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

private:
    CKDSdkManager();
    ~CKDSdkManager() override;

    void createKDEngine();
    void logContentSource(const char *method, int line, const kd::engine::KDContentSourceInfo &info);

    kd::engine::IAVEngine *m_pAVEngine = nullptr;
    CKDSdkEventObserver *m_pEventObserver = nullptr;

    static std::atomic<CKDSdkManager *> s_pInstance;
};

} // namespace models
} // namespace kd_app
