#include <thread>

#include <httplib.h>

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "statewait.h"
#include "alertanswerer.h"
#include "cconfserver.h"
#include "cconfstore.h"
#include "helpers/cappconfigutils.h"
#include "helpers/cuserconfigutils.h"
#include "models/cloginmanager.h"
#include "selfsignedcert.h"
#include "views/cmaindlgmanager.h"
#include "views/upgrade/cdownloadthread.h"
#include "views/upgrade/cupdategetjson.h"
#include "views/upgrade/cupdatemessagewidget.h"

using confserver::CConfServer;
using confserver::CConfStore;
using confserver::CFault;
using kd_app::helpers::CAppConfigUtils;
using kd_app::helpers::CUserConfigUtils;
using kd_app::models::CLoginManager;
using kd_app::views::CDownloadThread;
using kd_app::views::CMainDlgManager;
using kd_app::views::CUpdateGetJson;
using kd_app::views::CUpdateMessageWidget;

namespace {

const QByteArray kSeed = R"({
    "organisation": {"companyShortName": "Harbour", "appServerType": "UCM"},
    "users": [{"id": 1, "name": "alice", "password": "Alice2026!", "displayName": "Alice Archer"}]
})";

const char kChildFolder[] = "KD_UPGRADE_CHILD_FOLDER";

void put(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    file.write(content);
}

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A tiny real Debian package, as the update server would publish it.
QByteArray buildPackage(const QString &folder, int payloadBytes)
{
    const QString root = folder + "/pkg";
    put(root + "/DEBIAN/control", "Package: parvela-upgrade-test\nVersion: 2.9.0\nArchitecture: all\n"
                                  "Maintainer: Test <test@example.org>\nDescription: upgrade test package\n");
    // Random bytes do not compress: the package keeps the size asked for.
    QByteArray payload(payloadBytes, '\0');
    for (int i = 0; i < payloadBytes; ++i) {
        payload[i] = char(QRandomGenerator::global()->generate());
    }
    put(root + "/usr/share/parvela-upgrade-test/payload", payload);
    QProcess dpkg;
    dpkg.start("dpkg-deb", {"--root-owner-group", "--build", root, folder + "/parvela_2.9.0_all.deb"});
    if (!dpkg.waitForFinished(60000) || dpkg.exitCode() != 0) {
        qWarning() << dpkg.readAllStandardError();
        return QByteArray();
    }
    return contentOf(folder + "/parvela_2.9.0_all.deb");
}

// The settings file that chooses the form of the check.
void writeAppConfig(const QString &path, const QString &updateAddress)
{
    put(path, QStringLiteral("[Config]\nSoftwareUpdateAddress=%1\nSoftwareUpdateFlag=stable\n"
                             "SoftwareUpdateBundleId=org.parvela\nSoftwareUpdateAppInfo=desktop\n")
                  .arg(updateAddress)
                  .toUtf8());
}

} // namespace

// The upgrade against the local server (HTTPS, as packages are fetched over
// nothing else): the check in both forms, the reply rules, the download with
// its checksum and Cancel, and Yes handing the verified package to the
// desktop's opener, or keeping it for the user where none takes it.
class TestUpgradeFlow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void forcedCheckBeforeSignIn();
    void publishedVersions_data();
    void publishedVersions();
    void serverForm();
    void blanksOnlyAddressUsesTheServerForm();
    void replies_data();
    void replies();
    void quitDuringADelayedCheck();
    void aReplacedCheckSaysNothing();
    void download_data();
    void download();
    void cancelMidTransfer();
    void failedDownloads_data();
    void failedDownloads();
    void untrustedServer();
    void yesHandsThePackageToTheOpener();
    void yesChild();
    void yesWithoutAnOpenerKeepsThePackage();

private:
    // Starts a check and returns its result; -1: none within the time.
    int check(bool wantAppInfo, bool force);
    void useAppInfoForm(CConfServer &server, const char *scheme = "https");
    void useServerForm();
    void signInTo(CConfServer &server);
    CUpdateMessageWidget *prompt() const { return CDownloadThread::getInstance()->updateMessageWidget(); }
    QPushButton *button(const char *name) const { return prompt()->findChild<QPushButton *>(name); }
    QString promptText(const char *label) const { return prompt()->findChild<QLabel *>(label)->text(); }
    // Presses Download and waits for the prompt's answer; true when ready.
    bool downloadAndWait();

    QTemporaryDir m_dir;
    CConfStore m_store;
    std::unique_ptr<CConfServer> m_server;
    std::unique_ptr<CAppConfigUtils> m_appConfig;
    QByteArray m_package;
    QList<bool> m_results;
    bool m_child = false;
};

