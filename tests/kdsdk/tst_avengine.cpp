#include <atomic>

#include <QDataStream>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>
#include <QtConcurrent>
#include <QtTest>

#include "statewait.h"
#include "../engine/clogcapture.h"
#include "annfixture.h"
#include "kdsdkcontrol.h"
#include "models/ckdsdkmanager.h"
#include "wavfile.h"

using namespace kd::engine;
using kd_app::models::CKDSdkManager;

namespace {

const QColor kBackground(1, 2, 3);

std::unique_ptr<QWidget> videoWindow()
{
    auto window = std::make_unique<QWidget>();
    window->resize(280, 160);
    window->setAutoFillBackground(true);
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, kBackground);
    window->setPalette(palette);
    window->show();
    window->winId();
    return window;
}

QColor pixel(QWidget &window, int x, int y)
{
    return window.grab().toImage().pixelColor(x, y);
}

} // namespace

class TestAVEngine : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void signIn_data();
    void signIn();
    void featureFailureIsAnEvent();
    void delayedOperationHoldsItsCaller();
    void dialOut_data();
    void dialOut();
    void incomingCalls_data();
    void incomingCalls();
    void unansweredCallRingsOut();
    void connectedCallIsRated();
    void waitQueueCountsDownThenConnects();
    void hangUpWhileWaitingNeverConnects();
    void videoWindowsShowTheirStreams();
    void renderStatisticsFollowTheWindows();
    void videoTicksOnlyWhileShown();
    void contentEvents_data();
    void contentEvents();
    void clientFramesAreCheckedAndCopied();
    void soundPlaysForTheFileLength();
    void settingsPersist();
    void logFilesRotate();
    void logLinesCannotBeForged();
    void passwords();
    void avatarIsWrittenBeforeItsEvent();
    void feedbackProgress_data();
    void feedbackProgress();
    void devicesHotPlug();
    void diagnosticsDescribeTheState();
    void contentSourcesAndBitmaps();
    void addedContentSources();
    void modelFromJsonFile_data();
    void modelFromJsonFile();
    void hostMuteHoldsUntilLifted();
    void noEventAfterRelease_data();
    void noEventAfterRelease();

private:
    void signInAnn();
    void connectCall(const char *number);

    kd::sdk::IEngineControl *m_control = nullptr;
    CKDSdkManager *m_manager = nullptr;
    QTemporaryDir m_dir;
};

void TestAVEngine::init()
{
    CKDSdkManager::initInstance();
    m_manager = CKDSdkManager::getInstance();
    m_control = kd::sdk::currentEngineControl();
    QVERIFY(m_control);
    m_control->setEventLatency(0);
    annfixture::addServerAndAnn(m_control);
    kd::sdk::KDModelAccount ben;
    ben.username = "ben";
    ben.password = "Ben-pass1";
    ben.accountState = "locked";
    m_control->addAccount(ben);
    kd::sdk::KDModelMeeting board;
    board.number = "4001";
    board.name = "Board";
    board.password = "pw";
    board.participants = {"Bob", "Cleo", "Dan"};
    board.hosts = {"ann"};
    m_control->addMeeting(board);
    kd::sdk::KDModelMeeting locked;
    locked.number = "4002";
    locked.name = "Town hall";
    locked.contentLocked = true;
    m_control->addMeeting(locked);
    kd::sdk::KDModelMeeting queued;
    queued.number = "4003";
    queued.name = "Help desk";
    queued.waitQueue = 2;
    m_control->addMeeting(queued);
}

void TestAVEngine::unansweredCallRingsOut()
{
    QSignalSpy ended(m_manager, &CKDSdkManager::eventCallEnd);
    m_control->setRingTimeout(200);
    m_control->injectIncomingCall("Eve", "5005", false);
    QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, kdtest::kStateWaitMs);
    QCOMPARE(ended.at(0).at(0).value<KDCallInfo>().err.code, 0);
    // The engine is free for the next call; an answered one never rings out.
    m_control->injectIncomingCall("Eve", "5005", false);
    QTRY_VERIFY(m_control->waitForIdle(kdtest::kStateWaitMs));
    QVERIFY(m_manager->acceptCall(true));
    QTest::qWait(400);
    QCOMPARE(ended.count(), 1);
    QVERIFY(m_manager->hangUp());
    QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 2, kdtest::kStateWaitMs);
}

void TestAVEngine::connectedCallIsRated()
{
    QSignalSpy ratings(m_manager, &CKDSdkManager::eventNetworkQuality);
    m_control->setNetworkRatingPeriod(100);
    connectCall("4002");
    // At the connect, then every period: the model's best rating.
    QTRY_VERIFY_WITH_TIMEOUT(ratings.count() >= 3, kdtest::kStateWaitMs);
    QCOMPARE(ratings.first().first().toFloat(), 5.0f);
    m_control->injectNetworkQuality(2.0f);
    const int before = ratings.count();
    QTRY_VERIFY_WITH_TIMEOUT(ratings.count() >= before + 3, kdtest::kStateWaitMs);
    QCOMPARE(ratings.last().first().toFloat(), 2.0f);
    // No rating once the call is over.
    QVERIFY(m_manager->hangUp());
    QVERIFY(m_control->waitForIdle(kdtest::kStateWaitMs));
    // What was on its way when the call ended has arrived.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    const int after = ratings.count();
    QTest::qWait(300);
    QCOMPARE(ratings.count(), after);
}

void TestAVEngine::waitQueueCountsDownThenConnects()
{
    // The events in the order they came: a busy machine may take them in one go.
    QStringList events;
    connect(m_manager, &CKDSdkManager::eventWaitQueue, this,
            [&events](int size) { events << QStringLiteral("wait %1").arg(size); });
    connect(m_manager, &CKDSdkManager::eventCallConnected, this, [&events] { events << QStringLiteral("connected"); });
    QVERIFY(m_manager->dialOut("4003", true));
    QTRY_VERIFY_WITH_TIMEOUT(events.contains("connected"), kdtest::kStateWaitMs);
    QCOMPARE(events, QStringList({"wait 2", "wait 1", "connected"}));
    m_manager->disconnect(this);
}

