#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QtTest>

#include "statewait.h"
#include "alertanswerer.h"
#include "cconfserver.h"
#include "cconfstore.h"
#include "custom_controls/cclickedlabel.h"
#include "helpers/cuserconfigutils.h"
#include "models/ccallcontroller.h"
#include "models/cloginmanager.h"
#include "views/call/clayoutbackgrounddlg.h"
#include "views/call/clayoutpeoplesettingdlg.h"
#include "views/call/toolbar/clayouttoolbardlg.h"
#include "views/home/chomedlg.h"
#include "views/login/cloginchangepasswordform.h"
#include "views/login/clogindlg.h"
#include "views/login/clogininfoform.h"
#include "views/login/cloginjoinconfform.h"
#include "views/profile/cmypassworddlg.h"
#include "windowstestenv.h"

using confserver::CConfServer;
using confserver::CConfStore;
using kd_app::helpers::CUserConfigUtils;
using kd_app::models::CCallController;
using kd_app::models::CLoginManager;
using kd_app::views::CHomeDlg;
using kd_app::views::CLayoutBackgroundDlg;
using kd_app::views::CLayoutToolbarDlg;
using kd_app::views::CLoginDlg;
using namespace kd_app::enums;

namespace {

const QByteArray kSeed = R"({
    "organisation": {"companyShortName": "Harbour", "appServerType": "UCM", "enableChangePassword": true},
    "users": [
        {"id": 1, "name": "alice", "password": "Alice2026!", "displayName": "Alice Archer"},
        {"id": 2, "name": "cleo", "password": "Cleo2026!", "displayName": "Cleo Cruz", "passwordModifiedByUser": false}
    ],
    "meetings": [
        {"id": 1, "numericId": 70001, "name": "Standup", "startInMinutes": -5, "status": "ONGOING",
         "applicantId": 1, "userIds": [1, 2], "participants": [{"userId": 2}]}
    ]
})";

const QString kPortMessage = QStringLiteral("The value of port can only be number from 1 to 65535.");

void setText(QWidget *form, const char *name, const QString &text)
{
    child<QLineEdit>(form, name)->setText(text);
}

// Clicks the button, or presses Return in the named field.
void trigger(QWidget *form, const QString &how, const char *button)
{
    if (how == QLatin1String("button")) {
        child<QPushButton>(form, button)->click();
        return;
    }
    QTest::keyClick(child<QLineEdit>(form, how.toLatin1().constData()), Qt::Key_Return);
}

} // namespace

// The three pages of the login window: what they refuse, and signing in,
// joining as a guest and changing a password on a real server.
class TestLoginForms : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void formsShowTheSavedSettings();
    void httpsBoxRewritesThePort();
    void loginFormChecks_data();
    void loginFormChecks();
    void guestFormChecks_data();
    void guestFormChecks();
    void signInAndOut();
    void guestJoinsAndHangsUp();
    void forcedPasswordChange();
    void passwordChangedWhileSignedIn_data();
    void passwordChangedWhileSignedIn();

private:
    CLoginDlg *loginDlg() const { return CLoginDlg::getInstance(); }
    QWidget *currentPage() const { return child<QStackedWidget>(loginDlg(), "m_pStackedWgtContent")->currentWidget(); }
    void waitUntilSettled();
    void fillLogin(const QString &user, const QString &password);

    CConfStore m_store;
    std::unique_ptr<CConfServer> m_server;
    CWindowsTestEnv m_env;
};

void TestLoginForms::initTestCase()
{
    QString error;
    QVERIFY2(m_store.loadSeed(kSeed, &error), qPrintable(error));
    m_server = std::make_unique<CConfServer>(m_store);
    QVERIFY(m_server->start());
    QVERIFY(m_env.start());
}

