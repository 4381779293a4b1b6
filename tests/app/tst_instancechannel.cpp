#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtConcurrent>
#include <QtTest>

#include "statewait.h"
#include "../engine/clogcapture.h"
#include "app/cinstancechannel.h"
#include "app/cplatform.h"

using kd_app::CInstanceChannel;
using kd_app::CPlatform;

namespace {

// Writes the bytes as a peer that is not the program would, and waits until
// either side ends the connection; true when it ended.
bool writeRaw(const QString &path, const QByteArray &data, bool close)
{
    QLocalSocket socket;
    socket.connectToServer(path);
    if (!socket.waitForConnected(5000)) {
        return false;
    }
    socket.write(data);
    while (socket.bytesToWrite() > 0 && socket.state() == QLocalSocket::ConnectedState) {
        if (!socket.waitForBytesWritten(5000)) {
            break;
        }
    }
    if (close) {
        socket.disconnectFromServer();
    }
    return socket.state() == QLocalSocket::UnconnectedState || socket.waitForDisconnected(10000);
}

QFuture<bool> sendInBackground(const QString &path, const QString &message)
{
    return QtConcurrent::run([path, message] { return CInstanceChannel::send(path, message, 5000); });
}

} // namespace

// The channel from a second start to the running program, in one process:
// what arrives, what is refused, and that no peer can hold the thread up.
class TestInstanceChannel : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void delivers_data();
    void delivers();
    void refusesOverlongMessages_data();
    void refusesOverlongMessages();
    void silentPeersDoNotBlock();
    void staleSocketOfOursIsReplaced();
    void serverPlace_data();
    void serverPlace();
    void strangers_data();
    void strangers();

private:
    void expectDelivery(CInstanceChannel &channel, const QString &message);
    bool runAsStranger(QProcess &process, const QStringList &arguments);

    QScopedPointer<QTemporaryDir> m_dir;
    QString m_path;
};

void TestInstanceChannel::init()
{
    m_dir.reset(new QTemporaryDir);
    QVERIFY(m_dir->isValid());
    m_path = m_dir->filePath(QStringLiteral("channel"));
}

void TestInstanceChannel::expectDelivery(CInstanceChannel &channel, const QString &message)
{
    QSignalSpy received(&channel, &CInstanceChannel::messageAvailable);
    const QFuture<bool> sent = sendInBackground(m_path, message);
    QVERIFY(received.wait(kdtest::kStateWaitMs));
    QCOMPARE(received.size(), 1);
    QCOMPARE(received.first().first().toString(), message);
    QVERIFY(sent.result());
}

void TestInstanceChannel::delivers_data()
{
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<QString>("received");
    const QString link = QStringLiteral("--url=brivana://joinmeeting/3003/0/pässwörd/sip.例子.example");
    QTest::newRow("activate") << QByteArray("Activate") << "Activate";
    QTest::newRow("link, UTF-8 both ways") << link.toUtf8() << link;
    QTest::newRow("largest message") << QByteArray(CInstanceChannel::m_nMaxMessageBytes, 'x')
                                     << QString(CInstanceChannel::m_nMaxMessageBytes, QLatin1Char('x'));
    QTest::newRow("text ends at a zero byte") << QByteArray("Activate\0tail", 13) << "Activate";
}

void TestInstanceChannel::delivers()
{
    QFETCH(QByteArray, sent);
    QFETCH(QString, received);
    CInstanceChannel channel;
    QVERIFY(channel.listen(m_path));
    QSignalSpy messages(&channel, &CInstanceChannel::messageAvailable);
    const QFuture<bool> written = QtConcurrent::run([this, sent] { return writeRaw(m_path, sent, true); });
    QVERIFY(messages.wait(kdtest::kStateWaitMs));
    QCOMPARE(messages.first().first().toString(), received);
    QVERIFY(written.result());
}

// A message larger than any link is dropped as soon as it is too long; the
// channel goes on serving.
void TestInstanceChannel::refusesOverlongMessages_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("close");
    QTest::newRow("one byte too many") << CInstanceChannel::m_nMaxMessageBytes + 1 << true;
    QTest::newRow("16 MiB, the sender never stops") << 16 * 1024 * 1024 << false;
}

