#include <cmath>
#include <functional>
#include <limits>

#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QToolButton>
#include <QTemporaryDir>
#include <QtTest>

#include "statewait.h"
#include "clientfixture.h"
#include "ownxvfb.h"
#include "views/call/callinvitewidget.h"
#include "views/call/callwaitingwidget.h"
#include "views/call/ceventfilter.h"
#include "views/call/clayoutbackgrounddlg.h"
#include "views/call/clayoutpeoplesettingdlg.h"
#include "views/call/compactwidget.h"

using namespace fixture;
using kd_app::views::CallInviteWidget;
using kd_app::views::CallWaitingWidget;
using kd_app::views::CLayoutBackgroundDlg;
using kd_app::views::CompactWidget;

namespace {

kd::sdk::IEngineControl *g_control = nullptr;

using Step = std::function<void()>;

CCallController &calls()
{
    return CCallController::getInstance();
}

void dialWithPassword()
{
    calls().dialOut("80002", "4711", true, QString());
}

void connectCall()
{
    dialWithPassword();
    settle(g_control);
}

void ring(bool audioOnly)
{
    g_control->injectIncomingCall("Carol", "3003", audioOnly);
    settle(g_control);
}

// The engine's thread stands still: a dial stays a dial, however long the
// test looks at it, until cleanup lets the connect through.
void holdTheEngine()
{
    g_control->holdEvents(true);
}

void hangUp()
{
    calls().hangUp();
    settle(g_control);
}

// Counts the times a widget was restyled.
class CStyleChangeCounter : public QObject
{
public:
    explicit CStyleChangeCounter(QWidget *widget) { widget->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject * /*watched*/, QEvent *event) override
    {
        if (event->type() == QEvent::StyleChange) {
            ++count;
        }
        return false;
    }
};

} // namespace

Q_DECLARE_METATYPE(Step)
Q_DECLARE_METATYPE(QList<float>)

// The call window over real calls of our engine: what it shows in each call
// state, how it answers incoming calls, the network rating and the duration,
// and its window modes on a screen of its own.
class TestCallFrame : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void callStates_data();
    void callStates();
    void incomingCalls_data();
    void incomingCalls();
    void autoAnswerWaitsWithTheCallersNumber();
    void answerAndDeclineReachTheEngine_data();
    void answerAndDeclineReachTheEngine();
    void waitingPanelCountsTheQueue();
    void networkRating_data();
    void networkRating();
    void durationText_data();
    void durationText();
    void durationTicksDuringTheCall();
    void numberNeverShowsThePassword_data();
    void numberNeverShowsThePassword();
    void languageChangeKeepsTheCallTexts();
    void maximiseRestoreAndDragRestore();
    void compactInAndOut();
    void minimiseInAudioOnlyCall();
    void fullScreenAndEscape();
    void fullScreenNeedsACall();
    void escapeOutsideFullScreenIsSwallowed();
    void endOfCallLeavesCompact();
    void hundredCallsLeaveNoWindowsBehind();

private:
    CLayoutBackgroundDlg *frame() const { return m_frame.get(); }
    template <typename T> T *child(const char *name) const { return m_frame->findChild<T *>(name); }
    bool buttonShown(const char *name) const { return child<QPushButton>(name)->isVisible(); }

    QTemporaryDir m_appData;
    std::unique_ptr<CLayoutBackgroundDlg> m_frame;
};

void TestCallFrame::initTestCase()
{
    QVERIFY(m_appData.isValid());
    // The frame is the one receiver of incoming calls.
    g_control = startClient(m_appData, false);
    QVERIFY(g_control);
    QVERIFY(provideRingtone() || QFileInfo::exists(CCallController::getRingtonePath()));
    g_control->addAccount(account("alice", "secret", "Alice", 42));
    kd::sdk::KDModelMeeting meeting;
    meeting.number = "80002";
    meeting.name = "Weekly";
    meeting.password = "4711";
    g_control->addMeeting(meeting);
    QVERIFY(signInAs(g_control, "alice", "secret"));
}

void TestCallFrame::init()
{
    CUserConfigUtils::getInstance()->setAutoAnswer(false);
    CUserConfigUtils::getInstance()->setFullScreenOnCallConnected(false);
    QCursor::setPos(QGuiApplication::primaryScreen()->geometry().center());
    m_frame = std::make_unique<CLayoutBackgroundDlg>(nullptr);
    m_frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_frame.get()));
    g_control->clearOperations();
}

