#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPointer>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>

#include "statewait.h"
#include "clientfixture.h"

using namespace fixture;

namespace {

// An HTTP server on 127.0.0.1 that holds every request until the test
// answers it, so that the order of replies is the test's to choose.
class CHeldHttpServer : public QObject
{
public:
    CHeldHttpServer()
    {
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection()) {
                socket->setParent(this);
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
                    m_buffers[socket] += socket->readAll();
                    if (m_buffers[socket].contains("\r\n\r\n") && !m_requests.contains(socket)) {
                        m_requests << socket;
                        m_targets << QString::fromLatin1(m_buffers[socket].split(' ').value(1));
                    }
                });
            }
        });
        m_server.listen(QHostAddress::LocalHost);
    }

    quint16 port() const { return m_server.serverPort(); }
    int requestCount() const { return m_requests.size(); }
    QString target(int index) const { return m_targets.value(index); }
    bool isOpen(int index) const
    {
        QTcpSocket *socket = m_requests.value(index);
        return socket && socket->state() == QAbstractSocket::ConnectedState;
    }

    void answer(int index, int status, const QByteArray &body)
    {
        QTcpSocket *socket = m_requests.value(index);
        if (!socket) {
            return;
        }
        socket->write("HTTP/1.1 " + QByteArray::number(status) + " X\r\nContent-Type: application/json\r\n" +
                      "Connection: close\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body);
        socket->disconnectFromHost();
    }

private:
    QTcpServer m_server;
    QList<QPointer<QTcpSocket>> m_requests;
    QStringList m_targets;
    QHash<QTcpSocket *, QByteArray> m_buffers;
};

QByteArray tokenBody(const QString &token)
{
    return QStringLiteral(R"({"acsJsonWebToken":"%1","internalEdgeIp":"int.test","externalEdgeIp":"ext.test"})")
        .arg(token)
        .toUtf8();
}

} // namespace

class TestWhiteboardToken : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void tokenRead_data();
    void tokenRead();
    void failedReplyKeepsToken_data();
    void failedReplyKeepsToken();
    void newerRequestReplacesOlder();
    void foreignReplyIgnored();
    void endedCallDropsToken();

private:
    void startRequests();
    void readTokenThenAskAgain();

    QTemporaryDir m_appData;
    kd::sdk::IEngineControl *m_control = nullptr;
    std::unique_ptr<CHeldHttpServer> m_server;
};

void TestWhiteboardToken::initTestCase()
{
    QVERIFY(m_appData.isValid());
    m_control = startClient(m_appData);
    QVERIFY(m_control);
    m_control->addAccount(account("alice", "secret", "Alice", 42));
}

void TestWhiteboardToken::init()
{
    resetClient(m_control);
    m_server = std::make_unique<CHeldHttpServer>();
    CLoginManager &login = CLoginManager::getInstance();
    QVERIFY(login.login("127.0.0.1", false, m_server->port(), "alice", "secret"));
    QTRY_COMPARE(login.getLoginStatus(), enums::LoggedIn);
    settle(m_control);
}

// A call with a whiteboard being received, and its first token request.
void TestWhiteboardToken::startRequests()
{
    CCallController &calls = CCallController::getInstance();
    calls.setCallStatus(enums::Connected);
    calls.setContentStreamStatus(enums::ContentStreamStatus_ReceivingWhiteBoardStarted, "Carol", 77);
    kd::engine::KDWhiteBoardInfo info;
    info.server = "wb.test";
    calls.slotOnWhiteBoardIndication(info);
    QTRY_COMPARE(m_server->requestCount(), 1);
}

// Token "jwt-1" read, and a second request waiting for its answer.
void TestWhiteboardToken::readTokenThenAskAgain()
{
    CCallController &calls = CCallController::getInstance();
    startRequests();
    m_server->answer(0, 200, tokenBody("jwt-1"));
    QTRY_COMPARE(calls.getAcsJsonWebToken(), QStringLiteral("jwt-1"));
    calls.onSlotRequestAcsInfoTimeout();
    QTRY_COMPARE(m_server->requestCount(), 2);
}

void TestWhiteboardToken::tokenRead_data()
{
    QTest::addColumn<bool>("internal");
    QTest::addColumn<QString>("host");
    QTest::newRow("external edge") << false << "ext.test";
    QTest::newRow("internal edge") << true << "int.test";
}

