#include <QMouseEvent>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "statewait.h"
#include "alertanswerer.h"
#include "app/cwindowshape.h"
#include "layoutenginefixture.h"
#include "views/call/clayoutcellcoverdlg.h"
#include "views/call/clayoutcelldlg.h"
#include "views/call/clayoutcoverdlg.h"
#include "views/call/clayoutfloatingcellsdlg.h"
#include "views/call/cmediastatisticsdlg.h"
#include "views/call/cpromptwidget.h"
#include "views/call/ctoolbargesture.h"
#include "views/sharing/cbackgroundwidget.h"

using namespace fixture;
using namespace layoutfixture;
using kd_app::views::CLayoutPeopleSettingDlg;
using kd_app::views::CToolbarGesture;

namespace {

kd::sdk::IEngineControl *g_control = nullptr;

struct Move
{
    qint64 ms;
    QPoint pos;
};

void dial()
{
    CCallController::getInstance().dialOut("2002", QString(), true, QString());
    settle(g_control);
}

void sendContent()
{
    g_control->raise([](kd::engine::IAVEventHandler &handler) {
        kd::engine::KDContentInfo info;
        info.enabled = true;
        info.dir = 0;
        info.type = kd::engine::KD_STREAM_CONTENT;
        handler.onContent(info);
    });
    settle(g_control);
}

void moveOver(CLayoutPeopleSettingDlg *engine, const QPoint &global)
{
    QMouseEvent event(QEvent::MouseMove, QPointF(global), QPointF(global), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    emit engine->getLayoutCover()->sigMouseMove(&event);
}

} // namespace

Q_DECLARE_METATYPE(QList<Move>)
Q_DECLARE_METATYPE(QList<bool>)
using Event = std::function<void()>;
Q_DECLARE_METATYPE(Event)

// What the pointer over the video and the engine's warnings lead to: when
// the toolbar shows, double-clicks, compact mode, prompts and boxes.
class TestLayoutInput : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void gesture_data();
    void gesture();
    void movesShowTheToolbarOverTheLayout();
    void toolbarStaysWhileAPopupIsOpen();
    void sendingIgnoresThePointer();
    void doubleClicks();
    void compactModeSilencesTheLayout();
    void prompts_data();
    void prompts();
    void noMicrophoneBoxOpensOnce();
    void hostAsksToUnmute_data();
    void hostAsksToUnmute();

private:
    QTemporaryDir m_appData;
    std::unique_ptr<CHostFrame> m_frame;
    const QRect m_frameGeometry{60, 40, 644, 406};
};

void TestLayoutInput::initTestCase()
{
    QVERIFY(m_appData.isValid());
    g_control = startClient(m_appData);
    QVERIFY(g_control);
    g_control->addAccount(account("alice", "secret", "Alice", 42));
    kd::sdk::KDModelMeeting meeting;
    meeting.number = "2002";
    meeting.name = "Open";
    g_control->addMeeting(meeting);
    QVERIFY(signInAs(g_control, "alice", "secret"));
    kd_app::CWindowShape::setCompositorRunningForTests(true);
}

void TestLayoutInput::init()
{
    CUserConfigUtils::getInstance()->setOpenNewWinInContentStream(false);
    CUserConfigUtils::getInstance()->setDisablePrompt(false);
    m_frame = std::make_unique<CHostFrame>();
    m_frame->place(m_frameGeometry);
    m_frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_frame.get()));
}

void TestLayoutInput::cleanup()
{
    if (CCallController::getInstance().getCallStatus() == enums::Connected) {
        CCallController::getInstance().hangUp();
        settle(g_control);
    }
    CCallController::getInstance().setCallStatus(enums::Idle);
    CCallController::getInstance().setContentStreamStatus(enums::ContentStreamStatus_None, std::string(), 0);
    m_frame.reset();
}

