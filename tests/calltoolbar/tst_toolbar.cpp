#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include "statewait.h"
#include "../engine/clogcapture.h"
#include "../login/clientfixture.h"
#include "alertanswerer.h"
#include "calltoolbarfixture.h"
#include "models/cucmapimanager.h"
#include "screendpi.h"
#include "views/call/attendees/cattendeesbutton.h"
#include "views/call/attendees/cattendesswidgets.h"
#include "views/call/clayoutpeoplesettingdlg.h"
#include "views/call/share/cselectsharecontent.h"
#include "views/call/toolbar/ccontrolvolumewidget.h"
#include "views/call/toolbar/cdtmfdlg.h"
#include "views/call/toolbar/clayouttoolbardlg.h"
#include "views/call/toolbar/cmenumorewidget.h"
#include "views/call/toolbar/ctoolbaricons.h"
#include "views/call/toolbar/menuaudiowidget.h"
#include "views/call/toolbar/menuvideowidget.h"
#include "views/settings/ccontainersettingsformwidget.h"

using namespace fixture;
using kd::engine::KDDevice;
using kd_app::models::CUCMApiManager;
using kd_app::views::AlertDlg;
using kd_app::views::CLayoutToolbarDlg;
using kd_app::views::CToolbarIcons;

Q_DECLARE_METATYPE(CToolbarIcons::Icon)

namespace {

bool shown(const CLayoutToolbarDlg &toolbar, const char *name)
{
    return !toolbar.button(name)->isHidden();
}

QToolButton *toolButton(const CLayoutToolbarDlg &toolbar, const char *name)
{
    return qobject_cast<QToolButton *>(toolbar.button(name));
}

} // namespace

// The call toolbar against our engine's model: buttons that follow the
// engine, the popups its buttons open, and what happens at the call's end.
class TestToolbar : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void iconFiles_data();
    void iconFiles();
    void labelsAndArrowsShowWhole_data();
    void labelsAndArrowsShowWhole();
    void layoutButton_data();
    void layoutButton();
    void switchLayoutAsksForTheOtherLayout_data();
    void switchLayoutAsksForTheOtherLayout();
    void managementAndAttendees_data();
    void managementAndAttendees();
    void microphoneAndCamera_data();
    void microphoneAndCamera();
    void hostMuteOffersSpeechRequest();
    void volumeFollowsEngine();
    void deviceChangeRebuildsOpenMenuOnly_data();
    void deviceChangeRebuildsOpenMenuOnly();
    void secondArrowClickKeepsMenu();
    void settingsLinkOpensItsPage_data();
    void settingsLinkOpensItsPage();
    void shareRefused_data();
    void shareRefused();
    void dialPadComesBackEmpty();
    void hangUp_data();
    void hangUp();
    void callEndClosesWindows();
    void callToOnePersonListsNobody();
    void controllabilityAnswerAfterDestruction();
    void layoutEngineHearsTheToolbar();

private:
    bool connectCall();

    QTemporaryDir m_appData;
    kd::sdk::IEngineControl *m_control = nullptr;
    std::unique_ptr<CLayoutToolbarDlg> m_toolbar;
};

void TestToolbar::initTestCase()
{
    QVERIFY(m_appData.isValid());
    m_control = startClient(m_appData);
    QVERIFY(m_control);
    m_control->setDevicePollInterval(0);
    calltoolbar::addPlanningMeeting(m_control);
}

void TestToolbar::init()
{
    m_toolbar = std::make_unique<CLayoutToolbarDlg>(nullptr);
}

