#include "clayouttoolbardlg.h"

#include <QCursor>
#include <QEvent>
#include <QPushButton>
#include <QToolButton>
#include <QtConcurrent>

#include "helpers/cappconfigutils.h"
#include "helpers/cgeneralutils.h"
#include "helpers/clogformat.h"
#include "models/ccallcontroller.h"
#include "models/ckdsdkmanager.h"
#include "models/clinguist.h"
#include "models/cloginmanager.h"
#include "models/cwebpageaddress.h"
#include "ui_clayouttoolbardlg.h"
#include "views/base/alertdlg.h"
#include "views/base/cstylestrings.h"
#include "views/call/attendees/cattendesswidgets.h"
#include "views/call/share/cselectsharecontent.h"
#include "views/call/toolbar/ccontrolvolumewidget.h"
#include "views/call/toolbar/cdtmfdlg.h"
#include "views/call/toolbar/cmenumorewidget.h"
#include "views/call/toolbar/ctoolbaricons.h"
#include "views/call/toolbar/menuaudiowidget.h"
#include "views/call/toolbar/menuvideowidget.h"
#include "views/settings/ccontainersettingsformwidget.h"
#include "views/web/cconfmngtdlg.h"

namespace kd_app {
namespace views {

using models::CCallController;
using models::CKDSdkManager;
using models::CLoginManager;

namespace {

const char STYLE_BASE[] = ":/resources/qss/layout-toolbar-dlg";
constexpr int POPUP_GAP = 10;
// Our button images carry their glyph edge to edge: drawn at their full 56
// pixels they left the label under them no room in the 60-pixel bar.
constexpr int TOOL_ICON_SIZE = 36;
constexpr int ARROW_ICON_SIZE = 12;
constexpr int SETTINGS_AUDIO_PAGE = 2;
constexpr int SETTINGS_VIDEO_PAGE = 3;
// The call controller's call type of a call to one person.
constexpr int POINT_TO_POINT_CALL = 2;
const Qt::WindowFlags POPUP_FLAGS = Qt::SplashScreen | Qt::FramelessWindowHint;

// Only such a page lets a host manage the meeting; a host of a server
// without one manages nothing here and sees who takes part instead.
bool hasConferenceControlPage()
{
    const kd::engine::KDUserInfo &user = CLoginManager::getInstance().getLoginUserInfo();
    models::CWebPageAddress address;
    address.overrideAddress = helpers::CAppConfigUtils::instance().getConfManagementAddress();
    address.serverType = QString::fromStdString(user.appServerType);
    address.urlSuffix = QString::fromStdString(user.urlSuffixForPC);
    return address.exists();
}

bool isPointToPointCall()
{
    return CCallController::getInstance().getCallTypes() == POINT_TO_POINT_CALL;
}

} // namespace

CLayoutToolbarDlg::CLayoutToolbarDlg(QWidget *parent) : CBaseDlg(parent), ui(std::make_unique<Ui::CLayoutToolbarDlg>())
{
    qRegisterMetaType<enums::LayoutModeType>("kd_app::enums::LayoutModeType");
    qRegisterMetaType<enums::LayoutModeType>("enums::LayoutModeType");
    ui->setupUi(this);
    helpers::CGeneralUtils::setStyle(this, QString(STYLE_BASE) + ".qss");
    setWindowFlags(Qt::FramelessWindowHint);
    m_bCenterOnFirstShow = false;

    for (QToolButton *button :
         {ui->m_pBtnEnableMic, ui->m_pBtnEnableCamera, ui->m_pBtnSwitchLayout, ui->m_pBtnVolume}) {
        button->setCheckable(true);
    }
    updateScaledIcons();
    ui->m_pBtnShowPic->hide();
    ui->m_pBtnConfMngt->hide();
    // More is offered only while the host holds the local side muted.
    updateMoreModeVisibility();
    updateButtonTexts();
    clearDefaultButtons();

    connect(&CCallController::getInstance(), &CCallController::sigCallStatusChanged, this,
            &CLayoutToolbarDlg::slotOnCallStatusChanged);
    connect(ui->m_pBtnEnableMic, &QToolButton::clicked, this, &CLayoutToolbarDlg::slotOnBtnEnableMicClicked);
    connect(ui->m_pBtnEnableCamera, &QToolButton::clicked, this, &CLayoutToolbarDlg::slotOnBtnEnableCameraClicked);
    connect(ui->m_pBtnSelectMicUp, &QPushButton::clicked, this, &CLayoutToolbarDlg::slotOnBtnSelectMicClicked);
    connect(ui->m_pBtnSelectCameraUp, &QPushButton::clicked, this, &CLayoutToolbarDlg::slotOnBtnSelectCameraClicked);
    connect(ui->m_pBtnSwitchLayout, &QToolButton::clicked, this, &CLayoutToolbarDlg::slotOnBtnSwitchLayoutClicked);
    connect(ui->m_pBtnConfMngt, &CNumberButton::clicked, this, &CLayoutToolbarDlg::slotOnConfMngtClicked);
    connect(ui->m_pBtnAttendees, &CAttendeesButton::clicked, this, &CLayoutToolbarDlg::slotOnAttendeesClicked);
    connect(ui->m_pBtnHangup, &QPushButton::clicked, this, &CLayoutToolbarDlg::slotOnBtnHangupClicked);
    connect(ui->m_pBtnShowPic, &QPushButton::clicked, this, &CLayoutToolbarDlg::slotOnBtnShowPicture);
    connect(ui->m_pBtnShare, &QToolButton::clicked, this, &CLayoutToolbarDlg::slotOnShareClicked);
    connect(ui->m_pBtnDTMF, &QToolButton::clicked, this, &CLayoutToolbarDlg::slotOnDTMFClicked);
    connect(ui->m_pBtnMore, &QToolButton::clicked, this, &CLayoutToolbarDlg::slotOnBtnMoreClicked);
    connect(ui->m_pBtnVolume, &QToolButton::clicked, this, &CLayoutToolbarDlg::slotOnBtnVolumClicked);
    connect(models::CLinguist::getInstance(), &models::CLinguist::sigLanguageChanged, this,
            &CLayoutToolbarDlg::slotOnLanguageChanged);
    CKDSdkManager *sdk = CKDSdkManager::getInstance();
    connect(sdk, &CKDSdkManager::eventVolume, this, &CLayoutToolbarDlg::slotVolume);
    connect(sdk, &CKDSdkManager::eventDeviceAdded, this, &CLayoutToolbarDlg::slotOnDeviceAdded);
    connect(sdk, &CKDSdkManager::eventDeviceRemoved, this, &CLayoutToolbarDlg::slotOnDeviceRemoved);
    connect(sdk, &CKDSdkManager::eventMicMutedShow, this, &CLayoutToolbarDlg::slotOnMicMutedShow);
    connect(sdk, &CKDSdkManager::eventVideoMutedShow, this, &CLayoutToolbarDlg::slotOnVideoMutedShow);
    connect(&m_controllableWatcher, &QFutureWatcher<bool>::finished, this,
            [this] { slotConfMngtVisible(m_controllableWatcher.result()); });
}

CLayoutToolbarDlg::~CLayoutToolbarDlg()
{
    KD_LOG;
    if (m_pConfMngtDlg) {
        disconnect(m_pConfMngtDlg, &CConfMngtDlg::sigClose, this, &CLayoutToolbarDlg::slotOnConfMngtDlgClosed);
        m_pConfMngtDlg->deleteLater();
        m_pConfMngtDlg = nullptr;
    }
    ui.reset();
    KD_LOG << "done";
}

menuAudioWidget *CLayoutToolbarDlg::audioMenu() const
{
    return m_pAudioSelectMenu;
}

menuVideoWidget *CLayoutToolbarDlg::cameraMenu() const
{
    return m_pCamSelectMenu;
}

CMenuMoreWidget *CLayoutToolbarDlg::moreMenu() const
{
    return m_pMoreMenu;
}

CControlVolumeWidget *CLayoutToolbarDlg::volumeControl() const
{
    return m_pVolumeControl;
}

CContainerSettingsFormWidget *CLayoutToolbarDlg::settingsWindow() const
{
    return m_pSettingForm;
}

CSelectShareContent *CLayoutToolbarDlg::sharePicker() const
{
    return m_pSelectShareContentForm;
}

CAttendessWidgets *CLayoutToolbarDlg::attendeesWindow() const
{
    return m_pAttendeesWidget;
}

CDTMFDlg *CLayoutToolbarDlg::dialPad() const
{
    return m_pDTMFDlg;
}

AlertDlg *CLayoutToolbarDlg::leaveConfirmation() const
{
    return m_pAlertWidget;
}

CConfMngtDlg *CLayoutToolbarDlg::confMngtWindow() const
{
    return m_pConfMngtDlg;
}

QWidget *CLayoutToolbarDlg::button(const char *objectName) const
{
    return findChild<QWidget *>(QString::fromLatin1(objectName));
}

// ---- buttons ---------------------------------------------------------------

void CLayoutToolbarDlg::updateButtonTexts()
{
    ui->m_pBtnEnableMic->setText(ui->m_pBtnEnableMic->isChecked() ? tr("Mute") : tr("Unmute"));
    ui->m_pBtnEnableCamera->setText(ui->m_pBtnEnableCamera->isChecked() ? tr("Stop Video") : tr("Enable Video"));
    ui->m_pBtnSwitchLayout->setText(tr("Layout"));
    ui->m_pBtnShare->setText(tr("Share"));
    ui->m_pBtnMore->setText(tr("More"));
    ui->m_pBtnVolume->setText(tr("Volume"));
    ui->m_pBtnDTMF->setText(tr("Keyboard"));
}

void CLayoutToolbarDlg::slotOnLanguageChanged()
{
    ui->retranslateUi(this);
    updateButtonTexts();
}

void CLayoutToolbarDlg::updateScaledIcons()
{
    const double scale = m_fStretchFactor;
    ui->m_pBtnShare->setIcon(QIcon(CToolbarIcons::path(CToolbarIcons::Share, scale)));
    ui->m_pBtnMore->setIcon(QIcon(CToolbarIcons::path(CToolbarIcons::More, scale)));
    ui->m_pBtnDTMF->setIcon(QIcon(CToolbarIcons::path(CToolbarIcons::DialPad, scale)));
}

void CLayoutToolbarDlg::setButtonState(QToolButton *button, bool on, int onIcon, int offIcon, const QString &onText,
                                       const QString &offText)
{
    button->setChecked(on);
    const auto icon = CToolbarIcons::Icon(on ? onIcon : offIcon);
    button->setIcon(QIcon(CToolbarIcons::path(icon, m_fStretchFactor)));
    button->setText(on ? onText : offText);
    button->setStyleSheet(on ? STYLE_TEXT_WHITE : STYLE_TEXT_RED);
}

void CLayoutToolbarDlg::refreshEnableMicBtnStatus(bool enabled)
{
    KD_LOG << "enabled:" << enabled;
    setButtonState(ui->m_pBtnEnableMic, enabled, CToolbarIcons::MicOn, CToolbarIcons::MicOff, tr("Mute"), tr("Unmute"));
    emit sigIsLocalMicEnabled(enabled);
}

void CLayoutToolbarDlg::refreshEnableCameraBtnStatus(bool enabled)
{
    KD_LOG << "enabled:" << enabled;
    setButtonState(ui->m_pBtnEnableCamera, enabled, CToolbarIcons::CameraOn, CToolbarIcons::CameraOff, tr("Stop Video"),
                   tr("Enable Video"));
}

void CLayoutToolbarDlg::refreshVolumeBtnStatus(bool muted, bool useMuted)
{
    if (useMuted) {
        ui->m_pBtnVolume->setChecked(muted);
    } else {
        muted = ui->m_pBtnVolume->isChecked();
    }
    const auto icon = muted ? CToolbarIcons::VolumeMuted : CToolbarIcons::Volume;
    ui->m_pBtnVolume->setIcon(QIcon(CToolbarIcons::path(icon, m_fStretchFactor)));
    ui->m_pBtnVolume->setStyleSheet(muted ? STYLE_TEXT_RED : STYLE_TEXT_WHITE);
}

void CLayoutToolbarDlg::setLayoutMode(int mode)
{
    m_layoutMode = mode;
    ui->m_pBtnSwitchLayout->setVisible(mode != enums::LayoutMode_People && mode != enums::LayoutMode_AudioOnly);
    if (mode == enums::LayoutMode_RemoteContentPreferred || mode == enums::LayoutMode_RemoteWhiteBoardPreferred) {
        ui->m_pBtnSwitchLayout->setIcon(
            QIcon(CToolbarIcons::path(CToolbarIcons::LayoutContentPreferred, m_fStretchFactor)));
    } else if (mode == enums::LayoutMode_RemoteContentOnly || mode == enums::LayoutMode_RemoteWhiteBoardOnly) {
        ui->m_pBtnSwitchLayout->setIcon(QIcon(CToolbarIcons::path(CToolbarIcons::LayoutContentOnly, m_fStretchFactor)));
    }
}

void CLayoutToolbarDlg::setAudioOnly(bool audioOnly)
{
    KD_LOG << "audioOnly:" << audioOnly;
    if (audioOnly) {
        for (QWidget *button : std::initializer_list<QWidget *>{ui->m_pBtnEnableCamera, ui->m_pBtnSelectCameraUp,
                                                                ui->m_pBtnShare, ui->m_pBtnSwitchLayout}) {
            button->hide();
        }
        return;
    }
    ui->m_pBtnEnableCamera->show();
    ui->m_pBtnSelectCameraUp->show();
    ui->m_pBtnShare->show();
    setLayoutMode(m_layoutMode);
    ui->m_pBtnShare->setVisible(CKDSdkManager::getInstance()->contentEnabled());
}

void CLayoutToolbarDlg::initBtnStatus()
{
    refreshEnableMicBtnStatus(CCallController::isMicEnabled());
    refreshEnableCameraBtnStatus(CCallController::isCameraEnabled());
}

void CLayoutToolbarDlg::checkMicStatus()
{
    const bool enabled = CCallController::isMicEnabled();
    KD_LOG << "bEnabled:" << enabled;
    refreshEnableMicBtnStatus(enabled);
}

void CLayoutToolbarDlg::checkCameraStatus()
{
    const bool enabled = CCallController::isCameraEnabled();
    KD_LOG << "bEnabled:" << enabled;
    refreshEnableCameraBtnStatus(enabled);
}

void CLayoutToolbarDlg::muteAudio()
{
    ui->m_pBtnEnableMic->setChecked(false);
    slotOnBtnEnableMicClicked();
}

void CLayoutToolbarDlg::UnmuteAudio()
{
    ui->m_pBtnEnableMic->setChecked(true);
    slotOnBtnEnableMicClicked();
}

bool CLayoutToolbarDlg::isMicButtonChecked() const
{
    return ui->m_pBtnEnableMic->isChecked();
}

void CLayoutToolbarDlg::slotOnBtnEnableMicClicked()
{
    const bool wanted = ui->m_pBtnEnableMic->isChecked();
    KD_LOG << "isChecked:" << wanted;
    CCallController::enableMic(wanted);
    const bool enabled = CCallController::isMicEnabled();
    if (enabled != wanted) {
        KD_WARN << "Failed to enableMic:" << wanted;
    }
    // What the engine holds, also after a refusal: the button never claims
    // a state the engine did not take.
    refreshEnableMicBtnStatus(enabled);
}

void CLayoutToolbarDlg::slotOnBtnEnableCameraClicked()
{
    const bool wanted = ui->m_pBtnEnableCamera->isChecked();
    KD_LOG << "isChecked:" << wanted;
    CCallController::enableCamera(wanted);
    const bool enabled = CCallController::isCameraEnabled();
    if (enabled != wanted) {
        KD_WARN << "Failed to enableCamera:" << wanted;
    }
    refreshEnableCameraBtnStatus(enabled);
}

void CLayoutToolbarDlg::setIsLocalRemoteMuted(bool muted)
{
    KD_LOG << "m_bIsLocalRemoteMuted:" << muted;
    m_bIsLocalRemoteMuted = muted;
    ui->m_pBtnMore->setVisible(muted);
}

void CLayoutToolbarDlg::updateMoreModeVisibility()
{
    ui->m_pBtnMore->setVisible(m_bIsLocalRemoteMuted);
}

void CLayoutToolbarDlg::setShowPicButtonVisible(bool visible)
{
    ui->m_pBtnShowPic->setVisible(visible);
}

void CLayoutToolbarDlg::slotOnBtnShowPicture()
{
    emit sigOnShowPicture();
    ui->m_pBtnShowPic->hide();
}

void CLayoutToolbarDlg::slotHidePicture()
{
    ui->m_pBtnShowPic->show();
}

void CLayoutToolbarDlg::slotOnBtnSwitchLayoutClicked()
{
    KD_LOG << "layoutMode:" << m_layoutMode;
    switch (m_layoutMode) {
    case enums::LayoutMode_RemoteContentPreferred:
        emit sigChangeLayoutMode(enums::LayoutMode_RemoteContentOnly);
        break;
    case enums::LayoutMode_RemoteContentOnly:
        emit sigChangeLayoutMode(enums::LayoutMode_RemoteContentPreferred);
        break;
    case enums::LayoutMode_RemoteWhiteBoardPreferred:
        emit sigChangeLayoutMode(enums::LayoutMode_RemoteWhiteBoardOnly);
        break;
    case enums::LayoutMode_RemoteWhiteBoardOnly:
        emit sigChangeLayoutMode(enums::LayoutMode_RemoteWhiteBoardPreferred);
        break;
    default:
        break;
    }
}

void CLayoutToolbarDlg::slotOnMicMutedShow(bool mic_muted)
{
    // The host holding the local side muted is what the More menu's
    // "Speech Request" answers.
    setIsLocalRemoteMuted(mic_muted);
    checkMicStatus();
}

void CLayoutToolbarDlg::slotOnVideoMutedShow(int /*video_muted*/)
{
    checkCameraStatus();
}

void CLayoutToolbarDlg::slotVolume(kd::engine::KD_DEVICE_TYPE type, kd::engine::KDVolume vol)
{
    if (type == kd::engine::KD_DEVICE_SPEAKER) {
        refreshVolumeBtnStatus(vol.mute != 0, true);
    }
}

// ---- popups ----------------------------------------------------------------

void CLayoutToolbarDlg::placePopup(QWidget *popup, QAbstractButton *anchor)
{
    popup->setParent(this, POPUP_FLAGS);
    popup->installEventFilter(this);
    popup->show();
    // A window shown without the window manager's help is not active, and
    // only an active popup hears that the user clicked elsewhere.
    popup->activateWindow();
    popup->raise();
    const QPoint at = anchor->mapTo(this, QPoint(0, 0));
    popup->move(x() + at.x() - (popup->width() - anchor->width()) / 2, y() + at.y() - popup->height() - POPUP_GAP);
    m_bShowPrompt = false;
}

void CLayoutToolbarDlg::slotOnBtnSelectMicClicked()
{
    if (m_pAudioSelectMenu) {
        return;
    }
    const QSignalBlocker blocker(ui->m_pBtnSelectMicUp);
    m_pAudioSelectMenu = new menuAudioWidget(m_fStretchFactor > 0 ? m_fStretchFactor : 1.0, this);
    m_pAudioSelectMenu->loadDevices();
    placePopup(m_pAudioSelectMenu, ui->m_pBtnSelectMicUp);
    connect(m_pAudioSelectMenu, &menuAudioWidget::sigShowAudioSetting, this, &CLayoutToolbarDlg::slotShowAudioSetting);
}

void CLayoutToolbarDlg::slotOnBtnSelectCameraClicked()
{
    if (m_pCamSelectMenu) {
        return;
    }
    const QSignalBlocker blocker(ui->m_pBtnSelectCameraUp);
    m_pCamSelectMenu = new menuVideoWidget(m_fStretchFactor > 0 ? m_fStretchFactor : 1.0, this);
    m_pCamSelectMenu->loadDevices();
    placePopup(m_pCamSelectMenu, ui->m_pBtnSelectCameraUp);
    connect(m_pCamSelectMenu, &menuVideoWidget::sigShowVideoSetting, this, &CLayoutToolbarDlg::slotShowVideoSetting);
}

void CLayoutToolbarDlg::slotOnBtnMoreClicked()
{
    const QSignalBlocker blocker(ui->m_pBtnMore);
    if (!m_pMoreMenu) {
        m_pMoreMenu = new CMenuMoreWidget(this, Qt::WindowFlags());
        connect(m_pMoreMenu, &CMenuMoreWidget::signal_clicked_requestSpeak, this,
                &CLayoutToolbarDlg::sigrequestSpeakPrompt);
    }
    m_pMoreMenu->setRequestSpeakEnabled(m_bIsLocalRemoteMuted);
    placePopup(m_pMoreMenu, ui->m_pBtnMore);
}

void CLayoutToolbarDlg::slotOnBtnVolumClicked()
{
    const kd::engine::KDVolume volume = CKDSdkManager::getInstance()->getVolume(kd::engine::KD_DEVICE_SPEAKER);
    refreshVolumeBtnStatus(volume.mute != 0, true);
    if (m_pVolumeControl) {
        return;
    }
    const QSignalBlocker blocker(ui->m_pBtnVolume);
    m_pVolumeControl = new CControlVolumeWidget(m_fStretchFactor > 0 ? m_fStretchFactor : 1.0, this);
    m_pVolumeControl->initVolume(volume.mute != 0, volume.volume);
    placePopup(m_pVolumeControl, ui->m_pBtnVolume);
}

bool CLayoutToolbarDlg::closeDeactivatedPopup(QObject *watched)
{
    QWidget *popup = nullptr;
    const char *name = nullptr;
    if (watched == m_pAudioSelectMenu) {
        popup = m_pAudioSelectMenu;
        name = "m_pAudioSelectMenu closed";
    } else if (watched == m_pCamSelectMenu) {
        popup = m_pCamSelectMenu;
        name = "m_pCamSelectMenu closed";
    } else if (watched == m_pMoreMenu) {
        popup = m_pMoreMenu;
        name = "m_pMoreMenu closed";
    } else if (watched == m_pVolumeControl) {
        popup = m_pVolumeControl;
        name = "m_pVolumeControl closed";
    }
    if (!popup) {
        return false;
    }
    if (popup->isVisible() && popup->geometry().contains(QCursor::pos())) {
        // The click that took the focus landed on the popup itself.
        popup->activateWindow();
        popup->raise();
        return true;
    }
    popup->close();
    m_bShowPrompt = true;
    KD_LOG << "Second menu closed:" << popup;
    KD_LOG << name;
    if (popup == m_pAudioSelectMenu) {
        m_pAudioSelectMenu = nullptr;
    } else if (popup == m_pCamSelectMenu) {
        m_pCamSelectMenu = nullptr;
    } else if (popup == m_pMoreMenu) {
        m_pMoreMenu = nullptr;
    } else {
        m_pVolumeControl = nullptr;
    }
    return true;
}

bool CLayoutToolbarDlg::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::WindowDeactivate && closeDeactivatedPopup(watched)) {
        return true;
    }
    if (event->type() != QEvent::Close) {
        return CBaseDlg::eventFilter(watched, event);
    }
    if (watched == m_pSettingForm) {
        KD_LOG << "m_pSettingForm is closed";
        m_bShowPrompt = true;
        m_pSettingForm = nullptr;
        emit sigSettingWinClosed();
        return true;
    }
    if (watched == m_pSelectShareContentForm) {
        m_pSelectShareContentForm = nullptr;
        return true;
    }
    if (watched == m_pAttendeesWidget) {
        m_pAttendeesWidget = nullptr;
        return true;
    }
    if (watched == m_pDTMFDlg) {
        m_pDTMFDlg = nullptr;
        return true;
    }
    return CBaseDlg::eventFilter(watched, event);
}

