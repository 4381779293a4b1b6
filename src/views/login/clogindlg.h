#pragma once

#include <memory>

#include "helpers/enums.h"
#include "views/base/cbasedlg.h"
#include "views/base/cdpiscaler.h"

class QTimer;

namespace kd_app {
namespace helpers {
class CResourceUsageMonitor;
}
namespace views {

struct CLoginDlgUi;
class CLoginInfoForm;
class CLoginJoinConfForm;
class CLoginChangePasswordForm;

// The window of a user who is not signed in: the sign-in, guest and
// password-change pages. Shortly after it is first shown it also brings the
// engine up and runs what the start-up left pending.
class CLoginDlg : public CBaseDlg
{
    Q_OBJECT

public:
    explicit CLoginDlg(QWidget *parent);
    ~CLoginDlg() override;

    static CLoginDlg *getInstance();

    CLoginInfoForm *loginForm() const { return m_pLoginInfoForm; }
    CLoginJoinConfForm *joinConfForm() const { return m_pJoinConfForm; }
    CLoginChangePasswordForm *changePasswordForm() const { return m_pChangePasswordForm; }
    bool isLoaded() const { return m_bLoaded; }

signals:
    void sigClose();

public slots:
    void onLoginProgressChanged(enums::LoginProgress loginProgress);
    void slotOnLoginStatusChanged(enums::LoginStatus loginStatus);
    void slotOnLanguageChanged();
    void slotOnTimerDelayHandle4WinShow();

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void onDpiChanged() override;

private:
    void setLogoIcon();
    void showWaitingDlg();
    void slotOnBtnSetting();

    std::unique_ptr<CLoginDlgUi> m_pUi;
    CLoginInfoForm *m_pLoginInfoForm = nullptr;
    CLoginJoinConfForm *m_pJoinConfForm = nullptr;
    CLoginChangePasswordForm *m_pChangePasswordForm = nullptr;
    bool m_bLoaded = false;
    CDpiScaler m_dpiScaler;
    QTimer *m_pTimerDelayShow = nullptr;
    std::unique_ptr<helpers::CResourceUsageMonitor> m_pResourceMonitor;
};

} // namespace views
} // namespace kd_app
