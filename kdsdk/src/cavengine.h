#pragma once

#include <chrono>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <set>

#include <QFile>
#include <QImage>

#include "ccontentsources.h"
#include "ccontentframes.h"
#include "cscreencapture.h"
#include "ccallmanager.h"
#include "ceventdispatcher.h"
#include "cmeetingpresence.h"
#include "cdeadlines.h"
#include "cdiagnosis.h"
#include "cmediadevices.h"
#include "cvideorenderer.h"
#include "engine/iavengine.h"
#include "ibackend.h"
#include "kdsdkcontrol.h"

namespace kd {
namespace sdk {

// Our engine: keeps account, call, device and content state under one lock,
// answers from any thread at once and raises its events from its dispatcher
// thread after the configured latency.
class CAVEngine final : public kd::engine::IAVEngine, public IEngineControl
{
public:
    explicit CAVEngine(std::unique_ptr<IBackend> backend);
    ~CAVEngine();
    CAVEngine(const CAVEngine &) = delete;
    CAVEngine &operator=(const CAVEngine &) = delete;

    // IKDCommon
    int setLog(int level, const char *log_path, const char *log_file_name, unsigned max_file_size) override;
    int enableLog(bool enable) override;
    int initialize(const char *config_path, const char *config_file_name) override;
    int setRootCA(const char *path) override;
    int setUserImage(const char *background_file_path, const char *user_image_path) override;
    int enableWhiteBoard(bool enable) override;
    int setUserAgent(const char *company, const char *version) override;
    void release() override;
    int enableSecure(bool enable) override;
    std::string encryptPassword(int type, const char *text, const char *key) override;
    std::string encryptPassword(int type, const char *text) override;
    std::string encodePassword(const char *text) override;
    std::string descryptPassword(int type, const char *text, const char *key, const char *iv) override;
    std::vector<kd::engine::KDDevice> getDevices(kd::engine::KD_DEVICE_TYPE type) override;
    kd::engine::KDDevice getDevice(kd::engine::KD_DEVICE_TYPE type) override;
    int setDevice(kd::engine::KD_DEVICE_TYPE type, unsigned id) override;
    int enableMicMeter(bool enable) override;
    int setAudioFile(const char *path) override;
    float getMicVolume() override;
    int startAudioPlay(int kind) override;
    int stopAudioPlay() override;
    bool isAudioPlaying() override;
    kd::engine::KDVolume getVolume(kd::engine::KD_DEVICE_TYPE type) override;
    int setVolume(kd::engine::KD_DEVICE_TYPE type, const kd::engine::KDVolume &vol) override;
    bool micEnabled() override;
    int enableMic(bool enable) override;
    int enableNoiseSuppression(int mode) override;
    int setRenderType(int type) override;
    int getRenderType() override;
    int setLocalVideoWindow(kd::engine::KDWindowHandle window) override;
    int setRemoteVideoWindow(kd::engine::KDWindowHandle window) override;
    int setRemoteContentWindow(kd::engine::KDWindowHandle window) override;
    int setLocalContentWindow(kd::engine::KDWindowHandle window, int mode) override;
    int repaintVideo() override;
    int enablePreview(bool enable) override;
    int setBandwidth(unsigned kbps) override;
    unsigned getBandwidth() override;
    bool cameraEnabled() override;
    int enableCamera(bool enable) override;
    bool highFPSEnabled() override;
    int enableHighFPS(bool enable) override;
    int enableHD(bool enable) override;
    bool HDEnabled() override;
    int setHardwareDecoder(int media, int direction, int mode) override;
    int setHardwareEncoder(int media, int direction, int mode) override;
    std::vector<kd::engine::KDContentSourceInfo> getContentSourceList() override;
    int getContentSourceBitmap(const kd::engine::KDContentSourceInfo &info, int bitmapType, int maxWidth, int maxHeight,
                               kd::engine::KDBitmap *bitmap) override;
    int releaseContentSourceBitmap(kd::engine::KDBitmap *bitmap) override;
    int setLocalContentSource(const kd::engine::KDContentSourceInfo &info) override;
    int sendContent() override;
    int sendWhiteBoard() override;
    int stopContent() override;
    int enableContentAudio(bool enable) override;
    bool contentAudioEnabled() override;
    int enableContentHighFPS(bool enable) override;
    int enableContent(bool enable) override;
    bool contentEnabled() override;
    int downloadUserImage(const char *path) override;
    int uploadUserImage(const char *path) override;
    int validatePassword(const char *password) override;
    kd::engine::KDPasswordPolicy getPasswordPolicy() override;
    int changePassword(const char *oldPassword, const char *newPassword) override;
    int changeDisplayName(const char *display_name) override;
    int getUserInfo(kd::engine::KDUserInfo &info) override;
    std::string getDisplayName() override;
    int getRegisterInfo(int type, kd::engine::KDRegisterInfo &info) override;
    int requestRemoteUnmute(bool request) override;
    int getStats(kd::engine::KDStats &stats) override;
    int sendDTMF(char key) override;
    int uploadFeedbackFiles(std::vector<std::string> files, std::string contact, std::string description) override;
    int uploadFeedbackFilesWithAddress(std::vector<std::string> files, std::string contact, std::string description,
                                       std::string address) override;
    kd::engine::KDDiag getDiag() override;
    std::string getDiagString() override;

