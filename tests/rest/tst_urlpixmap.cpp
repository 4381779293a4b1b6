#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QtTest>

#include "statewait.h"
#include "cconfserver.h"
#include "cconfstore.h"
#include "models/curlpixmap.h"
#include "testseed.h"

using confserver::CConfServer;
using confserver::CConfStore;
using confserver::CFault;
using kd_app::models::CUrlPixmap;
using kd_app::models::g_urlPixmapCache;

class TestUrlPixmap : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void downloadsAndCaches();
    void failureLeavesDefault();
    void slowDownloadDoesNotHoldTheQueue();
    void takesRepliesFetchedElsewhere_data();
    void takesRepliesFetchedElsewhere();

private:
    CConfStore m_store;
    std::unique_ptr<CConfServer> m_server;
    QString m_url;
};

void TestUrlPixmap::initTestCase()
{
    QVERIFY(m_store.loadSeed(testSeed()));
    // Over HTTPS, so the downloader's certificate check takes part.
    m_server = std::make_unique<CConfServer>(m_store, true);
    QVERIFY(m_server->start());
    m_url = m_server->baseUrl();
}

void TestUrlPixmap::downloadsAndCaches()
{
    const QString address = m_url + "/userFiles/avatar/1.jpg";
    QSignalSpy finished(CUrlPixmap::getInstance(), &CUrlPixmap::signal_downloadFinished);
    CUrlPixmap::getInstance()->appendUrl(address);
    CUrlPixmap::getInstance()->appendUrl(address);
    QTRY_COMPARE(finished.count(), 2);
    QCOMPARE(finished.at(0).at(0).toString(), address);
    QVERIFY(g_urlPixmapCache.contains(address));
    const QPixmap cached = CUrlPixmap::cachedPixmap(address);
    QCOMPARE(cached.size(), QSize(96, 96));
    QVERIFY(cached.toImage() != CUrlPixmap::cachedPixmap(CUrlPixmap::kDefaultKey).toImage());
}

void TestUrlPixmap::failureLeavesDefault()
{
    const QString missing = m_url + "/userFiles/avatar/404.jpg";
    const QString good = m_url + "/userFiles/avatar/2.jpg";
    QSignalSpy finished(CUrlPixmap::getInstance(), &CUrlPixmap::signal_downloadFinished);
    CUrlPixmap::getInstance()->appendUrl(missing);
    CUrlPixmap::getInstance()->appendUrl(good);
    QTRY_COMPARE(finished.count(), 2);
    QCOMPARE(finished.at(0).at(0).toString(), missing);
    QCOMPARE(finished.at(1).at(0).toString(), good);
    QVERIFY(!g_urlPixmapCache.contains(missing));
    QVERIFY(g_urlPixmapCache.contains(good));
    QVERIFY(!g_urlPixmapCache.value(CUrlPixmap::kDefaultKey).isNull());
    QCOMPARE(CUrlPixmap::cachedPixmap(missing).toImage(),
             QPixmap(":/resources/images/default_user_header.jpg").toImage());
}

void TestUrlPixmap::slowDownloadDoesNotHoldTheQueue()
{
    CFault slow;
    slow.route = "/avatar/3.jpg";
    slow.kind = CFault::Kind::Delay;
    slow.value = 3500;
    slow.times = 1;
    m_server->addFault(slow);
    const QString late = m_url + "/userFiles/avatar/3.jpg";
    // Query text differs from the server's normalised form; the cache keeps
    // the address as it was asked for.
    const QString quick = m_url + "/userFiles/avatar/1.jpg?v=a%20b";
    QSignalSpy finished(CUrlPixmap::getInstance(), &CUrlPixmap::signal_downloadFinished);
    QElapsedTimer elapsed;
    elapsed.start();
    CUrlPixmap::getInstance()->appendUrl(late);
    CUrlPixmap::getInstance()->appendUrl(quick);
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, kdtest::kStateWaitMs);
    QCOMPARE(finished.at(0).at(0).toString(), quick);
    QVERIFY(g_urlPixmapCache.contains(quick));
    QCOMPARE(CUrlPixmap::cachedPixmap(late).toImage(), CUrlPixmap::cachedPixmap(CUrlPixmap::kDefaultKey).toImage());
    // The late reply still arrives and fills the cache.
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 2, kdtest::kStateWaitMs);
    QCOMPARE(finished.at(1).at(0).toString(), late);
    QVERIFY(g_urlPixmapCache.contains(late));
}

void TestUrlPixmap::takesRepliesFetchedElsewhere_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("cached");
    QTest::newRow("picture") << "/userFiles/avatar/3.jpg?v=other" << true;
    QTest::newRow("missing") << "/userFiles/avatar/405.jpg" << false;
}

void TestUrlPixmap::takesRepliesFetchedElsewhere()
{
    QFETCH(QString, path);
    QFETCH(bool, cached);
    // Plain HTTP on a second server: only the hand-over is under test here.
    CConfServer plain(m_store);
    QVERIFY(plain.start());
    const QString address = plain.baseUrl() + path;
    QNetworkAccessManager manager;
    QNetworkReply *reply = manager.get(QNetworkRequest(QUrl(address)));
    QSignalSpy replied(reply, &QNetworkReply::finished);
    QVERIFY(replied.wait(kdtest::kStateWaitMs));
    QSignalSpy finished(CUrlPixmap::getInstance(), &CUrlPixmap::signal_downloadFinished);
    CUrlPixmap::getInstance()->slot_ReplyFinished(reply);
    QTRY_COMPARE(finished.count(), 1);
    QCOMPARE(finished.at(0).at(0).toString(), address);
    QCOMPARE(g_urlPixmapCache.contains(address), cached);
    QVERIFY(!CUrlPixmap::cachedPixmap(address).isNull());
}

QTEST_MAIN(TestUrlPixmap)
#include "tst_urlpixmap.moc"