void TestAVEngine::hangUpWhileWaitingNeverConnects()
{
    QSignalSpy waiting(m_manager, &CKDSdkManager::eventWaitQueue);
    QSignalSpy connected(m_manager, &CKDSdkManager::eventCallConnected);
    QVERIFY(m_manager->dialOut("4003", true));
    QTRY_COMPARE_WITH_TIMEOUT(waiting.count(), 1, kdtest::kStateWaitMs);
    QVERIFY(m_manager->hangUp());
    QTest::qWait(2500);
    QCOMPARE(connected.count(), 0);
    QCOMPARE(waiting.count(), 1);
    // The next call is not disturbed by the abandoned wait.
    connectCall("4002");
}

void TestAVEngine::cleanup()
{
    CKDSdkManager::releaseInstance();
}

void TestAVEngine::signInAnn()
{
    QVERIFY(annfixture::signInAnn(m_manager));
}

void TestAVEngine::connectCall(const char *number)
{
    QVERIFY(annfixture::connectCall(m_manager, number));
}

void TestAVEngine::signIn_data()
{
    QTest::addColumn<QByteArray>("server");
    QTest::addColumn<QByteArray>("user");
    QTest::addColumn<QByteArray>("password");
    QTest::addColumn<int>("forced");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("code");

    using namespace kd::sdk;
    const QByteArray server = "conf.example";
    QTest::newRow("success") << server << QByteArray("ann") << QByteArray("Ann-pass1") << 0 << 0 << 0;
    // The model refuses as the server does: its code, in the server's type.
    QTest::newRow("wrong password") << server << QByteArray("ann") << QByteArray("nope") << 0
                                    << int(KD_ERROR_TYPE_SERVER) << int(KD_SERVER_ERROR_WRONG_CREDENTIALS);
    QTest::newRow("unknown account") << server << QByteArray("zed") << QByteArray("Ann-pass1") << 0
                                     << int(KD_ERROR_TYPE_SERVER) << int(KD_SERVER_ERROR_WRONG_CREDENTIALS);
    QTest::newRow("locked account") << server << QByteArray("ben") << QByteArray("Ben-pass1") << 0
                                    << int(KD_ERROR_TYPE_SERVER) << int(KD_SERVER_ERROR_ACCOUNT_LOCKED);
    QTest::newRow("unreachable server") << QByteArray("other.example") << QByteArray("ann") << QByteArray("Ann-pass1")
                                        << 0 << int(KD_ERROR_TYPE_ENGINE) << int(KD_ENGINE_ERROR_SERVER_UNREACHABLE);
    QTest::newRow("refused at once") << server << QByteArray("ann") << QByteArray("Ann-pass1")
                                     << int(KD_ERR_NOT_INITIALIZED) << int(KD_ERROR_TYPE_ENGINE)
                                     << int(KD_ENGINE_ERROR_NOT_INITIALIZED);
}

void TestAVEngine::signIn()
{
    QFETCH(QByteArray, server);
    QFETCH(QByteArray, user);
    QFETCH(QByteArray, password);
    QFETCH(int, forced);
    QFETCH(int, type);
    QFETCH(int, code);

    if (forced) {
        m_control->failNext("avlogin", forced);
    }
    QStringList order;
    connect(m_manager, &CKDSdkManager::eventLoginSucceed, this, [&order] { order << "login"; });
    connect(m_manager, &CKDSdkManager::eventRegisterInfo, this, [&order] { order << "register"; });
    QSignalSpy errors(m_manager, &CKDSdkManager::eventError);
    QSignalSpy logins(m_manager, &CKDSdkManager::eventLoginSucceed);
    QSignalSpy registrations(m_manager, &CKDSdkManager::eventRegisterInfo);

    const std::string wrapped = m_manager->encryptPassword(1, password.constData());
    QCOMPARE(m_manager->avlogin(server.constData(), 443, user.constData(), wrapped.c_str()), forced == 0);
    QVERIFY(m_control->waitForIdle(kdtest::kStateWaitMs));
    if (code == 0) {
        QTRY_COMPARE_WITH_TIMEOUT(order, (QStringList{"login", "register"}), kdtest::kStateWaitMs);
        const KDUserInfo info = logins.at(0).at(0).value<KDUserInfo>();
        QVERIFY(!info.token.empty());
        QCOMPARE(info.displayName, std::string("Ann Lee"));
        const KDRegisterInfo registration = registrations.at(0).at(0).value<KDRegisterInfo>();
        QCOMPARE(registration.type, 1);
        QCOMPARE(registration.state, 1);
        QCOMPARE(errors.count(), 0);
        return;
    }
    QTRY_COMPARE_WITH_TIMEOUT(errors.count(), 1, kdtest::kStateWaitMs);
    const KDError error = errors.at(0).at(0).value<KDError>();
    QCOMPARE(error.action, std::string("avlogin"));
    QCOMPARE(error.type, type);
    QCOMPARE(error.code, code);
    QVERIFY(!error.msg.empty());
    QCOMPARE(logins.count(), 0);
    KDRegisterInfo registration;
    QVERIFY(m_manager->getRegisterInfo(1, registration));
    QCOMPARE(registration.state, 0);
}