    // IAVEngine
    int registerEventHandler(kd::engine::IAVEventHandler *handler) override;
    int unregisterEventHandler(kd::engine::IAVEventHandler *handler) override;
    int getFeature(const char *server, unsigned port, kd::engine::AVFeature &feature) override;
    int avlogin(const char *server, unsigned port, const char *username, const char *password) override;
    int avlogout() override;
    int registerSIPServer(const char *domain, const char *displayName, const char *username, const char *password,
                          const char *protocol) override;
    int unregisterSIPServer() override;
    int dialOut(const char *number, bool enable_video) override;
    int acceptCall(bool enable_video) override;
    int hangUp() override;
    int declineCall() override;
    bool conferenceControllable() override;

    // IEngineControl
    void setEventLatency(int milliseconds) override;
    bool waitForIdle(int timeoutMs) override;
    void failNext(const std::string &operation, int code) override;
    void delayNext(const std::string &operation, int milliseconds) override;
    void holdEvents(bool held) override;
    std::vector<KDOperationRecord> operations() const override;
    uint64_t contentFramesTaken() const override;
    KDContentFrame latestContentFrame() const override;
    std::vector<KDRenderStats> renderStats() const override;
    uint64_t contentFramesCaptured() const override;
    void clearOperations() override;
    void setOperationListener(std::function<void(const std::string &)> listener) override;
    kd::engine::IAVEventHandler *eventHandler() override;
    void addServer(const KDModelServer &server) override;
    void addAccount(const KDModelAccount &account) override;
    void addMeeting(const KDModelMeeting &meeting) override;
    bool loadModel(const std::string &jsonPath) override;
    void raise(std::function<void(kd::engine::IAVEventHandler &)> event) override;
    void injectIncomingCall(const std::string &peer, const std::string &number, bool audioOnly) override;
    void injectRemoteHangUp(int code) override;
    void injectRemoteContent(bool start, bool whiteboard, const std::string &senderName) override;
    void injectError(const kd::engine::KDError &error) override;
    void injectWarning(int code, const std::string &msg) override;
    void injectRegistrationState(int type, int state) override;
    void injectDeviceAdded(const kd::engine::KDDevice &device) override;
    void injectDeviceRemoved(int type, unsigned id) override;
    void injectNetworkQuality(float rating) override;
    void injectHostMute(bool muted) override;
    void injectVideoMuted(int muted) override;
    void injectWaitQueue(int size) override;
    void setStats(const kd::engine::KDStats &stats) override;
    void clearStats() override;
    void setRingTimeout(int milliseconds) override;
    void setNetworkRatingPeriod(int milliseconds) override;
    void setSyntheticMicLevel(float level) override;
    void pollDevices() override;
    void setDevicePollInterval(int milliseconds) override;
    void setDiagProbePeriod(int milliseconds) override;
    void overrideDiag(const kd::engine::KDDiag &diag) override;
    void clearDiagOverride() override;
    void addContentSource(const kd::engine::KDContentSourceInfo &source) override;
    void clearContentSources() override;

private:
    enum class CallPhase { Idle, Dialling, Incoming, Connected };
    using Clock = std::chrono::steady_clock;
    using Event = std::function<void(kd::engine::IAVEventHandler &)>;

