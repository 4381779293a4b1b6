#include <QBuffer>
#include <QElapsedTimer>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "statewait.h"
#include "cconfserver.h"
#include "cconfstore.h"
#include "serverclient.h"

using confserver::CConfServer;
using confserver::CConfStore;
using confserver::CServerLimits;

namespace {

const QByteArray kSeed = R"({
    "users": [
        {"id": 1, "name": "alice", "password": "Alice2026!", "displayName": "Alice", "sipPassword": "s1"},
        {"id": 2, "name": "bob", "password": "Bob2026!", "displayName": "Bob", "sipPassword": "s2"},
        {"id": 5, "name": "carl", "password": "Carl2026!", "displayName": "Carl", "sipPassword": "s5"}
    ],
    "meetings": [
        {"id": 1, "numericId": 70001, "name": "Locked", "startInMinutes": -5, "status": "ONGOING",
         "confPassword": "4711", "applicantId": 1, "userIds": [1, 2], "participants": [{"userId": 2}]},
        {"id": 2, "numericId": 70002, "name": "Open", "startInMinutes": -5, "status": "ONGOING",
         "applicantId": 1, "userIds": [1]}
    ]
})";

quint32 crc32(const QByteArray &data)
{
    quint32 crc = 0xffffffffu;
    for (const char byte : data) {
        crc ^= quint8(byte);
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

QByteArray pngChunk(const QByteArray &type, const QByteArray &data)
{
    QByteArray chunk(4, '\0');
    qToBigEndian(quint32(data.size()), chunk.data());
    chunk += type + data;
    QByteArray crc(4, '\0');
    qToBigEndian(crc32(type + data), crc.data());
    return chunk + crc;
}

// A few dozen bytes that announce a picture of width x height: what a
// reader believes before it decodes anything.
QByteArray pngHeaderOnly(quint32 width, quint32 height)
{
    QByteArray header(13, '\0');
    qToBigEndian(width, header.data());
    qToBigEndian(height, header.data() + 4);
    header[8] = 8; // bit depth
    header[9] = 2; // colour type: RGB
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + pngChunk("IHDR", header) + pngChunk("IEND", QByteArray());
}

QByteArray png(const QSize &size)
{
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(Qt::darkGreen);
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    return data;
}

// A connection of the test's own to the server on 127.0.0.1, from an
// address of the loopback range, sending and reading bytes as they are.
class CRawConnection
{
public:
    explicit CRawConnection(quint16 port, const char *source = "127.0.0.1")
    {
        m_socket = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in from{};
        from.sin_family = AF_INET;
        ::inet_pton(AF_INET, source, &from.sin_addr);
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_port = htons(port);
        to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        m_bConnected = ::bind(m_socket, reinterpret_cast<sockaddr *>(&from), sizeof(from)) == 0 &&
                       ::connect(m_socket, reinterpret_cast<sockaddr *>(&to), sizeof(to)) == 0;
    }
    ~CRawConnection() { ::close(m_socket); }
    CRawConnection(const CRawConnection &) = delete;
    CRawConnection &operator=(const CRawConnection &) = delete;

    bool isConnected() const { return m_bConnected; }
    bool send(const QByteArray &bytes)
    {
        return ::send(m_socket, bytes.constData(), size_t(bytes.size()), MSG_NOSIGNAL) == bytes.size();
    }
    // The status of the answer that arrives within the time; -1 when the
    // server closes the connection without one, 0 when nothing came.
    int status(int timeoutMs)
    {
        QByteArray answer;
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < timeoutMs) {
            pollfd readable{m_socket, POLLIN, 0};
            if (::poll(&readable, 1, 50) <= 0) {
                continue;
            }
            char buffer[4096];
            const ssize_t read = ::recv(m_socket, buffer, sizeof(buffer), 0);
            if (read <= 0) {
                return -1;
            }
            answer.append(buffer, int(read));
            if (answer.contains("\r\n")) {
                const QList<QByteArray> words = answer.left(answer.indexOf("\r\n")).split(' ');
                return words.size() >= 2 ? words.at(1).toInt() : -1;
            }
        }
        return 0;
    }

private:
    int m_socket = -1;
    bool m_bConnected = false;
};

// A server of its own, on a store of the seed, with limits of the test's.
struct CLimitedServer
{
    explicit CLimitedServer(const CServerLimits &limits) : server(store)
    {
        started = store.loadSeed(kSeed);
        server.setLimits(limits);
        started = started && server.start();
    }
    quint16 port() const { return quint16(QUrl(server.baseUrl()).port()); }

    CConfStore store;
    CConfServer server;
    bool started = false;
};

const QByteArray kFeaturesRequest = "GET /api/engine/v1/features HTTP/1.1\r\nHost: x\r\n\r\n";

// Connections that were answered once and then send the head of their next
// request a line at a time, for as long as they are open.
class CSlowHeads
{
public:
    CSlowHeads(quint16 port, int count)
    {
        for (int i = 0; i < count; ++i) {
            m_connections.push_back(std::make_unique<CRawConnection>(port));
            CRawConnection &connection = *m_connections.back();
            m_bAnswered = m_bAnswered && connection.send(kFeaturesRequest) && connection.status(10000) == 200 &&
                          connection.send("GET /api/engine/v1/features HTTP/1.1\r\n");
        }
        m_trickle = std::thread([this] {
            for (int round = 0; round < 200 && !m_bDone; ++round) {
                for (const auto &connection : m_connections) {
                    connection->send("X-Slow: 1\r\n");
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
            }
        });
    }
    ~CSlowHeads()
    {
        m_bDone = true;
        m_trickle.join();
    }

    // Every connection was answered before its slow head.
    bool wereAnswered() const { return m_bAnswered; }
    CRawConnection &at(int i) { return *m_connections.at(size_t(i)); }

private:
    std::vector<std::unique_ptr<CRawConnection>> m_connections;
    bool m_bAnswered = true;
    std::atomic<bool> m_bDone{false};
    std::thread m_trickle;
};

} // namespace

// What the local server refuses to anybody who can reach its port: bodies it
// should not read, secrets it should not tell, guesses it should not allow,
// and clients that would hold it up.
class TestServerGuards : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void refusedBodies_data();
    void refusedBodies();
    void bodilessRequestIsNotReadOn();
    void archivesMayBeLarger();
    void feedbackIsKeptWithinLimits();
    void jsonBodies_data();
    void jsonBodies();
    void pictures_data();
    void pictures();
    void meetingPeopleOnlyForMembers_data();
    void meetingPeopleOnlyForMembers();
    void passwordGuessesAreLimited();
    void userListsHoldNoPasswords();
    void tokensExpire();
    void slowClientsDoNotHoldTheServer();
    void idleConnectionsDoNotDelayOthers();
    void connectionsAreBoundedPerAddress();
    void loadIsShedWhenTheQueueIsFull();
    void sessionsPerAccountAreCapped();
    void seedNumbersOutOfRange_data();
    void seedNumbersOutOfRange();
    void testAuthoritySignsOnlyLocalNames_data();
    void testAuthoritySignsOnlyLocalNames();

private:
    CReply call(const QByteArray &verb, const QString &path, const QByteArray &body = QByteArray());
    QString login(const QString &account);
    // Sends raw bytes and returns the status of the answer (0: none within the time).
    int rawStatus(const QByteArray &request, int timeoutMs = 5000);

    CConfStore m_store;
    std::unique_ptr<CConfServer> m_server;
    CServerClient m_client;
};