// A test holds a worker in the engine while what started it goes away.
void TestAVEngine::delayedOperationHoldsItsCaller()
{
    std::atomic<bool> entered{false};
    m_control->setOperationListener([&entered](const std::string &name) {
        if (name == "conferenceControllable") {
            entered = true;
        }
    });
    m_control->delayNext("conferenceControllable", 400);
    QElapsedTimer clock;
    clock.start();
    QFuture<bool> held = QtConcurrent::run([this] { return m_manager->conferenceControllable(); });
    QTRY_VERIFY(entered);
    QVERIFY(!held.isFinished());
    held.waitForFinished();
    QVERIFY2(clock.elapsed() >= 400, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(!held.result());

    // Only the next call is held.
    clock.restart();
    QVERIFY(!m_manager->conferenceControllable());
    QVERIFY2(clock.elapsed() < 200, qPrintable(QString::number(clock.elapsed())));
    m_control->setOperationListener(nullptr);
}

void TestAVEngine::featureFailureIsAnEvent()
{
    QSignalSpy errors(m_manager, &CKDSdkManager::eventError);
    AVFeature feature;
    QVERIFY(!m_manager->getFeature("other.example", 443, feature));
    QTRY_COMPARE_WITH_TIMEOUT(errors.count(), 1, kdtest::kStateWaitMs);
    const KDError error = errors.at(0).at(0).value<KDError>();
    QCOMPARE(error.action, std::string("getFeature"));
    QCOMPARE(error.type, int(kd::sdk::KD_ERROR_TYPE_ENGINE));
    QCOMPARE(error.code, int(kd::sdk::KD_ENGINE_ERROR_SERVER_UNREACHABLE));
}

void TestAVEngine::dialOut_data()
{
    QTest::addColumn<QByteArray>("number");
    QTest::addColumn<bool>("video");
    QTest::addColumn<int>("endCode");
    QTest::addColumn<QByteArray>("conferenceNumber");

    QTest::newRow("meeting with password") << QByteArray("4001*pw") << true << 0 << QByteArray("4001");
    QTest::newRow("password before the host")
        << QByteArray("4001*pw@conf.example") << true << 0 << QByteArray("4001@conf.example");
    QTest::newRow("audio only") << QByteArray("4002") << false << 0 << QByteArray("4002");
    QTest::newRow("wrong password") << QByteArray("4001*no") << true
                                    << int(kd::sdk::KD_SERVER_ERROR_WRONG_MEETING_PASSWORD) << QByteArray("4001");
    QTest::newRow("password missing") << QByteArray("4001") << true
                                      << int(kd::sdk::KD_SERVER_ERROR_MEETING_PASSWORD_REQUIRED) << QByteArray("4001");
    QTest::newRow("no such meeting") << QByteArray("9999") << true << int(kd::sdk::KD_SERVER_ERROR_MEETING_UNAVAILABLE)
                                     << QByteArray("9999");
}

void TestAVEngine::dialOut()
{
    QFETCH(QByteArray, number);
    QFETCH(bool, video);
    QFETCH(int, endCode);
    QFETCH(QByteArray, conferenceNumber);

    QSignalSpy connected(m_manager, &CKDSdkManager::eventCallConnected);
    QSignalSpy ended(m_manager, &CKDSdkManager::eventCallEnd);
    QSignalSpy errors(m_manager, &CKDSdkManager::eventError);
    // Slow enough that the second dial surely comes while the first still runs.
    m_control->setEventLatency(200);
    QVERIFY(m_manager->dialOut(number.constData(), video));
    QVERIFY(!m_manager->dialOut("4001*pw", true));
    m_control->setEventLatency(0);
    QVERIFY(m_control->waitForIdle(kdtest::kStateWaitMs));

    if (endCode != 0) {
        QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, kdtest::kStateWaitMs);
        const KDCallInfo info = ended.at(0).at(0).value<KDCallInfo>();
        QCOMPARE(info.err.type, int(kd::sdk::KD_ERROR_TYPE_SERVER));
        QCOMPARE(info.err.code, endCode);
        QCOMPARE(info.err.action, std::string("onCallEnd"));
        QCOMPARE(connected.count(), 0);
        // The user is told why, by the error event the window manager shows.
        QTRY_COMPARE_WITH_TIMEOUT(errors.count(), 1, kdtest::kStateWaitMs);
        const KDError error = errors.at(0).at(0).value<KDError>();
        QCOMPARE(error.action, std::string("onCallEnd"));
        QCOMPARE(error.type, info.err.type);
        QCOMPARE(error.code, endCode);
        return;
    }
    QTRY_COMPARE_WITH_TIMEOUT(connected.count(), 1, kdtest::kStateWaitMs);
    QCOMPARE(errors.count(), 0);
    const KDCallInfo info = connected.at(0).at(0).value<KDCallInfo>();
    QCOMPARE(QByteArray::fromStdString(info.conference_number), conferenceNumber);
    QCOMPARE(info.isAudioOnly, !video);
    QVERIFY(!info.peer.empty());
    KDStats stats;
    QVERIFY(m_manager->getStats(stats));
    QVERIFY(stats.count >= 2 && stats.count <= 32);

    QVERIFY(m_manager->hangUp());
    QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, kdtest::kStateWaitMs);
    QCOMPARE(ended.at(0).at(0).value<KDCallInfo>().err.code, 0);
    QVERIFY(!m_manager->getStats(stats));
}

void TestAVEngine::incomingCalls_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<int>("endCode");
    QTest::newRow("accepted, host ends the meeting") << "accept" << 100;
    QTest::newRow("declined") << "decline" << 0;
}

void TestAVEngine::incomingCalls()
{
    QFETCH(QString, answer);
    QFETCH(int, endCode);
    QSignalSpy incoming(m_manager, &CKDSdkManager::eventCallIncoming);
    QSignalSpy connected(m_manager, &CKDSdkManager::eventCallConnected);
    QSignalSpy ended(m_manager, &CKDSdkManager::eventCallEnd);
    QSignalSpy errors(m_manager, &CKDSdkManager::eventError);
    m_control->injectIncomingCall("Eve", "5005", false);
    QTRY_COMPARE_WITH_TIMEOUT(incoming.count(), 1, kdtest::kStateWaitMs);
    QCOMPARE(incoming.at(0).at(0).value<KDCallInfo>().peer, std::string("Eve"));

    if (answer == "accept") {
        QVERIFY(m_manager->acceptCall(false));
        QTRY_COMPARE_WITH_TIMEOUT(connected.count(), 1, kdtest::kStateWaitMs);
        QVERIFY(connected.at(0).at(0).value<KDCallInfo>().isAudioOnly);
        m_control->injectRemoteHangUp(endCode);
    } else {
        QVERIFY(m_manager->declineCall());
    }
    QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, kdtest::kStateWaitMs);
    QCOMPARE(ended.at(0).at(0).value<KDCallInfo>().err.code, endCode);
    QVERIFY(m_control->waitForIdle(kdtest::kStateWaitMs));
    // A reason of the far end is a call-end error the user reads; our own end is none.
    QTRY_COMPARE(errors.count(), endCode ? 1 : 0);
    if (endCode) {
        const KDError error = errors.at(0).at(0).value<KDError>();
        QCOMPARE(error.action, std::string("onCallEnd"));
        QCOMPARE(error.type, int(kd::sdk::KD_ERROR_TYPE_CALL));
        QCOMPARE(error.code, endCode);
    }
    QVERIFY(!m_manager->acceptCall(true));
}

