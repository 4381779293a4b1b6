#include "clayoutpeoplesettingdlg.h"

#include <algorithm>

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QVBoxLayout>

#include "app/cstackingwatcher.h"
#include "app/cwindowshape.h"
#include "helpers/cgeneralutils.h"
#include "helpers/clogformat.h"
#include "helpers/cuserconfigutils.h"
#include "models/ccallcontroller.h"
#include "models/ckdsdkmanager.h"
#include "models/screenthread.h"
#include "views/base/alertdlg.h"
#include "views/call/caudiomodewidget.h"
#include "views/call/ccoverinputforwarder.h"
#include "views/call/clayoutcellcoverdlg.h"
#include "views/call/clayoutcelldlg.h"
#include "views/call/clayoutcoverdlg.h"
#include "views/call/clayoutfloatingcellsdlg.h"
#include "views/call/clayoutstacking.h"
#include "views/call/cmediastatisticsdlg.h"
#include "views/call/cpromptwidget.h"
#include "views/call/cremotecontentdlg.h"
#include "views/cmaindlgmanager.h"
#include "views/sharing/cbackgroundwidget.h"
#include "views/sharing/whiteboard.h"
#include "views/whiteboard/whiteboarddlg.h"
#include "views/whiteboard/whiteboardtopwidget.h"

