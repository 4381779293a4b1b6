#include "clayoutfloatingcellsdlg.h"

#include <QMoveEvent>
#include <QPushButton>

#include "helpers/clogformat.h"
#include "models/ccallcontroller.h"
#include "models/ckdsdkmanager.h"
#include "ui_clayoutfloatingcellsdlg.h"
#include "views/base/cwindowflags.h"
#include "views/call/clayoutcellcoverdlg.h"
#include "views/call/clayoutcelldlg.h"
#include "views/call/clayoutcoverdlg.h"
#include "views/call/clayoutstacking.h"

namespace kd_app {
namespace views {

namespace {

const char *const STYLE_BASE = ":/resources/qss/layout-floating-cells-dlg";
constexpr int MIN_BUTTON_SIZE = 24;

// The engine repaints into every render window; without one (a strip shown
// before the engine is up) there is nothing to repaint.
void repaintVideo()
{
    if (models::CKDSdkManager::getInstance()) {
        models::CCallController::repaintVideo();
    }
}

} // namespace

CLayoutFloatingCellsDlg::CLayoutFloatingCellsDlg(QWidget *parent)
    : CBaseDlg(parent), ui(std::make_unique<Ui::CLayoutFloatingCellsDlg>()),
      m_pLayoutCoverDlg(new CLayoutCoverDlg(nullptr))
{
    ui->setupUi(this);
    KD_LOG << "initWidgets";
    // The scale is known from the first show on; until then every size is 0.
    m_metrics = CLayoutGeometry::stripMetrics(m_fStretchFactor);
    m_pLayoutCoverDlg->setParent(this, Qt::SplashScreen | Qt::FramelessWindowHint);
    m_bCenterOnFirstShow = false;
    m_nTitleHeight = ui->m_pWgtTopTitleBar->maximumHeight();
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
    m_pLayoutCoverDlg->raise();
    connect(ui->pBtMin, &QPushButton::clicked, this, &CLayoutFloatingCellsDlg::on_pBtMin_clicked);
}

CLayoutFloatingCellsDlg::~CLayoutFloatingCellsDlg()
{
    KD_LOG;
}

void CLayoutFloatingCellsDlg::setBottomBarThreshold(int threshold)
{
    m_nBottomBarThreshold = threshold;
}

int CLayoutFloatingCellsDlg::computedHeight() const
{
    return CLayoutGeometry::stripHeight(m_metrics, m_remoteCells.size(), m_nBottomBarThreshold);
}

void CLayoutFloatingCellsDlg::setCompositing(bool composited)
{
    m_pLayoutCoverDlg->setCompositing(composited);
}

void CLayoutFloatingCellsDlg::on_pBtMin_clicked()
{
    setHide();
}

void CLayoutFloatingCellsDlg::setHide()
{
    KD_LOG;
    emit signal_FloatingCellsDlg_Hide();
    m_hideFlag = true;
    hide();
}

void CLayoutFloatingCellsDlg::clearHideFlag()
{
    m_hideFlag = false;
}

void CLayoutFloatingCellsDlg::slot_FloatingCellsDlg_Show()
{
    KD_LOG;
    m_hideFlag = false;
    show();
    // A move makes the window system lay the strip's cells out again.
    move(x(), y() + 1);
}

void CLayoutFloatingCellsDlg::slotDragPosChanged(QWidget *sender, int relativeX, int relativeY)
{
    move(x() + relativeX, y() + relativeY);
}

bool CLayoutFloatingCellsDlg::containsCell(const CLayoutCellDlg *cell) const
{
    if (!cell) {
        return false;
    }
    if (m_pLocalCell == cell) {
        return true;
    }
    for (const QPointer<CLayoutCellDlg> &remote : m_remoteCells) {
        if (remote == cell) {
            return true;
        }
    }
    return false;
}

void CLayoutFloatingCellsDlg::setVisible(bool visible)
{
    if (visible && m_hideFlag) {
        KD_LOG << "not shown, m_hideFlag:" << m_hideFlag;
        return;
    }
    CBaseDlg::setVisible(visible);
}

void CLayoutFloatingCellsDlg::followStaysOnTop(CLayoutCellDlg *cell)
{
    if (windowFlags() & Qt::WindowStaysOnTopHint) {
        cell->setStaysOnTop(true);
    } else {
        cell->clearStaysOnTop();
    }
}

void CLayoutFloatingCellsDlg::connectDrag(CLayoutCellDlg *cell)
{
    connect(cell->getCover(), &CBaseDlg::sigDragPosChanged, this, &CLayoutFloatingCellsDlg::slotDragPosChanged,
            Qt::UniqueConnection);
}

void CLayoutFloatingCellsDlg::disconnectDrag(CLayoutCellDlg *cell)
{
    if (cell && cell->getCover()) {
        disconnect(cell->getCover(), &CBaseDlg::sigDragPosChanged, this, &CLayoutFloatingCellsDlg::slotDragPosChanged);
    }
}

void CLayoutFloatingCellsDlg::showCellCovers()
{
    if (m_pLocalCell && m_pLocalCell->getCover()) {
        m_pLocalCell->getCover()->show();
    }
    for (const QPointer<CLayoutCellDlg> &cell : m_remoteCells) {
        if (cell && cell->getCover()) {
            cell->getCover()->show();
        }
    }
}

void CLayoutFloatingCellsDlg::setLocalVideoCell(CLayoutCellDlg *cell)
{
    KD_LOG << "cell:" << cell;
    if (m_pLocalCell || !cell) {
        return;
    }
    m_pLocalCell = cell;
    // A new parent hides a window: parent first, then show it with the strip.
    if (cell->parentWidget() != this) {
        cell->setParent(this, Qt::SplashScreen);
    }
    cell->setVisible(isVisible());
    cell->setFixedSize(m_metrics.cellWidth, m_metrics.cellHeight);
    cell->setDraggable(true);
    KD_LOG << "m_pWgtTopTitleBar height:" << m_metrics.barHeight;
    const QPoint pos = CLayoutGeometry::stripCellPos(m_metrics, 0);
    cell->setRelativePos(pos.x(), pos.y());
    followStaysOnTop(cell);
    connectDrag(cell);
    setLayoutCoverSize();
    // A cover shown over a hidden cell would hang on the screen alone.
    if (isVisible()) {
        showCellCovers();
    }
}

void CLayoutFloatingCellsDlg::clearLocalVideoCell()
{
    disconnectDrag(m_pLocalCell);
    m_pLocalCell = nullptr;
    setLayoutCoverSize();
}

void CLayoutFloatingCellsDlg::placeCellInStrip(CLayoutCellDlg *cell, int index)
{
    cell->setFixedSize(m_metrics.cellWidth, m_metrics.cellHeight);
    const QPoint pos = CLayoutGeometry::stripCellPos(m_metrics, index);
    cell->setRelativePos(pos.x(), pos.y());
}

void CLayoutFloatingCellsDlg::setRemoteVideoCells(const QList<CLayoutCellDlg *> &cells)
{
    m_remoteCells.clear();
    for (CLayoutCellDlg *cell : cells) {
        m_remoteCells.append(cell);
    }
    setFixedHeight(computedHeight());
    for (int i = 0; i < cells.size(); ++i) {
        CLayoutCellDlg *cell = cells.at(i);
        if (cell->parentWidget() != this) {
            cell->setParent(this, Qt::SplashScreen);
        }
        cell->setVisible(isVisible());
        cell->setCoverParent(m_pLayoutCoverDlg);
        placeCellInStrip(cell, i + 1);
        cell->moveWithParent(x(), y());
        cell->setDraggable(true);
        followStaysOnTop(cell);
        cell->setVisible(isVisible());
        connectDrag(cell);
    }
    setLayoutCoverSize();
    if (isVisible()) {
        showCellCovers();
    }
}

void CLayoutFloatingCellsDlg::clearRemoteVideoCells()
{
    if (m_remoteCells.isEmpty()) {
        KD_LOG << "Empty remote video cell";
        return;
    }
    for (const QPointer<CLayoutCellDlg> &cell : m_remoteCells) {
        disconnectDrag(cell);
    }
    m_remoteCells.clear();
    setFixedHeight(computedHeight());
    setLayoutCoverSize();
}

void CLayoutFloatingCellsDlg::setLayoutCoverSize()
{
    if (!isVisible()) {
        KD_LOG << "do not set size for invisible";
        return;
    }
    const int cells = (m_pLocalCell ? 1 : 0) + m_remoteCells.size();
    m_pLayoutCoverDlg->setFixedSize(width(), cells * m_metrics.cellHeight);
    KD_LOG << "m_pLayoutCoverDlg size:" << m_pLayoutCoverDlg->size();
    m_pLayoutCoverDlg->show();
    m_pLayoutCoverDlg->raise();
}

void CLayoutFloatingCellsDlg::setLayoutCoverPos()
{
    for (const QPointer<CLayoutCellDlg> &cell : m_remoteCells) {
        if (cell) {
            cell->moveWithParent(x(), y());
        }
    }
    m_pLayoutCoverDlg->move(x(), y() + m_metrics.barHeight);
    KD_LOG << "this pos:" << pos() << ", m_pLayoutCoverDlg pos:" << m_pLayoutCoverDlg->pos();
}

void CLayoutFloatingCellsDlg::refreshLocalVideoCellPos()
{
    if (!m_pLocalCell) {
        return;
    }
    m_pLocalCell->setCoverParent(m_pLayoutCoverDlg);
    placeCellInStrip(m_pLocalCell, 0);
    m_pLocalCell->moveWithParent(x(), y());
}

void CLayoutFloatingCellsDlg::setTopWindow()
{
    if (windowFlags() & Qt::WindowStaysOnTopHint) {
        return;
    }
    CWindowFlags::setFlags(this, Qt::WindowStaysOnTopHint | Qt::FramelessWindowHint | Qt::Tool);
    KD_LOG << "m_hideFlag:" << m_hideFlag;
    // The cells show with the strip (its showEvent), never on their own: a
    // strip that stays hidden, as in a call to one person, keeps them hidden.
    const bool cellsVisible = !m_hideFlag && isVisible();
    if (m_pLocalCell) {
        m_pLocalCell->setStaysOnTop(cellsVisible);
    }
    for (const QPointer<CLayoutCellDlg> &cell : m_remoteCells) {
        if (cell) {
            cell->setStaysOnTop(cellsVisible);
        }
    }
    CWindowFlags::setStaysOnTop(m_pLayoutCoverDlg, true);
    if (m_hideFlag) {
        hide();
    }
}

void CLayoutFloatingCellsDlg::setNonTopWindow()
{
    if (!(windowFlags() & Qt::WindowStaysOnTopHint)) {
        return;
    }
    CWindowFlags::setFlags(this, (windowFlags() & ~Qt::WindowStaysOnTopHint) | Qt::Tool);
    if (m_pLocalCell) {
        m_pLocalCell->clearStaysOnTop();
    }
    for (const QPointer<CLayoutCellDlg> &cell : m_remoteCells) {
        if (cell) {
            cell->clearStaysOnTop();
        }
    }
    CWindowFlags::setStaysOnTop(m_pLayoutCoverDlg, false);
}

void CLayoutFloatingCellsDlg::showEvent(QShowEvent *event)
{
    KD_LOG << "m_hideFlag:" << m_hideFlag << ", windowState:" << windowState();
    if (m_hideFlag) {
        // Only a show that bypassed setVisible gets here.
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (m_hideFlag) {
                    hide();
                }
            },
            Qt::QueuedConnection);
        return;
    }
    CBaseDlg::showEvent(event);
    const int computed = computedHeight();
    if (height() != computed) {
        KD_LOG << "this->height():" << height() << ", height:" << computed << ", isVisible" << isVisible();
        setFixedHeight(computed - 1);
    }
    if (m_pLocalCell) {
        if (m_pLocalCell->parentWidget() != this) {
            m_pLocalCell->setParent(this, Qt::SplashScreen);
        }
        m_pLocalCell->show();
        m_pLocalCell->setDraggable(true);
        refreshLocalVideoCellPos();
    }
    for (const QPointer<CLayoutCellDlg> &cell : m_remoteCells) {
        if (cell) {
            cell->show();
        }
    }
    setLayoutCoverPos();
    setLayoutCoverSize();
    CLayoutStacking::raiseTree(this);
    CLayoutStacking::raiseOwnedOver(this);
    repaintVideo();
}

