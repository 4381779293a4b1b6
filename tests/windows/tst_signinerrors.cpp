#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QtTest>

#include "statewait.h"
#include "alertanswerer.h"
#include "cconfserver.h"
#include "cconfstore.h"
#include "closedport.h"
#include "helpers/cuserconfigutils.h"
#include "models/cloginmanager.h"
#include "selfsignedcert.h"
#include "views/base/cwaitingdlg.h"
#include "views/login/clogindlg.h"
#include "views/login/clogininfoform.h"
#include "windowstestenv.h"

using confserver::CConfServer;
using confserver::CConfStore;
using kd_app::helpers::CUserConfigUtils;
using kd_app::models::CLoginManager;
using kd_app::views::CLoginDlg;
using kd_app::views::CWaitingDlg;
using namespace kd_app::enums;

namespace {

const QByteArray kSeed = R"({
    "users": [
        {"id": 1, "name": "alice", "password": "Alice2026!", "displayName": "Alice Archer"},
        {"id": 2, "name": "dora", "password": "Dora2026!", "displayName": "Dora", "accountState": "locked"}
    ]
})";

} // namespace

// Signing in through the real login window against the local conference
// server, when it fails: the words the user reads, the window back at its
// form, and nothing remembered that only a successful sign-in keeps.
class TestSignInErrors : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void failedSignIn_data();
    void failedSignIn();

private:
    CLoginDlg *loginDlg() const { return CLoginDlg::getInstance(); }

    QTemporaryDir m_tls;
    CConfStore m_store;
    std::unique_ptr<CConfServer> m_http;
    std::unique_ptr<CConfServer> m_untrusted;
    CWindowsTestEnv m_env;
};

void TestSignInErrors::initTestCase()
{
    QString error;
    QVERIFY2(m_store.loadSeed(kSeed, &error), qPrintable(error));
    m_http = std::make_unique<CConfServer>(m_store);
    QVERIFY(m_http->start());
    const QString cert = m_tls.filePath("server.pem");
    const QString key = m_tls.filePath("server.key");
    QVERIFY(makeSelfSignedPair(cert, key));
    m_untrusted = std::make_unique<CConfServer>(m_store, true, cert.toStdString(), key.toStdString());
    QVERIFY(m_untrusted->start());
    QVERIFY(m_env.start());
}

void TestSignInErrors::failedSignIn_data()
{
    QTest::addColumn<QString>("server");
    QTest::addColumn<QString>("port"); // "http", "https" or "closed"
    QTest::addColumn<QString>("account");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("text");

    QTest::newRow("wrong password") << "127.0.0.1"
                                    << "http"
                                    << "alice"
                                    << "alice2026!"
                                    << "Invalid username or password.";
    QTest::newRow("locked account") << "127.0.0.1"
                                    << "http"
                                    << "dora"
                                    << "Dora2026!"
                                    << "Account is locked(2010).";
    QTest::newRow("server not listening") << "127.0.0.1"
                                          << "closed"
                                          << "alice"
                                          << "Alice2026!"
                                          << "Server unreachable, please try again later(8).";
    // Two dots, so the name is taken as typed.
    QTest::newRow("unresolvable name")
        << "no-such-host.example.invalid"
        << "http"
        << "alice"
        << "Alice2026!"
        << "Failed to resolve domain, please check if the domain service setting is correct(16).";
    QTest::newRow("untrusted certificate")
        << "127.0.0.1"
        << "https"
        << "alice"
        << "Alice2026!"
        << "SDK error, type: 5, code: 901, msg: The server's certificate is not trusted: self-signed certificate.";
}

void TestSignInErrors::failedSignIn()
{
    QFETCH(QString, server);
    QFETCH(QString, port);
    QFETCH(QString, account);
    QFETCH(QString, password);
    QFETCH(QString, text);

    CUserConfigUtils *config = CUserConfigUtils::getInstance();
    config->setRememberMe(true);
    config->setUseHttps(false);
    CLoginManager &login = CLoginManager::getInstance();
    QVERIFY(login.getLoginStatus() == NotLogin || login.getLoginStatus() == LoginFailed);

    QWidget *form = loginDlg()->loginForm();
    child<QCheckBox>(form, "m_pChkBoxUseHttps")->setChecked(port == "https");
    const int portNumber = port == "closed" ? closedPort() : (port == "https" ? m_untrusted : m_http)->port();
    child<QLineEdit>(form, "m_pEditServer")->setText(server);
    child<QLineEdit>(form, "m_pEditPort")->setText(QString::number(portNumber));
    child<QLineEdit>(form, "m_pEditAccount")->setText(account);
    child<QLineEdit>(form, "m_pEditPassword")->setText(password);

    CAlertAnswerer answerer(QMessageBox::Ok, 3);
    child<QPushButton>(form, "m_pBtnLogin")->click();
    QCOMPARE(login.getLoginStatus(), LoggingIn);

    QTRY_COMPARE_WITH_TIMEOUT(answerer.answered(), 1, kdtest::kStateWaitMs);
    QCOMPARE(answerer.texts().first(), text);
    // Back at the form, ready for the next try.
    QCOMPARE(login.getLoginStatus(), LoginFailed);
    QVERIFY(loginDlg()->isVisible());
    QVERIFY(!CWaitingDlg::getInstance()->isVisible());
    QCOMPARE(child<QStackedWidget>(loginDlg(), "m_pStackedWgtContent")->currentWidget(), form);
    QVERIFY(child<QPushButton>(form, "m_pBtnLogin")->isEnabled());
    // Only a successful sign-in is remembered.
    QVERIFY(config->getIp().isEmpty());
    QVERIFY(config->getUser().isEmpty());
    QVERIFY(config->getPassword().isEmpty());
    QCOMPARE(config->getPort(), 0);
    QVERIFY(!config->isUseHttps());
    // One box, and no second one for the same failure.
    QTest::qWait(200);
    QCOMPARE(answerer.answered(), 1);
}

QTEST_MAIN(TestSignInErrors)
#include "tst_signinerrors.moc"