void TestToolbar::cleanup()
{
    m_toolbar.reset();
    resetClient(m_control);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Ann, host of meeting 4001, in that meeting; false when any step failed.
bool TestToolbar::connectCall()
{
    if (!signInAs(m_control, "ann", "Ann-pass1")) {
        return false;
    }
    CCallController::getInstance().dialOut("4001", QString(), true, QString());
    settle(m_control);
    return QTest::qWaitFor([] { return CCallController::getInstance().getCallStatus() == enums::Connected; }, 5000);
}

void TestToolbar::iconFiles_data()
{
    QTest::addColumn<CToolbarIcons::Icon>("icon");
    QTest::addColumn<double>("scale");
    QTest::addColumn<QString>("file");
    QTest::newRow("mic on 1") << CToolbarIcons::MicOn << 1.0 << "icon_unmute.png";
    QTest::newRow("mic off 1.5") << CToolbarIcons::MicOff << 1.5 << "icon_mute@1.5x.png";
    QTest::newRow("camera on 2") << CToolbarIcons::CameraOn << 2.0 << "icon_resume-camera@2x.png";
    QTest::newRow("camera off 1.25") << CToolbarIcons::CameraOff << 1.25 << "icon_suspend-camera.png";
    QTest::newRow("volume 1.5") << CToolbarIcons::Volume << 1.5 << "icon_volume-1.5x.png";
    QTest::newRow("volume muted 2") << CToolbarIcons::VolumeMuted << 2.0 << "icon_volumeoff-2x.png";
    QTest::newRow("share 2") << CToolbarIcons::Share << 2.0 << "icon_share@2x.png";
    QTest::newRow("more 1") << CToolbarIcons::More << 1.0 << "icon_more.png";
    QTest::newRow("dial pad 2") << CToolbarIcons::DialPad << 2.0 << "icon_dtmf-2x.png";
    QTest::newRow("content preferred 1.5")
        << CToolbarIcons::LayoutContentPreferred << 1.5 << "icon_perferred_content@1.5x.png";
    QTest::newRow("content only 2") << CToolbarIcons::LayoutContentOnly << 2.0 << "icon_speaker@2x.png";
    QTest::newRow("device arrow 1.5") << CToolbarIcons::DeviceArrow << 1.5 << "icon_arrow@1.5x.png";
}

void TestToolbar::iconFiles()
{
    QFETCH(CToolbarIcons::Icon, icon);
    QFETCH(double, scale);
    QFETCH(QString, file);
    const QString path = CToolbarIcons::path(icon, scale);
    QCOMPARE(path, ":/resources/images/layout-operationbar/" + file);
    QVERIFY2(!QPixmap(path).isNull(), qPrintable(path));
}

void TestToolbar::labelsAndArrowsShowWhole_data()
{
    QTest::addColumn<qreal>("dpi");
    QTest::newRow("1") << qreal(96);
    QTest::newRow("1.5") << qreal(144);
    QTest::newRow("2") << qreal(192);
}

void TestToolbar::labelsAndArrowsShowWhole()
{
    QFETCH(qreal, dpi);
    const double scale = dpi / 96;
    ScopedScreenDpi screenDpi(dpi);
    QVERIFY(connectCall());
    CLayoutToolbarDlg toolbar(nullptr);
    toolbar.initBtnStatus();
    toolbar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&toolbar));
    int labelled = 0;
    for (const QToolButton *button : toolbar.findChildren<QToolButton *>()) {
        if (button->isHidden() || button->text().isEmpty()) {
            continue;
        }
        ++labelled;
        // The style puts the label under the icon and a few pixels between.
        const int needed = button->iconSize().height() + 4 + QFontMetrics(button->font()).height();
        QVERIFY2(needed <= button->height(),
                 qPrintable(QString("%1 needs %2 of %3").arg(button->objectName()).arg(needed).arg(button->height())));
    }
    QVERIFY(labelled >= 4);
    for (const char *name : {"m_pBtnSelectMicUp", "m_pBtnSelectCameraUp"}) {
        const QImage arrow = toolbar.button(name)->grab().toImage();
        const QRgb background = arrow.pixel(0, 0);
        QRect drawn;
        for (int y = 0; y < arrow.height(); ++y) {
            for (int x = 0; x < arrow.width(); ++x) {
                if (arrow.pixel(x, y) != background) {
                    drawn |= QRect(x, y, 1, 1);
                }
            }
        }
        QVERIFY2(drawn.width() >= int(8 * scale), qPrintable(QString("%1: %2 px wide").arg(name).arg(drawn.width())));
    }
}

