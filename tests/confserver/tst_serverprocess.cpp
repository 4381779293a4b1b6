#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

#include "statewait.h"
#include "cconfserver.h"

using confserver::CFault;

// The server as a program: the one command of the README, with the demo seed.
class TestServerProcess : public QObject
{
    Q_OBJECT

private slots:
    void runsWithTheDemoSeed_data();
    void runsWithTheDemoSeed();
    void parsesFaultSwitches_data();
    void parsesFaultSwitches();
    void generatesUsersAndMeetings();
    void refusesACountThatIsNone();
};

namespace {

// Starts the demo server on a free port; its address, or empty when it did not start.
QString startServer(QProcess &server, const QStringList &extra)
{
    server.start(QCoreApplication::applicationDirPath() + "/confserver",
                 QStringList{"--seed", QStringLiteral(CONFSERVER_SOURCE_DIR "/seed/demo.json"), "--port", "0"} + extra);
    if (!server.waitForReadyRead(10000)) {
        return QString();
    }
    const QString line = QString::fromUtf8(server.readLine());
    return QRegularExpression(QStringLiteral("listening on (https?://127.0.0.1:\\d+)")).match(line).captured(1);
}

} // namespace

void TestServerProcess::runsWithTheDemoSeed_data()
{
    QTest::addColumn<QStringList>("extra");
    QTest::newRow("http") << QStringList();
    QTest::newRow("https") << QStringList{"--tls"};
}

void TestServerProcess::runsWithTheDemoSeed()
{
    QFETCH(QStringList, extra);
    QProcess server;
    const QString base = startServer(server, extra);
    QVERIFY(!base.isEmpty());

    QNetworkAccessManager manager;
    QNetworkRequest request(QUrl(base + "/api/engine/v1/login"));
    request.setHeader(QNetworkRequest::ContentTypeHeader, "application/json");
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    tls.setCaCertificates(QSslCertificate::fromPath(QString::fromStdString(confserver::CConfServer::rootCaPath())));
    request.setSslConfiguration(tls);
    QNetworkReply *reply = manager.post(request, R"({"account": "demo", "password": "Demo2026!"})");
    QSignalSpy finished(reply, &QNetworkReply::finished);
    QVERIFY(finished.wait(kdtest::kStateWaitMs));
    QCOMPARE(reply->error(), QNetworkReply::NoError);
    QVERIFY(reply->readAll().contains("\"token\""));
    delete reply;

    server.terminate();
    QVERIFY(server.waitForFinished(10000));
}

void TestServerProcess::parsesFaultSwitches_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("times");
    QTest::newRow("delay") << "/meetings:delay:6000" << true << int(CFault::Kind::Delay) << 6000 << -1;
    QTest::newRow("error once") << ":error:1010:1" << true << int(CFault::Kind::ErrorCode) << 1010 << 1;
    QTest::newRow("drop") << "/users:drop" << true << int(CFault::Kind::Drop) << 0 << -1;
    QTest::newRow("status") << "/acs/upload:status:201:2" << true << int(CFault::Kind::Status) << 201 << 2;
    QTest::newRow("status without one") << "/acs/upload:status" << false << 0 << 0 << 0;
    QTest::newRow("status out of range") << "/acs/:status:42" << false << 0 << 0 << 0;
    QTest::newRow("unknown kind") << "/users:explode" << false << 0 << 0 << 0;
    QTest::newRow("value not a number") << "/users:delay:soon" << false << 0 << 0 << 0;
    QTest::newRow("no kind") << "/users" << false << 0 << 0 << 0;
}

void TestServerProcess::parsesFaultSwitches()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(int, kind);
    QFETCH(int, value);
    QFETCH(int, times);
    CFault fault;
    QCOMPARE(CFault::parse(text, &fault), valid);
    if (valid) {
        QCOMPARE(int(fault.kind), kind);
        QCOMPARE(fault.value, value);
        QCOMPARE(fault.times, times);
    }
}

void TestServerProcess::generatesUsersAndMeetings()
{
    QProcess server;
    const QString base = startServer(server, {"--generate-users", "5", "--generate-meetings", "3"});
    QVERIFY(!base.isEmpty());
    QNetworkAccessManager manager;
    const auto get = [&manager](const QUrl &url, QByteArray *body) {
        QNetworkReply *reply = manager.get(QNetworkRequest(url));
        QSignalSpy finished(reply, &QNetworkReply::finished);
        const bool done = reply->isFinished() || finished.wait(5000);
        *body = reply->readAll();
        delete reply;
        return done;
    };
    QNetworkRequest login(QUrl(base + "/api/engine/v1/login"));
    login.setHeader(QNetworkRequest::ContentTypeHeader, "application/json");
    QNetworkReply *reply = manager.post(login, R"({"account": "demo", "password": "Demo2026!"})");
    QSignalSpy finished(reply, &QNetworkReply::finished);
    QVERIFY(finished.wait(kdtest::kStateWaitMs));
    const QString token = QJsonDocument::fromJson(reply->readAll()).object().value("token").toString();
    delete reply;
    QByteArray users;
    QVERIFY(get(QUrl(base + "/api/rest/v2.0/users?token=" + token), &users));
    QCOMPARE(QJsonDocument::fromJson(users).array().size(), 35);
    QByteArray meetings;
    QVERIFY(get(QUrl(base + "/api/rest/v2.0/meetings?token=" + token), &meetings));
    QCOMPARE(meetings.count("Generated meeting"), 3);
    server.terminate();
    QVERIFY(server.waitForFinished(10000));
}

void TestServerProcess::refusesACountThatIsNone()
{
    QProcess server;
    server.start(QCoreApplication::applicationDirPath() + "/confserver",
                 {"--seed", QStringLiteral(CONFSERVER_SOURCE_DIR "/seed/demo.json"), "--generate-users", "many"});
    QVERIFY(server.waitForFinished(10000));
    QCOMPARE(server.exitCode(), 2);
}

QTEST_GUILESS_MAIN(TestServerProcess)
#include "tst_serverprocess.moc"
