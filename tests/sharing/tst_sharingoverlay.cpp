#include <QAbstractButton>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QToolButton>
#include <QtTest>

#include "statewait.h"
#include "alertanswerer.h"
#include "app/cplatform.h"
#include "app/cwindowshape.h"
#include "clientfixture.h"
#include "overlaypopups.h"
#include "custom_controls/button_share.h"
#include "custom_controls/qmenubutton.h"
#include "views/annotation/colorwidget.h"
#include "views/annotation/paintlistwidget.h"
#include "views/annotation/paintwidget.h"
#include "views/annotation/selectbgcolorwidget.h"
#include "views/call/toolbar/ccontrolvolumewidget.h"
#include "views/call/toolbar/menuaudiowidget.h"
#include "views/call/toolbar/menuvideowidget.h"
#include "views/settings/ccontainersettingsformwidget.h"
#include "views/sharing/cbackgroundwidget.h"
#include "views/sharing/whiteboard.h"

using namespace fixture;
using kd_app::CPlatform;
using kd_app::CWindowShape;
using kd_app::views::CbackgroundWidget;
using kd_app::views::CContainerSettingsFormWidget;
using kd_app::views::ColorWidget;
using kd_app::views::menuAudioWidget;
using kd_app::views::menuVideoWidget;
using kd_app::views::PaintListWidget;
using kd_app::views::SelectBgColorWidget;
using kd_app::views::WhiteBoard;

