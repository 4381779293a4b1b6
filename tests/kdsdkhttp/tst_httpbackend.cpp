#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>

#include "statewait.h"
#include "cconfserver.h"
#include "closedport.h"
#include "cconfstore.h"
#include "kdsdkcontrol.h"
#include "models/ckdsdkmanager.h"

using namespace kd::engine;
using confserver::CConfServer;
using confserver::CConfStore;
using confserver::CFault;
using kd_app::models::CKDSdkManager;

Q_DECLARE_METATYPE(CFault::Kind)

namespace {

const QByteArray kSeed = R"({
    "organisation": {"companyShortName": "Harbour", "appServerType": "UCM", "enableChangePassword": true},
    "users": [
        {"id": 1, "name": "alice", "password": "Alice2026!", "displayName": "Alice Archer", "callNumber": "6001"},
        {"id": 2, "name": "bob", "password": "Bob2026!", "displayName": "Bob Brand"},
        {"id": 3, "name": "cleo", "password": "Cleo2026!", "displayName": "Cleo Cruz", "passwordModifiedByUser": false},
        {"id": 4, "name": "dora", "password": "Dora2026!", "displayName": "Dora", "accountState": "locked"},
        {"id": 5, "name": "emil", "password": "Emil2026!", "displayName": "Emil", "accountState": "unused"}
    ],
    "meetings": [
        {"id": 1, "numericId": 70001, "name": "Standup", "startInMinutes": -5, "status": "ONGOING",
         "applicantId": 1, "userIds": [1, 2, 3], "participants": [{"userId": 2}, {"userId": 3}]},
        {"id": 2, "numericId": 70002, "name": "Board", "startInMinutes": -5, "status": "ONGOING",
         "confPassword": "4711", "applicantId": 1, "userIds": [1, 2], "participants": [{"userId": 2}]},
        {"id": 3, "numericId": 70003, "name": "Later", "startInMinutes": 60, "applicantId": 1, "userIds": [1]}
    ]
})";

// The limit the test run gives every request (KDSDK_HTTP_TIMEOUT_MS).
const int kRequestLimitMs = 1500;

// A server of the engine API that answers each path with a fixed JSON body,
// as a server sending numbers no real account has would.
class CCannedServer : public QObject
{
public:
    explicit CCannedServer(QMap<QByteArray, QByteArray> bodies) : m_bodies(std::move(bodies))
    {
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { answer(socket); });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
    }
    bool start() { return m_server.listen(QHostAddress::LocalHost); }
    quint16 port() const { return m_server.serverPort(); }

private:
    void answer(QTcpSocket *socket)
    {
        QByteArray request = socket->property("request").toByteArray() + socket->readAll();
        socket->setProperty("request", request);
        const int headerEnd = request.indexOf("\r\n\r\n");
        if (headerEnd < 0) {
            return;
        }
        const QRegularExpression lengthHeader(QStringLiteral("(?i)\r\ncontent-length: *(\\d+)"));
        const QRegularExpressionMatch length = lengthHeader.match(QString::fromLatin1(request.left(headerEnd)));
        if (length.hasMatch() && request.size() < headerEnd + 4 + length.captured(1).toInt()) {
            return;
        }
        const QByteArray path = request.split(' ').value(1).split('?').value(0);
        const bool known = m_bodies.contains(path);
        const QByteArray body = known ? m_bodies.value(path) : QByteArray("{}");
        socket->write((known ? "HTTP/1.1 200 OK" : "HTTP/1.1 404 Not Found") +
                      QByteArray("\r\nContent-Type: application/json\r\nConnection: close\r\nContent-Length: ") +
                      QByteArray::number(body.size()) + "\r\n\r\n" + body);
        socket->disconnectFromHost();
    }

    QTcpServer m_server;
    QMap<QByteArray, QByteArray> m_bodies;
};

// Someone on the path between the engine and a server: passes every
// connection on to the server and keeps what the engine sent.
class CRecordingRelay : public QObject
{
public:
    explicit CRecordingRelay(quint16 target) : m_target(target)
    {
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *client = m_server.nextPendingConnection()) {
                auto *upstream = new QTcpSocket(client);
                // What the engine sends before the server is reached waits in its socket.
                const auto forward = [this, client, upstream] {
                    if (upstream->state() == QAbstractSocket::ConnectedState) {
                        const QByteArray bytes = client->readAll();
                        m_seen += bytes;
                        upstream->write(bytes);
                    }
                };
                connect(client, &QTcpSocket::readyRead, upstream, forward);
                connect(upstream, &QTcpSocket::connected, upstream, forward);
                connect(upstream, &QTcpSocket::readyRead, client,
                        [client, upstream] { client->write(upstream->readAll()); });
                connect(upstream, &QTcpSocket::disconnected, client, &QTcpSocket::disconnectFromHost);
                connect(client, &QTcpSocket::disconnected, client, &QObject::deleteLater);
                upstream->connectToHost(QHostAddress::LocalHost, m_target);
            }
        });
    }
    bool start() { return m_server.listen(QHostAddress::LocalHost); }
    quint16 port() const { return m_server.serverPort(); }
    QByteArray seen() const { return m_seen; }

private:
    QTcpServer m_server;
    quint16 m_target;
    QByteArray m_seen;
};

} // namespace

