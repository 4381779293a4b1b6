#pragma once

#include <memory>

#include <QElapsedTimer>
#include <QRect>

#include "engine/kdtypes.h"
#include "helpers/enums.h"
#include "views/base/cbasedlg.h"
#include "views/base/cwindowmaximizer.h"

class QScreen;
class QTimer;

namespace Ui {
class CLayoutBackgroundDlg;
}

namespace kd_app {
namespace views {

class CallInviteWidget;
class CallWaitingWidget;
class CbackgroundWidget;
class CEventFilter;
class CLayoutPeopleSettingDlg;
class CompactWidget;

// The window of a running call: its own title bar (network rating,
// encryption, duration, meeting, window buttons), the video layout engine
// below it, the incoming-call and waiting panels laid over it, and the three
// window modes of a call: normal (with its own maximise), compact (a small
// window above all others) and full screen.
class CLayoutBackgroundDlg : public CBaseDlg
{
    Q_OBJECT

public:
    static CLayoutBackgroundDlg *getInstance();
    // The call window if it was built, without building it: it brings up a
    // layout engine of its own, which then hears every call event.
    static CLayoutBackgroundDlg *existingInstance();
    explicit CLayoutBackgroundDlg(QWidget *parent);
    ~CLayoutBackgroundDlg() override;

    // The engine's screen-drawing window while the local side draws on its
    // screen, else null.
    CbackgroundWidget *getScreenDrawingWidget() const;
    CLayoutPeopleSettingDlg *getLayoutPeopleSettingDlg() const { return m_pLayoutPeopleSettingDlg; }
    CallWaitingWidget *getCallWaitingWidget() const { return m_pCallWaitingWidget; }
    CallInviteWidget *getCallInviteWidget() const { return m_pCallInviteWidget; }
    CompactWidget *getCompactWidget() const { return m_pCompactWidget; }
    CEventFilter *getEventFilter() const { return m_pEventFilter.get(); }

    bool isMaximizedFlag() const { return m_maximizer.isMaximized(); }
    bool isFullScreenFlag() const { return m_bFullScreen; }
    bool isCompactMode() const { return m_bCompact; }
    int getNetworkQuality() const { return m_nNetworkQuality; }
    int titleBarHeight() const;

    void setCompactMode(bool flag);
    void setNetworkQuality(int iQualityRating);

    // "hh:mm:ss" of a call that has lasted that many seconds; the hours grow
    // past two digits.
    static QString formatCallDuration(qint64 seconds);
    // The meeting as the window may show it: a dial string's password is cut.
    static QString numberWithoutPassword(const QString &number);

signals:
    void sigClose();

public slots:
    void slotOnCallStatusChanged(kd_app::enums::CallStatus callStatus);
    void slotOnCallIncoming(kd::engine::KDCallInfo info);
    void slotOnWaitQueue(int queueSize);
    void slotOnWinMin();
    void slotOnWinMax();
    void slotOnWinRestore();
    void slotOnWinFullScreen();
    void slotOnWinFullScreenExit();
    void slotOnNetworkQuality(float fQualityRating);
    void slotOnTimerRefreshCallDuration();
    void slotOnNetworkQualityClicked();
    void slotOnLanguageChanged();
    void slotOnCallWaitingWidgetHangUp();
    void slotOnAcceptCall(bool bIsAudioOnly);
    void slotOncallInviteHangup();
    void slotOnSwitchFullScreen();
    void slotFullScreenButtonVisible(bool nflag);
    void slotOnCompactBtnMinClicked();
    void slotOnCompactBtnRecoverClicked();

protected:
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void onDpiChanged() override;

private:
    void initChildWindows();
    void initConnections();
    void updateDpiSizes();
    void refreshWindowStateBtns();
    void updatePos4LayoutPeopleDlg();
    void onCallConnected();
    void startCallDurationTimer();
    void updatEncryptionStats();
    void setEncrypted(bool encrypted);
    void placeOverlay(QWidget *panel);
    void placeVisibleOverlays();
    void tellEngineGeometry();
    void showWindowButtons();
    void setInfoVisible(bool visible);
    void enterCompactMode(const QScreen *screen);
    void leaveCompactMode();
    QRect compactGeometry(const QScreen *screen) const;
    double scale() const;
    bool isCallConnected() const;
    QString currentNumberText() const;

    std::unique_ptr<Ui::CLayoutBackgroundDlg> m_pUi;
    int m_nNetworkQuality = 0;
    std::unique_ptr<QTimer> m_pCallDurationTimer;
    // Monotonic, so that a change of the wall clock never shows in the duration.
    QElapsedTimer m_callClock;
    CLayoutPeopleSettingDlg *m_pLayoutPeopleSettingDlg = nullptr;
    CallWaitingWidget *m_pCallWaitingWidget = nullptr;
    CallInviteWidget *m_pCallInviteWidget = nullptr;
    CompactWidget *m_pCompactWidget = nullptr;
    // The geometry saved by maximise and the maximised flag.
    CWindowMaximizer m_maximizer;
    QRect m_geometryBeforeFullScreen;
    bool m_bFullScreen = false;
    std::unique_ptr<CEventFilter> m_pEventFilter;
    bool m_bCompact = false;
    bool m_bEncrypted = false;
};

} // namespace views
} // namespace kd_app