namespace kd_app {
namespace views {

using helpers::CUserConfigUtils;
using models::CCallController;
using models::CKDSdkManager;

namespace {

// The frame's border around the engine.
constexpr int FRAME_BORDER = CLayoutGeometry::FRAME_BORDER;
constexpr char LOCAL_CELL_COLOR[] = "#4381ff";
constexpr char WHITEBOARD_CELL_COLOR[] = "#f00";
// How many remote cells the strip holds before it shows its bottom bar.
constexpr int STRIP_BOTTOM_BAR_THRESHOLD = 4;
constexpr Qt::WindowFlags LAYOUT_WINDOW = Qt::SplashScreen | Qt::FramelessWindowHint;

CLayoutPeopleSettingDlg::ToolbarFactory &toolbarFactory()
{
    static CLayoutPeopleSettingDlg::ToolbarFactory factory;
    return factory;
}

bool isWindowMinimized(const QWidget *widget)
{
    return widget && (widget->window()->windowState() & Qt::WindowMinimized);
}

int callStatus()
{
    return CCallController::getInstance().getCallStatus();
}

int contentStreamStatus()
{
    return CCallController::getInstance().getContentStreamStatus();
}

bool isSendingMode(enums::LayoutModeType mode)
{
    return mode == enums::LayoutMode_LocalContent || mode == enums::LayoutMode_LocalWhiteBoard;
}

// Connects by name where only the toolbar's window is known; a signal the
// toolbar lacks is a wiring fault worth a line in the log.
void connectByName(const QObject *sender, const char *signal, const QObject *receiver, const char *method)
{
    if (!QObject::connect(sender, signal, receiver, method)) {
        KD_WARN << "connect failed:" << signal << method;
    }
}

} // namespace

void CLayoutPeopleSettingDlg::setToolbarFactory(ToolbarFactory factory)
{
    toolbarFactory() = std::move(factory);
}

CLayoutPeopleSettingDlg::CLayoutPeopleSettingDlg(QWidget *parent) : CBaseDlg(parent)
{
    setObjectName("CLayoutPeopleSettingDlg");
    resize(400, 300);
    setMaximumSize(4096, 3112);
    setStyleSheet(QString());
    setWindowTitle(QString());
    // A child of the frame, placed by it: neither a window of its own nor centred.
    setWindowFlags(Qt::Widget);
    m_bCenterOnFirstShow = false;
    auto *layout = new QVBoxLayout(this);
    layout->setObjectName("verticalLayout");
    layout->setSpacing(0);
    layout->setContentsMargins(0, 0, 0, 0);
    // Without a compositor the pointer over the letterbox lands here and is
    // handed to the overlay.
    setMouseTracking(true);

    m_pRemoteCell = newCell(CLayoutCellCoverDlg::CellType_People);
    m_pLocalCell = newCell(CLayoutCellCoverDlg::CellType_People);
    m_pLayoutCoverDlg = new CLayoutCoverDlg(nullptr);
    if (toolbarFactory()) {
        m_pToolbar = toolbarFactory()();
        m_pToolbarWnd = m_pToolbar ? m_pToolbar->toolbarWindow() : nullptr;
    }
    m_pFloatingCellsDlg = new CLayoutFloatingCellsDlg(nullptr);
    m_pAudioWidget = new CAudioModeWidget(nullptr);
    initWidgets();
    initConnections();
    if (parent) {
        m_pFrameStacking = std::make_unique<CStackingWatcher>(parent->window());
        connect(m_pFrameStacking.get(), &CStackingWatcher::sigRestacked, this,
                &CLayoutPeopleSettingDlg::onFrameRestacked);
    }
}

CLayoutPeopleSettingDlg::~CLayoutPeopleSettingDlg()
{
    KD_LOG;
    m_pFrameStacking.reset();
    m_pWhiteBoardStacking.reset();
    m_timerHideToolbar.stop();
    // The cells may sit in the strip, and the strip under the toolbar: take
    // them out of every ownership before deleting anything.
    for (QWidget *widget :
         {static_cast<QWidget *>(m_pRemoteCell), static_cast<QWidget *>(m_pLocalCell),
          static_cast<QWidget *>(m_pFloatingCellsDlg), static_cast<QWidget *>(m_pMediaStatisticsDlg.data())}) {
        if (widget) {
            widget->setParent(nullptr);
        }
    }
    m_pFloatingCellsDlg->clearLocalVideoCell();
    m_pFloatingCellsDlg->clearRemoteVideoCells();
    delete m_pRemoteCell;
    delete m_pLocalCell;
    delete m_pFloatingCellsDlg;
    delete m_pMediaStatisticsDlg.data();
    delete m_pRemoteContentDlg.data();
    delete m_whiteBoardDlg.data();
    delete m_whiteBoardDlgForLayout.data();
    delete m_pToolbarWnd.data();
    delete m_pPromptWidget.data();
    delete m_pAudioWidget;
    if (m_pScreenThread) {
        // A capture that does not end must not hold the program at exit.
        m_pScreenThread->stop();
        if (m_pScreenThread->wait(CAPTURE_STOP_TIMEOUT_MS)) {
            delete m_pScreenThread;
        } else {
            KD_WARN << "screen capture did not end within" << CAPTURE_STOP_TIMEOUT_MS << "ms";
            connect(m_pScreenThread, &QThread::finished, m_pScreenThread, &QObject::deleteLater);
        }
        m_pScreenThread = nullptr;
    }
}

CLayoutCellDlg *CLayoutPeopleSettingDlg::newCell(int type)
{
    auto *cell = new CLayoutCellDlg(nullptr);
    cell->setCellType(type);
    return cell;
}

void CLayoutPeopleSettingDlg::initWidgets()
{
    helpers::CGeneralUtils::setStyle(this, QStringLiteral(":/resources/qss/layout-people-setting-dlg.qss"));
    connect(m_pAudioWidget, &CAudioModeWidget::sigMouseMove, this, &CLayoutPeopleSettingDlg::slotOnCellCoverMouseMove);
    connect(m_pAudioWidget, &CAudioModeWidget::sigMousePress, this,
            &CLayoutPeopleSettingDlg::slotOnCellCoverMousePress);
    m_pLayoutCoverDlg->setParent(this, LAYOUT_WINDOW);
    m_pLayoutCoverDlg->installEventFilter(this);
    m_pLocalCell->setBorderColor(LOCAL_CELL_COLOR);
    m_pLocalCell->setCellType(CLayoutCellCoverDlg::CellType_Local);
    m_pFloatingCellsDlg->setBottomBarThreshold(STRIP_BOTTOM_BAR_THRESHOLD);
    m_timerHideToolbar.setInterval(TOOLBAR_HIDE_MS);
    m_timerHideToolbar.setSingleShot(false);
    m_pLayoutCoverDlg->raise();
    if (m_pToolbarWnd) {
        m_pToolbarWnd->setParent(m_pLayoutCoverDlg, LAYOUT_WINDOW);
    }
    m_pFloatingCellsDlg->setParent(stripParent(), LAYOUT_WINDOW);
    setIsLocalRemoteMuted(false);
    if (!m_pRemoteWhiteBoardCell) {
        m_pRemoteWhiteBoardCell = newCell(CLayoutCellCoverDlg::CellType_Content);
    }
    m_pRemoteWhiteBoardCell->setParent(this, Qt::SplashScreen);
    m_pAudioWidget->setParent(m_pLayoutCoverDlg, LAYOUT_WINDOW);
}

QWidget *CLayoutPeopleSettingDlg::stripParent() const
{
    // Without a toolbar the strip stays with the overlay, as the toolbar does.
    return m_pToolbarWnd ? m_pToolbarWnd.data() : static_cast<QWidget *>(m_pLayoutCoverDlg);
}

void CLayoutPeopleSettingDlg::initConnections()
{
    CCallController &calls = CCallController::getInstance();
    CKDSdkManager *sdk = CKDSdkManager::getInstance();
    connect(&calls, &CCallController::sigContentStreamStatusChanged, this,
            &CLayoutPeopleSettingDlg::slotOnContentStreamStatusChanged);
    connect(sdk, &CKDSdkManager::eventWarn, this, &CLayoutPeopleSettingDlg::slotOnWarn);
    connect(sdk, &CKDSdkManager::eventMuteSpeakingDetected, this, &CLayoutPeopleSettingDlg::slotOnMuteSpeakingDetected);
    connect(sdk, &CKDSdkManager::eventContent, this, &CLayoutPeopleSettingDlg::slotOnContent);
    connect(sdk, &CKDSdkManager::eventMicMutedShow, this, &CLayoutPeopleSettingDlg::slotOnMicMutedShow);
    connect(sdk, &CKDSdkManager::eventCurrentDeviceChanged, this, &CLayoutPeopleSettingDlg::slotOnCurrentDeviceChanged);
    connect(sdk, &CKDSdkManager::eventVideoMutedShow, this, &CLayoutPeopleSettingDlg::slotOnVideoMutedShow);
    connect(&calls, &CCallController::sigCallStatusChanged, this, &CLayoutPeopleSettingDlg::slotOnCallStatusChanged);
    connect(&calls, &CCallController::sigCallStateChanged, this, &CLayoutPeopleSettingDlg::slotOnCallStateChanged);
    if (m_pToolbarWnd) {
        connectByName(m_pToolbarWnd, SIGNAL(sigChangeLayoutMode(enums::LayoutModeType)), this,
                      SLOT(slotOnChangeLayoutMode(enums::LayoutModeType)));
        connectByName(m_pToolbarWnd, SIGNAL(sigIsLocalMicEnabled(bool)), this, SLOT(slotOnIsLocalMicEnabled(bool)));
        connectByName(m_pToolbarWnd, SIGNAL(sigrequestSpeakPrompt()), this, SLOT(slotOnRequestSpeak()));
        connectByName(m_pToolbarWnd, SIGNAL(sigSettingWinClosed()), this, SLOT(slogOnSettingWinClosed()));
        connectByName(m_pToolbarWnd, SIGNAL(sigOnShowPicture()), m_pFloatingCellsDlg,
                      SLOT(slot_FloatingCellsDlg_Show()));
        connectByName(m_pFloatingCellsDlg, SIGNAL(signal_FloatingCellsDlg_Hide()), m_pToolbarWnd,
                      SLOT(slotHidePicture()));
    }
    connect(&m_timerHideToolbar, &QTimer::timeout, this, &CLayoutPeopleSettingDlg::slotOnTimerHideToolbar);
    connect(m_pLayoutCoverDlg, &CLayoutCoverDlg::sigMouseMove, this,
            &CLayoutPeopleSettingDlg::slotOnCellCoverMouseMove);
    connect(m_pLayoutCoverDlg, &CLayoutCoverDlg::sigMousePress, this,
            &CLayoutPeopleSettingDlg::slotOnCellCoverMousePress);
    connectCell(m_pLocalCell, false);
    connectCell(m_pRemoteCell, true);
}

void CLayoutPeopleSettingDlg::connectCell(CLayoutCellDlg *cell, bool doubleClick)
{
    connect(cell, &CLayoutCellDlg::sigMouseMove, this, &CLayoutPeopleSettingDlg::slotOnCellCoverMouseMove);
    connect(cell, &CLayoutCellDlg::sigMousePress, this, &CLayoutPeopleSettingDlg::slotOnCellCoverMousePress);
    connect(cell, &CLayoutCellDlg::sigVideoWindowChanged, this, &CLayoutPeopleSettingDlg::onVideoWindowChanged);
    if (doubleClick) {
        connect(cell, &CLayoutCellDlg::sigMouseDoubleClick, this, &CLayoutPeopleSettingDlg::slotOnCellMouseDoubleClick);
    }
}

void CLayoutPeopleSettingDlg::setEventFilter(QObject *filter)
{
    QList<QWidget *> targets{this, m_pLayoutCoverDlg, m_pAudioWidget, m_pFloatingCellsDlg};
    if (m_pToolbarWnd) {
        targets << m_pToolbarWnd;
    }
    for (QWidget *target : targets) {
        if (m_pEventFilter) {
            target->removeEventFilter(m_pEventFilter);
        }
        if (filter) {
            target->installEventFilter(filter);
        }
    }
    m_pEventFilter = filter;
}

void CLayoutPeopleSettingDlg::setSharedScreenIndex(int index)
{
    m_nSharedScreenIndex = index;
}

void CLayoutPeopleSettingDlg::setTitleBarHeight(int height)
{
    m_nTitleBarHeight = height;
}

CbackgroundWidget *CLayoutPeopleSettingDlg::getScreenDrawingWidget() const
{
    return m_bgWidget;
}

CPromptWidget *CLayoutPeopleSettingDlg::getPromptWidget() const
{
    return m_pPromptWidget;
}

CMediaStatisticsDlg *CLayoutPeopleSettingDlg::mediaStatisticsDlg() const
{
    return m_pMediaStatisticsDlg;
}

CRemoteContentDlg *CLayoutPeopleSettingDlg::getRemoteContentDlg() const
{
    return m_pRemoteContentDlg;
}

WhiteBoardDlg *CLayoutPeopleSettingDlg::getWhiteBoardDlg() const
{
    return m_whiteBoardDlg;
}

WhiteBoardDlg *CLayoutPeopleSettingDlg::getWhiteBoardDlgForLayout() const
{
    return m_whiteBoardDlgForLayout;
}

WhiteBoard *CLayoutPeopleSettingDlg::getScreenDrawingBackground() const
{
    return m_wbWidget;
}

// ---- following the frame ----

void CLayoutPeopleSettingDlg::onParentMoved(int x, int y)
{
    m_parentPos = QPoint(x, y);
    m_layoutOrigin = CLayoutGeometry::layoutOrigin(m_layoutSize, m_parentPos, m_nTitleBarHeight);
    refreshLayoutCellsPos();
    stopToolbarUnlessPopup();
}

void CLayoutPeopleSettingDlg::onParentResized(QRect rectParentGeometry)
{
    setFixedSize(qMax(0, rectParentGeometry.width() - 2 * FRAME_BORDER),
                 qMax(0, rectParentGeometry.height() - m_nTitleBarHeight - 2 * FRAME_BORDER));
    stopToolbarUnlessPopup();
}

void CLayoutPeopleSettingDlg::onParentMinimized()
{
    m_pFloatingCellsDlg->hide();
}

void CLayoutPeopleSettingDlg::stopToolbarUnlessPopup()
{
    if (m_pToolbarWnd && m_pToolbarWnd->isVisible() && !isToolbarBusy()) {
        m_pToolbarWnd->hide();
        m_timerHideToolbar.stop();
    }
}

bool CLayoutPeopleSettingDlg::isToolbarBusy() const
{
    return getToolbar() && getToolbar()->isAnyPopupVisible();
}

void CLayoutPeopleSettingDlg::onSizeChanged()
{
    m_pLayoutCoverDlg->setFixedSize(size());
    if (callStatus() == enums::Connected) {
        redrawLayout(m_layoutMode);
    }
    if (m_pPromptWidget && m_pPromptWidget->parentWidget() == m_pLayoutCoverDlg) {
        m_pPromptWidget->updatePosition();
    }
    if (m_pAudioWidget->isVisible()) {
        m_pAudioWidget->setFixedSize(size());
    }
}

QPoint CLayoutPeopleSettingDlg::engineScreenPos() const
{
    return m_parentPos + QPoint(FRAME_BORDER, m_nTitleBarHeight + FRAME_BORDER);
}

void CLayoutPeopleSettingDlg::refreshLayoutCellsPos()
{
    const QPoint origin = m_layoutOrigin;
    if (m_pRemoteCell->isVisible() && m_pRemoteCell->parentWidget() == this) {
        m_pRemoteCell->moveWithParent(origin.x(), origin.y());
    }
    if (m_pContentCell && m_pContentCell->isVisible()) {
        m_pContentCell->moveWithParent(origin.x(), origin.y());
    }
    if (m_pRemoteWhiteBoardCell->isVisible()) {
        m_pRemoteWhiteBoardCell->moveWithParent(origin.x(), origin.y());
        placeWhiteBoardDlgForLayout();
    }
    if (m_pLocalCell->parentWidget() == this) {
        m_pLocalCell->moveWithParent(origin.x(), origin.y());
    }
    m_pLayoutCoverDlg->move(engineScreenPos());
    m_pAudioWidget->move(engineScreenPos());
    if (m_pPromptWidget && m_pPromptWidget->parentWidget() == m_pLayoutCoverDlg) {
        m_pPromptWidget->updatePosition();
    }
}

// ---- the layout ----

void CLayoutPeopleSettingDlg::calculateLayoutSize(enums::LayoutModeType mode)
{
    m_layoutSize = CLayoutGeometry::calculateLayoutSize(width(), height(), mode);
    m_layoutOrigin = CLayoutGeometry::layoutOrigin(m_layoutSize, m_parentPos, m_nTitleBarHeight);
}

void CLayoutPeopleSettingDlg::setLayoutModeAndRedraw()
{
    setUiLayoutMode();
    redrawLayout(m_layoutMode);
}

void CLayoutPeopleSettingDlg::setUiLayoutMode()
{
    CCallController &calls = CCallController::getInstance();
    const int status = calls.getContentStreamStatus();
    if (calls.getCallInfo().isAudioOnly) {
        m_layoutMode = enums::LayoutMode_AudioOnly;
    } else if (status == enums::ContentStreamStatus_ReceivingContentStarted) {
        if (!m_bSeperateWindow4RemoteContent && m_layoutMode != enums::LayoutMode_RemoteContentPreferred &&
            m_layoutMode != enums::LayoutMode_RemoteContentOnly) {
            m_layoutMode = enums::LayoutMode_RemoteContentOnly;
        }
    } else if (status == enums::ContentStreamStatus_ReceivingWhiteBoardStarted && !m_bSeperateWindow4RemoteContent) {
        if (calls.getAcsJsonWebToken().isEmpty()) {
            m_layoutMode = enums::LayoutMode_People;
            KD_LOG << "m_layoutMode:" << m_layoutMode;
        } else if (m_layoutMode != enums::LayoutMode_RemoteWhiteBoardPreferred &&
                   m_layoutMode != enums::LayoutMode_RemoteWhiteBoardOnly) {
            createWhiteBoardDlgForLayout();
            m_layoutMode = enums::LayoutMode_RemoteWhiteBoardOnly;
        }
    } else if (status == enums::ContentStreamStatus_SendingContentStarted) {
        m_layoutMode = enums::LayoutMode_LocalContent;
    } else if (status == enums::ContentStreamStatus_SendingWhiteBoardStarted) {
        m_layoutMode = enums::LayoutMode_LocalWhiteBoard;
    } else {
        m_layoutMode = enums::LayoutMode_People;
        KD_LOG << "m_layoutMode:" << m_layoutMode;
    }
    KD_LOG << "m_layoutMode is set to:" << m_layoutMode;
    if (ILayoutToolbar *toolbar = getToolbar()) {
        toolbar->setLayoutMode(m_layoutMode);
    }
}

void CLayoutPeopleSettingDlg::createWhiteBoardDlgForLayout()
{
    if (!m_whiteBoardDlgForLayout) {
        m_whiteBoardDlgForLayout = new WhiteBoardDlg(nullptr);
        connect(m_whiteBoardDlgForLayout, &WhiteBoardDlg::sigRefreshStatus, this,
                &CLayoutPeopleSettingDlg::slotOnJudgeMicAndCameraStatus);
        connect(m_whiteBoardDlgForLayout, &WhiteBoardDlg::sigClickManagerButton, this,
                &CLayoutPeopleSettingDlg::slotOnOpenManagerWindow);
        connect(m_whiteBoardDlgForLayout, &WhiteBoardDlg::sigMouseMove4PaintList, this,
                &CLayoutPeopleSettingDlg::slotOnMouseMove4WhiteBoardDlgForLayoutPaintList);
    }
    m_whiteBoardDlgForLayout->setParent(m_pRemoteWhiteBoardCell->getCover(), LAYOUT_WINDOW);
    m_whiteBoardDlgForLayout->isSendWhiteBoard(false);
    m_whiteBoardDlgForLayout->updateWebPage();
    m_whiteBoardDlgForLayout->setIsSeperateDlg(false);
    m_whiteBoardDlgForLayout->hideTitleBar();
}

void CLayoutPeopleSettingDlg::slotOnChangeLayoutMode(enums::LayoutModeType layoutMode)
{
    if (layoutMode == m_layoutMode) {
        KD_LOG << "m_layoutMode already is:" << m_layoutMode;
        return;
    }
    switch (layoutMode) {
    case enums::LayoutMode_RemoteContentPreferred:
    case enums::LayoutMode_RemoteContentOnly:
    case enums::LayoutMode_RemoteWhiteBoardPreferred:
    case enums::LayoutMode_RemoteWhiteBoardOnly:
        m_layoutMode = layoutMode;
        if (ILayoutToolbar *toolbar = getToolbar()) {
            toolbar->setLayoutMode(m_layoutMode);
        }
        redrawLayout(m_layoutMode);
        break;
    default:
        KD_LOG << "ignored layout mode:" << layoutMode;
        break;
    }
}

void CLayoutPeopleSettingDlg::redrawLayout(enums::LayoutModeType mode)
{
    KD_LOG << "layoutMode:" << mode;
    if (mode != enums::LayoutMode_AudioOnly) {
        calculateLayoutSize(mode);
    }
    switch (mode) {
    case enums::LayoutMode_People:
        drawLayout4NormalPeopleMode();
        break;
    case enums::LayoutMode_RemoteContentPreferred:
    case enums::LayoutMode_RemoteWhiteBoardPreferred:
        drawTiledLayout(mode);
        break;
    case enums::LayoutMode_RemoteContentOnly:
    case enums::LayoutMode_RemoteWhiteBoardOnly:
    case enums::LayoutMode_LocalContent:
    case enums::LayoutMode_LocalWhiteBoard:
        drawFloatingPeopleLayout(mode);
        break;
    case enums::LayoutMode_AudioOnly:
        drawLayoutAudioOnlyMode();
        break;
    }
    if (mode <= enums::LayoutMode_RemoteWhiteBoardOnly) {
        if (!m_pLayoutCoverDlg->isVisible()) {
            m_pLayoutCoverDlg->show();
            if (m_pPromptWidget) {
                m_pPromptWidget->showIfActive();
            }
        }
    }
    raiseLayoutWindows();
    const bool tiled =
        mode == enums::LayoutMode_RemoteContentPreferred || mode == enums::LayoutMode_RemoteWhiteBoardPreferred;
    if (ILayoutToolbar *toolbar = getToolbar()) {
        toolbar->setShowPicButtonVisible(!tiled && m_pFloatingCellsDlg->getHideFlag());
    }
    KD_LOG << "done";
}

void CLayoutPeopleSettingDlg::raiseLayoutWindows()
{
    // The cells, then the overlay with the covers it owns, the toolbar last
    // of those, with the strip above it; a strip of its own floats alone.
    CLayoutStacking::raiseTree(this);
    CLayoutStacking::raiseTree(m_pToolbarWnd);
    if (!m_pFloatingCellsDlg->parentWidget()) {
        CLayoutStacking::raiseTree(m_pFloatingCellsDlg);
    }
}

void CLayoutPeopleSettingDlg::onVideoWindowChanged(CLayoutCellDlg *cell)
{
    // The engine paints into the window it was given: a cell's new render
    // window replaces the old one for the stream the cell shows.
    if (cell == m_pRemoteCell) {
        setRemoteVideoWindows();
    } else if (cell == m_pLocalCell) {
        // Outside a call the local picture may be the settings window's.
        if (callStatus() >= enums::Dialing && callStatus() <= enums::Connected) {
            setLocalVideoWindow();
        }
    } else if (cell == m_pContentCell && !m_bSeperateWindow4RemoteContent) {
        CCallController::getInstance().setRemoteContentWindow(cell->getVideoWinId());
    }
}

void CLayoutPeopleSettingDlg::onFrameRestacked()
{
    // Hidden, the engine shows nothing; while sending, its windows are not
    // over the frame.
    if (!isVisible() || callStatus() != enums::Connected || isSendingMode(m_layoutMode)) {
        return;
    }
    raiseLayoutWindows();
}

void CLayoutPeopleSettingDlg::onWhiteBoardRestacked()
{
    // Its tool menu, pickers and boxes. (The call's windows stay under it
    // while it is active: the call's event filter brings it back over them.)
    if (m_whiteBoardDlg && m_whiteBoardDlg->isVisible()) {
        CLayoutStacking::raiseOwned(m_whiteBoardDlg);
    }
}

void CLayoutPeopleSettingDlg::placeCell(CLayoutCellDlg *cell, int x, int y, int w, int h)
{
    if (cell->parentWidget() != this) {
        cell->setParent(this, Qt::SplashScreen);
    }
    if (!cell->isVisible() && !isHidden()) {
        cell->show();
    }
    if (m_bCompact) {
        cell->setStaysOnTop(isVisible());
    }
    cell->setDraggable(false);
    cell->setCoverParent(m_pLayoutCoverDlg);
    cell->setFixedSize(w, h);
    cell->setRelativePos(x, y);
    cell->moveWithParent(m_layoutOrigin.x(), m_layoutOrigin.y());
    cell->setBorderColor(QString());
}

void CLayoutPeopleSettingDlg::placeCellAt(CLayoutCellDlg *cell, const QRect &rect)
{
    placeCell(cell, rect.x(), rect.y(), rect.width(), rect.height());
}

void CLayoutPeopleSettingDlg::drawLayout4NormalPeopleMode()
{
    KD_LOG;
    setLocalVideo2FloatingAndShow(stripParent());
    m_pFloatingCellsDlg->clearRemoteVideoCells();
    placeCellAt(m_pRemoteCell, CLayoutGeometry::placeCells(m_layoutSize, enums::LayoutMode_People).remote);
}

void CLayoutPeopleSettingDlg::drawTiledLayout(enums::LayoutModeType mode)
{
    KD_LOG << (mode == enums::LayoutMode_RemoteContentPreferred ? "drawLayout4RemotePreferredContentMode"
                                                                : "drawLayout4RemotePreferredWhiteBoardMode");
    m_pFloatingCellsDlg->clearLocalVideoCell();
    m_pFloatingCellsDlg->hide();
    m_pFloatingCellsDlg->clearRemoteVideoCells();
    const CLayoutGeometry::CellPlacement placement = CLayoutGeometry::placeCells(m_layoutSize, mode);
    if (mode == enums::LayoutMode_RemoteContentPreferred) {
        placeCellAt(ensureContentCell(), placement.content);
    } else {
        placeCellAt(m_pRemoteWhiteBoardCell, placement.whiteBoard);
        if (isVisible()) {
            if (ILayoutToolbar *toolbar = getToolbar()) {
                toolbar->closeSelectShareContentForm();
            }
            if (m_whiteBoardDlgForLayout) {
                m_whiteBoardDlgForLayout->show();
                placeWhiteBoardDlgForLayout();
            }
        }
        m_pRemoteWhiteBoardCell->setBorderColor(WHITEBOARD_CELL_COLOR);
    }
    placeCellAt(m_pLocalCell, placement.local);
    placeCellAt(m_pRemoteCell, placement.remote);
}

void CLayoutPeopleSettingDlg::drawFloatingPeopleLayout(enums::LayoutModeType mode)
{
    const CLayoutGeometry::CellPlacement placement = CLayoutGeometry::placeCells(m_layoutSize, mode);
    if (mode == enums::LayoutMode_RemoteContentOnly) {
        KD_LOG << "drawLayout4RemoteContentOnlyMode";
        setLocalVideo2FloatingAndShow(stripParent());
        placeCellAt(ensureContentCell(), placement.content);
    } else if (mode == enums::LayoutMode_RemoteWhiteBoardOnly) {
        KD_LOG << "drawLayout4RemoteWhiteBoarOnlyMode";
        setLocalVideo2FloatingAndShow(stripParent());
        placeCellAt(m_pRemoteWhiteBoardCell, placement.whiteBoard);
        if (isVisible() && m_whiteBoardDlgForLayout) {
            if (!m_whiteBoardDlgForLayout->isVisible()) {
                if (ILayoutToolbar *toolbar = getToolbar()) {
                    toolbar->closeSelectShareContentForm();
                }
                m_whiteBoardDlgForLayout->show();
            }
            placeWhiteBoardDlgForLayout();
        }
    } else {
        KD_LOG << "drawLayout4LocalContentMode";
        setLocalVideo2FloatingAndShow(nullptr);
    }
    if (!m_pRemoteCell->isVisible()) {
        m_pRemoteCell->show();
    }
    m_pRemoteCell->setBorderColor(QString());
    m_pFloatingCellsDlg->setRemoteVideoCells({m_pRemoteCell});
}

void CLayoutPeopleSettingDlg::drawLayoutAudioOnlyMode()
{
    KD_LOG;
    m_pFloatingCellsDlg->hide();
    m_pAudioWidget->show();
    m_pAudioWidget->setFixedSize(size());
    m_pAudioWidget->move(engineScreenPos());
    if (ILayoutToolbar *toolbar = getToolbar()) {
        toolbar->setShowPicButtonVisible(false);
        m_pToolbarWnd->setParent(m_pAudioWidget, LAYOUT_WINDOW);
        toolbar->setAudioOnly(true);
        m_pToolbarWnd->hide();
    }
}

void CLayoutPeopleSettingDlg::placeWhiteBoardDlgForLayout()
{
    if (!m_whiteBoardDlgForLayout) {
        return;
    }
    const CLayoutCellCoverDlg *cover = m_pRemoteWhiteBoardCell->getCover();
    m_whiteBoardDlgForLayout->setFixedSize(cover->size());
    m_whiteBoardDlgForLayout->move(cover->pos());
}

void CLayoutPeopleSettingDlg::setLocalVideo2FloatingAndShow(QWidget *pFloatingParent)
{
    if (pFloatingParent) {
        if (isHidden() && parentWidget() && parentWidget()->isVisible() && !isWindowMinimized(parentWidget())) {
            show();
        }
    } else if (isVisible()) {
        hide();
    }
    m_pFloatingCellsDlg->setLocalVideoCell(m_pLocalCell);
    if (m_pFloatingCellsDlg->parentWidget() != pFloatingParent) {
        if (pFloatingParent) {
            m_pFloatingCellsDlg->setNonTopWindow();
            m_pFloatingCellsDlg->setParent(pFloatingParent, LAYOUT_WINDOW);
            KD_LOG << "set m_pFloatingCellsDlg parent:" << pFloatingParent;
        } else {
            m_pFloatingCellsDlg->setParent(nullptr, m_pFloatingCellsDlg->windowFlags());
            m_pFloatingCellsDlg->setTopWindow();
            KD_LOG << "set m_pFloatingCellsDlg FramelessWindowHint";
        }
    }
    if (CCallController::getInstance().getCallTypes() == 2) {
        KD_LOG << "P2P and hide m_pFloatingCellsDlg";
        m_pFloatingCellsDlg->hide();
    } else if (isWindowMinimized(parentWidget())) {
        KD_LOG << "Do not show m_pFloatingCellsDlg for parent minimized";
    } else if (!m_pFloatingCellsDlg->getHideFlag()) {
        KD_LOG << "show m_pFloatingCellsDlg";
        m_pFloatingCellsDlg->show();
    } else {
        KD_LOG << "not show m_pFloatingCellsDlg for hide";
    }
    if (m_bFirstShowFloating) {
        m_bFirstShowFloating = false;
        initFloatingDlgPos();
    }
}

void CLayoutPeopleSettingDlg::initFloatingDlgPos()
{
    const QPoint global = mapToGlobal(QPoint(0, 0));
    QScreen *screen = QGuiApplication::screenAt(global + QPoint(width() / 2, height() / 2));
    const std::optional<QPoint> pos =
        CLayoutGeometry::stripStartPos(QRect(global, size()), m_pFloatingCellsDlg->size(),
                                       screen ? std::optional<QRect>(screen->geometry()) : std::nullopt);
    if (!pos) {
        KD_WARN << "pScreen is null. the pos is not valid.";
        return;
    }
    KD_LOG << "set m_pFloatingCellsDlg position:" << *pos;
    m_pFloatingCellsDlg->move(*pos);
}

void CLayoutPeopleSettingDlg::setIsLocalRemoteMuted(bool muted)
{
    KD_LOG << "m_bIsLocalRemoteMuted:" << m_bIsLocalRemoteMuted << "->" << muted;
    m_bIsLocalRemoteMuted = muted;
    if (ILayoutToolbar *toolbar = getToolbar()) {
        toolbar->setIsLocalRemoteMuted(muted);
    }
}

// ---- the call ----

void CLayoutPeopleSettingDlg::setRemoteVideoWindows()
{
    CCallController::getInstance().setRemoteVideoWindow(m_pRemoteCell->getVideoWinId());
}

CLayoutCellDlg *CLayoutPeopleSettingDlg::ensureContentCell()
{
    if (!m_pContentCell) {
        m_pContentCell = newCell(CLayoutCellCoverDlg::CellType_Content);
        m_pContentCell->setParent(this, Qt::SplashScreen);
        m_pContentCell->setCompositing(m_bCompositing);
        connectCell(m_pContentCell, true);
    }
    return m_pContentCell;
}

void CLayoutPeopleSettingDlg::setRemoteContentWindow()
{
    m_bSeperateWindow4RemoteContent = CUserConfigUtils::getInstance()->isOpenNewWinInContentStream();
    KD_LOG << "m_bSeperateWindow4RemoteContent:" << m_bSeperateWindow4RemoteContent;
    WId id = 0;
    if (m_bSeperateWindow4RemoteContent) {
        if (!m_pRemoteContentDlg) {
            m_pRemoteContentDlg = new CRemoteContentDlg(nullptr);
            if (m_pEventFilter) {
                m_pRemoteContentDlg->installEventFilter(m_pEventFilter);
            }
        }
        id = m_pRemoteContentDlg->getContentWinId();
    } else {
        id = ensureContentCell()->getVideoWinId();
    }
    CCallController::getInstance().setRemoteContentWindow(id);
}

void CLayoutPeopleSettingDlg::setLocalVideoWindow()
{
    CCallController::getInstance().setLocalVideoWindow(m_pLocalCell->getVideoWinId());
}

void CLayoutPeopleSettingDlg::applyCompositing()
{
    m_bCompositing = kd_app::CWindowShape::isCompositorRunning();
    KD_LOG << "compositing:" << m_bCompositing;
    m_pLayoutCoverDlg->setCompositing(m_bCompositing);
    m_pFloatingCellsDlg->setCompositing(m_bCompositing);
    for (CLayoutCellDlg *cell : {m_pRemoteCell, m_pLocalCell, m_pContentCell, m_pRemoteWhiteBoardCell}) {
        if (cell) {
            cell->setCompositing(m_bCompositing);
        }
    }
}

void CLayoutPeopleSettingDlg::slotOnCallStatusChanged(enums::CallStatus status)
{
    KD_LOG << "callStatus:" << status;
    CCallController &calls = CCallController::getInstance();
    if (status >= enums::Dialing && status <= enums::ConfIncoming) {
        setLocalVideoWindow();
    } else if (status == enums::Connected) {
        KD_LOG << "Call connected, isAudioOnly:" << calls.getCallInfo().isAudioOnly;
        applyCompositing();
        setUiLayoutMode();
        if (m_layoutMode != enums::LayoutMode_AudioOnly) {
            setRemoteContentWindow();
            m_pLocalCell->setSiteName(CKDSdkManager::getInstance()->getDisplayName());
            if (ILayoutToolbar *toolbar = getToolbar()) {
                // An audio-only call before left the toolbar under the audio panel.
                if (m_pToolbarWnd->parentWidget() == m_pAudioWidget) {
                    m_pToolbarWnd->setParent(m_pLayoutCoverDlg, LAYOUT_WINDOW);
                }
                toolbar->setAudioOnly(false);
                toolbar->updateMoreModeVisibility();
            }
        }
        if (parentWidget() && !isWindowMinimized(parentWidget())) {
            redrawLayout(m_layoutMode);
        }
        KD_LOG << "done";
        return;
    }

    if (m_pMediaStatisticsDlg) {
        m_pMediaStatisticsDlg->hide();
    }
    if (m_pRemoteContentDlg && m_pRemoteContentDlg->isVisible()) {
        m_pRemoteContentDlg->hide();
    }
    if (m_whiteBoardDlg) {
        hideWhiteBoardDlg();
    }
    if (m_whiteBoardDlgForLayout) {
        hideWhiteBoardDlgForLayout();
    }
    closeScreenDrawing();
    if (m_pPromptWidget) {
        m_pPromptWidget->hideIfActive();
    }

    if (status == enums::Ended) {
        KD_LOG << "Call ended and reset the value to initial status";
        m_pLocalCell->setIsMuted(false);
        m_pLocalCell->hide();
        m_pFloatingCellsDlg->hide();
        if (m_pToolbarWnd && !isToolbarBusy()) {
            m_pToolbarWnd->hide();
            m_timerHideToolbar.stop();
        }
        m_pRemoteCell->hide();
        m_pLayoutCoverDlg->hide();
        for (QWidget *widget : {static_cast<QWidget *>(m_pContentCell), static_cast<QWidget *>(m_pRemoteWhiteBoardCell),
                                static_cast<QWidget *>(m_pAudioWidget)}) {
            if (widget) {
                widget->hide();
            }
        }
        setIsLocalRemoteMuted(false);
        m_bFirstShowFloating = true;
        if (ILayoutToolbar *toolbar = getToolbar()) {
            toolbar->setShowPicButtonVisible(false);
        }
        m_pFloatingCellsDlg->clearHideFlag();
        KD_LOG << "done";
    }
}

void CLayoutPeopleSettingDlg::slotOnCallStateChanged()
{
    if (callStatus() == enums::Connected) {
        slotOnCallStatusChanged(enums::Connected);
    }
}

void CLayoutPeopleSettingDlg::slotOnContentStreamStatusChanged(structs::CContentStreamInfo info)
{
    KD_LOG << "callStatus:" << callStatus() << "content:" << info.previousStatus << "->" << info.currentStatus;
    CCallController &calls = CCallController::getInstance();
    const int current = info.currentStatus;
    const int previous = info.previousStatus;
    bool bNeedRedrawLayout = false;

    if (current == enums::ContentStreamStatus_SendingContentStarted) {
        showScreenDrawing();
        setUiLayoutMode();
        bNeedRedrawLayout = true;
    } else {
        KD_LOG << "non ContentStreamStatus_SendingContentStarted";
        closeScreenDrawing();
    }

    if ((previous == enums::ContentStreamStatus_SendingContentStarted ||
         previous == enums::ContentStreamStatus_SendingWhiteBoardStarted) &&
        current == enums::ContentStreamStatus_None && callStatus() == enums::Connected) {
        KD_LOG << "Sending content or whiteboard stopped";
        setUiLayoutMode();
        bNeedRedrawLayout = true;
    }

    if (m_bSeperateWindow4RemoteContent) {
        KD_LOG << "show content in new window";
        if (current == enums::ContentStreamStatus_ReceivingContentStarted) {
            if (!m_pRemoteContentDlg) {
                setRemoteContentWindow();
            }
            m_pRemoteContentDlg->setTitle(CCallController::withoutPassword(calls.getConfNumber()));
            m_pRemoteContentDlg->show();
        } else if (current == enums::ContentStreamStatus_ReceivingWhiteBoardStarted) {
            if (calls.getAcsJsonWebToken().isEmpty()) {
                KD_LOG << "ReceivingWhiteBoardStarted, but getAcsJsonWebToken is null";
                return;
            }
            ensureWhiteBoardDlg();
            m_whiteBoardDlg->updateWebPage();
            m_whiteBoardDlg->isSendWhiteBoard(false);
            m_whiteBoardDlg->show();
            KD_LOG << "show m_whiteBoardDlg in new window";
        } else {
            if (m_pRemoteContentDlg && m_pRemoteContentDlg->isVisible()) {
                m_pRemoteContentDlg->hide();
            }
            if (m_whiteBoardDlg) {
                hideWhiteBoardDlg();
            }
        }
    } else {
        KD_LOG << "show content in the layout";
        if (current == enums::ContentStreamStatus_ReceivingContentStarted ||
            current == enums::ContentStreamStatus_SendingContentStarted) {
            if (m_pContentCell) {
                m_pContentCell->setSiteName(info.senderName);
                if (!m_bCompact) {
                    m_pContentCell->clearStaysOnTop();
                    m_pRemoteCell->clearStaysOnTop();
                } else {
                    m_pContentCell->setStaysOnTop(isVisible());
                }
            }
            setUiLayoutMode();
        } else if (current == enums::ContentStreamStatus_ReceivingWhiteBoardStarted ||
                   current == enums::ContentStreamStatus_SendingWhiteBoardStarted) {
            setUiLayoutMode();
        } else if (previous >= enums::ContentStreamStatus_ReceivingContentStarted &&
                   previous <= enums::ContentStreamStatus_SendingWhiteBoardStarted) {
            setUiLayoutMode();
        }
        if (current != enums::ContentStreamStatus_ReceivingContentStarted && m_pContentCell &&
            m_pContentCell->isVisible()) {
            if (m_bCompact) {
                m_pContentCell->clearStaysOnTop();
                drawLayout4NormalPeopleMode();
                m_pRemoteCell->setStaysOnTop(isVisible());
            }
            m_pContentCell->hide();
        }
        KD_LOG << "contentStreamInfo.getCurrentStatus():" << current
               << "m_pRemoteWhiteBoardCell->isVisible():" << m_pRemoteWhiteBoardCell->isVisible();
        if (current != enums::ContentStreamStatus_ReceivingWhiteBoardStarted) {
            if (m_pRemoteWhiteBoardCell->isVisible()) {
                m_pRemoteWhiteBoardCell->hide();
            }
            hideWhiteBoardDlgForLayout();
        }
        bNeedRedrawLayout = true;
    }

    if (current == enums::ContentStreamStatus_SendingWhiteBoardStarted) {
        startWhiteBoardSending();
        setUiLayoutMode();
        bNeedRedrawLayout = true;
    } else {
        if (current != enums::ContentStreamStatus_ReceivingWhiteBoardStarted && m_whiteBoardDlg) {
            if (WhiteBoardTopWidget *top = m_whiteBoardDlg->getTopWidget()) {
                disconnect(m_pFloatingCellsDlg, &CLayoutFloatingCellsDlg::signal_FloatingCellsDlg_Hide, top,
                           &WhiteBoardTopWidget::slotHidePicture);
            }
            hideWhiteBoardDlg();
        }
        if (m_pScreenThread) {
            m_pScreenThread->stop();
        }
    }

    KD_LOG << "bNeedRedrawLayout:" << bNeedRedrawLayout;
    if (bNeedRedrawLayout && callStatus() == enums::Connected) {
        redrawLayout(m_layoutMode);
    }
}

void CLayoutPeopleSettingDlg::ensureWhiteBoardDlg()
{
    if (m_whiteBoardDlg) {
        return;
    }
    m_whiteBoardDlg = new WhiteBoardDlg(nullptr);
    connect(m_whiteBoardDlg, &WhiteBoardDlg::sigHiddenWhiteBoard, this,
            &CLayoutPeopleSettingDlg::slotOnHiddenWhiteBoard);
    connect(m_whiteBoardDlg, &WhiteBoardDlg::sigRefreshStatus, this,
            &CLayoutPeopleSettingDlg::slotOnJudgeMicAndCameraStatus);
    connect(m_whiteBoardDlg, &WhiteBoardDlg::sigClickManagerButton, this,
            &CLayoutPeopleSettingDlg::slotOnOpenManagerWindow);
    if (m_pEventFilter) {
        m_whiteBoardDlg->installEventFilter(m_pEventFilter);
    }
    m_pWhiteBoardStacking = std::make_unique<CStackingWatcher>(m_whiteBoardDlg);
    connect(m_pWhiteBoardStacking.get(), &CStackingWatcher::sigRestacked, this,
            &CLayoutPeopleSettingDlg::onWhiteBoardRestacked);
}

void CLayoutPeopleSettingDlg::startWhiteBoardSending()
{
    ensureWhiteBoardDlg();
    m_whiteBoardDlg->updateWebPage();
    m_whiteBoardDlg->isSendWhiteBoard(true);
    m_whiteBoardDlg->show();
    if (!m_pScreenThread) {
        KD_LOG << "new ScreenThread";
        m_pScreenThread = new models::ScreenThread(nullptr);
    }
    m_pScreenThread->setWhiteBoardAndWinId(true, unsigned(m_whiteBoardDlg->winId()));
    m_pScreenThread->start(QThread::InheritPriority);
    if (WhiteBoardTopWidget *top = m_whiteBoardDlg->getTopWidget()) {
        top->updateShowPicture(m_pFloatingCellsDlg->getHideFlag());
        connect(top, &WhiteBoardTopWidget::sigOnShowPicture, m_pFloatingCellsDlg,
                &CLayoutFloatingCellsDlg::slot_FloatingCellsDlg_Show, Qt::UniqueConnection);
        connect(top, &WhiteBoardTopWidget::sigSettingWinClosed, this, &CLayoutPeopleSettingDlg::slogOnSettingWinClosed,
                Qt::UniqueConnection);
        connect(m_pFloatingCellsDlg, &CLayoutFloatingCellsDlg::signal_FloatingCellsDlg_Hide, top,
                &WhiteBoardTopWidget::slotHidePicture, Qt::UniqueConnection);
    }
}

void CLayoutPeopleSettingDlg::showScreenDrawing()
{
    if (!m_bgWidget) {
        KD_LOG << "m_pScreenDrawing is new m_bgWidget";
        m_bgWidget = new CbackgroundWidget(nullptr);
        connect(m_bgWidget, &CbackgroundWidget::sigClickManagerButton, this,
                &CLayoutPeopleSettingDlg::slotOnOpenManagerWindow);
        connect(m_bgWidget, &CbackgroundWidget::sigRefreshStatus, this,
                &CLayoutPeopleSettingDlg::slotOnJudgeMicAndCameraStatus);
        connect(m_bgWidget, &CbackgroundWidget::sigSettingWinClosed, this,
                &CLayoutPeopleSettingDlg::slogOnSettingWinClosed);
        connect(m_bgWidget, &CbackgroundWidget::sigOnShowPicture, m_pFloatingCellsDlg,
                &CLayoutFloatingCellsDlg::slot_FloatingCellsDlg_Show);
        connect(m_pFloatingCellsDlg, &CLayoutFloatingCellsDlg::signal_FloatingCellsDlg_Hide, m_bgWidget,
                &CbackgroundWidget::slotHidePicture);
    }
    m_bgWidget->setShowPicBtnVisible(m_pFloatingCellsDlg->getHideFlag());
    if (!m_wbWidget) {
        KD_LOG << "m_wbWidget is new";
        m_wbWidget = new WhiteBoard(nullptr);
    }
    const QList<QScreen *> screens = QGuiApplication::screens();
    if (m_nSharedScreenIndex >= 0 && m_nSharedScreenIndex < screens.size()) {
        const QRect geometry = screens.at(m_nSharedScreenIndex)->geometry();
        for (QWidget *widget : {static_cast<QWidget *>(m_wbWidget.data()), static_cast<QWidget *>(m_bgWidget.data())}) {
            widget->setFixedSize(geometry.size());
            widget->move(geometry.topLeft());
        }
    }
    m_wbWidget->showMaximized();
    m_bgWidget->showMaximized();
    m_bgWidget->setParticipantNumber();
    connect(m_bgWidget, &CbackgroundWidget::sigClose, this, &CLayoutPeopleSettingDlg::slotOnScreenDrawingClosed,
            Qt::UniqueConnection);
    connect(m_bgWidget, &CbackgroundWidget::changeBgColor, this, &CLayoutPeopleSettingDlg::slotOnScreenBgChange,
            Qt::UniqueConnection);
    connect(m_bgWidget, &CbackgroundWidget::stopDraw, this, &CLayoutPeopleSettingDlg::slotOnscreenStopDraw,
            Qt::UniqueConnection);
}

void CLayoutPeopleSettingDlg::closeScreenDrawing()
{
    if (!m_bgWidget) {
        return;
    }
    if (m_pPromptWidget && m_pPromptWidget->parentWidget() == m_bgWidget) {
        m_pPromptWidget->hide();
        m_pPromptWidget->setParent(nullptr);
    }
    KD_LOG << "m_pScreenDrawing is not null";
    disconnect(m_bgWidget, &CbackgroundWidget::sigClose, this, &CLayoutPeopleSettingDlg::slotOnScreenDrawingClosed);
    disconnect(m_bgWidget, &CbackgroundWidget::changeBgColor, this, &CLayoutPeopleSettingDlg::slotOnScreenBgChange);
    disconnect(m_bgWidget, &CbackgroundWidget::stopDraw, this, &CLayoutPeopleSettingDlg::slotOnscreenStopDraw);
    bool stopped = false;
    if (contentStreamStatus() == enums::ContentStreamStatus_SendingContentStarted) {
        KD_LOG << "stopContent for SendingContentStarted, call status:" << callStatus();
        if (callStatus() == enums::Connected) {
            CKDSdkManager::getInstance()->stopContent();
            CKDSdkManager::getInstance()->setLocalContentWindow(0, 0);
            stopped = true;
        }
    }
    QWidget *active = CMainDlgManager::getInstance()->getActiveMainDlg();
    if (active && active->isVisible()) {
        KD_LOG << "activeMainDlg is visible and hide screen drawing";
        m_bgWidget->hide();
    }
    m_bgWidget->deleteLater();
    m_bgWidget = nullptr;
    if (m_wbWidget) {
        m_wbWidget->deleteLater();
        m_wbWidget = nullptr;
    }
    if (stopped) {
        CCallController::getInstance().setContentStreamStatus(enums::ContentStreamStatus_None, std::string(), 0);
    }
    if (ILayoutToolbar *toolbar = getToolbar()) {
        toolbar->setShowPicButtonVisible(m_pFloatingCellsDlg->getHideFlag());
    }
}

void CLayoutPeopleSettingDlg::slotOnHiddenWhiteBoard()
{
    CKDSdkManager::getInstance()->stopContent();
    CKDSdkManager::getInstance()->setLocalContentWindow(0, 0);
    if (m_whiteBoardDlg) {
        hideWhiteBoardDlg();
    }
    CCallController::getInstance().setContentStreamStatus(enums::ContentStreamStatus_None, std::string(), 0);
}

void CLayoutPeopleSettingDlg::hideWhiteBoardDlg()
{
    if (!m_whiteBoardDlg) {
        KD_LOG << "m_whiteBoardDlg is null";
        return;
    }
    if (m_pPromptWidget && m_pPromptWidget->parentWidget() == m_whiteBoardDlg) {
        KD_LOG << "release m_pPromptWidget parent from m_whiteBoardDlg";
        m_pPromptWidget->hide();
        m_pPromptWidget->setParent(nullptr);
    }
    m_whiteBoardDlg->hide();
    KD_LOG << "done";
}

void CLayoutPeopleSettingDlg::hideWhiteBoardDlgForLayout()
{
    if (!m_whiteBoardDlgForLayout) {
        KD_LOG << "m_whiteBoardDlgForLayout is null";
        return;
    }
    if (m_pToolbarWnd && m_pToolbarWnd->parentWidget() == m_whiteBoardDlgForLayout) {
        KD_LOG << "release m_pToolbarDlg parent from m_whiteBoardDlgForLayout";
        m_pToolbarWnd->hide();
        m_pToolbarWnd->setParent(m_pLayoutCoverDlg, LAYOUT_WINDOW);
    }
    m_whiteBoardDlgForLayout->hide();
    m_whiteBoardDlgForLayout->releaseWebPage();
    KD_LOG << "done";
}

void CLayoutPeopleSettingDlg::slotOnScreenDrawingClosed()
{
    closeScreenDrawing();
}

void CLayoutPeopleSettingDlg::slotOnScreenBgChange()
{
    if (m_wbWidget && m_bgWidget) {
        m_wbWidget->setBackgroundColor(m_bgWidget->getBgColor());
    }
}

void CLayoutPeopleSettingDlg::slotOnscreenStopDraw()
{
    if (m_wbWidget) {
        m_wbWidget->clearBackground();
    }
}

void CLayoutPeopleSettingDlg::slotOnIsLocalMicEnabled(bool isLocalMicEnabled)
{
    m_pLocalCell->setIsMuted(!isLocalMicEnabled);
    m_pAudioWidget->setMicMuted(isLocalMicEnabled);
}

void CLayoutPeopleSettingDlg::slogOnSettingWinClosed()
{
    activateWindow();
    if (callStatus() == enums::Connected) {
        setLocalVideoWindow();
    } else {
        KD_LOG << "Invalid call status:" << callStatus();
    }
}

void CLayoutPeopleSettingDlg::slotOnJudgeMicAndCameraStatus()
{
    if (ILayoutToolbar *toolbar = getToolbar()) {
        toolbar->initBtnStatus();
    }
}

void CLayoutPeopleSettingDlg::slotOnOpenManagerWindow()
{
    if (ILayoutToolbar *toolbar = getToolbar()) {
        toolbar->openManagerWindow();
    }
}

void CLayoutPeopleSettingDlg::slotOnHangUp()
{
    CCallController::getInstance().hangUp();
}

void CLayoutPeopleSettingDlg::showMediaStatisticsDlg()
{
    if (m_bCompact) {
        return;
    }
    if (!m_pMediaStatisticsDlg) {
        m_pMediaStatisticsDlg = new CMediaStatisticsDlg(nullptr);
        m_pMediaStatisticsDlg->setParent(stripParent(), LAYOUT_WINDOW);
        connect(m_pMediaStatisticsDlg, &CMediaStatisticsDlg::sigClose, this,
                &CLayoutPeopleSettingDlg::slotOnMediaStatisticsDlgClosed);
    }
    m_pMediaStatisticsDlg->show();
    m_pMediaStatisticsDlg->centerWindowOnScreen();
}

void CLayoutPeopleSettingDlg::slotOnMediaStatisticsDlgClosed()
{
    // The dialog hides itself; the next request makes a fresh one.
    if (m_pMediaStatisticsDlg) {
        m_pMediaStatisticsDlg->deleteLater();
        m_pMediaStatisticsDlg = nullptr;
    }
}

// ---- the window's own events ----

bool CLayoutPeopleSettingDlg::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_pLayoutCoverDlg && event->type() == QEvent::MouseButtonDblClick && !m_bCompact) {
        emit sigSwitchFullScreen();
    }
    return CBaseDlg::eventFilter(watched, event);
}

