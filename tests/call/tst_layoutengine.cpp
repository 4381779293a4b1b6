#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "statewait.h"
#include "alertanswerer.h"
#include "app/cwindowshape.h"
#include "layoutenginefixture.h"
#include "tokenserver.h"
#include "models/screenthread.h"
#include "views/call/caudiomodewidget.h"
#include "views/call/clayoutcellcoverdlg.h"
#include "views/call/clayoutcelldlg.h"
#include "views/call/clayoutcoverdlg.h"
#include "views/call/clayoutfloatingcellsdlg.h"
#include "views/call/clayoutgeometry.h"
#include "views/call/cpromptwidget.h"
#include "views/call/cremotecontentdlg.h"
#include "views/sharing/cbackgroundwidget.h"
#include "views/whiteboard/whiteboarddlg.h"

using namespace fixture;
using namespace layoutfixture;
using kd_app::views::CLayoutCellDlg;
using kd_app::views::CLayoutGeometry;
using kd_app::views::CLayoutPeopleSettingDlg;

namespace {

kd::sdk::IEngineControl *g_control = nullptr;
CLayoutPeopleSettingDlg *g_engine = nullptr;

using Step = std::function<void()>;

void dial(bool video)
{
    CCallController::getInstance().dialOut("2002", QString(), video, QString());
    settle(g_control);
}

void answerPointToPoint()
{
    g_control->injectIncomingCall("Carol", "3003", false);
    settle(g_control);
    CCallController::getInstance().acceptCall(true);
    settle(g_control);
}

void receive(bool whiteboard, const std::string &sender)
{
    g_control->injectRemoteContent(true, whiteboard, sender);
    settle(g_control);
}

// The engine's event for content this side started sending.
void send(bool whiteboard)
{
    g_control->raise([whiteboard](kd::engine::IAVEventHandler &handler) {
        kd::engine::KDContentInfo info;
        info.enabled = true;
        info.dir = 0;
        info.type = whiteboard ? kd::engine::KD_STREAM_WHITEBOARD : kd::engine::KD_STREAM_CONTENT;
        handler.onContent(info);
    });
    settle(g_control);
}

void hangUp()
{
    CCallController::getInstance().hangUp();
    settle(g_control);
}

QRect screenRect(const QWidget *window)
{
    return QRect(window->pos(), window->size());
}

enum StripParent { ParentToolbar, ParentNone };

} // namespace

Q_DECLARE_METATYPE(Step)
Q_DECLARE_METATYPE(QList<Step>)

// The engine over whole calls: which mode each real event leads to, where
// every cell lands on the screen, what the strip does, and which window each
// stream is painted into.
class TestLayoutEngine : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void scenarios_data();
    void scenarios();
    void audioPanelShowsTheMicrophoneAsItIs_data();
    void audioPanelShowsTheMicrophoneAsItIs();
    void separateContentWindowLeavesTheLayout();
    void pointToPointNeverShowsTheStrip();
    void pointToPointSendingLeavesNoCellBehind();
    void userSwitchesToPreferredContent();
    void newCallShowsAUserHiddenStripAgain();
    void compactModeGivesTheStripBackAsItWas_data();
    void compactModeGivesTheStripBackAsItWas();
    void frameMoveMovesEveryPlacedWindowAlike();
    void stripLeavesTheToolbarFree();
    void renderWindowsFollowTheCells();
    void callEndingWhileSharingForgetsTheDrawingWindows();
    // Last: it signs in anew, against a server of its own.
    void whiteboardShowsOnceItsTokenArrives();

private:
    QTemporaryDir m_appData;
    std::unique_ptr<CHostFrame> m_frame;
    // Within the 800 x 600 screen of the offscreen platform.
    const QRect m_frameGeometry{60, 40, 644, 406};
};

