#include <QTemporaryDir>
#include <QtTest>

#include "statewait.h"
#include "kdsdkcontrol.h"
#include "models/ckdsdkmanager.h"
#include "privatepulse.h"
#include "wavfile.h"

using namespace kd::engine;
using kd_app::models::CKDSdkManager;

namespace {

QStringList namesOf(const std::vector<KDDevice> &devices)
{
    QStringList names;
    for (const KDDevice &device : devices) {
        names << QString::fromStdString(device.name);
    }
    return names;
}

unsigned idOf(KD_DEVICE_TYPE type, const QString &name)
{
    for (const KDDevice &device : CKDSdkManager::getInstance()->getDevices(type)) {
        if (QString::fromStdString(device.name) == name) {
            return device.id;
        }
    }
    return KDDevice().id;
}

} // namespace

// The engine on a PulseAudio server of the test's own: the sound server's
// devices listed under their default heads, plugging in and out, the test
// sound played into a sink and measured on its monitor.
class TestSystemDevices : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void listsTheSinkAndItsMonitor();
    void hotPlug();
    void testSoundReachesTheMonitorMeter();
    void speakerThatCannotOpenIsAnError();

private:
    CPrivatePulse m_pulse;
    kd::sdk::IEngineControl *m_control = nullptr;
    QTemporaryDir m_dir;
};

void TestSystemDevices::initTestCase()
{
    if (!CPrivatePulse::available()) {
        QSKIP("pulseaudio is not installed");
    }
    QVERIFY(m_pulse.start());
    CKDSdkManager::initInstance();
    m_control = kd::sdk::currentEngineControl();
    QVERIFY(m_control);
    m_control->setEventLatency(0);
    // No polling: whatever changes, the sound server told.
    m_control->setDevicePollInterval(0);
}

void TestSystemDevices::cleanupTestCase()
{
    CKDSdkManager::releaseInstance();
    m_pulse.stop();
}

void TestSystemDevices::listsTheSinkAndItsMonitor()
{
    CKDSdkManager *manager = CKDSdkManager::getInstance();
    QTRY_VERIFY_WITH_TIMEOUT((m_control->pollDevices(), namesOf(manager->getDevices(KD_DEVICE_SPEAKER)).contains("t")), kdtest::kStateWaitMs);
    QCOMPARE(namesOf(manager->getDevices(KD_DEVICE_SPEAKER)), (QStringList{"System Default Speaker", "t"}));
    QCOMPARE(namesOf(manager->getDevices(KD_DEVICE_MIC)), (QStringList{"System Default Microphone", "t.monitor"}));
    QCOMPARE(manager->getDevice(KD_DEVICE_SPEAKER).name, std::string("System Default Speaker"));
    // No sound library aliases.
    QVERIFY(!namesOf(manager->getDevices(KD_DEVICE_SPEAKER)).contains("lavrate"));
}

void TestSystemDevices::hotPlug()
{
    CKDSdkManager *manager = CKDSdkManager::getInstance();
    QSignalSpy added(manager, &CKDSdkManager::eventDeviceAdded);
    QSignalSpy removed(manager, &CKDSdkManager::eventDeviceRemoved);
    QSignalSpy current(manager, &CKDSdkManager::eventCurrentDeviceChanged);
    QString module;
    QVERIFY(m_pulse.pactl({"load-module", "module-null-sink", "sink_name=u"}, &module));
    QTRY_VERIFY_WITH_TIMEOUT(idOf(KD_DEVICE_SPEAKER, "u") != KDDevice().id, kdtest::kStateWaitMs);
    QTRY_VERIFY_WITH_TIMEOUT(idOf(KD_DEVICE_MIC, "u.monitor") != KDDevice().id, kdtest::kStateWaitMs);
    QTRY_VERIFY_WITH_TIMEOUT(added.count() >= 2, kdtest::kStateWaitMs);
    const unsigned plugged = idOf(KD_DEVICE_SPEAKER, "u");
    manager->setDevice(KD_DEVICE_SPEAKER, plugged);
    QTRY_COMPARE_WITH_TIMEOUT(current.count(), 1, kdtest::kStateWaitMs);
    QCOMPARE(manager->getDevice(KD_DEVICE_SPEAKER).id, plugged);

    QVERIFY(m_pulse.pactl({"unload-module", module}));
    QTRY_VERIFY_WITH_TIMEOUT(idOf(KD_DEVICE_SPEAKER, "u") == KDDevice().id, kdtest::kStateWaitMs);
    QTRY_COMPARE_WITH_TIMEOUT(current.count(), 2, kdtest::kStateWaitMs);
    // The current speaker went: the engine says so and takes the default.
    QCOMPARE(current.at(1).at(0).value<KDDevice>().name, std::string("System Default Speaker"));
    QTRY_VERIFY_WITH_TIMEOUT(removed.count() >= 2, kdtest::kStateWaitMs);

    // Plugged in again: the same id.
    QVERIFY(m_pulse.pactl({"load-module", "module-null-sink", "sink_name=u"}, &module));
    QTRY_COMPARE_WITH_TIMEOUT(idOf(KD_DEVICE_SPEAKER, "u"), plugged, kdtest::kStateWaitMs);
    QVERIFY(m_pulse.pactl({"unload-module", module}));
}

void TestSystemDevices::testSoundReachesTheMonitorMeter()
{
    CKDSdkManager *manager = CKDSdkManager::getInstance();
    manager->setDevice(KD_DEVICE_SPEAKER, idOf(KD_DEVICE_SPEAKER, "t"));
    manager->setDevice(KD_DEVICE_MIC, idOf(KD_DEVICE_MIC, "t.monitor"));
    QVERIFY(manager->enableMicMeter(true));
    // A null sink with nothing playing is silent.
    QTest::qWait(300);
    QVERIFY(manager->getMicVolume() < 0.05f);

    QVERIFY(manager->setAudioFile(writeWavFile(m_dir.filePath("tone.wav"), 1500, 0.5, 48000)));
    QVERIFY(manager->startAudioPlay(0));
    QVERIFY(manager->isAudioPlaying());
    QTRY_VERIFY_WITH_TIMEOUT(manager->getMicVolume() > 0.3f, kdtest::kStateWaitMs);
    QVERIFY(manager->getMicVolume() <= 1.0f);
    QTRY_VERIFY_WITH_TIMEOUT(!manager->isAudioPlaying(), kdtest::kStateWaitMs);

    // Stopped by the caller: no longer playing at once.
    QVERIFY(manager->startAudioPlay(0));
    QVERIFY(manager->stopAudioPlay());
    QVERIFY(!manager->isAudioPlaying());
    QVERIFY(manager->enableMicMeter(false));
    QCOMPARE(manager->getMicVolume(), 0.0f);
}

void TestSystemDevices::speakerThatCannotOpenIsAnError()
{
    CKDSdkManager *manager = CKDSdkManager::getInstance();
    QVERIFY(manager->setAudioFile(writeWavFile(m_dir.filePath("short.wav"), 300, 0.5)));
    manager->setDevice(KD_DEVICE_SPEAKER, idOf(KD_DEVICE_SPEAKER, "System Default Speaker"));
    m_pulse.stop();
    QVERIFY(!manager->startAudioPlay(0));
    QVERIFY(!manager->isAudioPlaying());
}

QTEST_MAIN(TestSystemDevices)
#include "tst_systemdevices.moc"