bool CLayoutToolbarDlg::isAnyPopupVisible() const
{
    const QWidget *popups[] = {m_pAudioSelectMenu, m_pCamSelectMenu,          m_pMoreMenu,
                               m_pVolumeControl,   m_pSelectShareContentForm, m_pDTMFDlg};
    for (const QWidget *popup : popups) {
        if (popup && popup->isVisible()) {
            return true;
        }
    }
    return false;
}

void CLayoutToolbarDlg::slotShowAudioSetting()
{
    showSetting(true);
    if (m_pAudioSelectMenu) {
        m_pAudioSelectMenu->close();
        m_pAudioSelectMenu = nullptr;
    }
}

void CLayoutToolbarDlg::slotShowVideoSetting()
{
    showSetting(false);
    if (m_pCamSelectMenu) {
        m_pCamSelectMenu->close();
        m_pCamSelectMenu = nullptr;
    }
}

void CLayoutToolbarDlg::showSetting(bool audio)
{
    if (m_pSettingForm && m_pSettingForm->isVisible()) {
        KD_LOG << "m_pSettingForm is visible";
        m_pSettingForm->centerWindow();
        return;
    }
    if (m_pSettingForm) {
        m_pSettingForm->removeEventFilter(this);
    }
    m_pSettingForm = new CContainerSettingsFormWidget(nullptr);
    connect(m_pSettingForm, &CContainerSettingsFormWidget::closeWindow, this, &CLayoutToolbarDlg::slotOnSettingClose);
    m_pSettingForm->setAttribute(Qt::WA_DeleteOnClose);
    m_pSettingForm->installEventFilter(this);
    m_pSettingForm->setParent(this, POPUP_FLAGS);
    m_pSettingForm->setCurrentPage(audio ? SETTINGS_AUDIO_PAGE : SETTINGS_VIDEO_PAGE);
    m_pSettingForm->show();
    m_pSettingForm->activateWindow();
    m_pSettingForm->raise();
}