    // Records the call and hands back the failure queued for it, if any.
    int enter(const char *operation, const std::string &args = std::string());
    // Waits out a delay the control asked for this operation, if any.
    void waitIfDelayed(const char *operation);
    // A setting: recorded, failed on demand, stored under the lock.
    template <typename T> int store(const char *operation, const std::string &args, T &member, T value)
    {
        if (const int forced = enter(operation, args)) {
            return forced;
        }
        std::lock_guard<std::mutex> lock(m_mutex);
        member = value;
        return KD_OK;
    }
    template <typename T> T read(const char *operation, const T &member)
    {
        enter(operation);
        std::lock_guard<std::mutex> lock(m_mutex);
        return member;
    }
    void writeLog(const std::string &line);
    // Runs work on the dispatcher after the latency; deliver() calls the handler there.
    void post(std::function<void()> task);
    void deliver(const Event &event);
    int showStream(const char *operation, const std::string &args, CVideoRenderer::Stream stream,
                   kd::engine::KDWindowHandle window);
    int startSending(int type);
    void raiseError(const std::string &action, const COutcome &outcome);
    void endCall(int code, const std::string &msg);
    void saveConfig();
    void publishScene();
    // Runs the engine's own capture exactly while a screen (type-0 source)
    // is sent; called without the lock.
    void updateScreenCapture();
    void takeCapturedFrame(const QImage &frame);
    CDiagFacts diagFacts() const;
    // What the diagnosis learns from the engine's own requests.
    void noteServer(const std::string &host, unsigned port, const COutcome &outcome);
    void noteCallServer(const std::string &server, const COutcome &outcome);
    void noteCallEnded(bool signedIn);
    // The call's timed work, kept off the event queue.
    void startRingTimeout(uint64_t serial);
    // While signed in, asks the backend every 2 s for a call ringing the account.
    void startIncomingPolling();
    void pollIncoming();
    void connectDialled(uint64_t serial, const KDMeetingInfo &meeting);
    // Under the lock: whether the dial of this serial is still on. If the user
    // hung up meanwhile, the joined meeting is left (queued, so the lock is
    // released first).
    bool stillDialling(std::unique_lock<std::mutex> &lock, uint64_t serial, const KDMeetingInfo &meeting);
    // Raises the waiting count, n down to 1, one a second, then connects.
    void waitInQueue(uint64_t serial, const KDMeetingInfo &meeting, int ahead);
    void startNetworkRating(uint64_t serial);
    void rateNetwork(uint64_t serial);

    std::unique_ptr<IBackend> m_backend;
    std::unique_ptr<CDiagnosis> m_diagnosis;
    std::unique_ptr<kd::engine::KDDiag> m_diagOverride;
    CMeetingPresence m_presence;
    CEventDispatcher m_dispatcher;
    std::unique_ptr<CVideoRenderer> m_renderer;

    std::recursive_mutex m_handlerMutex;
    kd::engine::IAVEventHandler *m_handler = nullptr;
    bool m_released = false;

    mutable std::mutex m_mutex;
    int m_latencyMs = 200;
    std::map<std::string, std::deque<int>> m_failures;
    std::map<std::string, std::deque<int>> m_delays; // milliseconds
    std::deque<KDOperationRecord> m_operations;
    std::function<void(const std::string &)> m_operationListener;

    // Set-up and persisted settings
    std::string m_configFile;
    std::string m_rootCA;
    std::string m_company;
    std::string m_version;
    std::string m_backgroundImage;
    std::string m_userImage;
    bool m_whiteBoard = false;
    bool m_secure = true;
    bool m_preview = false;
    unsigned m_bandwidth = 1024;
    int m_renderType = 0;
    bool m_hd = false;
    bool m_highFps = false;
    bool m_contentEnabled = true;
    bool m_contentAudio = false;
    bool m_contentHighFps = false;
    int m_noiseSuppression = 0;
    std::map<std::pair<int, int>, int> m_hardwareDecoder;
    std::map<std::pair<int, int>, int> m_hardwareEncoder;

    // Account
    bool m_signedIn = false;
    bool m_signingIn = false;
    std::string m_server;
    unsigned m_port = 0;
    kd::engine::KDUserInfo m_user;
    std::string m_localName;
    int m_lastLoginError = 0;
    kd::engine::KDRegisterInfo m_accountRegistration;
    kd::engine::KDRegisterInfo m_sipRegistration;
    std::string m_sipUser;
    int m_sipFailure = 0; // why the SIP registration failed, an engine result code

    // Call
    CallPhase m_phase = CallPhase::Idle;
    uint64_t m_callSerial = 0;
    kd::engine::KDCallInfo m_call;
    KDMeetingInfo m_meeting;
    Clock::time_point m_callStart;
    bool m_micOn = true;
    bool m_cameraOn = true;
    bool m_hostMuted = false;
    int m_sendingType = 0;   // 0 none, 2 content, 3 whiteboard
    int m_receivingType = 0; // likewise for the remote side
    std::string m_remoteSender;
    // The call area beside the call state (given statistics).
    CCallManager m_calls;
    int m_ringTimeoutMs = 45000;
    int m_ratingPeriodMs = 5000;
    // What the model rates a call: the latest injected rating, else the best.
    float m_modelRating = 5.0f;
    std::unique_ptr<CDeadlines> m_deadlines;

    // Content
    kd::engine::KDContentSourceInfo m_contentSource;
    QImage m_contentFrame;
    QImage m_cameraFrame; // the real camera's latest picture
    CContentFrames m_contentFrames;
    std::set<unsigned char *> m_bitmaps;
    CContentSources m_addedSources;
    // Declared last of the content members: it stops before they go.
    std::unique_ptr<CScreenCapture> m_screenCapture;

    // Devices and sound
    std::unique_ptr<CMediaDevices> m_media;
    kd::engine::KDVolume m_volumes[3];

    // Own log file
    std::mutex m_logMutex;
    QFile m_logFile;
    unsigned m_logMaxSize = 0;
    bool m_logEnabled = false;
};

} // namespace sdk
} // namespace kd
