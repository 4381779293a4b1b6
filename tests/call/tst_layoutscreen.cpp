#include <atomic>
#include <memory>

#include <QDir>
#include <QElapsedTimer>
#include <QScopeGuard>
#include <QSemaphore>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

#include "statewait.h"
#include "app/cwindowshape.h"
#include "models/screenthread.h"
#include "alertanswerer.h"
#include "layoutenginefixture.h"
#include "ownxvfb.h"
#include "screenpixels.h"
#include "tokenserver.h"
#include "views/call/clayoutcellcoverdlg.h"
#include "views/call/clayoutcelldlg.h"
#include "views/call/clayoutfloatingcellsdlg.h"
#include "xdoinput.h"
#include "xstacking.h"

using namespace fixture;
using namespace layoutfixture;
using kd_app::CWindowShape;
using kd_app::views::CLayoutCellDlg;
using kd_app::views::CLayoutPeopleSettingDlg;
using screenpixels::colourBarsSeen;
using screenpixels::grabScreen;

namespace {

kd::sdk::IEngineControl *g_control = nullptr;

uint64_t framesPainted(int stream)
{
    return g_control->renderStats()[size_t(stream)].framesPainted;
}

// With KD_LAYOUT_SHOTS naming a folder, the screen is kept there for a look.
void keepShot(const QString &name)
{
    const QString folder = qEnvironmentVariable("KD_LAYOUT_SHOTS");
    if (!folder.isEmpty()) {
        QDir().mkpath(folder);
        grabScreen(QGuiApplication::primaryScreen()->geometry()).save(folder + "/" + name + ".png");
    }
}

// Moves the pointer through the points in one quick stroke.
bool strokeThrough(const QList<QPoint> &points)
{
    QStringList arguments;
    for (const QPoint &point : points) {
        // A pause lets each move arrive as an event of its own.
        arguments << "mousemove" << QString::number(point.x()) << QString::number(point.y()) << "sleep"
                  << "0.05";
    }
    // Events are handled while it runs, so that the moves are not merged into one.
    QProcess xdotool;
    xdotool.start("xdotool", arguments);
    return QTest::qWaitFor([&xdotool] { return xdotool.state() == QProcess::NotRunning; }, 10000) &&
           xdotool.exitCode() == 0;
}

} // namespace

// The layout on a real X server of its own, with and without a compositor:
// the video is seen through the covers, the pointer over it reaches them,
// and the engine keeps painting into the windows it was given.
class TestLayoutScreen : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void videoThroughTheCovers_data();
    void videoThroughTheCovers();
    void hungCaptureDoesNotHoldTheDestruction();
    void toolbarStaysUnderThePointer();
    void stripStaysUnderTheCallsWindows();
    void screenshots();

private:
    void startCompositor(bool on);
    void showCall();

    QTemporaryDir m_appData;
    QProcess m_compositor;
    std::unique_ptr<CHostFrame> m_frame;
};

void TestLayoutScreen::initTestCase()
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
}

void TestLayoutScreen::cleanup()
{
    if (CCallController::getInstance().getCallStatus() == enums::Connected) {
        CCallController::getInstance().hangUp();
        settle(g_control);
    }
    CCallController::getInstance().setCallStatus(enums::Idle);
    m_frame.reset();
    startCompositor(false);
}

void TestLayoutScreen::startCompositor(bool on)
{
    if (on && m_compositor.state() == QProcess::NotRunning) {
        m_compositor.start("xcompmgr", QStringList());
        QVERIFY2(m_compositor.waitForStarted(), "xcompmgr is not installed");
        QTRY_VERIFY_WITH_TIMEOUT(CWindowShape::isCompositorRunning(), kdtest::kStateWaitMs);
    } else if (!on && m_compositor.state() != QProcess::NotRunning) {
        m_compositor.terminate();
        QVERIFY(m_compositor.waitForFinished(10000));
        QTRY_VERIFY_WITH_TIMEOUT(!CWindowShape::isCompositorRunning(), kdtest::kStateWaitMs);
    }
}

void TestLayoutScreen::showCall()
{
    m_frame = std::make_unique<CHostFrame>();
    m_frame->place(QRect(100, 80, 1284, 766));
    m_frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_frame.get()));
    CCallController::getInstance().dialOut("2002", QString(), true, QString());
    settle(g_control);
    QCOMPARE(CCallController::getInstance().getCallStatus(), enums::Connected);
}

