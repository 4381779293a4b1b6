#include "whiteboardtopwidget.h"

#include <QEvent>
#include <QRegion>

#include "custom_controls/qmenubutton.h"
#include "helpers/clogformat.h"
#include "models/ckdsdkmanager.h"
#include "models/clinguist.h"
#include "ui_whiteboardtopwidget.h"
#include "views/sharing/csharingtoolbarcontrols.h"
#include "views/sharing/ctabclickguard.h"

namespace kd_app {
namespace views {

using models::CKDSdkManager;

namespace {

const char kDrawingImages[] = ":/resources/images/ScreenDrawing/";

// Heights of the toolbar's panel, unfolded and folded to its tab.
constexpr int kPanelHeight = 69;
constexpr int kTabHeight = 15;

QString drawingImage(const char *name)
{
    return QString::fromLatin1(kDrawingImages) + QString::fromLatin1(name);
}

} // namespace

WhiteBoardTopWidget::WhiteBoardTopWidget(QWidget *parent)
    : QWidget(parent), ui(std::make_unique<Ui::WhiteBoardTopWidget>())
{
    ui->setupUi(this);
    initControls();
    ui->m_managerBtn->hide();
    CSharingToolbarControls::askControllable(this, "slotConfMngtVisible");
    updateMicButton();
    updateCameraButton();
}

WhiteBoardTopWidget::~WhiteBoardTopWidget()
{
    KD_LOG;
    delete m_pControls;
    ui.reset();
    KD_LOG << "done";
}

void WhiteBoardTopWidget::initControls()
{
    const QString volumeIcon = QStringLiteral(":/resources/images/layout-operationbar/icon_volume_pop.png");
    ui->m_muteBtn->setLook(true, drawingImage("icon_toolbar_unmute.png"), drawingImage("icon_toolbar_mute.png"));
    ui->m_cameraBtn->setLook(true, drawingImage("icon_toolbar_unmute-camera.png"),
                             drawingImage("icon_toolbar_mute-camera.png"));
    ui->m_managerBtn->setLook(false, drawingImage("icon_toolbar_detail.png"), drawingImage("icon_detail_c.png"));
    ui->m_drawBtn->setLook(false, drawingImage("icon_brush_default.png"), drawingImage("icon_brush_click.png"));
    ui->m_pBtnVolume->setLook(true, volumeIcon, volumeIcon);
    ui->m_closeBtn->setLook(true, drawingImage("icon_stopshare.png"), drawingImage("icon_stopshare.png"));
    ui->m_closeBtn->setActiveState();
    ui->m_pBtnShowPic->onDpiChanged(1.0);
    ui->PropertyWidget->installEventFilter(this);

    CSharingToolbarControls::Buttons buttons;
    buttons.mic = ui->m_muteBtn;
    buttons.micMenu = ui->m_pBtnSelectMicUp;
    buttons.camera = ui->m_cameraBtn;
    buttons.cameraMenu = ui->m_pBtnSelectCameraUp;
    buttons.volume = ui->m_pBtnVolume;
    m_pControls = new CSharingToolbarControls(this, buttons, [this] { return m_fScale; });
    m_pTabGuard = new CTabClickGuard(this);
    connect(m_pControls, &CSharingToolbarControls::sigRefreshStatus, this, &WhiteBoardTopWidget::sigRefreshStatus);
    connect(m_pControls, &CSharingToolbarControls::sigSettingWinClosed, this,
            &WhiteBoardTopWidget::sigSettingWinClosed);

    connect(ui->m_muteBtn, &QPushButton::clicked, this, &WhiteBoardTopWidget::slotSwitchMic);
    connect(ui->m_cameraBtn, &QPushButton::clicked, this, &WhiteBoardTopWidget::slotSwitchCamera);
    connect(ui->m_managerBtn, &QPushButton::clicked, this, &WhiteBoardTopWidget::slotClickedManagerButton);
    connect(ui->m_drawBtn, &QPushButton::clicked, this, &WhiteBoardTopWidget::slotShowPaintWindow);
    connect(ui->m_closeBtn, &QPushButton::clicked, this, &WhiteBoardTopWidget::slotStopShare);
    connect(ui->m_shareBtnView, &Button_share::mySignal, this, &WhiteBoardTopWidget::slotEntershareBtn);
    connect(ui->m_pBtnShowPic, &QToolButton::clicked, this, &WhiteBoardTopWidget::slotOnBtnShowPicture);
    connect(ui->m_pBtnSelectMicUp, &QPushButton::clicked, this, &WhiteBoardTopWidget::slotOnBtnSelectMicClicked);
    connect(ui->m_pBtnSelectCameraUp, &QPushButton::clicked, this, &WhiteBoardTopWidget::slotOnBtnSelectCameraClicked);
    connect(ui->m_pBtnVolume, &QPushButton::clicked, this, &WhiteBoardTopWidget::slotOnBtnVolumClicked);
    if (CKDSdkManager *sdk = CKDSdkManager::getInstance()) {
        connect(sdk, &CKDSdkManager::eventVolume, this, &WhiteBoardTopWidget::slotVolume);
        connect(sdk, &CKDSdkManager::eventMicMutedShow, this, &WhiteBoardTopWidget::slotOnMicMutedShow);
    }
    connect(models::CLinguist::getInstance(), &models::CLinguist::sigLanguageChanged, this,
            &WhiteBoardTopWidget::slotOnLanguageChanged);
    retranslateTexts();
}

void WhiteBoardTopWidget::retranslateTexts()
{
    ui->m_pBtnVolume->setText(tr("Volume"));
    ui->m_drawBtn->setText(tr("Drawing"));
    ui->m_closeBtn->setText(tr("Stop"));
    ui->m_managerBtn->setText(tr("Management"));
    updateMicButton();
    updateCameraButton();
}

void WhiteBoardTopWidget::slotOnLanguageChanged()
{
    ui->retranslateUi(this);
    retranslateTexts();
}

menuAudioWidget *WhiteBoardTopWidget::audioMenu() const
{
    return m_pControls->audioMenu();
}

menuVideoWidget *WhiteBoardTopWidget::cameraMenu() const
{
    return m_pControls->cameraMenu();
}

CControlVolumeWidget *WhiteBoardTopWidget::volumePopup() const
{
    return m_pControls->volumePopup();
}

CContainerSettingsFormWidget *WhiteBoardTopWidget::settingsPopup() const
{
    return m_pControls->settingsPopup();
}

bool WhiteBoardTopWidget::isPopupShown() const
{
    return m_pControls->isPopupShown();
}

// ---- microphone, camera, speaker -----------------------------------------

void WhiteBoardTopWidget::updateMicButton()
{
    m_pControls->refreshMic();
}

void WhiteBoardTopWidget::updateCameraButton()
{
    m_pControls->refreshCamera();
}

void WhiteBoardTopWidget::updateVolumeButton(bool muted, bool apply)
{
    m_pControls->refreshVolume(muted, apply);
}

void WhiteBoardTopWidget::slotSwitchMic()
{
    m_pControls->switchMic();
}

void WhiteBoardTopWidget::slotSwitchCamera()
{
    m_pControls->switchCamera();
}

void WhiteBoardTopWidget::slotOnMicMutedShow(bool mic_muted)
{
    Q_UNUSED(mic_muted)
    updateMicButton();
}

void WhiteBoardTopWidget::slotVolume(kd::engine::KD_DEVICE_TYPE type, kd::engine::KDVolume volume)
{
    if (type == kd::engine::KD_DEVICE_SPEAKER) {
        updateVolumeButton(volume.mute != 0, true);
    }
}

void WhiteBoardTopWidget::slotOnBtnVolumClicked()
{
    m_pControls->openVolume();
}

void WhiteBoardTopWidget::slotOnBtnSelectMicClicked()
{
    m_pControls->openAudioMenu();
}

void WhiteBoardTopWidget::slotOnBtnSelectCameraClicked()
{
    m_pControls->openCameraMenu();
}

void WhiteBoardTopWidget::slotShowAudioSetting()
{
    m_pControls->showAudioSettingFromMenu();
}

void WhiteBoardTopWidget::slotShowVideoSetting()
{
    m_pControls->showVideoSettingFromMenu();
}

void WhiteBoardTopWidget::showSetting(bool audio)
{
    m_pControls->showSetting(audio);
}

// ---- the other buttons ----------------------------------------------------

void WhiteBoardTopWidget::slotConfMngtVisible(bool visible)
{
    KD_LOG << "visible:" << visible;
    ui->m_managerBtn->setVisible(visible);
}

void WhiteBoardTopWidget::slotClickedManagerButton()
{
    emit sigClickedManagerButton();
}

void WhiteBoardTopWidget::slotShowPaintWindow()
{
    emit sigOpenWhiteBoardTool();
}

void WhiteBoardTopWidget::slotStopShare()
{
    KD_LOG;
    emit sigClose();
}

void WhiteBoardTopWidget::slotOnBtnShowPicture()
{
    emit sigOnShowPicture();
    updateShowPicture(false);
}

void WhiteBoardTopWidget::slotHidePicture()
{
    updateShowPicture(true);
}

void WhiteBoardTopWidget::updateShowPicture(bool visible)
{
    KD_LOG << "visible:" << visible;
    ui->m_pBtnShowPic->setVisible(visible);
}

bool WhiteBoardTopWidget::isShowPictureVisible() const
{
    return !ui->m_pBtnShowPic->isHidden();
}

// ---- folding and scale ----------------------------------------------------

bool WhiteBoardTopWidget::isFolded() const
{
    return ui->m_bg->isHidden();
}

void WhiteBoardTopWidget::setPanelHeight(int height)
{
    ui->PropertyWidget->setFixedHeight(height);
    // The toolbar keeps its place and width and is as high as its panel, so
    // that the page under a folded toolbar takes the mouse.
    setFixedHeight(height);
}

void WhiteBoardTopWidget::slotEntershareBtn()
{
    if (isFolded()) {
        m_pTabGuard->arm(ui->m_shareBtnView);
        setPanelHeight(int(kPanelHeight * m_fScale));
        ui->m_bg->show();
        return;
    }
    if (m_pControls->isPopupShown()) {
        return;
    }
    m_pTabGuard->arm(ui->m_shareBtnView);
    setPanelHeight(int(kTabHeight * m_fScale));
    ui->m_bg->hide();
}

void WhiteBoardTopWidget::onDpiChanged(double scale)
{
    KD_LOG << "scale:" << scale;
    m_dpiScaler.init(width(), height(), this);
    m_dpiScaler.scaleWindow(scale, this);
    m_fScale = scale;
    setPanelHeight(int(kPanelHeight * scale));
    ui->m_bg->show();
    m_dpiScaler.scaleWidget(scale, this, false);
    for (QMenuButton *button : {ui->m_drawBtn, ui->m_muteBtn, ui->m_closeBtn, ui->m_cameraBtn, ui->m_managerBtn}) {
        button->updateDpiScale(scale);
    }
    ui->m_pBtnShowPic->onDpiChanged(scale);
    m_pControls->scaleMenuArrows(scale);
    ui->m_pBtnVolume->updateDpiScale(scale);
    updateVolumeButton(false, false);
}

void WhiteBoardTopWidget::showEvent(QShowEvent *event)
{
    m_dpiScaler.init(width(), height(), this);
    QWidget::showEvent(event);
}

bool WhiteBoardTopWidget::eventFilter(QObject *watched, QEvent *event)
{
    if (ui && watched == ui->PropertyWidget && (event->type() == QEvent::Resize || event->type() == QEvent::Move)) {
        // Only the panel takes the mouse; beside it the page does.
        setMask(QRegion(ui->PropertyWidget->geometry()));
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace views
} // namespace kd_app
