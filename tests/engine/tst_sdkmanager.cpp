#include <atomic>
#include <functional>
#include <mutex>
#include <thread>

#include <QPointer>
#include <QtTest>

#include "statewait.h"
#include "clogcapture.h"
#include "kdsdkcontrol.h"
#include "models/ckdsdkeventobserver.h"
#include "models/ckdsdkmanager.h"

using namespace kd::engine;
using kd_app::models::CKDSdkEventObserver;
using kd_app::models::CKDSdkManager;

using Action = std::function<void(CKDSdkManager &)>;
Q_DECLARE_METATYPE(Action)

class TestSdkManager : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void secondInitCreatesNothing();
    void tearDownOrder();
    void getFeatureCodes_data();
    void getFeatureCodes();
    void validatePasswordWritesNoWarning();
    void enablePreviewWithoutEngine();
    void hardwareCoding_data();
    void hardwareCoding();
    void wrapperLogLines_data();
    void wrapperLogLines();
    void contentSourceEntryLine_data();
    void contentSourceEntryLine();
    void callsFromSeveralThreads();

private:
    kd::sdk::IEngineControl *m_control = nullptr;
};

void TestSdkManager::init()
{
    CKDSdkManager::initInstance();
    m_control = kd::sdk::currentEngineControl();
    QVERIFY(m_control);
    m_control->setEventLatency(0);
}

void TestSdkManager::cleanup()
{
    CKDSdkManager::releaseInstance();
    QVERIFY(!CKDSdkManager::getInstance());
}

void TestSdkManager::secondInitCreatesNothing()
{
    CLogCapture log;
    CKDSdkManager *first = CKDSdkManager::getInstance();
    CKDSdkManager::initInstance();
    QCOMPARE(CKDSdkManager::getInstance(), first);
    QCOMPARE(kd::sdk::currentEngineControl(), m_control);
    QCOMPARE(log.all().filter("kd_app::models::CKDSdkManager::initInstance").size(), 1);
    QVERIFY(!log.contains("createKDEngine"));
    int registrations = 0;
    for (const kd::sdk::KDOperationRecord &op : m_control->operations()) {
        registrations += op.name == "registerEventHandler" ? 1 : 0;
    }
    QCOMPARE(registrations, 1);
}

void TestSdkManager::tearDownOrder()
{
    QPointer<CKDSdkEventObserver> observer = dynamic_cast<CKDSdkEventObserver *>(m_control->eventHandler());
    QVERIFY(observer);
    std::vector<std::string> calls;
    bool observerAliveWhenEngineDeleted = false;
    m_control->setOperationListener([&](const std::string &name) {
        calls.push_back(name);
        if (name == "deleteAVEngine") {
            observerAliveWhenEngineDeleted = !observer.isNull();
        }
    });

    CLogCapture log;
    CKDSdkManager::releaseInstance();
    QCOMPARE(calls, (std::vector<std::string>{"release", "unregisterEventHandler", "deleteAVEngine"}));
    QVERIFY(observerAliveWhenEngineDeleted);
    QVERIFY(observer.isNull());
    QVERIFY(!CKDSdkManager::getInstance());
    QVERIFY(!kd::sdk::currentEngineControl());
    QVERIFY(log.contains("invoke release and unregisterEventHandler"));

    // Once more without an instance: only the log line.
    log.clear();
    CKDSdkManager::releaseInstance();
    QCOMPARE(log.all().size(), 1);
    QVERIFY(log.all().at(0).contains("kd_app::models::CKDSdkManager::releaseInstance"));
}

void TestSdkManager::getFeatureCodes_data()
{
    QTest::addColumn<QByteArray>("server");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QString>("logged");
    QTest::addColumn<bool>("warned");

    QTest::newRow("0 fills the record") << QByteArray("full.example") << true << QString("feature, version: 3.1")
                                        << false;
    QTest::newRow("9 is success without a record")
        << QByteArray("bare.example") << true << QString("Failed, rst: 9") << true;
    QTest::newRow("3 is failure") << QByteArray("nowhere.example") << false << QString("Failed, rst: 3") << true;
}

void TestSdkManager::getFeatureCodes()
{
    QFETCH(QByteArray, server);
    QFETCH(bool, result);
    QFETCH(QString, logged);
    QFETCH(bool, warned);

    kd::sdk::KDModelServer full;
    full.address = "full.example";
    full.version = "3.1";
    m_control->addServer(full);
    kd::sdk::KDModelServer bare;
    bare.address = "bare.example";
    bare.hasFeatureRecord = false;
    m_control->addServer(bare);

    CLogCapture log;
    AVFeature feature;
    QCOMPARE(CKDSdkManager::getInstance()->getFeature(server.constData(), 443, feature), result);
    QVERIFY2(log.contains(logged), qPrintable(log.all().join('\n')));
    QCOMPARE(!log.warningLines().filter("Failed, rst:").isEmpty(), warned);
    QCOMPARE(log.contains("feature, version:"), server == "full.example");
}

