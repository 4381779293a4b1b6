#pragma once

#include <QDateTime>
#include <functional>
#include <memory>
#include <QPoint>
#include <QPointer>
#include <QTimer>

#include "engine/kdtypes.h"
#include "helpers/enums.h"
#include "models/structs.h"
#include "views/base/cbasedlg.h"
#include "views/call/clayoutgeometry.h"
#include "views/call/ctoolbargesture.h"
#include "views/call/ilayouttoolbar.h"

class QMouseEvent;

namespace kd_app {
class CStackingWatcher;
namespace models {
class ScreenThread;
}
namespace views {

class CAudioModeWidget;
class CbackgroundWidget;
class CLayoutCellDlg;
class CLayoutCoverDlg;
class CLayoutFloatingCellsDlg;
class CMediaStatisticsDlg;
class CPromptWidget;
class CRemoteContentDlg;
class WhiteBoard;
class WhiteBoardDlg;

// The video layout engine of the call window. The frame makes it the child
// that fills its client area and tells it where the frame lies on the
// screen; the engine owns every window that shows video during a call,
// decides the layout mode, lays the cells out and reacts to the call and
// content states, the user's gestures and the engine's warnings. The cells,
// covers, strip, toolbar and audio panel are separate frameless top-level
// windows, placed at absolute screen positions; the native windows of the
// cells' video widgets are the conferencing engine's render windows.
class CLayoutPeopleSettingDlg : public CBaseDlg
{
    Q_OBJECT

public:
    explicit CLayoutPeopleSettingDlg(QWidget *parent);
    ~CLayoutPeopleSettingDlg() override;

    // What the frame calls.
    void setRemoteVideoWindows();
    void setEventFilter(QObject *filter);
    void setSharedScreenIndex(int index);
    int sharedScreenIndex() const { return m_nSharedScreenIndex; }
    void setTitleBarHeight(int height);
    void onParentMoved(int x, int y);
    void onParentResized(QRect rectParentGeometry);
    void onParentMinimized();
    void initFloatingDlgPos();
    void setLayoutModeAndRedraw();
    void setCompactMode(bool flag);
    void showMediaStatisticsDlg();
    // The toolbar's window; null while the program has no toolbar to give.
    QWidget *getToolbarDlg() const { return m_pToolbarWnd; }
    ILayoutToolbar *getToolbar() const { return m_pToolbarWnd ? m_pToolbar : nullptr; }

    // Makes the toolbar each new engine lays over its video.
    using ToolbarFactory = std::function<ILayoutToolbar *()>;
    static void setToolbarFactory(ToolbarFactory factory);
    // The screen-drawing window while the local side shares its screen.
    CbackgroundWidget *getScreenDrawingWidget() const;

    // The layout.
    void calculateLayoutSize(enums::LayoutModeType mode);
    void redrawLayout(enums::LayoutModeType mode);
    void setUiLayoutMode();
    void refreshLayoutCellsPos();
    void placeCell(CLayoutCellDlg *cell, int x, int y, int w, int h);
    void drawLayout4NormalPeopleMode();
    void drawTiledLayout(enums::LayoutModeType mode);
    void drawFloatingPeopleLayout(enums::LayoutModeType mode);
    void drawLayoutAudioOnlyMode();
    void setLocalVideo2FloatingAndShow(QWidget *pFloatingParent);
    void setIsLocalRemoteMuted(bool muted);

    // Gestures and prompts.
    void showToolbar();
    // The toolbar's time before it hides; tests shorten it.
    void setToolbarHideInterval(int milliseconds);
    const QTimer &toolbarHideTimer() const { return m_timerHideToolbar; }
    bool createPromptWidget(const QString &text, int durationMs);

    enums::LayoutModeType getLayoutMode() const { return m_layoutMode; }
    bool isCompactMode() const { return m_bCompact; }
    int titleBarHeight() const { return m_nTitleBarHeight; }
    QPoint parentPosition() const { return m_parentPos; }
    CLayoutGeometry::LayoutSize getLayoutSize() const { return m_layoutSize; }
    QPoint getLayoutOrigin() const { return m_layoutOrigin; }
    // Whether the covers blend over the video (a compositor runs) or are cut
    // down to what they paint; decided at each connect.
    bool isCompositing() const { return m_bCompositing; }

    CLayoutCellDlg *getRemoteCell() const { return m_pRemoteCell; }
    CLayoutCellDlg *getLocalCell() const { return m_pLocalCell; }
    CLayoutCellDlg *getContentCell() const { return m_pContentCell; }
    CLayoutCellDlg *getWhiteBoardCell() const { return m_pRemoteWhiteBoardCell; }
    CLayoutCoverDlg *getLayoutCover() const { return m_pLayoutCoverDlg; }
    CLayoutFloatingCellsDlg *getFloatingCellsDlg() const { return m_pFloatingCellsDlg; }
    CAudioModeWidget *getAudioWidget() const { return m_pAudioWidget; }
    CPromptWidget *getPromptWidget() const;
    CMediaStatisticsDlg *mediaStatisticsDlg() const;
    CRemoteContentDlg *getRemoteContentDlg() const;
    WhiteBoardDlg *getWhiteBoardDlg() const;
    WhiteBoardDlg *getWhiteBoardDlgForLayout() const;
    WhiteBoard *getScreenDrawingBackground() const;
    models::ScreenThread *getScreenThread() const { return m_pScreenThread; }