void CLayoutPeopleSettingDlg::resizeEvent(QResizeEvent *event)
{
    CBaseDlg::resizeEvent(event);
    onSizeChanged();
}

void CLayoutPeopleSettingDlg::showEvent(QShowEvent *event)
{
    CBaseDlg::showEvent(event);
    if (callStatus() == enums::Connected && !isSendingMode(m_layoutMode)) {
        redrawLayout(m_layoutMode);
    }
}

void CLayoutPeopleSettingDlg::hideEvent(QHideEvent *event)
{
    KD_LOG << "isVisible:" << isVisible();
    CBaseDlg::hideEvent(event);
    if (m_pToolbarWnd) {
        m_pToolbarWnd->hide();
    }
    if (m_pRemoteCell->parentWidget() == this) {
        m_pRemoteCell->hide();
    }
    m_pLayoutCoverDlg->hide();
    if (m_pPromptWidget) {
        m_pPromptWidget->hideIfActive();
    }
    if (callStatus() != enums::Connected) {
        KD_LOG << "not connected, m_pFloatingCellsDlg->isVisible:" << m_pFloatingCellsDlg->isVisible();
        if (m_pFloatingCellsDlg->isVisible()) {
            m_pFloatingCellsDlg->hide();
        }
    }
}

// Without a compositor the overlay is cut away: the pointer over the
// letterbox reaches the engine, which hands it on so the overlay's handlers
// run as if it had been hit.
void CLayoutPeopleSettingDlg::mouseMoveEvent(QMouseEvent *event)
{
    if (m_bCompositing || !CCoverInputForwarder::forwardMouse(event, m_pLayoutCoverDlg)) {
        CBaseDlg::mouseMoveEvent(event);
    }
}