// Lets a sign-in or join that a case started end before the next case.
void TestLoginForms::waitUntilSettled()
{
    QTRY_VERIFY_WITH_TIMEOUT(CLoginManager::getInstance().getLoginStatus() != LoggingIn &&
                                 CLoginManager::getInstance().getLoginStatus() != AnonymousLoggingIn, kdtest::kStateWaitMs);
    QTRY_VERIFY_WITH_TIMEOUT(CCallController::getInstance().getCallStatus() == Idle ||
                                 CCallController::getInstance().getCallStatus() == Ended, kdtest::kStateWaitMs);
}

void TestLoginForms::init()
{
    waitUntilSettled();
    if (CLoginManager::getInstance().getLoginStatus() != NotLogin) {
        CLoginManager::getInstance().logout();
    }
    CLoginManager::getInstance().setLoginProgress(Login);
    QVERIFY(loginDlg()->isVisible());
}

void TestLoginForms::fillLogin(const QString &user, const QString &password)
{
    QWidget *form = loginDlg()->loginForm();
    child<QCheckBox>(form, "m_pChkBoxUseHttps")->setChecked(false);
    setText(form, "m_pEditServer", QStringLiteral("127.0.0.1"));
    setText(form, "m_pEditPort", QString::number(m_server->port()));
    setText(form, "m_pEditAccount", user);
    setText(form, "m_pEditPassword", password);
}

void TestLoginForms::formsShowTheSavedSettings()
{
    CUserConfigUtils *config = CUserConfigUtils::getInstance();
    config->setIp(QStringLiteral("conf.example"));
    config->setPort(8443);
    config->setUseHttps(false);
    config->setUser(QStringLiteral("ann"));
    config->setJoinConfServerAddress(QStringLiteral("sip.example:5061"));
    config->setJoinConfNumber(QStringLiteral("4001"));
    config->setJoinConfDisplayName(QStringLiteral("Ann"));
    config->setJoinConfPassword(QStringLiteral("pw"));
    loginDlg()->loginForm()->refreshData();
    loginDlg()->joinConfForm()->refreshData();

    QWidget *login = loginDlg()->loginForm();
    QCOMPARE(child<QLineEdit>(login, "m_pEditServer")->text(), QString("conf.example"));
    QCOMPARE(child<QLineEdit>(login, "m_pEditPort")->text(), QString("8443"));
    QCOMPARE(child<QLineEdit>(login, "m_pEditAccount")->text(), QString("ann"));
    QVERIFY(!child<QCheckBox>(login, "m_pChkBoxUseHttps")->isChecked());
    QWidget *guest = loginDlg()->joinConfForm();
    QCOMPARE(child<QLineEdit>(guest, "m_pEditServer")->text(), QString("sip.example:5061"));
    QCOMPARE(child<QLineEdit>(guest, "m_pEditConfNumber")->text(), QString("4001"));
    QCOMPARE(child<QLineEdit>(guest, "m_pEditDisplayName")->text(), QString("Ann"));
    QCOMPARE(child<QLineEdit>(guest, "m_pEditPassword")->text(), QString("pw"));
}

void TestLoginForms::httpsBoxRewritesThePort()
{
    QWidget *form = loginDlg()->loginForm();
    child<QCheckBox>(form, "m_pChkBoxMore")->setChecked(true);
    QCheckBox *https = child<QCheckBox>(form, "m_pChkBoxUseHttps");
    https->setChecked(false);
    setText(form, "m_pEditPort", QStringLiteral("8080"));
    QTest::mouseClick(https, Qt::LeftButton, {}, QPoint(5, https->height() / 2));
    QCOMPARE(child<QLineEdit>(form, "m_pEditPort")->text(), QString("443"));
    QTest::mouseClick(https, Qt::LeftButton, {}, QPoint(5, https->height() / 2));
    QCOMPARE(child<QLineEdit>(form, "m_pEditPort")->text(), QString("80"));
    child<QCheckBox>(form, "m_pChkBoxMore")->setChecked(false);
}

