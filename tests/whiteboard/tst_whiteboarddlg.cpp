#include "statewait.h"
#include "ownxvfb.h"

#include <QApplication>
#include <QImage>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QtTest>

#include "alertanswerer.h"
#include "clientfixture.h"
#include "custom_controls/qmenubutton.h"
#include "screendpi.h"
#include "views/annotation/colorwidget.h"
#include "views/annotation/paintlistwidget.h"
#include "views/call/toolbar/ccontrolvolumewidget.h"
#include "views/web/cwebpageenginecustomization.h"
#include "webpagetest.h"
#include "views/whiteboard/whiteboarddlg.h"
#include "views/whiteboard/whiteboardselectbgwidget.h"
#include "views/whiteboard/whiteboardtopwidget.h"
#include "views/whiteboard/whiteboardwebwidget.h"

using namespace fixture;
using kd_app::views::ColorWidget;
using kd_app::views::PaintListWidget;
using kd_app::views::WhiteBoardDlg;
using kd_app::views::WhiteBoardTopWidget;

namespace {

// A page that keeps every board command it is given, in order, and shows a
// black bar where a snapshot must find it.
const char kRecordingPage[] = R"(<html><body style="margin:0;background:#ffffff">
<div style="position:absolute;left:100px;top:300px;width:600px;height:16px;background:#000000"></div>
<script>
window.calls = [];
['changeColor', 'lineWight', 'pencil', 'eraser', 'undoLastOperation', 'clearProject', 'changeBackground',
 'startBoard', 'disconnect'].forEach(function (name) {
    window[name] = function () {
        var args = Array.prototype.map.call(arguments, function (a) {
            return typeof a === 'string' ? "'" + a + "'" : String(a);
        });
        window.calls.push(name + '(' + args.join(',') + ')');
    };
});
window.recording = true;
</script></body></html>)";

const QString kBlack = QStringLiteral("changeColor('{\"r\":0,\"g\":0,\"b\":0,\"a\":1}')");
const QString kYellow = QStringLiteral("changeColor('{\"r\":255,\"g\":252,\"b\":0,\"a\":1}')");

template <typename T> T *child(QObject *parent, const char *name)
{
    T *found = parent->findChild<T *>(QLatin1String(name));
    if (!found) {
        qFatal("no child %s", name);
    }
    return found;
}

// Puts the recording page in place of whatever the window loaded.
bool record(WhiteBoardDlg *dlg)
{
    QWebEnginePage *page = dlg->webWidget()->currentPage();
    if (!page) {
        return false;
    }
    page->setHtml(QString::fromLatin1(kRecordingPage));
    return QTest::qWaitFor([page] { return runScript(page, "window.recording === true").toBool(); }, 15000);
}

QStringList commands(WhiteBoardDlg *dlg)
{
    return runScript(dlg->webWidget()->currentPage(), "window.calls").toStringList();
}

void clearCommands(WhiteBoardDlg *dlg)
{
    runScript(dlg->webWidget()->currentPage(), "window.calls = []; true");
}

} // namespace

// The whiteboard window on a private X server of 1920 x 1040, as the layout
// engine shows it: tools as page commands, pickers and menu placement,
// sizes, roles, snapshots and stopping.
class TestWhiteBoardDlg : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void tools_data();
    void tools();
    void pickerToggles_data();
    void pickerToggles();
    void pickerPlacement_data();
    void pickerPlacement();
    void menuPosition_data();
    void menuPosition();
    void sizes_data();
    void sizes();
    void roleSwitches();
    void exitHidesTheMenuOnly();
    void firstShowPaints();
    void popupsCloseOnDeactivation();
    void pressOnThePageClosesPickers();
    void titleBarButtons();
    void snapshot_data();
    void snapshot();
    void stop_data();
    void stop();

private:
    WhiteBoardDlg *makeSender();

    QTemporaryDir m_appData;
    QTemporaryDir m_pictures;
    kd::sdk::IEngineControl *m_control = nullptr;
    QPointer<WhiteBoardDlg> m_dlg;
};

void TestWhiteBoardDlg::initTestCase()
{
    QVERIFY(m_appData.isValid());
    QVERIFY(m_pictures.isValid());
    m_control = startClient(m_appData);
    QVERIFY(m_control);
    QCOMPARE(QGuiApplication::primaryScreen()->availableGeometry(), QRect(0, 0, 1920, 1040));
}