// The engine signs in, refreshes its token, dials and uploads against a real
// conference server, and every way that can fail reaches the client as an event.
class TestHttpBackend : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void signIn_data();
    void signIn();
    void featureQuery_data();
    void featureQuery();
    void tokenRefreshKeepsRestAccess();
    void passwordPolicyAndChange();
    void dialOut_data();
    void dialOut();
    void avatarDownloadWritesTheServersPicture();
    void avatarUpload_data();
    void avatarUpload();
    void feedbackUpload_data();
    void feedbackUpload();
    void feedbackUploadsKeepTheirOrder();
    void feedbackTokenStaysWithItsServer_data();
    void feedbackTokenStaysWithItsServer();
    void releaseCutsAWaitingSignInShort();
    void takesPartWhileInTheCall_data();
    void takesPartWhileInTheCall();
    void numbersOutOfRangeReadAsMissing_data();
    void numbersOutOfRangeReadAsMissing();

private:
    CConfServer &server(bool tls) { return tls ? *m_https : *m_http; }
    void prepare(bool tls, bool trusted = true);
    KDUserInfo signIn(const char *user, const char *password);
    int restStatus(const std::string &token);
    QStringList participantsOf(const QString &number);

    CConfStore m_store;
    std::unique_ptr<CConfServer> m_http;
    std::unique_ptr<CConfServer> m_https;
    CKDSdkManager *m_manager = nullptr;
    QNetworkAccessManager m_network;
    QTemporaryDir m_dir;
};

void TestHttpBackend::initTestCase()
{
    qRegisterMetaType<CFault::Kind>();
    m_http = std::make_unique<CConfServer>(m_store);
    QVERIFY(m_http->start());
    m_https = std::make_unique<CConfServer>(m_store, true);
    QVERIFY(m_https->start());
}

void TestHttpBackend::init()
{
    QString error;
    QVERIFY2(m_store.loadSeed(kSeed, &error), qPrintable(error));
    CKDSdkManager::initInstance();
    m_manager = CKDSdkManager::getInstance();
    kd::sdk::IEngineControl *control = kd::sdk::currentEngineControl();
    QVERIFY(control);
    control->setEventLatency(0);
}

void TestHttpBackend::cleanup()
{
    CKDSdkManager::releaseInstance();
    m_http->clearFaults();
    m_https->clearFaults();
}

void TestHttpBackend::prepare(bool tls, bool trusted)
{
    if (trusted) {
        QVERIFY(m_manager->setRootCA(QFile::encodeName(QString::fromStdString(CConfServer::rootCaPath()))));
    }
    QVERIFY(m_manager->enableSecure(tls));
}

KDUserInfo TestHttpBackend::signIn(const char *user, const char *password)
{
    QSignalSpy logins(m_manager, &CKDSdkManager::eventLoginSucceed);
    const std::string wrapped = m_manager->encryptPassword(1, password);
    if (!m_manager->avlogin("127.0.0.1", unsigned(m_http->port()), user, wrapped.c_str())) {
        return KDUserInfo();
    }
    if (!logins.wait(5000) && logins.isEmpty()) {
        return KDUserInfo();
    }
    return logins.at(0).at(0).value<KDUserInfo>();
}

int TestHttpBackend::restStatus(const std::string &token)
{
    QUrl url(m_http->baseUrl() + "/api/rest/v2.0/users");
    url.setQuery(QUrlQuery{{"token", QString::fromStdString(token)}});
    QNetworkReply *reply = m_network.get(QNetworkRequest(url));
    QSignalSpy finished(reply, &QNetworkReply::finished);
    if (!reply->isFinished()) {
        finished.wait(5000);
    }
    reply->deleteLater();
    return reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
}

void TestHttpBackend::signIn_data()
{
    QTest::addColumn<bool>("tls");
    QTest::addColumn<bool>("trusted");
    QTest::addColumn<QString>("host");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<QString>("account");
    QTest::addColumn<QString>("password");
    QTest::addColumn<int>("faultKind"); // -1: none
    QTest::addColumn<int>("faultValue");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("code");

    using namespace kd::sdk;
    const QString local = "127.0.0.1";
    const QString alice = "alice";
    const QString right = "Alice2026!";
    const int none = -1;
    const int engine = KD_ERROR_TYPE_ENGINE;
    const int server = KD_ERROR_TYPE_SERVER;
    const int unreachable = KD_ENGINE_ERROR_SERVER_UNREACHABLE;
    QTest::newRow("http") << false << true << local << false << alice << right << none << 0 << 0 << 0;
    QTest::newRow("https") << true << true << local << false << alice << right << none << 0 << 0 << 0;
    QTest::newRow("https by name") << true << true << "localhost" << false << alice << right << none << 0 << 0 << 0;
    QTest::newRow("wrong password") << false << true << local << false << alice << "alice2026!" << none << 0 << server
                                    << int(KD_SERVER_ERROR_WRONG_CREDENTIALS);
    QTest::newRow("unknown account") << false << true << local << false << "zed" << right << none << 0 << server
                                     << int(KD_SERVER_ERROR_WRONG_CREDENTIALS);
    QTest::newRow("locked account") << false << true << local << false << "dora"
                                    << "Dora2026!" << none << 0 << server << int(KD_SERVER_ERROR_ACCOUNT_LOCKED);
    QTest::newRow("locked account, wrong password")
        << false << true << local << false << "dora"
        << "Dora2027!" << none << 0 << server << int(KD_SERVER_ERROR_WRONG_CREDENTIALS);
    QTest::newRow("account not in use") << false << true << local << false << "emil"
                                        << "Emil2026!" << none << 0 << server << int(KD_SERVER_ERROR_ACCOUNT_UNUSED);
    QTest::newRow("connection refused") << false << true << local << true << alice << right << none << 0 << engine
                                        << unreachable;
    QTest::newRow("unknown server") << false << true << "no-such-host.invalid" << false << alice << right << none << 0
                                    << engine << int(KD_ENGINE_ERROR_NAME_NOT_RESOLVED);
    QTest::newRow("untrusted certificate") << true << false << local << false << alice << right << none << 0
                                           << int(KD_ERROR_TYPE_OTHER) << KD_OTHER_ERROR_UNTRUSTED_CERTIFICATE;
    QTest::newRow("http over https") << true << true << local << false << alice << right << -2 << 0 << engine
                                     << unreachable;
    QTest::newRow("server error 500") << false << true << local << false << alice << right << int(CFault::Kind::Http500)
                                      << 0 << engine << int(KD_ENGINE_ERROR_UNKNOWN);
    QTest::newRow("error code") << false << true << local << false << alice << right << int(CFault::Kind::ErrorCode)
                                << 1999 << server << 1999;
    QTest::newRow("body not JSON") << false << true << local << false << alice << right << int(CFault::Kind::NotJson)
                                   << 0 << engine << int(KD_ENGINE_ERROR_INVALID_SERVER);
    QTest::newRow("connection dropped") << false << true << local << false << alice << right << int(CFault::Kind::Drop)
                                        << 0 << engine << unreachable;
    QTest::newRow("time-out") << false << true << local << false << alice << right << int(CFault::Kind::Delay) << 4000
                              << engine << unreachable;
}

