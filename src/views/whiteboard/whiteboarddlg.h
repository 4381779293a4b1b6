#pragma once

#include <memory>

#include "views/base/cbasedlg.h"

namespace Ui {
class WhiteBoardDlg;
}

namespace kd_app {
namespace views {

class ColorWidget;
class CWhiteBoardBackgroundUpload;
class PaintListWidget;
class WhiteBoardSelectBgWidget;
class WhiteBoardTopWidget;
class WhiteBoardWebWidget;

// The web whiteboard's window during a call: the board's page, the floating
// tool menu with its colour and background pickers and, while this side
// sends the board, the sender toolbar at its top. Tool actions become
// commands of the page; the window saves snapshots of itself and stops the
// board. The layout engine shows it in a window of its own (sender, or a
// receiver of separate windows) or over the whiteboard cell of the call
// window (the embedded receiver, without title bar).
class WhiteBoardDlg : public CBaseDlg
{
    Q_OBJECT

public:
    explicit WhiteBoardDlg(QWidget *parent);
    ~WhiteBoardDlg() override;

    // Sender (true) or receiver; called before every show.
    void isSendWhiteBoard(bool send);
    bool isSender() const { return m_bIsSender; }
    // A used page is replaced by a fresh one; the next show loads it.
    void updateWebPage();
    void releaseWebPage();
    void hideTitleBar();
    // Cleared when the board is embedded in the call window's layout.
    void setIsSeperateDlg(bool separate) { m_bIsSeperateDlg = separate; }
    bool isSeperateDlg() const { return m_bIsSeperateDlg; }
    // The sender toolbar; null until the first switch to sender.
    WhiteBoardTopWidget *getTopWidget() const { return m_pTopWidget; }

    WhiteBoardWebWidget *webWidget() const { return m_pWebWidget; }
    PaintListWidget *toolMenu() const { return m_pPaintListWidget; }
    ColorWidget *colorPicker() const { return m_pColorWidget; }
    WhiteBoardSelectBgWidget *backgroundPicker() const { return m_pSelectBgWidget; }
    CWhiteBoardBackgroundUpload *backgroundUpload() const { return m_pUpload; }

    // The snapshot's file for a moment: the configured picture folder,
    // tr("WhiteBoardshot") and the local time.
    QString snapshotPath(const QDateTime &time) const;

signals:
    void sigHiddenWhiteBoard();
    void sigRefreshStatus();
    void sigClickManagerButton();
    void sigMouseMove4PaintList();

public slots:
    void slotOnWinMin();
    void slotOnWinMax();
    void slotOnWinRestore();
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
    void changePenColor();
    void changePenLineSize();
    void slotStopWhiteBoard();
    void slotShowWhiteBoardTool();
    void slotClickedBlack();
    void slotClickedWhite();
    void slotClickedSelect();
    void slotOnMouseMove4PaintList();

protected:
    void hideEvent(QHideEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void onDpiChanged() override;

private:
    void hidePickers();
    void refreshPicker();
    void paintListWidgetPos();
    void moveBoardTopWidgetPos();
    void refreshWindowStateBtns();
    double scale() const;

    std::unique_ptr<Ui::WhiteBoardDlg> ui;
    WhiteBoardWebWidget *m_pWebWidget = nullptr;
    PaintListWidget *m_pPaintListWidget = nullptr;
    ColorWidget *m_pColorWidget = nullptr;
    WhiteBoardSelectBgWidget *m_pSelectBgWidget = nullptr;
    WhiteBoardTopWidget *m_pTopWidget = nullptr;
    CWhiteBoardBackgroundUpload *m_pUpload = nullptr;
    bool m_bIsSeperateDlg = true;
    bool m_bIsSender = false;
};

} // namespace views
} // namespace kd_app