void TestLayoutEngine::initTestCase()
{
    QVERIFY(m_appData.isValid());
    g_control = startClient(m_appData);
    QVERIFY(g_control);
    g_control->addAccount(account("alice", "secret", "Alice", 42));
    kd::sdk::KDModelMeeting meeting;
    meeting.number = "2002";
    meeting.name = "Open";
    g_control->addMeeting(meeting);
    meeting.number = "2004";
    meeting.name = "Closed";
    meeting.password = "8642";
    g_control->addMeeting(meeting);
    QVERIFY(signInAs(g_control, "alice", "secret"));
    // Tests do not depend on the display's compositor.
    kd_app::CWindowShape::setCompositorRunningForTests(true);
}

void TestLayoutEngine::init()
{
    CUserConfigUtils::getInstance()->setOpenNewWinInContentStream(false);
    m_frame = std::make_unique<CHostFrame>();
    m_frame->place(m_frameGeometry);
    g_engine = m_frame->engine;
    m_frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_frame.get()));
}

void TestLayoutEngine::cleanup()
{
    if (CCallController::getInstance().getCallStatus() == enums::Connected) {
        hangUp();
    }
    CCallController::getInstance().setCallStatus(enums::Idle);
    CCallController::getInstance().setContentStreamStatus(enums::ContentStreamStatus_None, std::string(), 0);
    m_frame.reset();
}

void TestLayoutEngine::scenarios_data()
{
    QTest::addColumn<QList<Step>>("steps");
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("engineVisible");
    QTest::addColumn<bool>("stripVisible");
    QTest::addColumn<int>("stripParent");
    QTest::addColumn<bool>("remoteInStrip");

    const Step video = [] { dial(true); };
    QTest::newRow("video call") << QList<Step>{video} << 0 << true << true << int(ParentToolbar) << false;
    QTest::newRow("audio-only call") << QList<Step>{[] { dial(false); }} << 7 << true << false << int(ParentToolbar)
                                     << false;
    QTest::newRow("content received") << QList<Step>{video, [] { receive(false, "Ann"); }} << 2 << true << true
                                      << int(ParentToolbar) << true;
    QTest::newRow("content received and stopped")
        << QList<Step>{video, [] { receive(false, "Ann"); },
                       [] {
                           g_control->injectRemoteContent(false, false, "Ann");
                           settle(g_control);
                       }}
        << 0 << true << true << int(ParentToolbar) << false;
    // The whiteboard cannot be shown before its token arrives.
    QTest::newRow("whiteboard without token")
        << QList<Step>{video, [] { receive(true, "Ann"); }} << 0 << true << true << int(ParentToolbar) << false;
    QTest::newRow("sending content") << QList<Step>{video, [] { send(false); }} << 5 << false << true << int(ParentNone)
                                     << true;
    QTest::newRow("sending whiteboard") << QList<Step>{video, [] { send(true); }} << 6 << false << true
                                        << int(ParentNone) << true;
    QTest::newRow("sending content stopped") << QList<Step>{video, [] { send(false); },
                                                            [] {
                                                                // The user closes the drawing window.
                                                                emit g_engine->getScreenDrawingWidget()->sigClose();
                                                                settle(g_control);
                                                            }}
                                             << 0 << true << true << int(ParentToolbar) << false;
    QTest::newRow("call ended") << QList<Step>{video, hangUp} << 0 << true << false << int(ParentToolbar) << false;
}