void TestHttpBackend::signIn()
{
    QFETCH(bool, tls);
    QFETCH(bool, trusted);
    QFETCH(QString, host);
    QFETCH(bool, closed);
    QFETCH(QString, account);
    QFETCH(QString, password);
    QFETCH(int, faultKind);
    QFETCH(int, faultValue);
    QFETCH(int, type);
    QFETCH(int, code);

    // -2: an HTTPS client sent to the plain HTTP port.
    const bool plainPortForTls = faultKind == -2;
    prepare(tls, trusted);
    if (faultKind >= 0) {
        CFault fault;
        fault.route = "/api/engine/v1/login";
        fault.kind = CFault::Kind(faultKind);
        fault.value = faultValue;
        server(tls).addFault(fault);
    }
    const int port = closed ? closedPort() : server(tls && !plainPortForTls).port();

    QStringList order;
    connect(m_manager, &CKDSdkManager::eventLoginSucceed, this, [&order] { order << "login"; });
    connect(m_manager, &CKDSdkManager::eventRegisterInfo, this, [&order] { order << "register"; });
    QSignalSpy errors(m_manager, &CKDSdkManager::eventError);
    QSignalSpy logins(m_manager, &CKDSdkManager::eventLoginSucceed);
    QElapsedTimer clock;
    clock.start();
    const std::string wrapped = m_manager->encryptPassword(1, password.toUtf8().constData());
    QVERIFY(
        m_manager->avlogin(host.toUtf8().constData(), unsigned(port), account.toUtf8().constData(), wrapped.c_str()));

    if (code == 0) {
        QTRY_COMPARE_WITH_TIMEOUT(order, (QStringList{"login", "register"}), kdtest::kStateWaitMs);
        const KDUserInfo user = logins.at(0).at(0).value<KDUserInfo>();
        QCOMPARE(user.username, std::string("alice"));
        QCOMPARE(user.displayName, std::string("Alice Archer"));
        QCOMPARE(user.callNumber, std::string("6001"));
        QCOMPARE(user.org, std::string("Harbour"));
        QVERIFY(!user.passwordChangeRequired);
        QCOMPARE(errors.count(), 0);
        // The engine's token is the one the REST API takes.
        QCOMPARE(restStatus(user.token), 200);
        return;
    }
    QTRY_COMPARE_WITH_TIMEOUT(errors.count(), 1, kdtest::kStateWaitMs);
    // A server that never answers is given up on at the request limit, not waited for.
    QVERIFY2(clock.elapsed() < kRequestLimitMs * 2, qPrintable(QString::number(clock.elapsed())));
    const KDError error = errors.at(0).at(0).value<KDError>();
    QCOMPARE(error.action, std::string("avlogin"));
    QCOMPARE(error.type, type);
    QCOMPARE(error.code, code);
    if (type == kd::sdk::KD_ERROR_TYPE_OTHER) {
        // Shown to the user as it stands: it has to say what is wrong, and why.
        QVERIFY2(QByteArray::fromStdString(error.msg).startsWith("The server's certificate is not trusted: "),
                 error.msg.c_str());
        QVERIFY2(error.msg.find("self-signed") != std::string::npos ||
                     error.msg.find("local issuer") != std::string::npos,
                 error.msg.c_str());
    }
    QCOMPARE(logins.count(), 0);
    KDRegisterInfo registration;
    QVERIFY(m_manager->getRegisterInfo(1, registration));
    QCOMPARE(registration.state, 0);
}