void TestLoginForms::loginFormChecks_data()
{
    QTest::addColumn<QString>("server");
    QTest::addColumn<QString>("account");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("port"); // "server": the test server's port
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("signsIn");
    QTest::addColumn<QString>("message");

    QTest::newRow("empty server") << ""
                                  << "alice"
                                  << "x"
                                  << "server"
                                  << "button" << false << "";
    QTest::newRow("empty account") << "127.0.0.1"
                                   << ""
                                   << "x"
                                   << "server"
                                   << "button" << false << "";
    QTest::newRow("empty password") << "127.0.0.1"
                                    << "alice"
                                    << ""
                                    << "server"
                                    << "button" << false << "";
    QTest::newRow("port 0") << "127.0.0.1"
                            << "alice"
                            << "x"
                            << "0"
                            << "button" << false << kPortMessage;
    QTest::newRow("port 65536") << "127.0.0.1"
                                << "alice"
                                << "x"
                                << "65536"
                                << "button" << false << kPortMessage;
    QTest::newRow("port -1") << "127.0.0.1"
                             << "alice"
                             << "x"
                             << "-1"
                             << "button" << false << kPortMessage;
    QTest::newRow("port 80a") << "127.0.0.1"
                              << "alice"
                              << "x"
                              << "80a"
                              << "button" << false << kPortMessage;
    QTest::newRow("port with blanks") << "127.0.0.1"
                                      << "alice"
                                      << "x"
                                      << " server "
                                      << "button" << true << "";
    QTest::newRow("no port") << "127.0.0.1"
                             << "alice"
                             << "x"
                             << ""
                             << "button" << true << "";
    QTest::newRow("Return in server") << "127.0.0.1"
                                      << "alice"
                                      << "x"
                                      << "server"
                                      << "m_pEditServer" << true << "";
    QTest::newRow("Return in account") << "127.0.0.1"
                                       << "alice"
                                       << "x"
                                       << "server"
                                       << "m_pEditAccount" << true << "";
    QTest::newRow("Return in password") << "127.0.0.1"
                                        << "alice"
                                        << "x"
                                        << "server"
                                        << "m_pEditPassword" << true << "";
    QTest::newRow("Return in port") << "127.0.0.1"
                                    << "alice"
                                    << "x"
                                    << "server"
                                    << "m_pEditPort" << true << "";
}

void TestLoginForms::loginFormChecks()
{
    QFETCH(QString, server);
    QFETCH(QString, account);
    QFETCH(QString, password);
    QFETCH(QString, port);
    QFETCH(QString, how);
    QFETCH(bool, signsIn);
    QFETCH(QString, message);

    QWidget *form = loginDlg()->loginForm();
    setText(form, "m_pEditServer", server);
    setText(form, "m_pEditAccount", account);
    setText(form, "m_pEditPassword", password);
    setText(form, "m_pEditPort", QString(port).replace("server", QString::number(m_server->port())));
    QSignalSpy statuses(&CLoginManager::getInstance(), &CLoginManager::loginStatusChanged);
    CAlertAnswerer answerer(QMessageBox::Ok, 5);
    trigger(form, how, "m_pBtnLogin");

    if (!message.isEmpty()) {
        QTRY_COMPARE(answerer.answered(), 1);
        QCOMPARE(answerer.texts().first(), message);
    }
    QCOMPARE(!statuses.isEmpty() && statuses.first().first().value<LoginStatus>() == LoggingIn, signsIn);
    if (signsIn) {
        // The attempt fails (no such password, or HTTPS against a plain server).
        QTRY_COMPARE_WITH_TIMEOUT(CLoginManager::getInstance().getLoginStatus(), LoginFailed, kdtest::kStateWaitMs);
        QVERIFY(!answerer.texts().contains(kPortMessage));
    } else {
        QCOMPARE(CLoginManager::getInstance().getLoginStatus(), NotLogin);
    }
}