void CLayoutToolbarDlg::slotOnSettingClose()
{
    show();
}

void CLayoutToolbarDlg::slotOnShareClicked()
{
    if (CCallController::getInstance().getContentStreamStatus() == enums::ContentStreamStatus_SendingContentStarted) {
        KD_LOG << "Can not share for SendingContentStarted";
        return;
    }
    const std::vector<kd::engine::KDContentSourceInfo> sources = CKDSdkManager::getInstance()->getContentSourceList();
    if (sources.empty()) {
        KD_LOG << "Can not share for nContentSourceInfos is empty";
        return;
    }
    if (m_pSelectShareContentForm) {
        m_pSelectShareContentForm->show();
        return;
    }
    m_pSelectShareContentForm = new CSelectShareContent(parentWidget());
    m_pSelectShareContentForm->setWindowModality(Qt::WindowModal);
    m_pSelectShareContentForm->installEventFilter(this);
    m_pSelectShareContentForm->setContentSources(sources);
    m_pSelectShareContentForm->setShareAudioChecked(false);
    m_pSelectShareContentForm->setFluencyFirstChecked(false);
    m_pSelectShareContentForm->show();
}

void CLayoutToolbarDlg::closeSelectShareContentForm()
{
    if (m_pSelectShareContentForm) {
        m_pSelectShareContentForm->close();
    }
}

