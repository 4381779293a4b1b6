#include <QApplication>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QSet>
#include <QTimer>
#include <QtTest>

#include "statewait.h"
#include "demojoin.h"
#include "homefixture.h"
#include "ownxvfb.h"
#include "screenpixels.h"
#include "views/call/callinvitewidget.h"
#include "views/call/clayoutbackgrounddlg.h"
#include "views/call/clayoutcellcoverdlg.h"
#include "views/call/clayoutcelldlg.h"
#include "views/call/clayoutfloatingcellsdlg.h"
#include "views/call/clayoutpeoplesettingdlg.h"
#include "views/cmaindlgmanager.h"
#include "views/home/chomedlg.h"
#include "views/home/cjoinconfdlg.h"

using kd_app::views::CHomeDlg;
using kd_app::views::CLayoutCellDlg;
namespace enums = kd_app::enums;
using demojoin::callWindow;
using demojoin::calls;
using demojoin::control;
using demojoin::engine;
using demojoin::joinWhenAsked;
using screenpixels::colourBarsSeen;
using screenpixels::grabScreen;

namespace {

QRect onScreen(const QWidget *window)
{
    return QRect(window->pos(), window->size());
}

// The share of points on a grid over the rectangle that show coloured
// video: the far end's tiles and the content pattern are coloured, the
// frame, the cells' own background and a window left black are grey.
double videoShare(const QRect &rect)
{
    const QImage image = grabScreen(rect.adjusted(8, 8, -8, -8));
    if (image.isNull()) {
        return 0;
    }
    int coloured = 0;
    int points = 0;
    for (int row = 0; row < 12; ++row) {
        for (int column = 0; column < 12; ++column) {
            const QColor colour =
                image.pixelColor(image.width() * (2 * column + 1) / 24, image.height() * (2 * row + 1) / 24);
            ++points;
            if (colour.saturation() >= 50 && colour.value() >= 50) {
                ++coloured;
            }
        }
    }
    return double(coloured) / points;
}

// Whether the picture there moves: a window raised over the video without
// painting its own background leaves the last frame on the screen.
bool moves(const QRect &rect)
{
    const QImage before = grabScreen(rect);
    QTest::qWait(300);
    return grabScreen(rect) != before;
}

bool showsFarEnd(const CLayoutCellDlg *cell)
{
    const QRect rect = onScreen(cell);
    return cell->isVisible() && videoShare(rect) > 0.6 && moves(rect);
}

bool showsLocalPicture(const CLayoutCellDlg *cell)
{
    const QRect rect = onScreen(cell);
    return cell->isVisible() && colourBarsSeen(rect) >= 5 && moves(rect);
}

// With KD_CALL_VIDEO_SHOTS naming a folder, the screen is kept there for a look.
void keepShot(const QString &name)
{
    const QString folder = qEnvironmentVariable("KD_CALL_VIDEO_SHOTS");
    if (!folder.isEmpty()) {
        QDir().mkpath(folder);
        grabScreen(QGuiApplication::primaryScreen()->geometry()).save(folder + "/" + name + ".png");
    }
}

// Raises the window through the X server, as a window manager or another
// program does, behind the toolkit's back.
bool raiseNatively(const QWidget *window)
{
    QProcess xdotool;
    xdotool.start("xdotool", {"windowraise", QString::number(window->winId())});
    return xdotool.waitForFinished(10000) && xdotool.exitCode() == 0;
}

} // namespace

// The video of a call as the program shows it: the real call window that
// the program's window manager builds, over a call joined from the home
// window against the local server, grabbed from the screen. The engine's
// counters only say frames were painted; the screen says whether a person
// sees them, also after the call window was brought forward.
class TestCallVideo : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void videoOnScreen_data();
    void videoOnScreen();
    void screenshots();

private:
    CHomeFixture m_fixture;
};

void TestCallVideo::initTestCase()
{
    QVERIFY(m_fixture.start(serverSeed("demo.json")));
    QVERIFY(m_fixture.signIn("demo", "Demo2026!", serverSeed("demo.json")));
    QTRY_VERIFY(CHomeDlg::getInstance()->isVisible());
    joinWhenAsked();
    CHomeDlg::getInstance()->slotJoinConf("80001", QString(), false, QString());
    QTRY_COMPARE_WITH_TIMEOUT(calls().getCallStatus(), enums::Connected, kdtest::kStateWaitMs);
    QTRY_VERIFY(callWindow()->isVisible());
    QVERIFY(QTest::qWaitForWindowExposed(callWindow()));
    // The first seconds of a call lay the windows out again and again (the
    // first ratings and participant lists): a window left under the frame
    // would not stay there long enough to be seen.
    auto *duration = callWindow()->findChild<QLabel *>("m_pLblCallDuration");
    QVERIFY(duration);
    // (At least: a slow turn of the event loop may pass over the third second.)
    QTRY_VERIFY_WITH_TIMEOUT(duration->text() >= QLatin1String("00:00:03"), kdtest::kStateWaitMs);
}