void TestServerGuards::initTestCase()
{
    m_server = std::make_unique<CConfServer>(m_store);
    QVERIFY(m_server->start());
}

void TestServerGuards::init()
{
    QVERIFY(m_store.loadSeed(kSeed));
    m_server->setPasswordAttemptLimit(5, std::chrono::minutes(1));
    m_store.setTokenLifetime(std::chrono::hours(12), std::chrono::hours(24 * 7));
}

CReply TestServerGuards::call(const QByteArray &verb, const QString &path, const QByteArray &body)
{
    return m_client.call(m_server->baseUrl(), verb, path, body);
}

QString TestServerGuards::login(const QString &account)
{
    QString password = account;
    password[0] = password[0].toUpper();
    const QJsonObject body{{"account", account}, {"password", password + "2026!"}};
    return call("POST", "/api/engine/v1/login", QJsonDocument(body).toJson()).json().value("token").toString();
}

int TestServerGuards::rawStatus(const QByteArray &request, int timeoutMs)
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, quint16(QUrl(m_server->baseUrl()).port()));
    if (!socket.waitForConnected(timeoutMs)) {
        return -1;
    }
    socket.write(request);
    QElapsedTimer clock;
    clock.start();
    QByteArray answer;
    while (!answer.contains("\r\n") && clock.elapsed() < timeoutMs &&
           socket.state() == QAbstractSocket::ConnectedState) {
        socket.waitForReadyRead(100);
        answer += socket.readAll();
    }
    answer += socket.readAll();
    const QList<QByteArray> words = answer.left(answer.indexOf("\r\n")).split(' ');
    return words.size() >= 2 ? words.at(1).toInt() : 0;
}

