#pragma once

// The engine's call interface and the library's two entry points. The engine
// library includes this very header, so the client and the library cannot
// disagree on the interface.

#include <string>
#include <vector>

#include "engine/ikdeventcallback.h"
#include "engine/kdtypes.h"

#if defined(_WIN32)
#define KDSDK_API __declspec(dllimport)
#else
#define KDSDK_API __attribute__((visibility("default")))
#endif

namespace kd {
namespace engine {

class IKDCommon
{
public:
    // Set-up
    virtual int setLog(int level, const char *log_path, const char *log_file_name, unsigned max_file_size) = 0;
    virtual int enableLog(bool enable) = 0;
    virtual int initialize(const char *config_path, const char *config_file_name) = 0;
    virtual int setRootCA(const char *path) = 0;
    virtual int setUserImage(const char *background_file_path, const char *user_image_path) = 0;
    virtual int enableWhiteBoard(bool enable) = 0;
    virtual int setUserAgent(const char *company, const char *version) = 0;
    virtual void release() = 0;
    virtual int enableSecure(bool enable) = 0;

    // Passwords
    virtual std::string encryptPassword(int type, const char *text, const char *key) = 0;
    virtual std::string encryptPassword(int type, const char *text) = 0;
    virtual std::string encodePassword(const char *text) = 0;
    virtual std::string descryptPassword(int type, const char *text, const char *key, const char *iv) = 0;

    // Devices and audio
    virtual std::vector<KDDevice> getDevices(KD_DEVICE_TYPE type) = 0;
    virtual KDDevice getDevice(KD_DEVICE_TYPE type) = 0;
    virtual int setDevice(KD_DEVICE_TYPE type, unsigned id) = 0;
    virtual int enableMicMeter(bool enable) = 0;
    virtual int setAudioFile(const char *path) = 0;
    virtual float getMicVolume() = 0;
    virtual int startAudioPlay(int kind) = 0;
    virtual int stopAudioPlay() = 0;
    virtual bool isAudioPlaying() = 0;
    virtual KDVolume getVolume(KD_DEVICE_TYPE type) = 0;
    virtual int setVolume(KD_DEVICE_TYPE type, const KDVolume &vol) = 0;
    virtual bool micEnabled() = 0;
    virtual int enableMic(bool enable) = 0;
    virtual int enableNoiseSuppression(int mode) = 0;

    // Video
    virtual int setRenderType(int type) = 0;
    virtual int getRenderType() = 0;
    virtual int setLocalVideoWindow(KDWindowHandle window) = 0;
    virtual int setRemoteVideoWindow(KDWindowHandle window) = 0;
    virtual int setRemoteContentWindow(KDWindowHandle window) = 0;
    virtual int setLocalContentWindow(KDWindowHandle window, int mode) = 0;
    virtual int repaintVideo() = 0;
    virtual int enablePreview(bool enable) = 0;
    virtual int setBandwidth(unsigned kbps) = 0;
    virtual unsigned getBandwidth() = 0;
    virtual bool cameraEnabled() = 0;
    virtual int enableCamera(bool enable) = 0;
    virtual bool highFPSEnabled() = 0;
    virtual int enableHighFPS(bool enable) = 0;
    virtual int enableHD(bool enable) = 0;
    virtual bool HDEnabled() = 0;
    virtual int setHardwareDecoder(int media, int direction, int mode) = 0;
    virtual int setHardwareEncoder(int media, int direction, int mode) = 0;

    // Content
    virtual std::vector<KDContentSourceInfo> getContentSourceList() = 0;
    virtual int getContentSourceBitmap(const KDContentSourceInfo &info, int bitmapType, int maxWidth, int maxHeight,
                                       KDBitmap *bitmap) = 0;
    virtual int releaseContentSourceBitmap(KDBitmap *bitmap) = 0;
    virtual int setLocalContentSource(const KDContentSourceInfo &info) = 0;
    virtual int sendContent() = 0;
    virtual int sendWhiteBoard() = 0;
    virtual int stopContent() = 0;
    virtual int enableContentAudio(bool enable) = 0;
    virtual bool contentAudioEnabled() = 0;
    virtual int enableContentHighFPS(bool enable) = 0;
    virtual int enableContent(bool enable) = 0;
    virtual bool contentEnabled() = 0;

    // Account
    virtual int downloadUserImage(const char *path) = 0;
    virtual int uploadUserImage(const char *path) = 0;
    virtual int validatePassword(const char *password) = 0;
    virtual KDPasswordPolicy getPasswordPolicy() = 0;
    virtual int changePassword(const char *oldPassword, const char *newPassword) = 0;
    virtual int changeDisplayName(const char *display_name) = 0;
    virtual int getUserInfo(KDUserInfo &info) = 0;
    virtual std::string getDisplayName() = 0;
    virtual int getRegisterInfo(int type, KDRegisterInfo &info) = 0;

    // Call
    virtual int requestRemoteUnmute(bool request) = 0;
    virtual int getStats(KDStats &stats) = 0;
    virtual int sendDTMF(char key) = 0;

    // Feedback and diagnostics
    virtual int uploadFeedbackFiles(std::vector<std::string> files, std::string contact, std::string description) = 0;
    virtual int uploadFeedbackFilesWithAddress(std::vector<std::string> files, std::string contact,
                                               std::string description, std::string address) = 0;
    virtual KDDiag getDiag() = 0;
    virtual std::string getDiagString() = 0;

protected:
    IKDCommon() = default;
    IKDCommon(const IKDCommon &) = default;
    IKDCommon &operator=(const IKDCommon &) { return *this; }
    ~IKDCommon() = default;
};

class IAVEngine : public IKDCommon
{
public:
    virtual int registerEventHandler(IAVEventHandler *handler) = 0;
    virtual int unregisterEventHandler(IAVEventHandler *handler) = 0;
    virtual int getFeature(const char *server, unsigned port, AVFeature &feature) = 0;
    virtual int avlogin(const char *server, unsigned port, const char *username, const char *password) = 0;
    virtual int avlogout() = 0;
    virtual int registerSIPServer(const char *domain, const char *displayName, const char *username,
                                  const char *password, const char *protocol) = 0;
    virtual int unregisterSIPServer() = 0;
    virtual int dialOut(const char *number, bool enable_video) = 0;
    virtual int acceptCall(bool enable_video) = 0;
    virtual int hangUp() = 0;
    virtual int declineCall() = 0;
    virtual bool conferenceControllable() = 0;

protected:
    IAVEngine() = default;
    IAVEngine(const IAVEngine &) = default;
    IAVEngine &operator=(const IAVEngine &) { return *this; }
    ~IAVEngine() = default;
};

} // namespace engine
} // namespace kd

// The only way to obtain and to destroy an engine object.
extern "C++" KDSDK_API kd::engine::IAVEngine *createAVEngine();
extern "C++" KDSDK_API void deleteAVEngine(kd::engine::IAVEngine *engine);