void TestCallFrame::cleanup()
{
    g_control->holdEvents(false);
    const enums::CallStatus status = calls().getCallStatus();
    if (status != enums::Idle && status != enums::Ended) {
        hangUp();
    }
    calls().setCallStatus(enums::Idle);
    m_frame.reset();
    if (CLoginManager::getInstance().getLoginStatus() != enums::LoggedIn) {
        QVERIFY(signInAs(g_control, "alice", "secret"));
    }
}

void TestCallFrame::callStates_data()
{
    QTest::addColumn<QList<Step>>("steps");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("number");
    QTest::addColumn<bool>("waiting");
    QTest::addColumn<bool>("invite");
    QTest::addColumn<bool>("fullScreenButton");
    QTest::addColumn<QString>("duration");
    QTest::addColumn<bool>("timerRunning");

    const Step dial = dialWithPassword;
    const Step settled = [] { settle(g_control); };
    QTest::newRow("0 idle") << QList<Step>{} << 0 << "" << false << false << true << "" << false;
    QTest::newRow("1 dialling") << QList<Step>{holdTheEngine, dial} << 1 << "80002" << true << false << false << "00:00:00" << false;
    QTest::newRow("4 incoming") << QList<Step>{[] { ring(false); }} << 4 << "" << false << true << false << "00:00:00"
                                << false;
    QTest::newRow("5 connected") << QList<Step>{dial, settled} << 5 << "*" << false << false << true << "00:00:00"
                                 << true;
    QTest::newRow("6 ended") << QList<Step>{dial, settled, hangUp} << 6 << "" << false << false << true << "00:00:00"
                             << false;
    QTest::newRow("0 after a call") << QList<Step>{dial, settled, hangUp, [] { calls().setCallStatus(enums::Idle); }}
                                    << 0 << "" << false << false << true << "00:00:00" << false;
}

void TestCallFrame::callStates()
{
    QFETCH(QList<Step>, steps);
    QFETCH(int, status);
    QFETCH(QString, number);
    QFETCH(bool, waiting);
    QFETCH(bool, invite);
    QFETCH(bool, fullScreenButton);
    QFETCH(QString, duration);
    QFETCH(bool, timerRunning);

    for (const Step &step : steps) {
        step();
    }
    QCOMPARE(int(calls().getCallStatus()), status);
    const QString shown = child<QLabel>("m_pLblConfNumber")->text();
    if (number == "*") {
        // Connected: the far end's name for the call, never its password.
        QCOMPARE(shown,
                 CLayoutBackgroundDlg::numberWithoutPassword(QString::fromStdString(calls().getCallInfo().peer)));
        QVERIFY(!shown.isEmpty());
        QVERIFY(!shown.contains("4711"));
    } else {
        QCOMPARE(shown, number);
    }
    QCOMPARE(frame()->getCallWaitingWidget()->isVisible(), waiting);
    QCOMPARE(frame()->getCallInviteWidget()->isVisible(), invite);
    QCOMPARE(buttonShown("m_pBtnFullScreen"), fullScreenButton);
    QCOMPARE(buttonShown("m_pBtnMin"), fullScreenButton);
    QCOMPARE(child<QLabel>("m_pLblCallDuration")->text(), duration);
    QCOMPARE(frame()->getLayoutPeopleSettingDlg()->isVisible(), status == enums::Connected);
    // The panels lie over the window below its title bar.
    for (QWidget *panel : {static_cast<QWidget *>(frame()->getCallWaitingWidget()),
                           static_cast<QWidget *>(frame()->getCallInviteWidget())}) {
        if (panel->isVisible()) {
            QCOMPARE(panel->geometry(), QRect(frame()->x(), frame()->y() + frame()->titleBarHeight(), frame()->width(),
                                              frame()->height() - frame()->titleBarHeight()));
        }
    }
    if (timerRunning) {
        QTRY_VERIFY_WITH_TIMEOUT(child<QLabel>("m_pLblCallDuration")->text() != duration, 30000);
    } else {
        QTest::qWait(1200);
        QCOMPARE(child<QLabel>("m_pLblCallDuration")->text(), duration);
    }
}