void TestToolbar::layoutButton_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("audioOnly");
    QTest::addColumn<bool>("layout");
    QTest::addColumn<bool>("camera");
    QTest::newRow("people") << 0 << false << false << true;
    QTest::newRow("content preferred") << 1 << false << true << true;
    QTest::newRow("content only") << 2 << false << true << true;
    QTest::newRow("whiteboard preferred") << 3 << false << true << true;
    QTest::newRow("whiteboard only") << 4 << false << true << true;
    QTest::newRow("local content") << 5 << false << true << true;
    QTest::newRow("local whiteboard") << 6 << false << true << true;
    QTest::newRow("audio only mode") << 7 << false << false << true;
    QTest::newRow("content in an audio-only call") << 1 << true << false << false;
}

void TestToolbar::layoutButton()
{
    QFETCH(int, mode);
    QFETCH(bool, audioOnly);
    QFETCH(bool, layout);
    QFETCH(bool, camera);
    CLayoutToolbarDlg &toolbar = *m_toolbar;
    toolbar.setLayoutMode(mode);
    toolbar.setAudioOnly(audioOnly);
    QCOMPARE(shown(toolbar, "m_pBtnSwitchLayout"), layout);
    QCOMPARE(shown(toolbar, "m_pBtnEnableCamera"), camera);
    QCOMPARE(shown(toolbar, "m_pBtnSelectCameraUp"), camera);
    QCOMPARE(shown(toolbar, "m_pBtnShare"), camera);
}

void TestToolbar::switchLayoutAsksForTheOtherLayout_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("asked");
    QTest::newRow("1 to 2") << 1 << 2;
    QTest::newRow("2 to 1") << 2 << 1;
    QTest::newRow("3 to 4") << 3 << 4;
    QTest::newRow("4 to 3") << 4 << 3;
    QTest::newRow("5 asks nothing") << 5 << -1;
}

void TestToolbar::switchLayoutAsksForTheOtherLayout()
{
    QFETCH(int, mode);
    QFETCH(int, asked);
    QSignalSpy changes(m_toolbar.get(), &CLayoutToolbarDlg::sigChangeLayoutMode);
    m_toolbar->setLayoutMode(mode);
    const QIcon before = toolButton(*m_toolbar, "m_pBtnSwitchLayout")->icon();
    toolButton(*m_toolbar, "m_pBtnSwitchLayout")->click();
    QCOMPARE(changes.count(), asked < 0 ? 0 : 1);
    if (asked >= 0) {
        QCOMPARE(int(changes.at(0).at(0).value<enums::LayoutModeType>()), asked);
    }
    QVERIFY(!before.isNull() || mode == 5);
}

void TestToolbar::managementAndAttendees_data()
{
    QTest::addColumn<QString>("serverType");
    QTest::addColumn<QString>("pagesFolder");
    QTest::addColumn<int>("loginStatus");
    QTest::addColumn<bool>("controllable");
    QTest::addColumn<bool>("management");
    QTest::addColumn<bool>("attendees");
    const int member = enums::LoggedIn;
    // A server without a conference-control page: its host would get a
    // window with nothing to load, and sees who takes part instead.
    QTest::newRow("host") << "UCM"
                          << "" << member << true << false << true;
    QTest::newRow("participant") << "UCM"
                                 << "" << member << false << false << true;
    QTest::newRow("CCM participant") << "CCM"
                                     << "/portal/" << member << false << false << false;
    QTest::newRow("CCM host") << "CCM"
                              << "/portal/" << member << true << true << false;
    QTest::newRow("CCM host without pages") << "CCM"
                                            << "" << member << true << false << false;
    QTest::newRow("guest") << "UCM"
                           << "" << int(enums::AnonymousLoggedIn) << false << false << false;
    // A guest's status while in the call it joined.
    QTest::newRow("guest in a call") << "UCM"
                                     << "" << int(enums::AnonymousLoggingIn) << false << false << false;
}