void TestLayoutEngine::scenarios()
{
    QFETCH(QList<Step>, steps);
    QFETCH(int, mode);
    QFETCH(bool, engineVisible);
    QFETCH(bool, stripVisible);
    QFETCH(int, stripParent);
    QFETCH(bool, remoteInStrip);

    for (const Step &step : steps) {
        step();
    }
    CLayoutPeopleSettingDlg *engine = m_frame->engine;
    auto *strip = engine->getFloatingCellsDlg();
    QCOMPARE(int(engine->getLayoutMode()), mode);
    QCOMPARE(m_frame->toolbar->layoutMode, mode);
    QCOMPARE(engine->isVisible(), engineVisible);
    QCOMPARE(strip->isVisible(), stripVisible);
    QCOMPARE(strip->parentWidget(), stripParent == ParentToolbar ? static_cast<QWidget *>(m_frame->toolbar) : nullptr);
    QCOMPARE(strip->containsCell(engine->getRemoteCell()), remoteInStrip);
    if (stripVisible) {
        QVERIFY(strip->containsCell(engine->getLocalCell()));
        QVERIFY(engine->getLocalCell()->isVisible());
    }
    // Sending: the strip floats above everything on its own.
    QCOMPARE(bool(strip->windowFlags() & Qt::WindowStaysOnTopHint), stripParent == ParentNone);

    const bool connected = CCallController::getInstance().getCallStatus() == enums::Connected;
    const auto size = CLayoutGeometry::calculateLayoutSize(engine->width(), engine->height(), engine->getLayoutMode());
    const QPoint origin = CLayoutGeometry::layoutOrigin(size, m_frameGeometry.topLeft(), CHostFrame::TITLE_HEIGHT);
    const auto placement = CLayoutGeometry::placeCells(size, engine->getLayoutMode());
    if (connected && mode == 0) {
        QVERIFY(engine->getRemoteCell()->isVisible());
        QCOMPARE(screenRect(engine->getRemoteCell()), placement.remote.translated(origin));
    }
    if (connected && mode == 2) {
        QVERIFY(engine->getContentCell()->isVisible());
        QCOMPARE(screenRect(engine->getContentCell()), placement.content.translated(origin));
        auto *name = engine->getContentCell()->getCover()->findChild<QLabel *>("m_pLblSiteName");
        QVERIFY(name);
        QCOMPARE(name->text(), QStringLiteral("Ann's Screen Sharing"));
    } else if (engine->getContentCell()) {
        QVERIFY(!engine->getContentCell()->isVisible());
    }
    if (connected && mode <= 4) {
        QVERIFY(engine->getLayoutCover()->isVisible());
        QCOMPARE(screenRect(engine->getLayoutCover()),
                 QRect(m_frameGeometry.topLeft() + QPoint(2, CHostFrame::TITLE_HEIGHT + 2), engine->size()));
    }
    if (mode == 7) {
        QVERIFY(engine->getAudioWidget()->isVisible());
        QCOMPARE(engine->getAudioWidget()->size(), engine->size());
        QCOMPARE(m_frame->toolbar->parentWidget(), static_cast<QWidget *>(engine->getAudioWidget()));
        QVERIFY(m_frame->toolbar->audioOnly);
        QVERIFY(!m_frame->toolbar->isVisible());
    } else {
        QVERIFY(!engine->getAudioWidget()->isVisible());
    }
    if (mode == 5) {
        QVERIFY(engine->getScreenDrawingWidget());
        QVERIFY(engine->getScreenDrawingWidget()->isVisible());
    }
    if (mode == 6) {
        QVERIFY(engine->getWhiteBoardDlg());
        QVERIFY(engine->getWhiteBoardDlg()->isVisible());
        QVERIFY(engine->getWhiteBoardDlg()->isSender());
        QVERIFY(engine->getScreenThread());
    }
    if (!connected) {
        QVERIFY(!engine->getRemoteCell()->isVisible());
        QVERIFY(!engine->getLayoutCover()->isVisible());
        QVERIFY(!m_frame->toolbar->remoteMuted);
    }
}

void TestLayoutEngine::audioPanelShowsTheMicrophoneAsItIs_data()
{
    QTest::addColumn<bool>("micEnabled");
    QTest::addColumn<QString>("image");
    QTest::newRow("live") << true << "audio_unmute-1x.png";
    QTest::newRow("muted") << false << "audio_mute-1x.png";
}