void TestCallFrame::incomingCalls_data()
{
    QTest::addColumn<QList<Step>>("before");
    QTest::addColumn<bool>("autoAnswer");
    QTest::addColumn<bool>("audioOnly");
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("invite");
    QTest::addColumn<QStringList>("answers");

    const Step busy = connectCall;
    const Step dialling = dialWithPassword;
    const Step signedOut = [] {
        CLoginManager::getInstance().logout();
        settle(g_control);
    };
    QTest::newRow("idle, asks") << QList<Step>{} << false << false << 4 << true << QStringList();
    QTest::newRow("idle, audio only, asks") << QList<Step>{} << false << true << 4 << true << QStringList();
    QTest::newRow("in a call, ignored") << QList<Step>{busy} << false << false << 5 << false << QStringList();
    QTest::newRow("dialling, ignored") << QList<Step>{dialling} << false << false << 5 << false << QStringList();
    QTest::newRow("signed out, ignored") << QList<Step>{signedOut} << false << false << 0 << false << QStringList();
    QTest::newRow("auto answer with video")
        << QList<Step>{} << true << false << 5 << false << QStringList{"acceptCall(1)"};
    QTest::newRow("auto answer audio only")
        << QList<Step>{} << true << true << 5 << false << QStringList{"acceptCall(0)"};
}

void TestCallFrame::incomingCalls()
{
    QFETCH(QList<Step>, before);
    QFETCH(bool, autoAnswer);
    QFETCH(bool, audioOnly);
    QFETCH(int, status);
    QFETCH(bool, invite);
    QFETCH(QStringList, answers);

    for (const Step &step : before) {
        step();
    }
    CUserConfigUtils::getInstance()->setAutoAnswer(autoAnswer);
    g_control->clearOperations();
    const bool engineFree =
        calls().getCallStatus() == enums::Idle && CLoginManager::getInstance().getLoginStatus() == enums::LoggedIn;
    if (engineFree) {
        ring(audioOnly);
        // An answer the window gives at once reaches the engine in turn.
        settle(g_control);
    } else {
        // The engine's event as such: our engine rings nobody who is busy or signed out.
        g_control->raise([audioOnly](kd::engine::IAVEventHandler &handler) {
            kd::engine::KDCallInfo info;
            info.peer = "Carol";
            info.conference_number = "3003";
            info.isAudioOnly = audioOnly;
            handler.onCallIncoming(info);
        });
        settle(g_control);
    }
    QCOMPARE(int(calls().getCallStatus()), status);
    CallInviteWidget *panel = frame()->getCallInviteWidget();
    QCOMPARE(panel->isVisible(), invite);
    if (invite) {
        QCOMPARE(panel->findChild<QLabel *>("confNumber")->text(), QString("Carol"));
        QCOMPARE(panel->findChild<QPushButton *>("m_pBtnVideoAccept")->isVisible(), !audioOnly);
        QVERIFY(!buttonShown("m_pBtnFullScreen"));
    }
    QCOMPARE(operationsNamed(g_control, "acceptCall"), answers);
    QVERIFY(operationsNamed(g_control, "declineCall").isEmpty());
}

// Answered at once, the call shows the waiting panel until it connects:
// with the number of the call that rang, not that of the call before.
void TestCallFrame::autoAnswerWaitsWithTheCallersNumber()
{
    connectCall();
    hangUp();
    CUserConfigUtils::getInstance()->setAutoAnswer(true);
    QString waitingNumber;
    QMetaObject::Connection watch =
        connect(&calls(), &CCallController::sigCallStatusChanged, this, [this, &waitingNumber](enums::CallStatus s) {
            if (s == enums::ConfIncoming && frame()->getCallWaitingWidget()->isVisible()) {
                waitingNumber = frame()->getCallWaitingWidget()->findChild<QLabel *>("meetingNumber")->text();
            }
        });
    ring(false);
    // The answer the window gave at once reaches the engine in turn.
    settle(g_control);
    QTRY_COMPARE(int(calls().getCallStatus()), int(enums::Connected));
    disconnect(watch);
    QCOMPARE(waitingNumber, QString("3003"));
    QCOMPARE(calls().getPureConfNumber(), QString("3003"));
}

