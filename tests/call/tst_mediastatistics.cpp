#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include "clientfixture.h"
#include "views/call/cmediastatisticsdlg.h"
#include "views/call/cmediastatisticsformat.h"

using namespace fixture;
using kd::engine::KDStats;
using kd::engine::KDStreamStats;
using kd_app::views::CMediaStatisticsDlg;
using kd_app::views::CMediaStatisticsFormat;

Q_DECLARE_METATYPE(kd::engine::KDStreamStats)

namespace {

KDStreamStats stream(int type, int direction, int width, int height, float fps, uint64_t lost = 0, float lossRate = 0)
{
    KDStreamStats result;
    result.mediaType = type;
    result.direction = direction;
    result.codec = "H.264";
    result.lineRate = 1536.0f;
    result.actualLineRate = 1423.46f;
    result.frameRate = fps;
    result.width = width;
    result.height = height;
    result.packetsLost = lost;
    result.packetLostRate = lossRate;
    result.encrypted = true;
    return result;
}

KDStats statsOf(int count)
{
    KDStats stats;
    stats.count = count;
    for (int i = 0; i < KDStats::kMaxStreams; ++i) {
        stats.streams[i] = stream(1, 1, 640, 360, 25.0f);
    }
    return stats;
}

QStringList rowOf(const QTableWidget *table, int row)
{
    QStringList cells;
    for (int column = 0; column < table->columnCount(); ++column) {
        const QTableWidgetItem *item = table->item(row, column);
        cells << (item ? item->text() : QString());
    }
    return cells;
}

} // namespace

// The statistics table: what each cell says of a stream, how many rows and
// how high the window is, and how it follows the engine's figures.
class TestMediaStatistics : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void cells_data();
    void cells();
    void streamCountStaysWithinTheRecord_data();
    void streamCountStaysWithinTheRecord();
    void height_data();
    void height();
    void windowShowsTheEngineFigures();
    void windowFollowsCountAndKeepsRowsOnFailure();
    void engineMarksEncryptionByTransport();

private:
    void connectCall();

    QTemporaryDir m_appData;
    kd::sdk::IEngineControl *m_control = nullptr;
};

void TestMediaStatistics::initTestCase()
{
    QVERIFY(m_appData.isValid());
    m_control = startClient(m_appData);
    QVERIFY(m_control);
    provideRingtone();
    kd::sdk::KDModelMeeting meeting;
    meeting.number = "80001";
    meeting.name = "Statistics";
    m_control->addMeeting(meeting);
}

void TestMediaStatistics::cleanup()
{
    m_control->clearStats();
    resetClient(m_control);
}

void TestMediaStatistics::connectCall()
{
    CCallController::getInstance().dialOut("80001", QString(), true, QString());
    settle(m_control);
    QCOMPARE(CCallController::getInstance().getCallStatus(), enums::Connected);
}

void TestMediaStatistics::cells_data()
{
    QTest::addColumn<KDStreamStats>("stream");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("video in, 720p") << stream(1, 1, 1280, 720, 29.2f)
                                    << QStringList{"Video In", "H.264", "1536",    "1423.5",
                                                   "720p",     "30",    "0(0.0%)", "Encrypted"};
    QTest::newRow("video out, 1280x704") << stream(1, 0, 1280, 704, 30.0f, 12, 0.5f)
                                         << QStringList{"Video Out", "H.264", "1536",     "1423.5",
                                                        "1280x704",  "30",    "12(0.5%)", "Encrypted"};
    KDStreamStats audio = stream(0, 1, 1920, 1080, 50.0f);
    audio.codec = "OPUS";
    audio.encrypted = false;
    QTest::newRow("audio: no resolution, no frame rate")
        << audio << QStringList{"Audio In", "OPUS", "1536", "1423.5", "-", "-", "0(0.0%)", "Not encrypted"};
    QTest::newRow("content out, 1080p") << stream(2, 0, 1920, 1080, 5.0f)
                                        << QStringList{"Content Out", "H.264", "1536",    "1423.5",
                                                       "1080p",       "5",     "0(0.0%)", "Encrypted"};
    QTest::newRow("whiteboard, direction 2 is outgoing")
        << stream(3, 2, 160, 90, 0.1f)
        << QStringList{"White Board Out", "H.264", "1536", "1423.5", "90p", "1", "0(0.0%)", "Encrypted"};
    QTest::newRow("unknown type keeps its row")
        << stream(9, 1, 320, 180, 15.0f)
        << QStringList{"Other In", "H.264", "1536", "1423.5", "180p", "15", "0(0.0%)", "Encrypted"};
}

void TestMediaStatistics::cells()
{
    QFETCH(KDStreamStats, stream);
    QFETCH(QStringList, expected);
    QCOMPARE(CMediaStatisticsFormat::cells(stream), expected);
}