void TestToolbar::managementAndAttendees()
{
    QFETCH(QString, serverType);
    QFETCH(QString, pagesFolder);
    QFETCH(int, loginStatus);
    QFETCH(bool, controllable);
    QFETCH(bool, management);
    QFETCH(bool, attendees);
    kd::sdk::KDModelServer server;
    server.address = serverType.toLower().toStdString() + (pagesFolder.isEmpty() ? "-bare" : "") + ".parvela.test";
    server.appServerType = serverType.toStdString();
    server.urlSuffixForPC = pagesFolder.toStdString();
    m_control->addServer(server);
    CLoginManager &login = CLoginManager::getInstance();
    QVERIFY(login.login(QString::fromStdString(server.address), false, 0, "ben", "Ben-pass1"));
    QTRY_COMPARE(login.getLoginStatus(), enums::LoggedIn);
    QCOMPARE(QString::fromStdString(login.getLoginUserInfo().appServerType), serverType);
    if (loginStatus != enums::LoggedIn) {
        CLoginManager::getInstance().setLoginStatus(enums::LoginStatus(loginStatus));
    }
    m_toolbar->slotConfMngtVisible(controllable);
    QCOMPARE(shown(*m_toolbar, "m_pBtnConfMngt"), management);
    QCOMPARE(shown(*m_toolbar, "m_pBtnAttendees"), attendees);
    // A participant reply keeps a button the toolbar hid hidden.
    auto *button = qobject_cast<CAttendeesButton *>(m_toolbar->button("m_pBtnAttendees"));
    QCOMPARE(button->isShowAllowed(), attendees);
    // The layout's own way to management (the sharing toolbar's button) has
    // no page to open either: it lists the people where that is possible.
    if (controllable && !management) {
        m_toolbar->openManagerWindow();
        QCOMPARE(m_toolbar->attendeesWindow() != nullptr, attendees);
    }
}

void TestToolbar::microphoneAndCamera_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("operation");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<QString>("text");
    QTest::newRow("mic off") << "m_pBtnEnableMic"
                             << "enableMic" << false << "Unmute";
    QTest::newRow("mic off refused") << "m_pBtnEnableMic"
                                     << "enableMic" << true << "Mute";
    QTest::newRow("camera off") << "m_pBtnEnableCamera"
                                << "enableCamera" << false << "Enable Video";
    QTest::newRow("camera off refused") << "m_pBtnEnableCamera"
                                        << "enableCamera" << true << "Stop Video";
}

void TestToolbar::microphoneAndCamera()
{
    QFETCH(QString, button);
    QFETCH(QString, operation);
    QFETCH(bool, refused);
    QFETCH(QString, text);
    QVERIFY(connectCall());
    CCallController::enableMic(true);
    CCallController::enableCamera(true);
    m_toolbar->initBtnStatus();
    QToolButton *toggle = toolButton(*m_toolbar, button.toLatin1().constData());
    QVERIFY(toggle->isChecked());
    if (refused) {
        m_control->failNext(operation.toStdString(), kd::sdk::KD_ERR_NOT_PERMITTED);
    }

    toggle->click();

    const bool engineOn =
        button == "m_pBtnEnableMic" ? CCallController::isMicEnabled() : CCallController::isCameraEnabled();
    QCOMPARE(engineOn, refused);
    QCOMPARE(toggle->isChecked(), engineOn);
    QCOMPARE(toggle->text(), text);
    QCOMPARE(toggle->styleSheet(), QString(engineOn ? "color: #fff;" : "color: #FF4747;"));
    if (button == "m_pBtnEnableMic") {
        QCOMPARE(m_toolbar->isMicButtonChecked(), engineOn);
    }
    // A language change keeps the text of what the engine holds.
    m_toolbar->slotOnLanguageChanged();
    QCOMPARE(toggle->text(), text);
}

