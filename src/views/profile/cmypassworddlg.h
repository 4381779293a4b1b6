#pragma once

#include <memory>

#include "views/profile/cprofiledlg.h"

namespace Ui {
class CMyPasswordDlg;
}

namespace kd_app {
namespace views {

// Changes the signed-in user's password: the old one, the new one and its
// confirmation, checked here (against the server's policy on "CCM" servers,
// a fixed format elsewhere) before the engine is asked.
class CMyPasswordDlg : public CProfileDlg
{
    Q_OBJECT

public:
    explicit CMyPasswordDlg(QWidget *parent);
    ~CMyPasswordDlg() override;

public slots:
    void on_m_pBtnOK_clicked();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void refuse(const QString &text);

    std::unique_ptr<Ui::CMyPasswordDlg> ui;
};

} // namespace views
} // namespace kd_app