void TestWhiteBoardDlg::init()
{
    CUserConfigUtils::getInstance()->setScreenPicPath(m_pictures.path());
    CUserConfigUtils::getInstance()->setAutoCaptureWin(false);
}

void TestWhiteBoardDlg::cleanup()
{
    delete m_dlg;
    QCoreApplication::processEvents();
}

WhiteBoardDlg *TestWhiteBoardDlg::makeSender()
{
    m_dlg = new WhiteBoardDlg(nullptr);
    m_dlg->updateWebPage();
    m_dlg->isSendWhiteBoard(true);
    m_dlg->show();
    return m_dlg;
}

// ---- tools ----------------------------------------------------------------

void TestWhiteBoardDlg::tools_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("pen: size, colour, tool") << "pen" << QStringList{"lineWight(1)", kBlack, "pencil('pencil')"};
    QTest::newRow("marker: size, colour, tool")
        << "marker" << QStringList{"lineWight(1)", kYellow, "pencil('nitePen')"};
    QTest::newRow("pen options arrow sends what the pen sends")
        << "pen arrow" << QStringList{"lineWight(1)", kBlack, "pencil('pencil')"};
    QTest::newRow("pen size 12") << "pen size 4" << QStringList{"lineWight(4)"};
    QTest::newRow("marker size 8") << "marker size 2" << QStringList{"lineWight(2)"};
    QTest::newRow("marker size 12") << "marker size 3" << QStringList{"lineWight(3)"};
    QTest::newRow("pen red") << "pen colour 6" << QStringList{"changeColor('{\"r\":255,\"g\":0,\"b\":0,\"a\":1}')"};
    QTest::newRow("marker pink, alpha not sent")
        << "marker colour 7" << QStringList{"changeColor('{\"r\":255,\"g\":172,\"b\":213,\"a\":1}')"};
    QTest::newRow("eraser") << "eraser" << QStringList{"eraser()"};
    QTest::newRow("undo") << "revoke" << QStringList{"undoLastOperation()"};
    QTest::newRow("clear") << "clear" << QStringList{"clearProject()"};
    QTest::newRow("black background") << "black" << QStringList{"changeBackground('black')"};
    QTest::newRow("white background") << "white" << QStringList{"changeBackground('white')"};
}

void TestWhiteBoardDlg::tools()
{
    QFETCH(QString, action);
    QFETCH(QStringList, expected);

    WhiteBoardDlg *dlg = makeSender();
    QVERIFY(record(dlg));
    ColorWidget *picker = dlg->colorPicker();
    PaintListWidget *menu = dlg->toolMenu();
    // Sizes and colours are chosen in the mode of their tool first.
    if (action.startsWith("marker ")) {
        emit menu->nitePenClicked();
    }
    clearCommands(dlg);
    picker->show();
    dlg->backgroundPicker()->show();

    const QString argument = action.section(' ', -1);
    if (action == "pen") {
        emit menu->penClicked();
    } else if (action == "marker") {
        emit menu->nitePenClicked();
    } else if (action == "pen arrow") {
        picker->hide();
        emit menu->selectPenClicked();
    } else if (action.contains("size")) {
        const int index = argument.toInt();
        QMetaObject::invokeMethod(picker, qPrintable(QString("onButtonSize%1Clicked").arg(index)));
    } else if (action.contains("colour")) {
        const char *const colourSlots[] = {"onClickedBlackColor", "onClickedWhiteColor",  "onClickedBlueColor",
                                           "onClickedGreenColor", "onClickedYellowColor", "onClickedOrangleColor",
                                           "onClickedRedColor",   "onClickedPurpleColor"};
        QMetaObject::invokeMethod(picker, colourSlots[argument.toInt()]);
    } else if (action == "eraser") {
        emit menu->eraserClicked();
    } else if (action == "revoke") {
        emit menu->revokeClicked();
    } else if (action == "clear") {
        emit menu->clearClicked();
    } else if (action == "black") {
        emit dlg->backgroundPicker()->sigClickedBlackBtn();
    } else if (action == "white") {
        emit dlg->backgroundPicker()->sigClickedWhiteBtn();
    }
    QTRY_COMPARE(commands(dlg).join(" ; "), expected.join(" ; "));
    // A tool closes the pickers; the pen's arrow opens the colour picker.
    const bool tool = !action.contains("size") && !action.contains("colour") && action != "black" && action != "white";
    if (tool) {
        QCOMPARE(picker->isVisible(), action == "pen arrow");
        QVERIFY(!dlg->backgroundPicker()->isVisible());
    }
}

