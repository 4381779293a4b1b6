#pragma once

#include <memory>

#include <QPair>
#include <QPoint>
#include <QSet>
#include <QString>

#include "engine/kdtypes.h"
#include "helpers/enums.h"
#include "views/base/cbasedlg.h"
#include "views/base/cdpiscaler.h"
#include "views/base/cwindowmaximizer.h"

class QTimer;

namespace Ui {
class CHomeDlg;
}

namespace kd_app {
namespace views {

class CConferencesWidget;
class CContactsWidget;
class CEmptyForm;
class CJoinConfWidget;
class CSettingsForm;
class CWebBrowserWrapperForm;

// The main window while signed in (or in as a guest) and no call runs: the
// dark operation bar with avatar, menu, registration state and the guest's
// "Exit"; the title bar with "Join a Meeting"; and the pages the menu picks:
// the join page and settings for a guest, the meetings, contacts and
// settings pages for an account (native ones, or the server's web pages on a
// "CCM" server). The window manager shows and hides it.
class CHomeDlg : public CBaseDlg
{
    Q_OBJECT

public:
    static CHomeDlg *getInstance();
    ~CHomeDlg() override;

    void updateWebPages();
    void stopWebPages();
    // Right of the operation bar and below the title bar, on the screen.
    QPoint getContentTopLeft() const;
    bool isMaximizedFlag() const { return m_maximizer.isMaximized(); }

    // What tests and the window manager read.
    QWidget *currentPage() const;
    int pageCount() const;
    CConferencesWidget *conferencesPage() const { return m_pConferencesWidget.get(); }
    CContactsWidget *contactsPage() const { return m_pContactsWidget.get(); }
    CSettingsForm *settingsPage() const { return m_pSettingsForm.get(); }
    CJoinConfWidget *joinPage() const { return m_pJoinConfWidget.get(); }
    CWebBrowserWrapperForm *webMeetingsPage() const { return m_pWebMeetingsPage.get(); }
    CWebBrowserWrapperForm *webContactsPage() const { return m_pWebContactsPage.get(); }

signals:
    void sigClose();

public slots:
    void slotOnBtnJoinConfClicked();
    void slotOnLoginStatusChanged(enums::LoginStatus loginStatus);
    void slotOnAvatarDownloadedOk();
    void slotOnDisplayNameChanged();
    void slotOnWinMin();
    void slotOnWinMax();
    void slotOnWinRestore();
    void slotOnClose();
    void slotOnAvatarClicked(Qt::MouseButton mouseButton);
    void slotOnRegisterInfoChanged(kd::engine::KDRegisterInfo info);
    void slotOnLogout();
    void slotOnLanguageChanged();
    void slotJoinConf(QString number, QString password, bool isAudioOnly, QString peerName);
    void slotP2pCall(QString number, QString password, bool isAudioOnly, QString peerName);
    void slotOnCallStatusChanged(enums::CallStatus callStatus);
    void slotOnTimerShowContent();
    void slotOnTimerDelayHandle4WinShow();
    void slot_ucmapi_error(int errorCode, QString errorInfo);
    void slot_contentsPageChanged(int index);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    void onDpiChanged() override;

private:
    explicit CHomeDlg(QWidget *parent);

    void initConnections();
    void initMenu();
    void retranslateMenu();
    void updateMenuIcons();
    void initContentPages();
    void setContentPages(const QList<QWidget *> &pages);
    void showPage(int index);
    void setOnlineStatus(bool online);
    void updateStatusIcon();
    void updateAvatar();
    void forceLogout();
    void forgetSignedOutAccount();
    void restoreFromMaximized();

    // The server's web pages ("CCM" servers).
    std::unique_ptr<CWebBrowserWrapperForm> createWebPage(int pageType);
    void webPageUpdateDpi(CWebBrowserWrapperForm *page, double scale);

    std::unique_ptr<Ui::CHomeDlg> m_pUi;
    bool m_bFirstShown = false;
    std::unique_ptr<CSettingsForm> m_pSettingsForm;
    std::unique_ptr<CWebBrowserWrapperForm> m_pWebMeetingsPage;
    std::unique_ptr<CWebBrowserWrapperForm> m_pWebContactsPage;
    std::unique_ptr<CEmptyForm> m_pEmptyForm;
    std::unique_ptr<CContactsWidget> m_pContactsWidget;
    std::unique_ptr<CConferencesWidget> m_pConferencesWidget;
    std::unique_ptr<CJoinConfWidget> m_pJoinConfWidget;
    CWindowMaximizer m_maximizer;
    CDpiScaler m_scaler;
    std::unique_ptr<QTimer> m_pShowContentTimer;
    QTimer *m_pDelayedShowTimer = nullptr;
    int m_nPreviousPage = -1;
    bool m_bDragging = false;
    QPoint m_dragOffset;
    // REST errors whose box is open now: a repeat is only logged.
    QSet<QPair<int, QString>> m_openErrorBoxes;
};

} // namespace views
} // namespace kd_app