void TestServerGuards::refusedBodies_data()
{
    QTest::addColumn<QByteArray>("head");
    QTest::addColumn<int>("status");
    // The body is never sent: the answer must come from the head alone.
    QTest::newRow("2 GB before any token")
        << QByteArray("POST /api/engine/v1/login HTTP/1.1\r\nHost: x\r\nContent-Length: 2147483648\r\n\r\n") << 413;
    QTest::newRow("just over 16 MiB")
        << QByteArray("POST /api/engine/v1/avatar HTTP/1.1\r\nHost: x\r\nContent-Length: 16777217\r\n\r\n") << 413;
    QTest::newRow("length beyond any number")
        << QByteArray(
               "POST /api/engine/v1/login HTTP/1.1\r\nHost: x\r\nContent-Length: 99999999999999999999999\r\n\r\n")
        << 413;
    QTest::newRow("gzip body") << QByteArray("POST /api/engine/v1/login HTTP/1.1\r\nHost: x\r\n"
                                             "Content-Encoding: gzip\r\nContent-Length: 509000\r\n\r\n")
                               << 415;
    QTest::newRow("chunked body") << QByteArray("POST /api/engine/v1/login HTTP/1.1\r\nHost: x\r\n"
                                                "Transfer-Encoding: chunked\r\n\r\n")
                                  << 411;
    QTest::newRow("another transfer coding") << QByteArray("POST /api/engine/v1/login HTTP/1.1\r\nHost: x\r\n"
                                                           "Transfer-Encoding: identity\r\n\r\n")
                                             << 411;
    // Only the feedback route takes archives.
    QTest::newRow("archive's size on another route")
        << QByteArray("POST /api/rest/v2.0/feedback HTTP/1.1\r\nHost: x\r\n"
                      "Content-Length: 20971520\r\n\r\n")
        << 413;
}

// A request that announces no length has no body: the server answers it
// without reading on, whatever else comes on the connection.
void TestServerGuards::bodilessRequestIsNotReadOn()
{
    CRawConnection connection(quint16(QUrl(m_server->baseUrl()).port()));
    QVERIFY(connection.isConnected());
    QVERIFY(connection.send("POST /api/engine/v1/feedback HTTP/1.1\r\nHost: x\r\n\r\n"));
    int status = 0;
    for (int i = 0; i < 50 && status == 0; ++i) {
        connection.send(QByteArray(1024, 'z'));
        status = connection.status(100);
    }
    QCOMPARE(status, 400);
}

void TestServerGuards::refusedBodies()
{
    QFETCH(QByteArray, head);
    QFETCH(int, status);
    QCOMPARE(rawStatus(head), status);
}

void TestServerGuards::archivesMayBeLarger()
{
    const QString token = login("bob");
    const CReply sent = call("POST", "/api/engine/v1/feedback?token=" + token, QByteArray(20 * 1024 * 1024, 'z'));
    QCOMPARE(sent.status, 200);
    QCOMPARE(sent.json().value("size").toInt(), 20 * 1024 * 1024);
}