void TestLayoutInput::gesture_data()
{
    QTest::addColumn<QList<Move>>("moves");
    QTest::addColumn<QList<bool>>("shows");

    // The gesture's clock starts at 0 with the construction.
    QTest::newRow("far move at once") << QList<Move>{{100, {0, 0}}, {200, {11, 0}}} << QList<bool>{false, true};
    QTest::newRow("exactly 10 px is not far enough")
        << QList<Move>{{100, {0, 0}}, {200, {10, 0}}, {300, {6, 8}}} << QList<bool>{false, false, false};
    QTest::newRow("diagonal beyond 10 px") << QList<Move>{{100, {0, 0}}, {200, {8, 7}}} << QList<bool>{false, true};
    QTest::newRow("301 ms later only sets the anchor")
        << QList<Move>{{100, {0, 0}}, {401, {50, 0}}, {500, {55, 0}}, {600, {61, 0}}}
        << QList<bool>{false, false, false, true};
    QTest::newRow("300 ms still belongs to the gesture")
        << QList<Move>{{100, {0, 0}}, {400, {50, 0}}} << QList<bool>{false, true};
    QTest::newRow("shown once, every later move shows again")
        << QList<Move>{{100, {0, 0}}, {150, {20, 0}}, {200, {20, 0}}, {250, {21, 0}}}
        << QList<bool>{false, true, true, true};
    QTest::newRow("a pause ends the gesture")
        << QList<Move>{{100, {0, 0}}, {150, {20, 0}}, {600, {20, 0}}, {650, {25, 0}}}
        << QList<bool>{false, true, false, false};
    QTest::newRow("clock back counts as no time")
        << QList<Move>{{1000, {0, 0}}, {500, {30, 0}}} << QList<bool>{false, true};
    QTest::newRow("first move long after construction")
        << QList<Move>{{5000, {0, 0}}, {5100, {30, 0}}} << QList<bool>{false, true};
}

void TestLayoutInput::gesture()
{
    QFETCH(QList<Move>, moves);
    QFETCH(QList<bool>, shows);
    CToolbarGesture gesture(0);
    for (int i = 0; i < moves.size(); ++i) {
        QVERIFY2(gesture.onMove(moves[i].pos, moves[i].ms) == shows[i], qPrintable(QString("move %1").arg(i)));
    }
}

void TestLayoutInput::movesShowTheToolbarOverTheLayout()
{
    dial();
    CLayoutPeopleSettingDlg *engine = m_frame->engine;
    CRecordingToolbar *toolbar = m_frame->toolbar;
    QVERIFY(!toolbar->isVisible());
    const QPoint centre = engine->mapToGlobal(engine->rect().center());
    moveOver(engine, centre);
    moveOver(engine, centre + QPoint(20, 0));
    QVERIFY(toolbar->isVisible());
    // Along the engine's bottom, as wide as the frame inside its left border.
    QCOMPARE(toolbar->pos(), QPoint(m_frameGeometry.x(), m_frameGeometry.y() + engine->geometry().bottom() + 1 - 60));
    QCOMPARE(toolbar->width(), engine->width() + 2);

    // A move of the frame hides it, unless a popup is open.
    m_frame->place(m_frameGeometry.translated(5, 5));
    QVERIFY(!toolbar->isVisible());
}

void TestLayoutInput::toolbarStaysWhileAPopupIsOpen()
{
    dial();
    CLayoutPeopleSettingDlg *engine = m_frame->engine;
    CRecordingToolbar *toolbar = m_frame->toolbar;
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    emit engine->getLayoutCover()->sigMousePress(&press);
    QVERIFY(toolbar->isVisible());
    toolbar->popupOpen = true;
    emit engine->getLayoutCover()->sigMousePress(&press);
    QVERIFY(toolbar->isVisible());
    engine->slotOnTimerHideToolbar();
    QVERIFY(toolbar->isVisible());
    m_frame->place(m_frameGeometry.translated(5, 5));
    QVERIFY(toolbar->isVisible());

    toolbar->popupOpen = false;
    engine->slotOnTimerHideToolbar();
    QVERIFY(!toolbar->isVisible());
}

