#include "whiteboarddlg.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QPixmap>
#include <QPointer>
#include <QScreen>
#include <QSignalBlocker>

#include "helpers/cgeneralutils.h"
#include "helpers/clogformat.h"
#include "helpers/cuserconfigutils.h"
#include "ui_whiteboarddlg.h"
#include "views/annotation/colorwidget.h"
#include "views/annotation/paintlistwidget.h"
#include "views/base/cwindowflags.h"
#include "views/sharing/cbackgroundwidget.h"
#include "views/sharing/csnapshotsaver.h"
#include "views/whiteboard/cwhiteboardbackgroundupload.h"
#include "views/whiteboard/whiteboardselectbgwidget.h"
#include "views/whiteboard/whiteboardtopwidget.h"
#include "views/whiteboard/whiteboardwebwidget.h"

namespace kd_app {
namespace views {

namespace {

const char kStyleSheet[] = ":/resources/qss/white-board-dlg.qss";

constexpr int kTitleBarHeight = 28;
constexpr int kWidth = 1280;
constexpr int kHeight = 748;
// The tool menu's distance below the toolbar or the title bar.
constexpr int kMenuGap = 10;
constexpr int kMenuGapUnderTitle = 7;

// Floats above the whiteboard window as a window of its own. A splash
// screen alone, unlike the sharing overlay's pop-ups: the flags a pop-up
// gave itself go with the reparenting.
void floatAbove(QWidget *popup, QWidget *window)
{
    popup->setParent(window, Qt::SplashScreen);
}

// The page's line width (1 to 4) for a picker size, 0 for a size of
// neither table.
int lineWidthFor(quint16 size, bool marker)
{
    const auto &sizes = marker ? MARKER_SIZES : PEN_SIZES;
    for (size_t i = 0; i < sizes.size(); ++i) {
        if (sizes[i] == size) {
            return int(i) + 1;
        }
    }
    return 0;
}

} // namespace

WhiteBoardDlg::WhiteBoardDlg(QWidget *parent) : CBaseDlg(parent), ui(std::make_unique<Ui::WhiteBoardDlg>())
{
    ui->setupUi(this);
    m_nTitleHeight = ui->m_pWgtTitleBar->height();
    setWindowTitle(tr("PRODUCT_NAME"));
    m_bCenterOnFirstShow = false;
    helpers::CGeneralUtils::setStyle(this, QString::fromLatin1(kStyleSheet));

    m_pWebWidget = new WhiteBoardWebWidget(nullptr);
    ui->m_pLayoutContext->addWidget(m_pWebWidget);
    m_pPaintListWidget = new PaintListWidget(nullptr);
    m_pColorWidget = new ColorWidget(nullptr);
    m_pSelectBgWidget = new WhiteBoardSelectBgWidget(nullptr);
    for (QWidget *popup : {static_cast<QWidget *>(m_pPaintListWidget), static_cast<QWidget *>(m_pColorWidget),
                           static_cast<QWidget *>(m_pSelectBgWidget)}) {
        // The window keeps them for its whole life: a close only hides them.
        popup->setAttribute(Qt::WA_DeleteOnClose, false);
        floatAbove(popup, this);
    }
    m_pColorWidget->hide();
    m_pSelectBgWidget->hide();
    m_pUpload = new CWhiteBoardBackgroundUpload(this);

    connect(ui->m_pBtnMin, &QPushButton::clicked, this, &WhiteBoardDlg::slotOnWinMin);
    connect(ui->m_pBtnMax, &QPushButton::clicked, this, &WhiteBoardDlg::slotOnWinMax);
    connect(ui->m_pBtnRestore, &QPushButton::clicked, this, &WhiteBoardDlg::slotOnWinRestore);
    connect(m_pPaintListWidget, &PaintListWidget::penClicked, this, &WhiteBoardDlg::onBtnPenClicked);
    connect(m_pPaintListWidget, &PaintListWidget::nitePenClicked, this, &WhiteBoardDlg::onBtnNitePenClicked);
    connect(m_pPaintListWidget, &PaintListWidget::eraserClicked, this, &WhiteBoardDlg::onBtnEraserClicked);
    connect(m_pPaintListWidget, &PaintListWidget::revokeClicked, this, &WhiteBoardDlg::onBtnRevokeClicked);
    connect(m_pPaintListWidget, &PaintListWidget::bgClicked, this, &WhiteBoardDlg::onBtnBgClicked);
    connect(m_pPaintListWidget, &PaintListWidget::clearClicked, this, &WhiteBoardDlg::onBtnClearClicked);
    connect(m_pPaintListWidget, &PaintListWidget::exitClicked, this, &WhiteBoardDlg::onBtnExitClicked);
    connect(m_pPaintListWidget, &PaintListWidget::selectPenClicked, this, &WhiteBoardDlg::onBtnSelectPenClicked);
    connect(m_pPaintListWidget, &PaintListWidget::selectNitePenClicked, this,
            &WhiteBoardDlg::onBtnSelectNitePenClicked);
    connect(m_pPaintListWidget, &PaintListWidget::sigSaveClicked, this, &WhiteBoardDlg::slotBtnSaveClicked);
    connect(m_pPaintListWidget, &PaintListWidget::sigMouseMove, this, &WhiteBoardDlg::slotOnMouseMove4PaintList);
    connect(m_pColorWidget, &ColorWidget::changeColor, this, &WhiteBoardDlg::changePenColor);
    connect(m_pColorWidget, &ColorWidget::changeSize, this, &WhiteBoardDlg::changePenLineSize);
    connect(m_pSelectBgWidget, &WhiteBoardSelectBgWidget::sigClickedBlackBtn, this, &WhiteBoardDlg::slotClickedBlack);
    connect(m_pSelectBgWidget, &WhiteBoardSelectBgWidget::sigClickedWhiteBtn, this, &WhiteBoardDlg::slotClickedWhite);
    connect(m_pSelectBgWidget, &WhiteBoardSelectBgWidget::sigClickedSelectBtn, this, &WhiteBoardDlg::slotClickedSelect);
    connect(m_pUpload, &CWhiteBoardBackgroundUpload::sigBackgroundUploaded, m_pWebWidget,
            &WhiteBoardWebWidget::didChangeBackGround);
    // As over shared content: drawing on the board closes the pickers.
    connect(m_pWebWidget, &WhiteBoardWebWidget::sigPagePressed, this, &WhiteBoardDlg::hidePickers);
}

WhiteBoardDlg::~WhiteBoardDlg()
{
    KD_LOG;
    // The floating windows go first, each without its signals, so that none
    // reaches a window half taken down.
    m_pWebWidget->setParent(nullptr);
    delete m_pWebWidget;
    for (QWidget *popup : {static_cast<QWidget *>(m_pSelectBgWidget), static_cast<QWidget *>(m_pPaintListWidget),
                           static_cast<QWidget *>(m_pColorWidget)}) {
        disconnect(popup, nullptr, this, nullptr);
        popup->setParent(nullptr);
        delete popup;
    }
    if (m_pTopWidget) {
        disconnect(m_pTopWidget, nullptr, this, nullptr);
        delete m_pTopWidget;
    }
    delete m_pUpload;
}

// ---- role and page --------------------------------------------------------

void WhiteBoardDlg::isSendWhiteBoard(bool send)
{
    KD_LOG << "send:" << send;
    m_bIsSender = send;
    m_pWebWidget->setIsSendWhiteBoard(send);
    if (!send) {
        CWindowFlags::setFlags(this, windowFlags() | Qt::Dialog | Qt::FramelessWindowHint);
        m_pPaintListWidget->setReceiveWhiteBoardType();
        if (m_pTopWidget) {
            m_pTopWidget->hide();
        }
        return;
    }
    CWindowFlags::setFlags(this, (windowFlags() & ~Qt::WindowFlags(0xB)) | Qt::FramelessWindowHint);
    m_pPaintListWidget->setSendWhiteBoardType();
    if (!m_pTopWidget) {
        m_pTopWidget = new WhiteBoardTopWidget(this);
        connect(m_pTopWidget, &WhiteBoardTopWidget::sigOpenWhiteBoardTool, this,
                &WhiteBoardDlg::slotShowWhiteBoardTool);
        connect(m_pTopWidget, &WhiteBoardTopWidget::sigClose, this, &WhiteBoardDlg::slotStopWhiteBoard);
        connect(m_pTopWidget, &WhiteBoardTopWidget::sigRefreshStatus, this, &WhiteBoardDlg::sigRefreshStatus);
        connect(m_pTopWidget, &WhiteBoardTopWidget::sigClickedManagerButton, this,
                &WhiteBoardDlg::sigClickManagerButton);
        if (stretchFactor() > 0) {
            m_pTopWidget->onDpiChanged(stretchFactor());
        }
    }
    m_pTopWidget->show();
    m_pTopWidget->raise();
    moveBoardTopWidgetPos();
}

void WhiteBoardDlg::updateWebPage()
{
    m_pWebWidget->updatePage();
}

void WhiteBoardDlg::releaseWebPage()
{
    m_pWebWidget->releaseCurrentPage();
}

void WhiteBoardDlg::hideTitleBar()
{
    ui->m_pWgtTitleBar->hide();
}

// ---- title bar ------------------------------------------------------------

void WhiteBoardDlg::slotOnWinMin()
{
    showMinimized();
}

void WhiteBoardDlg::slotOnWinMax()
{
    showMaximized();
    ui->m_pBtnMax->hide();
    ui->m_pBtnRestore->show();
}

void WhiteBoardDlg::slotOnWinRestore()
{
    showNormal();
    ui->m_pBtnRestore->hide();
    ui->m_pBtnMax->show();
}

void WhiteBoardDlg::refreshWindowStateBtns()
{
    const Qt::WindowStates state = windowState();
    if (state & Qt::WindowMaximized) {
        ui->m_pBtnMax->hide();
        ui->m_pBtnRestore->show();
    } else if (state == Qt::WindowNoState) {
        ui->m_pBtnRestore->hide();
        ui->m_pBtnMax->show();
    }
}

// ---- tools ----------------------------------------------------------------

void WhiteBoardDlg::hidePickers()
{
    m_pColorWidget->hide();
    m_pSelectBgWidget->hide();
}

void WhiteBoardDlg::onBtnPenClicked()
{
    hidePickers();
    m_pColorWidget->m_bMarkerMode = false;
    changePenLineSize();
    changePenColor();
    m_pWebWidget->didUsePencil();
}

void WhiteBoardDlg::onBtnNitePenClicked()
{
    hidePickers();
    m_pColorWidget->m_bMarkerMode = true;
    changePenLineSize();
    changePenColor();
    m_pWebWidget->didUseNitePen();
}

void WhiteBoardDlg::onBtnSelectPenClicked()
{
    // The pen's own actions hide the pickers: whether this click opens or
    // closes the colour picker is decided by what showed before it.
    const bool shown = m_pColorWidget->isVisible();
    onBtnPenClicked();
    m_pPaintListWidget->selectPenButton();
    refreshPicker();
    m_pPaintListWidget->togglePicker(m_pColorWidget, m_pPaintListWidget->m_nPenBgX, shown);
}

void WhiteBoardDlg::onBtnSelectNitePenClicked()
{
    const bool shown = m_pColorWidget->isVisible();
    onBtnNitePenClicked();
    m_pPaintListWidget->selectNitePenButton();
    refreshPicker();
    m_pPaintListWidget->togglePicker(m_pColorWidget, m_pPaintListWidget->m_nNitePenBgX, shown);
}

void WhiteBoardDlg::refreshPicker()
{
    // Only the picker's look follows the tool: the page has just been given
    // the tool's size and colour.
    const QSignalBlocker quiet(m_pColorWidget);
    m_pColorWidget->refreshSelectedState();
}

void WhiteBoardDlg::onBtnEraserClicked()
{
    hidePickers();
    m_pWebWidget->didUseEraser();
}

void WhiteBoardDlg::onBtnRevokeClicked()
{
    hidePickers();
    m_pWebWidget->didRevokeOperation();
}

void WhiteBoardDlg::onBtnClearClicked()
{
    hidePickers();
    m_pWebWidget->didClearUp();
}

void WhiteBoardDlg::onBtnBgClicked()
{
    m_pColorWidget->hide();
    m_pPaintListWidget->togglePicker(m_pSelectBgWidget, m_pPaintListWidget->m_nBgBtnX, m_pSelectBgWidget->isVisible());
}

void WhiteBoardDlg::onBtnExitClicked()
{
    KD_LOG << "WhiteBoardDlg:stop WhiteBoard";
    m_pPaintListWidget->hide();
    hidePickers();
}

void WhiteBoardDlg::changePenColor()
{
    const QColor colour = m_pColorWidget->getColor();
    const bool marker = m_pColorWidget->m_bMarkerMode;
    for (int i = 0; i < PALETTE_SIZE; ++i) {
        const QColor entry = marker ? markerColor(i) : penColor(i);
        if (entry == colour) {
            m_pWebWidget->didChangeNitePenColor(colour.red(), colour.green(), colour.blue());
            return;
        }
    }
}

void WhiteBoardDlg::changePenLineSize()
{
    const bool marker = m_pColorWidget->m_bMarkerMode;
    const int width = lineWidthFor(m_pColorWidget->getSize(), marker);
    if (width == 0) {
        return;
    }
    if (marker) {
        m_pWebWidget->didChangeNitePenLineWight(width);
    } else {
        m_pWebWidget->didChangePencilLineWight(width);
    }
}

void WhiteBoardDlg::slotShowWhiteBoardTool()
{
    m_pPaintListWidget->show();
    m_pPaintListWidget->raise();
    paintListWidgetPos();
}

void WhiteBoardDlg::slotClickedBlack()
{
    m_pWebWidget->didChangeBlackBackGround();
}

void WhiteBoardDlg::slotClickedWhite()
{
    m_pWebWidget->didChangeWhiteBackGround();
}

void WhiteBoardDlg::slotClickedSelect()
{
    m_pUpload->slotClickedSelect();
}

void WhiteBoardDlg::slotOnMouseMove4PaintList()
{
    emit sigMouseMove4PaintList();
}

// ---- snapshot and stop ----------------------------------------------------

QString WhiteBoardDlg::snapshotPath(const QDateTime &time) const
{
    return CSnapshotSaver::filePath(tr("WhiteBoardshot"), time);
}

void WhiteBoardDlg::slotBtnSaveClicked()
{
    QPixmap picture;
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        picture = screen->grabWindow(winId());
    }
    CSnapshotSaver::saveAndTell(this, picture, snapshotPath(QDateTime::currentDateTime()));
}

void WhiteBoardDlg::slotStopWhiteBoard()
{
    KD_LOG;
    // The board holds the meeting's work: stopping asks first, as stopping
    // a screen share does. The call may end, and take this window, meanwhile.
    const QPointer<WhiteBoardDlg> self(this);
    if (CbackgroundWidget::askToStop(this) != QMessageBox::Yes || !self) {
        return;
    }
    const helpers::CUserConfigUtils *config = helpers::CUserConfigUtils::getInstance();
    if (config && config->isAutoCaptureWin()) {
        slotBtnSaveClicked();
    }
    // The next sender starts with the pen, whatever this one used last.
    m_pPaintListWidget->onBtnPenClicked();
    m_pWebWidget->didDisconnectWhiteboard();
    emit sigHiddenWhiteBoard();
}

// ---- placement ------------------------------------------------------------

double WhiteBoardDlg::scale() const
{
    return stretchFactor() > 0 ? stretchFactor() : 1.0;
}

void WhiteBoardDlg::paintListWidgetPos()
{
    const double s = scale();
    const QPoint origin = mapToGlobal(QPoint(0, 0));
    // A receiver keeps the toolbar it had as sender, hidden: the menu goes
    // under the title bar then, not over it.
    const bool toolbar = m_pTopWidget && !m_pTopWidget->isHidden();
    const int top = toolbar ? m_pTopWidget->height() : int(ui->m_pWgtTitleBar->height() + kMenuGapUnderTitle * s);
    m_pPaintListWidget->move(origin.x() + (width() - m_pPaintListWidget->width()) / 2,
                             int(origin.y() + top + kMenuGap * s));
}

void WhiteBoardDlg::moveBoardTopWidgetPos()
{
    if (m_pTopWidget) {
        m_pTopWidget->move((width() - m_pTopWidget->width()) / 2, 0);
    }
}

void WhiteBoardDlg::moveEvent(QMoveEvent *event)
{
    CBaseDlg::moveEvent(event);
    moveBoardTopWidgetPos();
}

void WhiteBoardDlg::resizeEvent(QResizeEvent *event)
{
    CBaseDlg::resizeEvent(event);
    moveBoardTopWidgetPos();
}

void WhiteBoardDlg::showEvent(QShowEvent *event)
{
    setAttribute(Qt::WA_Mapped);
    CBaseDlg::showEvent(event);
    if (m_bIsSeperateDlg) {
        centerWindowOnScreen();
    }
    refreshWindowStateBtns();
    m_pPaintListWidget->show();
    m_pPaintListWidget->raise();
    paintListWidgetPos();
    KD_LOG << "size:" << size();
}

void WhiteBoardDlg::hideEvent(QHideEvent *event)
{
    CBaseDlg::hideEvent(event);
    m_pPaintListWidget->hide();
    hidePickers();
}

void WhiteBoardDlg::onDpiChanged()
{
    const double s = stretchFactor();
    KD_LOG << "m_bIsSeperateDlg:" << m_bIsSeperateDlg << ", title bar visible:" << ui->m_pWgtTitleBar->isVisible()
           << ", height:" << ui->m_pWgtTitleBar->height() << ", scale:" << s;
    if (!m_bIsSeperateDlg) {
        return;
    }
    ui->m_pWgtTitleBar->setFixedHeight(int(kTitleBarHeight * s));
    for (QPushButton *button : {ui->m_pBtnMin, ui->m_pBtnMax, ui->m_pBtnRestore}) {
        button->setFixedSize(int(kTitleBarHeight * s), int(kTitleBarHeight * s));
    }
    m_nTitleHeight = ui->m_pWgtTitleBar->height();
    setFixedSize(int(kWidth * s), int(kHeight * s));
    if (m_pTopWidget) {
        m_pTopWidget->onDpiChanged(s);
    }
    const QScreen *screen = getDisplayScreen();
    if (!screen) {
        KD_WARN << "Can not get valid screen";
        return;
    }
    const QRect available = screen->availableGeometry();
    if (height() < available.height() && width() < available.width()) {
        return;
    }
    setFixedSize(available.size());
    move(available.topLeft());
}

} // namespace views
} // namespace kd_app
