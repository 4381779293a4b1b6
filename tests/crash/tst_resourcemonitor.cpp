#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include "helpers/cresourceusagemonitor.h"

using kd_app::helpers::CResourceUsageMonitor;

class TestResourceMonitor : public QObject
{
    Q_OBJECT

private slots:
    void formatsLine_data();
    void formatsLine();
    void readsKernelReports();
    void measuresThisProcess();
    void startsOnce();
};

void TestResourceMonitor::formatsLine_data()
{
    QTest::addColumn<qint64>("app");
    QTest::addColumn<QString>("expected");
    QTest::newRow("all") << qint64(20480) << "App memory(K):20480 Available physical memory(K):1000 usage(%):42";
    QTest::newRow("no process part") << qint64(-1) << " Available physical memory(K):1000 usage(%):42";
}

void TestResourceMonitor::formatsLine()
{
    QFETCH(qint64, app);
    QFETCH(QString, expected);
    CResourceUsageMonitor::Usage usage;
    usage.appKiB = app;
    usage.availableKiB = 1000;
    usage.loadPercent = 42;
    QCOMPARE(CResourceUsageMonitor::formatUsage(usage), expected);
}

void TestResourceMonitor::readsKernelReports()
{
    QCOMPARE(CResourceUsageMonitor::parseResidentKiB("Name:\tx\nVmPeak:\t  999 kB\nVmRSS:\t   12345 kB\n"),
             qint64(12345));
    QCOMPARE(CResourceUsageMonitor::parseResidentKiB("Name:\tkernel-thread\n"), qint64(-1));

    CResourceUsageMonitor::Usage usage;
    CResourceUsageMonitor::parseMemInfo("MemTotal:  1000 kB\nMemFree:  100 kB\nMemAvailable:  250 kB\n", usage);
    QCOMPARE(usage.availableKiB, qint64(250));
    QCOMPARE(usage.loadPercent, 75);

    CResourceUsageMonitor::Usage broken;
    CResourceUsageMonitor::parseMemInfo("garbage", broken);
    QCOMPARE(broken.loadPercent, 0);
}

void TestResourceMonitor::measuresThisProcess()
{
    const CResourceUsageMonitor::Usage usage = CResourceUsageMonitor::measure();
    QVERIFY(usage.appKiB > 0);
    QVERIFY(usage.availableKiB > 0);
    QVERIFY(usage.loadPercent >= 0 && usage.loadPercent <= 100);
}

void TestResourceMonitor::startsOnce()
{
    CResourceUsageMonitor monitor;
    QVERIFY(!monitor.isRunning());
    monitor.startMonitor();
    monitor.startMonitor();
    QVERIFY(monitor.isRunning());
    const auto timers = monitor.findChildren<QTimer *>();
    QVERIFY(timers.isEmpty()); // the timer has no parent, as the monitor owns it itself
}

QTEST_GUILESS_MAIN(TestResourceMonitor)
#include "tst_resourcemonitor.moc"