void TestCallVideo::cleanupTestCase()
{
    m_fixture.signOut();
}

void TestCallVideo::videoOnScreen_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("forward");
    for (int mode : {0, 2}) {
        for (const char *forward : {"none", "raise", "activate", "window system", "compact and back"}) {
            QTest::addRow("mode %d, %s", mode, forward) << mode << QString(forward);
        }
    }
}

void TestCallVideo::videoOnScreen()
{
    QFETCH(int, mode);
    QFETCH(QString, forward);
    const bool content = calls().getContentStreamStatus() == enums::ContentStreamStatus_ReceivingContentStarted;
    if ((mode == 2) != content) {
        control()->injectRemoteContent(mode == 2, false, "Carol Lee");
    }
    QTRY_COMPARE_WITH_TIMEOUT(int(engine()->getLayoutMode()), mode, kdtest::kStateWaitMs);

    if (forward == "raise") {
        callWindow()->raise();
    } else if (forward == "activate") {
        // What starting the program a second time does to the running one.
        kd_app::views::CMainDlgManager::getInstance()->receiveDuplicatedAppMessage("Activate");
    } else if (forward == "window system") {
        QVERIFY(raiseNatively(callWindow()));
    } else if (forward == "compact and back") {
        callWindow()->setCompactMode(true);
        QTRY_VERIFY(callWindow()->isCompactMode());
        callWindow()->setCompactMode(false);
    }
    // Compact mode hides the strip as the user would; the user shows it again.
    if (engine()->getFloatingCellsDlg()->getHideFlag()) {
        engine()->getFloatingCellsDlg()->slot_FloatingCellsDlg_Show();
    }

    if (!qEnvironmentVariableIsEmpty("KD_CALL_VIDEO_SHOTS")) {
        keepShot(QString("mode%1-%2").arg(mode).arg(QString(forward).replace(' ', '-')));
    }

    // Soon: the call's participants are polled every ten seconds, and each
    // answer lays the windows out again, which would hide a layout left
    // under the frame for that long; as much of that as a busy machine may
    // need, and no more.
    constexpr int SOON_MS = 9000;
    // The far end's video in its cell (in the layout in mode 0, in the
    // strip beside the content in mode 2), and the cell is the window the
    // engine paints into.
    CLayoutCellDlg *remote = engine()->getRemoteCell();
    QTRY_VERIFY_WITH_TIMEOUT(showsFarEnd(remote), SOON_MS);
    QCOMPARE(control()->renderStats()[kd::sdk::KD_RENDER_REMOTE_VIDEO].window, uint64_t(remote->getVideoWinId()));
    if (mode == 2) {
        CLayoutCellDlg *contentCell = engine()->getContentCell();
        QVERIFY(contentCell);
        QTRY_VERIFY_WITH_TIMEOUT(showsFarEnd(contentCell), SOON_MS);
        QCOMPARE(control()->renderStats()[kd::sdk::KD_RENDER_REMOTE_CONTENT].window,
                 uint64_t(contentCell->getVideoWinId()));
    }
    QTRY_VERIFY_WITH_TIMEOUT(showsLocalPicture(engine()->getLocalCell()), SOON_MS);
}

// Only for a person to look at: the compact bar, full screen and an
// incoming call, kept in the folder KD_CALL_VIDEO_SHOTS names.
void TestCallVideo::screenshots()
{
    if (qEnvironmentVariableIsEmpty("KD_CALL_VIDEO_SHOTS")) {
        QSKIP("KD_CALL_VIDEO_SHOTS names no folder");
    }
    const QString scale = qEnvironmentVariable("QT_FONT_DPI", "96");
    const auto shot = [&scale](const QString &name) {
        QTest::qWait(800);
        keepShot(name + "-" + scale);
    };
    if (calls().getContentStreamStatus() == enums::ContentStreamStatus_ReceivingContentStarted) {
        control()->injectRemoteContent(false, false, "Carol Lee");
    }
    QTRY_COMPARE(int(engine()->getLayoutMode()), 0);
    callWindow()->setCompactMode(true);
    shot("compact");
    callWindow()->setCompactMode(false);
    callWindow()->slotOnWinFullScreen();
    engine()->showToolbar();
    shot("fullscreen");
    callWindow()->slotOnWinFullScreenExit();

    calls().hangUp();
    QTRY_COMPARE(calls().getCallStatus(), enums::Ended);
    control()->injectIncomingCall("Carol Lee", "80001", false);
    QTRY_VERIFY(callWindow()->getCallInviteWidget()->isVisible());
    shot("incoming");
    callWindow()->slotOncallInviteHangup();
}

KD_OWN_XVFB_TEST_MAIN(TestCallVideo)

#include "tst_callvideo.moc"
