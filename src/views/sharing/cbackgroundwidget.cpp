#include "cbackgroundwidget.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QSysInfo>
#include <QTimer>
#include <QTransform>

#include "app/cplatform.h"
#include "app/cwindowshape.h"
#include "custom_controls/qmenubutton.h"
#include "helpers/clogformat.h"
#include "models/ccallcontroller.h"
#include "models/ckdsdkmanager.h"
#include "models/clinguist.h"
#include "models/screenthread.h"
#include "ui_cbackgroundwidget.h"
#include "views/annotation/colorwidget.h"
#include "views/annotation/paintlistwidget.h"
#include "views/annotation/selectbgcolorwidget.h"
#include "views/base/alertdlg.h"
#include "views/call/toolbar/ccontrolvolumewidget.h"
#include "views/call/toolbar/menuaudiowidget.h"
#include "views/call/toolbar/menuvideowidget.h"
#include "views/settings/ccontainersettingsformwidget.h"
#include "views/sharing/coverlayrules.h"
#include "views/sharing/csharingtoolbarcontrols.h"
#include "views/sharing/csnapshotsaver.h"
#include "views/sharing/ctabclickguard.h"

namespace kd_app {
namespace views {

using models::CCallController;
using models::CKDSdkManager;

namespace {

const char kDrawingImages[] = ":/resources/images/ScreenDrawing/";
const char kToolbarImages[] = ":/resources/images/layout-operationbar/";

// Alpha 1 of 255 takes the mouse yet hardly shows; alpha 0 lets it through.
// The toolkit reads a fourth value of rgb() as a fraction (1 is opaque), so
// the alpha is written as the fraction that gives 1 of 255.
const char kCatchingStyle[] = "#w{background-color: rgba(190,190,190,0.004)}";
const char kPassThroughStyle[] = "#w{background-color: rgba(43, 144, 25, 0)}";

const char kPenCursor[] = ":/resources/images/ScreenDrawing/icon_brush_click.png";
const char kMarkerCursor[] = ":/resources/images/ScreenDrawing/icon_highlighter_click.png";
const char kEraserCursor[] = ":/resources/images/ScreenDrawing/icon_eraser_click.png";

constexpr int kToolbarHeight = 69;
constexpr int kTabHeight = 15;
constexpr qreal kEraserWidth = 9.0;
const QColor kFrameColour(67, 129, 255, 255);
// The corner radius of the tool menu's and the pickers' panels.
constexpr int kPanelRadius = 5;
// Time the windows below the overlay get to paint what the strokes covered
// before the still picture of the screen is taken.
constexpr int kPictureDelayMs = 150;

QString drawingImage(const char *name)
{
    return QString::fromLatin1(kDrawingImages) + QString::fromLatin1(name);
}

QString toolbarImage(const char *name)
{
    return QString::fromLatin1(kToolbarImages) + QString::fromLatin1(name);
}

} // namespace

CbackgroundWidget::CbackgroundWidget(QWidget *parent)
    : CBaseWgt(parent), ui(std::make_unique<Ui::CbackgroundWidget>()),
      m_pScreenThread(std::make_unique<models::ScreenThread>()), m_shapeTimer(new QTimer(this))
{
    m_shapeTimer->setSingleShot(true);
    m_shapeTimer->setInterval(0);
    connect(m_shapeTimer, &QTimer::timeout, this, &CbackgroundWidget::updateWindowShape);

    setupUi();
    initConnections();
    refreshShareVoiceStatus();
    refreshMicStatus();
    refreshCameraStatus();
    m_pPaintList->hide();
    CSharingToolbarControls::askControllable(this, "slotConfMngtVisible");
    setAttribute(Qt::WA_DeleteOnClose);
    chooseTranslucency();
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
}

CbackgroundWidget::~CbackgroundWidget()
{
    KD_LOG;
    delete m_pControls;
    ui.reset();
    for (QWidget *popup : {static_cast<QWidget *>(m_pPaintList), static_cast<QWidget *>(m_pColorWidget),
                           static_cast<QWidget *>(m_pBgColorWidget)}) {
        if (popup) {
            popup->setParent(nullptr);
            delete popup;
        }
    }
    // Ends after at most one grab: stop wakes the thread from its pause.
    m_pScreenThread.reset();
    KD_LOG << "done";
}

void CbackgroundWidget::setupUi()
{
    ui->setupUi(this);
    CSharingToolbarControls::Buttons buttons;
    buttons.mic = ui->Button_Mute;
    buttons.micMenu = ui->m_pBtnSelectMicUp;
    buttons.camera = ui->Button_Camera;
    buttons.cameraMenu = ui->m_pBtnSelectCameraUp;
    buttons.volume = ui->m_pBtnVolume;
    m_pControls = new CSharingToolbarControls(this, buttons, [this] { return scale(); });
    m_pTabGuard = new CTabClickGuard(ui->PropertyWidget);
    connect(m_pControls, &CSharingToolbarControls::sigRefreshStatus, this, &CbackgroundWidget::sigRefreshStatus);
    connect(m_pControls, &CSharingToolbarControls::sigSettingWinClosed, this, &CbackgroundWidget::sigSettingWinClosed);
    retranslateUi();
    ui->m_pBtnShowPic->onDpiChanged(1.0);
    ui->m_pBtnShowPic->hide();
    ui->PropertyWidget->installEventFilter(this);
    ui->paintWidget->installEventFilter(this);
}

void CbackgroundWidget::initConnections()
{
    ui->Button_Voice->setLook(true, drawingImage("icon_sharevoice.png"), drawingImage("icon_sharevoice-off.png"));
    ui->Button_Mute->setLook(true, drawingImage("icon_toolbar_unmute.png"), drawingImage("icon_toolbar_mute.png"));
    ui->Button_Camera->setLook(true, drawingImage("icon_toolbar_unmute-camera.png"),
                               drawingImage("icon_toolbar_mute-camera.png"));
    ui->Button_Draw->setLook(false, drawingImage("icon_brush_default.png"), drawingImage("icon_brush_click.png"));
    ui->m_pBtnVolume->setLook(true, toolbarImage("icon_volume_pop.png"), toolbarImage("icon_volume_pop.png"));
    ui->Button_Close->setLook(true, drawingImage("icon_stopshare.png"), drawingImage("icon_stopshare.png"));
    ui->Button_Voice->setText(tr("Voice"));
    ui->Button_Close->setActiveState();

    m_pPaintList = new PaintListWidget(nullptr);
    m_pColorWidget = new ColorWidget(nullptr);
    m_pBgColorWidget = new SelectBgColorWidget(nullptr);
    for (QWidget *popup : {static_cast<QWidget *>(m_pPaintList), static_cast<QWidget *>(m_pColorWidget),
                           static_cast<QWidget *>(m_pBgColorWidget)}) {
        // The overlay owns them for its whole life: a close only hides them.
        popup->setAttribute(Qt::WA_DeleteOnClose, false);
        CSharingToolbarControls::floatAbove(popup, this);
        popup->hide();
        // Their panels round their corners on an opaque window, which would
        // show its own light colour outside the rounding.
        popup->installEventFilter(this);
    }

    connect(ui->Button_Voice, &QPushButton::clicked, this, &CbackgroundWidget::slotSwitchVoice);
    connect(ui->Button_Mute, &QPushButton::clicked, this, &CbackgroundWidget::slotSwitchMic);
    connect(ui->Button_Camera, &QPushButton::clicked, this, &CbackgroundWidget::slotSwitchCamera);
    connect(ui->m_pBtnSelectMicUp, &QPushButton::clicked, this, &CbackgroundWidget::slotOnBtnSelectMicClicked);
    connect(ui->m_pBtnSelectCameraUp, &QPushButton::clicked, this, &CbackgroundWidget::slotOnBtnSelectCameraClicked);
    connect(ui->m_pBtnVolume, &QPushButton::clicked, this, &CbackgroundWidget::slotOnBtnVolumClicked);
    connect(ui->Button_Manager, &CManagerButtonWidget::clicked, this, &CbackgroundWidget::slotClickedManagerButton);
    connect(ui->Button_Close, &QPushButton::clicked, this, &CbackgroundWidget::stopShare);
    connect(ui->shareBtnView, &Button_share::mySignal, this, &CbackgroundWidget::entershareBtn);
    connect(ui->Button_Draw, &QPushButton::clicked, this, &CbackgroundWidget::showPaintWindow);
    connect(ui->m_pBtnShowPic, &QToolButton::clicked, this, &CbackgroundWidget::slotOnBtnShowPicture);

    if (CKDSdkManager *sdk = CKDSdkManager::getInstance()) {
        connect(sdk, &CKDSdkManager::eventMicMutedShow, this, &CbackgroundWidget::slotOnMicMutedShow);
        connect(sdk, &CKDSdkManager::eventVolume, this, &CbackgroundWidget::slotVolume);
        connect(sdk, &CKDSdkManager::eventContent, this, &CbackgroundWidget::slotOnContent);
    }
    connect(models::CLinguist::getInstance(), &models::CLinguist::sigLanguageChanged, this,
            &CbackgroundWidget::slotOnLanguageChanged);

    connect(m_pPaintList, &PaintListWidget::enabelMouse, this, &CbackgroundWidget::slotOnMouse);
    connect(m_pPaintList, &PaintListWidget::penClicked, this, &CbackgroundWidget::onBtnPenClicked);
    connect(m_pPaintList, &PaintListWidget::nitePenClicked, this, &CbackgroundWidget::onBtnNitePenClicked);
    connect(m_pPaintList, &PaintListWidget::eraserClicked, this, &CbackgroundWidget::onBtnEraserClicked);
    connect(m_pPaintList, &PaintListWidget::revokeClicked, this, &CbackgroundWidget::onBtnRevokeClicked);
    connect(m_pPaintList, &PaintListWidget::bgClicked, this, &CbackgroundWidget::onBtnBgClicked);
    connect(m_pPaintList, &PaintListWidget::clearClicked, this, &CbackgroundWidget::onBtnClearClicked);
    connect(m_pPaintList, &PaintListWidget::exitClicked, this, &CbackgroundWidget::onBtnExitClicked);
    connect(m_pPaintList, &PaintListWidget::selectPenClicked, this, &CbackgroundWidget::onBtnSelectPenClicked);
    connect(m_pPaintList, &PaintListWidget::selectNitePenClicked, this, &CbackgroundWidget::onBtnSelectNitePenClicked);
    connect(m_pPaintList, &PaintListWidget::sigSaveClicked, this, &CbackgroundWidget::slotBtnSaveClicked);
    connect(m_pColorWidget, &ColorWidget::changeColor, this, &CbackgroundWidget::changePenColor);
    connect(m_pColorWidget, &ColorWidget::changeSize, this, &CbackgroundWidget::changePenLineSize);
    connect(m_pBgColorWidget, &SelectBgColorWidget::changeDrawBg, this, &CbackgroundWidget::c_changeDrawBg);
    connect(ui->paintWidget, &PaintWidget::LeftButtonPressed, this, &CbackgroundWidget::hidePickers);

    updateButtonTexts();
}

PaintListWidget *CbackgroundWidget::toolMenu() const
{
    return m_pPaintList;
}

ColorWidget *CbackgroundWidget::colorPicker() const
{
    return m_pColorWidget;
}

SelectBgColorWidget *CbackgroundWidget::backgroundPicker() const
{
    return m_pBgColorWidget;
}

CContainerSettingsFormWidget *CbackgroundWidget::settingsPopup() const
{
    return m_pControls->settingsPopup();
}

menuAudioWidget *CbackgroundWidget::audioMenu() const
{
    return m_pControls->audioMenu();
}

menuVideoWidget *CbackgroundWidget::cameraMenu() const
{
    return m_pControls->cameraMenu();
}

CControlVolumeWidget *CbackgroundWidget::volumePopup() const
{
    return m_pControls->volumePopup();
}

bool CbackgroundWidget::isPopupShown() const
{
    return m_pControls->isPopupShown();
}

// ---- device menus and volume ---------------------------------------------

void CbackgroundWidget::slotOnBtnSelectMicClicked()
{
    m_pControls->openAudioMenu();
}

void CbackgroundWidget::slotOnBtnSelectCameraClicked()
{
    m_pControls->openCameraMenu();
}

void CbackgroundWidget::slotOnBtnVolumClicked()
{
    m_pControls->openVolume();
}

void CbackgroundWidget::slotShowAudioSetting()
{
    m_pControls->showAudioSettingFromMenu();
}

void CbackgroundWidget::slotShowVideoSetting()
{
    m_pControls->showVideoSettingFromMenu();
}

// ---- toolbar ------------------------------------------------------------

void CbackgroundWidget::retranslateUi()
{
    setWindowTitle(QString());
    ui->m_pBtnSelectMicUp->setText(QString());
    ui->m_pBtnSelectCameraUp->setText(QString());
    ui->m_pBtnShowPic->setText(QCoreApplication::translate("CbackgroundWidget", "Show PIP"));
}

void CbackgroundWidget::updateButtonTexts()
{
    ui->Button_Draw->setText(tr("Drawing"));
    ui->m_pBtnVolume->setText(tr("Volume"));
    ui->Button_Close->setText(tr("Stop"));
    ui->Button_Manager->setTitle(tr("Management"));
    refreshShareVoiceStatus();
    refreshMicStatus();
    refreshCameraStatus();
}

void CbackgroundWidget::slotOnLanguageChanged()
{
    retranslateUi();
    updateButtonTexts();
}

void CbackgroundWidget::refreshShareVoiceStatus()
{
    CKDSdkManager *sdk = CKDSdkManager::getInstance();
    const bool enabled = sdk && sdk->contentAudioEnabled();
    KD_LOG << "enabled:" << enabled;
    if (enabled) {
        ui->Button_Voice->setNormalState();
        ui->Button_Voice->setText(tr("Stop Sound"));
    } else {
        ui->Button_Voice->setActiveState();
        ui->Button_Voice->setText(tr("Share Sound"));
    }
}

void CbackgroundWidget::refreshMicStatus()
{
    m_pControls->refreshMic();
}

void CbackgroundWidget::refreshCameraStatus()
{
    m_pControls->refreshCamera();
}

void CbackgroundWidget::slotSwitchVoice()
{
    KD_LOG << "ischecked:" << ui->Button_Voice->m_bActive;
    if (CKDSdkManager *sdk = CKDSdkManager::getInstance()) {
        sdk->enableContentAudio(!ui->Button_Voice->m_bActive);
    }
    refreshShareVoiceStatus();
}

void CbackgroundWidget::slotSwitchMic()
{
    m_pControls->switchMic();
}

void CbackgroundWidget::slotSwitchCamera()
{
    m_pControls->switchCamera();
}

void CbackgroundWidget::muteAudio()
{
    KD_LOG;
    ui->Button_Mute->setActiveState();
    slotSwitchMic();
}

void CbackgroundWidget::unmuteAudio()
{
    KD_LOG;
    ui->Button_Mute->setNormalState();
    slotSwitchMic();
}

void CbackgroundWidget::slotOnMicMutedShow(bool muted)
{
    KD_LOG << "muted:" << muted;
    refreshMicStatus();
}

void CbackgroundWidget::slotVolume(kd::engine::KD_DEVICE_TYPE type, kd::engine::KDVolume volume)
{
    KD_LOG << "type:" << type << ", mute:" << volume.mute << ", volume:" << volume.volume;
    if (type == kd::engine::KD_DEVICE_TYPE(1)) {
        m_pControls->refreshVolume(volume.mute != 0, true);
    }
}

void CbackgroundWidget::slotClickedManagerButton()
{
    KD_LOG << "slotClickedManagerButton";
    emit sigClickManagerButton();
}

void CbackgroundWidget::slotConfMngtVisible(bool visible)
{
    KD_LOG << "visible:" << visible;
    ui->Button_Manager->setVisible(visible);
}

void CbackgroundWidget::setShowPicBtnVisible(bool visible)
{
    ui->m_pBtnShowPic->setVisible(visible);
}

bool CbackgroundWidget::isShowPicBtnVisible() const
{
    return !ui->m_pBtnShowPic->isHidden();
}

void CbackgroundWidget::slotOnBtnShowPicture()
{
    emit sigOnShowPicture();
    ui->m_pBtnShowPic->hide();
}

void CbackgroundWidget::slotHidePicture()
{
    ui->m_pBtnShowPic->show();
}

void CbackgroundWidget::setParticipantNumber()
{
    m_qstrParticipantNumber = CCallController::getInstance().getParticipantNumber();
    ui->Button_Manager->setNumber(m_qstrParticipantNumber);
}

void CbackgroundWidget::showSetting(bool audio)
{
    m_pControls->showSetting(audio);
}

void CbackgroundWidget::entershareBtn()
{
    const double s = scale();
    if (ui->horizontalView->isHidden()) {
        m_pTabGuard->arm(ui->shareBtnView);
        ui->PropertyWidget->setFixedHeight(int(kToolbarHeight * s));
        ui->widget->setFixedHeight(int(kToolbarHeight * s));
        ui->horizontalView->show();
    } else if (!m_pControls->isPopupShown()) {
        m_pTabGuard->arm(ui->shareBtnView);
        ui->PropertyWidget->setFixedHeight(int(kTabHeight * s));
        ui->widget->setFixedHeight(int(kTabHeight * s));
        ui->horizontalView->hide();
    }
    scheduleWindowShape();
}

int CbackgroundWidget::askToStop(QWidget *parent)
{
    return AlertDlg::question(parent, tr("Note"), tr("Are you sure to stop?"), QMessageBox::Yes | QMessageBox::No,
                              QMessageBox::Yes);
}

void CbackgroundWidget::stopShare()
{
    ui->Button_Close->setActiveState();
    KD_DEBUG << "stopShare Action";
    hidePickers();
    setCatching(false);
    unsetCursor();
    m_pPaintList->hide();
    ui->paintWidget->hide();
    emit stopDraw();
    stopOwnCapture(true);

    // The call may end while the question is open, and the layout then
    // deletes this overlay.
    const QPointer<CbackgroundWidget> self(this);
    const int answer = askToStop(this);
    if (!self) {
        return;
    }
    if (answer == QMessageBox::Yes) {
        emit sigClose();
    } else if (answer == QMessageBox::No) {
        ui->paintWidget->show();
        scheduleWindowShape();
    }
}

// ---- drawing ------------------------------------------------------------

void CbackgroundWidget::hidePickers()
{
    if (m_pColorWidget) {
        m_pColorWidget->hide();
    }
    if (m_pBgColorWidget) {
        m_pBgColorWidget->hide();
    }
}

void CbackgroundWidget::setCatching(bool catching)
{
    if (m_bCatching && !catching) {
        // What the user drew shows from now on through the cut-down window.
        m_bStrokesDirty = true;
    }
    m_bCatching = catching;
    ui->w->setStyleSheet(QString::fromLatin1(catching ? kCatchingStyle : kPassThroughStyle));
    scheduleWindowShape();
    update();
}

void CbackgroundWidget::setToolCursor(const QString &icon)
{
    // The hot spot lies at the image's centre.
    setCursor(QCursor(QPixmap(icon)));
}

void CbackgroundWidget::applyPen(const QColor &color, qreal width, int mode)
{
    ui->paintWidget->setPen(QPen(QBrush(color, Qt::SolidPattern), width, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    ui->paintWidget->setDrawMode(mode);
}

QScreen *CbackgroundWidget::screenUnderCursor() const
{
    if (QScreen *screen = QGuiApplication::screenAt(QCursor::pos())) {
        return screen;
    }
    // The pointer is off every screen (or there is no pointer at all):
    // the overlay's own screen serves, else the primary one.
    if (QScreen *screen = getDisplayScreen()) {
        return screen;
    }
    return QGuiApplication::primaryScreen();
}

void CbackgroundWidget::showPaintWindow()
{
    ui->paintWidget->m_bDrawEnabled = true;
    if (QScreen *screen = screenUnderCursor()) {
        m_pPaintList->show();
        m_pPaintList->raise();
        m_pPaintList->move(COverlayRules::toolMenuPosition(screen->geometry(), m_pPaintList->width(), scale()));
    }
    m_pPaintList->resetToPen();
    if (CPlatform::isWindows7Sp1()) {
        m_pScreenThread->setWhiteBoardAndWinId(false, 0);
        m_pScreenThread->start(QThread::InheritPriority);
    }
    KD_LOG << "QSysInfo().productType():" << QSysInfo::productType();
    KD_LOG << "QSysInfo().productVersion()" << QSysInfo::productVersion();
    if (!m_bTranslucent && isVisible()) {
        // The still picture is taken while the window shows only its frame
        // and toolbar, so that the strokes are not painted in twice.
        m_bTakingPicture = true;
        updateWindowShape();
        QTimer::singleShot(kPictureDelayMs, this, [this] {
            takeScreenPicture();
            m_bTakingPicture = false;
            updateWindowShape();
            update();
        });
    }
    setCatching(true);
    setToolCursor(QString::fromLatin1(kPenCursor));
}

void CbackgroundWidget::onBtnPenClicked()
{
    hidePickers();
    m_pColorWidget->m_bMarkerMode = false;
    QColor color = m_pColorWidget->getColor();
    color.setAlpha(PEN_ALPHA);
    applyPen(color, m_pColorWidget->getSize(), PaintWidget::PenMode);
    ui->paintWidget->m_bDrawEnabled = true;
    setCatching(true);
    setToolCursor(QString::fromLatin1(kPenCursor));
}

void CbackgroundWidget::onBtnNitePenClicked()
{
    hidePickers();
    m_pColorWidget->m_bMarkerMode = true;
    QColor color = m_pColorWidget->getColor();
    color.setAlpha(MARKER_ALPHA);
    applyPen(color, m_pColorWidget->getSize(), PaintWidget::MarkerMode);
    ui->paintWidget->m_bDrawEnabled = true;
    setCatching(true);
    setToolCursor(QString::fromLatin1(kMarkerCursor));
}

void CbackgroundWidget::onBtnEraserClicked()
{
    hidePickers();
    applyPen(ui->paintWidget->pen().color(), kEraserWidth, PaintWidget::EraserMode);
    ui->paintWidget->m_bDrawEnabled = true;
    setCatching(true);
    setToolCursor(QString::fromLatin1(kEraserCursor));
}

void CbackgroundWidget::slotOnMouse()
{
    hidePickers();
    ui->paintWidget->m_bDrawEnabled = false;
    setCatching(false);
    unsetCursor();
    m_pBgColorWidget->resetToClear();
    m_strDrawBgColor = m_pBgColorWidget->m_strBgColor;
    emit changeBgColor();
}

void CbackgroundWidget::onBtnRevokeClicked()
{
    KD_LOG << "start revoke";
    hidePickers();
    ui->paintWidget->RevocationSingleStep();
    m_bStrokesDirty = true;
    scheduleWindowShape();
}

void CbackgroundWidget::onBtnClearClicked()
{
    if (!ui->paintWidget->m_bDrawEnabled) {
        return;
    }
    setCatching(true);
    hidePickers();
    ui->paintWidget->clear();
    m_bStrokesDirty = true;
}

void CbackgroundWidget::onBtnExitClicked()
{
    hidePickers();
    unsetCursor();
    ui->paintWidget->m_bDrawEnabled = false;
    m_pPaintList->hide();
    setCatching(false);
    emit stopDraw();
    stopOwnCapture(true);
}

void CbackgroundWidget::onBtnBgClicked()
{
    m_pColorWidget->hide();
    m_pPaintList->togglePicker(m_pBgColorWidget, m_pPaintList->m_nBgBtnX, m_pBgColorWidget->isVisible());
}

void CbackgroundWidget::onBtnSelectPenClicked()
{
    onBtnPenClicked();
    m_pBgColorWidget->hide();
    m_pColorWidget->m_bMarkerMode = false;
    m_pColorWidget->refreshSelectedState();
    m_pPaintList->togglePicker(m_pColorWidget, m_pPaintList->m_nPenBgX, m_pColorWidget->isVisible());
    ui->paintWidget->m_bDrawEnabled = true;
}

void CbackgroundWidget::onBtnSelectNitePenClicked()
{
    onBtnNitePenClicked();
    m_pBgColorWidget->hide();
    m_pColorWidget->m_bMarkerMode = true;
    m_pColorWidget->refreshSelectedState();
    m_pPaintList->togglePicker(m_pColorWidget, m_pPaintList->m_nNitePenBgX, m_pColorWidget->isVisible());
    ui->paintWidget->m_bDrawEnabled = true;
}

void CbackgroundWidget::changePenColor()
{
    setToolCursor(QString::fromLatin1(kPenCursor));
    int mode = PaintWidget::PenMode;
    if (m_pColorWidget->m_bMarkerMode) {
        m_pPaintList->selectNitePenButton();
        mode = PaintWidget::MarkerMode;
    } else {
        m_pPaintList->selectPenButton();
    }
    applyPen(m_pColorWidget->getColor(), m_pColorWidget->getSize(), mode);
}

void CbackgroundWidget::changePenLineSize()
{
    setToolCursor(QString::fromLatin1(kPenCursor));
    QColor color = m_pColorWidget->getColor();
    int mode = PaintWidget::PenMode;
    if (m_pColorWidget->m_bMarkerMode) {
        m_pPaintList->selectNitePenButton();
        color.setAlpha(MARKER_ALPHA);
        mode = PaintWidget::MarkerMode;
    } else {
        m_pPaintList->selectPenButton();
        color.setAlpha(PEN_ALPHA);
    }
    applyPen(color, m_pColorWidget->getSize(), mode);
}

void CbackgroundWidget::c_changeDrawBg(QString color)
{
    m_strDrawBgColor = color;
    if (m_pColorWidget->m_bMarkerMode) {
        m_pPaintList->selectNitePenButton();
        onBtnNitePenClicked();
    } else {
        m_pPaintList->selectPenButton();
        onBtnPenClicked();
    }
    emit changeBgColor();
    update();
}

void CbackgroundWidget::slotBtnSaveClicked()
{
    QScreen *screen = screenUnderCursor();
    QPixmap picture;
    if (screen) {
        const QRect area = screen->geometry();
        picture = screen->grabWindow(0, area.x(), area.y(), area.width(), area.height());
    }
    const QString file = CSnapshotSaver::filePath(tr("Screenshot"), QDateTime::currentDateTime());
    CSnapshotSaver::saveAndTell(this, picture, file);
}

void CbackgroundWidget::slotOnContent(kd::engine::KDContentInfo info)
{
    KD_LOG << "enabled:" << info.enabled << ", dir:" << info.dir << ", type:" << info.type;
    if (!info.enabled && CPlatform::isWindows7Sp1()) {
        KD_LOG << "QSysInfo().productType():" << QSysInfo::productType() << ", QSysInfo().productVersion()"
               << QSysInfo::productVersion();
        stopOwnCapture(true);
    }
}

void CbackgroundWidget::stopOwnCapture(bool handBackSource)
{
    if (!CPlatform::isWindows7Sp1()) {
        return;
    }
    const bool wasRunning = m_pScreenThread->isRunning();
    // The thread ends before the source goes back: a frame still in flight
    // would otherwise take the engine's place again for good.
    m_pScreenThread->stop();
    m_pScreenThread->wait();
    if (handBackSource && wasRunning) {
        if (CKDSdkManager *sdk = CKDSdkManager::getInstance()) {
            sdk->setLocalContentSource(CCallController::getInstance().getContentSourceInfo());
        }
    }
}

// ---- window -------------------------------------------------------------

double CbackgroundWidget::scale() const
{
    return m_fStretchFactor > 0 ? m_fStretchFactor : 1.0;
}

void CbackgroundWidget::chooseTranslucency()
{
    const bool translucent = CWindowShape::isCompositorRunning();
    KD_LOG << "compositor:" << translucent;
    if (translucent == testAttribute(Qt::WA_TranslucentBackground) && translucent == m_bTranslucent) {
        return;
    }
    // The window's visual is chosen when it is made: it is made again.
    if (testAttribute(Qt::WA_WState_Created) && !isVisible()) {
        destroy();
    }
    setAttribute(Qt::WA_TranslucentBackground, translucent);
    if (!translucent) {
        setAttribute(Qt::WA_NoSystemBackground, false);
    }
    m_bTranslucent = translucent;
    ui->paintWidget->setLayered(!translucent);
    m_bStrokesDirty = true;
}

void CbackgroundWidget::setVisible(bool visible)
{
    if (visible && !isVisible()) {
        chooseTranslucency();
    }
    CBaseWgt::setVisible(visible);
    if (visible) {
        scheduleWindowShape();
    }
}

void CbackgroundWidget::scheduleWindowShape()
{
    m_shapeTimer->start();
}

QRegion CbackgroundWidget::toolbarRegion() const
{
    if (!ui->paintWidget->isVisibleTo(this) || !ui->PropertyWidget->isVisibleTo(this)) {
        return QRegion();
    }
    return QRegion(QRect(ui->PropertyWidget->mapTo(this, QPoint(0, 0)), ui->PropertyWidget->size()));
}

QRegion CbackgroundWidget::toolbarFaceRegion() const
{
    if (toolbarRegion().isEmpty()) {
        return QRegion();
    }
    QRegion face;
    for (const QWidget *part :
         {static_cast<const QWidget *>(ui->horizontalView), static_cast<const QWidget *>(ui->shareBtnView)}) {
        if (part->isVisibleTo(this)) {
            face += QRect(part->mapTo(this, QPoint(0, 0)), part->size());
        }
    }
    return face;
}

QRegion CbackgroundWidget::strokeRegion()
{
    if (m_bStrokesDirty) {
        m_strokeRegion = COverlayRules::visiblePixels(ui->paintWidget->strokeLayer());
        m_bStrokesDirty = false;
    }
    if (!ui->paintWidget->isVisibleTo(this)) {
        return QRegion();
    }
    return m_strokeRegion.translated(ui->paintWidget->mapTo(this, QPoint(0, 0)));
}

QRegion CbackgroundWidget::shownRegion()
{
    if (m_bTranslucent || (m_bCatching && !m_bTakingPicture)) {
        return QRegion(rect());
    }
    QRegion shown = COverlayRules::frameRegion(size()) + toolbarFaceRegion();
    if (!m_bTakingPicture) {
        shown += strokeRegion();
    }
    return shown;
}

QRegion CbackgroundWidget::inputRegion() const
{
    return m_bCatching ? QRegion(rect()) : toolbarRegion();
}

void CbackgroundWidget::updateWindowShape()
{
    const QRegion shown = shownRegion();
    if (shown == QRegion(rect())) {
        clearMask();
    } else {
        setMask(shown);
    }
    if (!testAttribute(Qt::WA_WState_Created)) {
        return;
    }
    // The window system hands clicks on transparent pixels to the window
    // too: outside the input region they go to the windows below.
    const qreal ratio = devicePixelRatioF();
    QTransform toDevice;
    toDevice.scale(ratio, ratio);
    if (m_bCatching) {
        CWindowShape::clearInputRegion(winId());
    } else {
        CWindowShape::setInputRegion(winId(), toDevice.map(inputRegion()));
    }
}

void CbackgroundWidget::takeScreenPicture()
{
    QScreen *screen = getDisplayScreen();
    if (!screen) {
        screen = QGuiApplication::primaryScreen();
    }
    if (!screen) {
        return;
    }
    const QRect area(mapToGlobal(QPoint(0, 0)), size());
    m_screenPicture = screen->grabWindow(0, area.x(), area.y(), area.width(), area.height()).toImage();
    KD_LOG << "picture:" << m_screenPicture.size();
}

bool CbackgroundWidget::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize && watched &&
        (watched == m_pPaintList.data() || watched == m_pColorWidget.data() || watched == m_pBgColorWidget.data())) {
        auto *popup = static_cast<QWidget *>(watched);
        popup->setMask(COverlayRules::roundedRegion(popup->size(), kPanelRadius));
        return CBaseWgt::eventFilter(watched, event);
    }
    if (ui && (watched == ui->PropertyWidget || watched == ui->paintWidget)) {
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::Hide:
            scheduleWindowShape();
            break;
        default:
            break;
        }
        return CBaseWgt::eventFilter(watched, event);
    }
    return CBaseWgt::eventFilter(watched, event);
}

bool CbackgroundWidget::event(QEvent *event)
{
    if (event->type() == QEvent::WinIdChange) {
        scheduleWindowShape();
    }
    return CBaseWgt::event(event);
}

void CbackgroundWidget::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)
    QPainter painter(this);
    if (!m_bTranslucent) {
        // The window is opaque: what lies under the strokes is painted here.
        const QColor board = COverlayRules::parseBackground(m_strDrawBgColor);
        if (m_bCatching && !m_bTakingPicture && board.isValid() && board.alpha() > 0) {
            painter.fillRect(rect(), QColor(board.red(), board.green(), board.blue()));
        } else if (!m_screenPicture.isNull()) {
            painter.drawImage(rect(), m_screenPicture);
        } else {
            painter.fillRect(rect(), Qt::black);
        }
    }
    const int w = width();
    const int h = height();
    painter.setPen(QPen(kFrameColour, COverlayRules::kFramePenWidth));
    painter.drawLine(0, 0, w - 1, 0);
    painter.drawLine(0, 0, 0, h - 1);
    painter.drawLine(w - 1, 0, w - 1, h - 1);
    painter.drawLine(0, h - 1, w - 1, h - 1);
}

