#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QSemaphore>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QToolButton>
#include <QtTest>

#include "statewait.h"
#include "clientfixture.h"
#include "custom_controls/button_share.h"
#include "custom_controls/qmenubutton.h"
#include "lightextent.h"
#include "models/clinguist.h"
#include "views/call/toolbar/ccontrolvolumewidget.h"
#include "views/call/toolbar/menuaudiowidget.h"
#include "views/call/toolbar/menuvideowidget.h"
#include "views/settings/ccontainersettingsformwidget.h"
#include "views/whiteboard/whiteboardtopwidget.h"

using namespace fixture;
using kd_app::models::CLinguist;
using kd_app::views::CContainerSettingsFormWidget;
using kd_app::views::menuAudioWidget;
using kd_app::views::menuVideoWidget;
using kd_app::views::WhiteBoardTopWidget;

namespace {

template <typename T> T *child(QObject *parent, const char *name)
{
    T *found = parent->findChild<T *>(QLatin1String(name));
    if (!found) {
        qFatal("no child %s", name);
    }
    return found;
}

const QString kDrawing = QStringLiteral(":/resources/images/ScreenDrawing/");
const QString kOperationBar = QStringLiteral(":/resources/images/layout-operationbar/");

void hoverTab(WhiteBoardTopWidget *toolbar)
{
    QEvent enter(QEvent::Enter);
    QCoreApplication::sendEvent(child<Button_share>(toolbar, "m_shareBtnView"), &enter);
}

// The page under the toolbar, as the whiteboard window has it.
class CBoardStandIn : public QWidget
{
public:
    using QWidget::QWidget;
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent *) override { ++presses; }
};

// Clicks what lies at the global point of the window, as the pointer would.
void clickAt(QWidget *window, const QPoint &global)
{
    QWidget *target = window->childAt(window->mapFromGlobal(global));
    QVERIFY(target);
    QTest::mouseClick(target, Qt::LeftButton, {}, target->mapFromGlobal(global));
}

// Lets the controllability question and its answer's delivery finish.
void settleControllability()
{
    QThreadPool::globalInstance()->waitForDone();
    QCoreApplication::sendPostedEvents();
}

} // namespace

// The whiteboard sender toolbar on the offscreen platform, inside a window
// as the whiteboard window holds it, against the engine's model.
class TestWhiteBoardTopWidget : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void buttonsFollowTheEngine_data();
    void buttonsFollowTheEngine();
    void speakerVolume_data();
    void speakerVolume();
    void signalsOfTheButtons();
    void showPip();
    void folding();
    void unfoldingClickPressesNoButton();
    void foldingClickDrawsNothing();
    void popups_data();
    void popups();
    void settingsPopupPages_data();
    void settingsPopupPages();
    void controllability_data();
    void controllability();
    void answerAfterTheToolbarIsGone();
    void scale_data();
    void scale();
    void languageSwitch();

private:
    WhiteBoardTopWidget *makeToolbar();

    QTemporaryDir m_appData;
    kd::sdk::IEngineControl *m_control = nullptr;
    QPointer<QWidget> m_window;
};

void TestWhiteBoardTopWidget::initTestCase()
{
    QVERIFY(m_appData.isValid());
    m_control = startClient(m_appData);
    QVERIFY(m_control);
}

void TestWhiteBoardTopWidget::init()
{
    QCursor::setPos(QGuiApplication::primaryScreen()->geometry().center());
    CCallController::enableMic(true);
    CCallController::enableCamera(true);
    m_control->clearOperations();
}

void TestWhiteBoardTopWidget::cleanup()
{
    delete m_window;
    settleControllability();
    QCoreApplication::processEvents();
}

WhiteBoardTopWidget *TestWhiteBoardTopWidget::makeToolbar()
{
    m_window = new QWidget;
    m_window->resize(1280, 748);
    auto *toolbar = new WhiteBoardTopWidget(m_window);
    m_window->show();
    toolbar->show();
    toolbar->onDpiChanged(1.0);
    return toolbar;
}

// ---- state ------------------------------------------------------------