void TestToolbar::hostMuteOffersSpeechRequest()
{
    QVERIFY(connectCall());
    m_toolbar->initBtnStatus();
    QSignalSpy relayed(m_toolbar.get(), &CLayoutToolbarDlg::sigrequestSpeakPrompt);
    QVERIFY(!shown(*m_toolbar, "m_pBtnMore"));

    m_control->injectHostMute(true);
    settle(m_control);

    QVERIFY(!m_toolbar->isMicButtonChecked());
    QVERIFY(m_toolbar->isLocalRemoteMuted());
    QVERIFY(shown(*m_toolbar, "m_pBtnMore"));
    // Unmuting by oneself is refused while the host holds the mute.
    toolButton(*m_toolbar, "m_pBtnEnableMic")->click();
    QVERIFY(!m_toolbar->isMicButtonChecked());

    toolButton(*m_toolbar, "m_pBtnMore")->click();
    QVERIFY(m_toolbar->moreMenu());
    QVERIFY(m_toolbar->moreMenu()->requestSpeakButton());
    m_control->clearOperations();
    m_toolbar->moreMenu()->requestSpeakButton()->click();
    QCOMPARE(operationsNamed(m_control, "requestRemoteUnmute"), QStringList{"requestRemoteUnmute(1)"});
    QVERIFY(relayed.wait(kdtest::kStateWaitMs));

    m_control->injectHostMute(false);
    settle(m_control);
    QVERIFY(!m_toolbar->isLocalRemoteMuted());
    QVERIFY(!shown(*m_toolbar, "m_pBtnMore"));
}

void TestToolbar::volumeFollowsEngine()
{
    QToolButton *volume = toolButton(*m_toolbar, "m_pBtnVolume");
    kd::engine::KDVolume muted;
    muted.mute = 1;
    muted.volume = 1.5f;
    QVERIFY(CKDSdkManager::getInstance()->setVolume(kd::engine::KD_DEVICE_SPEAKER, muted));
    settle(m_control);
    QVERIFY(volume->isChecked());
    QCOMPARE(volume->styleSheet(), QString("color: #FF4747;"));

    volume->click();
    QVERIFY(m_toolbar->volumeControl());
    QVERIFY(volume->isChecked());
    QCOMPARE(m_toolbar->volumeControl()->findChild<QLabel *>("m_value")->text(), QString("50"));
    // A microphone volume event leaves the speaker's button alone.
    kd::engine::KDVolume mic;
    mic.volume = 1.0f;
    QVERIFY(CKDSdkManager::getInstance()->setVolume(kd::engine::KD_DEVICE_MIC, mic));
    settle(m_control);
    QVERIFY(volume->isChecked());
    muted.mute = 0;
    QVERIFY(CKDSdkManager::getInstance()->setVolume(kd::engine::KD_DEVICE_SPEAKER, muted));
    settle(m_control);
    QVERIFY(!volume->isChecked());
    QCOMPARE(volume->styleSheet(), QString("color: #fff;"));
}

void TestToolbar::deviceChangeRebuildsOpenMenuOnly_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<bool>("menuOpen");
    QTest::newRow("camera, menu open") << int(kd::engine::KD_DEVICE_CAMERA) << true;
    QTest::newRow("camera, menu closed") << int(kd::engine::KD_DEVICE_CAMERA) << false;
    QTest::newRow("speaker, menu open") << int(kd::engine::KD_DEVICE_SPEAKER) << true;
    QTest::newRow("microphone, menu closed") << int(kd::engine::KD_DEVICE_MIC) << false;
}

void TestToolbar::deviceChangeRebuildsOpenMenuOnly()
{
    QFETCH(int, type);
    QFETCH(bool, menuOpen);
    const bool camera = type == kd::engine::KD_DEVICE_CAMERA;
    const auto menu = [this, camera]() -> QWidget * {
        return camera ? static_cast<QWidget *>(m_toolbar->cameraMenu()) : m_toolbar->audioMenu();
    };
    if (menuOpen) {
        m_toolbar->button(camera ? "m_pBtnSelectCameraUp" : "m_pBtnSelectMicUp")->setFocus();
        qobject_cast<QPushButton *>(m_toolbar->button(camera ? "m_pBtnSelectCameraUp" : "m_pBtnSelectMicUp"))->click();
        QVERIFY(menu());
    }
    QPointer<QWidget> before = menu();
    KDDevice device;
    device.type = type;
    device.name = "Plugged In";
    m_control->injectDeviceAdded(device);
    settle(m_control);

    QCOMPARE(menu() != nullptr, menuOpen);
    if (menuOpen) {
        QVERIFY(menu() != before.data());
        QStringList names;
        for (const QCheckBox *box : menu()->findChildren<QCheckBox *>("m_check")) {
            names << box->text();
        }
        QVERIFY(names.contains("Plugged In"));
    }
}

