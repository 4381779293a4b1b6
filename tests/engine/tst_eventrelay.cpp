#include <functional>

#include <QThread>
#include <QtTest>

#include "statewait.h"
#include "clogcapture.h"
#include "kdsdkcontrol.h"
#include "models/ckdsdkeventobserver.h"
#include "models/ckdsdkmanager.h"

using namespace kd::engine;
using kd_app::models::CKDSdkEventObserver;
using kd_app::models::CKDSdkManager;

using Raise = std::function<void(IAVEventHandler &)>;
using Check = std::function<bool(const QVariantList &)>;
Q_DECLARE_METATYPE(Raise)
Q_DECLARE_METATYPE(Check)

namespace {

// Counts deliveries and whether each came on the graphical thread.
class CDeliveryProbe : public QObject
{
    Q_OBJECT

public:
    int count = 0;
    bool allOnGuiThread = true;

public slots:
    void hit()
    {
        ++count;
        allOnGuiThread = allOnGuiThread && QThread::currentThread() == qApp->thread();
    }
};

KDCallInfo sampleCall()
{
    KDCallInfo info;
    info.peer = "Room 7";
    info.conference_number = "1007";
    info.password = "pw";
    info.isAudioOnly = true;
    info.err.code = 14;
    info.err.action = "onCallEnd";
    info.err.params = {"p1"};
    return info;
}

// Raises a call event with a record the engine overwrites as soon as the
// handler returns: the client must have copied it by then.
Raise callEvent(void (IAVEventHandler::*handler)(KDCallInfo &))
{
    return [handler](IAVEventHandler &target) {
        KDCallInfo info = sampleCall();
        (target.*handler)(info);
        info.peer = "overwritten";
        info.err.params.clear();
    };
}

bool isSampleCall(const QVariantList &args)
{
    const KDCallInfo info = args.at(0).value<KDCallInfo>();
    return info.peer == "Room 7" && info.conference_number == "1007" && info.isAudioOnly && info.err.code == 14 &&
           info.err.params.size() == 1;
}

Raise deviceEvent(void (IAVEventHandler::*handler)(KDDevice &))
{
    return [handler](IAVEventHandler &target) {
        KDDevice device;
        device.id = 42;
        device.type = KD_DEVICE_CAMERA;
        device.name = "USB cam";
        (target.*handler)(device);
        device.name = "overwritten";
    };
}

bool isSampleDevice(const QVariantList &args)
{
    const KDDevice device = args.at(0).value<KDDevice>();
    return device.id == 42 && device.type == KD_DEVICE_CAMERA && device.name == "USB cam";
}

} // namespace

class TestEventRelay : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void relaysOnGuiThread_data();
    void relaysOnGuiThread();
    void sipRegisterIsNotRelayed();
    void observerLogLines_data();
    void observerLogLines();

private:
    kd::sdk::IEngineControl *m_control = nullptr;
};

void TestEventRelay::initTestCase()
{
    CKDSdkManager::initInstance();
    m_control = kd::sdk::currentEngineControl();
    QVERIFY(m_control);
    m_control->setEventLatency(0);
}

void TestEventRelay::cleanupTestCase()
{
    CKDSdkManager::releaseInstance();
}