void TestWhiteBoardTopWidget::buttonsFollowTheEngine_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("on");         // the engine's state before the click
    QTest::addColumn<QString>("failing"); // the engine refuses this switch
    QTest::addColumn<QString>("captionOn");
    QTest::addColumn<QString>("captionOff");
    QTest::addColumn<QString>("iconOn");
    QTest::addColumn<QString>("iconOff");

    const QString mic[] = {"Mute", "Unmute", "icon_toolbar_unmute.png", "icon_toolbar_mute.png"};
    const QString cam[] = {"Stop Video", "Enable Video", "icon_toolbar_unmute-camera.png",
                           "icon_toolbar_mute-camera.png"};
    QTest::newRow("microphone on, mute it") << "m_muteBtn" << true << "" << mic[0] << mic[1] << mic[2] << mic[3];
    QTest::newRow("microphone off, open it") << "m_muteBtn" << false << "" << mic[0] << mic[1] << mic[2] << mic[3];
    QTest::newRow("microphone switch refused")
        << "m_muteBtn" << true << "enableMic" << mic[0] << mic[1] << mic[2] << mic[3];
    QTest::newRow("camera on, stop it") << "m_cameraBtn" << true << "" << cam[0] << cam[1] << cam[2] << cam[3];
    QTest::newRow("camera off, start it") << "m_cameraBtn" << false << "" << cam[0] << cam[1] << cam[2] << cam[3];
    QTest::newRow("camera switch refused")
        << "m_cameraBtn" << false << "enableCamera" << cam[0] << cam[1] << cam[2] << cam[3];
}

void TestWhiteBoardTopWidget::buttonsFollowTheEngine()
{
    QFETCH(QString, button);
    QFETCH(bool, on);
    QFETCH(QString, failing);
    QFETCH(QString, captionOn);
    QFETCH(QString, captionOff);
    QFETCH(QString, iconOn);
    QFETCH(QString, iconOff);

    const bool mic = button == QLatin1String("m_muteBtn");
    const auto engineState = [mic] {
        return mic ? CCallController::isMicEnabled() : CCallController::isCameraEnabled();
    };
    if (mic) {
        CCallController::enableMic(on);
    } else {
        CCallController::enableCamera(on);
    }
    QCOMPARE(engineState(), on);

    WhiteBoardTopWidget *toolbar = makeToolbar();
    auto *menuButton = child<QMenuButton>(toolbar, qPrintable(button));
    // The active (red) look stands for "off".
    QCOMPARE(menuButton->m_bActive, !on);
    QCOMPARE(menuButton->text(), on ? captionOn : captionOff);
    QCOMPARE(menuButton->shownIcon(), kDrawing + (on ? iconOn : iconOff));

    QSignalSpy refreshed(toolbar, &WhiteBoardTopWidget::sigRefreshStatus);
    if (!failing.isEmpty()) {
        m_control->failNext(failing.toStdString(), kd::sdk::KD_ERR_GENERIC);
        if (mic) {
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Failed to enableMic: true"));
        }
    }
    QTest::mouseClick(menuButton, Qt::LeftButton);
    const bool expected = failing.isEmpty() ? !on : on;
    QCOMPARE(engineState(), expected);
    // The button shows what the engine holds, refused or not.
    QCOMPARE(menuButton->m_bActive, !expected);
    QCOMPARE(menuButton->text(), expected ? captionOn : captionOff);
    QCOMPARE(menuButton->shownIcon(), kDrawing + (expected ? iconOn : iconOff));
    QCOMPARE(refreshed.count(), 1);

    // The engine's own report of a muted microphone is shown too.
    if (mic) {
        CCallController::enableMic(!expected);
        emit CKDSdkManager::getInstance()->eventMicMutedShow(expected);
        QCOMPARE(menuButton->text(), !expected ? captionOn : captionOff);
    }
}

void TestWhiteBoardTopWidget::speakerVolume_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("mute");
    QTest::addColumn<QString>("icon");
    QTest::addColumn<bool>("active");

    QTest::newRow("speaker muted") << 1 << 1 << "icon_volumeoff.png" << true;
    QTest::newRow("speaker unmuted") << 1 << 0 << "icon_volume_pop.png" << false;
    QTest::newRow("microphone muted is not the speaker") << 0 << 1 << "icon_volume_pop.png" << false;
}

