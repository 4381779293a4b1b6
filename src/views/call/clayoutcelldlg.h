#pragma once

#include <memory>
#include <string>

#include <QDialog>
#include <QPointer>

namespace Ui {
class CLayoutCellDlg;
}

namespace kd_app {
namespace views {

class CLayoutCellCoverDlg;

// One video cell: a frameless top-level whose inner video widget is the
// native window the conferencing engine renders into, and the translucent
// cover that lies over it with the name bar, status icon and frame. The
// layout engine or the floating strip places it at absolute screen
// positions.
class CLayoutCellDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CLayoutCellDlg(QWidget *parent);
    ~CLayoutCellDlg() override;

    // The render window: the native id of the inner video widget.
    WId getVideoWinId();

    // The cell's offset from the origin of the layout or strip holding it.
    void setRelativePos(int x, int y);
    QPoint getRelativePos() const { return m_relativePos; }
    // Moves the cell to origin + offset, and its cover with it unless the
    // user drags the cover.
    void moveWithParent(int originX, int originY);

    void setCoverParent(QWidget *parent);
    // Whether the cover is the drag handle of a floating strip.
    void setDraggable(bool draggable);
    bool isDraggable() const { return m_bDraggable; }
    void setStaysOnTop(bool visible);
    void clearStaysOnTop();

    void setCellType(int type);
    void setIsMuted(bool muted);
    // A name as the engine gives it: UTF-8 bytes.
    void setSiteName(const std::string &name);
    void setBorderColor(const QString &color);

    CLayoutCellCoverDlg *getCover() const { return m_pCover; }

    // Without a compositor the cover is cut down to what it paints, and
    // the cell hands it the mouse that reaches the video instead.
    void setCompositing(bool composited);
    bool isCompositing() const { return m_bCompositing; }

signals:
    void sigMouseMove(QMouseEvent *event);
    void sigMousePress(QMouseEvent *event);
    void sigMouseDoubleClick(QWidget *sender, QMouseEvent *event);
    // The render window was made anew: getVideoWinId has another id.
    void sigVideoWindowChanged(CLayoutCellDlg *cell);

public slots:
    void slotOnMouseDoubleClick(QWidget *sender, QMouseEvent *event);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void enterEvent(QEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    int coverDragHeight() const;

    std::unique_ptr<Ui::CLayoutCellDlg> ui;
    QPointer<CLayoutCellCoverDlg> m_pCover;
    QPoint m_relativePos;
    bool m_bDraggable = false;
    bool m_bCompositing = true;
};

} // namespace views
} // namespace kd_app