// Feedback archives live on disk, the newest few within a total size, and
// one address sends only a few without signing in.
void TestServerGuards::feedbackIsKeptWithinLimits()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    CServerLimits limits;
    limits.anonymousFeedbacks = 2;
    CLimitedServer limited(limits);
    QVERIFY(limited.started);
    CConfStore &store = limited.store;
    const CConfServer &server = limited.server;
    store.setFeedbackFolder(folder.path());
    store.setFeedbackLimits(3, 2 * 1024 * 1024 + 512 * 1024);
    const QString token = store.issueToken(2);
    QList<QByteArray> archives;
    for (int i = 0; i < 5; ++i) {
        archives << QByteArray(i < 2 ? 1000 : 1024 * 1024, char('a' + i));
        QCOMPARE(
            m_client.call(server.baseUrl(), "POST", "/api/engine/v1/feedback?token=" + token, archives.last()).status,
            200);
    }
    // Three at most, and of those only as many as fit 2.5 MiB.
    const std::vector<confserver::CFeedbackRecord> kept = store.feedbacks();
    QCOMPARE(int(kept.size()), 2);
    QCOMPARE(kept.at(0).archive, archives.at(3));
    QCOMPARE(kept.at(1).archive, archives.at(4));
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files).size(), 4);
    QCOMPARE(store.feedbackCount(), 5);

    for (int i = 0; i < 2; ++i) {
        QCOMPARE(m_client.call(server.baseUrl(), "POST", "/api/engine/v1/feedback", "anonymous").status, 200);
    }
    const CReply refused = m_client.call(server.baseUrl(), "POST", "/api/engine/v1/feedback", "anonymous");
    QCOMPARE(refused.status, 429);
    QCOMPARE(m_client.call(server.baseUrl(), "POST", "/api/engine/v1/feedback?token=" + token, "signed").status, 200);
}

void TestServerGuards::jsonBodies_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<int>("errorCode");
    // Of a repeated key the last counts, and nothing of the others stays behind.
    QTest::newRow("repeated key") << QByteArray(R"({"account":"mallory","account":"alice","password":"Alice2026!"})")
                                  << 0;
    QTest::newRow("deep nesting") << QByteArray(100000, '[') << 1020;
    QTest::newRow("nesting inside an object") << QByteArray(R"({"account":"alice","password":"Alice2026!","x":)") +
                                                     QByteArray(5000, '[') + QByteArray(5000, ']') + "}"
                                              << 1020;
    QTest::newRow("broken UTF-8") << QByteArray("{\"account\":\"\xff\xfe\",\"password\":\"x\"}") << 1020;
    QTest::newRow("number too large") << QByteArray(R"({"account":"alice","password":1e400})") << 1020;
    QTest::newRow("not an object") << QByteArray(R"(["alice","Alice2026!"])") << 1020;
}

void TestServerGuards::jsonBodies()
{
    QFETCH(QByteArray, body);
    QFETCH(int, errorCode);
    QCOMPARE(call("POST", "/api/engine/v1/login", body).errorCode(), errorCode);
}

void TestServerGuards::pictures_data()
{
    QTest::addColumn<bool>("signedIn");
    QTest::addColumn<QByteArray>("picture");
    QTest::addColumn<int>("errorCode");
    QTest::newRow("huge picture, no token") << false << pngHeaderOnly(20000, 20000) << 1010;
    QTest::newRow("huge picture, signed in") << true << pngHeaderOnly(20000, 20000) << 1020;
    QTest::newRow("one side too long") << true << pngHeaderOnly(4097, 16) << 1020;
    QTest::newRow("largest allowed") << true << png(QSize(4096, 8)) << 0;
    QTest::newRow("ordinary picture") << true << png(QSize(200, 120)) << 0;
}

void TestServerGuards::pictures()
{
    QFETCH(bool, signedIn);
    QFETCH(QByteArray, picture);
    QFETCH(int, errorCode);
    const QString token = signedIn ? login("alice") : QStringLiteral("0123456789abcdef");
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(call("POST", "/api/engine/v1/avatar?token=" + token, picture).errorCode(), errorCode);
    // Refusals cost nothing: the picture is not decoded.
    if (errorCode) {
        QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
    }
}