void TestInstanceChannel::refusesOverlongMessages()
{
    QFETCH(int, size);
    QFETCH(bool, close);
    CLogCapture log;
    CInstanceChannel channel;
    QVERIFY(channel.listen(m_path));
    QSignalSpy messages(&channel, &CInstanceChannel::messageAvailable);
    const QByteArray data(size, 'a');
    const QFuture<bool> written = QtConcurrent::run([this, data, close] { return writeRaw(m_path, data, close); });
    QTRY_VERIFY_WITH_TIMEOUT(log.contains(QStringLiteral("Instance message too long")), kdtest::kStateWaitMs);
    QTRY_VERIFY_WITH_TIMEOUT(written.isFinished(), kdtest::kStateWaitMs);
    QVERIFY(written.result());
    QCOMPARE(messages.size(), 0);
    expectDelivery(channel, QStringLiteral("Activate"));
}

// Peers that connect and say nothing neither hold up the thread nor keep
// the next start from being heard, and are dropped after the time-out.
void TestInstanceChannel::silentPeersDoNotBlock()
{
    CInstanceChannel channel;
    channel.setPeerTimeout(1500);
    QVERIFY(channel.listen(m_path));
    std::vector<std::unique_ptr<QLocalSocket>> silent;
    for (int i = 0; i < 20; ++i) {
        silent.push_back(std::make_unique<QLocalSocket>());
        silent.back()->connectToServer(m_path);
        QVERIFY(silent.back()->waitForConnected(5000));
    }
    // The longest pause of this thread's event loop while the channel works.
    QElapsedTimer sinceTick;
    qint64 longestPause = 0;
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, this, [&] { longestPause = qMax(longestPause, sinceTick.restart()); });
    sinceTick.start();
    ticker.start(10);

    expectDelivery(channel, QStringLiteral("Activate"));
    for (const auto &socket : silent) {
        QTRY_COMPARE_WITH_TIMEOUT(socket->state(), QLocalSocket::UnconnectedState, kdtest::kStateWaitMs);
    }
    ticker.stop();
    // Generous for a loaded machine; blocking reads wait a second a peer.
    QVERIFY2(longestPause < 3000, qPrintable(QString::number(longestPause)));
}

