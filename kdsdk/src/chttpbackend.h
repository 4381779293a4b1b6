#pragma once

#include <chrono>
#include <map>
#include <mutex>
#include <set>

#include <QJsonDocument>

#include "ibackend.h"

typedef struct x509_store_st X509_STORE;

namespace httplib {
class ClientImpl;
class Result;
} // namespace httplib

namespace kd {
namespace sdk {

// Answers the engine from the conference-management server's engine API
// ("/api/engine/v1/") over HTTP or verified HTTPS. Every request is bounded in
// time; a server that cannot be reached, is not trusted or answers nonsense
// gives an error code, never a hang. The server of the last feature query or
// sign-in serves everything that follows, unless a dial string names another.
class CHttpBackend : public IBackend
{
public:
    // "KDSDK_HTTP_TIMEOUT_MS" overrides the limit of each request.
    static std::chrono::milliseconds defaultTimeout();

    explicit CHttpBackend(std::chrono::milliseconds timeout = defaultTimeout());
    ~CHttpBackend() override;

    void setTransport(bool secure, const std::string &rootCaPath) override;
    void abort() override;
    COutcome getFeature(const std::string &server, unsigned port, kd::engine::AVFeature &feature) override;
    COutcome signIn(const std::string &server, unsigned port, const std::string &username, const std::string &password,
                    kd::engine::KDUserInfo &user) override;
    int refreshUser(const std::string &token, kd::engine::KDUserInfo &user) override;
    void signOut(const std::string &token) override;
    kd::engine::KDPasswordPolicy passwordPolicy() override;
    int changePassword(const std::string &token, const std::string &oldPassword,
                       const std::string &newPassword) override;
    int changeDisplayName(const std::string &token, const std::string &displayName) override;
    bool meetingRoundTrip(const std::string &number, int &milliseconds) override;
    bool takeIncomingCall(kd::engine::KDCallInfo &call) override;
    COutcome joinMeeting(const std::string &number, const std::string &password, const std::string &server,
                         const KDJoinRequest &who, KDMeetingInfo &meeting) override;
    void leaveMeeting(const KDMeetingInfo &meeting) override;
    COutcome uploadUserImage(const std::string &token, const std::string &path) override;
    COutcome downloadUserImage(const std::string &token, std::string &imageBytes) override;
    COutcome ping(const std::string &host, unsigned port, size_t upload, size_t download,
                  std::chrono::milliseconds limit) override;
    COutcome registerSip(const std::string &host, unsigned port, const std::string &username,
                         const std::string &password, const std::string &displayName,
                         const std::string &protocol) override;
    void unregisterSip(const std::string &host, unsigned port, const std::string &username) override;
    void uploadFeedback(const std::vector<std::string> &files, const std::string &contact,
                        const std::string &description, const std::string &address,
                        const std::function<void(int)> &progress) override;

private:
    struct CEndpoint
    {
        std::string host;
        unsigned port = 0;
        bool secure = true;
        std::string rootCaPath;
    };

    struct CReply
    {
        COutcome outcome;
        int status = 0; // 0: no answer
        std::string body;
        QJsonDocument json;
    };

    // Bytes sent so far and in all.
    using SentCallback = std::function<void(uint64_t, uint64_t)>;

    CEndpoint endpointFor(const std::string &server, unsigned port) const;
    bool sessionEndpoint(CEndpoint *endpoint) const;
    // The account's token when the endpoint is the server that issued it,
    // reached the way it was issued (host, port and scheme); empty otherwise.
    std::string tokenFor(const CEndpoint &endpoint) const;
    // A client whose every step gives up after the timeout (0: the backend's own).
    std::unique_ptr<httplib::ClientImpl> makeClient(const CEndpoint &endpoint,
                                                    std::chrono::milliseconds timeout = {}) const;
    // Runs one exchange with a client that abort() can cut short.
    CReply exchange(const CEndpoint &endpoint, bool expectJson,
                    const std::function<httplib::Result(httplib::ClientImpl &)> &send,
                    std::chrono::milliseconds timeout = {}) const;
    CReply get(const CEndpoint &endpoint, const std::string &path, bool expectJson = true) const;
    CReply post(const CEndpoint &endpoint, const std::string &path, const std::string &body,
                const std::string &contentType, const SentCallback &sent = SentCallback()) const;
    COutcome uploadFile(const CEndpoint &endpoint, const std::string &path, const std::string &token,
                        const std::string &contact, const std::string &description, const SentCallback &sent);
    void fillUser(const QJsonObject &reply, kd::engine::KDUserInfo &user) const;
    void fetchPolicy(const CEndpoint &endpoint);

    const std::chrono::milliseconds m_timeout;

    mutable std::mutex m_mutex;
    bool m_secure = true;
    std::string m_rootCaPath;
    bool m_hasSession = false;
    CEndpoint m_session;
    std::string m_token;
    CEndpoint m_tokenIssuer;
    std::string m_appServerType;
    std::string m_urlSuffixForPC;
    bool m_policyKnown = false;
    kd::engine::KDPasswordPolicy m_policy;
    bool m_aborted = false;
    mutable std::set<httplib::ClientImpl *> m_inFlight;
    // Trust stores by root certificate file, shared by the clients' TLS contexts.
    X509_STORE *trustStore(const std::string &rootCaPath) const;
    mutable std::mutex m_trustMutex;
    mutable std::map<std::string, X509_STORE *> m_trustStores;
    // Where each joined participant was joined, for its leave.
    std::map<int64_t, CEndpoint> m_joined;
};

} // namespace sdk
} // namespace kd