    // The longest the destruction waits for the whiteboard's capture thread.
    static constexpr unsigned long CAPTURE_STOP_TIMEOUT_MS = 3000;
    static constexpr int TOOLBAR_HIDE_MS = 5000;

signals:
    void sigSwitchFullScreen();
    void sigFullScreenButtonVisible(bool nflag);

public slots:
    void slotOnJudgeMicAndCameraStatus();
    void slotOnChangeLayoutMode(enums::LayoutModeType layoutMode);
    void slotOnCallStatusChanged(enums::CallStatus callStatus);
    void slotOnCallStateChanged();
    void slotOnContentStreamStatusChanged(structs::CContentStreamInfo info);
    void slotOnIsLocalMicEnabled(bool isLocalMicEnabled);
    void slogOnSettingWinClosed();
    void slotOnOpenManagerWindow();
    void slotOnHangUp();
    void slotOnMediaStatisticsDlgClosed();
    void slotOnHiddenWhiteBoard();
    void slotOnScreenDrawingClosed();
    void slotOnScreenBgChange();
    void slotOnscreenStopDraw();

    void slotOnTimerHideToolbar();
    void slotOnCellCoverMouseMove(QMouseEvent *event);
    void slotOnCellCoverMousePress(QMouseEvent *event);
    void slotOnCellMouseDoubleClick(QWidget *sender, QMouseEvent *event);
    void slotOnMouseMove4WhiteBoardDlgForLayoutPaintList();
    void slotOnContent(kd::engine::KDContentInfo info);
    void slotOnMicMutedShow(bool mic_muted);
    void slotOnMuteSpeakingDetected();
    void slotOnRequestSpeak();
    void slotOnVideoMutedShow(int video_muted);
    void slotOnCurrentDeviceChanged(kd::engine::KDDevice device);
    void slotOnWarn(kd::engine::KDWarn warn);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void onDpiChanged() override;

private:
    void initWidgets();
    void initConnections();
    void connectCell(CLayoutCellDlg *cell, bool doubleClick);
    QWidget *stripParent() const;
    // Where the engine's top-left corner lies on the screen.
    QPoint engineScreenPos() const;
    void placeCellAt(CLayoutCellDlg *cell, const QRect &rect);
    CLayoutCellDlg *ensureContentCell();
    void ensureWhiteBoardDlg();
    void setLocalVideoWindow();
    void onSizeChanged();
    void setRemoteContentWindow();
    void applyCompositing();
    void closeScreenDrawing();
    void hideWhiteBoardDlg();
    void hideWhiteBoardDlgForLayout();
    void placeWhiteBoardDlgForLayout();
    void createWhiteBoardDlgForLayout();
    void showScreenDrawing();
    void startWhiteBoardSending();
    void stopToolbarUnlessPopup();
    void raiseLayoutWindows();
    void showNoMicAlert();
    void askUnmute();
    bool isToolbarBusy() const;
    bool isPointerOverToolbar() const;
    void keepStripClearOfToolbar();
    // The windows that host content sent from here, while they still exist.
    QWidget *sendingWindowOfMode() const;
    CLayoutCellDlg *newCell(int type);
    void onFrameRestacked();
    void onWhiteBoardRestacked();
    void onVideoWindowChanged(CLayoutCellDlg *cell);

    CLayoutCellDlg *m_pRemoteCell = nullptr;
    CLayoutCellDlg *m_pLocalCell = nullptr;
    CLayoutCoverDlg *m_pLayoutCoverDlg = nullptr;
    ILayoutToolbar *m_pToolbar = nullptr;
    QPointer<QWidget> m_pToolbarWnd;
    CLayoutFloatingCellsDlg *m_pFloatingCellsDlg = nullptr;
    CAudioModeWidget *m_pAudioWidget = nullptr;
    CLayoutCellDlg *m_pContentCell = nullptr;
    CLayoutCellDlg *m_pRemoteWhiteBoardCell = nullptr;
    QPointer<CPromptWidget> m_pPromptWidget;
    QPointer<CMediaStatisticsDlg> m_pMediaStatisticsDlg;
    QPointer<CRemoteContentDlg> m_pRemoteContentDlg;
    QPointer<WhiteBoardDlg> m_whiteBoardDlg;
    QPointer<WhiteBoardDlg> m_whiteBoardDlgForLayout;
    // Deleted by closeScreenDrawing; a call that ends while sharing leaves
    // the mode that names them behind.
    QPointer<CbackgroundWidget> m_bgWidget;
    QPointer<WhiteBoard> m_wbWidget;
    models::ScreenThread *m_pScreenThread = nullptr;
    QPointer<QObject> m_pEventFilter;
    // The layout's windows are top-levels of their own: whatever brings the
    // frame forward would bury them under it, so they follow it up.
    std::unique_ptr<CStackingWatcher> m_pFrameStacking;
    // The whiteboard window's own floating windows follow it up the same way.
    std::unique_ptr<CStackingWatcher> m_pWhiteBoardStacking;

    enums::LayoutModeType m_layoutMode = enums::LayoutMode_People;
    CLayoutGeometry::LayoutSize m_layoutSize;
    QPoint m_layoutOrigin;
    QPoint m_parentPos;
    int m_nTitleBarHeight = 0;
    QTimer m_timerHideToolbar;
    CToolbarGesture m_gesture{QDateTime::currentMSecsSinceEpoch()};
    bool m_bIsLocalRemoteMuted = false;
    bool m_bSeperateWindow4RemoteContent = false;
    bool m_bCompact = false;
    bool m_bStripHiddenBeforeCompact = false;
    bool m_bFirstShowFloating = true;
    bool m_bAlertOpen = false;
    bool m_bCompositing = true;
    int m_nSharedScreenIndex = 0;
};

} // namespace views
} // namespace kd_app