void TestWhiteboardToken::tokenRead()
{
    QFETCH(bool, internal);
    QFETCH(QString, host);

    CLoginManager &login = CLoginManager::getInstance();
    kd::engine::KDRegisterInfo registration = login.getRegisterInfo();
    registration.useInternalServer = internal;
    login.onRegisterInfo(registration);
    CCallController &calls = CCallController::getInstance();
    startRequests();
    QSignalSpy streams(&calls, &CCallController::sigContentStreamStatusChanged);

    // No call was dialled, so there is no meeting number to ask for.
    const QString expected = QStringLiteral("/api/rest/v2.0/acsToken?token=%1&confNumericId&deviceId=%2")
                                 .arg(QString::fromStdString(login.getLoginUserInfo().token))
                                 .arg(login.getLoginUserInfo().deviceId);
    QCOMPARE(m_server->target(0), expected);
    m_server->answer(0, 200, tokenBody("jwt-1"));

    QTRY_COMPARE(calls.getAcsJsonWebToken(), QStringLiteral("jwt-1"));
    QCOMPARE(calls.getAcsServer(), QStringLiteral("http://%1:%2").arg(host).arg(m_server->port()));
    // The whiteboard window hears again that its stream is on, now with a token.
    QCOMPARE(streams.size(), 1);
    const auto info = streams.first().first().value<kd_app::structs::CContentStreamInfo>();
    QCOMPARE(info.previousStatus, 2);
    QCOMPARE(info.currentStatus, 2);
    QCOMPARE(info.senderName, std::string("Carol"));
    QCOMPARE(info.senderDeviceId, quint64(77));
}

void TestWhiteboardToken::failedReplyKeepsToken_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("body");
    QTest::newRow("server error") << 500 << tokenBody("jwt-bad");
    QTest::newRow("not JSON") << 200 << QByteArray("<html>jwt-bad</html>");
}

void TestWhiteboardToken::failedReplyKeepsToken()
{
    QFETCH(int, status);
    QFETCH(QByteArray, body);

    CCallController &calls = CCallController::getInstance();
    readTokenThenAskAgain();
    m_server->answer(1, status, body);
    QTRY_VERIFY(!m_server->isOpen(1));
    QTest::qWait(100);
    QCOMPARE(calls.getAcsJsonWebToken(), QStringLiteral("jwt-1"));
}

// Only the newest request counts: the older one is dropped before the new
// one goes out, so its answer can never overwrite a newer token.
void TestWhiteboardToken::newerRequestReplacesOlder()
{
    CCallController &calls = CCallController::getInstance();
    startRequests();

    calls.onSlotRequestAcsInfoTimeout();
    QTRY_COMPARE(m_server->requestCount(), 2);
    QTRY_VERIFY(!m_server->isOpen(0));

    m_server->answer(1, 200, tokenBody("jwt-new"));
    QTRY_COMPARE(calls.getAcsJsonWebToken(), QStringLiteral("jwt-new"));
}

void TestWhiteboardToken::foreignReplyIgnored()
{
    CCallController &calls = CCallController::getInstance();
    startRequests();

    QNetworkAccessManager other;
    QPointer<QNetworkReply> foreign =
        other.get(QNetworkRequest(QUrl(QStringLiteral("http://127.0.0.1:%1/other").arg(m_server->port()))));
    QTRY_COMPARE(m_server->requestCount(), 2);
    m_server->answer(1, 200, tokenBody("jwt-foreign"));
    QTRY_VERIFY(foreign->isFinished());

    calls.onSlotAcsInfoReplyFinished(foreign);
    QVERIFY(calls.getAcsJsonWebToken().isEmpty());
    // Handled replies are freed, whichever request they belong to.
    QTRY_VERIFY(foreign.isNull());

    m_server->answer(0, 200, tokenBody("jwt-own"));
    QTRY_COMPARE(calls.getAcsJsonWebToken(), QStringLiteral("jwt-own"));
}

void TestWhiteboardToken::endedCallDropsToken()
{
    CCallController &calls = CCallController::getInstance();
    readTokenThenAskAgain();
    calls.setCallStatus(enums::Ended);
    QVERIFY(calls.getAcsJsonWebToken().isEmpty());
    QVERIFY(calls.getAcsServer().isEmpty());

    // The answer to a request of the ended call brings nothing back.
    m_server->answer(1, 200, tokenBody("jwt-late"));
    QTest::qWait(200);
    QVERIFY(calls.getAcsJsonWebToken().isEmpty());
}

QTEST_MAIN(TestWhiteboardToken)
#include "tst_whiteboardtoken.moc"
