#include "compactwidget.h"

#include "helpers/cgeneralutils.h"
#include "helpers/clogformat.h"
#include "models/ccallcontroller.h"
#include "models/ckdsdkmanager.h"
#include "ui_compactwidget.h"

namespace kd_app {
namespace views {

using models::CCallController;

const CompactWidget::ScaledIcon CompactWidget::MINIMISE_ICON = {
    ":/resources/images/window-title-bar/icon_mini_1x.png", ":/resources/images/window-title-bar/icon_mini_1.5x.png",
    ":/resources/images/window-title-bar/icon_mini_2x.png"};
const CompactWidget::ScaledIcon CompactWidget::RESTORE_ICON = {
    ":/resources/images/window-title-bar/icon_restored_1x.png",
    ":/resources/images/window-title-bar/icon_restored_1.5x.png",
    ":/resources/images/window-title-bar/icon_restored_2x.png"};
const CompactWidget::ScaledIcon CompactWidget::MIC_ON_ICON = {
    ":/resources/images/layout-operationbar/icon_unmute.png",
    ":/resources/images/layout-operationbar/icon_unmute@1.5x.png",
    ":/resources/images/layout-operationbar/icon_unmute@2x.png"};
const CompactWidget::ScaledIcon CompactWidget::MIC_OFF_ICON = {
    ":/resources/images/layout-operationbar/icon_mute.png", ":/resources/images/layout-operationbar/icon_mute@1.5x.png",
    ":/resources/images/layout-operationbar/icon_mute@2x.png"};
const CompactWidget::ScaledIcon CompactWidget::CAMERA_ON_ICON = {
    ":/resources/images/layout-operationbar/icon_resume-camera.png",
    ":/resources/images/layout-operationbar/icon_resume-camera@1.5x.png",
    ":/resources/images/layout-operationbar/icon_resume-camera@2x.png"};
const CompactWidget::ScaledIcon CompactWidget::CAMERA_OFF_ICON = {
    ":/resources/images/layout-operationbar/icon_suspend-camera.png",
    ":/resources/images/layout-operationbar/icon_suspend-camera@1.5x.png",
    ":/resources/images/layout-operationbar/icon_suspend-camera@2x.png"};

namespace {

constexpr int ICON_SIZE = 56;

} // namespace

QString CompactWidget::iconForScale(const ScaledIcon &icon, double scale)
{
    if (helpers::CGeneralUtils::isEqual(scale, 1.5)) {
        return QString::fromLatin1(icon.onePointFiveX);
    }
    if (helpers::CGeneralUtils::isEqual(scale, 2.0)) {
        return QString::fromLatin1(icon.twoX);
    }
    return QString::fromLatin1(icon.oneX);
}

CompactWidget::CompactWidget(QWidget *parent) : CBaseWgt(parent), ui(std::make_unique<Ui::CompactWidget>())
{
    ui->setupUi(this);
    connect(ui->m_pBtnWinMin, &QToolButton::clicked, this, &CompactWidget::slotOnBtnMinClicked);
    connect(ui->m_pBtnMute, &QToolButton::clicked, this, &CompactWidget::slotOnBtnMuteClicked);
    connect(ui->m_pBtnCamera, &QToolButton::clicked, this, &CompactWidget::slotOnBtnCameraClicked);
    connect(ui->m_pBtnRecover, &QToolButton::clicked, this, &CompactWidget::slotOnBtnRecoverClicked);
    if (models::CKDSdkManager *sdk = models::CKDSdkManager::getInstance()) {
        connect(sdk, &models::CKDSdkManager::eventMicMutedShow, this, &CompactWidget::slotOnMicMutedShow);
    }
    // The bar has the call window's title-bar colour, not the black of the
    // window behind it.
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(QString());
    helpers::CGeneralUtils::setStyle(this, QStringLiteral(":/resources/qss/compact-widget.qss"));
    for (QToolButton *button : {ui->m_pBtnWinMin, ui->m_pBtnMute, ui->m_pBtnCamera, ui->m_pBtnRecover}) {
        button->setIconSize(QSize(ICON_SIZE, ICON_SIZE));
    }
    updateWindowIcons();
    updateMuteIcon();
    updateCameraIcon();
}

CompactWidget::~CompactWidget() = default;

void CompactWidget::updateWindowIcons()
{
    ui->m_pBtnWinMin->setIcon(QIcon(iconForScale(MINIMISE_ICON, m_fScale)));
    ui->m_pBtnRecover->setIcon(QIcon(iconForScale(RESTORE_ICON, m_fScale)));
}

void CompactWidget::updateMuteIcon()
{
    const bool on = CCallController::isMicEnabled();
    ui->m_pBtnMute->setIcon(QIcon(iconForScale(on ? MIC_ON_ICON : MIC_OFF_ICON, m_fScale)));
}

void CompactWidget::updateCameraIcon()
{
    const bool on = CCallController::isCameraEnabled();
    ui->m_pBtnCamera->setIcon(QIcon(iconForScale(on ? CAMERA_ON_ICON : CAMERA_OFF_ICON, m_fScale)));
}

void CompactWidget::onDpiUpdate(double scale)
{
    KD_LOG << "scale:" << scale;
    m_fScale = scale;
    m_dpiScaler.scaleWidget(scale, this, false);
    updateMuteIcon();
    updateCameraIcon();
    updateWindowIcons();
}

void CompactWidget::slotOnBtnMinClicked()
{
    emit sigMin();
}

void CompactWidget::slotOnBtnRecoverClicked()
{
    emit sigRecover();
}

void CompactWidget::slotOnBtnMuteClicked()
{
    CCallController::enableMic(!CCallController::isMicEnabled());
    updateMuteIcon();
}

void CompactWidget::slotOnBtnCameraClicked()
{
    CCallController::enableCamera(!CCallController::isCameraEnabled());
    updateCameraIcon();
}

void CompactWidget::slotOnMicMutedShow(bool mic_muted)
{
    Q_UNUSED(mic_muted)
    updateMuteIcon();
}

void CompactWidget::showEvent(QShowEvent *event)
{
    m_dpiScaler.init(width(), height(), this);
    CBaseWgt::showEvent(event);
}

} // namespace views
} // namespace kd_app
