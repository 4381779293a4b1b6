#pragma once

#include "views/base/cbasedlg.h"

namespace kd_app {
namespace views {

// The in-call conference-management window. For now only what the call
// toolbar calls: the window that hides instead of closing, and the page
// operations it asks for when the window is shown or put away; the
// conference-control page itself is added with the web pages.
class CConfMngtDlg : public CBaseDlg
{
    Q_OBJECT

public:
    explicit CConfMngtDlg(QWidget *parent);
    ~CConfMngtDlg() override;

    void releasePage();
    void updatePage();

signals:
    void sigClose();

protected:
    void closeEvent(QCloseEvent *event) override;
};

} // namespace views
} // namespace kd_app
