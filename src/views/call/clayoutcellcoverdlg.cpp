#include "clayoutcellcoverdlg.h"

#include <algorithm>

#include <QCursor>
#include <QMouseEvent>
#include <QPainter>

#include "app/cwindowshape.h"
#include "helpers/clogformat.h"
#include "ui_clayoutcellcoverdlg.h"
#include "views/base/cwindowflags.h"

namespace kd_app {
namespace views {

namespace {

const char *const STYLE_BASE = ":/resources/qss/layout-cell-cover-dlg";
const char *const STYLE_MUTE_ICON =
    "border-image: url(:/resources/images/layout-operationbar/icon_mute.png)  0px 0px no-repeat;";
const char *const STYLE_CONTENT_SENDER_ICON =
    "border-image: url(:/resources/images/layout-operationbar/icon_content_sender.png)  0px 0px no-repeat;";
constexpr int MUTE_ICON_SIZE = 20;
constexpr int CONTENT_SENDER_ICON_SIZE = 14;
constexpr int FRAME_WIDTH = 2;
// The name's pixel size at scale 1: the program's 9-point text on a 96-dpi screen.
constexpr int SITE_NAME_PIXEL_SIZE = 12;

} // namespace

CLayoutCellCoverDlg::CLayoutCellCoverDlg(QWidget *parent)
    : CBaseDlg(parent), ui(std::make_unique<Ui::CLayoutCellCoverDlg>())
{
    ui->setupUi(this);
    // The engine places every cover over its cell; centring it on the
    // screen would show it beside the video for a moment.
    m_bCenterOnFirstShow = false;
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowFlags(Qt::FramelessWindowHint);
    ui->m_pWgtContent->installEventFilter(this);
    ui->m_pWgtContent->setMouseTracking(true);
    // Plain moves over the content reach the cover too, which tells the
    // engine (the toolbar shows on movement over the video).
    setMouseTracking(true);
    // Names come from the far end: never read them as markup.
    ui->m_pLblSiteName->setTextFormat(Qt::PlainText);
    ui->m_pBtnStatusImage->hide();
    applyStatusIcon();
    // Shown only while the cover is (see refreshTitleBarVisibility).
    ui->m_pWgtTitlebar->hide();
}

CLayoutCellCoverDlg::~CLayoutCellCoverDlg() = default;

double CLayoutCellCoverDlg::scale() const
{
    return std::max(1.0, m_fStretchFactor);
}

void CLayoutCellCoverDlg::applyStatusIcon()
{
    const bool contentSender = m_nCellType == CellType_Content;
    const int side = int((contentSender ? CONTENT_SENDER_ICON_SIZE : MUTE_ICON_SIZE) * scale());
    ui->m_pBtnStatusImage->setFixedSize(side, side);
    ui->m_pBtnStatusImage->setStyleSheet(contentSender ? STYLE_CONTENT_SENDER_ICON : STYLE_MUTE_ICON);
}

void CLayoutCellCoverDlg::setCellType(int type)
{
    m_nCellType = type;
    applyStatusIcon();
    if (type == CellType_Content) {
        ui->m_pBtnStatusImage->show();
        m_bIsMuted = false;
    }
    refreshSiteNameLabel();
}

void CLayoutCellCoverDlg::setIsMuted(bool muted)
{
    m_bIsMuted = muted;
    ui->m_pBtnStatusImage->setVisible(muted);
    refreshSiteNameLabel();
    if (m_bAutoHideTitleBar) {
        if (m_nCellType == CellType_Local) {
            if (muted) {
                refreshTitleBarVisibility();
            } else {
                setTitleBarVisible(false);
            }
        }
        return;
    }
    if (ui->m_pWgtTitlebar->isHidden()) {
        refreshTitleBarVisibility();
    }
}

void CLayoutCellCoverDlg::setSiteName(const QString &name)
{
    KD_LOG << "qstrSiteName:" << name;
    if (name.isEmpty()) {
        KD_LOG << "Empty qstrSiteName";
        return;
    }
    m_qstrSiteName = m_nCellType == CellType_Content ? tr("%1's Screen Sharing").arg(name, 0, QLatin1Char(' ')) : name;
    refreshSiteNameLabel();
    if (m_bAutoHideTitleBar) {
        if (m_nCellType == CellType_Local) {
            if (m_bIsMuted) {
                refreshTitleBarVisibility();
            } else {
                setTitleBarVisible(false);
            }
        }
        return;
    }
    if (ui->m_pWgtTitlebar->isHidden()) {
        refreshTitleBarVisibility();
    }
}

void CLayoutCellCoverDlg::setBorderColor(const QString &color)
{
    m_qstrBorderColor = color;
    update();
    applyShape();
}

void CLayoutCellCoverDlg::refreshSiteNameLabel()
{
    QLabel *label = ui->m_pLblSiteName;
    if (m_qstrSiteName.isEmpty()) {
        label->hide();
        applyShape();
        return;
    }
    label->show();
    const QMargins outer = ui->m_pLayoutDlg->contentsMargins();
    const QMargins bar = ui->m_pLayoutTitlebar->contentsMargins();
    const int available = width() - outer.left() - outer.right();
    int used = bar.left() + bar.right();
    // The content-sender icon shows without a muted mark; the room it takes
    // is missing from the text all the same.
    if (!ui->m_pBtnStatusImage->isHidden()) {
        used += ui->m_pLayoutTitlebar->spacing() + ui->m_pBtnStatusImage->width();
    }
    const QFontMetrics metrics(label->font());
    const int textWidth = metrics.horizontalAdvance(m_qstrSiteName);
    if (available - used < textWidth) {
        label->setText(metrics.elidedText(m_qstrSiteName, Qt::ElideRight, std::max(0, available - used)));
        ui->m_pWgtTitlebar->setFixedWidth(std::max(0, available));
    } else {
        label->setText(m_qstrSiteName);
        ui->m_pWgtTitlebar->setFixedWidth(used + textWidth);
    }
    applyShape();
}

void CLayoutCellCoverDlg::refreshTitleBarVisibility()
{
    if (!m_bIsMuted && m_qstrSiteName.isEmpty()) {
        setTitleBarVisible(false);
        return;
    }
    setTitleBarVisible(isVisible());
}

void CLayoutCellCoverDlg::setTitleBarVisible(bool visible)
{
    if (ui->m_pWgtTitlebar->isHidden() == !visible) {
        return;
    }
    ui->m_pWgtTitlebar->setVisible(visible);
    applyShape();
}

void CLayoutCellCoverDlg::setStaysOnTop(bool visible)
{
    if (windowFlags() & Qt::WindowStaysOnTopHint) {
        return;
    }
    CWindowFlags::setFlags(this, windowFlags() | Qt::WindowStaysOnTopHint | Qt::FramelessWindowHint);
    setVisible(visible);
}

void CLayoutCellCoverDlg::clearStaysOnTop()
{
    if (!(windowFlags() & Qt::WindowStaysOnTopHint)) {
        return;
    }
    // New flags hide a window; dropping the hint is no reason to.
    const bool visible = isVisible();
    CWindowFlags::setStaysOnTop(this, false);
    setVisible(visible);
}

void CLayoutCellCoverDlg::setCompositing(bool composited)
{
    if (m_bCompositing == composited) {
        return;
    }
    m_bCompositing = composited;
    if (composited) {
        if (testAttribute(Qt::WA_WState_Created)) {
            CWindowShape::clearBoundingShape(winId());
        }
        return;
    }
    applyShape();
}

QRegion CLayoutCellCoverDlg::paintedRegion()
{
    QRegion region;
    if (!m_qstrBorderColor.isEmpty()) {
        region = QRegion(rect()) - QRegion(rect().adjusted(FRAME_WIDTH, FRAME_WIDTH, -FRAME_WIDTH, -FRAME_WIDTH));
    }
    if (!ui->m_pWgtTitlebar->isHidden()) {
        layout()->activate();
        region += QRect(ui->m_pWgtTitlebar->mapTo(this, QPoint(0, 0)), ui->m_pWgtTitlebar->size());
    }
    return region;
}

void CLayoutCellCoverDlg::applyShape()
{
    if (m_bCompositing || !testAttribute(Qt::WA_WState_Created)) {
        return;
    }
    CWindowShape::setBoundingShape(winId(), paintedRegion());
}

bool CLayoutCellCoverDlg::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ui->m_pWgtContent && event->type() == QEvent::MouseMove) {
        refreshTitleBarVisibility();
    }
    return CBaseDlg::eventFilter(watched, event);
}

