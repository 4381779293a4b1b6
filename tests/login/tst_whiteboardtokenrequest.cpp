#include <QSignalSpy>
#include <QTemporaryDir>
#include <QUrlQuery>
#include <QtTest>

#include "statewait.h"
#include "../engine/clogcapture.h"
#include "cconfserver.h"
#include "cconfstore.h"
#include "clientfixture.h"
#include "selfsignedcert.h"

using namespace fixture;
using confserver::CConfServer;
using confserver::CConfStore;

namespace {

const QByteArray kSeed = R"({
    "users": [{"id": 1, "name": "alice", "password": "Alice2026!", "displayName": "Alice", "endpointId": 4242}],
    "meetings": [
        {"id": 1, "numericId": 70001, "name": "Running", "startInMinutes": -5, "status": "ONGOING",
         "applicantId": 1, "userIds": [1]},
        {"id": 2, "numericId": 70002, "name": "Locked", "startInMinutes": -5, "status": "ONGOING",
         "confPassword": "4711", "applicantId": 1, "userIds": [1]},
        {"id": 3, "numericId": 70003, "name": "Later", "startInMinutes": 600, "applicantId": 1, "userIds": [1]}
    ]
})";

const char kRoute[] = "/api/rest/v2.0/acsToken";

QString queryValue(const std::string &target, const char *key)
{
    return QUrlQuery(QUrl(QString::fromStdString(target)).query()).queryItemValue(QLatin1String(key));
}

int linesContaining(const CLogCapture &log, const QString &text)
{
    return log.all().filter(text).size();
}

} // namespace

// The web whiteboard's token request of a call, against the local
// conference server: what it asks for, where, over which connection, and
// what reaches the log.
class TestWhiteboardTokenRequest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void tokenRequest_data();
    void tokenRequest();

private:
    CConfServer &serverOf(const QString &kind);
    // Waits until the token request of the call, if any, has its answer.
    void waitForAnswer();

    QTemporaryDir m_appData;
    QTemporaryDir m_tls;
    CConfStore m_store;
    std::unique_ptr<CConfServer> m_http;
    std::unique_ptr<CConfServer> m_https;
    std::unique_ptr<CConfServer> m_untrusted;
    kd::sdk::IEngineControl *m_control = nullptr;
};

void TestWhiteboardTokenRequest::initTestCase()
{
    QString error;
    QVERIFY2(m_store.loadSeed(kSeed, &error), qPrintable(error));
    m_http = std::make_unique<CConfServer>(m_store);
    QVERIFY(m_http->start());
    m_https = std::make_unique<CConfServer>(m_store, true);
    QVERIFY(m_https->start());
    QVERIFY(makeSelfSignedPair(m_tls.filePath("server.pem"), m_tls.filePath("server.key")));
    m_untrusted = std::make_unique<CConfServer>(m_store, true, m_tls.filePath("server.pem").toStdString(),
                                                m_tls.filePath("server.key").toStdString());
    QVERIFY(m_untrusted->start());
    QVERIFY(m_appData.isValid());
    m_control = startClient(m_appData);
    QVERIFY(m_control);
}

void TestWhiteboardTokenRequest::cleanupTestCase()
{
    resetClient(m_control);
    CKDSdkManager::releaseInstance();
}

CConfServer &TestWhiteboardTokenRequest::serverOf(const QString &kind)
{
    return kind == "http" ? *m_http : (kind == "https" ? *m_https : *m_untrusted);
}

void TestWhiteboardTokenRequest::waitForAnswer()
{
    QTRY_VERIFY_WITH_TIMEOUT(!CCallController::getInstance().isAcsRequestPending(), kdtest::kStateWaitMs);
}

void TestWhiteboardTokenRequest::tokenRequest_data()
{
    QTest::addColumn<QString>("server");   // "http", "https", or "untrusted": a certificate nobody vouches for
    QTest::addColumn<QString>("account");  // "signed in", "signed out" (before a guest join), "guest"
    QTest::addColumn<QString>("dial");     // "{port}": the server's port
    QTest::addColumn<int>("requestsSeen"); // by the server, after the call asked twice
    QTest::addColumn<QString>("number");   // the confNumericId asked for
    QTest::addColumn<bool>("tokenRead");
    QTest::addColumn<QString>("failure"); // what the one failure line of the call says; empty: none

    const QString in = "signed in";
    QTest::newRow("number") << "http" << in << "70001" << 2 << "70001" << true << "";
    QTest::newRow("password left out") << "http" << in << "70002*4711" << 2 << "70002" << true << "";
    QTest::newRow("server left out") << "http" << in << "70001@127.0.0.1:{port}" << 2 << "70001" << true << "";
    QTest::newRow("https") << "https" << in << "70001" << 2 << "70001" << true << "";
    // The engine still speaks HTTPS from the row before: the guest's plain server must be reached all the same.
    QTest::newRow("guest") << "http"
                           << "guest"
                           << "70001" << 0 << "" << false << "";
    QTest::newRow("refused, logged once a call")
        << "http" << in << "70003" << 2 << "70003" << false << "HTTP status 400";
    QTest::newRow("untrusted certificate") << "untrusted" << in << "70001" << 0 << "" << false << "certificate:";
    QTest::newRow("signed out, then a guest") << "http"
                                              << "signed out"
                                              << "70001" << 0 << "" << false << "";
}

