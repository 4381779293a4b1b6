#include "csharingtoolbarcontrols.h"

#include <memory>

#include <QAbstractButton>
#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QThreadPool>

#include "custom_controls/qmenubutton.h"
#include "helpers/clogformat.h"
#include "helpers/cscaledpixmap.h"
#include "models/ccallcontroller.h"
#include "models/ckdsdkmanager.h"
#include "views/call/toolbar/ccontrolvolumewidget.h"
#include "views/call/toolbar/menuaudiowidget.h"
#include "views/call/toolbar/menuvideowidget.h"
#include "views/settings/ccontainersettingsformwidget.h"
#include "views/sharing/coverlayrules.h"

namespace kd_app {
namespace views {

using models::CCallController;
using models::CKDSdkManager;

namespace {

const char kVolumeOnIcon[] = ":/resources/images/layout-operationbar/icon_volume_pop.png";
const char kVolumeOffIcon[] = ":/resources/images/layout-operationbar/icon_volumeoff.png";
const char kMenuArrow[] = ":/resources/images/layout-operationbar/arrow_down.png";
const char kMenuArrowStyle[] = "QPushButton{background: transparent;} QPushButton:hover{background-color: #616161;}";

} // namespace

void CSharingToolbarControls::floatAbove(QWidget *popup, QWidget *owner)
{
    popup->setParent(owner, Qt::SplashScreen | Qt::FramelessWindowHint);
}

CSharingToolbarControls::CSharingToolbarControls(QWidget *owner, const Buttons &buttons, std::function<double()> scale)
    : QObject(owner), m_pOwner(owner), m_buttons(buttons), m_scale(std::move(scale))
{
    scaleMenuArrows(1.0);
}

void CSharingToolbarControls::scaleMenuArrows(double scale)
{
    const QPixmap arrow = helpers::CScaledPixmap::load(QString::fromLatin1(kMenuArrow), scale);
    for (QWidget *widget : {m_buttons.micMenu, m_buttons.cameraMenu}) {
        if (auto *button = qobject_cast<QAbstractButton *>(widget)) {
            button->setStyleSheet(QString::fromLatin1(kMenuArrowStyle));
            button->setIcon(QIcon(arrow));
            button->setIconSize(arrow.size());
        }
    }
}

CSharingToolbarControls::~CSharingToolbarControls()
{
    for (QWidget *popup : {static_cast<QWidget *>(m_pAudioSelectMenu), static_cast<QWidget *>(m_pCamSelectMenu),
                           static_cast<QWidget *>(m_pVolumeControl)}) {
        if (popup) {
            popup->removeEventFilter(this);
        }
    }
    closeSetting();
}

menuAudioWidget *CSharingToolbarControls::audioMenu() const
{
    return m_pAudioSelectMenu;
}

menuVideoWidget *CSharingToolbarControls::cameraMenu() const
{
    return m_pCamSelectMenu;
}

CControlVolumeWidget *CSharingToolbarControls::volumePopup() const
{
    return m_pVolumeControl;
}

CContainerSettingsFormWidget *CSharingToolbarControls::settingsPopup() const
{
    return m_pSettingForm;
}

void CSharingToolbarControls::closeSetting()
{
    if (!m_pSettingForm) {
        return;
    }
    m_pSettingForm->removeEventFilter(this);
    m_pSettingForm->close();
    m_pSettingForm = nullptr;
}

// ---- microphone, camera, speaker -----------------------------------------

void CSharingToolbarControls::refreshMic()
{
    if (CCallController::isMicEnabled()) {
        m_buttons.mic->setNormalState();
        m_buttons.mic->setText(tr("Mute"));
    } else {
        m_buttons.mic->setActiveState();
        m_buttons.mic->setText(tr("Unmute"));
    }
    emit sigRefreshStatus();
}

void CSharingToolbarControls::refreshCamera()
{
    if (CCallController::isCameraEnabled()) {
        m_buttons.camera->setNormalState();
        m_buttons.camera->setText(tr("Stop Video"));
    } else {
        m_buttons.camera->setActiveState();
        m_buttons.camera->setText(tr("Enable Video"));
    }
    emit sigRefreshStatus();
}

void CSharingToolbarControls::refreshVolume(bool muted, bool apply)
{
    QMenuButton *button = m_buttons.volume;
    if (apply) {
        button->setChecked(muted);
    } else {
        muted = button->isChecked();
    }
    const QString icon = QString::fromLatin1(muted ? kVolumeOffIcon : kVolumeOnIcon);
    button->setNormalIcon(icon);
    button->setActiveIcon(icon);
    if (muted) {
        button->setActiveState();
    } else {
        button->setNormalState();
    }
}

void CSharingToolbarControls::switchMic()
{
    // The active (red) look stands for a closed microphone.
    const bool wanted = !m_buttons.mic->m_bActive;
    KD_LOG << "isChecked:" << m_buttons.mic->m_bActive;
    CCallController::enableMic(wanted);
    if (CCallController::isMicEnabled() != wanted) {
        KD_WARN << "Failed to enableMic:" << m_buttons.mic->m_bActive;
    }
    refreshMic();
}

void CSharingToolbarControls::switchCamera()
{
    KD_LOG << "isChecked:" << m_buttons.camera->m_bActive;
    CCallController::enableCamera(!m_buttons.camera->m_bActive);
    refreshCamera();
}

// ---- pop-ups ------------------------------------------------------------

void CSharingToolbarControls::openPopup(QWidget *popup, QWidget *button)
{
    const QSignalBlocker block(button);
    floatAbove(popup, m_pOwner);
    popup->installEventFilter(this);
    popup->show();
    // An X11 window manager activates a splash window on its own only if it
    // wants to; the pop-up closes when it loses activation, so it takes it.
    popup->raise();
    popup->activateWindow();
    const QRect at(button->mapToGlobal(QPoint(0, 0)), button->size());
    popup->move(COverlayRules::popupPosition(at, popup->size()));
    m_bPopupShown = true;
}

void CSharingToolbarControls::openAudioMenu()
{
    KD_LOG << "slotOnBtnSelectMicClicked";
    if (m_pAudioSelectMenu) {
        return;
    }
    auto *menu = new menuAudioWidget(m_scale(), nullptr);
    m_pAudioSelectMenu = menu;
    menu->loadDevices();
    openPopup(menu, m_buttons.micMenu);
    connect(menu, &menuAudioWidget::sigShowAudioSetting, this, &CSharingToolbarControls::showAudioSettingFromMenu);
}

void CSharingToolbarControls::openCameraMenu()
{
    KD_LOG << "slotOnBtnSelectCameraClicked";
    if (m_pCamSelectMenu) {
        return;
    }
    auto *menu = new menuVideoWidget(m_scale(), nullptr);
    m_pCamSelectMenu = menu;
    menu->loadDevices();
    openPopup(menu, m_buttons.cameraMenu);
    connect(menu, &menuVideoWidget::sigShowVideoSetting, this, &CSharingToolbarControls::showVideoSettingFromMenu);
}

void CSharingToolbarControls::openVolume()
{
    KD_LOG << "slotOnBtnVolumClicked";
    CKDSdkManager *sdk = CKDSdkManager::getInstance();
    const kd::engine::KDVolume volume = sdk ? sdk->getVolume(kd::engine::KD_DEVICE_SPEAKER) : kd::engine::KDVolume();
    refreshVolume(volume.mute != 0, true);
    if (m_pVolumeControl) {
        return;
    }
    auto *popup = new CControlVolumeWidget(m_scale(), nullptr);
    m_pVolumeControl = popup;
    popup->initVolume(volume.mute != 0, volume.volume);
    openPopup(popup, m_buttons.volume);
}

void CSharingToolbarControls::showAudioSettingFromMenu()
{
    KD_LOG << "slotShowAudioSetting";
    showSetting(true);
    if (m_pAudioSelectMenu) {
        forget(m_pAudioSelectMenu);
        m_pAudioSelectMenu = nullptr;
    }
}

void CSharingToolbarControls::showVideoSettingFromMenu()
{
    KD_LOG << "slotShowVideoSetting";
    showSetting(false);
    if (m_pCamSelectMenu) {
        forget(m_pCamSelectMenu);
        m_pCamSelectMenu = nullptr;
    }
}

void CSharingToolbarControls::forget(QWidget *popup)
{
    popup->removeEventFilter(this);
    popup->close();
}

void CSharingToolbarControls::showSetting(bool audio)
{
    KD_LOG << "audio:" << audio;
    if (m_pSettingForm) {
        KD_LOG << "m_pSettingForm is not null";
        if (m_pSettingForm->isVisible()) {
            KD_LOG << "m_pSettingForm is visible";
            m_pSettingForm->centerWindow();
            return;
        }
        m_pSettingForm->removeEventFilter(this);
    }
    m_pSettingForm = new CContainerSettingsFormWidget(nullptr);
    m_pSettingForm->setAttribute(Qt::WA_DeleteOnClose);
    m_pSettingForm->installEventFilter(this);
    floatAbove(m_pSettingForm, m_pOwner);
    m_pSettingForm->setCurrentPage(audio ? 2 : 3);
    m_pSettingForm->show();
    m_pSettingForm->raise();
    m_pSettingForm->activateWindow();
    m_bPopupShown = false;
}

bool CSharingToolbarControls::popupDeactivated(QWidget *popup)
{
    if (popup->geometry().contains(QCursor::pos())) {
        popup->activateWindow();
        return true;
    }
    KD_LOG << "Second menu closed:" << popup;
    m_bPopupShown = false;
    forget(popup);
    if (popup == m_pAudioSelectMenu) {
        KD_LOG << "m_pAudioSelectMenu closed";
        m_pAudioSelectMenu = nullptr;
    } else if (popup == m_pCamSelectMenu) {
        KD_LOG << "m_pCamSelectMenu closed";
        m_pCamSelectMenu = nullptr;
    } else {
        KD_LOG << "m_pVolumeControl closed";
        m_pVolumeControl = nullptr;
    }
    return true;
}

bool CSharingToolbarControls::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::WindowDeactivate && watched &&
        (watched == m_pAudioSelectMenu || watched == m_pCamSelectMenu || watched == m_pVolumeControl)) {
        return popupDeactivated(static_cast<QWidget *>(watched));
    }
    if (m_pSettingForm && watched == m_pSettingForm && event->type() == QEvent::Close) {
        KD_LOG << "m_pSettingForm is closed";
        m_pSettingForm = nullptr;
        emit sigSettingWinClosed();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

// ---- controllability ------------------------------------------------------

void CSharingToolbarControls::askControllable(QObject *receiver, const char *slot)
{
    KD_LOG;
    // The answer comes back to the graphical thread and finds the receiver
    // only if it still exists then: a call may end, and take the toolbar
    // with it, while the engine is still being asked.
    auto guard = std::make_shared<QPointer<QObject>>(receiver);
    const QByteArray slotName(slot);
    QThreadPool::globalInstance()->start([guard, slotName] {
        CKDSdkManager *sdk = CKDSdkManager::getInstance();
        const bool controllable = sdk && sdk->conferenceControllable();
        QMetaObject::invokeMethod(
            qApp,
            [guard, slotName, controllable] {
                if (QObject *target = *guard) {
                    QMetaObject::invokeMethod(target, slotName.constData(), Qt::DirectConnection,
                                              Q_ARG(bool, controllable));
                }
            },
            Qt::QueuedConnection);
    });
}

} // namespace views
} // namespace kd_app
