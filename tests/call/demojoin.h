#pragma once

// Joining a meeting of the demo organisation from the home window, as a
// user does: the join dialog opens and its video button is pressed. And
// the call's windows and models the tests of a joined call look at.

#include <QApplication>
#include <QPushButton>
#include <QTimer>

#include "kdsdkcontrol.h"
#include "models/ccallcontroller.h"
#include "views/call/clayoutbackgrounddlg.h"
#include "views/call/clayoutpeoplesettingdlg.h"
#include "views/home/cjoinconfdlg.h"
#include "windowstestenv.h"

namespace demojoin {

// Presses the join dialog's video button once it is open.
inline void joinWhenAsked()
{
    QTimer::singleShot(50, [] {
        auto *dialog = qobject_cast<kd_app::views::CJoinConfDlg *>(QApplication::activeModalWidget());
        if (!dialog) {
            joinWhenAsked();
            return;
        }
        child<QPushButton>(dialog, "m_pBtnVideoJoin")->click();
    });
}

inline kd_app::views::CLayoutBackgroundDlg *callWindow()
{
    return kd_app::views::CLayoutBackgroundDlg::getInstance();
}

// The call's layout engine.
inline kd_app::views::CLayoutPeopleSettingDlg *engine()
{
    return callWindow()->getLayoutPeopleSettingDlg();
}

inline kd_app::models::CCallController &calls()
{
    return kd_app::models::CCallController::getInstance();
}

inline kd::sdk::IEngineControl *control()
{
    return kd::sdk::currentEngineControl();
}

} // namespace demojoin
