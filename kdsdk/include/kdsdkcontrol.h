#pragma once

// Control of the engine for tests and tools: deterministic timing, injected
// events and failures, the record of operations called, and the account and
// meeting model that answers sign-in and calls.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/iavengine.h"

namespace kd {
namespace sdk {

// Result codes of the engine's operations (what each call returns).
enum KDResultCode {
    KD_OK = 0,
    KD_ERR_GENERIC = 1,
    KD_ERR_INVALID_ARGUMENT = 2,
    KD_ERR_SERVER_UNREACHABLE = 3,
    KD_ERR_AUTH_FAILED = 4,
    KD_ERR_NOT_SIGNED_IN = 5,
    KD_ERR_NO_CALL = 6,
    KD_ERR_MEETING_NOT_FOUND = 7,
    KD_ERR_MEETING_PASSWORD = 8,
    KD_ERR_NO_FEATURE_RECORD = 9,
    KD_ERR_BUSY = 10,
    KD_ERR_NOT_PERMITTED = 11,
    KD_ERR_NOT_INITIALIZED = 12,
    KD_ERR_FILE = 13,
    KD_ERR_REMOTE_HANGUP = 14,
    KD_ERR_DECLINED = 15,
    KD_ERR_UNTRUSTED_SERVER = 16,  // the server's certificate does not verify
    KD_ERR_NAME_NOT_RESOLVED = 17, // the server's name does not resolve
};

// ---- Error events ------------------------------------------------------
// How the engine's error events (onError, and the err of a call that ends
// with a reason) read: the type says whose code it is, so the client can
// look the code up in the table of that type.
enum KDErrorType {
    KD_ERROR_TYPE_ENGINE = 0, // the engine's own codes, KDEngineErrorCode
    KD_ERROR_TYPE_CALL = 3,   // why the far end ended a call (100: the host ended the meeting)
    KD_ERROR_TYPE_SERVER = 4, // the conference-management server's own code and text
    KD_ERROR_TYPE_OTHER = 5,  // none of these; msg says what happened
};

enum KDEngineErrorCode {
    KD_ENGINE_ERROR_UNKNOWN = 1,
    KD_ENGINE_ERROR_NOT_INITIALIZED = 2,
    KD_ENGINE_ERROR_NOT_IN_CONFERENCE = 4,
    KD_ENGINE_ERROR_BAD_PARAMETER = 5,
    KD_ENGINE_ERROR_INTERNAL = 7,
    KD_ENGINE_ERROR_SERVER_UNREACHABLE = 8, // refused, timed out or cut off
    KD_ENGINE_ERROR_INVALID_SERVER = 9,     // answers, but has no engine API
    KD_ENGINE_ERROR_REMOTE_HANGUP = 10,
    KD_ENGINE_ERROR_REMOTE_BUSY = 11,
    KD_ENGINE_ERROR_NOT_SIGNED_IN = 13,
    KD_ENGINE_ERROR_NAME_NOT_RESOLVED = 16,
};

// The code of an untrusted certificate (type KD_ERROR_TYPE_OTHER): apart
// from every code of the other types, so no table gives it other words.
const int KD_OTHER_ERROR_UNTRUSTED_CERTIFICATE = 901;

// Refusals of the conference-management server that the engine passes on
// (type KD_ERROR_TYPE_SERVER); the model refuses with the same codes.
enum KDServerErrorCode {
    KD_SERVER_ERROR_INVALID_TOKEN = 1010,
    KD_SERVER_ERROR_WRONG_CREDENTIALS = 2000,
    KD_SERVER_ERROR_ACCOUNT_LOCKED = 2010,
    KD_SERVER_ERROR_ACCOUNT_UNUSED = 2020,
    KD_SERVER_ERROR_MEETING_UNAVAILABLE = 4205, // no such meeting, or it has ended
    KD_SERVER_ERROR_WRONG_MEETING_PASSWORD = 6601,
    KD_SERVER_ERROR_MEETING_PASSWORD_REQUIRED = 6602,
};

struct KDOperationRecord
{
    std::string name;
    std::string args; // secrets are never recorded
};

// The record of operations keeps the newest ones only: the application's
// engine keeps it too, and a screen capture adds ten records a second.
constexpr std::size_t KD_OPERATION_RECORD_LIMIT = 10000;

struct KDModelServer
{
    std::string address;
    std::string version = "1.0";
    std::string appServerType;
    std::string urlSuffixForPC; // the folder of the server's web pages; empty: it has none
    bool apiEnabled = true;
    bool passwordEncryptionWithAES = false;
    bool enableChangePassword = true;
    bool hasFeatureRecord = true; // false: getFeature answers 9 and fills nothing
};

struct KDModelAccount
{
    std::string username;
    std::string password;
    std::string displayName;
    uint64_t userId = 0;
    std::string callNumber;
    std::string email;
    std::string org;
    std::string vmr;
    bool passwordChangeRequired = false;
    std::string accountState; // "locked" or "unused" refuse the sign-in (2010, 2020)
};

struct KDModelMeeting
{
    std::string number;
    std::string name;
    std::string password;
    std::vector<std::string> participants;
    std::vector<std::string> hosts; // user names allowed to control the meeting
    bool contentLocked = false;     // nobody but the hosts may send content
    int waitQueue = 0;              // callers ahead: a dial waits one second for each
};

struct KDContentFrame
{
    int width = 0;
    int height = 0;
    int bytesPerLine = 0;
    int format = 0; // a KD_PIX_FMT code
    std::vector<unsigned char> pixels;
};

// ---- Render statistics ----
// The video streams the engine paints into the client's windows; the remote
// video is one window for all remote people, a tile each.
enum KDRenderStream {
    KD_RENDER_LOCAL_VIDEO = 0,
    KD_RENDER_REMOTE_VIDEO = 1,
    KD_RENDER_REMOTE_CONTENT = 2,
    KD_RENDER_LOCAL_CONTENT = 3,
    KD_RENDER_STREAM_COUNT = 4,
};

// What one stream painted since it got its current window.
struct KDRenderStats
{
    int stream = KD_RENDER_LOCAL_VIDEO;
    uint64_t window = 0; // the native window painted into; 0: none (or it is gone)
    uint64_t framesPainted = 0;
    uint64_t paintNanoseconds = 0; // time spent painting those frames
    int tiles = 0;                 // pictures in the latest frame: one per remote person
};

class IEngineControl
{
public:
    // Delay between an operation and the events it causes; 0 in tests.
    virtual void setEventLatency(int milliseconds) = 0;
    // Blocks until no event is queued or being raised; false on time-out.
    virtual bool waitForIdle(int timeoutMs = 5000) = 0;
    // The next call of the named operation returns the code instead of working.
    virtual void failNext(const std::string &operation, int code) = 0;
    // The next call of the named operation waits this long in its caller's
    // thread (after it is recorded and the listener told), then works.
    virtual void delayNext(const std::string &operation, int milliseconds) = 0;
    // While held, the engine's thread runs nothing: what operations and
    // timers queue (a dial's connect, a rating) waits, in order, until the
    // hold is lifted. waitForIdle then waits only for what already runs.
    virtual void holdEvents(bool held) = 0;
    virtual std::vector<KDOperationRecord> operations() const = 0;
    virtual void clearOperations() = 0;
    // Told each operation's name as it is called, and "deleteAVEngine" when
    // the engine object is destroyed.
    virtual void setOperationListener(std::function<void(const std::string &)> listener) = 0;
    virtual kd::engine::IAVEventHandler *eventHandler() = 0;

