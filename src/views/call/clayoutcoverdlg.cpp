#include "clayoutcoverdlg.h"

#include <QMouseEvent>

#include "app/cwindowshape.h"
#include "ui_clayoutcoverdlg.h"

namespace kd_app {
namespace views {

namespace {

// Low enough to leave the video below as it is, high enough for the window
// system to count the window as there and give it the mouse.
constexpr double COVER_OPACITY = 0.01;

} // namespace

CLayoutCoverDlg::CLayoutCoverDlg(QWidget *parent) : QDialog(parent), ui(std::make_unique<Ui::CLayoutCoverDlg>())
{
    ui->setupUi(this);
    setWindowOpacity(COVER_OPACITY);
    setWindowFlags(Qt::FramelessWindowHint);
    setMouseTracking(true);
}

CLayoutCoverDlg::~CLayoutCoverDlg() = default;

void CLayoutCoverDlg::setCompositing(bool composited)
{
    if (m_bCompositing == composited) {
        return;
    }
    m_bCompositing = composited;
    if (!testAttribute(Qt::WA_WState_Created)) {
        return;
    }
    if (composited) {
        CWindowShape::clearBoundingShape(winId());
    } else {
        applyShape();
    }
}

void CLayoutCoverDlg::applyShape()
{
    if (!m_bCompositing && testAttribute(Qt::WA_WState_Created)) {
        CWindowShape::setBoundingShape(winId(), QRegion());
    }
}

void CLayoutCoverDlg::mouseMoveEvent(QMouseEvent *event)
{
    emit sigMouseMove(event);
}

void CLayoutCoverDlg::mousePressEvent(QMouseEvent *event)
{
    emit sigMousePress(event);
}

void CLayoutCoverDlg::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    applyShape();
}

} // namespace views
} // namespace kd_app