void TestWhiteBoardDlg::pickerToggles_data()
{
    QTest::addColumn<QString>("entry");

    QTest::newRow("pen options") << "pen";
    QTest::newRow("marker options") << "marker";
    QTest::newRow("background") << "background";
}

void TestWhiteBoardDlg::pickerToggles()
{
    QFETCH(QString, entry);

    WhiteBoardDlg *dlg = makeSender();
    PaintListWidget *menu = dlg->toolMenu();
    QWidget *picker = entry == "background" ? static_cast<QWidget *>(dlg->backgroundPicker()) : dlg->colorPicker();
    QWidget *other = entry == "background" ? static_cast<QWidget *>(dlg->colorPicker()) : dlg->backgroundPicker();
    const auto click = [menu, &entry] {
        if (entry == "pen") {
            emit menu->selectPenClicked();
        } else if (entry == "marker") {
            emit menu->selectNitePenClicked();
        } else {
            emit menu->bgClicked();
        }
    };
    other->show();
    click();
    QVERIFY(picker->isVisible());
    QVERIFY(!other->isVisible());
    QCOMPARE(picker->parentWidget(), dlg);
    QCOMPARE(picker->windowType(), Qt::SplashScreen);
    if (entry != "background") {
        QCOMPARE(dlg->colorPicker()->m_bMarkerMode, entry == "marker");
    }
    click();
    QVERIFY(!picker->isVisible());
}

void TestWhiteBoardDlg::pickerPlacement_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<int>("menuY"); // the screen's available height is 1040
    QTest::addColumn<bool>("above");

    for (const char *entry : {"pen", "marker", "background"}) {
        QTest::addRow("%s, menu in the upper half", entry) << entry << 100 << false;
        QTest::addRow("%s, menu at exactly half", entry) << entry << 520 << false;
        QTest::addRow("%s, menu just below half", entry) << entry << 521 << true;
        QTest::addRow("%s, menu at the bottom", entry) << entry << 900 << true;
    }
}

void TestWhiteBoardDlg::pickerPlacement()
{
    QFETCH(QString, entry);
    QFETCH(int, menuY);
    QFETCH(bool, above);

    WhiteBoardDlg *dlg = makeSender();
    PaintListWidget *menu = dlg->toolMenu();
    menu->move(300, menuY);
    QWidget *picker = dlg->colorPicker();
    int entryX = menu->m_nPenBgX;
    if (entry == "pen") {
        emit menu->selectPenClicked();
    } else if (entry == "marker") {
        entryX = menu->m_nNitePenBgX;
        emit menu->selectNitePenClicked();
    } else {
        picker = dlg->backgroundPicker();
        entryX = menu->m_nBgBtnX;
        emit menu->bgClicked();
    }
    QVERIFY(picker->isVisible());
    const QPoint expected(300 + entryX, above ? menuY - picker->height() - 10 : menuY + menu->height() + 10);
    QTRY_COMPARE(picker->pos(), expected);
}

void TestWhiteBoardDlg::menuPosition_data()
{
    QTest::addColumn<bool>("sender");
    QTest::addColumn<bool>("embedded");
    QTest::addColumn<double>("dpi");
    QTest::addColumn<bool>("wasSender");

    QTest::newRow("sender, under the toolbar") << true << false << 96.0 << false;
    QTest::newRow("sender at scale 2") << true << false << 192.0 << false;
    QTest::newRow("receiver, under the title bar") << false << false << 96.0 << false;
    QTest::newRow("receiver at scale 2") << false << false << 192.0 << false;
    QTest::newRow("embedded receiver, hidden title bar") << false << true << 96.0 << false;
    // The toolbar it kept is hidden: the menu goes under the title bar.
    QTest::newRow("receiver that was the sender") << false << false << 96.0 << true;
}