void TestUpgradeFlow::initTestCase()
{
    // A check over TLS against the local server may take a busy machine
    // longer than a user's 3 s; the row that shows the limit sets it back.
    CUpdateGetJson::setReplyTimeout(kdtest::kStateWaitMs);
    m_child = qEnvironmentVariableIsSet(kChildFolder);
    // Packages go into a temporary folder of this test's own (the child's too).
    if (!m_child) {
        QVERIFY(QDir().mkpath(m_dir.filePath("tmp")));
        qputenv("TMPDIR", QFile::encodeName(m_dir.filePath("tmp")));
    }
    QVERIFY(m_store.loadSeed(kSeed));
    m_server = std::make_unique<CConfServer>(m_store, true);
    QVERIFY(m_server->start());
    qputenv("appdata", QFile::encodeName(m_dir.filePath("appdata")));
    CUserConfigUtils::initInstance(QFile::encodeName(QCoreApplication::applicationFilePath()).constData());
    CUserConfigUtils::getInstance()->setUseHttps(true);
    CLoginManager::getInstance().initKDSdkManagerInstance();
    // The child serves the package its parent built, so both know its bytes.
    m_package = m_child ? contentOf(qEnvironmentVariable(kChildFolder) + "/parvela_2.9.0_all.deb")
                        : buildPackage(m_dir.path(), 200 * 1024);
    QVERIFY(!m_package.isEmpty());
    connect(CDownloadThread::getInstance(), &CDownloadThread::signal_updateMessage, this,
            [this](bool toUpdate) { m_results << toUpdate; });
}

void TestUpgradeFlow::cleanupTestCase()
{
    CDownloadThread::getInstance()->setAppConfig(nullptr);
    m_server->stop();
}

void TestUpgradeFlow::init()
{
    m_results.clear();
    m_server->clearFaults();
    m_store.publishUpgrade("2.9.0", "parvela_2.9.0_all.deb", m_package);
    m_store.setUpgradeUrlAbsolute(false);
}

void TestUpgradeFlow::cleanup()
{
    CDownloadThread *thread = CDownloadThread::getInstance();
    // No: stops the thread, removes a downloaded package, closes the prompt.
    thread->slot_No();
    QVERIFY(!thread->isRunning());
    // A result the stopped run sent meanwhile arrives now, and offers nothing.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    QTRY_VERIFY(!prompt());
}

int TestUpgradeFlow::check(bool wantAppInfo, bool force)
{
    QCoreApplication::processEvents();
    m_results.clear();
    CDownloadThread::getInstance()->Tstart(wantAppInfo, force);
    if (!CDownloadThread::getInstance()->isRunning() && m_results.isEmpty()) {
        // Not started at all.
        QCoreApplication::processEvents();
        if (m_results.isEmpty()) {
            return -1;
        }
    }
    if (!QTest::qWaitFor([this] { return !m_results.isEmpty(); }, 10000)) {
        return -1;
    }
    return m_results.first() ? 1 : 0;
}

void TestUpgradeFlow::useAppInfoForm(CConfServer &server, const char *scheme)
{
    const QString path = m_dir.filePath("app-config-appinfo.ini");
    writeAppConfig(path, QStringLiteral("%1://127.0.0.1:%2/appinfo").arg(scheme).arg(server.port()));
    m_appConfig = std::make_unique<CAppConfigUtils>(path);
    CDownloadThread::getInstance()->setAppConfig(m_appConfig.get());
}

void TestUpgradeFlow::useServerForm()
{
    const QString path = m_dir.filePath("app-config-server.ini");
    writeAppConfig(path, QString());
    m_appConfig = std::make_unique<CAppConfigUtils>(path);
    CDownloadThread::getInstance()->setAppConfig(m_appConfig.get());
}

