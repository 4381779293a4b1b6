#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "statewait.h"
#include "clientfixture.h"
#include "models/curljoinconfargsparser.h"

using namespace fixture;
using kd_app::models::CUrlJoinConfArgsParser;

class TestLoginManager : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void engineSetUp();
    void signIn_data();
    void signIn();
    void refusedLogin_data();
    void refusedLogin();
    void serverAddressAndPort_data();
    void serverAddressAndPort();
    void rememberedPassword_data();
    void rememberedPassword();
    void autoLogin_data();
    void autoLogin();
    void logoutClearsSession();
    void secondLoginEventKeepsStatus();
    void tokenRefresh_data();
    void tokenRefresh();
    void avatar();
    void statusChangesAndPages_data();
    void statusChangesAndPages();

private:
    QTemporaryDir m_appData;
    kd::sdk::IEngineControl *m_control = nullptr;
};

void TestLoginManager::initTestCase()
{
    QVERIFY(m_appData.isValid());
    m_control = startClient(m_appData);
    QVERIFY(m_control);

    m_control->addAccount(account("alice", "sécret", "Älice Øster", 42));
    kd::sdk::KDModelAccount bob = account("böb", "first", "Bob", 43);
    bob.passwordChangeRequired = true;
    m_control->addAccount(bob);
}

void TestLoginManager::init()
{
    resetClient(m_control);
}

// The engine is set up once at start and the default bandwidth is given
// only to a settings file that never had it.
void TestLoginManager::engineSetUp()
{
    CUserConfigUtils &config = *CUserConfigUtils::getInstance();
    QVERIFY(config.isSetBw2m());

    CKDSdkManager::getInstance()->setBandwidth(512);
    m_control->clearOperations();
    CLoginManager::getInstance().initSdk();
    const QStringList ops = operations(m_control);
    QVERIFY2(operationsNamed(m_control, "setBandwidth").isEmpty(), qPrintable(ops.join(' ')));
    QCOMPARE(CKDSdkManager::getInstance()->getBandwidth(), 512u);
    QCOMPARE(operationsNamed(m_control, "initialize").size(), 1);
    QVERIFY(operationsNamed(m_control, "initialize").first().contains("parvelarc"));
    QVERIFY(operationsNamed(m_control, "setUserAgent").first().contains("2.8.0.173"));
    QVERIFY(operationsNamed(m_control, "setRootCA").first().contains("rootca.pem"));

    config.setBw2m(false);
    CLoginManager::getInstance().initSdk();
    QCOMPARE(CKDSdkManager::getInstance()->getBandwidth(), 2048u);
    QVERIFY(config.isSetBw2m());
}

void TestLoginManager::signIn_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("failingOperation");
    QTest::addColumn<int>("failingCode");
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("progress");
    QTest::addColumn<int>("errorCode");

    QTest::newRow("success") << "alice"
                             << "sécret" << QString() << 0 << int(enums::LoggedIn) << int(enums::Initial) << 0;
    QTest::newRow("password change demanded")
        << "böb"
        << "first" << QString() << 0 << int(enums::NeedChangePassword) << int(enums::ChangePassword) << 0;
    QTest::newRow("wrong password") << "alice"
                                    << "guess" << QString() << 0 << int(enums::LoginFailed) << int(enums::Login)
                                    << int(kd::sdk::KD_SERVER_ERROR_WRONG_CREDENTIALS);
    QTest::newRow("unknown user") << "carol"
                                  << "x" << QString() << 0 << int(enums::LoginFailed) << int(enums::Login)
                                  << int(kd::sdk::KD_SERVER_ERROR_WRONG_CREDENTIALS);
    QTest::newRow("server unreachable") << "alice"
                                        << "sécret"
                                        << "getFeature" << int(kd::sdk::KD_ERR_SERVER_UNREACHABLE)
                                        << int(enums::LoginFailed) << int(enums::Login)
                                        << int(kd::sdk::KD_ENGINE_ERROR_SERVER_UNREACHABLE);
    QTest::newRow("engine busy") << "alice"
                                 << "sécret"
                                 << "avlogin" << int(kd::sdk::KD_ERR_BUSY) << int(enums::LoginFailed)
                                 << int(enums::Login) << int(kd::sdk::KD_ENGINE_ERROR_INTERNAL);
    QTest::newRow("generic failure") << "alice"
                                     << "sécret"
                                     << "avlogin" << int(kd::sdk::KD_ERR_GENERIC) << int(enums::LoginFailed)
                                     << int(enums::Login) << int(kd::sdk::KD_ENGINE_ERROR_UNKNOWN);
}

