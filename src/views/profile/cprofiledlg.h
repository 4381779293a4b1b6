#pragma once

#include <QString>

#include "views/base/cbasedlg.h"
#include "views/base/cdpiscaler.h"

namespace kd_app {
namespace views {

// What the profile's windows share: a frameless tool window, modal to its
// window and dragged by its title bar, whose form is scaled from its design
// size and whose sheets (sheetBase and the scale's own) are taken again at
// every scale change.
class CProfileDlg : public CBaseDlg
{
    Q_OBJECT

public:
    CProfileDlg(QWidget *parent, const QString &sheetBase);

protected:
    // Once the form is set up: the part of it that drags the window.
    void setTitleBar(QWidget *titleBar);

    void showEvent(QShowEvent *event) override;
    void onDpiChanged() override;

private:
    const QString m_sheetBase;
    QWidget *m_pTitleBar = nullptr;
    CDpiScaler m_dpiScaler;
};

} // namespace views
} // namespace kd_app