void CbackgroundWidget::showEvent(QShowEvent *event)
{
    KD_LOG << "CbackgroundWidget::showEvent";
    m_dpiScaler.init(width(), height(), this);
    CBaseWgt::showEvent(event);
    scheduleWindowShape();
}

void CbackgroundWidget::hideEvent(QHideEvent *event)
{
    KD_LOG << "CbackgroundWidget::hideEvent";
    CBaseWgt::hideEvent(event);
}

void CbackgroundWidget::resizeEvent(QResizeEvent *event)
{
    CBaseWgt::resizeEvent(event);
    m_bStrokesDirty = true;
    scheduleWindowShape();
}

void CbackgroundWidget::onDpiChanged()
{
    KD_LOG << "CbackgroundWidget OnDpiChanged";
    const double s = scale();
    ui->PropertyWidget->setFixedHeight(int(kToolbarHeight * s));
    ui->widget->setFixedHeight(int(kToolbarHeight * s));
    ui->horizontalView->show();
    m_dpiScaler.scaleWidget(s, this, false);
    for (QMenuButton *button :
         {ui->Button_Voice, ui->Button_Draw, ui->Button_Mute, ui->Button_Close, ui->Button_Camera, ui->m_pBtnVolume}) {
        button->updateDpiScale(s);
    }
    ui->Button_Manager->onDpiChanged(s);
    ui->m_pBtnShowPic->onDpiChanged(s);
    m_pControls->scaleMenuArrows(s);
    m_pControls->refreshVolume(false, false);
    showMaximized();
    scheduleWindowShape();
}

} // namespace views
} // namespace kd_app
