#include "models/cloginmanager.h"

#include <QFile>
#include <QFileInfo>
#include <QMetaObject>
#include <QtConcurrent>

#include "helpers/cappconfigutils.h"
#include "helpers/cappversion.h"
#include "helpers/cgeneralutils.h"
#include "helpers/clogformat.h"
#include "helpers/cuserconfigutils.h"
#include "models/ccallcontroller.h"
#include "models/ckdsdkmanager.h"
#include "models/curljoinconfargsparser.h"

namespace kd_app {
namespace models {

using helpers::CGeneralUtils;
using helpers::CLogFormat;
using helpers::CUserConfigUtils;

namespace {

const QString g_qstrDefaultAvatar = QStringLiteral(":/resources/images/home-window/default_logged_in_user_avatar.png");
const QString g_qstrSkipAvatar = QStringLiteral(":/resources/images/home-window/skip_logged_in_user_avatar.png");

// The key under which the engine enciphers the stored password.
const char *const kPasswordKey = "MR590372";
const int kStoredPasswordCipher = 2;
const int kDefaultBandwidthKbps = 2048;
const int kEngineLogLevel = 1;

CUserConfigUtils &userConfig()
{
    return *CUserConfigUtils::getInstance();
}

CKDSdkManager &sdk()
{
    return *CKDSdkManager::getInstance();
}

QByteArray userFolderLocal8Bit()
{
    return CUserConfigUtils::getUserConfigPath().toLocal8Bit();
}

} // namespace

// Built during static initialisation, before main, and kept until exit.
static CLoginManager g_loginManager;

CLoginManager::CLoginManager()
{
    qRegisterMetaType<enums::LoginStatus>("kd_app::enums::LoginStatus");
    qRegisterMetaType<enums::LoginProgress>("kd_app::enums::LoginProgress");
}

CLoginManager::~CLoginManager() = default;

CLoginManager &CLoginManager::getInstance()
{
    return g_loginManager;
}

const char *CLoginManager::domainSuffix()
{
    return ".parvela.net";
}

void CLoginManager::initKDSdkManagerInstance()
{
    CKDSdkManager::initInstance();
    CUserConfigUtils &config = userConfig();
    sdk().setLog(kEngineLogLevel, userFolderLocal8Bit().constData(), config.getEngineLogPrefix(),
                 static_cast<unsigned>(config.getEngineLogMaxSize()));
    sdk().enableLog(true);
    KD_LOG << "done";
}

void CLoginManager::initConnections()
{
    CKDSdkManager *manager = CKDSdkManager::getInstance();
    connect(manager, &CKDSdkManager::eventWarn, this, &CLoginManager::onWarn);
    connect(manager, &CKDSdkManager::eventLoginSucceed, this, &CLoginManager::onLoginSucceed);
    connect(manager, &CKDSdkManager::eventRegisterInfo, this, &CLoginManager::onRegisterInfo);
    connect(manager, &CKDSdkManager::eventDownloadUserImageComplete, this, &CLoginManager::onDownloadUserImageComplete);
    initSdk();
}

void CLoginManager::initSdk()
{
    CUserConfigUtils &config = userConfig();
    sdk().initialize(userFolderLocal8Bit().constData(), config.getEngineConfigName());
    sdk().enablePreview(false);
    const QString rootCA = CUserConfigUtils::getAppPath() + QLatin1Char('/') + QLatin1String(m_szRootCAFileName);
    sdk().setRootCA(rootCA.toLocal8Bit().constData());
    sdk().enableWhiteBoard(true);

    const unsigned bandwidth = sdk().getBandwidth();
    const bool isLineRate2M = config.isSetBw2m();
    KD_LOG << "Current line rate:" << bandwidth << ", isLineRate2M:" << isLineRate2M;
    if (!isLineRate2M) {
        sdk().setBandwidth(kDefaultBandwidthKbps);
        config.setBw2m(true);
        KD_LOG << "setLineRate2M done";
    }

    const QByteArray company = helpers::CAppConfigUtils::instance().getUserAgentCompanyName().toUtf8();
    sdk().setUserAgent(company.constData(), helpers::kAppVersion);
    KD_LOG << "done";
}

bool CLoginManager::login(const QString &server, bool https, int port, const QString &userName, const QString &password)
{
    KD_LOG << "userName:" << userName << ", port:" << port << ", serverAddress:" << server;
    if (m_loginStatus != enums::NotLogin && m_loginStatus != enums::LoginFailed) {
        KD_LOG << QString::asprintf("Can not login for m_loginStatus: %d", m_loginStatus);
        return false;
    }
    if (CGeneralUtils::isNullOrEmpty(userName) || CGeneralUtils::isNullOrEmpty(password) ||
        CGeneralUtils::isNullOrEmpty(server)) {
        return false;
    }

    m_qstrServerAddress = server;
    m_qstrSdkServerAddress = server;
    if (server.count(QLatin1Char('.')) < 2) {
        m_qstrSdkServerAddress += QLatin1String(domainSuffix());
    }
    m_qstrPassword = password;
    m_bHttps = https;
    m_nPort = port;
    m_bAvatarDownloaded = false;

    setLoginStatus(enums::LoggingIn);
    KD_LOG << "Begin to login in a new thread";
    sdk().enableSecure(https);
    // This sign-in's own https choice decides the default port: the saved one
    // belongs to the previous sign-in and is replaced only when this one succeeds.
    const unsigned workerPort = port != 0 ? static_cast<unsigned>(port) : (https ? 443u : 80u);
    const QString sdkServer = m_qstrSdkServerAddress;
    QtConcurrent::run(QThreadPool::globalInstance(), [this, sdkServer, workerPort, userName, password] {
        runLoginWorker(sdkServer, workerPort, userName, password);
    });
    return true;
}

void CLoginManager::runLoginWorker(const QString &sdkServer, unsigned port, const QString &userName,
                                   const QString &password)
{
    const QByteArray server = sdkServer.toUtf8();
    kd::engine::AVFeature feature;
    if (!sdk().getFeature(server.constData(), port, feature)) {
        return;
    }
    QMetaObject::invokeMethod(
        this, [this, feature] { m_serverFeature = feature; }, Qt::QueuedConnection);

    const int cipher = feature.passwordEncryptionWithAES ? 1 : 0;
    const std::string enciphered = sdk().encryptPassword(cipher, password.toUtf8().constData());
    sdk().avlogin(server.constData(), port, userName.toUtf8().constData(), enciphered.c_str());
    KD_LOG << "exec login";
}

void CLoginManager::onLoginSucceed(kd::engine::KDUserInfo user)
{
    KD_LOG << "userId:" << user.userId;
    m_userInfo = user;

    if (m_loginStatus == enums::LoggingIn) {
        KD_LOG << "Login succeed and should download avatar";
        const QString avatar = avatarFilePath();
        if (QFileInfo(avatar).isFile()) {
            if (QFile::remove(avatar)) {
                KD_LOG << "avatar file is removed";
            } else {
                KD_LOG << "Failed to remove avatar file";
            }
        } else {
            KD_LOG << "avatar file is not existed";
        }
        downloadLoginUserAvatar();
    }

    enums::LoginStatus newStatus = enums::LoggedIn;
    if (user.passwordChangeRequired && m_loginStatus == enums::LoggingIn) {
        KD_LOG << "Need to change password";
        newStatus = enums::NeedChangePassword;
        setLoginProgress(enums::ChangePassword);
    }

    CUserConfigUtils &config = userConfig();
    config.setIp(m_qstrServerAddress);
    config.setUseHttps(m_bHttps);
    if (m_nPort != 0) {
        config.setPort(m_nPort);
    }
    const QString userName = QString::fromStdString(user.username);
    KD_LOG << "loginStatus:" << newStatus << ", username:" << userName;
    config.setUser(userName);
    storePassword();

    KD_LOG << "Login successfully, set m_loginStatus to:" << m_loginStatus;
    setLoginStatus(newStatus);
    setDisplayName(QString::fromStdString(user.displayName));
    emit sigLoginTokenChanged();
}

void CLoginManager::storePassword()
{
    CUserConfigUtils &config = userConfig();
    // Without "remember me" the password lives only in memory; an older
    // remembered one must not outlive that choice.
    if (!config.getRememberMe() || m_qstrPassword.isEmpty()) {
        config.setPassword(QString());
        return;
    }
    const QByteArray plain = m_qstrPassword.toUtf8();
    const std::string enciphered = sdk().encryptPassword(kStoredPasswordCipher, plain.constData(), kPasswordKey);
    config.setPassword(QString::fromLatin1(enciphered.c_str()));
}

void CLoginManager::logout()
{
    if (m_loginStatus == enums::LoggedIn) {
        sdk().avlogout();
    }
    setLoginStatus(enums::NotLogin);
}

bool CLoginManager::tryAutoLogin(bool force)
{
    CUserConfigUtils &config = userConfig();
    const QString server = config.getIp();
    const QString user = config.getUser();
    const QString password = getConfigPassword();
    if (server.isEmpty() || user.isEmpty() || password.isEmpty()) {
        KD_LOG << "empty login info";
        KD_LOG << "Can not login";
        return false;
    }
    const bool autoLogin = config.getRememberMe();
    KD_LOG << "getIsAutoLogin:" << autoLogin << ", bForceLogin:" << force;
    if (!autoLogin && !force) {
        KD_LOG << "Can not login";
        return false;
    }
    login(server, config.isUseHttps(), config.getPort(), user, password);
    return true;
}

bool CLoginManager::hasValidConfigLoginInfo()
{
    CUserConfigUtils &config = userConfig();
    const QString server = config.getIp();
    const QString user = config.getUser();
    if (!server.isEmpty() && !user.isEmpty() && !getConfigPassword().isEmpty()) {
        return true;
    }
    KD_LOG << "Can not auto login, UserName:" << user << ", ServerAddress:" << server << ", invalid password";
    return false;
}

QString CLoginManager::getConfigPassword()
{
    const QString stored = userConfig().getPassword();
    if (CGeneralUtils::isNullOrEmpty(stored)) {
        return QString();
    }
    const QByteArray cipherText = stored.toLatin1();
    // The password was enciphered from its UTF-8 bytes; read it back the same way.
    return QString::fromStdString(
        sdk().descryptPassword(kStoredPasswordCipher, cipherText.constData(), kPasswordKey, ""));
}

void CLoginManager::updateLoginToken(bool logoutOnFailure)
{
    if (m_loginStatus != enums::LoggedIn) {
        KD_LOG << "Can't update login token for not login.";
        return;
    }
    KD_LOG << "Update login token.";
    kd::engine::KDUserInfo user;
    if (sdk().getUserInfo(user)) {
        m_userInfo = user;
        KD_LOG << "Updated token:" << CLogFormat::masked(QString::fromStdString(user.token)) << ", displayName"
               << QString::fromStdString(user.displayName);
        setDisplayName(QString::fromStdString(user.displayName));
        emit sigLoginTokenChanged();
        return;
    }
    KD_LOG << "Failed to update login token";
    if (!logoutOnFailure) {
        return;
    }
    const enums::CallStatus callStatus = CCallController::getInstance().getCallStatus();
    const bool inCall = callStatus >= enums::Reserved2 && callStatus <= enums::Connected;
    if (!inCall) {
        setLoginStatus(enums::NotLogin);
        KD_LOG << "Failed to update token and logout.";
    }
}

void CLoginManager::onLoggingInFailed(bool logoutFirst)
{
    KD_LOG << QString::asprintf("CLoginManager::onLoggingInFailed: %d", logoutFirst);
    if (logoutFirst) {
        sdk().avlogout();
    }
    setLoginStatus(enums::LoginFailed);
    CUrlJoinConfArgsParser::getInstance()->clear();
}

void CLoginManager::setLoginStatus(enums::LoginStatus status)
{
    if (status == m_loginStatus) {
        return;
    }
    const enums::LoginStatus old = m_loginStatus;
    KD_LOG << "Change login status from" << old << "to" << status;
    if (status == enums::LoggingIn || status == enums::NotLogin) {
        m_bAvatarDownloaded = false;
    }
    if (status == enums::LoginFailed || status == enums::NotLogin) {
        KD_LOG << "Clear register info";
        m_prevRegisterInfo = m_registerInfo;
        m_registerInfo.clear();
        // The account's credentials end with its session: nothing sent later
        // (a guest's call included) may carry them.
        m_userInfo.token.clear();
        m_userInfo.deviceId = 0;
        setLoginProgress(old == enums::AnonymousLoggingIn ? enums::JoinConf : enums::Login);
    }
    userConfig().setLoginStatus(status);
    m_prevLoginStatus = old;
    m_loginStatus = status;
    KD_LOG << "emit loginStatusChanged";
    emit loginStatusChanged(status);
}

void CLoginManager::setLoginProgress(enums::LoginProgress progress)
{
    KD_LOG << "progress:" << progress;
    m_loginProgress = progress;
    emit loginProgressChanged(progress);
}

void CLoginManager::setDisplayName(const QString &displayName)
{
    KD_LOG << "CLoginManager::setDisplayName:" << displayName;
    m_qstrDisplayName = displayName;
    emit sigDisplayNameChanged();
}

bool CLoginManager::isRegisteredToServer(const kd::engine::KDRegisterInfo &info)
{
    return info.state == kd::engine::KD_REGISTER_OK && !(info.externalServer.empty() && info.internalServer.empty());
}

void CLoginManager::setPassword(const QString &password)
{
    m_qstrPassword = password;
    // Otherwise the next automatic sign-in would offer the old password.
    if (m_loginStatus == enums::LoggedIn || m_loginStatus == enums::NeedChangePassword) {
        storePassword();
    }
}

QString CLoginManager::getPassword() const
{
    return m_qstrPassword;
}

int CLoginManager::getPort() const
{
    if (m_nPort != 0) {
        return m_nPort;
    }
    return userConfig().isUseHttps() ? 443 : 80;
}

QString CLoginManager::getServerUrl() const
{
    const QString scheme = userConfig().isUseHttps() ? QStringLiteral("https://") : QStringLiteral("http://");
    return scheme + m_qstrSdkServerAddress + QLatin1Char(':') + QString::number(getPort());
}

QString CLoginManager::getLoginToken() const
{
    if (m_loginStatus != enums::LoggedIn) {
        return QString();
    }
    return QString::fromStdString(m_userInfo.token);
}

QString CLoginManager::getLoggedInUserAvatarPath() const
{
    if (!m_bAvatarDownloaded) {
        return m_loginStatus == enums::AnonymousLoggedIn ? g_qstrSkipAvatar : g_qstrDefaultAvatar;
    }
    const QString avatar = avatarFilePath();
    if (QFileInfo(avatar).size() != 0) {
        return avatar;
    }
    KD_WARN << "Downloaded avatar file size is 0, so use default avatar";
    return g_qstrDefaultAvatar;
}

void CLoginManager::downloadLoginUserAvatar()
{
    // Named after the user, not the token: a token is a secret and does not
    // belong in a file name.
    const QString target =
        CUserConfigUtils::getUserConfigPath() + QLatin1Char('/') + QString::number(m_userInfo.userId) + "_header.jpg";
    KD_LOG << "Begin to download avatar to:" << target;
    sdk().downloadUserImage(target.toLocal8Bit().constData());
}

void CLoginManager::onDownloadUserImageComplete(std::string szPath)
{
    const QString downloaded = QString::fromLocal8Bit(szPath.c_str());
    KD_LOG << "path:" << downloaded;
    if (QFile::copy(downloaded, avatarFilePath())) {
        m_bAvatarDownloaded = true;
        emit sigAvatarDownloadedOk();
    } else {
        KD_WARN << "Failed to copy avatar file";
    }
    if (!QFile::remove(downloaded)) {
        KD_LOG << "Failed to remove download avatar temp file";
    }
}

void CLoginManager::onWarn(kd::engine::KDWarn warn)
{
    KD_LOG << "code:" << warn.code;
}

void CLoginManager::onRegisterInfo(kd::engine::KDRegisterInfo info)
{
    KD_LOG << "state:" << info.state;
    m_prevRegisterInfo = m_registerInfo;
    m_registerInfo = info;
    emit sigRegisterInfoChanged(info);
}

QString CLoginManager::avatarFilePath() const
{
    return userConfig().getHeadPicPath();
}

} // namespace models
} // namespace kd_app