void TestServerGuards::meetingPeopleOnlyForMembers_data()
{
    QTest::addColumn<QString>("who");
    QTest::addColumn<QString>("number");
    QTest::addColumn<int>("peopleError");
    QTest::addColumn<int>("boardError");
    QTest::newRow("organiser") << "alice"
                               << "70001" << 0 << 0;
    QTest::newRow("invited") << "bob"
                             << "70001" << 0 << 0;
    QTest::newRow("not invited") << "carl"
                                 << "70001" << 1040 << 1040;
    QTest::newRow("not invited, joined with the password") << "carl+join"
                                                           << "70001" << 0 << 0;
    QTest::newRow("not invited, open meeting") << "carl"
                                               << "70002" << 1040 << 1040;
}

void TestServerGuards::meetingPeopleOnlyForMembers()
{
    QFETCH(QString, who);
    QFETCH(QString, number);
    QFETCH(int, peopleError);
    QFETCH(int, boardError);
    const QString token = login(who.section('+', 0, 0));
    QVERIFY(!token.isEmpty());
    if (who.endsWith("+join")) {
        const QJsonObject body{{"displayName", "Carl"}, {"password", "4711"}};
        QCOMPARE(
            call("POST", "/api/engine/v1/meetings/" + number + "/join?token=" + token, QJsonDocument(body).toJson())
                .errorCode(),
            0);
    }
    QCOMPARE(call("GET", "/api/rest/v2.0/meetings/" + number + "/simpleparticipants?token=" + token).errorCode(),
             peopleError);
    QCOMPARE(call("GET", "/api/engine/v1/meetings/" + number + "/participants?token=" + token).errorCode(),
             number == "70002" ? 0 : peopleError);
    QCOMPARE(
        call("GET", "/api/rest/v2.0/acsToken?token=" + token + "&confNumericId=" + number + "&deviceId=1").errorCode(),
        boardError);
}