void TestToolbar::secondArrowClickKeepsMenu()
{
    auto *arrow = qobject_cast<QPushButton *>(m_toolbar->button("m_pBtnSelectMicUp"));
    arrow->click();
    QPointer<kd_app::views::menuAudioWidget> first = m_toolbar->audioMenu();
    QVERIFY(first);
    arrow->click();
    QCOMPARE(m_toolbar->audioMenu(), first.data());
    QVERIFY(!m_toolbar->getShowPromptFlag());
    QVERIFY(m_toolbar->isAnyPopupVisible());
}

void TestToolbar::settingsLinkOpensItsPage_data()
{
    QTest::addColumn<QByteArray>("arrow");
    QTest::addColumn<QString>("link");
    QTest::addColumn<int>("page");
    QTest::newRow("audio menu") << QByteArray("m_pBtnSelectMicUp") << "m_showAudioSets" << 2;
    QTest::newRow("camera menu") << QByteArray("m_pBtnSelectCameraUp") << "m_showVideoSets" << 3;
}

void TestToolbar::settingsLinkOpensItsPage()
{
    QFETCH(QByteArray, arrow);
    QFETCH(QString, link);
    QFETCH(int, page);
    qobject_cast<QPushButton *>(m_toolbar->button(arrow.constData()))->click();
    QWidget *menu = m_toolbar->audioMenu() ? static_cast<QWidget *>(m_toolbar->audioMenu())
                                           : static_cast<QWidget *>(m_toolbar->cameraMenu());
    QVERIFY(menu);

    menu->findChild<QPushButton *>(link)->click();

    QVERIFY(!m_toolbar->audioMenu() && !m_toolbar->cameraMenu());
    QPointer<kd_app::views::CContainerSettingsFormWidget> settings = m_toolbar->settingsWindow();
    QVERIFY(settings && settings->isVisible());
    QCOMPARE(settings->findChild<QWidget *>("twgtSettingsPages")->property("currentIndex").toInt(), page);
    QCOMPARE(settings->findChild<QWidget *>("lvSettingsEntrances")->property("currentRow").toInt(), page);
    settings->close();
    QTRY_VERIFY(!settings);
    QVERIFY(!m_toolbar->settingsWindow());
}

void TestToolbar::shareRefused_data()
{
    QTest::addColumn<bool>("sending");
    QTest::newRow("already sending content") << true;
    QTest::newRow("no sources") << false;
}

void TestToolbar::shareRefused()
{
    QFETCH(bool, sending);
    QVERIFY(connectCall());
    if (sending) {
        CCallController::getInstance().setContentStreamStatus(enums::ContentStreamStatus_SendingContentStarted,
                                                              std::string(), 0);
    } else {
        m_control->failNext("getContentSourceList", kd::sdk::KD_ERR_GENERIC);
    }
    m_toolbar->slotOnShareClicked();
    QVERIFY(!m_toolbar->sharePicker());
    QVERIFY(!m_toolbar->isAnyPopupVisible());
}

void TestToolbar::dialPadComesBackEmpty()
{
    QVERIFY(connectCall());
    m_toolbar->slotOnDTMFClicked();
    QPointer<kd_app::views::CDTMFDlg> pad = m_toolbar->dialPad();
    QVERIFY(pad && pad->isVisible());
    pad->slot_selectInput(0);
    QCOMPARE(pad->digits(), QString("1"));
    m_toolbar->slotOnDTMFClicked();
    QCOMPARE(m_toolbar->dialPad(), pad.data());

    pad->close();
    QVERIFY(!m_toolbar->dialPad());
    QTRY_VERIFY(!pad);
    m_toolbar->slotOnDTMFClicked();
    QVERIFY(m_toolbar->dialPad());
    QCOMPARE(m_toolbar->dialPad()->digits(), QString());
}

