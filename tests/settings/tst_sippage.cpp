#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTableWidget>
#include <QtTest>

#include "statewait.h"
#include "../engine/clogcapture.h"
#include "alertanswerer.h"
#include "cconfserver.h"
#include "cconfstore.h"
#include "settingsfixture.h"

using confserver::CConfServer;
using confserver::CConfStore;
using kd_app::helpers::CUserConfigUtils;
using kd_app::views::CSettingsForm;
using settingstest::child;
using settingstest::operations;

namespace {

const QByteArray kSeed = R"({"users": [{"id": 1, "name": "alice", "password": "Alice2026!", "displayName": "Alice",
    "sipUserName": "6001", "sipAuthName": "6001", "sipPassword": "Sip6001!"}]})";

} // namespace

// The SIP page of a guest: what may be typed, what Save stores, and that the
// saved account registers with the server it names.
class TestSipPage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void screenNameValidator_data();
    void screenNameValidator();
    void registrationNeedsAServer();
    void saveStoresTrimmedTexts();
    void saveRegistersWithTheServer_data();
    void saveRegistersWithTheServer();

private:
    QLineEdit *edit(const char *name) const { return child<QLineEdit>(m_form.get(), name); }
    void fill(const QString &server, const QString &user, const QString &password);

    QTemporaryDir m_dir;
    CConfStore m_store;
    std::unique_ptr<CConfServer> m_server;
    kd::sdk::IEngineControl *m_control = nullptr;
    std::unique_ptr<CSettingsForm> m_form;
};

void TestSipPage::initTestCase()
{
    QVERIFY(m_store.loadSeed(kSeed));
    m_server = std::make_unique<CConfServer>(m_store);
    QVERIFY(m_server->start());
    m_control = settingstest::startClient(m_dir);
    QVERIFY(m_control);
    QVERIFY(kd_app::models::CKDSdkManager::getInstance()->enableSecure(false));
}

void TestSipPage::init()
{
    m_form = std::make_unique<CSettingsForm>(nullptr);
    m_form->updateDpi(1.0);
    m_form->setSipPageVisible(true);
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    QCOMPARE(child<QListWidget>(m_form.get(), "lvSettingsEntrances")->currentRow(), int(CSettingsForm::SipPage));
    m_control->clearOperations();
}

void TestSipPage::cleanup()
{
    m_form.reset();
}

void TestSipPage::fill(const QString &server, const QString &user, const QString &password)
{
    auto *registration = child<QCheckBox>(m_form.get(), "radio_SIPRegistration");
    if (!registration->isChecked()) {
        registration->click();
    }
    edit("lineedit_screenname")->setText(QStringLiteral("Guest"));
    edit("lineedit_SIPserver")->setText(server);
    edit("lineedit_SIPusername")->setText(user);
    edit("lineedit_SIPpassword")->setText(password);
}

void TestSipPage::screenNameValidator_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");

    QTest::newRow("64 characters") << QString(64, 'a') << QString(64, 'a');
    QTest::newRow("65 characters") << QString(65, 'a') << QString(64, 'a');
    QTest::newRow("plus") << "Ann+Bob"
                          << "AnnBob";
    QTest::newRow("quote and angles") << "A\"<b>"
                                      << "Ab";
}

void TestSipPage::screenNameValidator()
{
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    QLineEdit *name = edit("lineedit_screenname");
    name->clear();
    name->setFocus();
    QTest::keyClicks(name, typed);
    QCOMPARE(name->text(), kept);
}

void TestSipPage::registrationNeedsAServer()
{
    CUserConfigUtils::getInstance()->setProxyServerAddress(QStringLiteral("before.example"));
    m_form->loadSipSettings();
    fill(QStringLiteral("   "), QStringLiteral("6001"), QStringLiteral("Sip6001!"));
    CAlertAnswerer answerer(QMessageBox::Ok);
    child<QPushButton>(m_form.get(), "pbt_SIPSave")->click();
    QCOMPARE(answerer.texts(), QStringList{"Input Server Address"});
    QCOMPARE(CUserConfigUtils::getInstance()->getProxyServerAddress(), QString("before.example"));
    QCOMPARE(edit("lineedit_SIPusername")->text(), QString("6001"));
    QVERIFY(operations(m_control, "registerSIPServer").isEmpty());
}

void TestSipPage::saveStoresTrimmedTexts()
{
    fill(QStringLiteral("  sip.invalid:5060 "), QStringLiteral(" 6001"), QStringLiteral("Sip6001! "));
    // Typed, but not shown to whoever looks at the screen.
    QVERIFY(!edit("lineedit_SIPpassword")->displayText().contains(QStringLiteral("Sip6001")));
    QVERIFY(m_form->isSipSettingsChanged());
    CAlertAnswerer answerer(QMessageBox::Ok, 2);
    child<QPushButton>(m_form.get(), "pbt_SIPSave")->click();
    QCOMPARE(answerer.texts().value(0), QString("Saved Successfully!"));
    CUserConfigUtils &config = *CUserConfigUtils::getInstance();
    QCOMPARE(config.getProxyServerAddress(), QString("sip.invalid:5060"));
    QCOMPARE(config.getAuthenticationUserName(), QString("6001"));
    QCOMPARE(config.getAuthenticationPassword(), QString("Sip6001!"));
    QVERIFY(config.isEnableRegistration());
    // The fields keep what was typed, and that counts as saved.
    QCOMPARE(edit("lineedit_SIPserver")->text(), QString("  sip.invalid:5060 "));
    QVERIFY(!m_form->isSipSettingsChanged());
    const QStringList calls = operations(m_control, "registerSIPServer");
    QCOMPARE(calls, QStringList{"registerSIPServer(sip.invalid:5060,Guest,6001,TCP)"});

    // Registration off: the account works without a server.
    child<QCheckBox>(m_form.get(), "radio_SIPRegistration")->click();
    m_control->clearOperations();
    child<QPushButton>(m_form.get(), "pbt_SIPSave")->click();
    QVERIFY(!config.isEnableRegistration());
    QVERIFY(operations(m_control, "registerSIPServer").value(0).startsWith("registerSIPServer(,Guest,"));
}

void TestSipPage::saveRegistersWithTheServer_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<int>("status");
    QTest::newRow("right password") << "Sip6001!" << 1;
    QTest::newRow("wrong password") << "Wrong-Sip-9" << 5;
}

// Save applies the account at once; the engine's registration row tells the
// outcome. The password is stored but no log line, the engine's included,
// ever holds it.
void TestSipPage::saveRegistersWithTheServer()
{
    QFETCH(QString, password);
    QFETCH(int, status);
    CLogCapture log;
    fill(QStringLiteral("127.0.0.1:%1").arg(m_server->port()), QStringLiteral("6001"), password);
    CAlertAnswerer answerer(QMessageBox::Ok);
    child<QPushButton>(m_form.get(), "pbt_SIPSave")->click();
    QTRY_COMPARE_WITH_TIMEOUT(m_store.isSipRegistered("6001"), status == 1, kdtest::kStateWaitMs);
    QTRY_COMPARE_WITH_TIMEOUT(kd_app::models::CKDSdkManager::getInstance()->getDiag().items[2].status, status, kdtest::kStateWaitMs);
    QCOMPARE(CUserConfigUtils::getInstance()->getAuthenticationPassword(), password);
    QVERIFY(log.contains("registerSIPServer"));
    const QStringList leaks = log.all().filter(password);
    QVERIFY2(leaks.isEmpty(), qPrintable(leaks.join('\n')));
}

QTEST_MAIN(TestSipPage)
#include "tst_sippage.moc"