namespace {

const char kCatching[] = "#w{background-color: rgba(190,190,190,0.004)}";
const char kPassThrough[] = "#w{background-color: rgba(43, 144, 25, 0)}";

template <typename T> T *child(QObject *parent, const char *name)
{
    T *found = parent->findChild<T *>(QLatin1String(name));
    if (!found) {
        qFatal("no child %s", name);
    }
    return found;
}

PaintWidget *canvasOf(CbackgroundWidget *overlay)
{
    return child<PaintWidget>(overlay, "paintWidget");
}

QString styleOfW(CbackgroundWidget *overlay)
{
    return child<QWidget>(overlay, "w")->styleSheet();
}

// The alpha `w` paints its background with: 1 takes the mouse on a
// translucent window yet hardly shows, 0 lets clicks through.
int backgroundAlphaOfW(CbackgroundWidget *overlay)
{
    QWidget *w = child<QWidget>(overlay, "w");
    QImage picture(w->size(), QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    w->render(&picture, QPoint(), QRegion(), QWidget::DrawWindowBackground);
    return qAlpha(picture.pixel(1, w->height() / 2));
}

QImage cursorImage(const QWidget *widget)
{
    return widget->cursor().pixmap().toImage();
}

QImage iconImage(const char *name)
{
    return QPixmap(QStringLiteral(":/resources/images/ScreenDrawing/") + QLatin1String(name)).toImage();
}

// A stroke drawn with the mouse on the canvas, in the canvas's coordinates.
void drawStroke(PaintWidget *canvas, const QPoint &from, const QPoint &to)
{
    QMouseEvent press(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(canvas, &press);
    const int steps = 8;
    for (int i = 1; i <= steps; ++i) {
        const QPoint at = from + (to - from) * i / steps;
        QMouseEvent move(QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(canvas, &move);
    }
    QMouseEvent release(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(canvas, &release);
}

bool hasStrokes(PaintWidget *canvas)
{
    const QImage layer = canvas->strokeLayer();
    for (int y = 0; y < layer.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(layer.constScanLine(y));
        for (int x = 0; x < layer.width(); ++x) {
            if (qAlpha(line[x]) > 1) {
                return true;
            }
        }
    }
    return false;
}

// The last record of the named engine operation, "" when there is none.
QString lastOperation(kd::sdk::IEngineControl *control, const QString &name)
{
    const QStringList found = operationsNamed(control, name);
    return found.isEmpty() ? QString() : found.last();
}

} // namespace

// The sharing overlay on the offscreen platform, created directly as the
// call layout creates it: its toolbar against the engine, its pop-ups, the
// stop question, the drawing tools, snapshots and the capture of the old
// desktop system. Without a compositor (as here, unless a test says
// otherwise) it is the opaque window that is cut down to what it shows.
class TestSharingOverlay : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void toolbarFollowsTheEngine_data();
    void toolbarFollowsTheEngine();
    void speakerVolumeEvents_data();
    void speakerVolumeEvents();
    void buttonsAndSignals();
    void foldingFollowsTheTab();
    void settingsPopup();
    void devicePopups_data();
    void devicePopups();
    void settingsLinksOfTheMenus();
    void stopQuestion_data();
    void stopQuestion();
    void stopWhileTheOverlayGoes();
    void controllability_data();
    void controllability();
    void answerAfterTheOverlayIsGone();

    void tools_data();
    void tools();
    void pickersBesideTheMenu_data();
    void pickersBesideTheMenu();
    void pickerToggling();
    void sizeChangeKeepsTheTool_data();
    void sizeChangeKeepsTheTool();
    void backgroundChoiceKeepsTheTool_data();
    void backgroundChoiceKeepsTheTool();
    void clearOnlyWhileDrawing();
    void undo();
    void pressOnTheCanvasClosesPickers();
    void toolMenuWithoutAScreenUnderTheCursor();

    void snapshot_data();
    void snapshot();

    void windowShapeWithoutCompositor();
    void windowShapeWithCompositor();

    void oldDesktopCapture_data();
    void oldDesktopCapture();
    void destructionEndsTheCapture();

private:
    CbackgroundWidget *makeOverlay();

    QTemporaryDir m_appData;
    QTemporaryDir m_home;
    kd::sdk::IEngineControl *m_control = nullptr;
    QPointer<CbackgroundWidget> m_overlay;
    QPointer<WhiteBoard> m_board;
};

void TestSharingOverlay::initTestCase()
{
    QVERIFY(m_appData.isValid());
    QVERIFY(m_home.isValid());
    qputenv("HOME", QFile::encodeName(m_home.path()));
    m_control = startClient(m_appData);
    QVERIFY(m_control);
}

void TestSharingOverlay::init()
{
    CWindowShape::setCompositorRunningForTests(std::nullopt);
    CPlatform::setWindows7Sp1ForTests(false);
    QCursor::setPos(QGuiApplication::primaryScreen()->geometry().center());
    m_control->clearOperations();
}

void TestSharingOverlay::cleanup()
{
    delete m_overlay;
    delete m_board;
    QThreadPool::globalInstance()->waitForDone();
    QCoreApplication::processEvents();
    CPlatform::setWindows7Sp1ForTests(false);
    CWindowShape::setCompositorRunningForTests(std::nullopt);
}

// Shown over the whole primary screen with a background window under it,
// wired as the call layout wires the two.
CbackgroundWidget *TestSharingOverlay::makeOverlay()
{
    m_board = new WhiteBoard(nullptr);
    m_overlay = new CbackgroundWidget(nullptr);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    m_board->setFixedSize(screen.size());
    m_board->move(screen.topLeft());
    m_overlay->setFixedSize(screen.size());
    m_overlay->move(screen.topLeft());
    WhiteBoard *board = m_board;
    CbackgroundWidget *overlay = m_overlay;
    connect(overlay, &CbackgroundWidget::changeBgColor, board,
            [board, overlay] { board->setBackgroundColor(overlay->getBgColor()); });
    connect(overlay, &CbackgroundWidget::stopDraw, board, &WhiteBoard::clearBackground);
    m_board->showMaximized();
    m_overlay->showMaximized();
    return m_overlay;
}

// ---- toolbar ------------------------------------------------------------

void TestSharingOverlay::toolbarFollowsTheEngine_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("on");         // the engine's state before the click
    QTest::addColumn<QString>("failing"); // the engine refuses this switch
    QTest::addColumn<QString>("captionOn");
    QTest::addColumn<QString>("captionOff");
    QTest::addColumn<bool>("refreshes"); // sigRefreshStatus follows a switch

    QTest::newRow("sound shared, stop it") << "Button_Voice" << true << ""
                                           << "Stop Sound"
                                           << "Share Sound" << false;
    QTest::newRow("sound not shared, share it") << "Button_Voice" << false << ""
                                                << "Stop Sound"
                                                << "Share Sound" << false;
    QTest::newRow("sound switch refused") << "Button_Voice" << false << "enableContentAudio"
                                          << "Stop Sound"
                                          << "Share Sound" << false;
    QTest::newRow("microphone on, mute it") << "Button_Mute" << true << ""
                                            << "Mute"
                                            << "Unmute" << true;
    QTest::newRow("microphone off, open it") << "Button_Mute" << false << ""
                                             << "Mute"
                                             << "Unmute" << true;
    QTest::newRow("microphone switch refused") << "Button_Mute" << true << "enableMic"
                                               << "Mute"
                                               << "Unmute" << true;
    QTest::newRow("camera on, stop it") << "Button_Camera" << true << ""
                                        << "Stop Video"
                                        << "Enable Video" << true;
    QTest::newRow("camera off, start it") << "Button_Camera" << false << ""
                                          << "Stop Video"
                                          << "Enable Video" << true;
    QTest::newRow("camera switch refused") << "Button_Camera" << false << "enableCamera"
                                           << "Stop Video"
                                           << "Enable Video" << true;
}

void TestSharingOverlay::toolbarFollowsTheEngine()
{
    QFETCH(QString, button);
    QFETCH(bool, on);
    QFETCH(QString, failing);
    QFETCH(QString, captionOn);
    QFETCH(QString, captionOff);
    QFETCH(bool, refreshes);

    CKDSdkManager *sdk = CKDSdkManager::getInstance();
    const auto engineState = [sdk, button] {
        if (button == QLatin1String("Button_Voice")) {
            return sdk->contentAudioEnabled();
        }
        return button == QLatin1String("Button_Mute") ? CCallController::isMicEnabled()
                                                      : CCallController::isCameraEnabled();
    };
    sdk->enableContentAudio(button == QLatin1String("Button_Voice") ? on : false);
    CCallController::enableMic(button == QLatin1String("Button_Mute") ? on : true);
    CCallController::enableCamera(button == QLatin1String("Button_Camera") ? on : true);
    QCOMPARE(engineState(), on);

    CbackgroundWidget *overlay = makeOverlay();
    auto *menuButton = child<QMenuButton>(overlay, qPrintable(button));
    // The active (red) look stands for "off" on all three.
    QCOMPARE(menuButton->m_bActive, !on);
    QCOMPARE(menuButton->text(), on ? captionOn : captionOff);

    QSignalSpy refreshed(overlay, &CbackgroundWidget::sigRefreshStatus);
    if (!failing.isEmpty()) {
        m_control->failNext(failing.toStdString(), kd::sdk::KD_ERR_GENERIC);
    }
    QTest::mouseClick(menuButton, Qt::LeftButton);
    const bool expected = failing.isEmpty() ? !on : on;
    QCOMPARE(engineState(), expected);
    QCOMPARE(menuButton->m_bActive, !expected);
    QCOMPARE(menuButton->text(), expected ? captionOn : captionOff);
    QCOMPARE(refreshed.count() > 0, refreshes);
}

void TestSharingOverlay::speakerVolumeEvents_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("mute");
    QTest::addColumn<QString>("icon");
    QTest::addColumn<bool>("active");

    QTest::newRow("speaker muted") << 1 << 1 << "icon_volumeoff.png" << true;
    QTest::newRow("speaker unmuted") << 1 << 0 << "icon_volume_pop.png" << false;
    QTest::newRow("microphone muted is not the speaker") << 0 << 1 << "icon_volume_pop.png" << false;
    QTest::newRow("camera is not the speaker") << 2 << 1 << "icon_volume_pop.png" << false;
}

void TestSharingOverlay::speakerVolumeEvents()
{
    QFETCH(int, type);
    QFETCH(int, mute);
    QFETCH(QString, icon);
    QFETCH(bool, active);

    CbackgroundWidget *overlay = makeOverlay();
    auto *volume = child<QMenuButton>(overlay, "m_pBtnVolume");
    kd::engine::KDVolume value;
    value.mute = mute;
    value.volume = 1.5f;
    emit CKDSdkManager::getInstance()->eventVolume(kd::engine::KD_DEVICE_TYPE(type), value);
    QCOMPARE(volume->shownIcon(), QStringLiteral(":/resources/images/layout-operationbar/") + icon);
    QCOMPARE(volume->m_bActive, active);
    QCOMPARE(volume->isChecked(), active);
}

void TestSharingOverlay::buttonsAndSignals()
{
    CbackgroundWidget *overlay = makeOverlay();
    QCOMPARE(child<QMenuButton>(overlay, "Button_Draw")->text(), QStringLiteral("Drawing"));
    QCOMPARE(child<QMenuButton>(overlay, "m_pBtnVolume")->text(), QStringLiteral("Volume"));
    auto *close = child<QMenuButton>(overlay, "Button_Close");
    QCOMPARE(close->text(), QStringLiteral("Stop"));
    QVERIFY(close->m_bActive);

    QSignalSpy manager(overlay, &CbackgroundWidget::sigClickManagerButton);
    QTest::mouseClick(child<QWidget>(overlay, "Button_Manager"), Qt::LeftButton);
    QCOMPARE(manager.count(), 1);

    // The video strip's button is offered only while the strip is hidden.
    auto *showPic = child<QToolButton>(overlay, "m_pBtnShowPic");
    QCOMPARE(showPic->text(), QStringLiteral("Show PIP"));
    overlay->setShowPicBtnVisible(false);
    QVERIFY(!showPic->isVisible());
    overlay->slotHidePicture();
    QVERIFY(showPic->isVisible());
    QSignalSpy showPicture(overlay, &CbackgroundWidget::sigOnShowPicture);
    QTest::mouseClick(showPic, Qt::LeftButton);
    QCOMPARE(showPicture.count(), 1);
    QVERIFY(!showPic->isVisible());
    QVERIFY(!overlay->isShowPicBtnVisible());

    // Nothing assigns the call's participant-count text: the label stays empty.
    overlay->setParticipantNumber();
    QCOMPARE(child<QLabel>(overlay, "m_pNumber")->text(), QString());

    // The layout mutes and unmutes through the toolbar.
    CCallController::enableMic(true);
    overlay->muteAudio();
    QVERIFY(!CCallController::isMicEnabled());
    QCOMPARE(child<QMenuButton>(overlay, "Button_Mute")->text(), QStringLiteral("Unmute"));
    overlay->unmuteAudio();
    QVERIFY(CCallController::isMicEnabled());
    QCOMPARE(child<QMenuButton>(overlay, "Button_Mute")->text(), QStringLiteral("Mute"));
}

void TestSharingOverlay::foldingFollowsTheTab()
{
    CbackgroundWidget *overlay = makeOverlay();
    auto *view = child<QWidget>(overlay, "horizontalView");
    auto *property = child<QWidget>(overlay, "PropertyWidget");
    auto *tab = child<Button_share>(overlay, "shareBtnView");
    QVERIFY(view->isVisible());

    const auto hover = [tab] {
        QEvent enter(QEvent::Enter);
        QCoreApplication::sendEvent(tab, &enter);
    };
    hover();
    QVERIFY(!view->isVisible());
    QCOMPARE(property->height(), 15);
    QCOMPARE(child<QWidget>(overlay, "widget")->height(), 15);
    // Without a compositor the window keeps its frame and what is left of
    // the toolbar: the tab.
    QTRY_VERIFY(!overlay->mask().contains(property->mapTo(overlay, QPoint(property->width() / 2, 40))));
    QTRY_VERIFY(overlay->mask().contains(child<QWidget>(overlay, "shareBtnView")->mapTo(overlay, QPoint(5, 5))));

    hover();
    QVERIFY(view->isVisible());
    QCOMPARE(property->height(), 69);
    QTRY_VERIFY(overlay->mask().contains(property->mapTo(overlay, QPoint(property->width() / 2, 40))));
}

void TestSharingOverlay::devicePopups_data()
{
    QTest::addColumn<QString>("button");

    QTest::newRow("microphone menu") << "m_pBtnSelectMicUp";
    QTest::newRow("camera menu") << "m_pBtnSelectCameraUp";
    QTest::newRow("volume") << "m_pBtnVolume";
}

void TestSharingOverlay::devicePopups()
{
    QFETCH(QString, button);

    CbackgroundWidget *overlay = makeOverlay();
    QWidget *opener = child<QWidget>(overlay, qPrintable(button));
    const auto popup = [overlay, &button] { return popupOfButton(overlay, button); };
    QTest::mouseClick(opener, Qt::LeftButton);
    QPointer<QWidget> first = popup();
    QVERIFY(first);
    QVERIFY(first->isVisible());
    QCOMPARE(first->parentWidget(), overlay);
    QCOMPARE(first->windowType(), Qt::SplashScreen);
    QVERIFY(overlay->isPopupShown());
    // Centred 10 px below its button.
    const QRect at(opener->mapToGlobal(QPoint(0, 0)), opener->size());
    QCOMPARE(first->pos(), QPoint(at.x() - (first->width() - at.width()) / 2, at.bottom() + 1 + 10));

    // A second click opens nothing more; on the volume button it reads the
    // speaker's mute state again, which may have changed unannounced.
    auto *volume = child<QMenuButton>(overlay, "m_pBtnVolume");
    QVERIFY(!volume->isChecked());
    if (button == QLatin1String("m_pBtnVolume")) {
        CKDSdkManager *sdk = CKDSdkManager::getInstance();
        const QSignalBlocker unannounced(sdk);
        kd::engine::KDVolume muted = sdk->getVolume(kd::engine::KD_DEVICE_SPEAKER);
        muted.mute = 1;
        QVERIFY(sdk->setVolume(kd::engine::KD_DEVICE_SPEAKER, muted));
        QVERIFY(m_control->waitForIdle(kdtest::kStateWaitMs));
        QCoreApplication::processEvents();
    }
    QVERIFY(!volume->isChecked());
    QTest::mouseClick(opener, Qt::LeftButton);
    QCOMPARE(popup(), first.data());
    const bool reread = button == QLatin1String("m_pBtnVolume");
    QCOMPARE(volume->isChecked(), reread);
    QCOMPARE(volume->shownIcon(), QStringLiteral(":/resources/images/layout-operationbar/") +
                                      (reread ? "icon_volumeoff.png" : "icon_volume_pop.png"));

    // The toolbar does not fold while it is open.
    auto *tab = child<Button_share>(overlay, "shareBtnView");
    QEvent enter(QEvent::Enter);
    QCoreApplication::sendEvent(tab, &enter);
    QVERIFY(child<QWidget>(overlay, "horizontalView")->isVisible());

    // Losing activation with the cursor over it keeps it; elsewhere closes it.
    QCursor::setPos(first->geometry().center());
    QEvent deactivate(QEvent::WindowDeactivate);
    QCoreApplication::sendEvent(first, &deactivate);
    QVERIFY(first && first->isVisible());
    QCursor::setPos(first->geometry().bottomRight() + QPoint(50, 50));
    QCoreApplication::sendEvent(first, &deactivate);
    QVERIFY(!popup());
    QVERIFY(!overlay->isPopupShown());
    QTRY_VERIFY(!first);
    QCoreApplication::sendEvent(tab, &enter);
    QVERIFY(!child<QWidget>(overlay, "horizontalView")->isVisible());

    if (reread) {
        CKDSdkManager *sdk = CKDSdkManager::getInstance();
        kd::engine::KDVolume unmuted = sdk->getVolume(kd::engine::KD_DEVICE_SPEAKER);
        unmuted.mute = 0;
        QVERIFY(sdk->setVolume(kd::engine::KD_DEVICE_SPEAKER, unmuted));
        QVERIFY(m_control->waitForIdle(kdtest::kStateWaitMs));
    }
}

namespace {

// The settings page shown: its entry in the list and the page itself agree.
int settingsPage(CContainerSettingsFormWidget *popup)
{
    const int row = child<QListWidget>(popup, "lvSettingsEntrances")->currentRow();
    const int page = child<QTabWidget>(popup, "twgtSettingsPages")->currentIndex();
    return row == page ? page : -1;
}

} // namespace

void TestSharingOverlay::settingsLinksOfTheMenus()
{
    CbackgroundWidget *overlay = makeOverlay();
    QTest::mouseClick(child<QWidget>(overlay, "m_pBtnSelectMicUp"), Qt::LeftButton);
    QPointer<menuAudioWidget> audio = overlay->audioMenu();
    QVERIFY(audio);
    emit audio->sigShowAudioSetting();
    QVERIFY(!overlay->audioMenu());
    QPointer<CContainerSettingsFormWidget> settings = overlay->settingsPopup();
    QVERIFY(settings);
    QVERIFY(settings->isVisible());
    QCOMPARE(settingsPage(settings), 2);
    QTRY_VERIFY(!audio);
    settings->close();
    QTRY_VERIFY(!settings);

    QTest::mouseClick(child<QWidget>(overlay, "m_pBtnSelectCameraUp"), Qt::LeftButton);
    QPointer<menuVideoWidget> camera = overlay->cameraMenu();
    QVERIFY(camera);
    emit camera->sigShowVideoSetting();
    QVERIFY(!overlay->cameraMenu());
    settings = overlay->settingsPopup();
    QVERIFY(settings);
    QCOMPARE(settingsPage(settings), 3);
    QTRY_VERIFY(!camera);

    // The open settings pop-up is only centred, not made again nor turned
    // to another page.
    QTest::mouseClick(child<QWidget>(overlay, "m_pBtnSelectMicUp"), Qt::LeftButton);
    audio = overlay->audioMenu();
    QVERIFY(audio);
    emit audio->sigShowAudioSetting();
    QCOMPARE(overlay->settingsPopup(), settings.data());
    QCOMPARE(settingsPage(settings), 3);
}

void TestSharingOverlay::settingsPopup()
{
    CbackgroundWidget *overlay = makeOverlay();
    QSignalSpy closed(overlay, &CbackgroundWidget::sigSettingWinClosed);
    overlay->showSetting(true);
    QPointer<CContainerSettingsFormWidget> popup = overlay->settingsPopup();
    QVERIFY(popup);
    QVERIFY(popup->isVisible());
    QCOMPARE(popup->parentWidget(), overlay);
    QCOMPARE(popup->windowType(), Qt::SplashScreen);
    QVERIFY(!overlay->isPopupShown());

    // A visible pop-up is only centred again.
    popup->move(0, 0);
    overlay->showSetting(false);
    QCOMPARE(overlay->settingsPopup(), popup.data());
    QVERIFY(popup->pos() != QPoint(0, 0));

    popup->close();
    QCOMPARE(closed.count(), 1);
    QVERIFY(!overlay->settingsPopup());
    QTRY_VERIFY(!popup);

    // A new one comes after the old one closed.
    overlay->showSetting(false);
    QVERIFY(overlay->settingsPopup());
    QVERIFY(overlay->settingsPopup()->isVisible());
}

void TestSharingOverlay::stopQuestion_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("closes");
    QTest::addColumn<bool>("canvasShown");