void TestCallFrame::answerAndDeclineReachTheEngine_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("accepts");
    QTest::addColumn<int>("declines");
    QTest::addColumn<int>("status");

    QTest::newRow("video") << "m_pBtnVideoAccept" << QStringList{"acceptCall(1)"} << 0 << 5;
    QTest::newRow("audio") << "m_pBtnAudioAccept" << QStringList{"acceptCall(0)"} << 0 << 5;
    QTest::newRow("decline") << "m_pBtnHangup" << QStringList() << 1 << 6;
}

void TestCallFrame::answerAndDeclineReachTheEngine()
{
    QFETCH(QString, button);
    QFETCH(QStringList, accepts);
    QFETCH(int, declines);
    QFETCH(int, status);

    ring(false);
    g_control->clearOperations();
    QTest::mouseClick(frame()->getCallInviteWidget()->findChild<QPushButton *>(button), Qt::LeftButton);
    settle(g_control);
    QCOMPARE(operationsNamed(g_control, "acceptCall"), accepts);
    QCOMPARE(operationsNamed(g_control, "declineCall").size(), declines);
    QCOMPARE(int(calls().getCallStatus()), status);
    QVERIFY(!frame()->getCallInviteWidget()->isVisible());
}

void TestCallFrame::waitingPanelCountsTheQueue()
{
    dialWithPassword();
    auto *count = frame()->getCallWaitingWidget()->findChild<QLabel *>("peopleNumber");
    frame()->slotOnWaitQueue(3);
    QVERIFY(count->text().contains("3"));
    settle(g_control);
    // Connected: the count is gone with the panel.
    QVERIFY(!frame()->getCallWaitingWidget()->isVisible());
    QVERIFY(!count->text().contains("3"));
}

void TestCallFrame::networkRating_data()
{
    QTest::addColumn<QList<float>>("ratings");
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("restyles");

    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    QTest::newRow("0.9 truncates to the lowest") << QList<float>{0.9f} << 1 << 1;
    QTest::newRow("7.5 is the best") << QList<float>{7.5f} << 5 << 1;
    QTest::newRow("3.7 is 3") << QList<float>{3.7f} << 3 << 1;
    QTest::newRow("same twice restyles once") << QList<float>{2.0f, 2.5f} << 2 << 1;
    QTest::newRow("7.5 twice restyles once") << QList<float>{7.5f, 7.5f} << 5 << 1;
    QTest::newRow("NaN is ignored") << QList<float>{nan} << 0 << 0;
    QTest::newRow("NaN keeps the last") << QList<float>{4.0f, nan} << 4 << 1;
    QTest::newRow("infinity is ignored") << QList<float>{3.0f, inf, -inf} << 3 << 1;
    QTest::newRow("huge is the best") << QList<float>{1e30f} << 5 << 1;
    QTest::newRow("hugely negative is the lowest") << QList<float>{-1e30f} << 1 << 1;
}

void TestCallFrame::networkRating()
{
    QFETCH(QList<float>, ratings);
    QFETCH(int, level);
    QFETCH(int, restyles);

    auto *button = child<QPushButton>("m_pBtnNetworkQuality");
    CStyleChangeCounter counter(button);
    for (float rating : ratings) {
        // Through the engine's event, as during a call.
        g_control->injectNetworkQuality(rating);
        settle(g_control);
    }
    QCOMPARE(frame()->getNetworkQuality(), level);
    QCOMPARE(counter.count, restyles);
    if (level > 0) {
        QVERIFY(button->styleSheet().contains(QString("icon_call_quality_level%1").arg(level)));
    }
}

void TestCallFrame::durationText_data()
{
    QTest::addColumn<qint64>("seconds");
    QTest::addColumn<QString>("text");

    QTest::newRow("start") << qint64(0) << "00:00:00";
    QTest::newRow("59 s") << qint64(59) << "00:00:59";
    QTest::newRow("one minute") << qint64(60) << "00:01:00";
    QTest::newRow("1:05:09") << qint64(3909) << "01:05:09";
    QTest::newRow("3725 s") << qint64(3725) << "01:02:05";
    QTest::newRow("100 hours") << qint64(360000) << "100:00:00";
    QTest::newRow("negative never shows") << qint64(-5) << "00:00:00";
}