// The toolbar tells the engine the microphone's state; the big microphone of
// an audio-only call shows that state, not its opposite.
void TestLayoutEngine::audioPanelShowsTheMicrophoneAsItIs()
{
    QFETCH(bool, micEnabled);
    QFETCH(QString, image);
    dial(false);
    CLayoutPeopleSettingDlg *engine = m_frame->engine;
    QCOMPARE(engine->getLayoutMode(), enums::LayoutMode_AudioOnly);
    emit m_frame->toolbar->sigIsLocalMicEnabled(!micEnabled);
    emit m_frame->toolbar->sigIsLocalMicEnabled(micEnabled);
    auto *status = engine->getAudioWidget()->findChild<QWidget *>("m_pWgtAudioStatus");
    QVERIFY(status);
    QVERIFY2(status->styleSheet().contains("/" + image), qPrintable(status->styleSheet()));
    QCOMPARE(engine->getLocalCell()->getCover()->isMuted(), !micEnabled);
}

void TestLayoutEngine::separateContentWindowLeavesTheLayout()
{
    CUserConfigUtils::getInstance()->setOpenNewWinInContentStream(true);
    // A meeting with a password: its window shows the number, never the password.
    CCallController::getInstance().dialOut("2004", "8642", true, QString());
    settle(g_control);
    QCOMPARE(CCallController::getInstance().getCallStatus(), enums::Connected);
    receive(false, "Ann");
    CLayoutPeopleSettingDlg *engine = m_frame->engine;
    QCOMPARE(engine->getLayoutMode(), enums::LayoutMode_People);
    QVERIFY(engine->getRemoteContentDlg());
    QVERIFY(engine->getRemoteContentDlg()->isVisible());
    QCOMPARE(engine->getRemoteContentDlg()->title(), QStringLiteral("2004"));
    QVERIFY(!engine->getContentCell() || !engine->getContentCell()->isVisible());
    const auto stats = g_control->renderStats();
    QCOMPARE(stats[kd::sdk::KD_RENDER_REMOTE_CONTENT].window,
             uint64_t(engine->getRemoteContentDlg()->getContentWinId()));

    g_control->injectRemoteContent(false, false, "Ann");
    settle(g_control);
    QVERIFY(!engine->getRemoteContentDlg()->isVisible());
}

void TestLayoutEngine::pointToPointNeverShowsTheStrip()
{
    answerPointToPoint();
    QCOMPARE(CCallController::getInstance().getCallStatus(), enums::Connected);
    CLayoutPeopleSettingDlg *engine = m_frame->engine;
    QCOMPARE(engine->getLayoutMode(), enums::LayoutMode_People);
    QVERIFY(engine->getRemoteCell()->isVisible());
    QVERIFY(!engine->getFloatingCellsDlg()->isVisible());
    receive(false, "Carol");
    QCOMPARE(engine->getLayoutMode(), enums::LayoutMode_RemoteContentOnly);
    QVERIFY(!engine->getFloatingCellsDlg()->isVisible());
}

// Sending content in a call to one person: the layout gives way to the
// drawing window and no cell of it stays on the screen by itself.
void TestLayoutEngine::pointToPointSendingLeavesNoCellBehind()
{
    answerPointToPoint();
    CLayoutPeopleSettingDlg *engine = m_frame->engine;
    send(false);
    QCOMPARE(engine->getLayoutMode(), enums::LayoutMode_LocalContent);
    QVERIFY(!engine->getFloatingCellsDlg()->isVisible());
    QVERIFY(!engine->getLocalCell()->isVisible());
    QVERIFY(!engine->getLocalCell()->getCover()->isVisible());
    QVERIFY(!engine->getRemoteCell()->isVisible());
    QVERIFY(!engine->getRemoteCell()->getCover()->isVisible());
}