void CLayoutToolbarDlg::slotOnDTMFClicked()
{
    if (!m_pDTMFDlg) {
        m_pDTMFDlg = new CDTMFDlg(parentWidget());
        m_pDTMFDlg->setAttribute(Qt::WA_DeleteOnClose);
        m_pDTMFDlg->setWindowModality(Qt::WindowModal);
        m_pDTMFDlg->installEventFilter(this);
    }
    m_pDTMFDlg->show();
}

void CLayoutToolbarDlg::slotOnAttendeesClicked()
{
    openAttendessWindow();
}

void CLayoutToolbarDlg::openAttendessWindow()
{
    if (!m_pAttendeesWidget) {
        m_pAttendeesWidget = new CAttendessWidgets(this);
        m_pAttendeesWidget->setParent(this, m_pAttendeesWidget->windowFlags());
        m_pAttendeesWidget->installEventFilter(this);
    }
    m_pAttendeesWidget->show();
}

// ---- conference management ------------------------------------------------

void CLayoutToolbarDlg::slotOnConfMngtClicked()
{
    openManagerWindow();
}

void CLayoutToolbarDlg::openManagerWindow()
{
    if (!hasConferenceControlPage()) {
        KD_LOG << "No conference-control page; attendees instead";
        if (CAttendeesButton::canListParticipants() && !isPointToPointCall()) {
            openAttendessWindow();
        }
        return;
    }
    if (!m_pConfMngtDlg) {
        m_pConfMngtDlg = new CConfMngtDlg(nullptr);
        m_pConfMngtDlg->setParent(this, POPUP_FLAGS);
        connect(m_pConfMngtDlg, &CConfMngtDlg::sigClose, this, &CLayoutToolbarDlg::slotOnConfMngtDlgClosed);
    }
    if (!m_pConfMngtDlg->isVisible()) {
        m_pConfMngtDlg->updatePage();
    }
    m_pConfMngtDlg->show();
    m_pConfMngtDlg->activateWindow();
    m_pConfMngtDlg->raise();
}