void TestHttpBackend::featureQuery_data()
{
    QTest::addColumn<bool>("tls");
    QTest::addColumn<bool>("trusted");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<int>("faultKind"); // -1: none
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("code");

    using namespace kd::sdk;
    const int engine = KD_ERROR_TYPE_ENGINE;
    QTest::newRow("http") << false << true << false << -1 << 0 << 0 << 0;
    QTest::newRow("https") << true << true << false << -1 << 0 << 0 << 0;
    QTest::newRow("refused") << false << true << true << -1 << int(KD_ERR_SERVER_UNREACHABLE) << engine
                             << int(KD_ENGINE_ERROR_SERVER_UNREACHABLE);
    QTest::newRow("untrusted") << true << false << false << -1 << int(KD_ERR_UNTRUSTED_SERVER)
                               << int(KD_ERROR_TYPE_OTHER) << KD_OTHER_ERROR_UNTRUSTED_CERTIFICATE;
    QTest::newRow("no engine API") << false << true << false << int(CFault::Kind::NotJson)
                                   << int(KD_ERR_NO_FEATURE_RECORD) << 0 << 0;
    QTest::newRow("server error 500") << false << true << false << int(CFault::Kind::Http500) << int(KD_ERR_GENERIC)
                                      << engine << int(KD_ENGINE_ERROR_UNKNOWN);
    QTest::newRow("time-out") << false << true << false << int(CFault::Kind::Delay) << int(KD_ERR_SERVER_UNREACHABLE)
                              << engine << int(KD_ENGINE_ERROR_SERVER_UNREACHABLE);
}

void TestHttpBackend::featureQuery()
{
    QFETCH(bool, tls);
    QFETCH(bool, trusted);
    QFETCH(bool, closed);
    QFETCH(int, faultKind);
    QFETCH(int, result);
    QFETCH(int, type);
    QFETCH(int, code);

    prepare(tls, trusted);
    if (faultKind >= 0) {
        CFault fault;
        fault.route = "/api/engine/v1/features";
        fault.kind = CFault::Kind(faultKind);
        fault.value = 4000;
        server(tls).addFault(fault);
    }
    QSignalSpy errors(m_manager, &CKDSdkManager::eventError);
    AVFeature feature;
    const int port = closed ? closedPort() : server(tls).port();
    // The wrapper counts "no feature record" as success: sign-in goes on.
    const bool accepted = result == 0 || result == kd::sdk::KD_ERR_NO_FEATURE_RECORD;
    QCOMPARE(m_manager->getFeature("127.0.0.1", unsigned(port), feature), accepted);
    if (result == 0) {
        QCOMPARE(feature.appServerType, std::string("UCM"));
        QCOMPARE(feature.version, std::string("v1"));
        QVERIFY(feature.enableChangePassword);
    }
    if (accepted) {
        QVERIFY(kd::sdk::currentEngineControl()->waitForIdle(kdtest::kStateWaitMs));
        QCOMPARE(errors.count(), 0);
        return;
    }
    QTRY_COMPARE_WITH_TIMEOUT(errors.count(), 1, kdtest::kStateWaitMs);
    const KDError error = errors.at(0).at(0).value<KDError>();
    QCOMPARE(error.action, std::string("getFeature"));
    QCOMPARE(error.type, type);
    QCOMPARE(error.code, code);
}

void TestHttpBackend::tokenRefreshKeepsRestAccess()
{
    prepare(false);
    const KDUserInfo first = signIn("alice", "Alice2026!");
    QVERIFY(!first.token.empty());

    KDUserInfo same;
    QVERIFY(m_manager->getUserInfo(same));
    QCOMPARE(same.token, first.token);
    QCOMPARE(same.displayName, std::string("Alice Archer"));

    m_store.expireToken(QString::fromStdString(first.token));
    QCOMPARE(restStatus(first.token), 401);
    KDUserInfo fresh;
    QVERIFY(m_manager->getUserInfo(fresh));
    QVERIFY(!fresh.token.empty());
    QVERIFY(fresh.token != first.token);
    QCOMPARE(restStatus(fresh.token), 200);
    // The engine goes on with the new token: the next refresh keeps it.
    KDUserInfo again;
    QVERIFY(m_manager->getUserInfo(again));
    QCOMPARE(again.token, fresh.token);

    // A server that is gone fails the refresh instead of blocking the caller.
    m_http->addFault(CFault{"/api/engine/v1/user", CFault::Kind::Delay, 4000, -1});
    QElapsedTimer clock;
    clock.start();
    QVERIFY(!m_manager->getUserInfo(again));
    QVERIFY(clock.elapsed() < kRequestLimitMs * 2);
}

void TestHttpBackend::passwordPolicyAndChange()
{
    prepare(false);
    const KDUserInfo cleo = signIn("cleo", "Cleo2026!");
    QVERIFY(!cleo.token.empty());
    QVERIFY(cleo.passwordChangeRequired);

    // The server's rules (for this kind of server the client's own), which
    // allow "." unlike the engine's own defaults.
    const KDPasswordPolicy policy = m_manager->getPasswordPolicy();
    QCOMPARE(policy.minLength, 4);
    QCOMPARE(policy.maxLength, 16);
    QCOMPARE(policy.typeCount, 1);
    QVERIFY(policy.specialChars.find('.') != std::string::npos);
    QVERIFY(m_manager->validatePassword("harbour.2026"));

    QVERIFY(!m_manager->changePassword("Wrong2026!", "harbour.2026"));
    QVERIFY(m_manager->changePassword("Cleo2026!", "harbour.2026"));
    QVERIFY(m_manager->avlogout());

    QSignalSpy errors(m_manager, &CKDSdkManager::eventError);
    QVERIFY(m_manager->avlogin("127.0.0.1", unsigned(m_http->port()), "cleo",
                               m_manager->encryptPassword(1, "Cleo2026!").c_str()));
    QTRY_COMPARE_WITH_TIMEOUT(errors.count(), 1, kdtest::kStateWaitMs);
    QCOMPARE(errors.at(0).at(0).value<KDError>().code, int(kd::sdk::KD_SERVER_ERROR_WRONG_CREDENTIALS));
    const KDUserInfo changed = signIn("cleo", "harbour.2026");
    QVERIFY(!changed.token.empty());
    QVERIFY(!changed.passwordChangeRequired);
}

