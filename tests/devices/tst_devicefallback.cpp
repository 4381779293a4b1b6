#include <mutex>

#include <QtTest>

#include "statewait.h"
#include "kdsdkcontrol.h"
#include "models/ckdsdkmanager.h"
#include "privatepulse.h"

using namespace kd::engine;
using kd_app::models::CKDSdkManager;

namespace {

std::mutex g_mutex;
QStringList g_pollingNotes;
QtMessageHandler g_previous = nullptr;

void keepPollingNotes(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message.contains("cannot tell device changes")) {
        std::lock_guard<std::mutex> lock(g_mutex);
        g_pollingNotes << message;
    }
    g_previous(type, context, message);
}

QStringList pollingNotes()
{
    std::lock_guard<std::mutex> lock(g_mutex);
    return g_pollingNotes;
}

bool hasSpeaker(const QString &name)
{
    for (const KDDevice &device : CKDSdkManager::getInstance()->getDevices(KD_DEVICE_SPEAKER)) {
        if (QString::fromStdString(device.name) == name) {
            return true;
        }
    }
    return false;
}

} // namespace

// A machine whose sound server and device manager tell no device changes
// (run with the engine told to follow neither): the engine falls back to
// reading the lists now and then, and says so once.
class TestDeviceFallback : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void pollsAndSaysSoOnce();

private:
    CPrivatePulse m_pulse;
    kd::sdk::IEngineControl *m_control = nullptr;
};

void TestDeviceFallback::initTestCase()
{
    if (!CPrivatePulse::available()) {
        QSKIP("pulseaudio is not installed");
    }
    QVERIFY(m_pulse.start());
    g_previous = qInstallMessageHandler(keepPollingNotes);
    CKDSdkManager::initInstance();
    m_control = kd::sdk::currentEngineControl();
    QVERIFY(m_control);
    m_control->setEventLatency(0);
}

void TestDeviceFallback::cleanupTestCase()
{
    CKDSdkManager::releaseInstance();
    m_pulse.stop();
    qInstallMessageHandler(g_previous);
}

void TestDeviceFallback::pollsAndSaysSoOnce()
{
    QTRY_COMPARE_WITH_TIMEOUT(pollingNotes().size(), 2, kdtest::kStateWaitMs);
    for (const QString &note : pollingNotes()) {
        QVERIFY2(note.endsWith("every 30 s"), qPrintable(note));
    }
    // Hot-plug shows at the next read; polling often, it says nothing more.
    m_control->setDevicePollInterval(50);
    QString module;
    QVERIFY(m_pulse.pactl({"load-module", "module-null-sink", "sink_name=once"}, &module));
    QTRY_VERIFY_WITH_TIMEOUT(hasSpeaker("once"), kdtest::kStateWaitMs);
    QVERIFY(m_pulse.pactl({"unload-module", module}));
    QTRY_VERIFY_WITH_TIMEOUT(!hasSpeaker("once"), kdtest::kStateWaitMs);
    QCOMPARE(pollingNotes().size(), 2);
}

QTEST_MAIN(TestDeviceFallback)
#include "tst_devicefallback.moc"
