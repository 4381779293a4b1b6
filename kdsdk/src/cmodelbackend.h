#pragma once

#include <map>
#include <mutex>

#include "ibackend.h"

namespace kd {
namespace sdk {

// Accounts and meetings held in memory, given by the control interface or a
// JSON file. With no server listed every address answers.
class CModelBackend : public IBackend
{
public:
    COutcome getFeature(const std::string &server, unsigned port, kd::engine::AVFeature &feature) override;
    COutcome signIn(const std::string &server, unsigned port, const std::string &username, const std::string &password,
                    kd::engine::KDUserInfo &user) override;
    int refreshUser(const std::string &token, kd::engine::KDUserInfo &user) override;
    void signOut(const std::string &token) override;
    kd::engine::KDPasswordPolicy passwordPolicy() override;
    int changePassword(const std::string &token, const std::string &oldPassword,
                       const std::string &newPassword) override;
    int changeDisplayName(const std::string &token, const std::string &displayName) override;
    COutcome joinMeeting(const std::string &number, const std::string &password, const std::string &server,
                         const KDJoinRequest &who, KDMeetingInfo &meeting) override;
    COutcome uploadUserImage(const std::string &token, const std::string &path) override;
    COutcome downloadUserImage(const std::string &token, std::string &imageBytes) override;
    void uploadFeedback(const std::vector<std::string> &files, const std::string &contact,
                        const std::string &description, const std::string &address,
                        const std::function<void(int)> &progress) override;

    COutcome ping(const std::string &host, unsigned port, size_t upload, size_t download,
                  std::chrono::milliseconds limit) override;

    void addServer(const KDModelServer &server) override;
    void addAccount(const KDModelAccount &account) override;
    void addMeeting(const KDModelMeeting &meeting) override;
    bool loadModel(const std::string &jsonPath) override;

private:
    const KDModelServer *findServer(const std::string &address) const;
    KDModelAccount *accountOfToken(const std::string &token);
    void fillUser(const KDModelAccount &account, const std::string &server, const std::string &token,
                  kd::engine::KDUserInfo &user) const;
    std::string newToken();

    std::mutex m_mutex;
    std::vector<KDModelServer> m_servers;
    std::map<std::string, KDModelAccount> m_accounts;
    std::map<std::string, KDModelMeeting> m_meetings;
    std::map<std::string, std::string> m_tokens;  // token -> user name
    std::map<std::string, std::string> m_avatars; // user name -> image bytes
    std::map<std::string, std::string> m_tokenServers;
    uint64_t m_tokenCounter = 0;
};

} // namespace sdk
} // namespace kd