void TestUpgradeFlow::signInTo(CConfServer &server)
{
    CLoginManager &login = CLoginManager::getInstance();
    // The check needs the sign-in's server, port and scheme, not its outcome
    // (the engine's model knows no such account): one sign-in serves all.
    if (login.getSdkServerAddress().isEmpty()) {
        QVERIFY(login.login("127.0.0.1", true, server.port(), "alice", "Alice2026!"));
    }
    QCOMPARE(login.getSdkServerAddress(), QString("127.0.0.1"));
    QCOMPARE(login.getPort(), server.port());
}

bool TestUpgradeFlow::downloadAndWait()
{
    if (!prompt()) {
        return false;
    }
    QTest::mouseClick(button("m_pBtnDown"), Qt::LeftButton);
    const bool answered = QTest::qWaitFor(
        [this] { return prompt() && (button("m_pBtnYes")->isVisible() || button("m_pBtnDown")->isVisible()); }, 20000);
    return answered && button("m_pBtnYes")->isVisible();
}

void TestUpgradeFlow::forcedCheckBeforeSignIn()
{
    // No sign-in yet: the server form has no server to ask.
    useServerForm();
    QCOMPARE(check(false, true), 0);
    QVERIFY(!prompt());
}

void TestUpgradeFlow::publishedVersions_data()
{
    QTest::addColumn<QString>("version");
    QTest::addColumn<bool>("offered");
    QTest::newRow("2.8.0.174") << "2.8.0.174" << true;
    QTest::newRow("2.8.1") << "2.8.1" << true;
    QTest::newRow("3") << "3" << true;
    QTest::newRow("2.8.0.173.0") << "2.8.0.173.0" << true;
    QTest::newRow("2.8.0.173") << "2.8.0.173" << false;
    QTest::newRow("2.8.0") << "2.8.0" << false;
    QTest::newRow("2.7.99.999") << "2.7.99.999" << false;
    QTest::newRow("2.8.0.17x") << "2.8.0.17x" << false;
    QTest::newRow("2.8.0.x.1") << "2.8.0.x.1" << false;
    QTest::newRow("nothing published") << "" << false;
    QTest::newRow("markup after a number") << "99.0<br><b style=\"color:red\">Your account is locked</b>" << false;
}

void TestUpgradeFlow::publishedVersions()
{
    QFETCH(QString, version);
    QFETCH(bool, offered);
    m_store.publishUpgrade(version, "parvela_2.9.0_all.deb", m_package);
    useAppInfoForm(*m_server);
    QCOMPARE(check(true, false), offered ? 1 : 0);
    QCOMPARE(prompt() != nullptr, offered);
    if (offered) {
        QTRY_VERIFY(prompt()->isVisible());
        QCOMPARE(promptText("m_versionText"), QString("The latest software is found (%1)").arg(version));
        QVERIFY(button("m_pBtnDown")->isVisible());
        QVERIFY(button("m_pBtnCancel")->isVisible());
        QVERIFY(!button("m_pBtnYes")->isVisible());
    }
}

void TestUpgradeFlow::serverForm()
{
    useServerForm();
    signInTo(*m_server);
    // The login window's start-up check belongs to the app-info form only.
    QCOMPARE(check(true, false), -1);
    QCOMPARE(check(false, false), 1);
    QCOMPARE(m_server->requestsTo("latestAppVersion").size() > 0, true);
    QCOMPARE(CDownloadThread::getInstance()->version(), QString("2.9.0"));
    // A second sign-in checks again; the open prompt keeps its first text.
    m_store.publishUpgrade("2.9.1", "parvela_2.9.0_all.deb", m_package);
    QCOMPARE(check(false, false), 1);
    QCOMPARE(promptText("m_versionText"), QString("The latest software is found (2.9.0)"));
}

void TestUpgradeFlow::blanksOnlyAddressUsesTheServerForm()
{
    const QString path = m_dir.filePath("app-config-blanks.ini");
    writeAppConfig(path, "   ");
    m_appConfig = std::make_unique<CAppConfigUtils>(path);
    CDownloadThread::getInstance()->setAppConfig(m_appConfig.get());
    signInTo(*m_server);
    QCOMPARE(check(true, false), -1);
    const int asked = m_server->requestsTo("latestAppVersion").size();
    QCOMPARE(check(true, true), 1);
    QCOMPARE(int(m_server->requestsTo("latestAppVersion").size()), asked + 1);
}

