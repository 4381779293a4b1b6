#include <csignal>

#include <sys/types.h>

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "statewait.h"
#include "userconfigfile.h"

namespace {

const QString kLink = QStringLiteral("--url=brivana://joinmeeting/3003/0/Secret-77/127.0.0.1:1");

} // namespace

// The program as a user starts it: the first start brings up the login
// window and the engine; a second start hands its request over and ends.
class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void firstStartRunsTheDelayedStartUp();
    void secondStart_data();
    void secondStart();
    void crashLeavesOneDump();

private:
    QString logText(const QString &name) const;
    QString firstLog() const { return logText(QStringLiteral("app.log")); }
    void setConfigValue(const QByteArray &section, const QByteArray &line);

    QTemporaryDir m_dir;
    QProcessEnvironment m_environment;
    QProcess m_first;
};

void TestStartup::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_environment = QProcessEnvironment::systemEnvironment();
    m_environment.insert(QStringLiteral("appdata"), m_dir.path());
    m_environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    m_first.setProcessEnvironment(m_environment);
    m_first.setStandardOutputFile(QProcess::nullDevice());
    // What the instances say on their error channel (a sanitizer's report)
    // belongs in the test's output.
    m_first.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_first.start(QCoreApplication::applicationDirPath() + "/parvela", QStringList());
    QVERIFY(m_first.waitForStarted());
}

void TestStartup::cleanupTestCase()
{
    m_first.kill();
    m_first.waitForFinished();
}

QString TestStartup::logText(const QString &name) const
{
    QFile log(m_dir.filePath(QStringLiteral("parvela/") + name));
    return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
}

void TestStartup::setConfigValue(const QByteArray &section, const QByteArray &line)
{
    QVERIFY(setUserConfigLine(m_dir.filePath(QStringLiteral("parvela/Brivana/Config/config.ini")), section, line));
}

void TestStartup::firstStartRunsTheDelayedStartUp()
{
    QTRY_VERIFY_WITH_TIMEOUT(firstLog().contains("There is no app running. Go ahead."), kdtest::kStateWaitMs);
    // The login window's delayed start-up: engine, window manager, no link,
    // then the automatic login is tried and the resource monitor started.
    QTRY_VERIFY_WITH_TIMEOUT(firstLog().contains("UrlJoinConfProtocol: 0"), kdtest::kStateWaitMs);
    QTRY_VERIFY_WITH_TIMEOUT(firstLog().contains("CResourceUsageMonitor::startMonitor"), kdtest::kStateWaitMs);
    QVERIFY(firstLog().contains("CMainDlgManager::initialize"));
    QVERIFY(firstLog().contains("CLoginDlg::showEvent"));
    QCOMPARE(m_first.state(), QProcess::Running);
}

void TestStartup::secondStart_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("loginStatus");
    QTest::addColumn<QByteArray>("runningConf"); // empty: not in a meeting
    QTest::addColumn<QString>("prompt");         // empty: no box
    QTest::addColumn<QString>("received");       // empty: nothing reaches the first instance

    QTest::newRow("no arguments") << QStringList() << QByteArray("NotLogin") << QByteArray() << QString() << "Activate";
    QTest::newRow("link while logging in") << QStringList{kLink} << QByteArray("LoggingIn") << QByteArray()
                                           << "Another process of the application is logging in." << QString();
    QTest::newRow("link for the running meeting")
        << QStringList{kLink} << QByteArray("LoggedIn") << QByteArray("3003") << QString() << "Activate";
    QTest::newRow("link for the running meeting dialled with its server")
        << QStringList{kLink} << QByteArray("AnonymousLoggingIn") << QByteArray("3003@127.0.0.1:1") << QString()
        << "Activate";
    QTest::newRow("link for another meeting") << QStringList{kLink} << QByteArray("LoggedIn") << QByteArray("4004")
                                              << "Another meeting is running on the application." << QString();
    QTest::newRow("link while idle") << QStringList{kLink} << QByteArray("NotLogin") << QByteArray() << QString()
                                     << kLink;
}

void TestStartup::secondStart()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, loginStatus);
    QFETCH(QByteArray, runningConf);
    QFETCH(QString, prompt);
    QFETCH(QString, received);

    QTRY_VERIFY_WITH_TIMEOUT(firstLog().contains("UrlJoinConfProtocol: 0"), kdtest::kStateWaitMs);
    setConfigValue("Config", "LoginStatus=" + loginStatus);
    setConfigValue("ConfRunningStatus", runningConf.isEmpty() ? "IsConfRunning=0" : "IsConfRunning=1");
    setConfigValue("ConfRunningStatus", "ConfId=" + runningConf);
    const QString shown =
        received == QLatin1String("Activate") ? received : QStringLiteral("...(%1)").arg(received.size());
    const QString receivedLine = QStringLiteral("Received message: ") + shown + QLatin1Char('\n');
    const int receivedBefore = firstLog().count(receivedLine);
    const QString conflictLog = QStringLiteral("app-conflict.log");
    const int linksBefore = firstLog().count(QStringLiteral("Join link, protocol:"));
    const int promptsBefore = logText(conflictLog).count(QStringLiteral("Prompt: ") + prompt);

    QProcess second;
    second.setProcessEnvironment(m_environment);
    second.setStandardOutputFile(QProcess::nullDevice());
    second.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    second.start(QCoreApplication::applicationDirPath() + "/parvela", arguments);
    QVERIFY(second.waitForStarted());
    if (!prompt.isEmpty()) {
        // The box waits for the user; what matters is that it was raised and
        // that nothing was handed over before it was closed.
        QTRY_COMPARE_WITH_TIMEOUT(logText(conflictLog).count(QStringLiteral("Prompt: ") + prompt), promptsBefore + 1, kdtest::kStateWaitMs);
        QCOMPARE(second.state(), QProcess::Running);
        second.kill();
        second.waitForFinished();
        QTest::qWait(300);
        QCOMPARE(firstLog().count(QStringLiteral("Join link, protocol:")), linksBefore);
    } else {
        // A whole start of the program, slow under the sanitizers.
        QVERIFY(second.waitForFinished(30000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
    }
    if (!received.isEmpty()) {
        QTRY_COMPARE_WITH_TIMEOUT(firstLog().count(receivedLine), receivedBefore + 1, kdtest::kStateWaitMs);
    }
    QCOMPARE(m_first.state(), QProcess::Running);
    // The link's meeting password reaches neither instance's log.
    const QStringList lines = (firstLog() + logText(conflictLog)).split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        QVERIFY2(!line.contains(QStringLiteral("Secret-77")), qPrintable(line));
    }
}

void TestStartup::crashLeavesOneDump()
{
    const QDir folder(m_dir.filePath(QStringLiteral("parvela")));
    const QStringList before = folder.entryList({"*.dmp"}, QDir::Files);
    QVERIFY(::kill(pid_t(m_first.processId()), SIGSEGV) == 0);
    QVERIFY(m_first.waitForFinished(15000));
    QCOMPARE(m_first.exitStatus(), QProcess::CrashExit);
    QStringList added = folder.entryList({"*.dmp"}, QDir::Files);
    for (const QString &old : before) {
        added.removeAll(old);
    }
    QCOMPARE(added.size(), 1);
    QVERIFY(QRegularExpression("^[0-9a-fA-F-]{36}\\.dmp$").match(added.first()).hasMatch());
}

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"