void TestLayoutScreen::videoThroughTheCovers_data()
{
    QTest::addColumn<bool>("compositor");
    QTest::newRow("with a compositor") << true;
    QTest::newRow("without a compositor") << false;
}

void TestLayoutScreen::videoThroughTheCovers()
{
    QFETCH(bool, compositor);
    startCompositor(compositor);
    m_frame = std::make_unique<CHostFrame>();
    m_frame->place(QRect(100, 80, 1284, 766));
    m_frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_frame.get()));
    CLayoutPeopleSettingDlg *engine = m_frame->engine;

    CCallController::getInstance().dialOut("2002", QString(), true, QString());
    settle(g_control);
    QCOMPARE(engine->isCompositing(), compositor);
    CLayoutCellDlg *local = engine->getLocalCell();
    QVERIFY(engine->getFloatingCellsDlg()->containsCell(local));
    QTRY_VERIFY_WITH_TIMEOUT(local->isVisible() && framesPainted(kd::sdk::KD_RENDER_LOCAL_VIDEO) > 2, kdtest::kStateWaitMs);
    const QRect localOnScreen(local->pos(), local->size());
    keepShot(QString("people-%1").arg(compositor ? "composited" : "shaped"));
    QTRY_VERIFY_WITH_TIMEOUT(colourBarsSeen(localOnScreen) >= 5, kdtest::kStateWaitMs);

    // The pointer over the remote video, in one quick stroke, brings the toolbar.
    const QRect remote(engine->getRemoteCell()->pos(), engine->getRemoteCell()->size());
    QVERIFY(!m_frame->toolbar->isVisible());
    bool shown = false;
    for (int attempt = 0; attempt < 5 && !shown; ++attempt) {
        // A loaded machine may still part the moves by more than a gesture: try again.
        const QPoint start = remote.center() + QPoint(60 * attempt, 0);
        QVERIFY(strokeThrough({start, start + QPoint(15, 10), start + QPoint(30, 20)}));
        shown = QTest::qWaitFor([this] { return m_frame->toolbar->isVisible(); }, 2000);
    }
    QVERIFY(shown);

    // Into the layout and back to the strip, on top and back: the engine
    // paints into the windows the cells have now. A cell put on top is made
    // anew with its render window; the engine is told its new id.
    const auto before = g_control->renderStats();
    g_control->injectRemoteContent(true, false, "Ann");
    settle(g_control);
    emit m_frame->toolbar->sigChangeLayoutMode(enums::LayoutMode_RemoteContentPreferred);
    engine->setCompactMode(true);
    engine->setCompactMode(false);
    emit m_frame->toolbar->sigChangeLayoutMode(enums::LayoutMode_RemoteContentOnly);
    // Compact mode hid the strip as the user would; the user shows it again.
    emit m_frame->toolbar->sigOnShowPicture();
    QVERIFY(engine->getFloatingCellsDlg()->isVisible());
    for (CLayoutCellDlg *cell : {local, engine->getRemoteCell()}) {
        const int stream = cell == local ? kd::sdk::KD_RENDER_LOCAL_VIDEO : kd::sdk::KD_RENDER_REMOTE_VIDEO;
        QTRY_COMPARE_WITH_TIMEOUT(g_control->renderStats()[size_t(stream)].window, uint64_t(cell->getVideoWinId()), kdtest::kStateWaitMs);
        const uint64_t painted = framesPainted(stream);
        QTRY_VERIFY_WITH_TIMEOUT(framesPainted(stream) > painted + 3, kdtest::kStateWaitMs);
    }
    QCOMPARE(g_control->renderStats()[kd::sdk::KD_RENDER_LOCAL_VIDEO].window,
             before[kd::sdk::KD_RENDER_LOCAL_VIDEO].window);
    QTRY_VERIFY_WITH_TIMEOUT(colourBarsSeen(QRect(local->pos(), local->size())) >= 5, kdtest::kStateWaitMs);
}

