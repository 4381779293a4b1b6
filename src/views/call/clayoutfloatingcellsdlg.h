#pragma once

#include <memory>

#include <QList>
#include <QPointer>

#include "views/base/cbasedlg.h"
#include "views/call/clayoutgeometry.h"

namespace Ui {
class CLayoutFloatingCellsDlg;
}

namespace kd_app {
namespace views {

class CLayoutCellDlg;
class CLayoutCoverDlg;

// The small floating window beside the layout that shows the local video
// (and, in the content layouts, the remote video) as a column of small
// cells. It is dragged by its top bar or by any of its cells and hidden by
// its minimise button; the cells belong to the layout engine, the strip
// only places them.
class CLayoutFloatingCellsDlg : public CBaseDlg
{
    Q_OBJECT

public:
    explicit CLayoutFloatingCellsDlg(QWidget *parent);
    ~CLayoutFloatingCellsDlg() override;

    // From this many remote cells on, the strip also shows its bottom bar.
    void setBottomBarThreshold(int threshold);
    int getBottomBarThreshold() const { return m_nBottomBarThreshold; }
    CLayoutGeometry::StripMetrics getMetrics() const { return m_metrics; }
    // The height the strip's rule gives for its cells now.
    int computedHeight() const;

    void setHide();
    bool getHideFlag() const { return m_hideFlag; }
    void clearHideFlag();
    bool containsCell(const CLayoutCellDlg *cell) const;

    void setLocalVideoCell(CLayoutCellDlg *cell);
    CLayoutCellDlg *getLocalVideoCell() const { return m_pLocalCell; }
    void clearLocalVideoCell();
    void setRemoteVideoCells(const QList<CLayoutCellDlg *> &cells);
    int remoteCellCount() const { return m_remoteCells.size(); }
    void clearRemoteVideoCells();

    void setLayoutCoverSize();
    void setLayoutCoverPos();
    void refreshLocalVideoCellPos();
    void setTopWindow();
    void setNonTopWindow();

    CLayoutCoverDlg *getLayoutCover() const { return m_pLayoutCoverDlg; }
    // Without a compositor the strip's own cover is cut down to nothing.
    void setCompositing(bool composited);

    // While the user has hidden the strip, nothing shows it but
    // slot_FloatingCellsDlg_Show or clearHideFlag.
    void setVisible(bool visible) override;

    // The minimise button.
    void on_pBtMin_clicked();

signals:
    void signal_FloatingCellsDlg_Hide();

public slots:
    void slot_FloatingCellsDlg_Show();
    void slotDragPosChanged(QWidget *sender, int relativeX, int relativeY);

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void onDpiChanged() override;

private:
    void placeCellInStrip(CLayoutCellDlg *cell, int index);
    void followStaysOnTop(CLayoutCellDlg *cell);
    void connectDrag(CLayoutCellDlg *cell);
    void disconnectDrag(CLayoutCellDlg *cell);
    void showCellCovers();

    std::unique_ptr<Ui::CLayoutFloatingCellsDlg> ui;
    CLayoutGeometry::StripMetrics m_metrics;
    QPointer<CLayoutCellDlg> m_pLocalCell;
    QList<QPointer<CLayoutCellDlg>> m_remoteCells;
    int m_nBottomBarThreshold = 0;
    CLayoutCoverDlg *m_pLayoutCoverDlg = nullptr;
    bool m_hideFlag = false;
};

} // namespace views
} // namespace kd_app