void TestUpgradeFlow::replies_data()
{
    QTest::addColumn<QString>("route");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("version");
    QTest::addColumn<int>("minMs");
    QTest::addColumn<int>("maxMs");
    QTest::addColumn<int>("timeoutMs"); // 0: the program's own 3 s

    // A reply that must be read whole gets all the time a busy machine needs;
    // the row that must give up keeps the program's own limit, against a
    // server that would answer only long after it.
    const int generous = kdtest::kStateWaitMs;
    QTest::newRow("app-info object") << "/appinfo/stable/org.parvela/desktop"
                                     << "" << true << "2.9.0" << 0 << generous << generous;
    QTest::newRow("server object") << "/api/rest/v2.0/latestAppVersion?appType=linux"
                                   << "" << true << "2.9.0" << 0 << generous << generous;
    QTest::newRow("another platform") << "/api/rest/v2.0/latestAppVersion?appType=other"
                                      << "" << true << "" << 0 << generous << generous;
    QTest::newRow("a JSON array") << "/array"
                                  << "" << true << "" << 0 << generous << generous;
    QTest::newRow("not JSON") << "/appinfo/stable/org.parvela/desktop"
                              << "appinfo:notjson" << false << "" << 0 << generous << generous;
    // About 90 bytes at 90 bytes a second: a second, in many pieces.
    QTest::newRow("a throttled reply is read whole") << "/appinfo/stable/org.parvela/desktop"
                                                     << "appinfo:throttle:90" << true << "2.9.0" << 500 << generous
                                                     << generous;
    QTest::newRow("a 20 s delay gives up by 3 s") << "/appinfo/stable/org.parvela/desktop"
                                                  << "appinfo:delay:20000" << false << "" << 2800 << 15000 << 0;
}

void TestUpgradeFlow::replies()
{
    QFETCH(QString, route);
    QFETCH(QString, fault);
    QFETCH(bool, ok);
    QFETCH(QString, version);
    QFETCH(int, minMs);
    QFETCH(int, maxMs);
    QFETCH(int, timeoutMs);

    // The query may go over plain HTTP (only packages may not), which keeps
    // the timings free of handshakes.
    CConfServer plain(m_store);
    QVERIFY(plain.start());
    // A server of another kind, for what ours never answers.
    httplib::Server other;
    other.Get("/array", [](const httplib::Request &, httplib::Response &response) {
        response.set_content(R"([{"VERSION": "9.9", "version": "9.9"}])", "application/json");
    });
    const int otherPort = other.bind_to_any_port("127.0.0.1");
    std::thread otherThread([&other] { other.listen_after_bind(); });
    // Stopped only once listening: a stop before that leaves the listen waiting for ever.
    QTRY_VERIFY(other.is_running());

    if (!fault.isEmpty()) {
        CFault parsed;
        QVERIFY(CFault::parse(fault, &parsed));
        plain.addFault(parsed);
    }
    const QString address = route == "/array" ? QStringLiteral("http://127.0.0.1:%1").arg(otherPort) : plain.baseUrl();
    CUpdateGetJson query;
    CUpdateGetJson::setReplyTimeout(timeoutMs > 0 ? timeoutMs : CUpdateGetJson::kReplyTimeoutMs);
    const auto restore = qScopeGuard([] { CUpdateGetJson::setReplyTimeout(kdtest::kStateWaitMs); });
    QElapsedTimer timer;
    timer.start();
    const bool answered = query.sendRequest(address + route);
    const qint64 elapsed = timer.elapsed();
    other.stop();
    otherThread.join();
    plain.stop();

    QCOMPARE(answered, ok);
    QCOMPARE(route.startsWith("/appinfo") ? query.getNdmVersion() : query.getVersion(), version);
    QVERIFY2(elapsed >= minMs && elapsed <= maxMs, qPrintable(QString::number(elapsed)));
}

void TestUpgradeFlow::quitDuringADelayedCheck()
{
    useAppInfoForm(*m_server);
    CFault fault;
    QVERIFY(CFault::parse("appinfo:delay:4000", &fault));
    m_server->addFault(fault);
    CDownloadThread *thread = CDownloadThread::getInstance();
    thread->Tstart(true, true);
    QTRY_VERIFY(!m_server->requestsTo("appinfo").empty());
    QElapsedTimer timer;
    timer.start();
    thread->Tquit();
    QVERIFY2(timer.elapsed() < 1000, qPrintable(QString::number(timer.elapsed())));
    QVERIFY(!thread->isRunning());
    QCoreApplication::processEvents();
    QVERIFY(!prompt());
}