void TestLoginManager::signIn()
{
    QFETCH(QString, user);
    QFETCH(QString, password);
    QFETCH(QString, failingOperation);
    QFETCH(int, failingCode);
    QFETCH(int, status);
    QFETCH(int, progress);
    QFETCH(int, errorCode);

    CLoginManager &login = CLoginManager::getInstance();
    CUserConfigUtils &config = *CUserConfigUtils::getInstance();
    if (!failingOperation.isEmpty()) {
        m_control->failNext(failingOperation.toStdString(), failingCode);
    }
    CUrlJoinConfArgsParser::getInstance()->m_bIsValid = true;
    QSignalSpy statuses(&login, &CLoginManager::loginStatusChanged);
    QSignalSpy errors(CKDSdkManager::getInstance(), &CKDSdkManager::eventError);
    QSignalSpy tokens(&login, &CLoginManager::sigLoginTokenChanged);

    signInAs(m_control, user, password);

    QCOMPARE(int(login.getLoginStatus()), status);
    QCOMPARE(int(login.getLoginProgress()), progress);
    QCOMPARE(statuses.first().first().value<enums::LoginStatus>(), enums::LoggingIn);
    QCOMPARE(int(statuses.last().first().value<enums::LoginStatus>()), status);
    QCOMPARE(int(config.getLoginStatus()), status == enums::NeedChangePassword ? 0 : status);
    if (errorCode == 0) {
        QVERIFY(errors.isEmpty());
        QCOMPARE(tokens.size(), 1);
        QCOMPARE(config.getIp(), QStringLiteral("conf.parvela.test"));
        QCOMPARE(config.getUser(), user);
        QCOMPARE(login.getDisplayName(), QString::fromStdString(login.getLoginUserInfo().displayName));
        QVERIFY(login.getDisplayName().contains(QChar(0x00D8)) || login.getDisplayName() == "Bob");
        QCOMPARE(login.getConfigPassword(), password);
        QCOMPARE(login.getLoginToken().isEmpty(), status != enums::LoggedIn);
        QVERIFY(CUrlJoinConfArgsParser::getInstance()->m_bIsValid);
        return;
    }
    QCOMPARE(errors.size(), 1);
    QCOMPARE(errors.first().first().value<kd::engine::KDError>().code, errorCode);
    QCOMPARE(login.getRegisterInfo().state, 0);
    QVERIFY(login.getLoginToken().isEmpty());
    QVERIFY(config.getUser().isEmpty());
    // A failed sign-in drops a pending join link with it.
    QVERIFY(!CUrlJoinConfArgsParser::getInstance()->m_bIsValid);
}

void TestLoginManager::refusedLogin_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("server");

    for (enums::LoginStatus status : {enums::LoggingIn, enums::LoggedIn, enums::AnonymousLoggedIn,
                                      enums::AnonymousLoggingIn, enums::NeedChangePassword}) {
        QTest::addRow("status %d", int(status)) << int(status) << "alice"
                                                << "sécret"
                                                << "conf.parvela.test";
    }
    QTest::newRow("no user") << int(enums::NotLogin) << QString() << "sécret"
                             << "conf.parvela.test";
    QTest::newRow("no password") << int(enums::LoginFailed) << "alice" << QString() << "conf.parvela.test";
    QTest::newRow("no server") << int(enums::NotLogin) << "alice"
                               << "sécret" << QString();
}

