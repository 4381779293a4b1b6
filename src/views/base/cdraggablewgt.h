#pragma once

#include <QPoint>

#include "views/base/cbasewgt.h"

namespace kd_app {
namespace views {

// A frameless panel window with its own title bar: dragged by that bar
// only, painted from its style sheet, its layout recorded for rescaling at
// the first show and centred on its screen at every show.
class CDraggableWgt : public CBaseWgt
{
public:
    explicit CDraggableWgt(QWidget *parent);
    ~CDraggableWgt() override;

    bool isDragging() const { return m_bDragging; }

protected:
    // The bar that starts a drag; none: the window does not move.
    void setDragTitleBar(QWidget *titleBar) { m_pDragTitleBar = titleBar; }

    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    QWidget *m_pDragTitleBar = nullptr;
    bool m_bDragging = false;
    QPoint m_lastGlobalPos;
};

} // namespace views
} // namespace kd_app