void CLayoutPeopleSettingDlg::mousePressEvent(QMouseEvent *event)
{
    if (m_bCompositing || !CCoverInputForwarder::forwardMouse(event, m_pLayoutCoverDlg)) {
        CBaseDlg::mousePressEvent(event);
    }
}

void CLayoutPeopleSettingDlg::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_bCompositing || !CCoverInputForwarder::forwardMouse(event, m_pLayoutCoverDlg)) {
        CBaseDlg::mouseReleaseEvent(event);
    }
}

void CLayoutPeopleSettingDlg::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (m_bCompositing || !CCoverInputForwarder::forwardMouse(event, m_pLayoutCoverDlg)) {
        CBaseDlg::mouseDoubleClickEvent(event);
    }
}

void CLayoutPeopleSettingDlg::onDpiChanged()
{
    setStyleSheetByScale(QStringLiteral(":/resources/qss/layout-people-setting-dlg"));
}

// ---- gestures, compact mode and prompts ----

void CLayoutPeopleSettingDlg::showToolbar()
{
    if (m_bCompact || !m_pToolbarWnd) {
        return;
    }
    if (!m_pToolbarWnd->isVisible()) {
        m_pToolbarWnd->show();
        const QRect rect = CLayoutGeometry::toolbarRect(m_parentPos, geometry(), m_pToolbarWnd->height());
        m_pToolbarWnd->setFixedWidth(rect.width());
        m_pToolbarWnd->move(rect.topLeft());
        // With the windows it owns: in full screen the frame's title bar
        // shows with it, and must lie over the video as the toolbar does.
        CLayoutStacking::raiseTree(m_pToolbarWnd);
    }
    keepStripClearOfToolbar();
    m_timerHideToolbar.start();
}

