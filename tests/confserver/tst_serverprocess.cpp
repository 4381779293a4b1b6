#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

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
};

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
    server.start(QCoreApplication::applicationDirPath() + "/confserver",
                 QStringList{"--seed", QStringLiteral(CONFSERVER_SOURCE_DIR "/seed/demo.json"), "--port", "0"} + extra);
    QVERIFY(server.waitForReadyRead(10000));
    const QString line = QString::fromUtf8(server.readLine());
    const QRegularExpressionMatch listening =
        QRegularExpression(QStringLiteral("listening on (https?://127.0.0.1:\\d+)")).match(line);
    QVERIFY2(listening.hasMatch(), qPrintable(line));

    QNetworkAccessManager manager;
    QNetworkRequest request(QUrl(listening.captured(1) + "/api/engine/v1/login"));
    request.setHeader(QNetworkRequest::ContentTypeHeader, "application/json");
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    tls.setCaCertificates(QSslCertificate::fromPath(QString::fromStdString(confserver::CConfServer::rootCaPath())));
    request.setSslConfiguration(tls);
    QNetworkReply *reply = manager.post(request, R"({"account": "demo", "password": "Demo2026!"})");
    QSignalSpy finished(reply, &QNetworkReply::finished);
    QVERIFY(finished.wait(5000));
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

QTEST_GUILESS_MAIN(TestServerProcess)
#include "tst_serverprocess.moc"
