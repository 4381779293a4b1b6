#pragma once

#include <memory>
#include <string>

#include "engine/kdtypes.h"
#include "views/base/cbasedlg.h"
#include "views/base/cdpiscaler.h"

namespace Ui {
class CWebreportDetailsDlg;
}

namespace kd_app {
namespace views {

// Every measurement of one network-report snapshot in a table, and the
// engine's diagnosis text for the clipboard. It shows the copies it was
// given and never asks the engine itself.
class CWebreportDetailsDlg : public CBaseDlg
{
    Q_OBJECT

public:
    CWebreportDetailsDlg(QWidget *parent, kd::engine::KDDiag diag, std::string details);
    ~CWebreportDetailsDlg() override;

public slots:
    void slotOnClose();
    void on_m_pBtnCopy_clicked();

protected:
    void showEvent(QShowEvent *event) override;
    void onDpiChanged() override;

private:
    std::unique_ptr<Ui::CWebreportDetailsDlg> m_pUi;
    CDpiScaler m_dpiScaler;
    kd::engine::KDDiag m_diag;
    std::string m_strDiag;
};

} // namespace views
} // namespace kd_app