void TestToolbar::hangUp_data()
{
    QTest::addColumn<int>("sending");
    QTest::addColumn<bool>("leave");
    QTest::addColumn<QStringList>("calls");
    QTest::newRow("leave while sending the whiteboard") << int(enums::ContentStreamStatus_SendingWhiteBoardStarted)
                                                        << true << QStringList({"stopContent()", "hangUp()"});
    QTest::newRow("leave while sending the screen")
        << int(enums::ContentStreamStatus_SendingContentStarted) << true << QStringList{"hangUp()"};
    QTest::newRow("cancel") << int(enums::ContentStreamStatus_None) << false << QStringList();
}

void TestToolbar::hangUp()
{
    QFETCH(int, sending);
    QFETCH(bool, leave);
    QFETCH(QStringList, calls);
    QVERIFY(connectCall());
    CCallController::getInstance().setContentStreamStatus(sending, std::string(), 0);
    m_control->clearOperations();

    qobject_cast<QPushButton *>(m_toolbar->button("m_pBtnHangup"))->click();
    QPointer<AlertDlg> alert = m_toolbar->leaveConfirmation();
    QVERIFY(alert && alert->isVisible());
    QCOMPARE(alert->findChild<QLabel *>("m_alertContent")->text(), QString("Are you sure to leave the meeting?"));
    alert->findChild<QPushButton *>(leave ? "m_button1" : "m_button2")->click();

    QStringList seen = operationsNamed(m_control, "stopContent") + operationsNamed(m_control, "hangUp");
    QCOMPARE(seen, calls);
    QVERIFY(!m_toolbar->leaveConfirmation());
    QTRY_VERIFY(!alert);
    settle(m_control);
    QCOMPARE(CCallController::getInstance().getCallStatus() == enums::Connected, !leave);
}

void TestToolbar::callEndClosesWindows()
{
    QVERIFY(connectCall());
    CLayoutToolbarDlg &toolbar = *m_toolbar;
    toolbar.slotShowAudioSetting();
    toolbar.slotOnShareClicked();
    toolbar.slotOnAttendeesClicked();
    toolbar.slotOnDTMFClicked();
    toolbar.slotOnBtnHangupClicked();
    toolButton(toolbar, "m_pBtnVolume")->click();
    QList<QPointer<QWidget>> closing{toolbar.settingsWindow(), toolbar.sharePicker(), toolbar.attendeesWindow(),
                                     toolbar.dialPad(), toolbar.leaveConfirmation()};
    for (const QPointer<QWidget> &window : closing) {
        QVERIFY(window && window->isVisible());
    }
    QSignalSpy settingsClosed(&toolbar, &CLayoutToolbarDlg::sigSettingWinClosed);

    CCallController::getInstance().hangUp();
    settle(m_control);

    QCOMPARE(CCallController::getInstance().getCallStatus(), enums::Ended);
    QVERIFY(!toolbar.settingsWindow() && !toolbar.sharePicker() && !toolbar.attendeesWindow() && !toolbar.dialPad() &&
            !toolbar.leaveConfirmation());
    for (const QPointer<QWidget> &window : closing) {
        QTRY_VERIFY(!window);
    }
    QCOMPARE(settingsClosed.count(), 1);
    QVERIFY(toolbar.volumeControl() && toolbar.volumeControl()->isVisible());
    QVERIFY(!shown(toolbar, "m_pBtnShare"));
    QVERIFY(!shown(toolbar, "m_pBtnConfMngt"));
}