void TestHttpBackend::dialOut_data()
{
    QTest::addColumn<QByteArray>("number");
    QTest::addColumn<bool>("guest");
    QTest::addColumn<int>("endType");
    QTest::addColumn<int>("endCode");
    QTest::addColumn<QByteArray>("peer");
    QTest::addColumn<int>("remoteStreams");

    using namespace kd::sdk;
    const int server = KD_ERROR_TYPE_SERVER;
    const int wrongPassword = KD_SERVER_ERROR_WRONG_MEETING_PASSWORD;
    QTest::newRow("running meeting") << QByteArray("70001") << false << 0 << 0 << QByteArray("Standup") << 2;
    QTest::newRow("with its password") << QByteArray("70002*4711") << false << 0 << 0 << QByteArray("Board") << 1;
    QTest::newRow("not started yet") << QByteArray("70003") << false << 0 << 0 << QByteArray("Later") << 1;
    QTest::newRow("password missing") << QByteArray("70002") << false << server
                                      << int(KD_SERVER_ERROR_MEETING_PASSWORD_REQUIRED) << QByteArray() << 0;
    QTest::newRow("wrong password") << QByteArray("70002*1234") << false << server << wrongPassword << QByteArray()
                                    << 0;
    QTest::newRow("unknown meeting") << QByteArray("79999") << false << server
                                     << int(KD_SERVER_ERROR_MEETING_UNAVAILABLE) << QByteArray() << 0;
    QTest::newRow("guest names the server") << QByteArray("70002*4711") << true << 0 << 0 << QByteArray("Board") << 1;
    QTest::newRow("guest, wrong password")
        << QByteArray("70002*1") << true << server << wrongPassword << QByteArray() << 0;
    QTest::newRow("no server known") << QByteArray("70001") << true << int(KD_ERROR_TYPE_ENGINE)
                                     << int(KD_ENGINE_ERROR_SERVER_UNREACHABLE) << QByteArray() << 0;
}

void TestHttpBackend::dialOut()
{
    QFETCH(QByteArray, number);
    QFETCH(bool, guest);
    QFETCH(int, endType);
    QFETCH(int, endCode);
    QFETCH(QByteArray, peer);
    QFETCH(int, remoteStreams);

    prepare(true);
    QByteArray dialled = number;
    if (guest) {
        // A guest's dial string carries the server; a bare number has none to go to.
        if (number.contains('*')) {
            dialled += "@127.0.0.1:" + QByteArray::number(m_https->port());
        }
    } else {
        // Nobody signed in: the server is known from the feature query alone.
        AVFeature feature;
        QVERIFY(m_manager->getFeature("127.0.0.1", unsigned(m_https->port()), feature));
    }
    QSignalSpy connected(m_manager, &CKDSdkManager::eventCallConnected);
    QSignalSpy ended(m_manager, &CKDSdkManager::eventCallEnd);
    QVERIFY(m_manager->dialOut(dialled.constData(), true));

    if (endCode != 0) {
        QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, kdtest::kStateWaitMs);
        const KDError reason = ended.at(0).at(0).value<KDCallInfo>().err;
        QCOMPARE(reason.type, endType);
        QCOMPARE(reason.code, endCode);
        QCOMPARE(connected.count(), 0);
        return;
    }
    QTRY_COMPARE_WITH_TIMEOUT(connected.count(), 1, kdtest::kStateWaitMs);
    const KDCallInfo info = connected.at(0).at(0).value<KDCallInfo>();
    QCOMPARE(QByteArray::fromStdString(info.peer), peer);
    QCOMPARE(info.svcCallType, number == "6001" ? 1 : 0);
    QVERIFY(QByteArray::fromStdString(info.conference_number).startsWith(number.left(5)));
    // Audio both ways, video out, and one video in for each name in the grid.
    KDStats stats;
    QVERIFY(m_manager->getStats(stats));
    QCOMPARE(stats.count, 3 + remoteStreams);
    QVERIFY(m_manager->hangUp());
    QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, kdtest::kStateWaitMs);
}

void TestHttpBackend::avatarDownloadWritesTheServersPicture()
{
    prepare(false);
    const KDUserInfo alice = signIn("alice", "Alice2026!");
    QVERIFY(!alice.token.empty());
    const QString path = m_dir.filePath("1_header.jpg");
    QSignalSpy done(m_manager, &CKDSdkManager::eventDownloadUserImageComplete);
    QVERIFY(m_manager->downloadUserImage(QFile::encodeName(path).constData()));
    QTRY_COMPARE_WITH_TIMEOUT(done.count(), 1, kdtest::kStateWaitMs);
    QFile written(path);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), m_store.avatarOfToken(QString::fromStdString(alice.token)));
    QVERIFY(!QImage(path).isNull());

    // A server failing the download leaves an error event and no half file.
    const QString second = m_dir.filePath("1_again.jpg");
    m_http->addFault(CFault{"/api/engine/v1/avatar", CFault::Kind::Http500, 0, -1});
    QSignalSpy errors(m_manager, &CKDSdkManager::eventError);
    QVERIFY(m_manager->downloadUserImage(QFile::encodeName(second).constData()));
    QTRY_COMPARE_WITH_TIMEOUT(errors.count(), 1, kdtest::kStateWaitMs);
    QCOMPARE(errors.at(0).at(0).value<KDError>().action, std::string("downloadUserImage"));
    QVERIFY(!QFile::exists(second));
}