void CLayoutCellCoverDlg::enterEvent(QEvent *event)
{
    refreshTitleBarVisibility();
    CBaseDlg::enterEvent(event);
}

void CLayoutCellCoverDlg::leaveEvent(QEvent *event)
{
    CBaseDlg::leaveEvent(event);
    // Cut down to its name bar, the cover is left for the cell below it,
    // which still counts as the cover.
    if (!m_bCompositing && geometry().contains(QCursor::pos())) {
        return;
    }
    if (m_bAutoHideTitleBar && !(m_nCellType == CellType_Local && m_bIsMuted)) {
        setTitleBarVisible(false);
    }
}

void CLayoutCellCoverDlg::mouseMoveEvent(QMouseEvent *event)
{
    CBaseDlg::mouseMoveEvent(event);
    refreshTitleBarVisibility();
    emit sigMouseMove(event);
}

void CLayoutCellCoverDlg::mousePressEvent(QMouseEvent *event)
{
    CBaseDlg::mousePressEvent(event);
    emit sigMousePress(event);
}

void CLayoutCellCoverDlg::mouseDoubleClickEvent(QMouseEvent *event)
{
    KD_LOG << this;
    emit sigMouseDoubleClick(this, event);
}

void CLayoutCellCoverDlg::showEvent(QShowEvent *event)
{
    m_dpiScaler.init(width(), height(), this);
    CBaseDlg::showEvent(event);
    if (!m_bAutoHideTitleBar || m_nCellType == CellType_Local) {
        refreshTitleBarVisibility();
    }
    applyShape();
}