void TestLayoutEngine::userSwitchesToPreferredContent()
{
    dial(true);
    receive(false, "Ann");
    CLayoutPeopleSettingDlg *engine = m_frame->engine;
    CLayoutCellDlg *local = engine->getLocalCell();
    QCOMPARE(local->getCover()->getBorderColor(), QStringLiteral("#4381ff"));

    emit m_frame->toolbar->sigChangeLayoutMode(enums::LayoutMode_RemoteContentPreferred);
    QCOMPARE(engine->getLayoutMode(), enums::LayoutMode_RemoteContentPreferred);
    QCOMPARE(m_frame->toolbar->layoutMode, 1);
    const auto size = CLayoutGeometry::calculateLayoutSize(engine->width(), engine->height(),
                                                           enums::LayoutMode_RemoteContentPreferred);
    const QPoint origin = CLayoutGeometry::layoutOrigin(size, m_frameGeometry.topLeft(), CHostFrame::TITLE_HEIGHT);
    const auto placement = CLayoutGeometry::placeCells(size, enums::LayoutMode_RemoteContentPreferred);
    QCOMPARE(screenRect(engine->getContentCell()), placement.content.translated(origin));
    QCOMPARE(screenRect(local), placement.local.translated(origin));
    QCOMPARE(screenRect(engine->getRemoteCell()), placement.remote.translated(origin));
    QVERIFY(local->isVisible());
    QVERIFY(!engine->getFloatingCellsDlg()->isVisible());
    QVERIFY(!m_frame->toolbar->showPicVisible);
    // The local cell's own colour goes with its first place in the layout.
    QCOMPARE(local->getCover()->getBorderColor(), QString());

    // Neither the same mode nor a mode without content is a user's choice.
    for (auto refused :
         {enums::LayoutMode_RemoteContentPreferred, enums::LayoutMode_People, enums::LayoutMode_AudioOnly}) {
        emit m_frame->toolbar->sigChangeLayoutMode(refused);
        QCOMPARE(engine->getLayoutMode(), enums::LayoutMode_RemoteContentPreferred);
    }

    emit m_frame->toolbar->sigChangeLayoutMode(enums::LayoutMode_RemoteContentOnly);
    QVERIFY(engine->getFloatingCellsDlg()->isVisible());
    QVERIFY(engine->getFloatingCellsDlg()->containsCell(local));
    QCOMPARE(local->getCover()->getBorderColor(), QString());
}

void TestLayoutEngine::newCallShowsAUserHiddenStripAgain()
{
    dial(true);
    CLayoutPeopleSettingDlg *engine = m_frame->engine;
    auto *strip = engine->getFloatingCellsDlg();
    QVERIFY(strip->isVisible());
    const QPoint firstStart = strip->pos();
    strip->setHide();
    QVERIFY(m_frame->toolbar->showPicVisible);
    receive(false, "Ann");
    QVERIFY(!strip->isVisible());
    hangUp();

    // The user moved the frame between the calls: the strip starts anew beside it.
    m_frame->place(m_frameGeometry.translated(-60, 0));
    dial(true);
    QVERIFY(!strip->getHideFlag());
    QVERIFY(strip->isVisible());
    QVERIFY(!m_frame->toolbar->showPicVisible);
    QCOMPARE(strip->pos(), firstStart + QPoint(-60, 0));
}

void TestLayoutEngine::compactModeGivesTheStripBackAsItWas_data()
{
    QTest::addColumn<bool>("hiddenByUser");
    QTest::newRow("shown") << false;
    QTest::newRow("hidden by the user") << true;
}

void TestLayoutEngine::compactModeGivesTheStripBackAsItWas()
{
    QFETCH(bool, hiddenByUser);
    dial(true);
    CLayoutPeopleSettingDlg *engine = m_frame->engine;
    auto *strip = engine->getFloatingCellsDlg();
    QVERIFY(strip->isVisible());
    if (hiddenByUser) {
        strip->setHide();
    }
    engine->setCompactMode(true);
    QVERIFY(!strip->isVisible());
    engine->setCompactMode(false);

    QTRY_COMPARE(strip->isVisible(), !hiddenByUser);
    QCOMPARE(engine->getLocalCell()->isVisible(), !hiddenByUser);
    QCOMPARE(strip->getHideFlag(), hiddenByUser);
    QCOMPARE(m_frame->toolbar->showPicVisible, hiddenByUser);
}

