#include "clayoutcelldlg.h"

#include <QCursor>
#include <QMouseEvent>

#include "helpers/clogformat.h"
#include "ui_clayoutcelldlg.h"
#include "views/call/ccoverinputforwarder.h"
#include "views/base/cwindowflags.h"
#include "views/call/clayoutcellcoverdlg.h"

namespace kd_app {
namespace views {

CLayoutCellDlg::CLayoutCellDlg(QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::CLayoutCellDlg>()), m_pCover(new CLayoutCellCoverDlg(nullptr))
{
    ui->setupUi(this);
    setWindowFlags(Qt::FramelessWindowHint);
    setAttribute(Qt::WA_ShowWithoutActivating);
    ui->m_pWgtVideo->setStyleSheet("QWidget{background-color: #666;}");
    // Without a compositor the pointer over the video lands here and is
    // handed on to the cover, plain moves included.
    setMouseTracking(true);
    ui->horizontalWidget->setMouseTracking(true);
    ui->m_pWgtVideo->setMouseTracking(true);
    ui->m_pWgtVideo->installEventFilter(this);

    connect(m_pCover, &CLayoutCellCoverDlg::sigMouseMove, this, &CLayoutCellDlg::sigMouseMove);
    connect(m_pCover, &CLayoutCellCoverDlg::sigMousePress, this, &CLayoutCellDlg::sigMousePress);
    connect(m_pCover, &CLayoutCellCoverDlg::sigMouseDoubleClick, this, &CLayoutCellDlg::slotOnMouseDoubleClick);
}

CLayoutCellDlg::~CLayoutCellDlg()
{
    // The cover's Qt parent is the layout's cover window, which may outlive
    // the cell; a cover without its cell must not stay on the screen.
    delete m_pCover.data();
}

bool CLayoutCellDlg::eventFilter(QObject *watched, QEvent *event)
{
    // A render window made anew (the cell's flags changed) must reach the
    // engine again; its going away (0) is followed by the new one.
    if (watched == ui->m_pWgtVideo && event->type() == QEvent::WinIdChange && ui->m_pWgtVideo->internalWinId() != 0) {
        KD_LOG << "video window:" << ui->m_pWgtVideo->internalWinId();
        emit sigVideoWindowChanged(this);
    }
    return QDialog::eventFilter(watched, event);
}

WId CLayoutCellDlg::getVideoWinId()
{
    return ui->m_pWgtVideo->winId();
}

void CLayoutCellDlg::setRelativePos(int x, int y)
{
    m_relativePos = QPoint(x, y);
}

void CLayoutCellDlg::moveWithParent(int originX, int originY)
{
    move(originX + m_relativePos.x(), originY + m_relativePos.y());
    if (m_pCover && !m_pCover->isBeingDragged()) {
        m_pCover->move(pos());
    }
}

int CLayoutCellDlg::coverDragHeight() const
{
    return m_bDraggable ? height() : 0;
}

void CLayoutCellDlg::setCoverParent(QWidget *parent)
{
    if (!m_pCover || m_pCover->parentWidget() == parent) {
        return;
    }
    m_pCover->setParent(parent, Qt::SplashScreen | Qt::FramelessWindowHint);
    m_pCover->setFixedSize(size());
    m_pCover->setDragHeight(coverDragHeight());
    m_pCover->move(pos());
    if (isVisible()) {
        m_pCover->show();
    }
}

void CLayoutCellDlg::setDraggable(bool draggable)
{
    m_bDraggable = draggable;
    if (m_pCover) {
        m_pCover->setDragHeight(coverDragHeight());
    }
}

void CLayoutCellDlg::setStaysOnTop(bool visible)
{
    if (windowFlags() & Qt::WindowStaysOnTopHint) {
        return;
    }
    CWindowFlags::setFlags(this, windowFlags() | Qt::WindowStaysOnTopHint | Qt::FramelessWindowHint);
    setVisible(visible);
    if (m_pCover) {
        m_pCover->setStaysOnTop(visible);
    }
}

void CLayoutCellDlg::clearStaysOnTop()
{
    if (windowFlags() & Qt::WindowStaysOnTopHint) {
        // New flags hide a window; dropping the hint is no reason to.
        const bool visible = isVisible();
        CWindowFlags::setStaysOnTop(this, false);
        setVisible(visible);
    }
    if (m_pCover) {
        m_pCover->clearStaysOnTop();
    }
}

void CLayoutCellDlg::setCellType(int type)
{
    if (m_pCover) {
        m_pCover->setCellType(type);
    }
}

void CLayoutCellDlg::setIsMuted(bool muted)
{
    KD_LOG << "isMuted:" << muted;
    if (m_pCover) {
        m_pCover->setIsMuted(muted);
    }
}

void CLayoutCellDlg::setSiteName(const std::string &name)
{
    if (m_pCover) {
        m_pCover->setSiteName(QString::fromStdString(name));
    }
}

void CLayoutCellDlg::setBorderColor(const QString &color)
{
    if (m_pCover) {
        m_pCover->setBorderColor(color);
    }
}

void CLayoutCellDlg::setCompositing(bool composited)
{
    m_bCompositing = composited;
    if (m_pCover) {
        m_pCover->setCompositing(composited);
    }
}

void CLayoutCellDlg::slotOnMouseDoubleClick(QWidget *sender, QMouseEvent *event)
{
    KD_LOG << "sender:" << sender;
    emit sigMouseDoubleClick(this, event);
}

void CLayoutCellDlg::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_pCover) {
        m_pCover->show();
    }
}

void CLayoutCellDlg::hideEvent(QHideEvent *event)
{
    QDialog::hideEvent(event);
    if (m_pCover) {
        m_pCover->hide();
    }
}

void CLayoutCellDlg::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    if (m_pCover) {
        m_pCover->setFixedSize(size());
        m_pCover->setDragHeight(coverDragHeight());
    }
}

void CLayoutCellDlg::mouseDoubleClickEvent(QMouseEvent *event)
{
    // Through the cover, which reports the double-click once.
    if (!m_bCompositing && CCoverInputForwarder::forwardMouse(event, m_pCover)) {
        return;
    }
    emit sigMouseDoubleClick(this, event);
}

void CLayoutCellDlg::mouseMoveEvent(QMouseEvent *event)
{
    if (m_bCompositing || !CCoverInputForwarder::forwardMouse(event, m_pCover)) {
        QDialog::mouseMoveEvent(event);
    }
}

void CLayoutCellDlg::mousePressEvent(QMouseEvent *event)
{
    if (m_bCompositing || !CCoverInputForwarder::forwardMouse(event, m_pCover)) {
        QDialog::mousePressEvent(event);
    }
}

void CLayoutCellDlg::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_bCompositing || !CCoverInputForwarder::forwardMouse(event, m_pCover)) {
        QDialog::mouseReleaseEvent(event);
    }
}

void CLayoutCellDlg::enterEvent(QEvent *event)
{
    QDialog::enterEvent(event);
    if (!m_bCompositing) {
        CCoverInputForwarder::forwardEnter(m_pCover, QCursor::pos());
    }
}

void CLayoutCellDlg::leaveEvent(QEvent *event)
{
    QDialog::leaveEvent(event);
    if (!m_bCompositing) {
        CCoverInputForwarder::forwardLeave(m_pCover);
    }
}

} // namespace views
} // namespace kd_app
