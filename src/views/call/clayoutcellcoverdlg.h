#pragma once

#include <memory>

#include <QRegion>
#include <QString>

#include "views/base/cbasedlg.h"
#include "views/base/cdpiscaler.h"

namespace Ui {
class CLayoutCellCoverDlg;
}

namespace kd_app {
namespace views {

// The translucent window that lies exactly over one video cell: it carries
// the cell's name bar, its status icon (muted microphone or content sender),
// its coloured frame and its mouse input, since the video window below
// paints over anything drawn in it. Without a compositor it is cut down to
// what it paints, and its cell hands it the mouse.
class CLayoutCellCoverDlg : public CBaseDlg
{
    Q_OBJECT

public:
    enum CellType {
        CellType_People = 0,
        CellType_Content = 1,
        CellType_Local = 2,
    };

    explicit CLayoutCellCoverDlg(QWidget *parent);
    ~CLayoutCellCoverDlg() override;

    void setCellType(int type);
    int getCellType() const { return m_nCellType; }
    void setIsMuted(bool muted);
    bool isMuted() const { return m_bIsMuted; }
    void setSiteName(const QString &name);
    // The whole text of the name bar (before elision).
    QString getSiteNameText() const { return m_qstrSiteName; }
    void setBorderColor(const QString &color);
    QString getBorderColor() const { return m_qstrBorderColor; }
    // Whether the name bar hides itself when the pointer leaves (true by default).
    void setAutoHideTitleBar(bool autoHide) { m_bAutoHideTitleBar = autoHide; }

    // The band from the cover's top in which a press starts a drag.
    void setDragHeight(int height) { m_nTitleHeight = height; }
    int getDragHeight() const { return m_nTitleHeight; }
    // A drag of this cover is on and has moved it.
    bool isBeingDragged() const { return m_bDrag && m_bMoving; }

    // Follow the cell: stay on top (shown or hidden as given) or not.
    void setStaysOnTop(bool visible);
    void clearStaysOnTop();

    // With a compositor the cover blends over the video; without one it is
    // cut down to paintedRegion().
    void setCompositing(bool composited);
    bool isCompositing() const { return m_bCompositing; }
    // What the cover paints: its frame and its name bar while shown.
    QRegion paintedRegion();

    void refreshSiteNameLabel();
    void refreshTitleBarVisibility();

signals:
    void sigMouseMove(QMouseEvent *event);
    void sigMousePress(QMouseEvent *event);
    void sigMouseDoubleClick(QWidget *sender, QMouseEvent *event);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void enterEvent(QEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void onDpiChanged() override;

private:
    void setTitleBarVisible(bool visible);
    void applyStatusIcon();
    void applyShape();
    double scale() const;

    std::unique_ptr<Ui::CLayoutCellCoverDlg> ui;
    CDpiScaler m_dpiScaler;
    QString m_qstrBorderColor;
    QString m_qstrSiteName;
    bool m_bIsMuted = false;
    bool m_bAutoHideTitleBar = true;
    int m_nCellType = CellType_People;
    bool m_bCompositing = true;
};

} // namespace views
} // namespace kd_app
