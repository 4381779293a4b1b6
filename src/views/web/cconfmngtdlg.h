#pragma once

#include <memory>

#include "views/base/cbasedlg.h"
#include "views/base/cdpiscaler.h"
#include "views/base/cwindowmaximizer.h"

namespace Ui {
class CConfMngtDlg;
}

namespace kd_app {
namespace views {

class CWebBrowserWrapperForm;

// The in-call conference-management window: the server's conference-control
// page under a title bar with maximise, restore and close. Closing only
// asks: the window stays, emits sigClose, and the call toolbar puts it away
// and frees its page.
class CConfMngtDlg : public CBaseDlg
{
    Q_OBJECT

public:
    explicit CConfMngtDlg(QWidget *parent);
    ~CConfMngtDlg() override;

    void releasePage();
    void updatePage();

    CWebBrowserWrapperForm *pageForm() const { return m_pWebForm; }
    bool isMaximizedFlag() const { return m_maximizer.isMaximized(); }

signals:
    void sigClose();

public slots:
    void slotOnWinMax();
    void slotOnWinRestore();
    void slotOnWinClose();

protected:
    void moveEvent(QMoveEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void changeEvent(QEvent *event) override;
    void onDpiChanged() override;

private:
    std::unique_ptr<Ui::CConfMngtDlg> m_pUi;
    CDpiScaler m_scaler;
    CWebBrowserWrapperForm *m_pWebForm = nullptr;
    CWindowMaximizer m_maximizer;
};

} // namespace views
} // namespace kd_app
