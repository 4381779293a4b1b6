#include <QtTest>

#include "engine/kdtypes.h"
#include "helpers/enums.h"
#include "views/cmaindlgmanager.h"

using kd::engine::KDError;
using kd_app::enums::LoginStatus;
using kd_app::views::CMainDlgManager;

// Which engine errors reach the user, and in which words.
class TestErrorPrompt : public QObject
{
    Q_OBJECT

private slots:
    void prompt_data();
    void prompt();
};

void TestErrorPrompt::prompt_data()
{
    QTest::addColumn<int>("loginStatus");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("msg");
    QTest::addColumn<bool>("endsSignIn");
    QTest::addColumn<QString>("text"); // empty: nothing is shown

    using namespace kd_app::enums;
    QTest::newRow("not logged in, call end 100") << int(NotLogin) << 3 << "onCallEnd" << 100 << "" << false
                                                 << "Meeting ended or terminated by meeting host(100).";
    QTest::newRow("not logged in, server error at sign-in")
        << int(NotLogin) << 4 << "avlogin" << 2000 << "" << false << "";
    QTest::newRow("login failed, engine error") << int(LoginFailed) << 0 << "dialOut" << 8 << "" << false << "";
    QTest::newRow("logging in, wrong password ends sign-in")
        << int(LoggingIn) << 4 << "avlogin" << 2000 << "" << true << "Invalid username or password.";
    QTest::newRow("logging in, unknown server code at sign-in")
        << int(LoggingIn) << 4 << "avlogin" << 3333 << "" << true << "Failed to login(3333).";
    QTest::newRow("logging in, unknown server code elsewhere")
        << int(LoggingIn) << 4 << "getUserInfo" << 3333 << "" << true << "Received error(3333).";
    QTest::newRow("feature query, engine code")
        << int(LoggingIn) << 0 << "getFeature" << 8 << "" << true << "Server unreachable, please try again later(8).";
    QTest::newRow("feature query, engine code without row")
        << int(LoggingIn) << 0 << "getFeature" << 15 << "" << true << "Invalid server address.";
    QTest::newRow("feature query, server error")
        << int(LoggingIn) << 4 << "getFeature" << 2000 << "" << true << "Invalid server address.";
    QTest::newRow("feature query, call-end type")
        << int(LoggingIn) << 3 << "getFeature" << 100 << "" << true << "Invalid server address.";
    // The engine's own words about a certificate beat a hint at the address.
    QTest::newRow("feature query, untrusted certificate")
        << int(LoggingIn) << 5 << "getFeature" << 901 << "The server's certificate is not trusted: self-signed." << true
        << "SDK error, type: 5, code: 901, msg: The server's certificate is not trusted: self-signed.";
    QTest::newRow("logged in, engine error outside call end")
        << int(LoggedIn) << 0 << "dialOut" << 8 << "" << false << "";
    QTest::newRow("logged in, engine error at call end")
        << int(LoggedIn) << 0 << "onCallEnd" << 10 << "" << false << "The other party has hung up(10).";
    QTest::newRow("logged in, server error at sign-in") << int(LoggedIn) << 4 << "avlogin" << 2010 << "" << false << "";
    QTest::newRow("logged in, server error")
        << int(LoggedIn) << 4 << "dialOut" << 4204 << "" << false << "The contact is offline(4204).";
    QTest::newRow("guest, engine error") << int(AnonymousLoggedIn) << 0 << "dialOut" << 12 << "" << false
                                         << "Call timeout(12).";
    QTest::newRow("guest joining, call end without row")
        << int(AnonymousLoggingIn) << 3 << "onCallEnd" << 55 << "" << false << "";
    QTest::newRow("password change, server error")
        << int(NeedChangePassword) << 4 << "x" << 6608 << "" << false << "The meeting is locked(6608).";
    QTest::newRow("engine code 15 has no row") << int(AnonymousLoggedIn) << 0 << "dialOut" << 15 << "" << false << "";
    QTest::newRow("picture upload is never shown")
        << int(AnonymousLoggedIn) << 4 << "uploadUserImage" << 1060 << "" << false << "";
    QTest::newRow("other type, generic and untranslated")
        << int(AnonymousLoggedIn) << 1 << "dialOut" << 77 << "media lost" << false
        << "SDK error, type: 1, code: 77, msg: media lost";
    QTest::newRow("message with a placeholder stays as sent")
        << int(AnonymousLoggedIn) << 5 << "dialOut" << 9 << "50%1 done" << false
        << "SDK error, type: 5, code: 9, msg: 50%1 done";
}

void TestErrorPrompt::prompt()
{
    QFETCH(int, loginStatus);
    QFETCH(int, type);
    QFETCH(QString, action);
    QFETCH(int, code);
    QFETCH(QString, msg);
    QFETCH(bool, endsSignIn);
    QFETCH(QString, text);

    KDError err;
    err.type = type;
    err.action = action.toStdString();
    err.code = code;
    err.msg = msg.toStdString();
    const CMainDlgManager::ErrorPrompt prompt =
        CMainDlgManager::getInstance()->errorPrompt(err, LoginStatus(loginStatus));
    QCOMPARE(prompt.bShown, !text.isEmpty());
    QCOMPARE(prompt.qstrText, text);
    QCOMPARE(prompt.bEndsSignIn, endsSignIn);
}

QTEST_MAIN(TestErrorPrompt)
#include "tst_errorprompt.moc"
