#include <algorithm>
#include <atomic>
#include <chrono>
#include <vector>

#include <QElapsedTimer>
#include <QtTest>

#include "kdsdkcontrol.h"
#include "models/ckdsdkmanager.h"

using kd_app::models::CKDSdkManager;
using Clock = std::chrono::steady_clock;

// Throughput and latency of engine events from the engine's dispatcher thread
// to a slot on the graphical thread, through observer and wrapper. Log lines
// are formatted as in the program but not written anywhere.
class BenchEventRelay : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void eventsPerSecond();
    void oneEventLatency();
    void latencyDistribution();

private:
    void raiseWaitQueue(int value);
    double roundTripMicroseconds();

    kd::sdk::IEngineControl *m_control = nullptr;
    int m_received = 0;
    std::atomic<long long> m_raisedAt{0};
    long long m_deliveredAt = 0;
    qint64 m_bestBatchNs = 0;
    static constexpr int kBatch = 20000;
};

static void dropMessages(QtMsgType, const QMessageLogContext &, const QString &)
{
}

void BenchEventRelay::initTestCase()
{
    qInstallMessageHandler(dropMessages);
    CKDSdkManager::initInstance();
    m_control = kd::sdk::currentEngineControl();
    m_control->setEventLatency(0);
    connect(CKDSdkManager::getInstance(), &CKDSdkManager::eventWaitQueue, this, [this](int) {
        ++m_received;
        m_deliveredAt = Clock::now().time_since_epoch().count();
    });
}

void BenchEventRelay::cleanupTestCase()
{
    printf("RESULT relay throughput: %.0f events/s (best batch: %d events in %.1f ms)\n",
           kBatch * 1e9 / double(m_bestBatchNs), kBatch, m_bestBatchNs / 1e6);
    CKDSdkManager::releaseInstance();
    qInstallMessageHandler(nullptr);
}

void BenchEventRelay::raiseWaitQueue(int value)
{
    m_control->raise([this, value](kd::engine::IAVEventHandler &handler) {
        m_raisedAt = Clock::now().time_since_epoch().count();
        handler.onWaitQueue(value);
    });
}

void BenchEventRelay::eventsPerSecond()
{
    QElapsedTimer timer;
    QBENCHMARK
    {
        m_received = 0;
        timer.start();
        for (int i = 0; i < kBatch; ++i) {
            raiseWaitQueue(i);
        }
        while (m_received < kBatch) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
        const qint64 ns = timer.nsecsElapsed();
        m_bestBatchNs = m_bestBatchNs == 0 ? ns : std::min(m_bestBatchNs, ns);
    }
}

double BenchEventRelay::roundTripMicroseconds()
{
    m_received = 0;
    raiseWaitQueue(1);
    while (m_received < 1) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    }
    return (m_deliveredAt - m_raisedAt.load()) / 1000.0;
}

void BenchEventRelay::oneEventLatency()
{
    QBENCHMARK
    {
        roundTripMicroseconds();
    }
}

void BenchEventRelay::latencyDistribution()
{
    std::vector<double> samples;
    for (int i = 0; i < 5000; ++i) {
        samples.push_back(roundTripMicroseconds());
    }
    std::sort(samples.begin(), samples.end());
    printf("RESULT one event, engine thread to GUI slot: median %.1f us, p99 %.1f us, max %.1f us over %zu events\n",
           samples[samples.size() / 2], samples[samples.size() * 99 / 100], samples.back(), samples.size());
}

QTEST_MAIN(BenchEventRelay)
#include "bench_eventrelay.moc"