    QTest::newRow("yes") << int(QMessageBox::Yes) << 1 << false;
    QTest::newRow("no") << int(QMessageBox::No) << 0 << true;
    QTest::newRow("closed without an answer") << int(QMessageBox::NoButton) << 0 << false;
}

void TestSharingOverlay::stopQuestion()
{
    QFETCH(int, answer);
    QFETCH(int, closes);
    QFETCH(bool, canvasShown);

    CbackgroundWidget *overlay = makeOverlay();
    PaintWidget *canvas = canvasOf(overlay);
    overlay->showPaintWindow();
    drawStroke(canvas, QPoint(300, 300), QPoint(500, 320));
    QVERIFY(hasStrokes(canvas));
    m_board->setBackgroundColor(QStringLiteral("rgb(0,0,0,255)"));

    QSignalSpy close(overlay, &CbackgroundWidget::sigClose);
    QSignalSpy stopDraw(overlay, &CbackgroundWidget::stopDraw);
    CAlertAnswerer answerer{QMessageBox::StandardButton(answer)};
    QTest::mouseClick(child<QMenuButton>(overlay, "Button_Close"), Qt::LeftButton);
    QCOMPARE(answerer.answered(), 1);
    QCOMPARE(answerer.titles(), QStringList{"Note"});
    QCOMPARE(answerer.texts(), QStringList{"Are you sure to stop?"});
    QCOMPARE(close.count(), closes);
    QCOMPARE(stopDraw.count(), 1);
    QCOMPARE(m_board->getBackgroundColor(), QString());
    // Whatever the answer, drawing has ended: clicks pass through, the tool
    // menu is gone, the strokes are kept.
    QCOMPARE(canvas->isVisible(), canvasShown);
    QVERIFY(!overlay->isCatchingMouse());
    QCOMPARE(styleOfW(overlay), QString::fromLatin1(kPassThrough));
    QVERIFY(!overlay->toolMenu()->isVisible());
    QVERIFY(hasStrokes(canvas));
    QCOMPARE(overlay->cursor().shape(), Qt::ArrowCursor);
}

