#pragma once

// Joining a meeting of the demo organisation from the home window, as a
// user does: the join dialog opens and its video button is pressed.

#include <QApplication>
#include <QPushButton>
#include <QTimer>

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

} // namespace demojoin