void TestAVEngine::videoWindowsShowTheirStreams()
{
    signInAnn();
    connectCall("4001*pw");
    auto local = videoWindow();
    auto remote = videoWindow();
    const int midY = local->height() / 2;
    const int firstBar = local->width() / 14;
    const int redBar = local->width() * 5 / 7 + local->width() / 14;
    QCOMPARE(pixel(*local, firstBar, midY), kBackground);

    QVERIFY(m_manager->setLocalVideoWindow(local->winId()));
    QVERIFY(m_manager->setRemoteVideoWindow(remote->winId()));
    QTRY_COMPARE_WITH_TIMEOUT(pixel(*local, firstBar, midY), QColor(Qt::white), kdtest::kStateWaitMs);
    QCOMPARE(pixel(*local, redBar, midY), QColor(Qt::red));
    // The remote window shows a grid of the participants, not the test pattern.
    QTRY_VERIFY_WITH_TIMEOUT(pixel(*remote, 5, 5) != kBackground, kdtest::kStateWaitMs);
    QVERIFY(pixel(*remote, firstBar, midY) != QColor(Qt::white));

    // The picture moves: two grabs a few frames apart differ.
    const QImage before = local->grab().toImage();
    QTRY_VERIFY_WITH_TIMEOUT(local->grab().toImage() != before, kdtest::kStateWaitMs);

    QVERIFY(m_manager->setLocalVideoWindow(0));
    QTRY_COMPARE_WITH_TIMEOUT(pixel(*local, firstBar, midY), kBackground, kdtest::kStateWaitMs);
    QVERIFY(pixel(*remote, 5, 5) != kBackground);
}

// Which stream paints into which window, and how much: the layout's tests
// and benchmark read it.
void TestAVEngine::renderStatisticsFollowTheWindows()
{
    using kd::sdk::KD_RENDER_LOCAL_VIDEO;
    using kd::sdk::KD_RENDER_REMOTE_VIDEO;
    const auto stats = [this](int stream) { return m_control->renderStats().at(size_t(stream)); };
    QCOMPARE(int(m_control->renderStats().size()), int(kd::sdk::KD_RENDER_STREAM_COUNT));
    QCOMPARE(stats(KD_RENDER_REMOTE_VIDEO).stream, int(KD_RENDER_REMOTE_VIDEO));
    QCOMPARE(stats(KD_RENDER_LOCAL_VIDEO).window, uint64_t(0));
    signInAnn();
    connectCall("4001*pw");
    auto local = videoWindow();
    auto remote = videoWindow();
    QVERIFY(m_manager->setLocalVideoWindow(local->winId()));
    QVERIFY(m_manager->setRemoteVideoWindow(remote->winId()));
    QTRY_VERIFY_WITH_TIMEOUT(stats(KD_RENDER_LOCAL_VIDEO).framesPainted >= 3, kdtest::kStateWaitMs);
    QTRY_VERIFY_WITH_TIMEOUT(stats(KD_RENDER_REMOTE_VIDEO).framesPainted >= 3, kdtest::kStateWaitMs);
    QCOMPARE(stats(KD_RENDER_LOCAL_VIDEO).window, uint64_t(local->winId()));
    QCOMPARE(stats(KD_RENDER_REMOTE_VIDEO).window, uint64_t(remote->winId()));
    QVERIFY(stats(KD_RENDER_LOCAL_VIDEO).paintNanoseconds > 0);
    // One window for all remote people: a tile each.
    QCOMPARE(stats(KD_RENDER_REMOTE_VIDEO).tiles, 3);
    QCOMPARE(stats(kd::sdk::KD_RENDER_REMOTE_CONTENT).framesPainted, uint64_t(0));

    // Another window: the counts start again there.
    auto other = videoWindow();
    QVERIFY(m_manager->setLocalVideoWindow(other->winId()));
    QTRY_COMPARE_WITH_TIMEOUT(stats(KD_RENDER_LOCAL_VIDEO).window, uint64_t(other->winId()), kdtest::kStateWaitMs);
    QVERIFY(stats(KD_RENDER_LOCAL_VIDEO).framesPainted < 3);
    QTRY_VERIFY_WITH_TIMEOUT(stats(KD_RENDER_LOCAL_VIDEO).framesPainted >= 3, kdtest::kStateWaitMs);
    // The remote stream taking the same window takes it from the local one.
    QVERIFY(m_manager->setRemoteVideoWindow(other->winId()));
    QTRY_COMPARE_WITH_TIMEOUT(stats(KD_RENDER_LOCAL_VIDEO).window, uint64_t(0), kdtest::kStateWaitMs);
    QCOMPARE(stats(KD_RENDER_REMOTE_VIDEO).window, uint64_t(other->winId()));
    // A window that goes away leaves its stream without one.
    other.reset();
    QCOMPARE(stats(KD_RENDER_REMOTE_VIDEO).window, uint64_t(0));
}

