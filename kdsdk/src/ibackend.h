#pragma once

// Everything the engine asks of the conference-management side: features,
// accounts, passwords, meetings and uploads. The engine talks only to this
// interface, so the in-engine model and a server-backed implementation are
// interchangeable. Calls come from the engine's dispatcher thread or, for the
// operations that answer at once (feature query, token refresh, password and
// name changes), from the caller's thread; they may block, and must be safe
// to make from several threads at once.

#include <cstdint>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "coutcome.h"
#include "engine/kdtypes.h"
#include "kdsdkcontrol.h"

class QJsonValue;

namespace kd {
namespace sdk {

struct KDMeetingInfo
{
    std::string number;
    std::string name;
    std::vector<std::string> participants;
    std::vector<std::string> hosts;
    bool contentLocked = false;
    // The number was a person's, not a meeting's: a direct call to them.
    bool pointToPoint = false;
    // From a server that lists who takes part: this client's entry there
    // (0: none) and whether the server lets this account control the meeting.
    int64_t participantId = 0;
    bool controllable = false;
    // Callers waiting ahead of this one: the call connects after them.
    int waitQueue = 0;
};

// Who joins a meeting: the name the others see and whether with video.
struct KDJoinRequest
{
    std::string displayName;
    bool video = true;
};

class IBackend
{
public:
    virtual ~IBackend() = default;

    // How the servers named later are reached: HTTPS or plain HTTP, and the
    // root certificate trusted beside the system's. A backend without a
    // network ignores it.
    virtual void setTransport(bool secure, const std::string &rootCaPath) {}
    // The engine is being released: end what is waiting on the network now
    // and refuse what comes later.
    virtual void abort() {}
    // Failures the user hears of come back as an outcome that says who
    // refused and why; the others as the engine's result code.
    virtual COutcome getFeature(const std::string &server, unsigned port, kd::engine::AVFeature &feature) = 0;
    virtual COutcome signIn(const std::string &server, unsigned port, const std::string &username,
                            const std::string &password, kd::engine::KDUserInfo &user) = 0;
    // A fresh token for a signed-in account.
    virtual int refreshUser(const std::string &token, kd::engine::KDUserInfo &user) = 0;
    virtual void signOut(const std::string &token) = 0;
    virtual kd::engine::KDPasswordPolicy passwordPolicy() = 0;
    virtual int changePassword(const std::string &token, const std::string &oldPassword,
                               const std::string &newPassword) = 0;
    virtual int changeDisplayName(const std::string &token, const std::string &displayName) = 0;
    // Whether a dialled number exists and its password fits; joins it and
    // fills the meeting. The server is the dial string's "@host[:port]"
    // part, empty when it had none.
    virtual COutcome joinMeeting(const std::string &number, const std::string &password, const std::string &server,
                                 const KDJoinRequest &who, KDMeetingInfo &meeting) = 0;
    // Takes this client off the list of a meeting it joined; a failure is
    // only logged (the call is over either way).
    virtual void leaveMeeting(const KDMeetingInfo &meeting) {}
    virtual COutcome uploadUserImage(const std::string &token, const std::string &path) = 0;
    virtual COutcome downloadUserImage(const std::string &token, std::string &imageBytes) = 0;
    // Reports progress 0..100 through the callback; a negative value ends in failure.
    virtual void uploadFeedback(const std::vector<std::string> &files, const std::string &contact,
                                const std::string &description, const std::string &address,
                                const std::function<void(int)> &progress) = 0;

    // One probe of a server within the limit, without a token: `upload`
    // bytes there and `download` bytes back. A backend without a network
    // answers at once.
    virtual COutcome ping(const std::string &host, unsigned port, size_t upload, size_t download,
                          std::chrono::milliseconds limit)
    {
        return COutcome();
    }
    // Registers a SIP account with the server at host:port (0: the default
    // port); a backend without a network accepts every account.
    virtual COutcome registerSip(const std::string &host, unsigned port, const std::string &username,
                                 const std::string &password, const std::string &displayName,
                                 const std::string &protocol)
    {
        return COutcome();
    }
    virtual void unregisterSip(const std::string &host, unsigned port, const std::string &username) {}

    // Model control; a backend that is not a model ignores it.
    virtual void addServer(const KDModelServer &server) {}
    virtual void addAccount(const KDModelAccount &account) {}
    virtual void addMeeting(const KDModelMeeting &meeting) {}
    virtual bool loadModel(const std::string &jsonPath) { return false; }

    // The time a request about the meeting takes to be answered, for the
    // network rating of a call: false when the backend has no server to ask
    // (the model), else true with the milliseconds, or -1 when it failed.
    virtual bool meetingRoundTrip(const std::string &number, int &milliseconds) { return false; }

    // A call ringing the signed-in account, taken from the server once
    // (peer, number and audio-only filled); false when none rings.
    virtual bool takeIncomingCall(kd::engine::KDCallInfo &call) { return false; }
};

// Chooses the backend: the environment variable "KDSDK_BACKEND" names it.
// "http" (the default) asks the conference-management server given at sign-in;
// "model" answers from memory, for tests, and reads the JSON file named by
// "KDSDK_MODEL_FILE" when it is set.
std::unique_ptr<IBackend> createBackend();

// Numbers of a server reply or a model file as the engine's integers. A
// value that is not a number, or one the integer cannot hold (an id of -1 or
// 1e30), reads as missing: 0.
uint64_t jsonUnsigned(const QJsonValue &value);
int jsonInt(const QJsonValue &value);

} // namespace sdk
} // namespace kd
