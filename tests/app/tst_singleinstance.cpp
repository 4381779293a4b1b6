#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "statewait.h"
#include "app/cplatform.h"
#include "userconfigfile.h"

namespace {

const QString kKey = QStringLiteral("5B1F2C7E-9A4D-4E36-B8C1-3F0D27A96E54");

} // namespace

class TestSingleInstance : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void filesAndFoldersArePrivate();
    void channelLivesInAPrivateFolder();
    void handOver_data();
    void handOver();
    void unreachableInstanceKeepsTheLink();
    void killedInstanceDoesNotBlockNextStart();

private:
    QString logText(const QString &name = QStringLiteral("app.log")) const;
    QString userFolder() const { return m_dir.filePath(QStringLiteral("parvela")); }
    // Without a session runtime folder the instance listens in the per-user
    // folder, which it has made private.
    QString serverPath() const
    {
        return userFolder() + QLatin1Char('/') + kd_app::CPlatform::instanceName(kKey, userFolder());
    }
    void startFirstInstance();
    int runSecondInstance(const QStringList &arguments);
    void setConfigValue(const QByteArray &section, const QByteArray &line);

    QTemporaryDir m_dir;
    QProcessEnvironment m_environment;
    QScopedPointer<QProcess> m_first;
};

void TestSingleInstance::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(QFileInfo(QCoreApplication::applicationDirPath() + "/parvela").isExecutable());
    m_environment = QProcessEnvironment::systemEnvironment();
    m_environment.insert(QStringLiteral("appdata"), m_dir.path());
    m_environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    m_environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    // As an older version, or a hand, left them: open to everyone, and the
    // settings file damaged, so that its first save keeps a copy.
    const QString config = userFolder() + QStringLiteral("/Brivana/Config");
    QVERIFY(QDir().mkpath(config));
    const QFileDevice::Permissions open(0x7755);
    for (const QString &folder : {userFolder(), userFolder() + QStringLiteral("/Brivana"), config}) {
        QVERIFY(QFile::setPermissions(folder, open));
    }
    QFile file(config + QStringLiteral("/config.ini"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[Config]\r\nConfigFileVersion=2\r\n[ConfRunningStatus]\r\nIsConfRunning=0\r\n[Sip\r\n");
    file.close();
    QVERIFY(file.setPermissions(QFileDevice::Permissions(0x6644)));
    startFirstInstance();
}

void TestSingleInstance::cleanupTestCase()
{
    if (m_first) {
        m_first->kill();
        m_first->waitForFinished();
    }
}

QString TestSingleInstance::logText(const QString &name) const
{
    QFile log(m_dir.filePath(QStringLiteral("parvela/") + name));
    return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
}

void TestSingleInstance::startFirstInstance()
{
    const int started = logText().count(QStringLiteral("There is no app running. Go ahead."));
    m_first.reset(new QProcess);
    m_first->setProcessEnvironment(m_environment);
    m_first->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_first->setStandardOutputFile(QProcess::nullDevice());
    m_first->start(QCoreApplication::applicationDirPath() + "/parvela", QStringList());
    QVERIFY(m_first->waitForStarted());
    QTRY_COMPARE_WITH_TIMEOUT(logText().count(QStringLiteral("There is no app running. Go ahead.")), started + 1, kdtest::kStateWaitMs);
}

int TestSingleInstance::runSecondInstance(const QStringList &arguments)
{
    QProcess second;
    second.setProcessEnvironment(m_environment);
    second.setStandardOutputFile(QProcess::nullDevice());
    second.start(QCoreApplication::applicationDirPath() + "/parvela", arguments);
    if (!second.waitForFinished(15000)) {
        second.kill();
        second.waitForFinished();
        return -1;
    }
    return second.exitStatus() == QProcess::NormalExit ? second.exitCode() : -2;
}

// Writes one key of the per-user settings as a running instance would.
void TestSingleInstance::setConfigValue(const QByteArray &section, const QByteArray &line)
{
    QVERIFY(setUserConfigLine(m_dir.filePath(QStringLiteral("parvela/Brivana/Config/config.ini")), section, line));
}

// Settings, passwords, logs and the engine's files are the user's alone,
// whatever the folder was before the start.
void TestSingleInstance::filesAndFoldersArePrivate()
{
    const QDir folder(userFolder());
    // The engine comes up shortly after the login window shows.
    QTRY_VERIFY_WITH_TIMEOUT(folder.exists(QStringLiteral("kdsdk.log")), kdtest::kStateWaitMs);
    QTRY_VERIFY_WITH_TIMEOUT(folder.exists(QStringLiteral("Brivana/Config/config.ini.bak")), kdtest::kStateWaitMs);
    const QFileDevice::Permissions others(0x0077);
    for (const QString &name : {QString(), QStringLiteral("Brivana/Config")}) {
        const QFileInfo info(folder.filePath(name));
        QVERIFY2((info.permissions() & others) == 0, qPrintable(info.filePath()));
    }
    QStringList files = {QStringLiteral("app.log"), QStringLiteral("kdsdk.log"), kKey + QStringLiteral(".lock"),
                         QStringLiteral("Brivana/Config/config.ini"), QStringLiteral("Brivana/Config/config.ini.bak")};
    if (folder.exists(QStringLiteral("parvelarc"))) {
        files.append(QStringLiteral("parvelarc"));
    }
    for (const QString &name : files) {
        const QFileInfo info(folder.filePath(name));
        QVERIFY2(info.isFile(), qPrintable(info.filePath()));
        QVERIFY2((info.permissions() & others) == 0, qPrintable(info.filePath()));
    }
}

// The running instance listens where no other user can enter: nobody else
// can take its place first or send it a link.
void TestSingleInstance::channelLivesInAPrivateFolder()
{
    const QString path = serverPath();
    QVERIFY2(QFileInfo::exists(path), qPrintable(path));
    const QFileInfo folder(QFileInfo(path).path());
    QVERIFY2((folder.permissions() & QFileDevice::Permissions(0x0077)) == 0, qPrintable(folder.filePath()));
    QVERIFY(kd_app::CPlatform::isOwnedByThisUser(folder.filePath()));
}

void TestSingleInstance::handOver_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("inMeeting");
    QTest::addColumn<QString>("received");
    const QString link = QStringLiteral("--url=brivana://joinmeeting/3003/0/pässwörd/sip.例子.example");
    QTest::newRow("no arguments") << QStringList() << false << "Activate";
    QTest::newRow("not a link") << QStringList{QStringLiteral("--url=other://x")} << false << "Activate";
    QTest::newRow("link, not in a meeting") << QStringList{link} << false << link;
    QTest::newRow("server link, not in a meeting")
        << QStringList{QStringLiteral("--url=parvela://meet.example.org/joinmeeting/3003/1/NO")} << false
        << "--url=parvela://meet.example.org/joinmeeting/3003/1/NO";
    QTest::newRow("link for the running meeting") << QStringList{link} << true << "Activate";
}

void TestSingleInstance::handOver()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, inMeeting);
    QFETCH(QString, received);

    setConfigValue("ConfRunningStatus", inMeeting ? "IsConfRunning=1" : "IsConfRunning=0");
    setConfigValue("ConfRunningStatus", inMeeting ? "ConfId=3003" : "ConfId=");
    // The running instance logs a link only by its length: it holds the
    // meeting password.
    const QString shown =
        received == QLatin1String("Activate") ? received : QStringLiteral("...(%1)").arg(received.size());
    const QString line = QStringLiteral("Received message: ") + shown + QLatin1Char('\n');
    const int before = logText().count(line);
    const int conflicted = logText(QStringLiteral("app-conflict.log")).count(QStringLiteral("Conflicted App"));

    QCOMPARE(runSecondInstance(arguments), 0);
    QTRY_COMPARE_WITH_TIMEOUT(logText().count(line), before + 1, kdtest::kStateWaitMs);
    // A guest link makes the running instance join; let that attempt end
    // before the next case edits the settings the instance writes.
    QTRY_COMPARE_WITH_TIMEOUT(logText().count(QRegularExpression("Change login status from 5 to")),
                              logText().count(QRegularExpression("Change login status from \\d+ to 5\\b")), kdtest::kStateWaitMs);
    QCOMPARE(logText(QStringLiteral("app-conflict.log")).count(QStringLiteral("Conflicted App")), conflicted + 1);
    QVERIFY(arguments.isEmpty() || !logText().contains(QStringLiteral("Received message: ") + arguments.first()));
    QCOMPARE(m_first->state(), QProcess::Running);
}