void TestCallFrame::durationText()
{
    QFETCH(qint64, seconds);
    QFETCH(QString, text);
    QCOMPARE(CLayoutBackgroundDlg::formatCallDuration(seconds), text);
}

void TestCallFrame::durationTicksDuringTheCall()
{
    connectCall();
    auto *duration = child<QLabel>("m_pLblCallDuration");
    // The label shows whole seconds of the call's own clock: a busy machine
    // may skip one, so each wait is for at least that second.
    QTRY_VERIFY_WITH_TIMEOUT(duration->text() >= QString("00:00:01"), 30000);
    QTRY_VERIFY_WITH_TIMEOUT(duration->text() >= QString("00:00:02"), 30000);
    hangUp();
    const QString stopped = duration->text();
    QTest::qWait(1200);
    QCOMPARE(duration->text(), stopped);
    // The next call counts from zero again, not on from the last one.
    connectCall();
    QVERIFY2(duration->text() < stopped, qPrintable(duration->text()));
    QTRY_VERIFY_WITH_TIMEOUT(duration->text() >= QString("00:00:01"), 30000);
}

void TestCallFrame::numberNeverShowsThePassword_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("shown");

    QTest::newRow("plain") << "80002"
                           << "80002";
    QTest::newRow("password") << "80002*4711"
                              << "80002";
    QTest::newRow("password and server") << "80002*4711@conf.test"
                                         << "80002@conf.test";
    QTest::newRow("name") << "Carol Ann"
                          << "Carol Ann";
}

void TestCallFrame::numberNeverShowsThePassword()
{
    QFETCH(QString, number);
    QFETCH(QString, shown);
    QCOMPARE(CLayoutBackgroundDlg::numberWithoutPassword(number), shown);
}

void TestCallFrame::languageChangeKeepsTheCallTexts()
{
    connectCall();
    auto *number = child<QLabel>("m_pLblConfNumber");
    auto *duration = child<QLabel>("m_pLblCallDuration");
    QTRY_VERIFY_WITH_TIMEOUT(duration->text() != "00:00:00", 30000);
    const QString numberBefore = number->text();
    QVERIFY(!numberBefore.isEmpty());
    frame()->slotOnLanguageChanged();
    QCOMPARE(number->text(), numberBefore);
    QVERIFY(duration->text() != "00:00:00");
    QVERIFY(!frame()->windowTitle().isEmpty());
}