// A video window that is not on screen costs no wake-ups.
void TestAVEngine::videoTicksOnlyWhileShown()
{
    signInAnn();
    connectCall("4001*pw");
    auto local = videoWindow();
    local->hide();
    QVERIFY(m_manager->setLocalVideoWindow(local->winId()));
    QTRY_VERIFY_WITH_TIMEOUT(local->findChild<QTimer *>(), kdtest::kStateWaitMs);
    QTimer *ticks = local->findChild<QTimer *>();
    QVERIFY(!ticks->isActive());
    local->show();
    QTRY_VERIFY_WITH_TIMEOUT(ticks->isActive(), kdtest::kStateWaitMs);
    QTRY_VERIFY_WITH_TIMEOUT(m_control->renderStats().at(kd::sdk::KD_RENDER_LOCAL_VIDEO).framesPainted >= 2, kdtest::kStateWaitMs);
    local->hide();
    QTRY_VERIFY_WITH_TIMEOUT(!ticks->isActive(), kdtest::kStateWaitMs);
    QVERIFY(m_manager->setLocalVideoWindow(0));
}

void TestAVEngine::contentEvents_data()
{
    QTest::addColumn<QByteArray>("number");
    QTest::addColumn<bool>("whiteboard");
    QTest::addColumn<int>("status");
    QTest::newRow("content") << QByteArray("4001*pw") << false << 0;
    QTest::newRow("whiteboard") << QByteArray("4001*pw") << true << 0;
    QTest::newRow("refused by a locked meeting") << QByteArray("4002") << false << 3;
}

void TestAVEngine::contentEvents()
{
    QFETCH(QByteArray, number);
    QFETCH(bool, whiteboard);
    QFETCH(int, status);
    QVERIFY(!m_manager->sendContent());
    QVERIFY(m_manager->enableWhiteBoard(true));
    connectCall(number.constData());

    QSignalSpy content(m_manager, &CKDSdkManager::eventContent);
    QVERIFY(whiteboard ? m_manager->sendWhiteBoard() : m_manager->sendContent());
    QTRY_COMPARE_WITH_TIMEOUT(content.count(), 1, kdtest::kStateWaitMs);
    KDContentInfo info = content.at(0).at(0).value<KDContentInfo>();
    QCOMPARE(info.status, status);
    QCOMPARE(info.enabled, status == 0);
    QCOMPARE(info.dir, 0);
    QCOMPARE(info.type, whiteboard ? 3 : 2);

    QVERIFY(m_manager->stopContent());
    QVERIFY(m_control->waitForIdle(kdtest::kStateWaitMs));
    QTRY_COMPARE_WITH_TIMEOUT(content.count(), status == 0 ? 2 : 1, kdtest::kStateWaitMs);

    m_control->injectRemoteContent(true, false, "Bob");
    QTRY_COMPARE_WITH_TIMEOUT(content.count(), status == 0 ? 3 : 2, kdtest::kStateWaitMs);
    info = content.last().at(0).value<KDContentInfo>();
    QCOMPARE(info.dir, 1);
    QCOMPARE(info.senderName, std::string("Bob"));
}

void TestAVEngine::clientFramesAreCheckedAndCopied()
{
    connectCall("4001*pw");
    auto window = videoWindow();
    QVERIFY(m_manager->setLocalContentWindow(window->winId(), 0));
    {
        QImage frame(64, 40, QImage::Format_RGB888);
        frame.fill(QColor(0, 200, 0));
        KDContentSourceInfo info;
        info.type = 3;
        info.captureSize.width = frame.width();
        info.captureSize.height = frame.height();
        info.frameBytesPerLine = frame.bytesPerLine();
        info.frameData = frame.bits();
        QVERIFY(m_manager->setLocalContentSource(info));
        frame.fill(Qt::black);

        // A line length too short for the width would read past the buffer.
        info.frameBytesPerLine = 10;
        QVERIFY(!m_manager->setLocalContentSource(info));
        info.frameBytesPerLine = frame.bytesPerLine();
        info.frameData = nullptr;
        QVERIFY(!m_manager->setLocalContentSource(info));
    }
    QTRY_COMPARE_WITH_TIMEOUT(pixel(*window, window->width() / 2, window->height() / 2), QColor(0, 200, 0), kdtest::kStateWaitMs);
}

void TestAVEngine::soundPlaysForTheFileLength()
{
    const QString wav = writeWavFile(m_dir.filePath("tone.wav"), 400);
    QVERIFY(m_manager->setAudioFile(wav));
    QVERIFY(!m_manager->isAudioPlaying());
    QElapsedTimer timer;
    timer.start();
    QVERIFY(m_manager->startAudioPlay(0));
    QVERIFY(m_manager->isAudioPlaying());
    QTRY_VERIFY_WITH_TIMEOUT(!m_manager->isAudioPlaying(), kdtest::kStateWaitMs);
    QVERIFY(timer.elapsed() >= 390);

    QVERIFY(m_manager->startAudioPlay(1));
    QVERIFY(m_manager->stopAudioPlay());
    QVERIFY(!m_manager->isAudioPlaying());

    QFile text(m_dir.filePath("notes.wav"));
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write("not a sound file");
    text.close();
    QVERIFY(!m_manager->setAudioFile(text.fileName()));
}

void TestAVEngine::settingsPersist()
{
    const QByteArray folder = m_dir.filePath("user").toLocal8Bit();
    QVERIFY(m_manager->initialize(folder.constData(), "parvelarc"));
    QVERIFY(m_manager->setBandwidth(4096));
    QVERIFY(m_manager->setRenderType(2));
    QVERIFY(m_manager->enableHD(true));
    QVERIFY(m_manager->enableHighFPS(true));
    QVERIFY(m_manager->enableContent(false));
    QVERIFY(QFile::exists(m_dir.filePath("user/parvelarc")));

    CKDSdkManager::releaseInstance();
    CKDSdkManager::initInstance();
    m_manager = CKDSdkManager::getInstance();
    QVERIFY(m_manager->getBandwidth() != 4096);
    QVERIFY(m_manager->initialize(folder.constData(), "parvelarc"));
    QCOMPARE(m_manager->getBandwidth(), 4096u);
    QCOMPARE(m_manager->getRenderType(), 2);
    QVERIFY(m_manager->HDEnabled());
    QVERIFY(m_manager->highFPSEnabled());
    QVERIFY(!m_manager->contentEnabled());
}

