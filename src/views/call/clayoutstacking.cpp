#include "clayoutstacking.h"

#include <QWidget>
#include <algorithm>

#include "views/call/clayoutcellcoverdlg.h"
#include "views/call/clayoutcelldlg.h"

namespace kd_app {
namespace views {

namespace {

// The windows that widget's children are or hold: a pop-up belongs to the
// window of the button bar that opened it, however deep the bar lies.
void collectOwned(const QWidget *widget, QList<QWidget *> &owned)
{
    for (QObject *child : widget->children()) {
        auto *childWidget = qobject_cast<QWidget *>(child);
        if (!childWidget) {
            continue;
        }
        if (childWidget->isWindow()) {
            owned << childWidget;
        } else {
            collectOwned(childWidget, owned);
        }
    }
}

} // namespace

void CLayoutStacking::raiseTree(QWidget *window)
{
    if (!window) {
        return;
    }
    // A hidden owner may still own shown windows: the strip under a toolbar
    // that hid itself.
    if (window->isWindow() && window->isVisible()) {
        window->raise();
    }
    raiseOwned(window);
}

void CLayoutStacking::raiseOwned(QWidget *window)
{
    if (!window) {
        return;
    }
    QList<QWidget *> owned;
    collectOwned(window, owned);
    // Video first: covers, bars and panels lie over it.
    std::stable_partition(owned.begin(), owned.end(),
                          [](QWidget *widget) { return qobject_cast<CLayoutCellDlg *>(widget) != nullptr; });
    for (QWidget *widget : owned) {
        raiseTree(widget);
    }
}

} // namespace views
} // namespace kd_app
