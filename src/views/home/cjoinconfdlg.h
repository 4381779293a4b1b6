#pragma once

#include <memory>

#include "views/base/cbasedlg.h"
#include "views/base/cdpiscaler.h"

namespace Ui {
class CJoinConfDlg;
}

namespace kd_app {
namespace views {

// The modal join dialog: a meeting number (typed, picked from the recent
// ones, or given by the caller), its password, the two switch-off choices and
// the call kind. Its join remembers the choices, sets the devices and dials.
class CJoinConfDlg : public CBaseDlg
{
    Q_OBJECT

public:
    CJoinConfDlg(const QString &number, const QString &password, bool isAudioOnly, QWidget *parent);
    ~CJoinConfDlg() override;

    void joinConf(bool isAudioOnly);

public slots:
    void slotOnVideoJoin();
    void slotOnAudioJoin();
    void slotOnLanguageChanged();

protected:
    void showEvent(QShowEvent *event) override;
    void onDpiChanged() override;

private:
    std::unique_ptr<Ui::CJoinConfDlg> ui;
    QString m_qstrNumber;
    QString m_qstrPassword;
    bool m_bIsAudioOnly = false;
    CDpiScaler m_dpiScaler;
};

} // namespace views
} // namespace kd_app