void TestLoginManager::refusedLogin()
{
    QFETCH(int, status);
    QFETCH(QString, user);
    QFETCH(QString, password);
    QFETCH(QString, server);

    CLoginManager &login = CLoginManager::getInstance();
    login.setLoginStatus(enums::LoginStatus(status));
    QSignalSpy statuses(&login, &CLoginManager::loginStatusChanged);

    QVERIFY(!login.login(server, false, 0, user, password));
    settle(m_control);
    QTest::qWait(50);
    QVERIFY(statuses.isEmpty());
    QVERIFY(operationsNamed(m_control, "getFeature").isEmpty());
    QVERIFY(operationsNamed(m_control, "avlogin").isEmpty());
}

void TestLoginManager::serverAddressAndPort_data()
{
    QTest::addColumn<QString>("server");
    QTest::addColumn<bool>("https");
    QTest::addColumn<int>("port");
    QTest::addColumn<bool>("savedHttps");
    QTest::addColumn<QString>("engineServer");
    QTest::addColumn<int>("enginePort");
    QTest::addColumn<int>("savedPort");

    const QString suffix = QString::fromLatin1(CLoginManager::domainSuffix());
    QTest::newRow("no dot") << "meet" << false << 0 << false << "meet" + suffix << 80 << 0;
    QTest::newRow("one dot") << "meet.corp" << false << 0 << false << "meet.corp" + suffix << 80 << 0;
    QTest::newRow("two dots") << "meet.corp.test" << false << 0 << false << "meet.corp.test" << 80 << 0;
    QTest::newRow("IPv4 address") << "10.1.2.3" << false << 0 << false << "10.1.2.3" << 80 << 0;
    // The first sign-in with https must not take its port from the saved
    // plain-http choice of an earlier session.
    QTest::newRow("https, saved http") << "meet.corp.test" << true << 0 << false << "meet.corp.test" << 443 << 0;
    QTest::newRow("http, saved https") << "meet.corp.test" << false << 0 << true << "meet.corp.test" << 80 << 0;
    QTest::newRow("own port") << "meet.corp.test" << true << 8443 << false << "meet.corp.test" << 8443 << 8443;
}

void TestLoginManager::serverAddressAndPort()
{
    QFETCH(QString, server);
    QFETCH(bool, https);
    QFETCH(int, port);
    QFETCH(bool, savedHttps);
    QFETCH(QString, engineServer);
    QFETCH(int, enginePort);
    QFETCH(int, savedPort);

    CLoginManager &login = CLoginManager::getInstance();
    CUserConfigUtils &config = *CUserConfigUtils::getInstance();
    config.setUseHttps(savedHttps);

    QVERIFY(login.login(server, https, port, "alice", "sécret"));
    QTRY_VERIFY(login.getLoginStatus() != enums::LoggingIn);
    QCOMPARE(login.getLoginStatus(), enums::LoggedIn);

    const QString expected = QStringLiteral("%1,%2").arg(engineServer).arg(enginePort);
    QCOMPARE(operationsNamed(m_control, "getFeature"), QStringList{"getFeature(" + expected + ")"});
    QVERIFY(operationsNamed(m_control, "avlogin").first().startsWith("avlogin(" + expected + ",alice"));
    QCOMPARE(operationsNamed(m_control, "enableSecure").size(), 1);
    QCOMPARE(login.getSdkServerAddress(), engineServer);
    QCOMPARE(config.getIp(), server);
    QCOMPARE(config.isUseHttps(), https);
    QCOMPARE(config.getPort(), savedPort);
    QCOMPARE(login.getServerUrl(),
             QStringLiteral("%1://%2:%3").arg(https ? "https" : "http", engineServer).arg(enginePort));
}