    // The account and meeting model (ignored when another backend serves;
    // "KDSDK_BACKEND=model" chooses it).
    virtual void addServer(const KDModelServer &server) = 0;
    virtual void addAccount(const KDModelAccount &account) = 0;
    virtual void addMeeting(const KDModelMeeting &meeting) = 0;
    virtual bool loadModel(const std::string &jsonPath) = 0;

    // Raises any event on the engine's dispatcher thread.
    virtual void raise(std::function<void(kd::engine::IAVEventHandler &)> event) = 0;

    virtual void injectIncomingCall(const std::string &peer, const std::string &number, bool audioOnly) = 0;
    // The far end ends the call; a non-zero code is its reason (type
    // KD_ERROR_TYPE_CALL, e.g. 100: the host ended the meeting), which also
    // comes as an error event.
    virtual void injectRemoteHangUp(int code) = 0;
    virtual void injectRemoteContent(bool start, bool whiteboard, const std::string &senderName) = 0;
    virtual void injectError(const kd::engine::KDError &error) = 0;
    virtual void injectWarning(int code, const std::string &msg) = 0;
    virtual void injectRegistrationState(int type, int state) = 0;
    virtual void injectDeviceAdded(const kd::engine::KDDevice &device) = 0;
    virtual void injectDeviceRemoved(int type, unsigned id) = 0;
    virtual void injectNetworkQuality(float rating) = 0;
    virtual void injectHostMute(bool muted) = 0;
    virtual void injectVideoMuted(int muted) = 0;
    virtual void injectWaitQueue(int size) = 0;

