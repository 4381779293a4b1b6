#include <memory>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include "statewait.h"
#include "alertanswerer.h"
#include "cconfserver.h"
#include "cconfstore.h"
#include "helpers/cappconfigutils.h"
#include "ownxvfb.h"
#include "promptdragrows.h"
#include "settingsfixture.h"
#include "views/upgrade/cdownloadthread.h"
#include "views/upgrade/cupdatemessagewidget.h"
#include "xdoinput.h"

using confserver::CConfServer;
using confserver::CConfStore;
using kd_app::helpers::CAppConfigUtils;
using kd_app::helpers::CUserConfigUtils;
using kd_app::views::CDownloadThread;
using kd_app::views::CSettingsForm;
using kd_app::views::CUpdateMessageWidget;
using settingstest::child;

namespace {

const QByteArray kSeed = R"({
    "organisation": {"companyShortName": "Harbour", "appServerType": "UCM"},
    "users": [{"id": 1, "name": "alice", "password": "Alice2026!", "displayName": "Alice Archer"}]
})";

CUpdateMessageWidget *prompt()
{
    return CDownloadThread::getInstance()->updateMessageWidget();
}

QPushButton *promptButton(const char *name)
{
    return child<QPushButton>(prompt(), name);
}

} // namespace

// The upgrade on a real X server, by mouse: the About page's "Check for
// Updates", the prompt's buttons through a download to Yes and No, and
// dragging the prompt.
class TestUpgradeByHand : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void checkForUpdatesEntry_data();
    void checkForUpdatesEntry();
    void downloadThenYesWithoutAnOpener();
    void dragsByTheTitleBarOnly_data();
    void dragsByTheTitleBarOnly();

private:
    // Presses "Check for Updates" and waits for the prompt; false without one.
    bool offerByTheEntry();

    QTemporaryDir m_dir;
    CConfStore m_store;
    std::unique_ptr<CConfServer> m_server;
    std::unique_ptr<CAppConfigUtils> m_appConfig;
    std::unique_ptr<CSettingsForm> m_form;
    QByteArray m_package;
};

void TestUpgradeByHand::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(QDir().mkpath(m_dir.filePath("tmp")));
    qputenv("TMPDIR", QFile::encodeName(m_dir.filePath("tmp")));
    // The user's download folder is this test's.
    qputenv("HOME", QFile::encodeName(m_dir.filePath("home")));
    QVERIFY(m_store.loadSeed(kSeed));
    m_server = std::make_unique<CConfServer>(m_store, true);
    QVERIFY(m_server->start());
    QVERIFY(settingstest::startClient(m_dir));
    // Only the download's size and checksum matter here, not that it is a package.
    m_package.resize(64 * 1024);
    for (char &byte : m_package) {
        byte = char(QRandomGenerator::global()->generate());
    }
    // The app-info form, so that no sign-in is needed.
    const QString config = m_dir.filePath("app-config.ini");
    QFile file(config);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QStringLiteral("[Config]\nSoftwareUpdateAddress=https://127.0.0.1:%1/appinfo\n"
                              "SoftwareUpdateFlag=stable\nSoftwareUpdateBundleId=org.parvela\n"
                              "SoftwareUpdateAppInfo=desktop\n")
                   .arg(m_server->port())
                   .toUtf8());
    file.close();
    m_appConfig = std::make_unique<CAppConfigUtils>(config);
    CDownloadThread::getInstance()->setAppConfig(m_appConfig.get());
}

void TestUpgradeByHand::cleanupTestCase()
{
    CDownloadThread::getInstance()->setAppConfig(nullptr);
    m_server->stop();
}

void TestUpgradeByHand::init()
{
    m_store.publishUpgrade("2.9.0", "parvela_2.9.0_all.deb", m_package);
    m_form = std::make_unique<CSettingsForm>(nullptr);
    m_form->updateDpi(1.0);
    m_form->resize(900, 700);
    m_form->selectPage(CSettingsForm::AboutPage);
    m_form->move(0, 0);
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
}

void TestUpgradeByHand::cleanup()
{
    CDownloadThread::getInstance()->slot_No();
    QTRY_VERIFY(!prompt());
    m_form.reset();
}

bool TestUpgradeByHand::offerByTheEntry()
{
    auto *entry = child<QPushButton>(m_form.get(), "m_pBtnCheckUpdate");
    if (entry->text() != QLatin1String("Check for Updates") || !xdoinput::click(entry)) {
        return false;
    }
    return QTest::qWaitFor([] { return prompt() && prompt()->isVisible(); }, 10000) &&
           QTest::qWaitForWindowExposed(prompt());
}