void TestSharingOverlay::stopWhileTheOverlayGoes()
{
    // The call ends while the question is open, and the layout deletes the
    // overlay: the answer finds nothing left to change.
    CbackgroundWidget *overlay = makeOverlay();
    QTimer::singleShot(0, overlay, [overlay] { overlay->deleteLater(); });
    QTest::mouseClick(child<QMenuButton>(overlay, "Button_Close"), Qt::LeftButton);
    QTRY_VERIFY(!m_overlay);
}

void TestSharingOverlay::controllability_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<bool>("visible");

    QTest::newRow("the meeting's host") << "host1" << true;
    QTest::newRow("an attendee") << "guest1" << false;
}

void TestSharingOverlay::controllability()
{
    QFETCH(QString, user);
    QFETCH(bool, visible);

    const CReviewMeetingCall call(m_control, user);
    QVERIFY(call.isConnected());

    CbackgroundWidget *overlay = makeOverlay();
    QWidget *manager = child<QWidget>(overlay, "Button_Manager");
    // The button shows until the answer: wait for the question and the
    // answer's delivery, not for the button.
    QTRY_VERIFY(!operationsNamed(m_control, "conferenceControllable").isEmpty());
    QThreadPool::globalInstance()->waitForDone();
    QCoreApplication::sendPostedEvents();
    QCOMPARE(manager->isVisibleTo(overlay), visible);
}