    // ---- devices and sound ----
    // The synthetic microphone's level while the meter is on, reported as
    // given (out of range too, for clients that must cope with it); a
    // negative level gives back the generated one.
    virtual void setSyntheticMicLevel(float level) = 0;
    // Reads the system's device lists now.
    virtual void pollDevices() = 0;
    // How often the system's device lists are read where the sound server or
    // the device manager cannot tell their changes (30000 ms); 0 reads them
    // there only when pollDevices asks.
    virtual void setDevicePollInterval(int milliseconds) = 0;

    // ---- diagnosis ----
    // How often the server is probed (2000 ms); transfers during a call and
    // the silence that makes a call's advice 3 are five periods.
    virtual void setDiagProbePeriod(int milliseconds) = 0;
    // getDiag and getDiagString report this snapshot instead of their own.
    virtual void overrideDiag(const kd::engine::KDDiag &diag) = 0;
    virtual void clearDiagOverride() = 0;

    // ---- Content frames captured by the application (type-3 sources) ----
    // The number of frames taken since the engine was made.
    virtual uint64_t contentFramesTaken() const = 0;
    // A copy of the latest frame taken, or grabbed by the engine itself;
    // width 0 before the first.
    virtual KDContentFrame latestContentFrame() const = 0;

    // ---- Render statistics ----
    // One entry per KDRenderStream, in that order.
    virtual std::vector<KDRenderStats> renderStats() const = 0;

    // ---- The engine's own capture of a shared screen (type-0 sources) ----
    // The number of frames the engine grabbed itself since it was made.
    virtual uint64_t contentFramesCaptured() const = 0;

    // ---- calls ----
    // Every statistics query during a call returns these as given (a count
    // above 32 included) until cleared; then the engine synthesises them.
    virtual void setStats(const kd::engine::KDStats &stats) = 0;
    virtual void clearStats() = 0;
    // An incoming call nobody answers ends by itself after this long (45 s).
    virtual void setRingTimeout(int milliseconds) = 0;
    // A connected call is rated at the connect and then this often (5000 ms).
    virtual void setNetworkRatingPeriod(int milliseconds) = 0;

    // ---- content sources ----
    // Adds a source listed after the machine's screens: an application
    // window (type 1, with a painted thumbnail and icon) or a screen no
    // QScreen has (type 0, a labelled thumbnail). Cleared all at once.
    virtual void addContentSource(const kd::engine::KDContentSourceInfo &source) = 0;
    virtual void clearContentSources() = 0;

protected:
    ~IEngineControl() = default;
};

// The control of an engine made by createAVEngine, or of the newest live one.
KDSDK_API IEngineControl *engineControl(kd::engine::IAVEngine *engine);
KDSDK_API IEngineControl *currentEngineControl();
// The next createAVEngine returns null, as a library that cannot start would.
KDSDK_API void failNextEngineCreation();

} // namespace sdk
} // namespace kd
