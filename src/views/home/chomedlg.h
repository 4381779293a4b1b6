#pragma once

#include "helpers/enums.h"
#include "views/cmainwindowframe.h"

class QLabel;
class QPushButton;

namespace kd_app {
namespace views {
class CJoinConfWidget;
} // namespace views
} // namespace kd_app

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
    void slotOnBtnJoinConfClicked();
    void slotOnLoginStatusChanged(enums::LoginStatus loginStatus);
    void slotOnLanguageChanged();
    void slotJoinConf(QString number, QString password, bool isAudioOnly, QString peerName);

protected:
    void showEvent(QShowEvent *event) override;
    void onDpiChanged() override;

private:
    explicit CHomeDlg(QWidget *parent);
    void slotOnBtnSignOut();
    void updateUserText();

    QLabel *m_pLblUser = nullptr;
    QPushButton *m_pBtnSignOut = nullptr;
    QPushButton *m_pBtnJoinConf = nullptr;
    // The guest's page: shown instead of the signed-in text in guest mode.
    CJoinConfWidget *m_pJoinConfWidget = nullptr;
};

} // namespace views
} // namespace kd_app