void TestWhiteBoardTopWidget::speakerVolume()
{
    QFETCH(int, type);
    QFETCH(int, mute);
    QFETCH(QString, icon);
    QFETCH(bool, active);

    WhiteBoardTopWidget *toolbar = makeToolbar();
    auto *volume = child<QMenuButton>(toolbar, "m_pBtnVolume");
    kd::engine::KDVolume value;
    value.mute = mute;
    value.volume = 1.5f;
    emit CKDSdkManager::getInstance()->eventVolume(kd::engine::KD_DEVICE_TYPE(type), value);
    QCOMPARE(volume->shownIcon(), kOperationBar + icon);
    QCOMPARE(volume->m_bActive, active);
    QCOMPARE(volume->text(), QStringLiteral("Volume"));

    // A click reads the speaker from the engine, whatever the event said.
    CKDSdkManager *sdk = CKDSdkManager::getInstance();
    kd::engine::KDVolume muted;
    muted.mute = 1;
    muted.volume = 1.5f;
    kd::engine::KDVolume unmuted = muted;
    unmuted.mute = 0;
    sdk->setVolume(kd::engine::KD_DEVICE_SPEAKER, muted);
    QTest::mouseClick(volume, Qt::LeftButton);
    QCOMPARE(volume->shownIcon(), kOperationBar + "icon_volumeoff.png");
    QVERIFY(volume->m_bActive);
    QVERIFY(toolbar->volumePopup());
    sdk->setVolume(kd::engine::KD_DEVICE_SPEAKER, unmuted);
    QPointer<QWidget> popup = toolbar->volumePopup();
    // A second click while it is open only refreshes the button.
    QTest::mouseClick(volume, Qt::LeftButton);
    QCOMPARE(volume->shownIcon(), kOperationBar + "icon_volume_pop.png");
    QVERIFY(!volume->m_bActive);
    QCOMPARE(static_cast<QWidget *>(toolbar->volumePopup()), popup.data());
}

void TestWhiteBoardTopWidget::signalsOfTheButtons()
{
    WhiteBoardTopWidget *toolbar = makeToolbar();
    auto *close = child<QMenuButton>(toolbar, "m_closeBtn");
    QCOMPARE(close->text(), QStringLiteral("Stop"));
    QVERIFY(close->m_bActive);
    QCOMPARE(child<QMenuButton>(toolbar, "m_drawBtn")->text(), QStringLiteral("Drawing"));

    QSignalSpy closed(toolbar, &WhiteBoardTopWidget::sigClose);
    QTest::mouseClick(close, Qt::LeftButton);
    QCOMPARE(closed.count(), 1);

    QSignalSpy tool(toolbar, &WhiteBoardTopWidget::sigOpenWhiteBoardTool);
    QTest::mouseClick(child<QMenuButton>(toolbar, "m_drawBtn"), Qt::LeftButton);
    QCOMPARE(tool.count(), 1);

    QSignalSpy manager(toolbar, &WhiteBoardTopWidget::sigClickedManagerButton);
    toolbar->slotConfMngtVisible(true);
    QTest::mouseClick(child<QMenuButton>(toolbar, "m_managerBtn"), Qt::LeftButton);
    QCOMPARE(manager.count(), 1);
}

void TestWhiteBoardTopWidget::showPip()
{
    WhiteBoardTopWidget *toolbar = makeToolbar();
    auto *showPic = child<QToolButton>(toolbar, "m_pBtnShowPic");
    QCOMPARE(showPic->text(), QStringLiteral("Show PIP"));
    toolbar->updateShowPicture(true);
    QVERIFY(showPic->isVisible());
    QSignalSpy shown(toolbar, &WhiteBoardTopWidget::sigOnShowPicture);
    QTest::mouseClick(showPic, Qt::LeftButton);
    QCOMPARE(shown.count(), 1);
    QVERIFY(!showPic->isVisible());
    QVERIFY(!toolbar->isShowPictureVisible());
    toolbar->slotHidePicture();
    QVERIFY(showPic->isVisible());
}