void TestEventRelay::relaysOnGuiThread_data()
{
    QTest::addColumn<QByteArray>("signal");
    QTest::addColumn<Raise>("raise");
    QTest::addColumn<Check>("check");

    QTest::newRow("eventError") << QByteArray(SIGNAL(eventError(kd::engine::KDError))) << Raise([](IAVEventHandler &h) {
        KDError e;
        e.action = "avlogin";
        e.code = 4;
        e.params = {"x", "y"};
        h.onError(e);
        e.params.clear();
    }) << Check([](const QVariantList &a) {
        const KDError e = a.at(0).value<KDError>();
        return e.action == "avlogin" && e.code == 4 && e.params.size() == 2;
    });
    QTest::newRow("eventWarn") << QByteArray(SIGNAL(eventWarn(kd::engine::KDWarn))) << Raise([](IAVEventHandler &h) {
        KDWarn w;
        w.code = 3;
        w.msg = "weak network";
        h.onWarn(w);
        w.msg = "overwritten";
    }) << Check([](const QVariantList &a) {
        const KDWarn w = a.at(0).value<KDWarn>();
        return w.code == 3 && w.msg == "weak network";
    });
    QTest::newRow("eventLoginSucceed") << QByteArray(SIGNAL(eventLoginSucceed(kd::engine::KDUserInfo)))
                                       << Raise([](IAVEventHandler &h) {
                                              KDUserInfo u;
                                              u.userId = 77;
                                              u.token = "tok-123456";
                                              h.onLoginSucceed(u);
                                              u.token.clear();
                                          })
                                       << Check([](const QVariantList &a) {
                                              const KDUserInfo u = a.at(0).value<KDUserInfo>();
                                              return u.userId == 77 && u.token == "tok-123456";
                                          });
    QTest::newRow("eventRegisterInfo") << QByteArray(SIGNAL(eventRegisterInfo(kd::engine::KDRegisterInfo)))
                                       << Raise([](IAVEventHandler &h) {
                                              KDRegisterInfo r;
                                              r.type = 1;
                                              r.state = 4;
                                              r.externalServer = "edge";
                                              h.onRegisterInfo(r);
                                              r.externalServer.clear();
                                          })
                                       << Check([](const QVariantList &a) {
                                              const KDRegisterInfo r = a.at(0).value<KDRegisterInfo>();
                                              return r.type == 1 && r.state == 4 && r.externalServer == "edge";
                                          });
    QTest::newRow("eventDownloadUserImageComplete")
        << QByteArray(SIGNAL(eventDownloadUserImageComplete(std::string))) << Raise([](IAVEventHandler &h) {
               char path[] = "/tmp/avatar.jpg";
               h.onDownloadUserImageComplete(path);
               path[1] = 'X';
           })
        << Check([](const QVariantList &a) { return a.at(0).value<std::string>() == "/tmp/avatar.jpg"; });
    QTest::newRow("eventUploadUserImageComplete")
        << QByteArray(SIGNAL(eventUploadUserImageComplete(std::string)))
        << Raise([](IAVEventHandler &h) { h.onUploadUserImageComplete("/tmp/up.png"); })
        << Check([](const QVariantList &a) { return a.at(0).value<std::string>() == "/tmp/up.png"; });
    QTest::newRow("eventNetworkState") << QByteArray(SIGNAL(eventNetworkState(bool)))
                                       << Raise([](IAVEventHandler &h) { h.onNetworkState(true); })
                                       << Check([](const QVariantList &a) { return a.at(0).toBool(); });
    QTest::newRow("eventNetworkQuality") << QByteArray(SIGNAL(eventNetworkQuality(float)))
                                         << Raise([](IAVEventHandler &h) { h.onNetworkQuality(3.5f); })
                                         << Check([](const QVariantList &a) { return a.at(0).toFloat() == 3.5f; });
    QTest::newRow("eventCallConnected") << QByteArray(SIGNAL(eventCallConnected(kd::engine::KDCallInfo)))
                                        << callEvent(&IAVEventHandler::onCallConnected) << Check(isSampleCall);
    QTest::newRow("eventCallState") << QByteArray(SIGNAL(eventCallState(kd::engine::KDCallInfo)))
                                    << callEvent(&IAVEventHandler::onCallState) << Check(isSampleCall);
    QTest::newRow("eventCallPeerConnected") << QByteArray(SIGNAL(eventCallPeerConnected(kd::engine::KDCallInfo)))
                                            << callEvent(&IAVEventHandler::onCallPeerConnected) << Check(isSampleCall);
    QTest::newRow("eventCallEnd") << QByteArray(SIGNAL(eventCallEnd(kd::engine::KDCallInfo)))
                                  << callEvent(&IAVEventHandler::onCallEnd) << Check(isSampleCall);
    QTest::newRow("eventContent") << QByteArray(SIGNAL(eventContent(kd::engine::KDContentInfo)))
                                  << Raise([](IAVEventHandler &h) {
                                         KDContentInfo c;
                                         c.enabled = true;
                                         c.type = 3;
                                         c.senderName = "Ann";
                                         h.onContent(c);
                                         c.senderName = "overwritten";
                                     })
                                  << Check([](const QVariantList &a) {
                                         const KDContentInfo c = a.at(0).value<KDContentInfo>();
                                         return c.enabled && c.type == 3 && c.senderName == "Ann";
                                     });
    QTest::newRow("eventMuteSpeakingDetected") << QByteArray(SIGNAL(eventMuteSpeakingDetected()))
                                               << Raise([](IAVEventHandler &h) { h.onMuteSpeakingDetected(); })
                                               << Check([](const QVariantList &a) { return a.isEmpty(); });
    QTest::newRow("eventMicMutedShow 2 is true")
        << QByteArray(SIGNAL(eventMicMutedShow(bool))) << Raise([](IAVEventHandler &h) { h.onMicMutedShow(2); })
        << Check([](const QVariantList &a) { return a.at(0).toBool(); });
    QTest::newRow("eventMicMutedShow 0 is false")
        << QByteArray(SIGNAL(eventMicMutedShow(bool))) << Raise([](IAVEventHandler &h) { h.onMicMutedShow(0); })
        << Check([](const QVariantList &a) { return !a.at(0).toBool(); });
    QTest::newRow("eventWaitQueue") << QByteArray(SIGNAL(eventWaitQueue(int)))
                                    << Raise([](IAVEventHandler &h) { h.onWaitQueue(5); })
                                    << Check([](const QVariantList &a) { return a.at(0).toInt() == 5; });
    QTest::newRow("eventUploadFeedback") << QByteArray(SIGNAL(eventUploadFeedback(int)))
                                         << Raise([](IAVEventHandler &h) { h.onUploadFeedback(-3); })
                                         << Check([](const QVariantList &a) { return a.at(0).toInt() == -3; });
    QTest::newRow("eventContentSourceStatusChange")
        << QByteArray(SIGNAL(eventContentSourceStatusChange(kd::engine::KDVideoSize, int, int, bool, bool)))
        << Raise([](IAVEventHandler &h) {
               KDVideoSize size;
               size.width = 1920;
               size.height = 1080;
               h.onContentSourceStatusChange(size, 10, 20, true, false);
           })
        << Check([](const QVariantList &a) {
               const KDVideoSize size = a.at(0).value<KDVideoSize>();
               return size.width == 1920 && size.height == 1080 && a.at(1).toInt() == 10 && a.at(2).toInt() == 20 &&
                      a.at(3).toBool() && !a.at(4).toBool();
           });
    // The engine's own registration callback raises nothing; the observer's
    // signal is still connected and relayed when something emits it.
    QTest::newRow("eventSIPRegister") << QByteArray(SIGNAL(eventSIPRegister(bool))) << Raise([](IAVEventHandler &h) {
        emit dynamic_cast<CKDSdkEventObserver &>(h).eventSIPRegister(true);
    }) << Check([](const QVariantList &a) { return a.at(0).toBool(); });
    QTest::newRow("eventSIPForceClear") << QByteArray(SIGNAL(eventSIPForceClear()))
                                        << Raise([](IAVEventHandler &h) { h.onSIPForceClear(); })
                                        << Check([](const QVariantList &a) { return a.isEmpty(); });
    QTest::newRow("eventCallIncoming") << QByteArray(SIGNAL(eventCallIncoming(kd::engine::KDCallInfo)))
                                       << callEvent(&IAVEventHandler::onCallIncoming) << Check(isSampleCall);
    QTest::newRow("eventVolume") << QByteArray(SIGNAL(eventVolume(kd::engine::KD_DEVICE_TYPE, kd::engine::KDVolume)))
                                 << Raise([](IAVEventHandler &h) {
                                        KDVolume vol;
                                        vol.mute = 1;
                                        vol.volume = 2.25f;
                                        h.onVolume(KD_DEVICE_SPEAKER, vol);
                                        vol.volume = 0;
                                    })
                                 << Check([](const QVariantList &a) {
                                        const KDVolume vol = a.at(1).value<KDVolume>();
                                        return a.at(0).value<KD_DEVICE_TYPE>() == KD_DEVICE_SPEAKER && vol.mute == 1 &&
                                               vol.volume == 2.25f;
                                    });
    QTest::newRow("eventDeviceAdded") << QByteArray(SIGNAL(eventDeviceAdded(kd::engine::KDDevice)))
                                      << deviceEvent(&IAVEventHandler::onDeviceAdded) << Check(isSampleDevice);
    QTest::newRow("eventDeviceRemoved") << QByteArray(SIGNAL(eventDeviceRemoved(kd::engine::KDDevice)))
                                        << deviceEvent(&IAVEventHandler::onDeviceRemoved) << Check(isSampleDevice);
    QTest::newRow("eventCurrentDeviceChanged")
        << QByteArray(SIGNAL(eventCurrentDeviceChanged(kd::engine::KDDevice)))
        << deviceEvent(&IAVEventHandler::onCurrentDeviceChanged) << Check(isSampleDevice);
    QTest::newRow("eventVideoMutedShow") << QByteArray(SIGNAL(eventVideoMutedShow(int)))
                                         << Raise([](IAVEventHandler &h) { h.onVideoMutedShow(2); })
                                         << Check([](const QVariantList &a) { return a.at(0).toInt() == 2; });
}