void TestAVEngine::logFilesRotate()
{
    const QByteArray folder = m_dir.filePath("logs").toLocal8Bit();
    m_manager->setLog(1, folder.constData(), "kdsdk", 2000);
    m_manager->enableLog(true);
    for (int i = 0; i < 100; ++i) {
        m_manager->getBandwidth();
    }
    const QStringList files = QDir(QString::fromLocal8Bit(folder)).entryList(QDir::Files, QDir::Name);
    QCOMPARE(files, (QStringList{"kdsdk.1.log", "kdsdk.log"}));
    QVERIFY(QFileInfo(QDir(QString::fromLocal8Bit(folder)).filePath("kdsdk.log")).size() <= 2100);
}

// Arguments come from outside (names, addresses, paths); a line end in one
// stays inside its own log line.
void TestAVEngine::logLinesCannotBeForged()
{
    const QByteArray folder = m_dir.filePath("forged").toLocal8Bit();
    m_manager->setLog(1, folder.constData(), "kdsdk", 1 << 20);
    m_manager->enableLog(true);
    QVERIFY(!m_manager->setRootCA("/x\n2026-01-01 00:00:00.000 [1] forged\r\x1b"));
    QFile log(QDir(QString::fromLocal8Bit(folder)).filePath("kdsdk.log"));
    QVERIFY(log.open(QIODevice::ReadOnly));
    const QByteArray text = log.readAll();
    QVERIFY2(text.contains("setRootCA(/x\\n2026-01-01 00:00:00.000 [1] forged\\r\\x1b)\n"), text.constData());
    const QRegularExpression stamped(
        QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3} \\[\\d+\\] \\w"));
    for (const QByteArray &line : text.split('\n')) {
        QVERIFY2(line.isEmpty() || (stamped.match(QString::fromUtf8(line)).hasMatch() && !line.contains('\r')),
                 line.constData());
    }
}

void TestAVEngine::passwords()
{
    const std::string cipher = m_manager->encryptPassword(2, "Stored-pw9", "8charkey");
    QVERIFY(!cipher.empty());
    QVERIFY(cipher != "Stored-pw9");
    QCOMPARE(m_manager->descryptPassword(2, cipher.c_str(), "8charkey", ""), std::string("Stored-pw9"));
    QVERIFY(m_manager->descryptPassword(2, cipher.c_str(), "otherkey", "") != "Stored-pw9");

    QVERIFY(!m_manager->changePassword("Ann-pass1", "Newer-pass2"));
    signInAnn();
    QVERIFY(!m_manager->changePassword("wrong", "Newer-pass2"));
    QVERIFY(!m_manager->changePassword("Ann-pass1", "short"));
    QVERIFY(m_manager->changePassword("Ann-pass1", "Newer-pass2"));
    QVERIFY(m_manager->avlogout());

    QSignalSpy errors(m_manager, &CKDSdkManager::eventError);
    QSignalSpy logins(m_manager, &CKDSdkManager::eventLoginSucceed);
    QVERIFY(m_manager->avlogin("conf.example", 443, "ann", m_manager->encryptPassword(0, "Ann-pass1").c_str()));
    QTRY_COMPARE_WITH_TIMEOUT(errors.count(), 1, kdtest::kStateWaitMs);
    QVERIFY(m_manager->avlogin("conf.example", 443, "ann", m_manager->encryptPassword(0, "Newer-pass2").c_str()));
    QTRY_COMPARE_WITH_TIMEOUT(logins.count(), 1, kdtest::kStateWaitMs);

    // A token refresh gives a new token.
    KDUserInfo refreshed;
    QVERIFY(m_manager->getUserInfo(refreshed));
    QVERIFY(refreshed.token != logins.at(0).at(0).value<KDUserInfo>().token);
}

void TestAVEngine::avatarIsWrittenBeforeItsEvent()
{
    const QString path = m_dir.filePath("7_header.jpg");
    QVERIFY(!m_manager->downloadUserImage(path.toLocal8Bit().constData()));
    signInAnn();
    bool existedAtEvent = false;
    connect(m_manager, &CKDSdkManager::eventDownloadUserImageComplete, this,
            [&](const std::string &written) { existedAtEvent = QImage(QString::fromStdString(written)).width() > 0; });
    QSignalSpy done(m_manager, &CKDSdkManager::eventDownloadUserImageComplete);
    QVERIFY(m_manager->downloadUserImage(path.toLocal8Bit().constData()));
    QTRY_COMPARE_WITH_TIMEOUT(done.count(), 1, kdtest::kStateWaitMs);
    QVERIFY(existedAtEvent);
}

void TestAVEngine::feedbackProgress_data()
{
    QTest::addColumn<bool>("fileExists");
    QTest::addColumn<bool>("signedIn");
    QTest::addColumn<bool>("withAddress");
    QTest::addColumn<bool>("uploaded");
    QTest::newRow("uploaded") << true << true << false << true;
    QTest::newRow("uploaded to an address") << true << true << true << true;
    QTest::newRow("to an address without sign-in") << true << false << true << true;
    QTest::newRow("neither sign-in nor address") << true << false << false << false;
    QTest::newRow("missing archive") << false << true << false << false;
}

void TestAVEngine::feedbackProgress()
{
    QFETCH(bool, fileExists);
    QFETCH(bool, signedIn);
    QFETCH(bool, withAddress);
    QFETCH(bool, uploaded);
    if (signedIn) {
        signInAnn();
    }
    const QString archive = m_dir.filePath("appLog.zip");
    QFile::remove(archive);
    if (fileExists) {
        QFile file(archive);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("PK");
    }
    QSignalSpy progress(m_manager, &CKDSdkManager::eventUploadFeedback);
    QVERIFY(withAddress ? m_manager->uploadFeedbackFilesWithAddress(archive, "ann@example", "no sound", "up.example")
                        : m_manager->uploadFeedbackfile(archive, "ann@example", "no sound"));
    QTRY_VERIFY_WITH_TIMEOUT(
        !progress.isEmpty() && (progress.last().at(0).toInt() == 100 || progress.last().at(0).toInt() < 0), kdtest::kStateWaitMs);
    QCOMPARE(progress.last().at(0).toInt() == 100, uploaded);
}