// A call to one person has no meeting to list: neither the button nor the
// window shows the people of the meeting before it.
void TestToolbar::callToOnePersonListsNobody()
{
    QVERIFY(signInAs(m_control, "ben", "Ben-pass1"));
    CCallController &calls = CCallController::getInstance();
    calls.dialOut("4001", QString(), true, QString());
    settle(m_control);
    QTRY_COMPARE(calls.getCallStatus(), enums::Connected);
    auto *button = qobject_cast<CAttendeesButton *>(m_toolbar->button("m_pBtnAttendees"));
    m_toolbar->slotConfMngtVisible(false);
    ucmParticipantData ann;
    ann.userId = 11;
    ann.name = "Ann";
    ann.videoMode = true;
    CUCMApiManager::getInstance()->getParticipantList() = {ann};
    button->slot_getParticipants_succeed();
    QVERIFY(shown(*m_toolbar, "m_pBtnAttendees"));
    QCOMPARE(button->countText(), QString("1"));
    calls.hangUp();
    settle(m_control);
    QCOMPARE(calls.getCallStatus(), enums::Ended);

    m_control->injectIncomingCall("Carol", "3003", false);
    settle(m_control);
    calls.acceptCall(true);
    settle(m_control);
    QTRY_COMPARE(calls.getCallStatus(), enums::Connected);
    m_toolbar->slotConfMngtVisible(false);

    QVERIFY(!shown(*m_toolbar, "m_pBtnAttendees"));
    QVERIFY(CUCMApiManager::getInstance()->getParticipantList().isEmpty());
    m_toolbar->slotOnAttendeesClicked();
    QCOMPARE(m_toolbar->attendeesWindow()->videoCount() + m_toolbar->attendeesWindow()->audioCount(), 0);
}

void TestToolbar::controllabilityAnswerAfterDestruction()
{
    QVERIFY(connectCall());
    // The pool task is held inside the engine call until the toolbar is gone.
    QSemaphore asked;
    QSemaphore answer;
    m_control->setOperationListener([&asked, &answer](const std::string &name) {
        if (name == "conferenceControllable") {
            asked.release();
            answer.tryAcquire(1, 5000);
        }
    });
    m_toolbar->slotOnCallStatusChanged(enums::Connected);
    QVERIFY(asked.tryAcquire(1, 5000));
    m_toolbar.reset();
    answer.release();
    QThreadPool::globalInstance()->waitForDone(5000);
    QCoreApplication::processEvents();
    m_control->setOperationListener(nullptr);

    // A toolbar that lives gets its answer: the host of a server without a
    // management page is offered the attendees.
    m_toolbar = std::make_unique<CLayoutToolbarDlg>(nullptr);
    auto *attendees = qobject_cast<CAttendeesButton *>(m_toolbar->button("m_pBtnAttendees"));
    attendees->setShowAllowed(false);
    m_toolbar->slotOnCallStatusChanged(enums::Connected);
    QTRY_VERIFY(attendees->isShowAllowed());
    QVERIFY(!shown(*m_toolbar, "m_pBtnConfMngt"));
}

void TestToolbar::layoutEngineHearsTheToolbar()
{
    // The engine connects to the toolbar by signal names; a name or an
    // argument type spelt otherwise fails only at run time.
    CLogCapture log;
    kd_app::views::CLayoutPeopleSettingDlg::setToolbarFactory([] { return new CLayoutToolbarDlg(nullptr); });
    auto engine = std::make_unique<kd_app::views::CLayoutPeopleSettingDlg>(nullptr);
    kd_app::views::CLayoutPeopleSettingDlg::setToolbarFactory(nullptr);
    auto *toolbar = qobject_cast<CLayoutToolbarDlg *>(engine->getToolbarDlg());
    QVERIFY(toolbar);
    QVERIFY2(!log.contains("connect failed"), qPrintable(log.warningLines().join('\n')));

    toolbar->setShowPicButtonVisible(true);
    qobject_cast<QPushButton *>(toolbar->button("m_pBtnShowPic"))->click();
    QVERIFY(!shown(*toolbar, "m_pBtnShowPic"));
}

QTEST_MAIN(TestToolbar)
#include "tst_toolbar.moc"