void TestWhiteBoardTopWidget::folding()
{
    WhiteBoardTopWidget *toolbar = makeToolbar();
    auto *panel = child<QWidget>(toolbar, "PropertyWidget");
    auto *row = child<QWidget>(toolbar, "m_bg");
    const QRect before = toolbar->geometry();
    QCOMPARE(panel->height(), 69);

    hoverTab(toolbar);
    QVERIFY(toolbar->isFolded());
    QVERIFY(!row->isVisible());
    QCOMPARE(panel->height(), 15);
    QCOMPARE(toolbar->height(), 15);
    QCOMPARE(toolbar->pos(), before.topLeft());
    QCOMPARE(toolbar->width(), before.width());
    // Beside the panel the page takes the mouse.
    QVERIFY(!toolbar->mask().contains(QPoint(2, 2)));
    QVERIFY(toolbar->mask().contains(panel->geometry().center()));

    hoverTab(toolbar);
    QVERIFY(!toolbar->isFolded());
    QVERIFY(row->isVisible());
    QCOMPARE(toolbar->height(), 69);

    // Not while a pop-up is open; after it closed, the next entry folds.
    QTest::mouseClick(child<QWidget>(toolbar, "m_pBtnSelectMicUp"), Qt::LeftButton);
    QVERIFY(toolbar->isPopupShown());
    hoverTab(toolbar);
    QVERIFY(!toolbar->isFolded());
    QWidget *menu = toolbar->audioMenu();
    QCursor::setPos(menu->geometry().bottomRight() + QPoint(40, 40));
    QEvent deactivate(QEvent::WindowDeactivate);
    QCoreApplication::sendEvent(menu, &deactivate);
    hoverTab(toolbar);
    QVERIFY(toolbar->isFolded());

    // A change of scale unfolds.
    toolbar->onDpiChanged(1.0);
    QVERIFY(!toolbar->isFolded());
}

// The pointer rests on the folded tab, which unfolds the toolbar under it:
// the click meant for the tab presses no button now lying there, the next
// one does.
void TestWhiteBoardTopWidget::unfoldingClickPressesNoButton()
{
    WhiteBoardTopWidget *toolbar = makeToolbar();
    toolbar->slotConfMngtVisible(true);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    auto *tab = child<Button_share>(toolbar, "m_shareBtnView");
    hoverTab(toolbar);
    QVERIFY(toolbar->isFolded());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    const QPoint spot = tab->mapToGlobal(tab->rect().center());
    QCursor::setPos(spot);
    hoverTab(toolbar);
    QVERIFY(!toolbar->isFolded());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QWidget *under = toolbar->childAt(toolbar->mapFromGlobal(spot));
    while (under && !qobject_cast<QAbstractButton *>(under)) {
        under = under->parentWidget();
    }
    auto *button = qobject_cast<QAbstractButton *>(under);
    QVERIFY2(button, "no button under the tab's place");
    QSignalSpy clicked(button, &QAbstractButton::clicked);

    QTest::mouseClick(button, Qt::LeftButton, {}, button->mapFromGlobal(spot));
    QCOMPARE(clicked.count(), 0);
    QTest::mouseClick(button, Qt::LeftButton, {}, button->mapFromGlobal(spot));
    QCOMPARE(clicked.count(), 1);
}

// Folding moves the tab up from under the resting pointer: the click meant
// for the tab draws nothing on the board now lying there.
void TestWhiteBoardTopWidget::foldingClickDrawsNothing()
{
    WhiteBoardTopWidget *toolbar = makeToolbar();
    auto *board = new CBoardStandIn(m_window);
    board->setGeometry(m_window->rect());
    board->show();
    board->lower();
    auto *tab = child<Button_share>(toolbar, "m_shareBtnView");
    const QPoint spot = tab->mapToGlobal(tab->rect().center());
    QCursor::setPos(spot);
    hoverTab(toolbar);
    QVERIFY(toolbar->isFolded());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QCOMPARE(m_window->childAt(m_window->mapFromGlobal(spot)), board);

    clickAt(m_window, spot);
    QCOMPARE(board->presses, 0);
    clickAt(m_window, spot);
    QCOMPARE(board->presses, 1);
}

void TestWhiteBoardTopWidget::popups_data()
{
    QTest::addColumn<QString>("button");

    QTest::newRow("microphone menu") << "m_pBtnSelectMicUp";
    QTest::newRow("camera menu") << "m_pBtnSelectCameraUp";
    QTest::newRow("volume") << "m_pBtnVolume";
}