void TestUpgradeFlow::aReplacedCheckSaysNothing()
{
    // The check from the settings waits for a slow server when a sign-in
    // starts its own: only the sign-in's check answers (the settings window
    // would say "Not found new version." to an answer of the first).
    useServerForm();
    signInTo(*m_server);
    const size_t asked = m_server->requestsTo("latestAppVersion").size();
    CFault fault;
    QVERIFY(CFault::parse("latestAppVersion:delay:4000:1", &fault));
    m_server->addFault(fault);
    m_results.clear();
    CDownloadThread *thread = CDownloadThread::getInstance();
    thread->Tstart(true, true);
    QTRY_VERIFY(m_server->requestsTo("latestAppVersion").size() > asked);
    thread->Tstart(false, false);
    QTRY_VERIFY_WITH_TIMEOUT(!m_results.isEmpty(), kdtest::kStateWaitMs);
    QCOMPARE(m_results, QList<bool>{true});
    QTRY_VERIFY(prompt() && prompt()->isVisible());
}

void TestUpgradeFlow::download_data()
{
    QTest::addColumn<bool>("appInfo");
    QTest::addColumn<bool>("absolute");
    QTest::newRow("app-info form, whole address") << true << true;
    QTest::newRow("server form, a path") << false << false;
    QTest::newRow("server form, whole address") << false << true;
}

void TestUpgradeFlow::download()
{
    QFETCH(bool, appInfo);
    QFETCH(bool, absolute);
    m_store.setUpgradeUrlAbsolute(absolute);
    if (appInfo) {
        useAppInfoForm(*m_server);
    } else {
        useServerForm();
        signInTo(*m_server);
    }
    QCOMPARE(check(appInfo, false), 1);
    QVERIFY(downloadAndWait());
    const QString path = CDownloadThread::getInstance()->packagePath();
    QCOMPARE(QFileInfo(path).fileName(), QString("parvela_2.9.0_all.deb"));
    QCOMPARE(QFileInfo(path).absolutePath().section('/', 0, -2), QDir::tempPath());
    // A folder of its own that only the user may enter.
    const QFileDevice::Permissions folder = QFileInfo(QFileInfo(path).absolutePath()).permissions();
    QVERIFY(folder.testFlag(QFileDevice::ReadOwner) && folder.testFlag(QFileDevice::WriteOwner) &&
            folder.testFlag(QFileDevice::ExeOwner));
    QCOMPARE(int(folder & 0x0077), 0);
    QCOMPARE(contentOf(path), m_package);
    QCOMPARE(promptText("m_downStatus"), QString("Do you want to install the latest software?"));
    QCOMPARE(prompt()->findChild<QProgressBar *>("m_progressBar")->value(), 100);
    // No: the package and its folder go.
    CDownloadThread::getInstance()->slot_No();
    QVERIFY(!QFileInfo::exists(QFileInfo(path).absolutePath()));
}

void TestUpgradeFlow::cancelMidTransfer()
{
    useAppInfoForm(*m_server);
    CFault fault;
    // 200 kB at 20 kB a second: ten seconds unless cancelled.
    QVERIFY(CFault::parse("download/parvela_2.9.0_all.deb:throttle:20000", &fault));
    m_server->addFault(fault);
    QCOMPARE(check(true, false), 1);
    QTest::mouseClick(button("m_pBtnDown"), Qt::LeftButton);
    QVERIFY(!button("m_pBtnDown")->isVisible());
    auto *bar = prompt()->findChild<QProgressBar *>("m_progressBar");
    QTRY_VERIFY_WITH_TIMEOUT(bar->value() > 0, kdtest::kStateWaitMs);
    QVERIFY(promptText("m_downValue").contains("/s"));
    const QString path = CDownloadThread::getInstance()->packagePath();
    m_results.clear();
    QTest::mouseClick(button("m_pBtnCancel"), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(promptText("m_versionText"), QString("download failed"), kdtest::kStateWaitMs);
    QVERIFY(button("m_pBtnDown")->isVisible());
    // A fresh check follows the failure and offers the version again; the
    // failure text stays.
    QTRY_VERIFY_WITH_TIMEOUT(!m_results.isEmpty(), kdtest::kStateWaitMs);
    QCOMPARE(m_results.first(), true);
    QCOMPARE(promptText("m_versionText"), QString("download failed"));
    QVERIFY(path.isEmpty() || !QFileInfo::exists(path));
    // Download again: this time it completes.
    m_server->clearFaults();
    QVERIFY(downloadAndWait());
}

void TestUpgradeFlow::failedDownloads_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("published");
    QTest::addColumn<bool>("tempIsAFile"); // no folder for the package can be made
    QTest::addColumn<QString>("said");
    const QByteArray sound =
        QCryptographicHash::hash(m_package, QCryptographicHash::Sha256).toHex() + "  parvela_2.9.0_all.deb\n";
    const QString failed = "download failed";
    QTest::newRow("checksum missing") << QByteArray() << false << false << failed;
    QTest::newRow("another package's checksum")
        << QCryptographicHash::hash("other", QCryptographicHash::Sha256).toHex() + "  parvela_2.9.0_all.deb\n"
        << true << false << failed + "\nThe package does not match its checksum.";
    QTest::newRow("not a checksum") << QByteArray("<html>not found</html>") << true << false << failed;
    QTest::newRow("the target cannot be opened") << sound << true << true << failed;
}

