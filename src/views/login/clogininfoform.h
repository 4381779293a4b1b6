#pragma once

#include <memory>

#include "helpers/enums.h"
#include "views/base/cbasewgt.h"

namespace kd_app {
namespace views {

struct CLoginInfoFormUi;

// The sign-in page of the login window: server, account, password and,
// under "More", port and HTTPS; it checks what was typed and hands the
// sign-in to the login manager.
class CLoginInfoForm : public CBaseWgt
{
    Q_OBJECT

public:
    explicit CLoginInfoForm(QWidget *parent);
    ~CLoginInfoForm() override;

    void refreshData();
    void updateQss(double factor);

    // The port typed into the form: 0 for none, -1 when it is not a number
    // from 1 to 65535.
    static int parsePort(const QString &text);

public slots:
    void slotOnBtnLoginClicked();
    void slotOnBtnSkipLogin(Qt::MouseButton button);
    void slotOnBtnJoinConf(Qt::MouseButton button);
    void slotOnChkBoxMore(bool checked);
    void slotOnLanguageChanged();
    void slotOnChkBoxUseHttps(bool checked);
    void slotOnLoginStatusChanged(enums::LoginStatus status);

protected:
    void showEvent(QShowEvent *event) override;
    void onDpiChanged() override;

private:
    void arrangeLinksRow();
    // The saved password as the form offers it: the customer build only
    // when the user chose to be remembered.
    static QString savedPassword();

    std::unique_ptr<CLoginInfoFormUi> m_pUi;
    bool m_bFirstShown = false;
};

} // namespace views
} // namespace kd_app