void CLayoutPeopleSettingDlg::slotOnTimerHideToolbar()
{
    // A pointer resting on the bar is about to click it: hidden now, the
    // click would land on the video's cover and only bring the bar back.
    if (isPointerOverToolbar()) {
        return;
    }
    stopToolbarUnlessPopup();
}

// The strip floats over the video, never over the bar's buttons.
void CLayoutPeopleSettingDlg::keepStripClearOfToolbar()
{
    if (!m_pToolbarWnd || !m_pToolbarWnd->isVisible() || !m_pFloatingCellsDlg->isVisible()) {
        return;
    }
    const QRect strip = m_pFloatingCellsDlg->frameGeometry();
    const QPoint clear = CLayoutGeometry::stripClearOfBand(strip, m_pToolbarWnd->frameGeometry());
    if (clear != strip.topLeft()) {
        m_pFloatingCellsDlg->move(clear);
    }
}

bool CLayoutPeopleSettingDlg::isPointerOverToolbar() const
{
    if (!m_pToolbarWnd || !m_pToolbarWnd->isVisible()) {
        return false;
    }
    const QPoint pointer = QCursor::pos();
    if (m_pToolbarWnd->frameGeometry().contains(pointer)) {
        return true;
    }
    // Its popups are windows of their own, owned by it.
    const QList<QWidget *> owned = m_pToolbarWnd->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly);
    return std::any_of(owned.begin(), owned.end(), [&pointer](const QWidget *window) {
        return window->isWindow() && window->isVisible() && window->frameGeometry().contains(pointer);
    });
}