void TestUpgradeFlow::failedDownloads()
{
    QFETCH(QByteArray, line);
    QFETCH(bool, published);
    QFETCH(bool, tempIsAFile);
    QFETCH(QString, said);
    m_store.setUpgradeChecksum(line, published);
    useAppInfoForm(*m_server);
    QCOMPARE(check(true, false), 1);
    const QByteArray tempFolder = qgetenv("TMPDIR");
    if (tempIsAFile) {
        put(m_dir.filePath("temp-file"), "not a folder");
        qputenv("TMPDIR", QFile::encodeName(m_dir.filePath("temp-file")));
    }
    const bool ready = downloadAndWait();
    qputenv("TMPDIR", tempFolder);
    // The prompt leaves "downloading", says why where it can, and offers
    // the download again.
    QVERIFY(!ready);
    QCOMPARE(promptText("m_versionText"), said);
    QVERIFY(button("m_pBtnDown")->isVisible());
    const QString tempFolders = QDir::tempPath();
    // Nothing of the refused package is left.
    for (const QString &folder : QDir(tempFolders).entryList({"parvela-upgrade-*"}, QDir::Dirs)) {
        QVERIFY2(!QFileInfo::exists(tempFolders + "/" + folder + "/parvela_2.9.0_all.deb"), qPrintable(folder));
    }
}

void TestUpgradeFlow::untrustedServer()
{
    // HTTPS with the test authority works; a certificate nobody vouches for fails the check.
    CConfServer trusted(m_store, true);
    QVERIFY(trusted.start());
    m_store.setUpgradeUrlAbsolute(true);
    useAppInfoForm(trusted, "https");
    QCOMPARE(check(true, false), 1);
    QVERIFY(downloadAndWait());
    CDownloadThread::getInstance()->slot_No();

    QTemporaryDir tls;
    QVERIFY(makeSelfSignedPair(tls.filePath("server.pem"), tls.filePath("server.key")));
    CConfServer untrusted(m_store, true, tls.filePath("server.pem").toStdString(),
                          tls.filePath("server.key").toStdString());
    QVERIFY(untrusted.start());
    useAppInfoForm(untrusted, "https");
    QCOMPARE(check(true, false), 0);
    QVERIFY(!prompt());
    trusted.stop();
    untrusted.stop();
}

void TestUpgradeFlow::yesHandsThePackageToTheOpener()
{
    if (m_child) {
        QSKIP("the child runs yesChild only");
    }
    // A stand-in for the desktop's opener, first on the path: it records its
    // argument and checks that it is a package.
    const QString bin = m_dir.filePath("bin");
    const QString record = m_dir.filePath("opened.txt");
    put(bin + "/xdg-open", QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$#\" \"$1\" > '%1.part'\n"
                                          "dpkg-deb --info \"$1\" >> '%1.part' 2>&1 && mv '%1.part' '%1'\n")
                               .arg(record)
                               .toUtf8());
    QFile(bin + "/xdg-open").setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("PATH", bin + ":" + environment.value("PATH"));
    environment.insert(kChildFolder, m_dir.path());
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), {"yesChild"});
    QVERIFY(child.waitForFinished(60000));
    QCOMPARE(child.exitStatus(), QProcess::NormalExit);
    QCOMPARE(child.exitCode(), 0);
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(record), kdtest::kStateWaitMs);
    const QStringList lines = QString::fromUtf8(contentOf(record)).split('\n');
    QCOMPARE(lines.value(0), QString("1"));
    const QString opened = lines.value(1);
    QCOMPARE(QFileInfo(opened).fileName(), QString("parvela_2.9.0_all.deb"));
    QVERIFY(lines.join('\n').contains("Package: parvela-upgrade-test"));
    // Kept for the installer, which reads it after the program ended.
    QCOMPARE(contentOf(opened), m_package);
    QFile::remove(opened);
    QDir().rmdir(QFileInfo(opened).absolutePath());
}