void TestUpgradeByHand::checkForUpdatesEntry_data()
{
    QTest::addColumn<QString>("published");
    QTest::addColumn<QString>("offer"); // empty: none, "Not found new version." instead
    QTest::newRow("a newer version") << "2.9.0"
                                     << "The latest software is found (2.9.0)";
    QTest::newRow("this version") << "2.8.0.173" << QString();
}

void TestUpgradeByHand::checkForUpdatesEntry()
{
    QFETCH(QString, published);
    QFETCH(QString, offer);
    m_store.publishUpgrade(published, "parvela_2.9.0_all.deb", m_package);
    CAlertAnswerer answerer(QMessageBox::Ok);
    const bool offered = offerByTheEntry();
    QCOMPARE(offered, !offer.isEmpty());
    if (offered) {
        QCOMPARE(child<QLabel>(prompt(), "m_versionText")->text(), offer);
        QCOMPARE(answerer.answered(), 0);
    } else {
        QCOMPARE(answerer.texts(), QStringList{"Not found new version."});
    }
}

void TestUpgradeByHand::downloadThenYesWithoutAnOpener()
{
    QVERIFY(offerByTheEntry());
    QVERIFY(xdoinput::click(promptButton("m_pBtnDown")));
    QTRY_VERIFY_WITH_TIMEOUT(promptButton("m_pBtnYes")->isVisible(), kdtest::kStateWaitMs);
    QCOMPARE(child<QProgressBar>(prompt(), "m_progressBar")->value(), 100);
    const QString package = CDownloadThread::getInstance()->packagePath();
    QVERIFY(QFileInfo::exists(package));

    // No desktop opener anywhere on the path (only the pointer's driver):
    // Yes says so and where the package is kept, and the program stays with
    // the prompt.
    const QString bin = m_dir.filePath("only-xdotool");
    QVERIFY(QDir().mkpath(bin));
    QFile::link(QStandardPaths::findExecutable("xdotool"), bin + "/xdotool");
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(bin));
    CAlertAnswerer answerer(QMessageBox::Ok);
    const bool clicked = xdoinput::click(promptButton("m_pBtnYes")) &&
                         QTest::qWaitFor([&answerer] { return answerer.answered() > 0; }, 20000);
    qputenv("PATH", path);
    QVERIFY(clicked);
    const QString kept = m_dir.filePath("home/Downloads/parvela_2.9.0_all.deb");
    QCOMPARE(answerer.texts(), QStringList{"Failed to execute upgrade.\nThe upgrade package is saved in " + kept +
                                           ", you can install it yourself."});
    QVERIFY(prompt() && prompt()->isVisible());
    QVERIFY(promptButton("m_pBtnYes")->isVisible());
    QFile copy(kept);
    QVERIFY(copy.open(QIODevice::ReadOnly));
    QCOMPARE(copy.readAll(), m_package);
    QVERIFY(!QFileInfo::exists(QFileInfo(package).path()));

    // No: the prompt closes; the user's copy stays.
    QVERIFY(xdoinput::click(promptButton("m_pBtnNo")));
    QTRY_VERIFY(!prompt());
    QVERIFY(QFileInfo::exists(kept));
}

void TestUpgradeByHand::dragsByTheTitleBarOnly_data()
{
    addPromptDragRows();
}

void TestUpgradeByHand::dragsByTheTitleBarOnly()
{
    QFETCH(QString, pressedOn);
    QFETCH(bool, moves);
    QVERIFY(offerByTheEntry());
    // Out of the settings window's way, with room to move.
    prompt()->move(1000, 300);
    QTRY_COMPARE(prompt()->pos(), QPoint(1000, 300));
    auto *part = child<QWidget>(prompt(), qPrintable(pressedOn));
    const xdoinput::CArrivals releases(prompt(), QEvent::MouseButtonRelease);
    QVERIFY(xdoinput::drag(part, QPoint(4, 4), QPoint(60, 40)));
    QTRY_COMPARE(releases.count(), 1);
    QCOMPARE(prompt()->pos(), moves ? QPoint(1060, 340) : QPoint(1000, 300));
    // Nothing else happened: the offer is still there.
    QVERIFY(promptButton("m_pBtnDown")->isVisible());
}

KD_OWN_XVFB_TEST_MAIN(TestUpgradeByHand)
#include "tst_upgradebyhand.moc"