void CLayoutPeopleSettingDlg::setToolbarHideInterval(int milliseconds)
{
    m_timerHideToolbar.setInterval(milliseconds);
}

void CLayoutPeopleSettingDlg::slotOnCellCoverMouseMove(QMouseEvent *event)
{
    if (isSendingMode(m_layoutMode) || !event) {
        return;
    }
    // The user is still at work over the call: the bar waits its whole time again.
    if (m_pToolbarWnd && m_pToolbarWnd->isVisible() && m_timerHideToolbar.isActive()) {
        m_timerHideToolbar.start();
    }
    if (m_gesture.onMove(event->globalPos(), QDateTime::currentMSecsSinceEpoch())) {
        showToolbar();
    }
}

void CLayoutPeopleSettingDlg::slotOnCellCoverMousePress(QMouseEvent *)
{
    if (isSendingMode(m_layoutMode) || !m_pToolbarWnd) {
        return;
    }
    if (m_pToolbarWnd->isVisible()) {
        stopToolbarUnlessPopup();
        if (m_pToolbarWnd->isVisible()) {
            m_pToolbarWnd->activateWindow();
        }
    } else {
        showToolbar();
    }
}

void CLayoutPeopleSettingDlg::slotOnCellMouseDoubleClick(QWidget *sender, QMouseEvent *)
{
    KD_LOG << sender;
    auto *cell = qobject_cast<CLayoutCellDlg *>(sender);
    if (m_bCompact || (cell && m_pFloatingCellsDlg->containsCell(cell))) {
        return;
    }
    if (cell && cell == m_pContentCell && m_layoutMode == enums::LayoutMode_RemoteContentPreferred) {
        m_layoutMode = enums::LayoutMode_RemoteContentOnly;
        if (ILayoutToolbar *toolbar = getToolbar()) {
            toolbar->setLayoutMode(m_layoutMode);
        }
    }
    emit sigSwitchFullScreen();
}