void TestAVEngine::devicesHotPlug()
{
    const std::vector<KDDevice> cameras = m_manager->getDevices(KD_DEVICE_CAMERA);
    QCOMPARE(int(cameras.size()), 1);
    const KDDevice first = m_manager->getDevice(KD_DEVICE_CAMERA);
    QCOMPARE(first.id, cameras.front().id);

    QSignalSpy added(m_manager, &CKDSdkManager::eventDeviceAdded);
    QSignalSpy removed(m_manager, &CKDSdkManager::eventDeviceRemoved);
    QSignalSpy current(m_manager, &CKDSdkManager::eventCurrentDeviceChanged);
    KDDevice usb;
    usb.type = KD_DEVICE_CAMERA;
    usb.name = "USB cam";
    m_control->injectDeviceAdded(usb);
    QTRY_COMPARE_WITH_TIMEOUT(added.count(), 1, kdtest::kStateWaitMs);
    const KDDevice plugged = added.at(0).at(0).value<KDDevice>();
    QVERIFY(plugged.id != KDDevice().id);
    QCOMPARE(int(m_manager->getDevices(KD_DEVICE_CAMERA).size()), 2);

    m_control->injectDeviceRemoved(KD_DEVICE_CAMERA, first.id);
    QTRY_COMPARE_WITH_TIMEOUT(current.count(), 1, kdtest::kStateWaitMs);
    QCOMPARE(removed.count(), 1);
    QCOMPARE(current.at(0).at(0).value<KDDevice>().id, plugged.id);
    QCOMPARE(m_manager->getDevice(KD_DEVICE_CAMERA).name, std::string("USB cam"));

    KDVolume volume;
    volume.volume = 2.0f;
    QSignalSpy volumes(m_manager, &CKDSdkManager::eventVolume);
    QVERIFY(m_manager->setVolume(KD_DEVICE_SPEAKER, volume));
    QTRY_COMPARE_WITH_TIMEOUT(volumes.count(), 1, kdtest::kStateWaitMs);
    QCOMPARE(m_manager->getVolume(KD_DEVICE_SPEAKER).volume, 2.0f);
    volume.volume = 9.0f;
    QVERIFY(!m_manager->setVolume(KD_DEVICE_SPEAKER, volume));
}

void TestAVEngine::diagnosticsDescribeTheState()
{
    AVFeature feature;
    QVERIFY(!m_manager->getFeature("other.example", 443, feature));
    KDDiag diag = m_manager->getDiag();
    QCOMPARE(diag.advice, 2);
    QCOMPARE(diag.adviceParam, std::string("other.example:443"));

    signInAnn();
    connectCall("4001*pw");
    diag = m_manager->getDiag();
    QCOMPARE(diag.items[0].status, 1);
    QCOMPARE(diag.items[2].status, 1);
    QCOMPARE(diag.call.item.status, 1);
    QCOMPARE(diag.advice, 0);
    QVERIFY(QByteArray::fromStdString(m_manager->getDiagString()).contains("call: 4001 status 1"));
    QVERIFY(m_manager->conferenceControllable());
}

void TestAVEngine::contentSourcesAndBitmaps()
{
    const std::vector<KDContentSourceInfo> sources = m_manager->getContentSourceList();
    QVERIFY(!sources.empty());
    QCOMPARE(sources.front().type, 0);
    for (const int type : {0, 1}) {
        KDBitmap bitmap;
        const int side = type == 0 ? 112 : 40;
        QVERIFY(m_manager->getContentSourceBitmap(sources.front(), type, side, type == 0 ? 70 : 40, &bitmap));
        QVERIFY(bitmap.data);
        QVERIFY(bitmap.width > 0 && bitmap.width <= side);
        // The client wraps the pixels without a line length.
        const QImage wrapped(bitmap.data, bitmap.width, bitmap.height,
                             type == 0 ? QImage::Format_RGB888 : QImage::Format_ARGB32);
        QVERIFY(!wrapped.copy().isNull());
        m_manager->releaseContentSourceBitmap(&bitmap);
        QVERIFY(!bitmap.data);
    }
}

void TestAVEngine::addedContentSources()
{
    kd::sdk::IEngineControl *control = kd::sdk::currentEngineControl();
    const size_t screens = m_manager->getContentSourceList().size();
    KDContentSourceInfo window;
    window.type = 1;
    window.windowTitle = "Notes";
    window.windowId = reinterpret_cast<KDWindowHandle>(quintptr(0x51));
    KDContentSourceInfo phantom;
    phantom.type = 0;
    phantom.windowTitle = "VIRTUAL-9";
    control->addContentSource(window);
    control->addContentSource(phantom);

    const std::vector<KDContentSourceInfo> sources = m_manager->getContentSourceList();
    QCOMPARE(sources.size(), screens + 2);
    QCOMPARE(sources.at(screens).windowTitle, std::string("Notes"));
    QCOMPARE(sources.at(screens).type, 1);
    QCOMPARE(sources.at(screens + 1).windowTitle, std::string("VIRTUAL-9"));

    // The window's thumbnail: its dark title bar comes first in each pixel as blue.
    KDBitmap thumbnail;
    QVERIFY(m_manager->getContentSourceBitmap(window, 0, 112, 70, &thumbnail));
    QCOMPARE(thumbnail.width, 112);
    const int at = 2 * ((thumbnail.width * 3 + 3) / 4 * 4) + 2 * 3;
    QCOMPARE(int(thumbnail.data[at]), 0x7e);
    QCOMPARE(int(thumbnail.data[at + 2]), 0x4a);
    m_manager->releaseContentSourceBitmap(&thumbnail);
    // Its icon: opaque in the middle, clear in the corner.
    KDBitmap icon;
    QVERIFY(m_manager->getContentSourceBitmap(window, 1, 40, 40, &icon));
    const QImage wrapped(icon.data, icon.width, icon.height, QImage::Format_ARGB32);
    QCOMPARE(qAlpha(wrapped.pixel(20, 20)), 255);
    QCOMPARE(qAlpha(wrapped.pixel(0, 0)), 0);
    m_manager->releaseContentSourceBitmap(&icon);
    // A screen nothing can grab still gets a picture.
    KDBitmap labelled;
    QVERIFY(m_manager->getContentSourceBitmap(phantom, 0, 112, 70, &labelled));
    QVERIFY(labelled.data);
    m_manager->releaseContentSourceBitmap(&labelled);

    control->clearContentSources();
    QCOMPARE(m_manager->getContentSourceList().size(), screens);
}