void CLayoutToolbarDlg::releaseConfMngtPage()
{
    if (!m_pConfMngtDlg) {
        return;
    }
    m_pConfMngtDlg->releasePage();
    if (m_pConfMngtDlg->isVisible()) {
        m_pConfMngtDlg->hide();
    }
}

void CLayoutToolbarDlg::slotOnConfMngtDlgClosed()
{
    if (CCallController::getInstance().getContentStreamStatus() != enums::ContentStreamStatus_SendingContentStarted) {
        KD_LOG << "Show again to active, not lost focus";
        show();
    }
    releaseConfMngtPage();
}

void CLayoutToolbarDlg::closeWindows()
{
    releaseConfMngtPage();
}

void CLayoutToolbarDlg::slotConfMngtVisible(bool controllable)
{
    KD_LOG << "controllable:" << controllable;
    const bool management = controllable && hasConferenceControlPage();
    ui->m_pBtnConfMngt->setVisible(management);
    const bool attendees = CAttendeesButton::canListParticipants() && !management && !isPointToPointCall();
    ui->m_pBtnAttendees->setShowAllowed(attendees);
    ui->m_pBtnAttendees->setVisible(attendees);
}

void CLayoutToolbarDlg::checkControllable()
{
    KD_LOG << "checkControllable";
    m_controllableWatcher.setFuture(QtConcurrent::run(QThreadPool::globalInstance(), [] {
        CKDSdkManager *sdk = CKDSdkManager::getInstance();
        return sdk && sdk->conferenceControllable();
    }));
}

