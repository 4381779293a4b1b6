#pragma once

#include <string>

#include <QObject>
#include <QString>

#include "engine/kdmetatypes.h"
#include "engine/kdtypes.h"
#include "helpers/enums.h"

namespace kd_app {
namespace models {

// The login state machine: brings the engine up, signs in on a pool thread,
// turns the engine's sign-in, registration and avatar events into the login
// status and the login window's page, and keeps what the next automatic
// sign-in needs. One object for the whole process, built before main.
class CLoginManager : public QObject
{
    Q_OBJECT

public:
    CLoginManager();
    ~CLoginManager() override;

    CLoginManager(const CLoginManager &) = delete;
    CLoginManager &operator=(const CLoginManager &) = delete;

    // The process-wide object.
    static CLoginManager &getInstance();

    void initKDSdkManagerInstance();
    void initConnections();
    void initSdk();

    bool login(const QString &server, bool https, int port, const QString &userName, const QString &password);
    void logout();
    bool tryAutoLogin(bool force);
    bool hasValidConfigLoginInfo();
    QString getConfigPassword();
    void updateLoginToken(bool logoutOnFailure);
    void onLoggingInFailed(bool logoutFirst);

    void setLoginStatus(enums::LoginStatus status);
    void setLoginProgress(enums::LoginProgress progress);
    void setDisplayName(const QString &displayName);
    // Called after a successful password change: the new password serves
    // this session and, when the user is remembered, the next sign-in.
    void setPassword(const QString &password);
    QString getPassword() const;

    int getPort() const;
    QString getServerUrl() const;
    QString getLoginToken() const;
    QString getLoggedInUserAvatarPath() const;
    void downloadLoginUserAvatar();

    enums::LoginStatus getLoginStatus() const { return m_loginStatus; }
    enums::LoginStatus getPrevLoginStatus() const { return m_prevLoginStatus; }
    enums::LoginProgress getLoginProgress() const { return m_loginProgress; }
    QString getSdkServerAddress() const { return m_qstrSdkServerAddress; }
    kd::engine::KDRegisterInfo getRegisterInfo() const { return m_registerInfo; }
    // Registered to a server: the engine reports a SIP account that works
    // without one (a skipped login without registration) as registered too.
    static bool isRegisteredToServer(const kd::engine::KDRegisterInfo &info);
    kd::engine::KDRegisterInfo getPrevRegisterInfo() const { return m_prevRegisterInfo; }
    const kd::engine::KDUserInfo &getLoginUserInfo() const { return m_userInfo; }
    QString getDisplayName() const { return m_qstrDisplayName; }
    bool isAvatarDownloaded() const { return m_bAvatarDownloaded; }
    const kd::engine::AVFeature &getServerFeature() const { return m_serverFeature; }

    // Appended to server names with fewer than two dots.
    static const char *domainSuffix();

signals:
    void loginStatusChanged(kd_app::enums::LoginStatus status);
    void loginProgressChanged(kd_app::enums::LoginProgress progress);
    void sigDisplayNameChanged();
    void sigLoginTokenChanged();
    void sigAvatarDownloadedOk();
    void sigRegisterInfoChanged(kd::engine::KDRegisterInfo info);

public slots:
    void onWarn(kd::engine::KDWarn warn);
    void onLoginSucceed(kd::engine::KDUserInfo user);
    void onRegisterInfo(kd::engine::KDRegisterInfo info);
    void onDownloadUserImageComplete(std::string szPath);

private:
    // Runs on a pool thread: feature query, password encipherment, sign-in.
    void runLoginWorker(const QString &sdkServer, unsigned port, const QString &userName, const QString &password);
    QString avatarFilePath() const;
    void storePassword();

    enums::LoginStatus m_prevLoginStatus = enums::NotLogin;
    enums::LoginStatus m_loginStatus = enums::NotLogin;
    enums::LoginProgress m_loginProgress = enums::Initial;
    QString m_qstrServerAddress;
    QString m_qstrSdkServerAddress;
    int m_nPort = 0;
    bool m_bHttps = false;
    QString m_qstrPassword;
    kd::engine::KDRegisterInfo m_prevRegisterInfo;
    kd::engine::KDRegisterInfo m_registerInfo;
    kd::engine::KDUserInfo m_userInfo;
    QString m_qstrDisplayName;
    bool m_bAvatarDownloaded = false;
    kd::engine::AVFeature m_serverFeature;
    const char *const m_szRootCAFileName = "rootca.pem";
};

} // namespace models
} // namespace kd_app