void TestLoginManager::rememberedPassword_data()
{
    QTest::addColumn<bool>("rememberMe");
    QTest::newRow("remembered") << true;
    QTest::newRow("not remembered") << false;
}

// The password reaches the settings file only for a user who asked to be
// remembered, and a changed password replaces the remembered one.
void TestLoginManager::rememberedPassword()
{
    QFETCH(bool, rememberMe);
    CLoginManager &login = CLoginManager::getInstance();
    CUserConfigUtils &config = *CUserConfigUtils::getInstance();
    config.setPassword(QStringLiteral("stale"));
    config.setRememberMe(rememberMe);

    QVERIFY(signInAs(m_control, "alice", "sécret"));
    QCOMPARE(login.getPassword(), QStringLiteral("sécret"));
    QCOMPARE(login.getConfigPassword(), rememberMe ? QStringLiteral("sécret") : QString());
    QVERIFY(!QFile(CUserConfigUtils::getUserConfigPath() + "/Brivana/Config/config.ini").readAll().contains("sécret"));

    login.setPassword(QStringLiteral("nöuveau"));
    QCOMPARE(login.getPassword(), QStringLiteral("nöuveau"));
    QCOMPARE(login.getConfigPassword(), rememberMe ? QStringLiteral("nöuveau") : QString());
    QCOMPARE(login.hasValidConfigLoginInfo(), rememberMe);
}

void TestLoginManager::autoLogin_data()
{
    QTest::addColumn<bool>("saved");
    QTest::addColumn<bool>("rememberMe");
    QTest::addColumn<bool>("force");
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("result");

    QTest::newRow("remembered") << true << true << false << int(enums::LoggedIn) << true;
    QTest::newRow("not remembered") << true << false << false << int(enums::NotLogin) << false;
    QTest::newRow("not remembered, forced") << true << false << true << int(enums::LoggedIn) << true;
    QTest::newRow("nothing saved") << false << true << true << int(enums::NotLogin) << false;
    // Started is started, even when the login is refused.
    QTest::newRow("refused by status") << true << true << false << int(enums::AnonymousLoggedIn) << true;
}

void TestLoginManager::autoLogin()
{
    QFETCH(bool, saved);
    QFETCH(bool, rememberMe);
    QFETCH(bool, force);
    QFETCH(int, status);
    QFETCH(bool, result);

    CLoginManager &login = CLoginManager::getInstance();
    CUserConfigUtils &config = *CUserConfigUtils::getInstance();
    if (saved) {
        QVERIFY(signInAs(m_control, "alice", "sécret"));
        login.logout();
        settle(m_control);
    }
    config.setRememberMe(rememberMe);
    if (status == enums::AnonymousLoggedIn) {
        login.setLoginStatus(enums::AnonymousLoggedIn);
    }
    m_control->clearOperations();

    QCOMPARE(login.hasValidConfigLoginInfo(), saved);
    QCOMPARE(login.tryAutoLogin(force), result);
    QTRY_VERIFY(login.getLoginStatus() != enums::LoggingIn);
    QCOMPARE(int(login.getLoginStatus()), status);
    QCOMPARE(operationsNamed(m_control, "avlogin").size(), status == enums::LoggedIn ? 1 : 0);
}