void TestWhiteBoardTopWidget::popups()
{
    QFETCH(QString, button);

    WhiteBoardTopWidget *toolbar = makeToolbar();
    QWidget *opener = child<QWidget>(toolbar, qPrintable(button));
    const auto popup = [toolbar, &button]() -> QWidget * {
        if (button == QLatin1String("m_pBtnSelectMicUp")) {
            return toolbar->audioMenu();
        }
        if (button == QLatin1String("m_pBtnSelectCameraUp")) {
            return toolbar->cameraMenu();
        }
        return toolbar->volumePopup();
    };
    QTest::mouseClick(opener, Qt::LeftButton);
    QPointer<QWidget> first = popup();
    QVERIFY(first);
    QVERIFY(first->isVisible());
    QCOMPARE(first->parentWidget(), toolbar);
    QCOMPARE(first->windowType(), Qt::SplashScreen);
    const QRect at(opener->mapToGlobal(QPoint(0, 0)), opener->size());
    QCOMPARE(first->pos(), QPoint(at.x() - (first->width() - at.width()) / 2, at.bottom() + 1 + 10));

    QTest::mouseClick(opener, Qt::LeftButton);
    QCOMPARE(popup(), first.data());

    QCursor::setPos(first->geometry().center());
    QEvent deactivate(QEvent::WindowDeactivate);
    QCoreApplication::sendEvent(first, &deactivate);
    QVERIFY(first && first->isVisible());
    QCursor::setPos(first->geometry().bottomRight() + QPoint(50, 50));
    QCoreApplication::sendEvent(first, &deactivate);
    QVERIFY(!popup());
    QVERIFY(!toolbar->isPopupShown());
    QTRY_VERIFY(!first);

    // The next click opens a fresh one.
    QTest::mouseClick(opener, Qt::LeftButton);
    QVERIFY(popup());
}

void TestWhiteBoardTopWidget::settingsPopupPages_data()
{
    QTest::addColumn<QString>("menuButton");
    QTest::addColumn<int>("page");

    QTest::newRow("audio settings from the microphone menu") << "m_pBtnSelectMicUp" << 2;
    QTest::newRow("video settings from the camera menu") << "m_pBtnSelectCameraUp" << 3;
}

void TestWhiteBoardTopWidget::settingsPopupPages()
{
    QFETCH(QString, menuButton);
    QFETCH(int, page);

    WhiteBoardTopWidget *toolbar = makeToolbar();
    QSignalSpy closed(toolbar, &WhiteBoardTopWidget::sigSettingWinClosed);
    QTest::mouseClick(child<QWidget>(toolbar, qPrintable(menuButton)), Qt::LeftButton);
    QPointer<QWidget> menu;
    if (page == 2) {
        menu = toolbar->audioMenu();
        emit toolbar->audioMenu()->sigShowAudioSetting();
        QVERIFY(!toolbar->audioMenu());
    } else {
        menu = toolbar->cameraMenu();
        emit toolbar->cameraMenu()->sigShowVideoSetting();
        QVERIFY(!toolbar->cameraMenu());
    }
    QTRY_VERIFY(!menu);
    QPointer<CContainerSettingsFormWidget> settings = toolbar->settingsPopup();
    QVERIFY(settings);
    QVERIFY(settings->isVisible());
    QCOMPARE(settings->parentWidget(), toolbar);
    QCOMPARE(settings->windowType(), Qt::SplashScreen);
    auto *list = settings->findChild<QListWidget *>();
    auto *pages = settings->findChild<QStackedWidget *>();
    QVERIFY(list && pages);
    QCOMPARE(list->currentRow(), page);
    QCOMPARE(pages->currentIndex(), page);

    // Asked again while it is visible: only centred.
    settings->move(0, 0);
    toolbar->showSetting(page == 2);
    QCOMPARE(toolbar->settingsPopup(), settings.data());
    QVERIFY(settings->pos() != QPoint(0, 0));

    settings->close();
    QCOMPARE(closed.count(), 1);
    QVERIFY(!toolbar->settingsPopup());
    QTRY_VERIFY(!settings);
}

void TestWhiteBoardTopWidget::controllability_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<bool>("visible");

    QTest::newRow("the meeting's host") << "host1" << true;
    QTest::newRow("an attendee") << "guest1" << false;
}

void TestWhiteBoardTopWidget::controllability()
{
    QFETCH(QString, user);
    QFETCH(bool, visible);

    const CReviewMeetingCall call(m_control, user);
    QVERIFY(call.isConnected());

    WhiteBoardTopWidget *toolbar = makeToolbar();
    QWidget *manager = child<QWidget>(toolbar, "m_managerBtn");
    // Hidden until the answer comes.
    QVERIFY(!manager->isVisibleTo(toolbar));
    QTRY_VERIFY(!operationsNamed(m_control, "conferenceControllable").isEmpty());
    settleControllability();
    QCOMPARE(manager->isVisibleTo(toolbar), visible);
    QCOMPARE(child<QMenuButton>(toolbar, "m_managerBtn")->text(), QStringLiteral("Management"));
}