void TestLoginForms::guestFormChecks_data()
{
    QTest::addColumn<QString>("server");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("displayName");
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("joins");
    QTest::addColumn<QString>("message");

    const QString tooLong = QStringLiteral("The length of username can not exceed 16.");
    const QString badChar = QStringLiteral("The username can not contain \", <, >.");
    QTest::newRow("empty server") << ""
                                  << "99999"
                                  << "Guest"
                                  << "button" << false << "";
    QTest::newRow("empty number") << "server"
                                  << ""
                                  << "Guest"
                                  << "button" << false << "";
    QTest::newRow("empty name") << "server"
                                << "99999"
                                << ""
                                << "button" << false << "The username can not be empty.";
    QTest::newRow("16 characters") << "server"
                                   << "99999" << QString(16, 'g') << "button" << true << "";
    QTest::newRow("17 characters") << "server"
                                   << "99999" << QString(17, 'g') << "button" << false << tooLong;
    QTest::newRow("quote") << "server"
                           << "99999"
                           << "Ann \"A\""
                           << "button" << false << badChar;
    QTest::newRow("less-than") << "server"
                               << "99999"
                               << "a<b"
                               << "button" << false << badChar;
    QTest::newRow("greater-than") << "server"
                                  << "99999"
                                  << ">"
                                  << "button" << false << badChar;
    QTest::newRow("length before characters") << "server"
                                              << "99999" << QString(19, 'g') + "<"
                                              << "button" << false << tooLong;
    QTest::newRow("blanks only") << "server"
                                 << "99999"
                                 << "   "
                                 << "button" << true << "";
    QTest::newRow("other characters") << "server"
                                      << "99999"
                                      << "Zoë & 张 'x'"
                                      << "button" << true << "";
    QTest::newRow("Return in server") << "server"
                                      << "99999"
                                      << "Guest"
                                      << "m_pEditServer" << true << "";
    QTest::newRow("Return in number") << "server"
                                      << "99999"
                                      << "Guest"
                                      << "m_pEditConfNumber" << false << "";
    QTest::newRow("Return in name") << "server"
                                    << "99999"
                                    << "Guest"
                                    << "m_pEditDisplayName" << false << "";
}

void TestLoginForms::guestFormChecks()
{
    QFETCH(QString, server);
    QFETCH(QString, number);
    QFETCH(QString, displayName);
    QFETCH(QString, how);
    QFETCH(bool, joins);
    QFETCH(QString, message);

    CLoginManager::getInstance().setLoginProgress(JoinConf);
    QWidget *form = loginDlg()->joinConfForm();
    QCOMPARE(currentPage(), form);
    CUserConfigUtils::getInstance()->setJoinConfDisplayName(QStringLiteral("before"));
    setText(form, "m_pEditServer", server == "server" ? QStringLiteral("127.0.0.1:%1").arg(m_server->port()) : "");
    setText(form, "m_pEditConfNumber", number);
    setText(form, "m_pEditDisplayName", displayName);
    setText(form, "m_pEditPassword", QString());
    QSignalSpy statuses(&CLoginManager::getInstance(), &CLoginManager::loginStatusChanged);
    CAlertAnswerer answerer(QMessageBox::Ok, 5);
    trigger(form, how, "m_bBtnJoinConf");

    if (!message.isEmpty()) {
        QTRY_COMPARE(answerer.answered(), 1);
        QCOMPARE(answerer.texts().first(), message);
    }
    QCOMPARE(!statuses.isEmpty() && statuses.first().first().value<LoginStatus>() == AnonymousLoggingIn, joins);
    // What was joined with is remembered for the next time, and only then.
    QCOMPARE(CUserConfigUtils::getInstance()->getJoinConfDisplayName(), joins ? displayName : QString("before"));
}