// A second start that cannot reach the running instance says so and keeps
// its link: nothing else may receive it in its place.
void TestSingleInstance::unreachableInstanceKeepsTheLink()
{
    QVERIFY(QFile::remove(serverPath()));
    const QString prompt = QStringLiteral("Prompt: The running application could not be reached.");
    const QString conflictLog = QStringLiteral("app-conflict.log");
    const int before = logText(conflictLog).count(prompt);
    const int received = logText().count(QStringLiteral("Received message: "));

    QProcess second;
    second.setProcessEnvironment(m_environment);
    second.setStandardOutputFile(QProcess::nullDevice());
    second.start(QCoreApplication::applicationDirPath() + "/parvela",
                 {QStringLiteral("--url=brivana://joinmeeting/3003/0/Secret-77")});
    QVERIFY(second.waitForStarted());
    QTRY_COMPARE_WITH_TIMEOUT(logText(conflictLog).count(prompt), before + 1, kdtest::kStateWaitMs);
    second.kill();
    second.waitForFinished();
    QCOMPARE(logText().count(QStringLiteral("Received message: ")), received);
}

void TestSingleInstance::killedInstanceDoesNotBlockNextStart()
{
    m_first->kill();
    QVERIFY(m_first->waitForFinished());
    const QStringList lockFiles = QDir(m_dir.filePath(QStringLiteral("parvela"))).entryList({"*.lock"});
    QCOMPARE(lockFiles.size(), 1);

    startFirstInstance();
    const QString line = QStringLiteral("Received message: Activate\n");
    const int before = logText().count(line);
    QCOMPARE(runSecondInstance(QStringList()), 0);
    QTRY_COMPARE_WITH_TIMEOUT(logText().count(line), before + 1, kdtest::kStateWaitMs);
}

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