void TestLoginManager::logoutClearsSession()
{
    CLoginManager &login = CLoginManager::getInstance();
    QVERIFY(signInAs(m_control, "alice", "sécret"));
    QCOMPARE(login.getRegisterInfo().state, 1);
    QVERIFY(!login.getLoginToken().isEmpty());

    login.logout();
    QCOMPARE(login.getPrevRegisterInfo().state, 1);
    QCOMPARE(login.getRegisterInfo().state, 0);
    settle(m_control);
    QCOMPARE(login.getLoginStatus(), enums::NotLogin);
    QCOMPARE(login.getPrevLoginStatus(), enums::LoggedIn);
    QCOMPARE(login.getLoginProgress(), enums::Login);
    QCOMPARE(operationsNamed(m_control, "avlogout").size(), 1);
    QVERIFY(login.getLoginToken().isEmpty());
    QVERIFY(!login.isAvatarDownloaded());
    // The last user's record stays readable after sign-out.
    QCOMPARE(login.getLoginUserInfo().username, std::string("alice"));

    // Signing out while not signed in tells the engine nothing.
    m_control->clearOperations();
    login.setLoginStatus(enums::AnonymousLoggedIn);
    login.logout();
    QCOMPARE(login.getLoginStatus(), enums::NotLogin);
    QVERIFY(operationsNamed(m_control, "avlogout").isEmpty());
}

void TestLoginManager::secondLoginEventKeepsStatus()
{
    CLoginManager &login = CLoginManager::getInstance();
    QVERIFY(signInAs(m_control, "alice", "sécret"));
    QSignalSpy statuses(&login, &CLoginManager::loginStatusChanged);
    QSignalSpy tokens(&login, &CLoginManager::sigLoginTokenChanged);
    m_control->clearOperations();

    kd::engine::KDUserInfo again = login.getLoginUserInfo();
    again.token = "second-token";
    again.passwordChangeRequired = true;
    login.onLoginSucceed(again);

    QVERIFY(statuses.isEmpty());
    QCOMPARE(tokens.size(), 1);
    QCOMPARE(login.getLoginToken(), QStringLiteral("second-token"));
    QVERIFY(operationsNamed(m_control, "downloadUserImage").isEmpty());
}

void TestLoginManager::tokenRefresh_data()
{
    QTest::addColumn<bool>("fails");
    QTest::addColumn<bool>("logoutOnFailure");
    QTest::addColumn<int>("callStatus");
    QTest::addColumn<int>("status");

    QTest::newRow("fresh token") << false << true << int(enums::Idle) << int(enums::LoggedIn);
    QTest::newRow("failed, stay") << true << false << int(enums::Idle) << int(enums::LoggedIn);
    QTest::newRow("failed, sign out") << true << true << int(enums::Idle) << int(enums::NotLogin);
    QTest::newRow("failed after a call") << true << true << int(enums::Ended) << int(enums::NotLogin);
    QTest::newRow("failed in a call") << true << true << int(enums::Connected) << int(enums::LoggedIn);
    QTest::newRow("failed while ringing") << true << true << int(enums::ConfIncoming) << int(enums::LoggedIn);
    QTest::newRow("failed in status 2") << true << true << int(enums::Reserved2) << int(enums::LoggedIn);
}

void TestLoginManager::tokenRefresh()
{
    QFETCH(bool, fails);
    QFETCH(bool, logoutOnFailure);
    QFETCH(int, callStatus);
    QFETCH(int, status);

    CLoginManager &login = CLoginManager::getInstance();
    QVERIFY(signInAs(m_control, "alice", "sécret"));
    const QString oldToken = login.getLoginToken();
    CCallController::getInstance().setCallStatus(enums::CallStatus(callStatus));
    QSignalSpy tokens(&login, &CLoginManager::sigLoginTokenChanged);
    m_control->clearOperations();
    if (fails) {
        m_control->failNext("getUserInfo", kd::sdk::KD_ERR_NOT_SIGNED_IN);
    }

    login.updateLoginToken(logoutOnFailure);

    QCOMPARE(int(login.getLoginStatus()), status);
    QCOMPARE(tokens.size(), fails ? 0 : 1);
    QVERIFY(operationsNamed(m_control, "avlogout").isEmpty());
    if (!fails) {
        QVERIFY(login.getLoginToken() != oldToken);
        QCOMPARE(login.getDisplayName(), QStringLiteral("Älice Øster"));
    } else if (status == enums::LoggedIn) {
        QCOMPARE(login.getLoginToken(), oldToken);
    }
}