void TestSdkManager::validatePasswordWritesNoWarning()
{
    CLogCapture log;
    QVERIFY(!CKDSdkManager::getInstance()->validatePassword("short"));
    QVERIFY(log.warningLines().isEmpty());
    QVERIFY(log.contains("done, passwordJustRule: 1"));
    QVERIFY(CKDSdkManager::getInstance()->validatePassword("Longer1pass"));
}

void TestSdkManager::enablePreviewWithoutEngine()
{
    CKDSdkManager::releaseInstance();
    kd::sdk::failNextEngineCreation();
    CLogCapture log;
    CKDSdkManager::initInstance();
    QVERIFY(CKDSdkManager::getInstance());
    QVERIFY(!kd::sdk::currentEngineControl());
    QVERIFY(!CKDSdkManager::getInstance()->enablePreview(true));
    QVERIFY(!log.warningLines().filter("m_pAVEngine is nullptr").isEmpty());
}

void TestSdkManager::hardwareCoding_data()
{
    QTest::addColumn<bool>("decoder");
    QTest::addColumn<bool>("enable");
    QTest::newRow("decoder on") << true << true;
    QTest::newRow("decoder off") << true << false;
    QTest::newRow("encoder on") << false << true;
    QTest::newRow("encoder off") << false << false;
}

void TestSdkManager::hardwareCoding()
{
    QFETCH(bool, decoder);
    QFETCH(bool, enable);
    const std::string operation = decoder ? "setHardwareDecoder" : "setHardwareEncoder";
    for (int i = 0; i < 6; ++i) {
        m_control->failNext(operation, 5);
    }
    m_control->clearOperations();

    CKDSdkManager *manager = CKDSdkManager::getInstance();
    QVERIFY(decoder ? manager->enableHardDecoder(enable) : manager->enableHardEncoder(enable));

    std::vector<std::string> args;
    for (const kd::sdk::KDOperationRecord &op : m_control->operations()) {
        QCOMPARE(op.name, operation);
        args.push_back(op.args);
    }
    const std::string value = enable ? "2" : "1";
    QCOMPARE(args, (std::vector<std::string>{"1,1," + value, "1,2," + value, "2,1," + value, "2,2," + value,
                                             "3,1," + value, "3,2," + value}));
}

void TestSdkManager::wrapperLogLines_data()
{
    QTest::addColumn<Action>("action");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("warning");

    QTest::newRow("bandwidth format") << Action([](CKDSdkManager &m) { m.setBandwidth(2048); })
                                      << QString("CKDSdkManager::setBandwidth: 2048") << QString();
    QTest::newRow("bandwidth refused") << Action([](CKDSdkManager &m) { QVERIFY(!m.setBandwidth(1)); })
                                       << QString("setBandwidth done") << QString("Failed to setBandwidth, rst: 2");
    QTest::newRow("DTMF outside a call") << Action([](CKDSdkManager &m) { QVERIFY(!m.sendDTMF('5')); })
                                         << QString("kd_app::models::CKDSdkManager::sendDTMF")
                                         << QString("Failed, rst: 6");
    QTest::newRow("login hides the password")
        << Action([](CKDSdkManager &m) { m.avlogin("host.example", 443, "ann", "secret-pw"); })
        << QString("server: host.example , port: 443 , username ann") << QString();
    QTest::newRow("getStats failure text") << Action([](CKDSdkManager &m) {
        KDStats stats;
        QVERIFY(!m.getStats(stats));
    }) << QString("CKDSdkManager::getStats")
                                           << QString("Failed to getStats, rst: 6");
    QTest::newRow("noise suppression passes 2") << Action([](CKDSdkManager &m) {
        kd::sdk::currentEngineControl()->failNext("enableNoiseSuppression", 3);
        QVERIFY(m.enableNoiseSuppression(true));
        QCOMPARE(kd::sdk::currentEngineControl()->operations().back().args, std::string("2"));
    }) << QString("kd_app::models::CKDSdkManager::enableNoiseSuppression")
                                                << QString();
}