void TestSharingOverlay::answerAfterTheOverlayIsGone()
{
    QSemaphore asked;
    QSemaphore answer;
    m_control->setOperationListener([&asked, &answer](const std::string &name) {
        if (name == "conferenceControllable") {
            asked.release();
            answer.acquire();
        }
    });
    CbackgroundWidget *overlay = makeOverlay();
    QVERIFY(asked.tryAcquire(1, 5000));
    delete overlay;
    answer.release();
    QThreadPool::globalInstance()->waitForDone();
    m_control->setOperationListener(nullptr);
    // The answer arrives on the graphical thread and finds no overlay.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    QVERIFY(!m_overlay);
}

// ---- drawing tools --------------------------------------------------------

void TestSharingOverlay::tools_data()
{
    QTest::addColumn<QString>("tool");
    QTest::addColumn<QRgb>("colour");
    QTest::addColumn<int>("alpha");
    QTest::addColumn<double>("width");
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("drawing");
    QTest::addColumn<QString>("cursorIcon"); // "" for the arrow
    QTest::addColumn<QString>("board");      // the background window's colour

    // The pickers start at black pen / yellow marker, sizes 3 and 4.
    QTest::newRow("pen") << "pen" << qRgb(0, 0, 0) << 255 << 3.0 << 0 << true << "icon_brush_click.png"
                         << "";
    QTest::newRow("marker") << "marker" << qRgb(255, 252, 0) << 80 << 4.0 << 3 << true << "icon_highlighter_click.png"
                            << "";
    QTest::newRow("eraser keeps the pen's colour")
        << "eraser" << qRgb(0, 0, 0) << 255 << 9.0 << 2 << true << "icon_eraser_click.png"
        << "";
    QTest::newRow("mouse") << "mouse" << qRgb(0, 0, 0) << 255 << 3.0 << 0 << false << ""
                           << "rgb(255,255,255,0)";
}

void TestSharingOverlay::tools()
{
    QFETCH(QString, tool);
    QFETCH(QRgb, colour);
    QFETCH(int, alpha);
    QFETCH(double, width);
    QFETCH(int, mode);
    QFETCH(bool, drawing);
    QFETCH(QString, cursorIcon);
    QFETCH(QString, board);

    CbackgroundWidget *overlay = makeOverlay();
    PaintWidget *canvas = canvasOf(overlay);
    QVERIFY(!canvas->m_bDrawEnabled);
    QCOMPARE(backgroundAlphaOfW(overlay), 0);
    overlay->showPaintWindow();
    QVERIFY(overlay->toolMenu()->isVisible());
    m_board->setBackgroundColor(QStringLiteral("rgb(0,0,0,255)"));
    overlay->colorPicker()->show();
    overlay->backgroundPicker()->show();

    if (tool == QLatin1String("pen")) {
        overlay->onBtnPenClicked();
    } else if (tool == QLatin1String("marker")) {
        overlay->onBtnNitePenClicked();
    } else if (tool == QLatin1String("eraser")) {
        overlay->onBtnEraserClicked();
    } else {
        overlay->slotOnMouse();
    }

    const QPen pen = canvas->pen();
    QCOMPARE(pen.color().rgb(), colour);
    QCOMPARE(pen.color().alpha(), alpha);
    QCOMPARE(pen.widthF(), width);
    QCOMPARE(pen.style(), Qt::SolidLine);
    QCOMPARE(pen.joinStyle(), Qt::BevelJoin);
    QCOMPARE(canvas->drawMode(), mode);
    QCOMPARE(canvas->m_bDrawEnabled, drawing);
    QCOMPARE(overlay->isCatchingMouse(), drawing);
    QCOMPARE(styleOfW(overlay), QString::fromLatin1(drawing ? kCatching : kPassThrough));
    const int wAlpha = backgroundAlphaOfW(overlay);
    QVERIFY2(drawing ? wAlpha >= 1 && wAlpha <= 2 : wAlpha == 0, qPrintable(QString::number(wAlpha)));
    if (cursorIcon.isEmpty()) {
        QCOMPARE(overlay->cursor().shape(), Qt::ArrowCursor);
    } else {
        QCOMPARE(overlay->cursor().shape(), Qt::BitmapCursor);
        QCOMPARE(cursorImage(overlay), iconImage(qPrintable(cursorIcon)));
    }
    QCOMPARE(m_board->getBackgroundColor(), board.isEmpty() ? QStringLiteral("rgb(0,0,0,255)") : board);
    // Every tool closes both pickers; Mouse keeps the tool menu.
    QVERIFY(!overlay->colorPicker()->isVisible());
    QVERIFY(!overlay->backgroundPicker()->isVisible());
    QVERIFY(overlay->toolMenu()->isVisible());

    // Exit ends drawing and hides the menu; the strokes stay.
    drawStroke(canvas, QPoint(100, 200), QPoint(200, 220));
    QSignalSpy stopDraw(overlay, &CbackgroundWidget::stopDraw);
    overlay->onBtnExitClicked();
    QCOMPARE(stopDraw.count(), 1);
    QVERIFY(!canvas->m_bDrawEnabled);
    QVERIFY(!overlay->toolMenu()->isVisible());
    QCOMPARE(styleOfW(overlay), QString::fromLatin1(kPassThrough));
    QCOMPARE(overlay->cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(m_board->getBackgroundColor(), QString());
    QCOMPARE(hasStrokes(canvas), drawing && tool != QLatin1String("eraser"));
}

void TestSharingOverlay::pickersBesideTheMenu_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<bool>("lowerHalf");

    QTest::newRow("background, menu at the top") << "background" << false;
    QTest::newRow("background, menu in the lower half") << "background" << true;
    QTest::newRow("pen options, menu at the top") << "pen" << false;
    QTest::newRow("pen options, menu in the lower half") << "pen" << true;
    QTest::newRow("marker options, menu in the lower half") << "marker" << true;
}