// ---- hang-up -----------------------------------------------------------------

void CLayoutToolbarDlg::slotOnBtnHangupClicked()
{
    if (!m_pAlertWidget) {
        m_pAlertWidget = new AlertDlg(nullptr);
        m_pAlertWidget->setParent(this, POPUP_FLAGS);
        connect(m_pAlertWidget, &AlertDlg::sigClickButton3, this, &CLayoutToolbarDlg::slotAlertWidgetBtn3);
        connect(m_pAlertWidget, &AlertDlg::sigCloseWindow, this, &CLayoutToolbarDlg::slotCloseAlertWidget);
    }
    m_pAlertWidget->setButton1Text(tr("Leave"));
    m_pAlertWidget->setButton2Text(tr("Cancel"));
    m_pAlertWidget->setContent(tr("Are you sure to leave the meeting?"));
    connect(m_pAlertWidget, &AlertDlg::sigClickButton1, this, &CLayoutToolbarDlg::slotAlertWidgetBtn1,
            Qt::UniqueConnection);
    connect(m_pAlertWidget, &AlertDlg::sigClickButton2, this, &CLayoutToolbarDlg::slotAlertWidgetBtn2,
            Qt::UniqueConnection);
    m_pAlertWidget->setCloseButtonVisible(false);
    m_pAlertWidget->show();
    m_pAlertWidget->activateWindow();
    m_pAlertWidget->raise();
}