// Dragged down over the toolbar's buttons, the strip makes way for the bar
// whenever it shows.
void TestLayoutEngine::stripLeavesTheToolbarFree()
{
    dial(true);
    CLayoutPeopleSettingDlg *engine = m_frame->engine;
    auto *strip = engine->getFloatingCellsDlg();
    QVERIFY(strip->isVisible());
    const QRect frame = m_frame->geometry();
    strip->move(frame.right() - strip->width(), frame.bottom() - strip->height());
    engine->showToolbar();
    QVERIFY(m_frame->toolbar->isVisible());
    const QRect bar = m_frame->toolbar->frameGeometry();
    QVERIFY2(!strip->frameGeometry().intersects(bar), qPrintable(QString("strip %1,%2 %3x%4, bar top %5")
                                                                     .arg(strip->x())
                                                                     .arg(strip->y())
                                                                     .arg(strip->width())
                                                                     .arg(strip->height())
                                                                     .arg(bar.top())));
    QCOMPARE(strip->frameGeometry().bottom(), bar.top() - 1);
    QCOMPARE(strip->x(), frame.right() - strip->width());
}

void TestLayoutEngine::frameMoveMovesEveryPlacedWindowAlike()
{
    dial(true);
    receive(false, "Ann");
    emit m_frame->toolbar->sigChangeLayoutMode(enums::LayoutMode_RemoteContentPreferred);
    CLayoutPeopleSettingDlg *engine = m_frame->engine;
    const QList<QWidget *> placed{engine->getContentCell(),
                                  engine->getLocalCell(),
                                  engine->getRemoteCell(),
                                  engine->getLayoutCover(),
                                  engine->getContentCell()->getCover(),
                                  engine->getRemoteCell()->getCover()};
    QList<QPoint> before;
    for (QWidget *window : placed) {
        before << window->pos();
    }
    const QPoint delta(-37, 55);
    m_frame->place(m_frameGeometry.translated(delta));
    for (int i = 0; i < placed.size(); ++i) {
        QVERIFY2(placed[i]->pos() == before[i] + delta, qPrintable(QString::number(i)));
    }
}

void TestLayoutEngine::renderWindowsFollowTheCells()
{
    CLayoutPeopleSettingDlg *engine = m_frame->engine;
    const WId remote = engine->getRemoteCell()->getVideoWinId();
    const WId local = engine->getLocalCell()->getVideoWinId();
    dial(true);
    receive(false, "Ann");
    auto stats = g_control->renderStats();
    QCOMPARE(stats[kd::sdk::KD_RENDER_REMOTE_VIDEO].window, uint64_t(remote));
    QCOMPARE(stats[kd::sdk::KD_RENDER_LOCAL_VIDEO].window, uint64_t(local));
    QCOMPARE(stats[kd::sdk::KD_RENDER_REMOTE_CONTENT].window, uint64_t(engine->getContentCell()->getVideoWinId()));

    // Moving cells between layout and strip, and on top and back, keeps the
    // windows the engine was given.
    emit m_frame->toolbar->sigChangeLayoutMode(enums::LayoutMode_RemoteContentPreferred);
    engine->setCompactMode(true);
    engine->setCompactMode(false);
    emit m_frame->toolbar->sigChangeLayoutMode(enums::LayoutMode_RemoteContentOnly);
    QCOMPARE(engine->getRemoteCell()->getVideoWinId(), remote);
    QCOMPARE(engine->getLocalCell()->getVideoWinId(), local);
    stats = g_control->renderStats();
    QCOMPARE(stats[kd::sdk::KD_RENDER_REMOTE_VIDEO].window, uint64_t(remote));
    QCOMPARE(stats[kd::sdk::KD_RENDER_LOCAL_VIDEO].window, uint64_t(local));
}