void TestWhiteBoardTopWidget::answerAfterTheToolbarIsGone()
{
    // The engine is still being asked when the whiteboard window, and the
    // toolbar with it, goes: the answer finds nothing.
    QSemaphore asked;
    QSemaphore answer;
    m_control->setOperationListener([&asked, &answer](const std::string &name) {
        if (name == "conferenceControllable") {
            asked.release();
            answer.acquire();
        }
    });
    QPointer<WhiteBoardTopWidget> toolbar = makeToolbar();
    QVERIFY(asked.tryAcquire(1, 5000));
    delete m_window;
    QVERIFY(!toolbar);
    answer.release();
    QThreadPool::globalInstance()->waitForDone();
    m_control->setOperationListener(nullptr);
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

// ---- scale and language ---------------------------------------------------

void TestWhiteBoardTopWidget::scale_data()
{
    QTest::addColumn<double>("scale");
    QTest::addColumn<int>("panelHeight");
    QTest::addColumn<int>("tabHeight");
    QTest::addColumn<QSize>("buttonSize");
    QTest::addColumn<QString>("fontSize");

    QTest::newRow("1") << 1.0 << 69 << 15 << QSize(88, 54) << "12px";
    QTest::newRow("1.5") << 1.5 << 103 << 22 << QSize(132, 81) << "18px";
    QTest::newRow("2") << 2.0 << 138 << 30 << QSize(176, 108) << "24px";
}

void TestWhiteBoardTopWidget::scale()
{
    QFETCH(double, scale);
    QFETCH(int, panelHeight);
    QFETCH(int, tabHeight);
    QFETCH(QSize, buttonSize);
    QFETCH(QString, fontSize);

    WhiteBoardTopWidget *toolbar = makeToolbar();
    hoverTab(toolbar);
    QVERIFY(toolbar->isFolded());
    toolbar->onDpiChanged(scale);
    QVERIFY(!toolbar->isFolded());
    QCOMPARE(toolbar->width(), int(957 * scale));
    QCOMPARE(child<QWidget>(toolbar, "PropertyWidget")->height(), panelHeight);
    auto *draw = child<QMenuButton>(toolbar, "m_drawBtn");
    QCOMPARE(draw->size(), buttonSize);
    QVERIFY2(draw->textStyle().contains(fontSize), qPrintable(draw->textStyle()));
    // The device menus' arrows grow with the rest.
    for (const char *name : {"m_pBtnSelectMicUp", "m_pBtnSelectCameraUp"}) {
        const QSize shown = lightExtent(toolbar, child<QWidget>(toolbar, name));
        QVERIFY2(aboutTheSize(shown, QSize(8, 4) * scale), name);
    }
    hoverTab(toolbar);
    QCOMPARE(toolbar->height(), tabHeight);
}

void TestWhiteBoardTopWidget::languageSwitch()
{
    WhiteBoardTopWidget *toolbar = makeToolbar();
    toolbar->slotConfMngtVisible(true);
    toolbar->updateShowPicture(true);
    CCallController::enableMic(false);
    CLinguist::getInstance()->changeLanguage(CLinguist::ZH_CN);
    const QStringList chinese = {
        child<QMenuButton>(toolbar, "m_muteBtn")->text(),    child<QMenuButton>(toolbar, "m_cameraBtn")->text(),
        child<QMenuButton>(toolbar, "m_managerBtn")->text(), child<QMenuButton>(toolbar, "m_drawBtn")->text(),
        child<QMenuButton>(toolbar, "m_pBtnVolume")->text(), child<QMenuButton>(toolbar, "m_closeBtn")->text(),
        child<QToolButton>(toolbar, "m_pBtnShowPic")->text()};
    CLinguist::getInstance()->changeLanguage(CLinguist::EN_US);
    QCOMPARE(chinese, QStringList({QString::fromUtf8("取消静音"), QString::fromUtf8("停止视频"),
                                   QString::fromUtf8("会控"), QString::fromUtf8("标注"), QString::fromUtf8("音量"),
                                   QString::fromUtf8("停止"), QString::fromUtf8("显示画中画")}));
    QCOMPARE(child<QMenuButton>(toolbar, "m_muteBtn")->text(), QStringLiteral("Unmute"));
    QCOMPARE(child<QToolButton>(toolbar, "m_pBtnShowPic")->text(), QStringLiteral("Show PIP"));
}

QTEST_MAIN(TestWhiteBoardTopWidget)
#include "tst_whiteboardtopwidget.moc"