void CLayoutToolbarDlg::dropAlertWidget()
{
    if (!m_pAlertWidget) {
        return;
    }
    disconnect(m_pAlertWidget, nullptr, this, nullptr);
    m_pAlertWidget->deleteLater();
    m_pAlertWidget = nullptr;
}

void CLayoutToolbarDlg::slotAlertWidgetBtn1()
{
    if (CCallController::getInstance().getContentStreamStatus() ==
        enums::ContentStreamStatus_SendingWhiteBoardStarted) {
        CKDSdkManager::getInstance()->stopContent();
    }
    CCallController::getInstance().hangUp();
    dropAlertWidget();
}

void CLayoutToolbarDlg::slotAlertWidgetBtn2()
{
    dropAlertWidget();
}

void CLayoutToolbarDlg::slotAlertWidgetBtn3()
{
    dropAlertWidget();
}

void CLayoutToolbarDlg::slotCloseAlertWidget()
{
    dropAlertWidget();
}

// ---- call state and devices ----------------------------------------------------

void CLayoutToolbarDlg::slotOnCallStatusChanged(enums::CallStatus callStatus)
{
    KD_LOG << "callStatus" << callStatus;
    if (callStatus == enums::Connected) {
        checkMicStatus();
        checkCameraStatus();
        checkControllable();
        // A call to one person has no meeting whose participants the server
        // could list.
        if (isPointToPointCall()) {
            ui->m_pBtnAttendees->stopParticipantPolling();
            ui->m_pBtnAttendees->setShowAllowed(false);
        } else {
            ui->m_pBtnAttendees->startParticipantPolling();
        }
        return;
    }
    releaseConfMngtPage();
    QWidget *windows[] = {m_pSettingForm, m_pSelectShareContentForm, m_pAttendeesWidget, m_pAlertWidget, m_pDTMFDlg};
    for (QWidget *window : windows) {
        if (window) {
            window->close();
        }
    }
    if (callStatus == enums::Ended) {
        ui->m_pBtnConfMngt->hide();
        ui->m_pBtnShare->hide();
        ui->m_pBtnAttendees->stopParticipantPolling();
    }
}