void TestSharingOverlay::pickersBesideTheMenu()
{
    QFETCH(QString, entry);
    QFETCH(bool, lowerHalf);

    CbackgroundWidget *overlay = makeOverlay();
    overlay->showPaintWindow();
    PaintListWidget *menu = overlay->toolMenu();
    const int desktop = QGuiApplication::primaryScreen()->availableVirtualGeometry().height();
    if (lowerHalf) {
        menu->move(menu->x(), desktop / 2 + 40);
    }
    QWidget *picker = nullptr;
    int entryX = 0;
    if (entry == QLatin1String("background")) {
        overlay->onBtnBgClicked();
        picker = overlay->backgroundPicker();
        entryX = menu->m_nBgBtnX;
    } else if (entry == QLatin1String("pen")) {
        overlay->onBtnSelectPenClicked();
        picker = overlay->colorPicker();
        entryX = menu->m_nPenBgX;
    } else {
        overlay->onBtnSelectNitePenClicked();
        picker = overlay->colorPicker();
        entryX = menu->m_nNitePenBgX;
    }
    QVERIFY(picker->isVisible());
    QVERIFY(entryX > 0);
    QCOMPARE(picker->x(), menu->x() + entryX);
    if (lowerHalf) {
        QCOMPARE(picker->y(), menu->y() - picker->height() - 10);
    } else {
        QCOMPARE(picker->y(), menu->y() + menu->height() + 10);
    }
    QCOMPARE(picker->windowType(), Qt::SplashScreen);
    QCOMPARE(picker->parentWidget(), overlay);
}

void TestSharingOverlay::pickerToggling()
{
    CbackgroundWidget *overlay = makeOverlay();
    overlay->showPaintWindow();
    overlay->onBtnBgClicked();
    QVERIFY(overlay->backgroundPicker()->isVisible());
    overlay->onBtnBgClicked();
    QVERIFY(!overlay->backgroundPicker()->isVisible());

    // The pen's arrow first runs the pen, which closes the pickers, so a
    // second click shows the colour picker again.
    overlay->onBtnSelectPenClicked();
    QVERIFY(overlay->colorPicker()->isVisible());
    overlay->onBtnSelectPenClicked();
    QVERIFY(overlay->colorPicker()->isVisible());
    QVERIFY(!overlay->colorPicker()->m_bMarkerMode);

    // The background entry closes the colour picker before it opens its own.
    overlay->onBtnBgClicked();
    QVERIFY(!overlay->colorPicker()->isVisible());
    QVERIFY(overlay->backgroundPicker()->isVisible());
    overlay->onBtnSelectNitePenClicked();
    QVERIFY(!overlay->backgroundPicker()->isVisible());
    QVERIFY(overlay->colorPicker()->isVisible());
    QVERIFY(overlay->colorPicker()->m_bMarkerMode);
    QVERIFY(canvasOf(overlay)->m_bDrawEnabled);

    // A closed picker is only hidden: the overlay keeps using it.
    QPointer<ColorWidget> picker = overlay->colorPicker();
    picker->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(picker);
    overlay->onBtnSelectPenClicked();
    QVERIFY(picker->isVisible());
}

void TestSharingOverlay::sizeChangeKeepsTheTool_data()
{
    QTest::addColumn<bool>("marker");
    QTest::addColumn<int>("alpha");
    QTest::addColumn<int>("mode");
    QTest::addColumn<double>("width");

    QTest::newRow("marker") << true << 80 << 3 << 12.0;
    QTest::newRow("pen") << false << 255 << 0 << 9.0;
}

void TestSharingOverlay::sizeChangeKeepsTheTool()
{
    QFETCH(bool, marker);
    QFETCH(int, alpha);
    QFETCH(int, mode);
    QFETCH(double, width);

    CbackgroundWidget *overlay = makeOverlay();
    overlay->showPaintWindow();
    if (marker) {
        overlay->onBtnSelectNitePenClicked();
    } else {
        overlay->onBtnSelectPenClicked();
    }
    QTest::mouseClick(child<QPushButton>(overlay->colorPicker(), "size_3"), Qt::LeftButton);
    const QPen pen = canvasOf(overlay)->pen();
    QCOMPARE(pen.color().alpha(), alpha);
    QCOMPARE(canvasOf(overlay)->drawMode(), mode);
    QCOMPARE(pen.widthF(), width);
    QCOMPARE(cursorImage(overlay), iconImage("icon_brush_click.png"));

    // A colour from the picker's palette keeps the palette's own alpha.
    QTest::mouseClick(child<QPushButton>(overlay->colorPicker(), "color_red"), Qt::LeftButton);
    QCOMPARE(canvasOf(overlay)->pen().color().alpha(), alpha);
    QCOMPARE(canvasOf(overlay)->drawMode(), mode);
}

void TestSharingOverlay::backgroundChoiceKeepsTheTool_data()
{
    QTest::addColumn<bool>("marker");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("colour");

    QTest::newRow("marker on a black board") << true << "blackBg"
                                             << "rgb(0,0,0,255)";
    QTest::newRow("pen on a white board") << false << "whiteBg"
                                          << "rgb(255,255,255,255)";
    QTest::newRow("pen over the screen") << false << "clearBg"
                                         << "rgb(255,255,255,0)";
}