void TestHttpBackend::avatarUpload_data()
{
    QTest::addColumn<bool>("picture");
    QTest::newRow("picture") << true;
    QTest::newRow("not a picture") << false;
}

void TestHttpBackend::avatarUpload()
{
    QFETCH(bool, picture);
    prepare(false);
    const KDUserInfo alice = signIn("alice", "Alice2026!");
    QVERIFY(!alice.token.empty());
    const QByteArray before = m_store.avatarOfToken(QString::fromStdString(alice.token));
    const QString path = m_dir.filePath("mine.png");
    if (picture) {
        QImage red(64, 64, QImage::Format_RGB32);
        red.fill(Qt::red);
        QVERIFY(red.save(path, "PNG"));
    } else {
        QFile text(path);
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("not a picture");
    }
    QSignalSpy done(m_manager, &CKDSdkManager::eventUploadUserImageComplete);
    QSignalSpy errors(m_manager, &CKDSdkManager::eventError);
    QVERIFY(m_manager->uploadUserImage(QFile::encodeName(path).constData()));
    QTRY_COMPARE_WITH_TIMEOUT(done.count() + errors.count(), 1, kdtest::kStateWaitMs);
    const QByteArray after = m_store.avatarOfToken(QString::fromStdString(alice.token));
    if (!picture) {
        const KDError error = errors.at(0).at(0).value<KDError>();
        QCOMPARE(error.action, std::string("uploadUserImage"));
        // The server's own refusal, in its own words.
        QCOMPARE(error.type, int(kd::sdk::KD_ERROR_TYPE_SERVER));
        QCOMPARE(error.code, 1020);
        QCOMPARE(error.msg, std::string("The body is not an image"));
        QCOMPARE(after, before);
        return;
    }
    QCOMPARE(done.count(), 1);
    const QColor stored = QImage::fromData(after).pixelColor(32, 32);
    QVERIFY2(stored.red() > 200 && stored.green() < 60, qPrintable(stored.name()));
}

void TestHttpBackend::feedbackUpload_data()
{
    QTest::addColumn<int>("faultKind"); // -1: none
    QTest::addColumn<bool>("signedIn");
    QTest::addColumn<bool>("withAddress");
    QTest::addColumn<QString>("uploader"); // empty: refused, "-": anonymous

    QTest::newRow("to the signed-in server") << -1 << true << false << "alice";
    QTest::newRow("to an address") << -1 << true << true << "alice";
    QTest::newRow("to an address without sign-in") << -1 << false << true << "-";
    QTest::newRow("neither sign-in nor address") << -1 << false << false << "";
    QTest::newRow("server error") << int(CFault::Kind::Http500) << true << false << "";
    QTest::newRow("time-out") << int(CFault::Kind::Delay) << true << false << "";
}

void TestHttpBackend::feedbackUpload()
{
    QFETCH(int, faultKind);
    QFETCH(bool, signedIn);
    QFETCH(bool, withAddress);
    QFETCH(QString, uploader);
    const bool uploaded = !uploader.isEmpty();

    prepare(false);
    if (signedIn) {
        QVERIFY(!signIn("alice", "Alice2026!").token.empty());
    } else {
        // The server is known (the sign-in page asked it), but nobody signed in.
        kd::engine::AVFeature feature;
        QVERIFY(m_manager->getFeature("127.0.0.1", unsigned(m_http->port()), feature));
    }
    if (faultKind >= 0) {
        m_http->addFault(CFault{"/api/engine/v1/feedback", CFault::Kind(faultKind), 4000, -1});
    }
    const QString archive = m_dir.filePath("appLog.zip");
    QFile file(archive);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(1024 * 1024, 'z'));
    file.close();
    const int before = m_store.feedbackCount();

    QSignalSpy progress(m_manager, &CKDSdkManager::eventUploadFeedback);
    QVERIFY(withAddress ? m_manager->uploadFeedbackFilesWithAddress(archive, "alice@example.org", "no sound & more",
                                                                    m_http->baseUrl())
                        : m_manager->uploadFeedbackfile(archive, "alice@example.org", "no sound & more"));
    QTRY_VERIFY_WITH_TIMEOUT(
        !progress.isEmpty() && (progress.last().at(0).toInt() == 100 || progress.last().at(0).toInt() < 0), kdtest::kStateWaitMs);
    QCOMPARE(progress.last().at(0).toInt() == 100, uploaded);
    QCOMPARE(m_store.feedbackCount(), before + (uploaded ? 1 : 0));
    if (uploaded) {
        const confserver::CFeedbackRecord record = m_store.feedbacks().back();
        QCOMPARE(record.user, uploader == "-" ? QString() : uploader);
        QCOMPARE(record.contact, QString("alice@example.org"));
        QCOMPARE(record.description, QString("no sound & more"));
        QCOMPARE(record.archive.size(), 1024 * 1024);
    }
    // Progress only grows, and 100 comes once the server has the archive.
    int previous = -1;
    for (int i = 0; i + 1 < progress.count(); ++i) {
        const int value = progress.at(i).at(0).toInt();
        QVERIFY(value > previous && value < 100);
        previous = value;
    }
}