void TestWhiteBoardDlg::menuPosition()
{
    QFETCH(bool, sender);
    QFETCH(bool, embedded);
    QFETCH(double, dpi);
    QFETCH(bool, wasSender);

    ScopedScreenDpi screenDpi(dpi);
    const double s = dpi / 96.0;
    m_dlg = new WhiteBoardDlg(nullptr);
    WhiteBoardDlg *dlg = m_dlg;
    if (wasSender) {
        dlg->isSendWhiteBoard(true);
        dlg->show();
        QVERIFY(QTest::qWaitForWindowExposed(dlg));
        dlg->hide();
    }
    if (embedded) {
        dlg->setIsSeperateDlg(false);
        dlg->hideTitleBar();
        dlg->setFixedSize(900, 500);
        dlg->move(200, 150);
    }
    dlg->isSendWhiteBoard(sender);
    dlg->show();
    QVERIFY(QTest::qWaitForWindowExposed(dlg));
    PaintListWidget *menu = dlg->toolMenu();
    QVERIFY(menu->isVisible());
    const QPoint origin = dlg->mapToGlobal(QPoint(0, 0));
    const int top = sender ? dlg->getTopWidget()->height() : int(28 * s + 7 * s);
    QTRY_COMPARE(menu->pos(), QPoint(origin.x() + (dlg->width() - menu->width()) / 2, int(origin.y() + top + 10 * s)));
    if (sender) {
        QCOMPARE(dlg->getTopWidget()->height(), int(69 * s));
        // The toolbar sits centred at the top of the window.
        QCOMPARE(dlg->getTopWidget()->pos(), QPoint((dlg->width() - dlg->getTopWidget()->width()) / 2, 0));
        // The Drawing button brings a closed menu back to its place.
        menu->hide();
        menu->move(0, 0);
        QTest::mouseClick(child<QMenuButton>(dlg->getTopWidget(), "m_drawBtn"), Qt::LeftButton);
        QVERIFY(menu->isVisible());
        QCOMPARE(menu->pos(), QPoint(origin.x() + (dlg->width() - menu->width()) / 2, int(origin.y() + top + 10 * s)));
    }
}

// ---- window ---------------------------------------------------------------

void TestWhiteBoardDlg::sizes_data()
{
    QTest::addColumn<double>("dpi");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<int>("titleHeight");

    QTest::newRow("scale 1: 1280 x 748, centred") << 96.0 << QRect(320, 146, 1280, 748) << 28;
    QTest::newRow("scale 2: too big, the whole available area") << 192.0 << QRect(0, 0, 1920, 1040) << 56;
}

void TestWhiteBoardDlg::sizes()
{
    QFETCH(double, dpi);
    QFETCH(QRect, geometry);
    QFETCH(int, titleHeight);

    ScopedScreenDpi screenDpi(dpi);
    WhiteBoardDlg *dlg = makeSender();
    QVERIFY(QTest::qWaitForWindowExposed(dlg));
    QCOMPARE(dlg->stretchFactor(), dpi / 96.0);
    QCOMPARE(dlg->size(), geometry.size());
    QCOMPARE(dlg->minimumSize(), geometry.size());
    QTRY_COMPARE(dlg->frameGeometry(), geometry);
    QCOMPARE(child<QWidget>(dlg, "m_pWgtTitleBar")->height(), titleHeight);
    QCOMPARE(dlg->titleHeight(), titleHeight);

    // Shown again after it was moved: centred again.
    dlg->hide();
    dlg->move(10, 10);
    dlg->show();
    QTRY_COMPARE(dlg->frameGeometry(), geometry);
}