void TestMediaStatistics::streamCountStaysWithinTheRecord_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("rows");

    QTest::newRow("none") << 0 << 0;
    QTest::newRow("twenty") << 20 << 20;
    QTest::newRow("all the record holds") << 32 << 32;
    QTest::newRow("forty") << 40 << 32;
    QTest::newRow("negative") << -1 << 0;
    QTest::newRow("huge") << 2147483647 << 32;
}

void TestMediaStatistics::streamCountStaysWithinTheRecord()
{
    QFETCH(int, count);
    QFETCH(int, rows);
    QCOMPARE(CMediaStatisticsFormat::streamCount(statsOf(count)), rows);
}

void TestMediaStatistics::height_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<double>("scale");
    QTest::addColumn<int>("titleBar");
    QTest::addColumn<int>("height");

    QTest::newRow("no rows") << 0 << 1.0 << 28 << 66;
    QTest::newRow("three rows") << 3 << 1.0 << 28 << 28 + 38 + 3 * 37;
    QTest::newRow("twenty rows show twelve") << 20 << 1.0 << 28 << 510;
    QTest::newRow("thirty-two rows") << 32 << 1.0 << 28 << 510;
    QTest::newRow("scale 2") << 20 << 2.0 << 56 << 56 + 76 + 12 * 74;
    QTest::newRow("scale 1.5, truncated") << 1 << 1.5 << 42 << int(55.5 + int(42 + 57.0));
    QTest::newRow("scale not yet known counts as 1") << 1 << 0.0 << 28 << 28 + 38 + 37;
}

void TestMediaStatistics::height()
{
    QFETCH(int, rows);
    QFETCH(double, scale);
    QFETCH(int, titleBar);
    QFETCH(int, height);
    QCOMPARE(CMediaStatisticsFormat::dialogHeight(rows, scale, titleBar), height);
}

void TestMediaStatistics::windowShowsTheEngineFigures()
{
    connectCall();
    KDStats stats = statsOf(2);
    stats.streams[0] = stream(1, 1, 1280, 720, 29.2f, 12, 0.5f);
    stats.streams[1] = stream(0, 0, 0, 0, 0);
    m_control->setStats(stats);

    CMediaStatisticsDlg dialog(nullptr);
    auto *table = dialog.findChild<QTableWidget *>("m_pTableWgtStatistics");
    QCOMPARE(table->columnCount(), 8);
    QCOMPARE(table->horizontalHeaderItem(2)->text(), QString("Line Rate\n(kbps)"));
    // Hidden, it asks for nothing.
    QCOMPARE(table->rowCount(), 0);

    dialog.show();
    QCOMPARE(table->rowCount(), 2);
    QCOMPARE(rowOf(table, 0),
             QStringList({"Video In", "H.264", "1536", "1423.5", "720p", "30", "12(0.5%)", "Encrypted"}));
    QCOMPARE(rowOf(table, 1).mid(4, 2), QStringList({"-", "-"}));
    QCOMPARE(dialog.height(), CMediaStatisticsFormat::dialogHeight(
                                  2, dialog.stretchFactor(), dialog.findChild<QWidget *>("m_pWgtTitleBar")->height()));

    // The close button hides it; hidden, it holds no figures.
    QTest::mouseClick(dialog.findChild<QPushButton *>("m_pBtnClose"), Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QVERIFY(!table->item(0, 0));
}

void TestMediaStatistics::windowFollowsCountAndKeepsRowsOnFailure()
{
    connectCall();
    CMediaStatisticsDlg dialog(nullptr);
    auto *table = dialog.findChild<QTableWidget *>("m_pTableWgtStatistics");
    const int titleBar = 28;
    for (const int count : {20, 40, -1, 3}) {
        m_control->setStats(statsOf(count));
        dialog.hide();
        dialog.show();
        const int rows = qBound(0, count, 32);
        QCOMPARE(table->rowCount(), rows);
        QCOMPARE(dialog.height(), CMediaStatisticsFormat::dialogHeight(rows, 1.0, titleBar));
    }
    // Twenty streams are more than the form's 460 px allow.
    m_control->setStats(statsOf(20));
    dialog.slotOnTimerRefreshStatisticsStats();
    QCOMPARE(dialog.height(), 510);

    // A failed fetch leaves the rows as they were.
    m_control->failNext("getStats", kd::sdk::KD_ERR_GENERIC);
    m_control->setStats(statsOf(1));
    dialog.slotOnTimerRefreshStatisticsStats();
    QCOMPARE(table->rowCount(), 20);
    QCOMPARE(dialog.height(), 510);
}

void TestMediaStatistics::engineMarksEncryptionByTransport()
{
    CKDSdkManager *sdk = CKDSdkManager::getInstance();
    for (const bool secure : {false, true}) {
        sdk->enableSecure(secure);
        connectCall();
        KDStats stats;
        QVERIFY(sdk->getStats(stats));
        QVERIFY(stats.count > 0);
        for (int i = 0; i < stats.count; ++i) {
            QCOMPARE(stats.streams[i].encrypted, secure);
        }
        resetClient(m_control);
    }
}

QTEST_MAIN(TestMediaStatistics)
#include "tst_mediastatistics.moc"