void TestServerGuards::passwordGuessesAreLimited()
{
    m_server->setPasswordAttemptLimit(3, std::chrono::milliseconds(1500));
    const auto guess = [this](const char *route, const char *password) {
        return call("POST", QStringLiteral("/api/engine/v1/meetings/70001/%1").arg(route),
                    QJsonDocument(QJsonObject{{"password", password}}).toJson());
    };
    QCOMPARE(guess("password", "0000").errorCode(), 6601);
    QCOMPARE(guess("join", "0001").errorCode(), 6601);
    QCOMPARE(guess("password", "4711").errorCode(), 0); // a right password is not a failure
    QCOMPARE(guess("password", "0002").errorCode(), 6601);
    // Used up: even the right password waits, on both routes.
    const CReply refused = guess("password", "4711");
    QCOMPARE(refused.status, 429);
    QCOMPARE(refused.errorCode(), 6609);
    QCOMPARE(guess("join", "4711").status, 429);
    // Another meeting is counted apart.
    QCOMPARE(call("POST", "/api/engine/v1/meetings/70002/join", "{}").errorCode(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(guess("password", "4711").errorCode(), 0, kdtest::kStateWaitMs);
}

void TestServerGuards::userListsHoldNoPasswords()
{
    const QString token = login("alice");
    const QJsonArray users = call("GET", "/api/rest/v2.0/users?token=" + token).array();
    QCOMPARE(users.size(), 3);
    for (const QJsonValue &user : users) {
        QVERIFY(!user.toObject().contains("sipPassword"));
        QVERIFY(!user.toObject().contains("password"));
    }
    QVERIFY(!call("GET", "/api/rest/v2.0/users/2?token=" + token).json().contains("sipPassword"));
    // One's own record still carries what the client registers with.
    QCOMPARE(call("GET", "/api/rest/v2.0/users/1?token=" + token).json().value("sipPassword").toString(),
             QStringLiteral("s1"));
}

void TestServerGuards::tokensExpire()
{
    using std::chrono::milliseconds;
    m_store.setTokenLifetime(milliseconds(400), milliseconds(400));
    const QString token = login("alice");
    QCOMPARE(call("GET", "/api/rest/v2.0/contacts?token=" + token).status, 200);
    // Past its lifetime the REST API refuses it with the code the client renews on ...
    QTRY_COMPARE_WITH_TIMEOUT(call("GET", "/api/rest/v2.0/contacts?token=" + token).errorCode(), 1010, kdtest::kStateWaitMs);
    // ... and the engine's refresh swaps it for a new one.
    const QString renewed = call("GET", "/api/engine/v1/user?token=" + token).json().value("token").toString();
    QVERIFY(!renewed.isEmpty());
    QVERIFY(renewed != token);
    QCOMPARE(call("GET", "/api/rest/v2.0/contacts?token=" + renewed).status, 200);

    // Sign-ins that are never used again do not pile up (one account keeps
    // only its newest few: these are of many accounts).
    const int firstGenerated = 6; // after the seed's last user
    m_store.addGeneratedUsers(3000);
    for (int i = 0; i < 3000; ++i) {
        m_store.issueToken(firstGenerated + i);
    }
    QVERIFY(m_store.tokenCount() >= 3000);
    QTRY_VERIFY_WITH_TIMEOUT(m_store.tokenCount() == 0, kdtest::kStateWaitMs);
    QCOMPARE(call("GET", "/api/engine/v1/user?token=" + renewed).errorCode(), 1010);
}

// Clients that send their request a line at a time, each line well within
// the read time-out, hold a connection for as long as they like.
void TestServerGuards::slowClientsDoNotHoldTheServer()
{
    // The server program, as the demo runs it: its workers are not shared
    // with this test's own threads.
    QProcess program;
    program.start(QCoreApplication::applicationDirPath() + "/confserver",
                  {"--seed", QStringLiteral(CONFSERVER_SOURCE_DIR "/seed/demo.json"), "--port", "0"});
    QVERIFY(program.waitForReadyRead(10000));
    const QString base = QRegularExpression(QStringLiteral("listening on (http://127.0.0.1:\\d+)"))
                             .match(QString::fromUtf8(program.readLine()))
                             .captured(1);
    QVERIFY(!base.isEmpty());
    const quint16 port = quint16(QUrl(base).port());
    std::vector<int> slow;
    for (int i = 0; i < 70; ++i) {
        const int socket = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        QVERIFY(::connect(socket, reinterpret_cast<sockaddr *>(&address), sizeof(address)) == 0);
        slow.push_back(socket);
    }
    std::atomic<bool> done{false};
    std::thread trickle([&slow, &done] {
        for (const int socket : slow) {
            const char head[] = "GET /api/engine/v1/features HTTP/1.1\r\nHost: x\r\n";
            ::send(socket, head, sizeof(head) - 1, MSG_NOSIGNAL);
        }
        while (!done) {
            for (const int socket : slow) {
                ::send(socket, "X-Slow: 1\r\n", 11, MSG_NOSIGNAL);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
        }
    });
    QTest::qWait(1000);
    QElapsedTimer clock;
    clock.start();
    // A client of its own: one that came before may still hold a connection.
    CServerClient fresh;
    const int status = fresh.call(base, "GET", "/api/engine/v1/features").status;
    const qint64 elapsed = clock.elapsed();
    done = true;
    trickle.join();
    for (const int socket : slow) {
        ::close(socket);
    }
    program.terminate();
    QVERIFY(program.waitForFinished(10000));
    QCOMPARE(status, 200);
    QVERIFY2(elapsed < 3000, qPrintable(QString::number(elapsed)));
}

// Every client keeps its connections open between requests, and a worker
// waits on each until its keep-alive time runs out. With a fixed pool, a
// request beyond the pool's size waited those seconds for a worker.
void TestServerGuards::idleConnectionsDoNotDelayOthers()
{
    const quint16 port = quint16(QUrl(m_server->baseUrl()).port());
    std::vector<std::unique_ptr<QTcpSocket>> idle;
    for (int i = 0; i < 80; ++i) {
        auto socket = std::make_unique<QTcpSocket>();
        socket->connectToHost(QHostAddress::LocalHost, port);
        QVERIFY(socket->waitForConnected(5000));
        socket->write("GET /api/engine/v1/features HTTP/1.1\r\nHost: x\r\n\r\n");
        QVERIFY(socket->waitForReadyRead(5000));
        idle.push_back(std::move(socket));
    }
    QElapsedTimer clock;
    clock.start();
    CServerClient fresh;
    QCOMPARE(fresh.call(m_server->baseUrl(), "GET", "/api/engine/v1/features").status, 200);
    QVERIFY2(clock.elapsed() < 3000, qPrintable(QString::number(clock.elapsed())));
}

// One address holds a few connections, each for a bounded time while its
// request's head comes, and another address is answered meanwhile.
void TestServerGuards::connectionsAreBoundedPerAddress()
{
    CServerLimits limits;
    limits.connectionsPerAddress = 3;
    limits.headTime = std::chrono::milliseconds(1500);
    CLimitedServer server(limits);
    QVERIFY(server.started);
    const quint16 port = server.port();
    CSlowHeads slow(port, 3);
    QVERIFY(slow.wereAnswered());

    CRawConnection beyond(port);
    QVERIFY(beyond.send(kFeaturesRequest));
    QCOMPARE(beyond.status(5000), -1);

    CRawConnection other(port, "127.0.0.2");
    QVERIFY(other.isConnected());
    QElapsedTimer clock;
    clock.start();
    QVERIFY(other.send(kFeaturesRequest));
    QCOMPARE(other.status(5000), 200);
    QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));

    // The slow heads are cut off, and their address is served again.
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(slow.at(i).status(15000), -1);
    }
    CRawConnection again(port);
    QVERIFY(again.send(kFeaturesRequest));
    QCOMPARE(again.status(5000), 200);
}