void TestLayoutInput::sendingIgnoresThePointer()
{
    dial();
    sendContent();
    CLayoutPeopleSettingDlg *engine = m_frame->engine;
    QCOMPARE(engine->getLayoutMode(), enums::LayoutMode_LocalContent);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    emit engine->getLayoutCover()->sigMousePress(&press);
    moveOver(engine, QPoint(10, 10));
    moveOver(engine, QPoint(100, 10));
    QVERIFY(!m_frame->toolbar->isVisible());
}

void TestLayoutInput::doubleClicks()
{
    dial();
    CLayoutPeopleSettingDlg *engine = m_frame->engine;
    QSignalSpy fullScreen(engine, &CLayoutPeopleSettingDlg::sigSwitchFullScreen);
    QMouseEvent click(QEvent::MouseButtonDblClick, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);

    // A cell of the strip is only moved about, never a reason for full screen.
    QVERIFY(engine->getFloatingCellsDlg()->containsCell(engine->getLocalCell()));
    engine->slotOnCellMouseDoubleClick(engine->getLocalCell(), &click);
    QCOMPARE(fullScreen.count(), 0);

    emit engine->getRemoteCell()->sigMouseDoubleClick(engine->getRemoteCell(), &click);
    QCOMPARE(fullScreen.count(), 1);
    QApplication::sendEvent(engine->getLayoutCover(), &click);
    QCOMPARE(fullScreen.count(), 2);

    // On the content of the preferred layout: the content alone, and full screen.
    g_control->injectRemoteContent(true, false, "Ann");
    settle(g_control);
    emit m_frame->toolbar->sigChangeLayoutMode(enums::LayoutMode_RemoteContentPreferred);
    emit engine->getContentCell()->sigMouseDoubleClick(engine->getContentCell(), &click);
    QCOMPARE(fullScreen.count(), 3);
    QCOMPARE(engine->getLayoutMode(), enums::LayoutMode_RemoteContentOnly);
    QCOMPARE(m_frame->toolbar->layoutMode, 2);
}