// The whiteboard's capture thread hangs in the engine while it hands a frame
// over: destroying the engine gives it a bounded time, says so in the log
// and leaves the thread to end by itself, deleted when it does.
void TestLayoutScreen::hungCaptureDoesNotHoldTheDestruction()
{
    m_frame = std::make_unique<CHostFrame>();
    m_frame->place(QRect(100, 80, 1284, 766));
    m_frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_frame.get()));
    CCallController::getInstance().dialOut("2002", QString(), true, QString());
    settle(g_control);

    // Shared with the capture thread, which may outlive a failed check here.
    struct Hang
    {
        QSemaphore entered;
        QSemaphore release;
        std::atomic<bool> hung{false};
    };
    const auto hang = std::make_shared<Hang>();
    g_control->setOperationListener([hang](const std::string &operation) {
        if (operation == "setLocalContentSource" && QThread::currentThread() != qApp->thread() &&
            !hang->hung.exchange(true)) {
            hang->entered.release();
            hang->release.tryAcquire(1, 30000);
        }
    });
    const auto letGo = qScopeGuard([hang] {
        hang->release.release();
        g_control->setOperationListener(nullptr);
    });
    // The engine's event for a whiteboard this side started sending.
    g_control->raise([](kd::engine::IAVEventHandler &handler) {
        kd::engine::KDContentInfo info;
        info.enabled = true;
        info.dir = 0;
        info.type = kd::engine::KD_STREAM_WHITEBOARD;
        handler.onContent(info);
    });
    settle(g_control);
    CLayoutPeopleSettingDlg *engine = m_frame->engine;
    QCOMPARE(engine->getLayoutMode(), enums::LayoutMode_LocalWhiteBoard);
    QPointer<kd_app::models::ScreenThread> capture = engine->getScreenThread();
    QVERIFY(capture);
    QTRY_VERIFY_WITH_TIMEOUT(hang->entered.available() == 1, kdtest::kStateWaitMs);

    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("screen capture did not end within 3000 ms"));
    QElapsedTimer clock;
    clock.start();
    delete m_frame->engine;
    m_frame->engine = nullptr;
    const qint64 waited = clock.elapsed();
    const qint64 bound = qint64(CLayoutPeopleSettingDlg::CAPTURE_STOP_TIMEOUT_MS);
    QVERIFY2(waited >= bound - 100, QByteArray::number(waited));
    // The hung capture holds for 30 s: anything well short of that shows the
    // destruction went on without it, also on a busy machine.
    QVERIFY2(waited < bound + 15000, QByteArray::number(waited));
    QVERIFY(capture);

    // Let go, the thread ends and goes.
    hang->release.release();
    QTRY_VERIFY_WITH_TIMEOUT(capture.isNull(), kdtest::kStateWaitMs);
}

// A pointer resting on the bar is about to click it: the bar waits for it
// however long it rests, and hides once it has gone.
void TestLayoutScreen::toolbarStaysUnderThePointer()
{
    showCall();
    CLayoutPeopleSettingDlg *engine = m_frame->engine;
    engine->showToolbar();
    QVERIFY(m_frame->toolbar->isVisible());
    QVERIFY(xdoinput::moveTo(m_frame->toolbar, QPoint(m_frame->toolbar->width() - 40, 30)));
    // The pointer rests on the bar; from now on the bar's time is short.
    engine->setToolbarHideInterval(200);
    engine->showToolbar();
    QSignalSpy ticks(&engine->toolbarHideTimer(), &QTimer::timeout);
    QTRY_VERIFY_WITH_TIMEOUT(ticks.count() >= 3, kdtest::kStateWaitMs);
    QVERIFY(m_frame->toolbar->isVisible());

    QVERIFY(xdoinput::moveTo(engine->getRemoteCell()));
    QTRY_VERIFY_WITH_TIMEOUT(!m_frame->toolbar->isVisible(), kdtest::kStateWaitMs);
}