void TestSharingOverlay::backgroundChoiceKeepsTheTool()
{
    QFETCH(bool, marker);
    QFETCH(QString, button);
    QFETCH(QString, colour);

    CbackgroundWidget *overlay = makeOverlay();
    overlay->showPaintWindow();
    if (marker) {
        overlay->onBtnNitePenClicked();
    }
    overlay->onBtnBgClicked();
    QSignalSpy changed(overlay, &CbackgroundWidget::changeBgColor);
    QTest::mouseClick(child<QPushButton>(overlay->backgroundPicker(), qPrintable(button)), Qt::LeftButton);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(overlay->getBgColor(), colour);
    QCOMPARE(m_board->getBackgroundColor(), colour);
    QCOMPARE(canvasOf(overlay)->drawMode(), marker ? 3 : 0);
    QCOMPARE(canvasOf(overlay)->pen().color().alpha(), marker ? 80 : 255);
    QVERIFY(canvasOf(overlay)->m_bDrawEnabled);
    QVERIFY(overlay->isCatchingMouse());

    // Mouse gives the screen back under the strokes.
    overlay->slotOnMouse();
    QCOMPARE(overlay->getBgColor(), QStringLiteral("rgb(255,255,255,0)"));
    QCOMPARE(m_board->getBackgroundColor(), QStringLiteral("rgb(255,255,255,0)"));
}

void TestSharingOverlay::clearOnlyWhileDrawing()
{
    CbackgroundWidget *overlay = makeOverlay();
    PaintWidget *canvas = canvasOf(overlay);
    overlay->showPaintWindow();
    drawStroke(canvas, QPoint(100, 300), QPoint(300, 300));
    overlay->slotOnMouse();
    overlay->onBtnClearClicked();
    QVERIFY(hasStrokes(canvas));
    QVERIFY(!overlay->isCatchingMouse());

    overlay->onBtnPenClicked();
    overlay->onBtnClearClicked();
    QVERIFY(!hasStrokes(canvas));
    QVERIFY(overlay->isCatchingMouse());
}

void TestSharingOverlay::undo()
{
    CbackgroundWidget *overlay = makeOverlay();
    PaintWidget *canvas = canvasOf(overlay);
    overlay->showPaintWindow();
    drawStroke(canvas, QPoint(100, 300), QPoint(300, 300));
    overlay->onBtnSelectPenClicked();
    QVERIFY(overlay->colorPicker()->isVisible());
    overlay->onBtnRevokeClicked();
    QVERIFY(!overlay->colorPicker()->isVisible());
    QVERIFY(!hasStrokes(canvas));
}

void TestSharingOverlay::pressOnTheCanvasClosesPickers()
{
    CbackgroundWidget *overlay = makeOverlay();
    overlay->showPaintWindow();
    overlay->onBtnSelectPenClicked();
    overlay->backgroundPicker()->show();
    QTest::mousePress(canvasOf(overlay), Qt::LeftButton, Qt::NoModifier, QPoint(400, 400));
    QVERIFY(!overlay->colorPicker()->isVisible());
    QVERIFY(!overlay->backgroundPicker()->isVisible());
    QTest::mouseRelease(canvasOf(overlay), Qt::LeftButton, Qt::NoModifier, QPoint(400, 400));
}

void TestSharingOverlay::toolMenuWithoutAScreenUnderTheCursor()
{
    CbackgroundWidget *overlay = makeOverlay();
    QCursor::setPos(-4000, -4000);
    QVERIFY(!QGuiApplication::screenAt(QCursor::pos()));
    overlay->showPaintWindow();
    PaintListWidget *menu = overlay->toolMenu();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QVERIFY(menu->isVisible());
    QCOMPARE(menu->pos(), QPoint(screen.x() + (screen.width() - menu->width()) / 2, screen.y() + 80));
}

// ---- snapshot -------------------------------------------------------------

void TestSharingOverlay::snapshot_data()
{
    QTest::addColumn<QString>("folder"); // "" the download folder; "<file>" beneath a file
    QTest::addColumn<QString>("message");

    QTest::newRow("configured folder") << "snapshots"
                                       << "Save successfully";
    QTest::newRow("no folder: the download folder") << ""
                                                    << "Save successfully";
    QTest::newRow("folder beneath a file") << "<file>"
                                           << "Save failed";
}