void TestWhiteboardTokenRequest::tokenRequest()
{
    QFETCH(QString, server);
    QFETCH(QString, account);
    QFETCH(QString, dial);
    QFETCH(int, requestsSeen);
    QFETCH(QString, number);
    QFETCH(bool, tokenRead);
    QFETCH(QString, failure);

    resetClient(m_control);
    CLoginManager &login = CLoginManager::getInstance();
    CCallController &calls = CCallController::getInstance();
    CKDSdkManager *engine = CKDSdkManager::getInstance();
    CConfServer &conf = serverOf(server);
    // The engine signs in over what the row names; only the client's own
    // requests judge the certificate by the authorities it trusts.
    const QString engineTrusts =
        server == "untrusted" ? m_tls.filePath("server.pem") : QString::fromStdString(CConfServer::rootCaPath());
    QVERIFY(engine->setRootCA(QFile::encodeName(engineTrusts).constData()));
    const size_t before = conf.requestsTo(kRoute).size();
    CLogCapture log;

    QString token;
    if (account != "guest") {
        QVERIFY(login.login("127.0.0.1", server != "http", conf.port(), "alice", "Alice2026!"));
        QTRY_COMPARE_WITH_TIMEOUT(login.getLoginStatus(), enums::LoggedIn, kdtest::kStateWaitMs);
        token = login.getLoginToken();
        QVERIFY(!token.isEmpty());
        QCOMPARE(login.getLoginUserInfo().deviceId, quint64(4242));
    }
    if (account == "signed out") {
        login.logout();
        settle(m_control);
        QVERIFY(login.getLoginUserInfo().token.empty());
        QCOMPARE(login.getLoginUserInfo().deviceId, quint64(0));
    }
    const QString dialString = QString(dial).replace("{port}", QString::number(conf.port()));
    if (account == "signed in") {
        calls.dialOut(dialString, true, QString());
    } else {
        calls.anonymousJoinConf(QStringLiteral("127.0.0.1:%1").arg(conf.port()), dialString, "Guest", QString());
    }
    QTRY_COMPARE_WITH_TIMEOUT(calls.getCallStatus(), enums::Connected, kdtest::kStateWaitMs);

    // The first request goes out at connect; the timer's next one is asked for at once.
    waitForAnswer();
    calls.onSlotRequestAcsInfoTimeout();
    waitForAnswer();

    const std::vector<std::string> seen = conf.requestsTo(kRoute);
    QCOMPARE(int(seen.size() - before), requestsSeen);
    for (size_t i = before; i < seen.size(); ++i) {
        QCOMPARE(queryValue(seen[i], "confNumericId"), number);
        QCOMPARE(queryValue(seen[i], "token"), token);
        QCOMPARE(queryValue(seen[i], "deviceId"), QStringLiteral("4242"));
    }
    QCOMPARE(!calls.getAcsJsonWebToken().isEmpty(), tokenRead);
    if (tokenRead) {
        const QString scheme = server == "http" ? "http" : "https";
        QCOMPARE(calls.getAcsServer(), QStringLiteral("%1://127.0.0.1:%2").arg(scheme).arg(conf.port()));
    }
    const QStringList failures = log.all().filter("Failed: error");
    QCOMPARE(failures.size(), failure.isEmpty() ? 0 : 1);
    if (!failure.isEmpty()) {
        QVERIFY2(failures.first().contains(failure), qPrintable(failures.first()));
    }
    if (!token.isEmpty()) {
        QCOMPARE(linesContaining(log, token), 0);
    }

    QVERIFY(calls.hangUp());
    QTRY_COMPARE_WITH_TIMEOUT(calls.getCallStatus(), enums::Ended, kdtest::kStateWaitMs);
}

QTEST_MAIN(TestWhiteboardTokenRequest)
#include "tst_whiteboardtokenrequest.moc"