// An instance that ended without removing its socket leaves the file
// behind; the next first instance listens there all the same.
void TestInstanceChannel::staleSocketOfOursIsReplaced()
{
    const int stale = socket(AF_UNIX, SOCK_STREAM, 0);
    QVERIFY(stale >= 0);
    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    const QByteArray native = QFile::encodeName(m_path);
    qstrncpy(address.sun_path, native.constData(), sizeof address.sun_path);
    QCOMPARE(bind(stale, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
    close(stale);
    QVERIFY(QFileInfo::exists(m_path));

    CInstanceChannel channel;
    QVERIFY(channel.listen(m_path));
    expectDelivery(channel, QStringLiteral("Activate"));
}

void TestInstanceChannel::serverPlace_data()
{
    QTest::addColumn<QString>("runtimeMode"); // "" unset, "700", "755"
    QTest::addColumn<QString>("userMode");
    QTest::addColumn<QString>("expected"); // "runtime", "user", "fallback"
    QTest::newRow("runtime folder") << "700"
                                    << "700"
                                    << "runtime";
    QTest::newRow("runtime folder open to others") << "755"
                                                   << "700"
                                                   << "user";
    QTest::newRow("no runtime folder") << ""
                                       << "700"
                                       << "user";
    QTest::newRow("per-user folder open to others") << ""
                                                    << "755"
                                                    << "fallback";
    QTest::newRow("per-user folder too deep for a socket") << ""
                                                           << "deep"
                                                           << "fallback";
}

void TestInstanceChannel::serverPlace()
{
    QFETCH(QString, runtimeMode);
    QFETCH(QString, userMode);
    QFETCH(QString, expected);
    const QString runtime = m_dir->filePath(QStringLiteral("run"));
    QString user = m_dir->filePath(QStringLiteral("user"));
    if (userMode == QLatin1String("deep")) {
        user += QLatin1Char('/') + QString(120, QLatin1Char('d'));
        userMode = QStringLiteral("700");
    }
    QVERIFY(QDir().mkpath(runtime));
    QVERIFY(QDir().mkpath(user));
    QVERIFY(QFile::setPermissions(runtime, QFileDevice::Permissions(runtimeMode == "755" ? 0x7755 : 0x7700)));
    QVERIFY(QFile::setPermissions(user, QFileDevice::Permissions(userMode == "755" ? 0x7755 : 0x7700)));
    const QByteArray savedRuntime = qgetenv("XDG_RUNTIME_DIR");
    const auto restore = qScopeGuard([&savedRuntime] { qputenv("XDG_RUNTIME_DIR", savedRuntime); });
    if (runtimeMode.isEmpty()) {
        qunsetenv("XDG_RUNTIME_DIR");
    } else {
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
    }

    const QString path = CPlatform::instanceServerPath(QStringLiteral("name"), user);
    const QString fallback = QDir::tempPath() + QStringLiteral("/parvela-") + QString::number(geteuid());
    const QString folder = expected == "runtime" ? runtime : expected == "user" ? user : fallback;
    QCOMPARE(path, folder + QStringLiteral("/name"));
    QCOMPARE(QFileInfo(folder).permissions() & 0x0077, QFileDevice::Permissions());
    QVERIFY(CPlatform::isOwnedByThisUser(folder));
}

bool TestInstanceChannel::runAsStranger(QProcess &process, const QStringList &arguments)
{
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral("setpriv"), QStringList{"--reuid=65534", "--regid=65534", "--clear-groups",
                                                         QCoreApplication::applicationDirPath() + "/instancepeer"} +
                                                 arguments);
    return process.waitForStarted(5000);
}

// Another user on the same machine can neither send to the program nor
// take the place a second start sends to. Each side is checked on its own,
// in a folder both users can enter, which the program never listens in.
void TestInstanceChannel::strangers_data()
{
    QTest::addColumn<bool>("strangerListens");
    QTest::newRow("stranger sends a link") << false;
    QTest::newRow("stranger listens first") << true;
}

void TestInstanceChannel::strangers()
{
    QFETCH(bool, strangerListens);
    if (geteuid() != 0) {
        QSKIP("Needs root to run a peer as another user");
    }
    QProcess probe;
    if (!runAsStranger(probe, {}) || !probe.waitForFinished(10000) || probe.exitCode() != 1) {
        QSKIP("Cannot run a process as another user here");
    }
    const QString shared = m_dir->filePath(QStringLiteral("shared"));
    QVERIFY(QDir().mkpath(shared));
    QVERIFY(QFile::setPermissions(m_dir->path(), QFileDevice::Permissions(0x7755)));
    QVERIFY(QFile::setPermissions(shared, QFileDevice::Permissions(0x7777)));
    const QString path = shared + QStringLiteral("/channel");
    const QString link = QStringLiteral("--url=brivana://joinmeeting/3003/0/Secret-77");

    if (strangerListens) {
        QProcess stranger;
        QVERIFY(runAsStranger(stranger, {"listen", path}));
        QByteArray output;
        QTRY_VERIFY_WITH_TIMEOUT((output += stranger.readAll()).contains("listening"), kdtest::kStateWaitMs);
        QVERIFY(!CInstanceChannel::send(path, link, 3000));
        QTest::qWait(300);
        stranger.kill();
        stranger.waitForFinished();
        output += stranger.readAll();
        QVERIFY2(!output.contains("Secret-77"), output.constData());
        return;
    }

    CInstanceChannel channel;
    QVERIFY(channel.listen(path));
    // As if the socket had been left open to everyone.
    QVERIFY(QFile::setPermissions(path, QFileDevice::Permissions(0x7777)));
    QSignalSpy messages(&channel, &CInstanceChannel::messageAvailable);
    QProcess stranger;
    QVERIFY(runAsStranger(stranger, {"send", path, link}));
    QTRY_VERIFY_WITH_TIMEOUT(stranger.state() == QProcess::NotRunning, kdtest::kStateWaitMs);
    QVERIFY2(stranger.readAll().contains("sent"), "the stranger could not even connect");
    // Connections are taken in order: once ours is heard, the stranger's
    // was dealt with before it.
    m_path = path;
    expectDelivery(channel, QStringLiteral("Activate"));
    QCOMPARE(messages.size(), 1);
}

QTEST_GUILESS_MAIN(TestInstanceChannel)
#include "tst_instancechannel.moc"