// A user id the engine's integer cannot hold reads as missing (0).
void TestAVEngine::modelFromJsonFile_data()
{
    QTest::addColumn<QByteArray>("userId");
    QTest::addColumn<quint64>("expected");
    QTest::newRow("id") << QByteArray("9") << quint64(9);
    QTest::newRow("negative id") << QByteArray("-1") << quint64(0);
    QTest::newRow("id beyond 64 bits") << QByteArray("1e30") << quint64(0);
}

void TestAVEngine::modelFromJsonFile()
{
    QFETCH(QByteArray, userId);
    QFETCH(quint64, expected);
    QFile json(m_dir.filePath("model.json"));
    QVERIFY(json.open(QIODevice::WriteOnly));
    json.write(R"({"servers": [{"address": "json.example", "version": "5.0"}],
                   "accounts": [{"username": "joe", "password": "Joe-pass1", "displayName": "Joe", "userId": )" +
               userId + R"(}],
                   "meetings": [{"number": "6001", "name": "From file", "participants": ["Kim"]}]})");
    json.close();
    CKDSdkManager::releaseInstance();
    qputenv("KDSDK_MODEL_FILE", json.fileName().toLocal8Bit());
    CKDSdkManager::initInstance();
    qunsetenv("KDSDK_MODEL_FILE");
    m_manager = CKDSdkManager::getInstance();
    kd::sdk::currentEngineControl()->setEventLatency(0);

    AVFeature feature;
    QVERIFY(m_manager->getFeature("json.example", 80, feature));
    QCOMPARE(feature.version, std::string("5.0"));
    QSignalSpy logins(m_manager, &CKDSdkManager::eventLoginSucceed);
    QVERIFY(m_manager->avlogin("json.example", 80, "joe", "Joe-pass1"));
    QTRY_COMPARE_WITH_TIMEOUT(logins.count(), 1, kdtest::kStateWaitMs);
    QCOMPARE(logins.at(0).at(0).value<KDUserInfo>().userId, expected);
    QSignalSpy connected(m_manager, &CKDSdkManager::eventCallConnected);
    QVERIFY(m_manager->dialOut("6001", true));
    QTRY_COMPARE_WITH_TIMEOUT(connected.count(), 1, kdtest::kStateWaitMs);
    QCOMPARE(connected.at(0).at(0).value<KDCallInfo>().peer, std::string("From file"));
}

void TestAVEngine::hostMuteHoldsUntilLifted()
{
    connectCall("4001*pw");
    QSignalSpy shown(m_manager, &CKDSdkManager::eventMicMutedShow);
    m_control->injectHostMute(true);
    QTRY_COMPARE_WITH_TIMEOUT(shown.count(), 1, kdtest::kStateWaitMs);
    QVERIFY(shown.at(0).at(0).toBool());
    QVERIFY(!m_manager->micEnabled());
    QVERIFY(!m_manager->enableMic(true));

    m_control->injectHostMute(false);
    QTRY_COMPARE_WITH_TIMEOUT(shown.count(), 2, kdtest::kStateWaitMs);
    QVERIFY(!shown.at(1).at(0).toBool());
    QVERIFY(m_manager->enableMic(true));
    QVERIFY(m_manager->micEnabled());

    QSignalSpy registrations(m_manager, &CKDSdkManager::eventRegisterInfo);
    m_control->injectRegistrationState(1, 4);
    QTRY_COMPARE_WITH_TIMEOUT(registrations.count(), 1, kdtest::kStateWaitMs);
    QCOMPARE(registrations.at(0).at(0).value<KDRegisterInfo>().state, 4);
}

namespace {

class CCountingHandler : public IAVEventHandler
{
public:
    std::atomic<int> warnings{0};
    void onWarn(KDWarn &) override { ++warnings; }
};

} // namespace

// Quitting while an event is still due: nothing more is raised, and the
// engine's thread ends at once (the sanitizer build also checks that it no
// longer touches the queue it waited on).
void TestAVEngine::noEventAfterRelease_data()
{
    QTest::addColumn<int>("latencyMs");
    QTest::newRow("due soon") << 100;
    QTest::newRow("due in a minute") << 60000;
}

void TestAVEngine::noEventAfterRelease()
{
    QFETCH(int, latencyMs);
    CCountingHandler handler;
    IAVEngine *engine = createAVEngine();
    kd::sdk::IEngineControl *control = kd::sdk::engineControl(engine);
    QVERIFY(control);
    QCOMPARE(engine->registerEventHandler(&handler), 0);
    control->setEventLatency(0);
    control->injectWarning(1, "first");
    QVERIFY(control->waitForIdle(kdtest::kStateWaitMs));
    QCOMPARE(handler.warnings.load(), 1);

    control->setEventLatency(latencyMs);
    control->injectWarning(2, "queued before release");
    // Lets the engine's thread settle into its wait for the event's time.
    QTest::qWait(20);
    QElapsedTimer released;
    released.start();
    engine->release();
    QVERIFY2(released.elapsed() < 10000, qPrintable(QString::number(released.elapsed())));
    QCOMPARE(engine->unregisterEventHandler(&handler), 0);
    QTest::qWait(300);
    QCOMPARE(handler.warnings.load(), 1);
    deleteAVEngine(engine);
    QVERIFY(!kd::sdk::engineControl(engine));
}

QTEST_MAIN(TestAVEngine)
#include "tst_avengine.moc"