void TestUpgradeFlow::yesChild()
{
    if (!m_child) {
        QSKIP("run by yesHandsThePackageToTheOpener in a child process");
    }
    useAppInfoForm(*m_server);
    QCOMPARE(check(true, false), 1);
    QVERIFY(downloadAndWait());
    // Yes: the opener starts, and once it has taken the package the program
    // ends with 0 (in the middle of this wait).
    QTest::mouseClick(button("m_pBtnYes"), Qt::LeftButton);
    const bool ended = QTest::qWaitFor([] { return false; }, 60000);
    QVERIFY2(ended, "Yes did not end the program");
}

void TestUpgradeFlow::yesWithoutAnOpenerKeepsThePackage()
{
    if (m_child) {
        QSKIP("not in the child");
    }
    // An opener that finds no program for the package (xdg-open's status 3).
    const QString bin = m_dir.filePath("bin-no-program");
    put(bin + "/xdg-open", "#!/bin/sh\necho 'no method available for opening' >&2\nexit 3\n");
    QFile(bin + "/xdg-open").setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    // The user's download folder, where a file of the package's name is already.
    const QString home = m_dir.filePath("home");
    const QString downloads = home + "/Downloads";
    put(downloads + "/parvela_2.9.0_all.deb", "the user's own file");
    const QByteArray path = qgetenv("PATH");
    const QByteArray homeBefore = qgetenv("HOME");
    const QByteArray configBefore = qgetenv("XDG_CONFIG_HOME");
    qputenv("PATH", QFile::encodeName(bin) + ":" + path);
    qputenv("HOME", QFile::encodeName(home));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home + "/.config"));
    bool exited = false;
    CMainDlgManager::setProcessExit([&exited](int) { exited = true; });

    useAppInfoForm(*m_server);
    QCOMPARE(check(true, false), 1);
    QVERIFY(downloadAndWait());
    const QString downloaded = CDownloadThread::getInstance()->packagePath();
    CAlertAnswerer answerer(QMessageBox::Ok, 2);
    QTest::mouseClick(button("m_pBtnYes"), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(answerer.answered(), 1, kdtest::kStateWaitMs);
    // Yes again: the same place, no second copy.
    QTest::mouseClick(button("m_pBtnYes"), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(answerer.answered(), 2, kdtest::kStateWaitMs);
    qputenv("PATH", path);
    qputenv("HOME", homeBefore);
    qputenv("XDG_CONFIG_HOME", configBefore);
    CMainDlgManager::setProcessExit([](int code) { std::exit(code); });

    QVERIFY(!exited);
    const QString kept = downloads + "/parvela_2.9.0_all (2).deb";
    const QString said =
        "Failed to execute upgrade.\nThe upgrade package is saved in " + kept + ", you can install it yourself.";
    QCOMPARE(answerer.texts(), QStringList({said, said}));
    QCOMPARE(contentOf(kept), m_package);
    QCOMPARE(contentOf(downloads + "/parvela_2.9.0_all.deb"), QByteArray("the user's own file"));
    QCOMPARE(QDir(downloads).entryList(QDir::Files).size(), 2);
    QVERIFY(!QFileInfo::exists(QFileInfo(downloaded).absolutePath()));
    // The prompt still asks; No leaves the user's copy where it is.
    QVERIFY(prompt() && prompt()->isVisible());
    QVERIFY(button("m_pBtnYes")->isVisible());
    CDownloadThread::getInstance()->slot_No();
    QTRY_VERIFY(!prompt());
    QCOMPARE(contentOf(kept), m_package);
}

QTEST_MAIN(TestUpgradeFlow)
#include "tst_upgradeflow.moc"