void TestCallFrame::maximiseRestoreAndDragRestore()
{
    connectCall();
    const QRect normal = frame()->geometry();
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QTest::mouseClick(child<QPushButton>("m_pBtnMax"), Qt::LeftButton);
    QVERIFY(frame()->isMaximizedFlag());
    QTRY_COMPARE(frame()->geometry(), area);
    QVERIFY(!buttonShown("m_pBtnMax"));
    QVERIFY(buttonShown("m_pBtnRestore"));
    // The engine fills the window below the title bar.
    auto *engine = frame()->getLayoutPeopleSettingDlg();
    QCOMPARE(engine->width(), area.width() - 4);

    QTest::mouseClick(child<QPushButton>("m_pBtnRestore"), Qt::LeftButton);
    QVERIFY(!frame()->isMaximizedFlag());
    QTRY_COMPARE(frame()->size(), normal.size());
    QCOMPARE(frame()->pos(), normal.topLeft());

    // Dragging the maximised window by its title bar restores it.
    frame()->slotOnWinMax();
    QTRY_COMPARE(frame()->geometry(), area);
    const QPoint grip(area.width() / 2, 10);
    QMouseEvent press(QEvent::MouseButtonPress, grip, frame()->mapToGlobal(grip), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(frame(), &press);
    const QPoint moved = grip + QPoint(30, 20);
    QMouseEvent move(QEvent::MouseMove, moved, frame()->mapToGlobal(moved), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(frame(), &move);
    QMouseEvent release(QEvent::MouseButtonRelease, moved, frame()->mapToGlobal(moved), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(frame(), &release);
    QVERIFY(!frame()->isMaximizedFlag());
    QTRY_COMPARE(frame()->size(), normal.size());
}

// At the screen's scale: the test runs once at 1 and once at 2.
void TestCallFrame::compactInAndOut()
{
    const double scale = frame()->stretchFactor();
    QVERIFY(scale == 1.0 || scale == 2.0);
    connectCall();
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    frame()->slotOnWinMax();
    QTest::mouseClick(child<QPushButton>("m_pBtnMin"), Qt::LeftButton);
    QVERIFY(frame()->isCompactMode());
    // Entering compact restores the maximised window first.
    QVERIFY(!frame()->isMaximizedFlag());
    QVERIFY(frame()->windowFlags() & Qt::WindowStaysOnTopHint);
    QTRY_VERIFY(frame()->isVisible());
    const int w = int(area.width() / 5.0);
    const int h = int(area.width() / 5.0 * 9 / 16 + 40 * scale);
    QTRY_COMPARE(frame()->geometry(), QRect(area.topLeft() + QPoint(50, 50), QSize(w, h)));
    CompactWidget *bar = frame()->getCompactWidget();
    QVERIFY(bar);
    QVERIFY(bar->isVisible());
    QCOMPARE(bar->size(), QSize(w, int(40 * scale)));
    QVERIFY(!child<QWidget>("m_pWgtTitleBar")->isVisible());
    QVERIFY(frame()->getLayoutPeopleSettingDlg()->isCompactMode());

    // The bar's restore leaves compact: the normal window, centred.
    QTest::mouseClick(bar->findChild<QToolButton *>("m_pBtnRecover"), Qt::LeftButton);
    QVERIFY(!frame()->isCompactMode());
    QVERIFY(!frame()->getCompactWidget());
    QVERIFY(!(frame()->windowFlags() & Qt::WindowStaysOnTopHint));
    QTRY_VERIFY(frame()->isVisible());
    const QSize normal = QSize(int(1280 * scale), int(760 * scale)).boundedTo(area.size());
    QTRY_COMPARE(frame()->size(), normal);
    QCOMPARE(frame()->geometry().center(), area.center());
    QVERIFY(child<QWidget>("m_pWgtTitleBar")->isVisible());
    for (const char *name : {"m_pBtnMin", "m_pBtnMax", "m_pBtnFullScreen", "m_pBtnNetworkQuality"}) {
        QVERIFY2(buttonShown(name), name);
    }
    // The title bar's information comes back, but the lock only as the
    // call's streams have it: this call is not encrypted.
    QVERIFY(!child<QWidget>("widget_Encryption")->isVisible());
    QVERIFY(!frame()->getLayoutPeopleSettingDlg()->isCompactMode());

    // The bar's minimise minimises.
    frame()->slotOnWinMin();
    QVERIFY(frame()->isCompactMode());
    QTest::mouseClick(frame()->getCompactWidget()->findChild<QToolButton *>("m_pBtnWinMin"), Qt::LeftButton);
    QTRY_VERIFY(frame()->windowState() & Qt::WindowMinimized);
}

void TestCallFrame::minimiseInAudioOnlyCall()
{
    calls().dialOut("80002", "4711", false, QString());
    settle(g_control);
    QCOMPARE(int(frame()->getLayoutPeopleSettingDlg()->getLayoutMode()), int(enums::LayoutMode_AudioOnly));
    QTest::mouseClick(child<QPushButton>("m_pBtnMin"), Qt::LeftButton);
    QVERIFY(!frame()->isCompactMode());
    QTRY_VERIFY(frame()->windowState() & Qt::WindowMinimized);
    // The title bar shows no full-screen button in an audio-only call... the engine decides.
    frame()->showNormal();
    QTRY_VERIFY(!(frame()->windowState() & Qt::WindowMinimized));
}

void TestCallFrame::fullScreenAndEscape()
{
    connectCall();
    const QRect normal = frame()->geometry();
    QTest::mouseClick(child<QPushButton>("m_pBtnFullScreen"), Qt::LeftButton);
    QVERIFY(frame()->isFullScreenFlag());
    QTRY_COMPARE(frame()->geometry(), QGuiApplication::primaryScreen()->geometry());
    auto *engine = frame()->getLayoutPeopleSettingDlg();
    QCOMPARE(engine->pos(), QPoint(2, 2));
    QCOMPARE(engine->titleBarHeight(), 0);
    QVERIFY(!child<QWidget>("m_pWgtTitleBar") || !frame()->isAncestorOf(child<QWidget>("m_pWgtTitleBar")) ||
            !child<QWidget>("m_pWgtTitleBar")->isVisible());

    QTest::keyClick(frame(), Qt::Key_Escape);
    QVERIFY(!frame()->isFullScreenFlag());
    QTRY_COMPARE(frame()->geometry(), normal);
    QCOMPARE(engine->pos(), QPoint(2, frame()->titleBarHeight() + 2));
    QCOMPARE(engine->titleBarHeight(), frame()->titleBarHeight());
    QVERIFY(child<QWidget>("m_pWgtTitleBar")->isVisible());
    QVERIFY(buttonShown("m_pBtnFullScreen"));
    QVERIFY(!buttonShown("m_pBtnFullScreen_Exit"));

    // The engine's double click switches both ways.
    emit engine->sigSwitchFullScreen();
    QVERIFY(frame()->isFullScreenFlag());
    emit engine->sigSwitchFullScreen();
    QVERIFY(!frame()->isFullScreenFlag());

    // Entering compact leaves full screen.
    frame()->slotOnWinFullScreen();
    frame()->setCompactMode(true);
    QVERIFY(!frame()->isFullScreenFlag());
    QVERIFY(frame()->isCompactMode());
}

void TestCallFrame::fullScreenNeedsACall()
{
    const QRect before = frame()->geometry();
    frame()->slotOnWinFullScreen();
    QVERIFY(!frame()->isFullScreenFlag());
    QCOMPARE(frame()->geometry(), before);

    // The setting takes a connecting call to full screen at once.
    CUserConfigUtils::getInstance()->setFullScreenOnCallConnected(true);
    connectCall();
    QVERIFY(frame()->isFullScreenFlag());
    // A call that ends leaves it.
    hangUp();
    emit frame()->getLayoutPeopleSettingDlg()->sigFullScreenButtonVisible(false);
    QVERIFY(!frame()->isFullScreenFlag());
}

void TestCallFrame::escapeOutsideFullScreenIsSwallowed()
{
    QSignalSpy rejected(frame(), &QDialog::rejected);
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QVERIFY(frame()->getEventFilter()->eventFilter(frame(), &escape));
    QTest::keyClick(frame(), Qt::Key_Escape);
    QVERIFY(frame()->isVisible());
    QCOMPARE(rejected.count(), 0);
    QKeyEvent other(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier);
    QVERIFY(!frame()->getEventFilter()->eventFilter(frame(), &other));
}

void TestCallFrame::endOfCallLeavesCompact()
{
    connectCall();
    frame()->setCompactMode(true);
    QVERIFY(frame()->isCompactMode());
    hangUp();
    QVERIFY(!frame()->isCompactMode());
    QVERIFY(!frame()->getLayoutPeopleSettingDlg()->isCompactMode());
    QVERIFY(!(frame()->windowFlags() & Qt::WindowStaysOnTopHint));
    QVERIFY(child<QWidget>("m_pWgtTitleBar")->isVisibleTo(frame()));
}

void TestCallFrame::hundredCallsLeaveNoWindowsBehind()
{
    const auto cycle = [] {
        connectCall();
        if (calls().getCallStatus() != enums::Connected) {
            return false;
        }
        hangUp();
        return calls().getCallStatus() == enums::Ended;
    };
    // The first call makes the windows every call uses.
    QVERIFY(cycle());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const int windows = QApplication::topLevelWidgets().size();
    for (int i = 0; i < 100; ++i) {
        QVERIFY2(cycle(), qPrintable(QString("call %1").arg(i)));
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(QApplication::topLevelWidgets().size(), windows);
}

// On a screen of its own, at the display scale QT_FONT_DPI gives (96 unless set).
int main(int argc, char *argv[])
{
    OwnXvfb xvfb;
    if (!xvfb.ok()) {
        fprintf(stderr, "FAIL: no private X server: %s\n", xvfb.error().c_str());
        return 1;
    }
    if (qEnvironmentVariableIsEmpty("QT_FONT_DPI")) {
        qputenv("QT_FONT_DPI", "96");
    }
    QApplication app(argc, argv);
    TestCallFrame test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_callframe.moc"