void CLayoutFloatingCellsDlg::hideEvent(QHideEvent *event)
{
    KD_LOG;
    CBaseDlg::hideEvent(event);
    if (m_pLocalCell) {
        m_pLocalCell->hide();
    }
    for (const QPointer<CLayoutCellDlg> &cell : m_remoteCells) {
        if (cell) {
            cell->hide();
        }
    }
    m_pLayoutCoverDlg->hide();
}

void CLayoutFloatingCellsDlg::moveEvent(QMoveEvent *event)
{
    CBaseDlg::moveEvent(event);
    refreshLocalVideoCellPos();
    setLayoutCoverPos();
}

void CLayoutFloatingCellsDlg::resizeEvent(QResizeEvent *event)
{
    KD_LOG << "size:" << event->size();
    CBaseDlg::resizeEvent(event);
}

void CLayoutFloatingCellsDlg::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::WindowStateChange) {
        KD_LOG << "windowState:" << windowState();
    }
    CBaseDlg::changeEvent(event);
}

void CLayoutFloatingCellsDlg::onDpiChanged()
{
    CBaseDlg::onDpiChanged();
    setStyleSheetByScale(STYLE_BASE);
    m_metrics = CLayoutGeometry::stripMetrics(m_fStretchFactor);
    setMinimumWidth(m_metrics.width);
    setMaximumWidth(m_metrics.width);
    ui->m_pWgtTopTitleBar->setFixedHeight(m_metrics.barHeight);
    ui->m_pWgtbnBottomTitleBar->setFixedHeight(m_metrics.barHeight);
    const int button = int(MIN_BUTTON_SIZE * m_fStretchFactor);
    ui->pBtMin->setFixedSize(button, button);
    m_nTitleHeight = m_metrics.barHeight;
    if (m_pLocalCell) {
        if (m_pLocalCell->parentWidget() != this) {
            m_pLocalCell->setParent(this, Qt::SplashScreen);
        }
        m_pLocalCell->show();
        m_pLocalCell->setDraggable(true);
        refreshLocalVideoCellPos();
    }
    for (int i = 0; i < m_remoteCells.size(); ++i) {
        if (CLayoutCellDlg *cell = m_remoteCells.at(i)) {
            placeCellInStrip(cell, i + 1);
            cell->show();
        }
    }
    setLayoutCoverPos();
    setLayoutCoverSize();
    repaintVideo();
    setFixedHeight(computedHeight());
}

} // namespace views
} // namespace kd_app