// With every worker busy and the queue full, a connection is closed at
// once instead of waiting behind the others.
void TestServerGuards::loadIsShedWhenTheQueueIsFull()
{
    CServerLimits limits;
    limits.maxWorkers = 2;
    limits.maxWaiting = 1;
    limits.headTime = std::chrono::milliseconds(1500);
    CLimitedServer server(limits);
    QVERIFY(server.started);
    const quint16 port = server.port();
    CSlowHeads slow(port, 2);
    QVERIFY(slow.wereAnswered());

    CRawConnection waiting(port);
    QVERIFY(waiting.send(kFeaturesRequest));
    CRawConnection shed(port);
    QVERIFY(shed.send(kFeaturesRequest));
    QCOMPARE(shed.status(5000), -1);
    // The waiting one gets a worker once a slow head has run out of time.
    QCOMPARE(waiting.status(15000), 200);
}

void TestServerGuards::sessionsPerAccountAreCapped()
{
    QStringList tokens;
    for (int i = 0; i <= CConfStore::kSessionsPerUser; ++i) {
        tokens << login("alice");
    }
    QCOMPARE(tokens.size(), CConfStore::kSessionsPerUser + 1);
    QCOMPARE(m_store.sessionCount(1), CConfStore::kSessionsPerUser);
    // The oldest sign-in went.
    QCOMPARE(call("GET", "/api/rest/v2.0/contacts?token=" + tokens.first()).errorCode(), 1010);
    QCOMPARE(call("GET", "/api/rest/v2.0/contacts?token=" + tokens.at(1)).status, 200);
    QCOMPARE(call("GET", "/api/rest/v2.0/contacts?token=" + tokens.last()).status, 200);
}

