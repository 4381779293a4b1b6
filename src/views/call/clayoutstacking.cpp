#include "clayoutstacking.h"

#include <QWidget>
#include <algorithm>

#include "views/call/clayoutcellcoverdlg.h"
#include "views/call/clayoutcelldlg.h"
#include "views/call/clayoutfloatingcellsdlg.h"

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

void CLayoutStacking::raiseOwnedOver(QWidget *window)
{
    QWidget *owner = window ? window->parentWidget() : nullptr;
    if (!owner) {
        return;
    }
    QList<QWidget *> owned;
    collectOwned(owner, owned);
    for (QWidget *widget : owned) {
        if (widget != window && !qobject_cast<CLayoutCellDlg *>(widget) &&
            !qobject_cast<CLayoutFloatingCellsDlg *>(widget)) {
            raiseTree(widget);
        }
    }
}

void CLayoutStacking::raiseOwned(QWidget *window)
{
    if (!window) {
        return;
    }
    QList<QWidget *> owned;
    collectOwned(window, owned);
    // Video first: covers, bars and panels lie over it; then the strip, which
    // floats over the video but under the windows the call opened.
    const auto rank = [](const QWidget *widget) {
        if (qobject_cast<const CLayoutCellDlg *>(widget)) {
            return 0;
        }
        return qobject_cast<const CLayoutFloatingCellsDlg *>(widget) ? 1 : 2;
    };
    std::stable_sort(owned.begin(), owned.end(),
                     [&rank](const QWidget *a, const QWidget *b) { return rank(a) < rank(b); });
    for (QWidget *widget : owned) {
        raiseTree(widget);
    }
}

} // namespace views
} // namespace kd_app