void TestSharingOverlay::snapshot()
{
    QFETCH(QString, folder);
    QFETCH(QString, message);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QString path = dir.filePath(folder);
    QString expectedFolder = path;
    if (folder.isEmpty()) {
        path.clear();
        expectedFolder = QDir(m_home.path()).filePath(QStringLiteral("Downloads"));
    } else if (folder == QLatin1String("<file>")) {
        QFile blocker(dir.filePath(QStringLiteral("plain")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        path = dir.filePath(QStringLiteral("plain/shots"));
    }
    CUserConfigUtils::getInstance()->setScreenPicPath(path);

    CbackgroundWidget *overlay = makeOverlay();
    overlay->showPaintWindow();
    CAlertAnswerer answerer(QMessageBox::Yes);
    overlay->slotBtnSaveClicked();
    QCOMPARE(answerer.titles(), QStringList{"Note"});
    QCOMPARE(answerer.texts(), QStringList{message});
    if (message == QLatin1String("Save successfully")) {
        const QStringList files = QDir(expectedFolder).entryList({QStringLiteral("Screenshot_*.jpg")}, QDir::Files);
        QCOMPARE(files.size(), 1);
        QVERIFY(
            QRegularExpression(QStringLiteral("^Screenshot_\\d{4}-\\d\\d-\\d\\d_\\d\\d-\\d\\d-\\d\\d\\.\\d{3}\\.jpg$"))
                .match(files.first())
                .hasMatch());
        const QImage saved(QDir(expectedFolder).filePath(files.first()));
        QCOMPARE(saved.size(), QGuiApplication::primaryScreen()->geometry().size());
        QDir(expectedFolder).removeRecursively();
    }
    CUserConfigUtils::getInstance()->setScreenPicPath(QString());
}

// ---- the window without and with a compositor ------------------------------

void TestSharingOverlay::windowShapeWithoutCompositor()
{
    CWindowShape::setCompositorRunningForTests(false);
    CbackgroundWidget *overlay = makeOverlay();
    QVERIFY(!overlay->isTranslucentMode());
    QVERIFY(!overlay->testAttribute(Qt::WA_TranslucentBackground));
    QVERIFY(canvasOf(overlay)->isLayered());
    QVERIFY(!m_board->isVisible());

    // Drawing off: the frame and the toolbar, nothing else.
    const QPoint middle = overlay->rect().center();
    auto *property = child<QWidget>(overlay, "PropertyWidget");
    const QPoint onToolbar = property->mapTo(overlay, QPoint(property->width() / 2, 20));
    QTRY_VERIFY(overlay->mask().contains(onToolbar));
    QVERIFY(overlay->mask().contains(QPoint(1, middle.y())));
    QVERIFY(!overlay->mask().contains(middle));
    // The red tab shows, and the screen beside it.
    auto *tab = child<QWidget>(overlay, "shareBtnView");
    QVERIFY(overlay->mask().contains(tab->mapTo(overlay, tab->rect().center())));
    const QPoint besideTab = tab->mapTo(overlay, QPoint(-20, tab->height() / 2));
    QVERIFY(property->geometry().contains(property->parentWidget()->mapFrom(overlay, besideTab)));
    QVERIFY(!overlay->mask().contains(besideTab));

    // Drawing on covers the screen; the still picture is taken first.
    overlay->showPaintWindow();
    QTRY_VERIFY(overlay->mask().isEmpty());
    QTRY_VERIFY(!overlay->screenPicture().isNull());
    PaintWidget *canvas = canvasOf(overlay);
    const QPoint from = canvas->mapFrom(overlay, middle - QPoint(100, 0));
    const QPoint to = canvas->mapFrom(overlay, middle + QPoint(100, 0));
    drawStroke(canvas, from, to);

    // After Mouse the strokes stay shown, and only they.
    overlay->slotOnMouse();
    QTRY_VERIFY(overlay->mask().contains(middle));
    QVERIFY(overlay->mask().contains(onToolbar));
    QVERIFY(!overlay->mask().contains(middle + QPoint(0, 40)));

    // An erased stroke leaves only its invisible trace, which is not kept.
    overlay->onBtnPenClicked();
    overlay->onBtnEraserClicked();
    drawStroke(canvas, from - QPoint(20, 0), to + QPoint(20, 0));
    overlay->slotOnMouse();
    QTRY_VERIFY(!overlay->mask().contains(middle));

    // The stop question shows nothing but the frame.
    CAlertAnswerer answerer(QMessageBox::No);
    QTimer::singleShot(0, this, [this, overlay, onToolbar] {
        QCoreApplication::processEvents();
        QVERIFY(!overlay->mask().contains(onToolbar));
    });
    overlay->stopShare();
    QTRY_VERIFY(overlay->mask().contains(onToolbar));
}

void TestSharingOverlay::windowShapeWithCompositor()
{
    CWindowShape::setCompositorRunningForTests(true);
    CbackgroundWidget *overlay = makeOverlay();
    QVERIFY(overlay->isTranslucentMode());
    QVERIFY(overlay->testAttribute(Qt::WA_TranslucentBackground));
    QVERIFY(!canvasOf(overlay)->isLayered());
    QVERIFY(m_board->isVisible());
    QCoreApplication::processEvents();
    QVERIFY(overlay->mask().isEmpty());
    overlay->showPaintWindow();
    QVERIFY(overlay->screenPicture().isNull());
    overlay->slotOnMouse();
    QCoreApplication::processEvents();
    QVERIFY(overlay->mask().isEmpty());

    // The compositor goes away: the next show is the opaque fallback.
    overlay->hide();
    m_board->hide();
    CWindowShape::setCompositorRunningForTests(false);
    m_board->show();
    overlay->show();
    QVERIFY(!m_board->isVisible());
    QVERIFY(!overlay->isTranslucentMode());
    QVERIFY(!overlay->testAttribute(Qt::WA_TranslucentBackground));
    QTRY_VERIFY(!overlay->mask().isEmpty());
}

// ---- capture of the old desktop system -------------------------------------

void TestSharingOverlay::oldDesktopCapture_data()
{
    QTest::addColumn<QString>("end");

    QTest::newRow("exit") << "exit";
    QTest::newRow("content ended") << "content ended";
    QTest::newRow("stop, answered no") << "stop";
}

void TestSharingOverlay::oldDesktopCapture()
{
    QFETCH(QString, end);

    CPlatform::setWindows7Sp1ForTests(true);
    kd::engine::KDContentSourceInfo source;
    source.type = 0;
    source.windowTitle = "saved-screen";
    source.valid = true;
    CCallController::getInstance().setContentSourceInfo(source);

    CbackgroundWidget *overlay = makeOverlay();
    const uint64_t before = m_control->contentFramesTaken();
    overlay->showPaintWindow();
    QTRY_VERIFY(m_control->contentFramesTaken() >= before + 2);

    CAlertAnswerer answerer(QMessageBox::No);
    if (end == QLatin1String("exit")) {
        overlay->onBtnExitClicked();
    } else if (end == QLatin1String("content ended")) {
        kd::engine::KDContentInfo info;
        info.enabled = false;
        emit CKDSdkManager::getInstance()->eventContent(info);
    } else {
        overlay->stopShare();
    }
    // The saved source is the engine's last word, after every frame of
    // the thread, which does not send again.
    QCOMPARE(lastOperation(m_control, "setLocalContentSource"),
             QStringLiteral("setLocalContentSource(0,saved-screen)"));
    const uint64_t after = m_control->contentFramesTaken();
    QTest::qWait(3 * 100 + 50);
    QCOMPARE(m_control->contentFramesTaken(), after);
    QCOMPARE(lastOperation(m_control, "setLocalContentSource"),
             QStringLiteral("setLocalContentSource(0,saved-screen)"));
}

void TestSharingOverlay::destructionEndsTheCapture()
{
    CPlatform::setWindows7Sp1ForTests(true);
    CbackgroundWidget *overlay = makeOverlay();
    const uint64_t before = m_control->contentFramesTaken();
    overlay->showPaintWindow();
    QTRY_VERIFY(m_control->contentFramesTaken() >= before + 1);
    QElapsedTimer timer;
    timer.start();
    delete overlay;
    // At most one grab and the pause, on a slow machine with room to spare.
    QVERIFY2(timer.elapsed() < 3000, qPrintable(QString::number(timer.elapsed())));
    const uint64_t after = m_control->contentFramesTaken();
    QTest::qWait(350);
    QCOMPARE(m_control->contentFramesTaken(), after);
}

QTEST_MAIN(TestSharingOverlay)
#include "tst_sharingoverlay.moc"