void TestLoginForms::signInAndOut()
{
    fillLogin(QStringLiteral("alice"), QStringLiteral("Alice2026!"));
    child<QPushButton>(loginDlg()->loginForm(), "m_pBtnLogin")->click();
    QTRY_COMPARE_WITH_TIMEOUT(CLoginManager::getInstance().getLoginStatus(), LoggedIn, kdtest::kStateWaitMs);
    QVERIFY(CHomeDlg::getInstance()->isVisible());
    QVERIFY(!loginDlg()->isVisible());

    // A signed-in user signs out through the profile card; the program does the same.
    CLoginManager::getInstance().logout();
    QCOMPARE(CLoginManager::getInstance().getLoginStatus(), NotLogin);
    QVERIFY(loginDlg()->isVisible());
    QVERIFY(!CHomeDlg::getInstance()->isVisible());
}

void TestLoginForms::guestJoinsAndHangsUp()
{
    QTest::mouseClick(child<kd_app::custom_controls::CClickedLabel>(loginDlg()->loginForm(), "m_pLblGuestJoinMeeting"),
                      Qt::LeftButton);
    QWidget *form = loginDlg()->joinConfForm();
    QCOMPARE(currentPage(), form);
    setText(form, "m_pEditServer", QStringLiteral("127.0.0.1:%1").arg(m_server->port()));
    setText(form, "m_pEditConfNumber", QStringLiteral("70001"));
    setText(form, "m_pEditDisplayName", QStringLiteral("Guest One"));
    child<QPushButton>(form, "m_bBtnJoinConf")->click();

    QTRY_COMPARE_WITH_TIMEOUT(CCallController::getInstance().getCallStatus(), Connected, kdtest::kStateWaitMs);
    CLayoutBackgroundDlg *call = CLayoutBackgroundDlg::getInstance();
    QVERIFY(call->isVisible());
    QVERIFY(!loginDlg()->isVisible());

    // The call window's toolbar hangs up, once the user confirms leaving.
    auto *toolbar = qobject_cast<CLayoutToolbarDlg *>(call->getLayoutPeopleSettingDlg()->getToolbarDlg());
    QVERIFY(toolbar);
    qobject_cast<QPushButton *>(toolbar->button("m_pBtnHangup"))->click();
    QPointer<kd_app::views::AlertDlg> confirmation = toolbar->leaveConfirmation();
    QVERIFY(confirmation && confirmation->isVisible());
    child<QPushButton>(confirmation, "m_button1")->click();
    QTRY_COMPARE_WITH_TIMEOUT(CCallController::getInstance().getCallStatus(), Ended, kdtest::kStateWaitMs);
    QTRY_VERIFY(loginDlg()->isVisible());
    QVERIFY(!call->isVisible());
}