void TestLayoutInput::compactModeSilencesTheLayout()
{
    dial();
    g_control->injectRemoteContent(true, false, "Ann");
    settle(g_control);
    CLayoutPeopleSettingDlg *engine = m_frame->engine;
    CRecordingToolbar *toolbar = m_frame->toolbar;
    emit toolbar->sigChangeLayoutMode(enums::LayoutMode_RemoteContentPreferred);
    QSignalSpy fullScreen(engine, &CLayoutPeopleSettingDlg::sigSwitchFullScreen);

    engine->setCompactMode(true);
    // Received content stays as the one thing shown, above other windows.
    QCOMPARE(engine->getLayoutMode(), enums::LayoutMode_RemoteContentOnly);
    QVERIFY(engine->getContentCell()->windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(engine->getFloatingCellsDlg()->getHideFlag());
    QCOMPARE(toolbar->windowCloses, 1);

    QMouseEvent click(QEvent::MouseButtonDblClick, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    emit engine->getRemoteCell()->sigMouseDoubleClick(engine->getRemoteCell(), &click);
    QApplication::sendEvent(engine->getLayoutCover(), &click);
    QCOMPARE(fullScreen.count(), 0);
    engine->showToolbar();
    QVERIFY(!toolbar->isVisible());
    QVERIFY(!engine->createPromptWidget(QStringLiteral("hidden"), 1000));
    engine->showMediaStatisticsDlg();
    QVERIFY(!engine->mediaStatisticsDlg());

    engine->setCompactMode(false);
    QVERIFY(!(engine->getContentCell()->windowFlags() & Qt::WindowStaysOnTopHint));
    QVERIFY(!(engine->getRemoteCell()->windowFlags() & Qt::WindowStaysOnTopHint));
    engine->showMediaStatisticsDlg();
    QVERIFY(engine->mediaStatisticsDlg());
    QVERIFY(engine->mediaStatisticsDlg()->isVisible());
}

void TestLayoutInput::prompts_data()
{
    QTest::addColumn<std::function<void()>>("event");
    QTest::addColumn<bool>("promptsDisabled");
    QTest::addColumn<QString>("text");

    const auto warn = [](int code) { return [code] { g_control->injectWarning(code, "warned"); }; };
    const QString unstable = "Network is not stable now, it may impact your conferencing experience.";
    QTest::newRow("unstable network") << std::function<void()>(warn(0)) << false << unstable;
    QTest::newRow("unstable network, prompts off") << std::function<void()>(warn(0)) << true << QString();
    QTest::newRow("poor network") << std::function<void()>(warn(1)) << false
                                  << "Network is in very poor status, recommend checking network or switching to "
                                     "better network.";
    QTest::newRow("bandwidth short, prompts off") << std::function<void()>(warn(3)) << true << QString();
    QTest::newRow("not allowed to unmute, prompts off")
        << std::function<void()>(warn(5)) << true << "Not allowed to unmute.";
    QTest::newRow("host mutes") << std::function<void()>([] { g_control->injectHostMute(true); }) << true
                                << "You have been muted by meeting host.";
    QTest::newRow("video stopped") << std::function<void()>([] { g_control->injectVideoMuted(1); }) << false
                                   << "Video is stopped.";
    QTest::newRow("speaking while muted") << std::function<void()>([] {
        g_control->raise([](kd::engine::IAVEventHandler &handler) { handler.onMuteSpeakingDetected(); });
    }) << false << "Microphone Muted";
    QTest::newRow("speaking while muted, prompts off") << std::function<void()>([] {
        g_control->raise([](kd::engine::IAVEventHandler &handler) { handler.onMuteSpeakingDetected(); });
    }) << true << QString();
    QTest::newRow("sending refused") << std::function<void()>([] {
        g_control->raise([](kd::engine::IAVEventHandler &handler) {
            kd::engine::KDContentInfo info;
            info.status = 3;
            handler.onContent(info);
        });
    }) << false << "The request for sending conent is denied due to lack of permission.";
    const auto device = [](int type, uint32_t id, const char *name, const char *desc) {
        return [=] {
            g_control->raise([=](kd::engine::IAVEventHandler &handler) {
                kd::engine::KDDevice device;
                device.type = type;
                device.id = id;
                device.name = name;
                device.desc = desc;
                handler.onCurrentDeviceChanged(device);
            });
        };
    };
    QTest::newRow("default microphone by its description")
        << std::function<void()>(device(0, 3, "System Default Microphone", "Desk mic")) << false
        << "Current microphone: Desk mic";
    QTest::newRow("camera by name") << std::function<void()>(device(2, 1, "Kamera \xc3\xa9", "x")) << false
                                    << QString::fromUtf8("Current camera: Kamera \xc3\xa9");
    QTest::newRow("no speaker") << std::function<void()>(device(1, 0xFFFFFFFFu, "", "")) << false
                                << "No speaker device available.";
    QTest::newRow("other device type") << std::function<void()>(device(5, 1, "Pad", "")) << false << QString();
}

void TestLayoutInput::prompts()
{
    QFETCH(std::function<void()>, event);
    QFETCH(bool, promptsDisabled);
    QFETCH(QString, text);
    CUserConfigUtils::getInstance()->setDisablePrompt(promptsDisabled);
    dial();
    CLayoutPeopleSettingDlg *engine = m_frame->engine;
    event();
    settle(g_control);
    if (text.isEmpty()) {
        QVERIFY(!engine->getPromptWidget() || !engine->getPromptWidget()->isActive());
        return;
    }
    QVERIFY(engine->getPromptWidget());
    QVERIFY(engine->getPromptWidget()->isActive());
    QCOMPARE(engine->getPromptWidget()->text(), text);
    QCOMPARE(engine->getPromptWidget()->parentWidget(), static_cast<QWidget *>(engine->getLayoutCover()));

    // A second one re-uses the same prompt window.
    const QPointer<kd_app::views::CPromptWidget> first(engine->getPromptWidget());
    g_control->injectWarning(5, "again");
    settle(g_control);
    QCOMPARE(engine->getPromptWidget(), first.data());
    QCOMPARE(engine->getPromptWidget()->text(), QStringLiteral("Not allowed to unmute."));
}

void TestLayoutInput::noMicrophoneBoxOpensOnce()
{
    dial();
    CLayoutPeopleSettingDlg *engine = m_frame->engine;
    CRecordingToolbar *toolbar = m_frame->toolbar;

    // The microphone is already off: nothing to tell.
    toolbar->micChecked = false;
    {
        CAlertAnswerer answerer(QMessageBox::Ok);
        g_control->injectWarning(4, "no mic");
        settle(g_control);
        QCOMPARE(answerer.answered(), 0);
        QCOMPARE(toolbar->mutes, 0);
    }

    // Another warning while the box is open opens no second box.
    toolbar->micChecked = true;
    int boxes = 0;
    CAlertAnswerer answerer(QMessageBox::Ok, 2);
    QTimer::singleShot(0, engine, [engine, &boxes] {
        kd::engine::KDWarn warn;
        warn.code = 4;
        engine->slotOnWarn(warn);
        boxes = 1;
    });
    kd::engine::KDWarn warn;
    warn.code = 4;
    engine->slotOnWarn(warn);
    QCOMPARE(answerer.answered(), 1);
    QCOMPARE(answerer.texts().value(0), QStringLiteral("There is no microphone found and other can not listen to "
                                                       "you. Please check microphone device."));
    QTRY_COMPARE(boxes, 1);
    QCOMPARE(toolbar->mutes, 1);

    // Once the box is gone the next warning asks again.
    engine->slotOnWarn(warn);
    QCOMPARE(answerer.answered(), 2);
}

void TestLayoutInput::hostAsksToUnmute_data()
{
    QTest::addColumn<bool>("sending");
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("toolbarUnmutes");
    QTest::addColumn<bool>("drawingUnmutes");

    QTest::newRow("yes") << false << int(QMessageBox::Yes) << 1 << false;
    QTest::newRow("no") << false << int(QMessageBox::No) << 0 << false;
    QTest::newRow("yes while sharing the screen") << true << int(QMessageBox::Yes) << 0 << true;
}

void TestLayoutInput::hostAsksToUnmute()
{
    QFETCH(bool, sending);
    QFETCH(int, answer);
    QFETCH(int, toolbarUnmutes);
    QFETCH(bool, drawingUnmutes);
    dial();
    if (sending) {
        sendContent();
    }
    const int refreshesBefore = m_frame->toolbar->buttonRefreshes;
    CAlertAnswerer answerer{QMessageBox::StandardButton(answer)};
    g_control->injectWarning(6, "unmute");
    settle(g_control);
    QTRY_COMPARE(answerer.answered(), 1);
    QCOMPARE(answerer.texts().value(0), QStringLiteral("Meeting manager is unmuting you, do you agree?"));
    QCOMPARE(m_frame->toolbar->unmutes, toolbarUnmutes);
    QVERIFY(!qApp->quitOnLastWindowClosed());
    // The drawing window unmutes through the engine, then has the toolbar read the buttons again.
    QCOMPARE(m_frame->toolbar->buttonRefreshes - refreshesBefore, drawingUnmutes ? 1 : 0);
}

QTEST_MAIN(TestLayoutInput)
#include "tst_layoutinput.moc"