void TestSdkManager::wrapperLogLines()
{
    QFETCH(Action, action);
    QFETCH(QString, line);
    QFETCH(QString, warning);
    CLogCapture log;
    action(*CKDSdkManager::getInstance());
    QVERIFY2(log.contains(line), qPrintable(log.all().join('\n')));
    if (warning.isEmpty()) {
        QVERIFY2(log.warningLines().filter("CKDSdkManager").isEmpty(), qPrintable(log.warningLines().join('\n')));
    } else {
        QVERIFY2(!log.warningLines().filter(warning).isEmpty(), qPrintable(log.warningLines().join('\n')));
    }
    QVERIFY(!log.contains("secret-pw"));
}

void TestSdkManager::contentSourceEntryLine_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<Action>("action");

    QTest::newRow("setLocalContentSource") << QString("setLocalContentSource") << Action([](CKDSdkManager &m) {
        KDContentSourceInfo info;
        info.windowTitle = "Screen 1";
        m.setLocalContentSource(info);
    });
    QTest::newRow("getContentSourceBitmap") << QString("getContentSourceBitmap") << Action([](CKDSdkManager &m) {
        KDContentSourceInfo info;
        info.windowTitle = "Screen 1";
        KDBitmap bitmap;
        m.getContentSourceBitmap(info, 0, 112, 70, &bitmap);
    });
}

// The source's labels open the wrapper's own entry line, under the wrapper's name.
void TestSdkManager::contentSourceEntryLine()
{
    QFETCH(QString, operation);
    QFETCH(Action, action);
    m_control->failNext(operation.toStdString(), 5);
    CLogCapture log;
    action(*CKDSdkManager::getInstance());
    const QRegularExpression entry("^kd_app::models::CKDSdkManager::" + operation +
                                   " \\d+ info: type: 0 , windowTitle: Screen 1 , windowId");
    QVERIFY2(!log.all().filter(entry).isEmpty(), qPrintable(log.all().join('\n')));
}

void TestSdkManager::callsFromSeveralThreads()
{
    kd::sdk::KDModelMeeting meeting;
    meeting.number = "3001";
    meeting.name = "Threads";
    meeting.hosts = {"ann"};
    m_control->addMeeting(meeting);
    kd::sdk::KDModelAccount account;
    account.username = "ann";
    account.password = "Ann-pass1";
    m_control->addAccount(account);

    CLogCapture quiet;
    CKDSdkManager *manager = CKDSdkManager::getInstance();
    QSignalSpy connected(manager, &CKDSdkManager::eventCallConnected);
    QSignalSpy ended(manager, &CKDSdkManager::eventCallEnd);
    QSignalSpy signedIn(manager, &CKDSdkManager::eventLoginSucceed);

    std::atomic<int> failures{0};
    std::atomic<bool> stop{false};
    std::vector<std::thread> workers;
    // As the login worker does.
    workers.emplace_back([&] {
        AVFeature feature;
        if (!manager->getFeature("host.example", 443, feature)) {
            ++failures;
        }
        const std::string password = manager->encryptPassword(1, "Ann-pass1");
        if (!manager->avlogin("host.example", 443, "ann", password.c_str())) {
            ++failures;
        }
    });
    // As the toolbars' pool tasks do.
    for (int t = 0; t < 2; ++t) {
        workers.emplace_back([&] {
            while (!stop) {
                manager->conferenceControllable();
                manager->getDevices(KD_DEVICE_CAMERA);
            }
        });
    }
    // As the screen-capture thread does: a fresh buffer per frame, freed at once.
    workers.emplace_back([&] {
        while (!stop) {
            QImage frame(64, 48, QImage::Format_RGB888);
            frame.fill(Qt::darkCyan);
            KDContentSourceInfo info;
            info.type = 3;
            info.captureSize.width = frame.width();
            info.captureSize.height = frame.height();
            info.frameBytesPerLine = frame.bytesPerLine();
            info.frameData = frame.bits();
            if (!manager->setLocalContentSource(info)) {
                ++failures;
            }
        }
    });

    QTRY_COMPARE_WITH_TIMEOUT(signedIn.count(), 1, kdtest::kStateWaitMs);
    for (int round = 0; round < 5; ++round) {
        QVERIFY(manager->dialOut("3001", true));
        QTRY_COMPARE_WITH_TIMEOUT(connected.count(), round + 1, kdtest::kStateWaitMs);
        QVERIFY(manager->conferenceControllable());
        QVERIFY(manager->hangUp());
        QTRY_COMPARE_WITH_TIMEOUT(ended.count(), round + 1, kdtest::kStateWaitMs);
    }
    stop = true;
    for (std::thread &worker : workers) {
        worker.join();
    }
    QCOMPARE(failures.load(), 0);
}

QTEST_MAIN(TestSdkManager)
#include "tst_sdkmanager.moc"