void CLayoutPeopleSettingDlg::slotOnMouseMove4WhiteBoardDlgForLayoutPaintList()
{
    if (contentStreamStatus() == enums::ContentStreamStatus_ReceivingWhiteBoardStarted) {
        showToolbar();
    }
}

void CLayoutPeopleSettingDlg::setCompactMode(bool flag)
{
    KD_LOG << "compact:" << flag;
    if (flag) {
        if (!m_bCompact) {
            m_bStripHiddenBeforeCompact = m_pFloatingCellsDlg->getHideFlag();
        }
        m_bCompact = true;
        if (m_pPromptWidget) {
            m_pPromptWidget->hideIfActive();
        }
        if (ILayoutToolbar *toolbar = getToolbar()) {
            toolbar->closeWindows();
            m_pToolbarWnd->hide();
        }
        m_pFloatingCellsDlg->setHide();
        if (contentStreamStatus() == enums::ContentStreamStatus_ReceivingContentStarted &&
            !m_bSeperateWindow4RemoteContent) {
            if (ILayoutToolbar *toolbar = getToolbar()) {
                toolbar->setLayoutMode(enums::LayoutMode_RemoteContentOnly);
            }
            redrawLayout(enums::LayoutMode_RemoteContentOnly);
            slotOnChangeLayoutMode(enums::LayoutMode_RemoteContentOnly);
            ensureContentCell()->setStaysOnTop(isVisible());
        } else {
            m_pRemoteCell->setStaysOnTop(isVisible());
        }
    } else {
        // Compact mode hid the strip, not the user: it comes back as it was.
        const bool stripBack = m_bCompact && !m_bStripHiddenBeforeCompact && m_pFloatingCellsDlg->getHideFlag();
        m_bCompact = false;
        slotOnChangeLayoutMode(m_layoutMode);
        m_pRemoteCell->clearStaysOnTop();
        if (m_pContentCell) {
            m_pContentCell->clearStaysOnTop();
        }
        if (stripBack) {
            m_pFloatingCellsDlg->clearHideFlag();
            if (ILayoutToolbar *toolbar = getToolbar()) {
                toolbar->setShowPicButtonVisible(false);
            }
            // Once the frame has left compact mode too: its new window
            // flags hide the windows it owns.
            QMetaObject::invokeMethod(
                this,
                [this] {
                    if (!m_bCompact && callStatus() == enums::Connected &&
                        m_layoutMode != enums::LayoutMode_AudioOnly) {
                        redrawLayout(m_layoutMode);
                    }
                },
                Qt::QueuedConnection);
        }
    }
}