void TestLoginForms::forcedPasswordChange()
{
    fillLogin(QStringLiteral("cleo"), QStringLiteral("Cleo2026!"));
    child<QPushButton>(loginDlg()->loginForm(), "m_pBtnLogin")->click();
    QTRY_COMPARE_WITH_TIMEOUT(CLoginManager::getInstance().getLoginStatus(), NeedChangePassword, kdtest::kStateWaitMs);
    QWidget *form = loginDlg()->changePasswordForm();
    QCOMPARE(currentPage(), form);
    QVERIFY(loginDlg()->isVisible());
    QVERIFY(child<QLineEdit>(form, "m_pEditPassword")->text().isEmpty());

    const struct
    {
        const char *password;
        const char *confirmation;
        QString message;
    } refused[] = {
        {"Cleo2027!", "cleo2027!", "Confirm Password is not consistent with New Password."},
        {"Seventeen-chars-x", "Seventeen-chars-x",
         "The password length is 4-16 characters\nThe following special characters can be input "
         "!\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~\nPlease input at least 1 combinations by upper case letters, numbers "
         "and special characters"},
        {"Cleo2026!", "Cleo2026!", "The new and old password is the same."},
    };
    for (const auto &attempt : refused) {
        setText(form, "m_pEditPassword", attempt.password);
        setText(form, "m_pEditConfirmPassword", attempt.confirmation);
        CAlertAnswerer answerer(QMessageBox::Ok);
        child<QPushButton>(form, "m_pBtnNext")->click();
        QTRY_COMPARE(answerer.answered(), 1);
        QCOMPARE(answerer.texts().first(), attempt.message);
        QCOMPARE(CLoginManager::getInstance().getLoginStatus(), NeedChangePassword);
    }

    setText(form, "m_pEditPassword", QStringLiteral("Cleo2027!"));
    setText(form, "m_pEditConfirmPassword", QStringLiteral("Cleo2027!"));
    child<QPushButton>(form, "m_pBtnNext")->click();
    QCOMPARE(CLoginManager::getInstance().getLoginStatus(), LoggedIn);
    QCOMPARE(CLoginManager::getInstance().getPassword(), QStringLiteral("Cleo2027!"));
    QTRY_VERIFY(CHomeDlg::getInstance()->isVisible());

    // The server took it: the new password signs in.
    CLoginManager::getInstance().logout();
    fillLogin(QStringLiteral("cleo"), QStringLiteral("Cleo2027!"));
    child<QPushButton>(loginDlg()->loginForm(), "m_pBtnLogin")->click();
    QTRY_COMPARE_WITH_TIMEOUT(CLoginManager::getInstance().getLoginStatus(), LoggedIn, kdtest::kStateWaitMs);
}

void TestLoginForms::passwordChangedWhileSignedIn_data()
{
    QTest::addColumn<bool>("remembered");
    QTest::addColumn<QString>("offered");
    QTest::newRow("remembered") << true << QStringLiteral("NewPass2026!");
    QTest::newRow("not remembered") << false << QString();
}

void TestLoginForms::passwordChangedWhileSignedIn()
{
    QFETCH(bool, remembered);
    QFETCH(QString, offered);
    QVERIFY(m_store.loadSeed(kSeed));
    CUserConfigUtils::getInstance()->setRememberMe(remembered);
    fillLogin(QStringLiteral("alice"), QStringLiteral("Alice2026!"));
    child<QPushButton>(loginDlg()->loginForm(), "m_pBtnLogin")->click();
    QTRY_COMPARE_WITH_TIMEOUT(CLoginManager::getInstance().getLoginStatus(), LoggedIn, kdtest::kStateWaitMs);

    // The profile's password dialog, as the user fills it in.
    {
        CAlertAnswerer answerer(QMessageBox::Ok);
        kd_app::views::CMyPasswordDlg dialog(nullptr);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        setText(&dialog, "m_LEtOldPassword", QStringLiteral("Alice2026!"));
        setText(&dialog, "m_LEtNewPassword", QStringLiteral("NewPass2026!"));
        setText(&dialog, "m_LEtConfirmPassword", QStringLiteral("NewPass2026!"));
        child<QPushButton>(&dialog, "m_pBtnOK")->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }
    CLoginManager::getInstance().logout();
    QTRY_VERIFY(loginDlg()->isVisible());
    QLineEdit *password = child<QLineEdit>(loginDlg()->loginForm(), "m_pEditPassword");
    QCOMPARE(password->text(), offered);

    if (!remembered) {
        password->setText(QStringLiteral("NewPass2026!"));
    }
    child<QPushButton>(loginDlg()->loginForm(), "m_pBtnLogin")->click();
    QTRY_COMPARE_WITH_TIMEOUT(CLoginManager::getInstance().getLoginStatus(), LoggedIn, kdtest::kStateWaitMs);
    CLoginManager::getInstance().logout();
    CUserConfigUtils::getInstance()->setRememberMe(true);
    QVERIFY(m_store.loadSeed(kSeed));
}

QTEST_MAIN(TestLoginForms)
#include "tst_loginforms.moc"