// A window the call opened over the video (the management window) stays
// over the strip when the strip comes forward again.
void TestLayoutScreen::stripStaysUnderTheCallsWindows()
{
    showCall();
    auto *strip = m_frame->engine->getFloatingCellsDlg();
    QVERIFY(strip->isVisible());
    auto *opened = new QWidget(nullptr);
    opened->setParent(m_frame->toolbar, Qt::SplashScreen | Qt::FramelessWindowHint);
    opened->setGeometry(QRect(strip->pos() - QPoint(100, 20), QSize(400, 300)));
    opened->show();
    QVERIFY(QTest::qWaitForWindowExposed(opened));
    opened->raise();
    QTRY_VERIFY(isStackedAbove(opened, strip));

    // The user hides the strip and shows it again.
    strip->setHide();
    emit m_frame->toolbar->sigOnShowPicture();
    QVERIFY(strip->isVisible());
    QTRY_VERIFY(isStackedAbove(strip, m_frame->engine->getRemoteCell()));
    QVERIFY(isStackedAbove(opened, strip));
    QVERIFY(isStackedAbove(opened, m_frame->engine->getLocalCell()));
    // The layout restacks when the bar shows.
    m_frame->engine->showToolbar();
    QVERIFY(isStackedAbove(opened, strip));
}

// Only for a person to look at: the layout in each mode, kept in the folder
// KD_LAYOUT_SHOTS names.
void TestLayoutScreen::screenshots()
{
    if (qEnvironmentVariableIsEmpty("KD_LAYOUT_SHOTS")) {
        QSKIP("KD_LAYOUT_SHOTS names no folder");
    }
    const bool compositor = qEnvironmentVariableIsSet("KD_LAYOUT_SHOTS_COMPOSITOR");
    startCompositor(compositor);
    const QString suffix =
        QString("%1-%2").arg(compositor ? "composited" : "shaped", qEnvironmentVariable("QT_FONT_DPI", "96"));
    // Signed in at a server that gives whiteboard tokens, so that a
    // whiteboard received shows in the layout (mode 4).
    CTokenServer tokens;
    CAlertAnswerer answerer(QMessageBox::Ok, 10);
    resetClient(g_control);
    CLoginManager &login = CLoginManager::getInstance();
    QVERIFY(login.login("127.0.0.1", false, tokens.port(), "alice", "secret"));
    QTRY_COMPARE(login.getLoginStatus(), enums::LoggedIn);
    settle(g_control);
    m_frame = std::make_unique<CHostFrame>();
    m_frame->place(QRect(100, 80, 1284, 766));
    m_frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_frame.get()));
    CLayoutPeopleSettingDlg *engine = m_frame->engine;
    CCallController::getInstance().dialOut("2002", QString(), true, QString());
    settle(g_control);
    const auto shot = [&](const QString &name) {
        QTest::qWait(600);
        keepShot(name + "-" + suffix);
    };
    shot("mode0");
    emit m_frame->toolbar->sigOnShowPicture();
    // The strip dragged down to the bar's corner makes way for the bar.
    auto *strip = engine->getFloatingCellsDlg();
    strip->move(m_frame->geometry().right() - strip->width(), m_frame->geometry().bottom() - strip->height());
    engine->showToolbar();
    emit m_frame->toolbar->sigIsLocalMicEnabled(false);
    shot("mode0-muted-toolbar");
    g_control->injectRemoteContent(true, false, "A participant with a very long name indeed, longer than any cell");
    settle(g_control);
    shot("mode2-longname");
    emit m_frame->toolbar->sigChangeLayoutMode(enums::LayoutMode_RemoteContentPreferred);
    shot("mode1");
    engine->setCompactMode(true);
    shot("compact");
    engine->setCompactMode(false);
    g_control->injectRemoteContent(false, false, "");
    settle(g_control);
    g_control->injectRemoteContent(true, true, "Ann");
    settle(g_control);
    kd::engine::KDWhiteBoardInfo board;
    board.server = "wb.test";
    CCallController::getInstance().slotOnWhiteBoardIndication(board);
    QTRY_COMPARE(engine->getLayoutMode(), enums::LayoutMode_RemoteWhiteBoardOnly);
    emit m_frame->toolbar->sigOnShowPicture();
    shot("mode4");
    CCallController::getInstance().hangUp();
    settle(g_control);
    CCallController::getInstance().dialOut("2002", QString(), false, QString());
    settle(g_control);
    emit m_frame->toolbar->sigIsLocalMicEnabled(true);
    shot("mode7");
}

KD_OWN_XVFB_TEST_MAIN(TestLayoutScreen)
#include "tst_layoutscreen.moc"
