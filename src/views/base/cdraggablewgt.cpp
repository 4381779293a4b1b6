#include "cdraggablewgt.h"

#include <QMouseEvent>

#include "views/base/cstylesheetpainter.h"

namespace kd_app {
namespace views {

CDraggableWgt::CDraggableWgt(QWidget *parent) : CBaseWgt(parent)
{
}

CDraggableWgt::~CDraggableWgt() = default;

void CDraggableWgt::mousePressEvent(QMouseEvent *event)
{
    m_bDragging = false;
    if (m_pDragTitleBar && event->button() == Qt::LeftButton && !isMaximized()) {
        const QRect globalTitle(m_pDragTitleBar->mapToGlobal(QPoint(0, 0)), m_pDragTitleBar->size());
        if (globalTitle.contains(event->globalPos())) {
            m_bDragging = true;
            m_lastGlobalPos = event->globalPos();
        }
    }
    CBaseWgt::mousePressEvent(event);
}

void CDraggableWgt::mouseMoveEvent(QMouseEvent *event)
{
    if (m_bDragging) {
        move(pos() + event->globalPos() - m_lastGlobalPos);
        m_lastGlobalPos = event->globalPos();
    }
    CBaseWgt::mouseMoveEvent(event);
}

void CDraggableWgt::mouseReleaseEvent(QMouseEvent *event)
{
    m_bDragging = false;
    CBaseWgt::mouseReleaseEvent(event);
}

void CDraggableWgt::paintEvent(QPaintEvent *event)
{
    CStyleSheetPainter::paintBackground(this);
    CBaseWgt::paintEvent(event);
}

void CDraggableWgt::showEvent(QShowEvent *event)
{
    m_dpiScaler.init(width(), height(), this);
    CBaseWgt::showEvent(event);
    centerWindow();
}

} // namespace views
} // namespace kd_app