void CLayoutCellCoverDlg::hideEvent(QHideEvent *event)
{
    setTitleBarVisible(false);
    CBaseDlg::hideEvent(event);
}

void CLayoutCellCoverDlg::resizeEvent(QResizeEvent *event)
{
    CBaseDlg::resizeEvent(event);
    refreshSiteNameLabel();
}

void CLayoutCellCoverDlg::paintEvent(QPaintEvent *event)
{
    CBaseDlg::paintEvent(event);
    if (m_qstrBorderColor.isEmpty()) {
        return;
    }
    // A band of the frame's width along every edge.
    QPainter painter(this);
    const QColor colour(m_qstrBorderColor);
    const int w = width();
    const int h = height();
    painter.fillRect(0, 0, w, FRAME_WIDTH, colour);
    painter.fillRect(0, h - FRAME_WIDTH, w, FRAME_WIDTH, colour);
    painter.fillRect(0, 0, FRAME_WIDTH, h, colour);
    painter.fillRect(w - FRAME_WIDTH, 0, FRAME_WIDTH, h, colour);
}

void CLayoutCellCoverDlg::onDpiChanged()
{
    CBaseDlg::onDpiChanged();
    setStyleSheetByScale(STYLE_BASE);
    // The form's margins and bars scale; the cover itself keeps its cell's size.
    m_dpiScaler.scaleWidget(m_fStretchFactor, this, false);
    QFont font = ui->m_pLblSiteName->font();
    font.setPixelSize(int(SITE_NAME_PIXEL_SIZE * scale()));
    ui->m_pLblSiteName->setFont(font);
    applyStatusIcon();
    refreshSiteNameLabel();
}

} // namespace views
} // namespace kd_app