void CLayoutToolbarDlg::slotOnDeviceAdded(kd::engine::KDDevice device)
{
    KD_LOG << "type:" << device.type;
    onDeviceChanged(device.type);
}

void CLayoutToolbarDlg::slotOnDeviceRemoved(kd::engine::KDDevice device)
{
    KD_LOG << "type:" << device.type;
    onDeviceChanged(device.type);
}

void CLayoutToolbarDlg::onDeviceChanged(int type)
{
    if (type == kd::engine::KD_DEVICE_MIC || type == kd::engine::KD_DEVICE_SPEAKER) {
        if (!m_pAudioSelectMenu) {
            KD_LOG << "m_pAudioSelectMenu is nullptr";
            return;
        }
        KD_LOG << "refresh audio menu";
        m_pAudioSelectMenu->close();
        m_pAudioSelectMenu = nullptr;
        slotOnBtnSelectMicClicked();
    } else if (type == kd::engine::KD_DEVICE_CAMERA) {
        if (!m_pCamSelectMenu) {
            KD_LOG << "m_pCamSelectMenu is nullptr";
            return;
        }
        KD_LOG << "refresh camera menu";
        m_pCamSelectMenu->close();
        m_pCamSelectMenu = nullptr;
        slotOnBtnSelectCameraClicked();
    }
}

// ---- window ------------------------------------------------------------------

void CLayoutToolbarDlg::setFullScreenParent(QWidget *titleBar, QRect geometry)
{
    m_pWgtTitleBar = titleBar;
    m_titleBarGeometry = geometry;
}

void CLayoutToolbarDlg::mousePressEvent(QMouseEvent * /*event*/)
{
}

void CLayoutToolbarDlg::showEvent(QShowEvent *event)
{
    KD_LOG << "isVisible:" << isVisible();
    if (m_pWgtTitleBar) {
        m_pWgtTitleBar->move(m_titleBarGeometry.topLeft());
        m_pWgtTitleBar->show();
        KD_LOG << "m_pWgtTitleBar" << m_pWgtTitleBar->geometry();
    }
    m_dpiScaler.init(width(), height(), this);
    CBaseDlg::showEvent(event);
}

void CLayoutToolbarDlg::hideEvent(QHideEvent *event)
{
    KD_LOG << "isVisible:" << isVisible();
    if (m_pWgtTitleBar) {
        m_pWgtTitleBar->hide();
    }
    CBaseDlg::hideEvent(event);
}

void CLayoutToolbarDlg::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::WindowStateChange) {
        KD_LOG << "windowState:" << windowState();
    }
}

void CLayoutToolbarDlg::onDpiChanged()
{
    const double scale = m_fStretchFactor;
    KD_LOG << "scale:" << scale;
    setStyleSheet(QString());
    setStyleSheetByScale(STYLE_BASE);
    m_dpiScaler.scaleWindow(scale, this);
    checkMicStatus();
    checkCameraStatus();
    setLayoutMode(m_layoutMode);
    refreshVolumeBtnStatus(false, false);
    updateScaledIcons();
    const QSize iconSize(int(TOOL_ICON_SIZE * scale), int(TOOL_ICON_SIZE * scale));
    for (QToolButton *button : findChildren<QToolButton *>()) {
        button->setIconSize(iconSize);
    }
    // An icon, not the style sheet's image: Qt reads "@2x" files as
    // pictures for a doubled pixel ratio and would draw them at 1x size.
    for (QPushButton *arrow : {ui->m_pBtnSelectMicUp, ui->m_pBtnSelectCameraUp}) {
        arrow->setIcon(QIcon(CToolbarIcons::path(CToolbarIcons::DeviceArrow, scale)));
        arrow->setIconSize(QSize(int(ARROW_ICON_SIZE * scale), int(ARROW_ICON_SIZE * scale)));
    }
    ui->m_pBtnConfMngt->setScale(scale);
    ui->m_pBtnAttendees->updateScale(scale);
    // The layout engine places the bar anew for a new scale; the first scale
    // is learnt while the bar is being shown, which must not hide it again.
    if (m_bScaleKnown) {
        hide();
    }
    m_bScaleKnown = true;
}

} // namespace views
} // namespace kd_app