void TestLayoutEngine::callEndingWhileSharingForgetsTheDrawingWindows()
{
    dial(true);
    send(false);
    CLayoutPeopleSettingDlg *engine = m_frame->engine;
    QCOMPARE(engine->getLayoutMode(), enums::LayoutMode_LocalContent);
    QVERIFY(engine->getScreenDrawingWidget());
    g_control->injectRemoteHangUp(0);
    settle(g_control);
    QTRY_VERIFY(!engine->getScreenDrawingWidget());
    // The mode that names the drawing window outlives it: prompts and boxes
    // fall back to the layout's own windows.
    QCOMPARE(engine->getLayoutMode(), enums::LayoutMode_LocalContent);
    QVERIFY(!engine->createPromptWidget(QStringLiteral("after the call"), 1000));
    engine->show();
    QVERIFY(engine->createPromptWidget(QStringLiteral("after the call"), 1000));
    QCOMPARE(engine->getPromptWidget()->parentWidget(), static_cast<QWidget *>(engine->getLayoutCover()));
}

void TestLayoutEngine::whiteboardShowsOnceItsTokenArrives()
{
    CTokenServer server;
    // Earlier tests made the home window, which reports that this server has
    // no contacts to give.
    CAlertAnswerer answerer(QMessageBox::Ok, 10);
    resetClient(g_control);
    CLoginManager &login = CLoginManager::getInstance();
    QVERIFY(login.login("127.0.0.1", false, server.port(), "alice", "secret"));
    QTRY_COMPARE(login.getLoginStatus(), enums::LoggedIn);
    settle(g_control);
    dial(true);
    receive(true, "Ann");
    CLayoutPeopleSettingDlg *engine = m_frame->engine;
    QCOMPARE(engine->getLayoutMode(), enums::LayoutMode_People);

    kd::engine::KDWhiteBoardInfo info;
    info.server = "wb.test";
    CCallController::getInstance().slotOnWhiteBoardIndication(info);
    QTRY_COMPARE(CCallController::getInstance().getAcsJsonWebToken(), QStringLiteral("jwt-1"));
    QCOMPARE(engine->getLayoutMode(), enums::LayoutMode_RemoteWhiteBoardOnly);
    QCOMPARE(m_frame->toolbar->layoutMode, 4);
    auto *board = engine->getWhiteBoardCell();
    QVERIFY(board->isVisible());
    const auto size =
        CLayoutGeometry::calculateLayoutSize(engine->width(), engine->height(), enums::LayoutMode_RemoteWhiteBoardOnly);
    const QPoint origin = CLayoutGeometry::layoutOrigin(size, m_frameGeometry.topLeft(), CHostFrame::TITLE_HEIGHT);
    QCOMPARE(screenRect(board), QRect(origin, QSize(size.width, size.height)));
    QVERIFY(engine->getWhiteBoardDlgForLayout());
    QVERIFY(engine->getWhiteBoardDlgForLayout()->isVisible());
    QVERIFY(!engine->getWhiteBoardDlgForLayout()->isSender());
    QCOMPARE(engine->getWhiteBoardDlgForLayout()->parentWidget(), static_cast<QWidget *>(board->getCover()));
    QVERIFY(engine->getFloatingCellsDlg()->containsCell(engine->getRemoteCell()));

    g_control->injectRemoteContent(false, true, "Ann");
    settle(g_control);
    QCOMPARE(engine->getLayoutMode(), enums::LayoutMode_People);
    QVERIFY(!board->isVisible());
    QVERIFY(!engine->getWhiteBoardDlgForLayout()->isVisible());
}

QTEST_MAIN(TestLayoutEngine)
#include "tst_layoutengine.moc"