void TestWhiteBoardDlg::roleSwitches()
{
    m_dlg = new WhiteBoardDlg(nullptr);
    WhiteBoardDlg *dlg = m_dlg;
    QWidget *mouse = child<QWidget>(dlg->toolMenu(), "button_mouse");
    QWidget *exit = child<QWidget>(dlg->toolMenu(), "button_exit");

    dlg->isSendWhiteBoard(false);
    dlg->show();
    QVERIFY(!dlg->getTopWidget());
    QVERIFY(!mouse->isVisibleTo(dlg->toolMenu()));
    QVERIFY(!exit->isVisibleTo(dlg->toolMenu()));
    QVERIFY(dlg->windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(dlg->windowType(), Qt::Dialog);
    dlg->hide();

    QSignalSpy refresh(dlg, &WhiteBoardDlg::sigRefreshStatus);
    QSignalSpy manager(dlg, &WhiteBoardDlg::sigClickManagerButton);
    dlg->isSendWhiteBoard(true);
    dlg->show();
    QPointer<WhiteBoardTopWidget> toolbar = dlg->getTopWidget();
    QVERIFY(toolbar);
    QVERIFY(toolbar->isVisible());
    QCOMPARE(toolbar->parentWidget(), dlg);
    QVERIFY(!toolbar->isWindow());
    QVERIFY(!mouse->isVisibleTo(dlg->toolMenu()));
    QVERIFY(exit->isVisibleTo(dlg->toolMenu()));
    // Neither dialog nor pop-up: a plain window of its own.
    QCOMPARE(dlg->windowType(), Qt::Window);
    QVERIFY(dlg->windowFlags() & Qt::FramelessWindowHint);
    // The toolbar's signals come out of the window.
    QTest::mouseClick(child<QMenuButton>(toolbar, "m_muteBtn"), Qt::LeftButton);
    QVERIFY(refresh.count() > 0);
    toolbar->slotConfMngtVisible(true);
    QTest::mouseClick(child<QMenuButton>(toolbar, "m_managerBtn"), Qt::LeftButton);
    QCOMPARE(manager.count(), 1);
    dlg->hide();

    dlg->isSendWhiteBoard(false);
    dlg->show();
    QVERIFY(!toolbar->isVisible());
    dlg->hide();
    dlg->isSendWhiteBoard(true);
    dlg->show();
    QCOMPARE(dlg->getTopWidget(), toolbar.data());
    QVERIFY(toolbar->isVisible());
    QCOMPARE(dlg->findChildren<WhiteBoardTopWidget *>().size(), 1);
}

void TestWhiteBoardDlg::exitHidesTheMenuOnly()
{
    WhiteBoardDlg *dlg = makeSender();
    QSignalSpy hidden(dlg, &WhiteBoardDlg::sigHiddenWhiteBoard);
    dlg->colorPicker()->show();
    emit dlg->toolMenu()->exitClicked();
    QVERIFY(!dlg->toolMenu()->isVisible());
    QVERIFY(!dlg->colorPicker()->isVisible());
    QVERIFY(dlg->isVisible());
    QCOMPARE(hidden.count(), 0);

    // Hiding the window takes its floating windows with it; a show brings
    // the menu back.
    dlg->colorPicker()->show();
    dlg->hide();
    QVERIFY(!dlg->colorPicker()->isVisible());
    QVERIFY(!dlg->toolMenu()->isVisible());
    dlg->show();
    QVERIFY(dlg->toolMenu()->isVisible());
}

void TestWhiteBoardDlg::firstShowPaints()
{
    // The window is marked mapped before its first show; the X server must
    // still get its first picture.
    WhiteBoardDlg *dlg = makeSender();
    QVERIFY(QTest::qWaitForWindowExposed(dlg));
    QScreen *screen = QGuiApplication::primaryScreen();
    QTRY_VERIFY_WITH_TIMEOUT(screen->grabWindow(dlg->winId()).toImage().pixelColor(dlg->width() - 200, 14) ==
                                 QColor(0x31, 0x31, 0x31), kdtest::kStateWaitMs);
}

void TestWhiteBoardDlg::popupsCloseOnDeactivation()
{
    // Without a window manager nothing activates a splash window but the
    // toolbar itself; activating another window then closes the pop-up.
    WhiteBoardDlg *dlg = makeSender();
    QVERIFY(QTest::qWaitForWindowExposed(dlg));
    WhiteBoardTopWidget *toolbar = dlg->getTopWidget();
    QCursor::setPos(0, 1000);
    QTest::mouseClick(child<QMenuButton>(toolbar, "m_pBtnVolume"), Qt::LeftButton);
    QPointer<QWidget> popup = toolbar->volumePopup();
    QVERIFY(popup);
    QTRY_VERIFY(popup->isActiveWindow());
    dlg->activateWindow();
    QTRY_VERIFY(!toolbar->volumePopup());
    QTRY_VERIFY(!popup);
    QVERIFY(!toolbar->isPopupShown());
}

// As over shared content, a press on the board closes an open picker.
void TestWhiteBoardDlg::pressOnThePageClosesPickers()
{
    WhiteBoardDlg *dlg = makeSender();
    QVERIFY(QTest::qWaitForWindowExposed(dlg));
    QWebEngineView *view = dlg->webWidget()->webView();
    QTRY_VERIFY_WITH_TIMEOUT(view->focusProxy(), kPageRoundTripMs);
    for (QWidget *picker :
         {static_cast<QWidget *>(dlg->colorPicker()), static_cast<QWidget *>(dlg->backgroundPicker())}) {
        if (picker == dlg->colorPicker()) {
            dlg->onBtnSelectPenClicked();
        } else {
            dlg->onBtnBgClicked();
        }
        QVERIFY(picker->isVisible());
        QTest::mouseClick(view->focusProxy(), Qt::LeftButton, {}, view->focusProxy()->rect().center());
        QVERIFY(!picker->isVisible());
    }
}

void TestWhiteBoardDlg::titleBarButtons()
{
    WhiteBoardDlg *dlg = makeSender();
    auto *max = child<QPushButton>(dlg, "m_pBtnMax");
    auto *restore = child<QPushButton>(dlg, "m_pBtnRestore");
    QVERIFY(max->isVisible());
    QVERIFY(!restore->isVisible());
    QTest::mouseClick(max, Qt::LeftButton);
    QVERIFY(dlg->windowState() & Qt::WindowMaximized);
    QVERIFY(!max->isVisible());
    QVERIFY(restore->isVisible());
    QTest::mouseClick(restore, Qt::LeftButton);
    QVERIFY(!(dlg->windowState() & Qt::WindowMaximized));
    QVERIFY(max->isVisible());
    QVERIFY(!restore->isVisible());
    QTest::mouseClick(child<QPushButton>(dlg, "m_pBtnMin"), Qt::LeftButton);
    QVERIFY(dlg->windowState() & Qt::WindowMinimized);
}

// ---- snapshot and stop ----------------------------------------------------

void TestWhiteBoardDlg::snapshot_data()
{
    QTest::addColumn<bool>("writable");
    QTest::addColumn<QString>("message");

    QTest::newRow("saved") << true << "Save successfully";
    QTest::newRow("folder cannot be made") << false << "Save failed";
}

void TestWhiteBoardDlg::snapshot()
{
    QFETCH(bool, writable);
    QFETCH(QString, message);

    QTemporaryDir root;
    QString folder = root.filePath("shots/new");
    if (!writable) {
        // A file stands where the folder should be.
        QFile blocker(root.filePath("shots"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
    }
    CUserConfigUtils::getInstance()->setScreenPicPath(folder);
    WhiteBoardDlg *dlg = makeSender();
    QVERIFY(QTest::qWaitForWindowExposed(dlg));
    QVERIFY(record(dlg));
    // The page has painted its bar.
    const QPoint bar = child<QWidget>(dlg, "m_pLayout")->mapTo(dlg, QPoint(400, 308));
    QTRY_VERIFY_WITH_TIMEOUT(
        qGray(QGuiApplication::primaryScreen()->grabWindow(dlg->winId()).toImage().pixel(bar)) < 60, kdtest::kStateWaitMs);

    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    CAlertAnswerer answerer(QMessageBox::Yes);
    emit dlg->toolMenu()->sigSaveClicked();
    QCOMPARE(answerer.texts(), QStringList{message});
    QCOMPARE(answerer.titles(), QStringList{"Note"});

    const QStringList files = QDir(folder).entryList(QDir::Files);
    if (!writable) {
        QVERIFY(files.isEmpty());
        return;
    }
    QCOMPARE(files.size(), 1);
    const QRegularExpression name("^WhiteBoardshot_(\\d{4}-\\d\\d-\\d\\d_\\d\\d-\\d\\d-\\d\\d\\.\\d{3})\\.jpg$");
    const QRegularExpressionMatch match = name.match(files.first());
    QVERIFY2(match.hasMatch(), qPrintable(files.first()));
    const QDateTime stamp = QDateTime::fromString(match.captured(1), "yyyy-MM-dd_hh-mm-ss.zzz");
    QVERIFY(stamp >= before && stamp <= QDateTime::currentDateTime());
    QImage picture(QDir(folder).filePath(files.first()), "JPG");
    QCOMPARE(picture.size(), dlg->size());
    // The page's black bar is in the picture, the white board around it.
    QVERIFY(qGray(picture.pixel(bar)) < 60);
    QVERIFY(qGray(picture.pixel(bar + QPoint(0, 60))) > 200);
}

void TestWhiteBoardDlg::stop_data()
{
    QTest::addColumn<bool>("autoCapture");
    QTest::addColumn<bool>("confirmed");

    QTest::newRow("automatic capture") << true << true;
    QTest::newRow("no capture") << false << true;
    QTest::newRow("not confirmed") << true << false;
}

void TestWhiteBoardDlg::stop()
{
    QFETCH(bool, autoCapture);
    QFETCH(bool, confirmed);

    CUserConfigUtils::getInstance()->setAutoCaptureWin(autoCapture);
    WhiteBoardDlg *dlg = makeSender();
    QVERIFY(QTest::qWaitForWindowExposed(dlg));
    QVERIFY(record(dlg));
    // The last tool was the marker: stopping goes back to the pen.
    emit dlg->toolMenu()->nitePenClicked();
    clearCommands(dlg);

    // What happened, in order: the box, the commands sent (seen by the
    // page in order), the signal.
    QStringList order;
    QPointer<WhiteBoardDlg> window = dlg;
    connect(dlg, &WhiteBoardDlg::sigHiddenWhiteBoard, this, [&order, window] {
        order << "hidden";
        // Every command is already on its way when the signal comes.
        order << QString::number(commands(window).size());
    });
    CAlertAnswerer answerer(confirmed ? QMessageBox::Yes : QMessageBox::No, 2);
    struct BoxWatcher : QObject
    {
        QStringList *order;
        WhiteBoardDlg *dlg;
        bool eventFilter(QObject *watched, QEvent *event) override
        {
            if (event->type() == QEvent::Show && qobject_cast<kd_app::views::AlertDlg *>(watched)) {
                *order << "box" << QString::number(commands(dlg).size());
            }
            return false;
        }
    } boxWatcher;
    boxWatcher.order = &order;
    boxWatcher.dlg = dlg;
    const QDir pictures(m_pictures.path());
    const int snapshotsBefore = pictures.entryList({"WhiteBoardshot_*.jpg"}, QDir::Files).size();
    qApp->installEventFilter(&boxWatcher);
    QTest::mouseClick(child<QMenuButton>(dlg->getTopWidget(), "m_closeBtn"), Qt::LeftButton);
    qApp->removeEventFilter(&boxWatcher);

    // Stopping asks first, as stopping a screen share does.
    QCOMPARE(answerer.texts().value(0), QStringLiteral("Are you sure to stop?"));
    const int snapshots = pictures.entryList({"WhiteBoardshot_*.jpg"}, QDir::Files).size() - snapshotsBefore;
    if (!confirmed) {
        QCOMPARE(order, QStringList({"box", "0"}));
        QCOMPARE(answerer.answered(), 1);
        QCOMPARE(commands(dlg), QStringList());
        QCOMPARE(snapshots, 0);
        QVERIFY(dlg->isVisible());
        return;
    }
    const QStringList expected = {"lineWight(1)", kBlack, "pencil('pencil')", "disconnect()"};
    QTRY_COMPARE(commands(dlg), expected);
    if (autoCapture) {
        QCOMPARE(order, QStringList({"box", "0", "box", "0", "hidden", "4"}));
        QCOMPARE(answerer.texts(), QStringList({"Are you sure to stop?", "Save successfully"}));
        QCOMPARE(snapshots, 1);
    } else {
        QCOMPARE(order, QStringList({"box", "0", "hidden", "4"}));
        QCOMPARE(answerer.answered(), 1);
    }
}

KD_OWN_XVFB_TEST_MAIN_OPTIONS(TestWhiteBoardDlg, ([] {
                                  OwnXvfb::Options options;
                                  options.screen = "1920x1040x24";
                                  return options;
                              }()))
#include "tst_whiteboarddlg.moc"