void TestHttpBackend::feedbackUploadsKeepTheirOrder()
{
    prepare(false);
    QVERIFY(!signIn("alice", "Alice2026!").token.empty());
    // The first upload is slow; were they sent side by side, the second would arrive first.
    m_http->addFault(CFault{"/api/engine/v1/feedback", CFault::Kind::Delay, 700, 1});
    const QString archive = m_dir.filePath("appLog.zip");
    QFile file(archive);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("PK archive");
    file.close();
    const size_t before = m_store.feedbacks().size();

    QSignalSpy progress(m_manager, &CKDSdkManager::eventUploadFeedback);
    QVERIFY(m_manager->uploadFeedbackfile(archive, "first", "one"));
    QVERIFY(m_manager->uploadFeedbackfile(archive, "second", "two"));
    QList<int> finals;
    QTRY_VERIFY_WITH_TIMEOUT(([&] {
                                 finals.clear();
                                 for (const QList<QVariant> &event : progress) {
                                     const int value = event.at(0).toInt();
                                     if (value == 100 || value < 0) {
                                         finals << value;
                                     }
                                 }
                                 return finals.size() == 2;
                             }()), kdtest::kStateWaitMs);
    QCOMPARE(finals, (QList<int>{100, 100}));
    const std::vector<confserver::CFeedbackRecord> records = m_store.feedbacks();
    QCOMPARE(records.size(), before + 2);
    QCOMPARE(records.at(before).contact, QString("first"));
    QCOMPARE(records.at(before + 1).contact, QString("second"));
}

void TestHttpBackend::feedbackTokenStaysWithItsServer_data()
{
    QTest::addColumn<bool>("signInTls");
    QTest::addColumn<QString>("address");  // %1: the relay's port, %2: the other server's
    QTest::addColumn<QString>("uploader"); // empty: nothing arrived, "-": anonymous

    QTest::newRow("the issuing server, plain as issued") << false << "http://127.0.0.1:%1"
                                                         << "alice";
    QTest::newRow("the issuing server, secure as issued") << true << "https://127.0.0.1:%1"
                                                          << "alice";
    QTest::newRow("the issuing server, by its name") << true << "localhost:%1"
                                                     << "-";
    QTest::newRow("issued over https, sent over http") << true << "http://127.0.0.1:%1"
                                                       << "";
    QTest::newRow("another server") << false << "https://127.0.0.1:%2"
                                    << "-";
}

void TestHttpBackend::feedbackTokenStaysWithItsServer()
{
    QFETCH(bool, signInTls);
    QFETCH(QString, address);
    QFETCH(QString, uploader);

    prepare(signInTls);
    CRecordingRelay relay(quint16(server(signInTls).port()));
    QVERIFY(relay.start());
    QSignalSpy logins(m_manager, &CKDSdkManager::eventLoginSucceed);
    QVERIFY(
        m_manager->avlogin("127.0.0.1", relay.port(), "alice", m_manager->encryptPassword(1, "Alice2026!").c_str()));
    QVERIFY(logins.wait(kdtest::kStateWaitMs) || !logins.isEmpty());
    const QByteArray token =
        QUrl::toPercentEncoding(QString::fromStdString(logins.at(0).at(0).value<KDUserInfo>().token));
    QVERIFY(!token.isEmpty());

    const QString archive = m_dir.filePath("appLog.zip");
    QFile file(archive);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("PK archive");
    file.close();
    const int before = m_store.feedbackCount();
    QSignalSpy progress(m_manager, &CKDSdkManager::eventUploadFeedback);
    address.replace("%1", QString::number(relay.port())).replace("%2", QString::number(server(!signInTls).port()));
    QVERIFY(m_manager->uploadFeedbackFilesWithAddress(archive, "alice@example.org", "no sound", address));
    QTRY_VERIFY_WITH_TIMEOUT(
        !progress.isEmpty() && (progress.last().at(0).toInt() == 100 || progress.last().at(0).toInt() < 0), kdtest::kStateWaitMs);
    QCOMPARE(m_store.feedbackCount(), before + (uploader.isEmpty() ? 0 : 1));
    if (!uploader.isEmpty()) {
        QCOMPARE(m_store.feedbacks().back().user, uploader == "-" ? QString() : uploader);
    }
    // A token issued over https never crosses the path in clear text.
    if (signInTls) {
        QVERIFY(!relay.seen().contains(token));
    }
}

void TestHttpBackend::releaseCutsAWaitingSignInShort()
{
    prepare(false);
    m_http->addFault(CFault{"/api/engine/v1/login", CFault::Kind::Delay, 4000, -1});
    QSignalSpy errors(m_manager, &CKDSdkManager::eventError);
    QVERIFY(m_manager->avlogin("127.0.0.1", unsigned(m_http->port()), "alice",
                               m_manager->encryptPassword(1, "Alice2026!").c_str()));
    // Long enough for the request to be on the wire.
    QTest::qWait(300);
    QElapsedTimer clock;
    clock.start();
    CKDSdkManager::releaseInstance();
    QVERIFY2(clock.elapsed() < kRequestLimitMs / 2, qPrintable(QString::number(clock.elapsed())));
    QTest::qWait(100);
    QCOMPARE(errors.count(), 0);
}

QStringList TestHttpBackend::participantsOf(const QString &number)
{
    QStringList names;
    for (const QJsonValue &value : m_store.peopleIn(number).value.toArray()) {
        names << value.toObject().value("name").toString();
    }
    return names;
}