void TestEventRelay::relaysOnGuiThread()
{
    QFETCH(QByteArray, signal);
    QFETCH(Raise, raise);
    QFETCH(Check, check);

    CKDSdkManager *manager = CKDSdkManager::getInstance();
    QSignalSpy spy(manager, signal.constData());
    QVERIFY(spy.isValid());
    CDeliveryProbe probe;
    QVERIFY(connect(manager, signal.constData(), &probe, SLOT(hit())));

    m_control->raise(raise);
    QVERIFY(m_control->waitForIdle(kdtest::kStateWaitMs));
    QTRY_COMPARE_WITH_TIMEOUT(spy.count(), 1, kdtest::kStateWaitMs);
    QVERIFY(check(spy.at(0)));
    QCOMPARE(probe.count, 1);
    QVERIFY(probe.allOnGuiThread);
}

void TestEventRelay::sipRegisterIsNotRelayed()
{
    CKDSdkManager *manager = CKDSdkManager::getInstance();
    QSignalSpy sip(manager, SIGNAL(eventSIPRegister(bool)));
    QSignalSpy end(manager, SIGNAL(eventCallEnd(kd::engine::KDCallInfo)));
    m_control->raise([](IAVEventHandler &h) {
        h.onSIPRegister(true);
        KDCallInfo info;
        h.onCallEnd(info);
    });
    // The call end raised after it arrives; the registration never does.
    QTRY_COMPARE_WITH_TIMEOUT(end.count(), 1, kdtest::kStateWaitMs);
    QCOMPARE(sip.count(), 0);
}

