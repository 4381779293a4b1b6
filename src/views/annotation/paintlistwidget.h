#pragma once

#include <memory>

#include <QPoint>

#include "views/base/cbasewgt.h"

namespace Ui {
class PaintListWidget;
}

class Cmenubutton;

namespace kd_app {
namespace views {

// The draggable annotation tool menu: Mouse, Pen, Marker, Eraser, Revoke,
// Background, Clear, Save and Exit, and the arrows beside Pen and Marker that
// open the colour and size picker. It keeps only which tool looks selected
// and reports each action; its owner does the drawing. It deletes itself
// when closed, so owners hold it in a QPointer.
class PaintListWidget : public CBaseWgt
{
    Q_OBJECT

public:
    explicit PaintListWidget(QWidget *parent = nullptr);
    ~PaintListWidget() override;

    void selectPenButton();
    void selectNitePenButton();
    void resetToPen();
    void setSendWhiteBoardType();
    void setReceiveWhiteBoardType();

    // x of the Pen group, the Marker group and the Background entry inside
    // the menu, as of the last scale change: owners place the pickers there.
    int m_nPenBgX = 0;
    int m_nNitePenBgX = 0;
    int m_nBgBtnX = 0;

    // Hides the picker when it was shown, else shows it beside the entry at
    // entryX: above the menu in the lower half of the desktop, else below.
    void togglePicker(QWidget *picker, int entryX, bool shown) const;

signals:
    void enabelMouse();
    void penClicked();
    void nitePenClicked();
    void eraserClicked();
    void revokeClicked();
    void bgClicked();
    void clearClicked();
    void exitClicked();
    void selectPenClicked();
    void selectNitePenClicked();
    void sigSaveClicked();
    void sigMouseMove();

public slots:
    void onBtnMouseClicked();
    void onBtnPenClicked();
    void onBtnNitePenClicked();
    void onBtnEraserClicked();
    void onBtnRevokeClicked();
    void onBtnBgClicked();
    void onBtnClearClicked();
    void onBtnExitClicked();
    void onBtnSelectPenClicked();
    void onBtnSelectNitePenClicked();
    void slotBtnSaveClicked();
    void slotOnLanguageChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void onDpiChanged() override;

private:
    // Shows one of the four tools selected and the other three not.
    void selectTool(Cmenubutton *tool);

    std::unique_ptr<Ui::PaintListWidget> m_pUi;
    bool m_bDragging = false;
    QPoint m_pressPoint;
};

} // namespace views
} // namespace kd_app