void TestHttpBackend::takesPartWhileInTheCall_data()
{
    QTest::addColumn<QByteArray>("account");
    QTest::addColumn<QString>("ending");
    QTest::addColumn<bool>("controllable");
    QTest::addColumn<QStringList>("listed");
    const QString guest = QSysInfo::machineHostName();
    const QStringList organiser{"Bob Brand", "Cleo Cruz", "Alice Archer"};
    QTest::newRow("organiser hangs up") << QByteArray("alice") << "hang up" << true << organiser;
    QTest::newRow("organiser, far end ends") << QByteArray("alice") << "far end" << true << organiser;
    QTest::newRow("organiser, engine released") << QByteArray("alice") << "release" << true << organiser;
    QTest::newRow("listed participant") << QByteArray("bob") << "hang up" << false
                                        << QStringList{"Bob Brand", "Cleo Cruz"};
    QTest::newRow("guest") << QByteArray() << "hang up" << false << QStringList{"Bob Brand", "Cleo Cruz", guest};
}

void TestHttpBackend::takesPartWhileInTheCall()
{
    QFETCH(QByteArray, account);
    QFETCH(QString, ending);
    QFETCH(bool, controllable);
    QFETCH(QStringList, listed);
    prepare(false);
    if (account.isEmpty()) {
        AVFeature feature;
        QVERIFY(m_manager->getFeature("127.0.0.1", unsigned(m_http->port()), feature));
    } else {
        QVERIFY(!signIn(account.constData(), account == "alice" ? "Alice2026!" : "Bob2026!").token.empty());
    }
    const QStringList before = participantsOf("70001");
    QSignalSpy connected(m_manager, &CKDSdkManager::eventCallConnected);
    QSignalSpy ended(m_manager, &CKDSdkManager::eventCallEnd);
    QVERIFY(m_manager->dialOut("70001", account != "bob"));
    QTRY_COMPARE_WITH_TIMEOUT(connected.count(), 1, kdtest::kStateWaitMs);

    QCOMPARE(participantsOf("70001"), listed);
    QCOMPARE(m_manager->conferenceControllable(), controllable);

    if (ending == "hang up") {
        QVERIFY(m_manager->hangUp());
    } else if (ending == "far end") {
        kd::sdk::currentEngineControl()->injectRemoteHangUp(0);
    } else {
        CKDSdkManager::releaseInstance();
        // Released, the engine has left before it went.
        QCOMPARE(participantsOf("70001").size(), before.size() - (account == "bob" ? 1 : 0));
        return;
    }
    QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, kdtest::kStateWaitMs);
    QTRY_COMPARE_WITH_TIMEOUT(participantsOf("70001").size(), before.size() - (account == "bob" ? 1 : 0), kdtest::kStateWaitMs);
    QVERIFY(!m_manager->conferenceControllable());
}

// Ids and limits that no integer of the engine holds read as missing (0),
// never as whatever an out-of-range conversion gives.
void TestHttpBackend::numbersOutOfRangeReadAsMissing_data()
{
    QTest::addColumn<QByteArray>("numbers"); // the account's "id" and "endpointId"
    QTest::addColumn<QByteArray>("limits");  // the password policy's lengths
    QTest::addColumn<qulonglong>("userId");
    QTest::addColumn<qulonglong>("deviceId");
    QTest::addColumn<int>("minLength");
    QTest::newRow("in range") << QByteArray(R"("id": 42, "endpointId": 1042)")
                              << QByteArray(R"("minLength": 8, "maxLength": 32)") << 42ull << 1042ull << 8;
    QTest::newRow("negative id") << QByteArray(R"("id": -1, "endpointId": -1042)")
                                 << QByteArray(R"("minLength": -1e300, "maxLength": 32)") << 0ull << 0ull << 0;
    QTest::newRow("beyond 64 bits") << QByteArray(R"("id": 1e30, "endpointId": 1.8446744073709552e19)")
                                    << QByteArray(R"("minLength": 1e300, "maxLength": 4294967296)") << 0ull << 0ull
                                    << 0;
    QTest::newRow("largest exact") << QByteArray(R"("id": 9007199254740992, "endpointId": 0)")
                                   << QByteArray(R"("minLength": 2147483647, "maxLength": 1)") << 9007199254740992ull
                                   << 0ull << 2147483647;
}

void TestHttpBackend::numbersOutOfRangeReadAsMissing()
{
    QFETCH(QByteArray, numbers);
    QFETCH(QByteArray, limits);
    QFETCH(qulonglong, userId);
    QFETCH(qulonglong, deviceId);
    QFETCH(int, minLength);
    CCannedServer canned({{"/api/engine/v1/login", R"({"token": "t0k3n", "user": {"name": "zed", )" + numbers + "}}"},
                          {"/api/engine/v1/passwordPolicy", "{" + limits + "}"}});
    QVERIFY(canned.start());
    prepare(false);
    QSignalSpy logins(m_manager, &CKDSdkManager::eventLoginSucceed);
    QVERIFY(m_manager->avlogin("127.0.0.1", canned.port(), "zed", m_manager->encryptPassword(1, "pw").c_str()));
    QVERIFY(logins.wait(kdtest::kStateWaitMs) || !logins.isEmpty());
    const KDUserInfo user = logins.at(0).at(0).value<KDUserInfo>();
    QCOMPARE(qulonglong(user.userId), userId);
    QCOMPARE(qulonglong(user.deviceId), deviceId);
    QCOMPARE(m_manager->getPasswordPolicy().minLength, minLength);
}

QTEST_MAIN(TestHttpBackend)
#include "tst_httpbackend.moc"