void TestEventRelay::observerLogLines_data()
{
    QTest::addColumn<Raise>("raise");
    QTest::addColumn<QString>("expected");

    QTest::newRow("mic muted keeps the engine's int")
        << Raise([](IAVEventHandler &h) { h.onMicMutedShow(2); }) << QString("CKDSdkEventObserver::onMicMutedShow: 2");
    QTest::newRow("network state as a number") << Raise([](IAVEventHandler &h) { h.onNetworkState(true); })
                                               << QString("CKDSdkEventObserver::onNetworkState: 1");
    QTest::newRow("empty password label")
        << Raise([](IAVEventHandler &h) {
               KDCallInfo info;
               h.onCallEnd(info);
           })
        << QString("isAudioOnly: 0, contentEnabled: 1, isBigConference: 0, isRemoteMuted: 0, peer: , "
                   "conference_number: , password:, err.type: 5, err.action: , err.code: 0, svcCallType: 0, "
                   "svcCallAction: 0");
    QTest::newRow("call password is hidden") << Raise([](IAVEventHandler &h) {
        KDCallInfo info;
        info.password = "abcdefghijklmnop";
        h.onCallConnected(info);
    }) << QString(", password:*****, err.type: 5");
    QTest::newRow("default device id") << Raise([](IAVEventHandler &h) {
        KDDevice device;
        h.onDeviceAdded(device);
    }) << QString("type: 0 , id: 4294967295 , name:");
    QTest::newRow("error format") << Raise([](IAVEventHandler &h) {
        KDError e;
        e.action = "dialOut";
        e.code = 7;
        e.msg = "gone";
        h.onError(e);
    }) << QString("CKDSdkEventObserver::onError, type: 5, action: dialOut, code: 7, msg: gone");
    QTest::newRow("token is masked") << Raise([](IAVEventHandler &h) {
        KDUserInfo u;
        u.token = "abcdefghijklmnop";
        h.onLoginSucceed(u);
    }) << QString("token: abcd...(16)");
}

void TestEventRelay::observerLogLines()
{
    QFETCH(Raise, raise);
    QFETCH(QString, expected);
    CLogCapture log;
    m_control->raise(raise);
    QVERIFY(m_control->waitForIdle(kdtest::kStateWaitMs));
    QVERIFY2(log.contains(expected), qPrintable(log.all().join('\n')));
    QVERIFY(!log.contains("abcdefghijklmnop"));
}

QTEST_MAIN(TestEventRelay)
#include "tst_eventrelay.moc"
