#pragma once

#include "helpers/enums.h"
#include "views/cmainwindowframe.h"

class QLabel;
class QPushButton;

namespace kd_app {
namespace views {

// The main window of a signed-in user (or one who skipped signing in) while
// no call runs: who is signed in, and the way out.
class CHomeDlg : public CMainWindowFrame
{
    Q_OBJECT

public:
    static CHomeDlg *getInstance();
    ~CHomeDlg() override;

    void updateWebPages();
    void stopWebPages();

public slots:
    void slotOnLoginStatusChanged(enums::LoginStatus loginStatus);
    void slotOnLanguageChanged();

protected:
    void showEvent(QShowEvent *event) override;

private:
    explicit CHomeDlg(QWidget *parent);
    void slotOnBtnSignOut();
    void updateUserText();

    QLabel *m_pLblUser = nullptr;
    QPushButton *m_pBtnSignOut = nullptr;
};

} // namespace views
} // namespace kd_app