void TestLoginManager::avatar()
{
    CLoginManager &login = CLoginManager::getInstance();
    CUserConfigUtils &config = *CUserConfigUtils::getInstance();
    QVERIFY(!login.getLoggedInUserAvatarPath().startsWith(CUserConfigUtils::getUserConfigPath()));
    QSignalSpy downloaded(&login, &CLoginManager::sigAvatarDownloadedOk);

    QVERIFY(signInAs(m_control, "alice", "sécret"));
    QTRY_COMPARE(downloaded.size(), 1);
    QVERIFY(login.isAvatarDownloaded());
    QCOMPARE(login.getLoggedInUserAvatarPath(), config.getHeadPicPath());
    QVERIFY(QFileInfo(config.getHeadPicPath()).size() > 0);

    const QString token = QString::fromStdString(login.getLoginUserInfo().token);
    const QStringList downloads = operationsNamed(m_control, "downloadUserImage");
    QCOMPARE(downloads.size(), 1);
    // The download's file is named after the user, never after the secret token.
    QVERIFY2(downloads.first().contains("/42_header.jpg"), qPrintable(downloads.first()));
    QVERIFY(!downloads.first().contains(token));
    QVERIFY(!QFileInfo::exists(CUserConfigUtils::getUserConfigPath() + "/42_header.jpg"));

    // An empty avatar file falls back to the default picture.
    QFile file(config.getHeadPicPath());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.close();
    QVERIFY(login.getLoggedInUserAvatarPath().startsWith(":/resources/images/"));

    login.logout();
    QVERIFY(!login.isAvatarDownloaded());
    QCOMPARE(login.getLoggedInUserAvatarPath(),
             QStringLiteral(":/resources/images/home-window/default_logged_in_user_avatar.png"));
    login.setLoginStatus(enums::AnonymousLoggedIn);
    QCOMPARE(login.getLoggedInUserAvatarPath(),
             QStringLiteral(":/resources/images/home-window/skip_logged_in_user_avatar.png"));
}

void TestLoginManager::statusChangesAndPages_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<int>("progress");

    QTest::newRow("guest join ends") << int(enums::AnonymousLoggingIn) << int(enums::NotLogin) << int(enums::JoinConf);
    QTest::newRow("guest join fails") << int(enums::AnonymousLoggingIn) << int(enums::LoginFailed)
                                      << int(enums::JoinConf);
    QTest::newRow("sign-out") << int(enums::LoggedIn) << int(enums::NotLogin) << int(enums::Login);
    QTest::newRow("skipped, then out") << int(enums::AnonymousLoggedIn) << int(enums::NotLogin) << int(enums::Login);
    QTest::newRow("to signed in") << int(enums::LoggingIn) << int(enums::LoggedIn) << int(enums::Initial);
}

void TestLoginManager::statusChangesAndPages()
{
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(int, progress);

    CLoginManager &login = CLoginManager::getInstance();
    login.setLoginStatus(enums::LoginStatus(from));
    login.setLoginProgress(enums::Initial);
    QSignalSpy statuses(&login, &CLoginManager::loginStatusChanged);
    QSignalSpy pages(&login, &CLoginManager::loginProgressChanged);

    login.setLoginStatus(enums::LoginStatus(to));
    login.setLoginStatus(enums::LoginStatus(to));

    QCOMPARE(statuses.size(), 1);
    QCOMPARE(int(login.getPrevLoginStatus()), from);
    QCOMPARE(int(login.getLoginProgress()), progress);
    QCOMPARE(int(CUserConfigUtils::getInstance()->getLoginStatus()), to);
    // Setting the same page again still tells the login window.
    login.setLoginProgress(login.getLoginProgress());
    QCOMPARE(pages.size(), progress == enums::Initial ? 1 : 2);
}

QTEST_MAIN(TestLoginManager)
#include "tst_loginmanager.moc"