QWidget *CLayoutPeopleSettingDlg::sendingWindowOfMode() const
{
    if (m_layoutMode == enums::LayoutMode_LocalContent) {
        return m_bgWidget;
    }
    if (m_layoutMode == enums::LayoutMode_LocalWhiteBoard) {
        return m_whiteBoardDlg;
    }
    return nullptr;
}

bool CLayoutPeopleSettingDlg::createPromptWidget(const QString &text, int durationMs)
{
    KD_LOG << "prompt:" << text;
    QWidget *parent = sendingWindowOfMode();
    if (m_bCompact) {
        KD_LOG << "Do not prompt for compact mode";
        return false;
    }
    const bool promptFlag = !getToolbar() || getToolbar()->getShowPromptFlag();
    if (promptFlag && isVisible()) {
        if (!parent) {
            parent = m_pLayoutCoverDlg;
        }
    } else if (!parent) {
        KD_LOG << "Do not prompt for getShowPromptFlag:" << promptFlag;
        return false;
    }
    if (!m_pPromptWidget) {
        m_pPromptWidget = new CPromptWidget(parent);
        m_pPromptWidget->setParent(parent, LAYOUT_WINDOW);
        if (m_pEventFilter) {
            m_pPromptWidget->installEventFilter(m_pEventFilter);
        }
    } else if (m_pPromptWidget->parentWidget() != parent) {
        m_pPromptWidget->setParent(parent, LAYOUT_WINDOW);
    }
    m_pPromptWidget->showPrompt(text, durationMs);
    return true;
}

void CLayoutPeopleSettingDlg::slotOnContent(kd::engine::KDContentInfo info)
{
    KD_LOG << "content status:" << info.status;
    if (info.status == 3) {
        createPromptWidget(tr("The request for sending conent is denied due to lack of permission."), 5000);
    }
}

void CLayoutPeopleSettingDlg::slotOnMicMutedShow(bool mic_muted)
{
    if (mic_muted) {
        if (ILayoutToolbar *toolbar = getToolbar()) {
            toolbar->checkMicStatus();
        }
        createPromptWidget(tr("You have been muted by meeting host."), 7000);
        return;
    }
    const bool micEnabled = CCallController::isMicEnabled();
    KD_LOG << "Received remote mic unmuted, local micEnabled:" << micEnabled;
    if (micEnabled) {
        createPromptWidget(tr("You are unmuted, other participants can hear you now."), 5000);
    }
}

void CLayoutPeopleSettingDlg::slotOnMuteSpeakingDetected()
{
    if (CUserConfigUtils::getInstance()->isDisablePrompt()) {
        KD_LOG << "Received EventMuteSpeakingDetected, but prompt disabled.";
        return;
    }
    createPromptWidget(tr("Microphone Muted"), 3000);
}

void CLayoutPeopleSettingDlg::slotOnRequestSpeak()
{
    createPromptWidget(tr("Speech request has been sent"), 3000);
}

void CLayoutPeopleSettingDlg::slotOnVideoMutedShow(int video_muted)
{
    if (callStatus() != enums::Connected) {
        KD_LOG << "not connected, do not show video muted prompt";
        return;
    }
    createPromptWidget(video_muted != 0 ? tr("Video is stopped.") : tr("Video is enabled."), 4000);
}

void CLayoutPeopleSettingDlg::slotOnCurrentDeviceChanged(kd::engine::KDDevice device)
{
    // An id of all ones names no device.
    const bool none = device.id == 0xFFFFFFFFu;
    QString name = QString::fromStdString(device.name);
    if ((device.type == 0 && name == QLatin1String("System Default Microphone")) ||
        (device.type == 1 && name == QLatin1String("System Default Speaker"))) {
        name = QString::fromStdString(device.desc);
    }
    QString text;
    switch (device.type) {
    case 0:
        text = none ? tr("No microphone device available.") : tr("Current microphone: %1").arg(name, 0, QChar(' '));
        break;
    case 1:
        text = none ? tr("No speaker device available.") : tr("Current speaker: %1").arg(name, 0, QChar(' '));
        break;
    case 2:
        text = none ? tr("No camera device available.") : tr("Current camera: %1").arg(name, 0, QChar(' '));
        break;
    default:
        return;
    }
    createPromptWidget(text, 4000);
}

void CLayoutPeopleSettingDlg::slotOnWarn(kd::engine::KDWarn warn)
{
    KD_LOG << "slotOnWarn, code:" << warn.code << QString::fromStdString(warn.msg);
    const bool promptsDisabled = CUserConfigUtils::getInstance()->isDisablePrompt();
    switch (warn.code) {
    case 0:
        if (!promptsDisabled) {
            createPromptWidget(tr("Network is not stable now, it may impact your conferencing experience."), 10000);
        }
        break;
    case 1:
        if (!promptsDisabled) {
            createPromptWidget(tr("Network is in very poor status, recommend checking network or switching to "
                                  "better network."),
                               10000);
        }
        break;
    case 2:
        if (!promptsDisabled) {
            createPromptWidget(tr("Network bandwidth is insufficient, it may impact your conferencing experience."),
                               10000);
        }
        break;
    case 3:
        if (!promptsDisabled) {
            createPromptWidget(tr("Network bandwidth is in serious shortage, recommend checking network bandwidth or "
                                  "switching to better network."),
                               10000);
        }
        break;
    case 4:
        showNoMicAlert();
        break;
    case 5:
        createPromptWidget(tr("Not allowed to unmute."), 10000);
        break;
    case 6:
        askUnmute();
        break;
    default:
        break;
    }
}

void CLayoutPeopleSettingDlg::showNoMicAlert()
{
    const int status = callStatus();
    if (status != enums::Connected && status != enums::Reserved2) {
        KD_LOG << "Do not show no mic window for call status is not connected.";
        return;
    }
    if (m_bAlertOpen) {
        return;
    }
    ILayoutToolbar *toolbar = getToolbar();
    if (toolbar && !toolbar->isMicButtonChecked()) {
        KD_LOG << "Do not show no mic window for status is mute.";
        return;
    }
    QWidget *parent = m_pLayoutCoverDlg;
    if (m_layoutMode == enums::LayoutMode_LocalContent && m_bgWidget) {
        m_bgWidget->muteAudio();
        parent = m_bgWidget;
    } else if (toolbar) {
        toolbar->muteAudio();
    }
    m_bAlertOpen = true;
    AlertDlg::information(parent, tr("Prompt"),
                          tr("There is no microphone found and other can not listen to you. Please check "
                             "microphone device."));
    m_bAlertOpen = false;
}

void CLayoutPeopleSettingDlg::askUnmute()
{
    if (m_bAlertOpen) {
        return;
    }
    qApp->setQuitOnLastWindowClosed(false);
    QWidget *parent = sendingWindowOfMode();
    if (!parent) {
        parent = m_pLayoutCoverDlg;
    }
    m_bAlertOpen = true;
    const int answer = AlertDlg::question(parent, tr("Prompt"), tr("Meeting manager is unmuting you, do you agree?"),
                                          QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    m_bAlertOpen = false;
    if (answer != QMessageBox::Yes) {
        return;
    }
    if (m_layoutMode == enums::LayoutMode_LocalContent && m_bgWidget) {
        m_bgWidget->unmuteAudio();
    } else if (ILayoutToolbar *toolbar = getToolbar()) {
        toolbar->UnmuteAudio();
    }
}

} // namespace views
} // namespace kd_app