void TestServerGuards::seedNumbersOutOfRange_data()
{
    QTest::addColumn<QByteArray>("seed");
    QTest::addColumn<QString>("field"); // empty: the seed loads
    const auto meeting = [](const char *fields) {
        return QByteArray(R"({"users": [{"id": 1, "name": "alice"}], "meetings": [{"applicantId": 1, )") + fields +
               "}]}";
    };
    QTest::newRow("largest numbers") << meeting(R"("id": 999999999, "numericId": 999999999, "startInMinutes": -52000000,
                                               "durationMinutes": 52000000)")
                                     << QString();
    QTest::newRow("start far away") << meeting(R"("startInMinutes": 1e300)") << "meetings[0].startInMinutes";
    QTest::newRow("start far back") << meeting(R"("startInMinutes": -1e20)") << "meetings[0].startInMinutes";
    QTest::newRow("endless meeting") << meeting(R"("durationMinutes": 1e17)") << "meetings[0].durationMinutes";
    QTest::newRow("negative duration") << meeting(R"("durationMinutes": -5)") << "meetings[0].durationMinutes";
    QTest::newRow("meeting id at the top") << meeting(R"("id": 2147483647)") << "meetings[0].id";
    QTest::newRow("meeting id a fraction") << meeting(R"("id": 1.5)") << "meetings[0].id";
    QTest::newRow("meeting number at the top") << meeting(R"("numericId": 2147483647)") << "meetings[0].numericId";
    QTest::newRow("user id at the top") << QByteArray(R"({"users": [{"id": 2147483647, "name": "max"}]})")
                                        << "users[0].id";
    QTest::newRow("first number at the top")
        << QByteArray(R"({"firstMeetingNumber": 2147483647})") << "firstMeetingNumber";
}

// The demo seed's numbers are computed with: one out of range is refused by
// its name, and the store keeps what it had.
void TestServerGuards::seedNumbersOutOfRange()
{
    QFETCH(QByteArray, seed);
    QFETCH(QString, field);
    CConfStore store;
    QVERIFY(store.loadSeed(kSeed));
    QString error;
    QCOMPARE(store.loadSeed(seed, &error), field.isEmpty());
    if (field.isEmpty()) {
        QCOMPARE(store.userCount(), 1);
        return;
    }
    QVERIFY2(error.contains(field), qPrintable(error));
    QCOMPARE(store.userCount(), 3);
}

void TestServerGuards::testAuthoritySignsOnlyLocalNames_data()
{
    QTest::addColumn<QString>("subjectAltName");
    QTest::addColumn<bool>("valid");
    QTest::newRow("localhost") << "DNS:localhost" << true;
    QTest::newRow("loopback v4") << "IP:127.0.0.1" << true;
    QTest::newRow("loopback v6") << "IP:::1" << true;
    QTest::newRow("another host") << "DNS:bank.example" << false;
    QTest::newRow("another address") << "IP:10.0.0.1" << false;
    QTest::newRow("local and foreign") << "DNS:localhost,DNS:bank.example" << false;
}

void TestServerGuards::testAuthoritySignsOnlyLocalNames()
{
    QFETCH(QString, subjectAltName);
    QFETCH(bool, valid);
    const QString ca = QString::fromStdString(CConfServer::rootCaPath());
    const QString caKey = QFileInfo(ca).dir().filePath("rootca.key");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const auto openssl = [&dir](const QStringList &arguments) {
        QProcess process;
        process.setWorkingDirectory(dir.path());
        process.start("openssl", arguments);
        return process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit &&
               process.exitCode() == 0;
    };
    QVERIFY(openssl(
        {"req", "-newkey", "rsa:2048", "-nodes", "-keyout", "leaf.key", "-out", "leaf.csr", "-subj", "/O=Somebody"}));
    QFile extensions(dir.filePath("leaf.ext"));
    QVERIFY(extensions.open(QIODevice::WriteOnly));
    extensions.write("subjectAltName=" + subjectAltName.toUtf8() + "\n");
    extensions.close();
    QVERIFY(openssl({"x509", "-req", "-in", "leaf.csr", "-CA", ca, "-CAkey", caKey, "-CAcreateserial", "-CAserial",
                     dir.filePath("ca.srl"), "-days", "1", "-extfile", "leaf.ext", "-out", "leaf.pem"}));
    QCOMPARE(openssl({"verify", "-CAfile", ca, "leaf.pem"}), valid);
}

QTEST_GUILESS_MAIN(TestServerGuards)
#include "tst_serverguards.moc"
