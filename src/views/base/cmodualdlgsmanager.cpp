#include "cmodualdlgsmanager.h"

#include <algorithm>

#include <QApplication>
#include <QDialog>
#include <QPointer>

#include "helpers/clogformat.h"
#include "views/base/alertdlg.h"

namespace kd_app {
namespace views {

namespace {

const char ALERT_CLASS[] = "kd_app::views::AlertDlg";

bool isListed(const QWidget *window, const QStringList &rejected, const QStringList &closed)
{
    const QString className = QString::fromLatin1(window->metaObject()->className());
    return rejected.contains(className) || closed.contains(className);
}

// Whether a dialog to be ended waits under the top one, which is not.
bool listedModalBeneath(const QWidget *top, const QStringList &rejected, const QStringList &closed)
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    return std::any_of(windows.begin(), windows.end(), [&](const QWidget *window) {
        return window != top && window->isVisible() && window->windowModality() != Qt::NonModal &&
               isListed(window, rejected, closed);
    });
}

void endDialog(QWidget *modal)
{
    auto *alert = qobject_cast<AlertDlg *>(modal);
    if (alert && alert->isNonModal()) {
        alert->close();
    } else if (auto *dialog = qobject_cast<QDialog *>(modal)) {
        dialog->reject();
    } else {
        modal->close();
    }
}

} // namespace

QStringList CModualDlgsManager::rejectedClasses(bool onlyAlerts)
{
    QStringList classes;
    if (!onlyAlerts) {
        classes << "kd_app::views::CMyHeadpicDlg"
                << "kd_app::views::CMyPasswordDlg" << ALERT_CLASS << "kd_app::views::CMyInfoDlg"
                << "kd_app::views::CJoinConfDlg";
    }
    classes << ALERT_CLASS;
    return classes;
}

QStringList CModualDlgsManager::closedClasses(bool onlyAlerts)
{
    if (onlyAlerts) {
        return {};
    }
    return {"kd_app::views::CSelectShareContent", "kd_app::views::CDTMFDlg"};
}

void CModualDlgsManager::closeAllModualDlgs(bool onlyAlerts)
{
    const QStringList rejected = rejectedClasses(onlyAlerts);
    const QStringList closed = closedClasses(onlyAlerts);
    QPointer<QWidget> previous;
    while (QWidget *modal = QApplication::activeModalWidget()) {
        // A dialog that refuses to go away would otherwise be found again
        // and again; leave it and everything beneath it alone.
        if (modal == previous) {
            KD_WARN << "Modal dialog did not end:" << modal;
            return;
        }
        previous = modal;
        const QString className = QString::fromLatin1(modal->metaObject()->className());
        if (rejected.contains(className)) {
            KD_LOG << "reject:" << modal;
            endDialog(modal);
        } else if (closed.contains(className)) {
            KD_LOG << "close:" << modal;
            modal->close();
        } else if (!onlyAlerts && listedModalBeneath(modal, rejected, closed)) {
            // A dialog one of ours opened (a file dialog over the avatar
            // dialog): ours cannot end while it stays on top of them.
            KD_LOG << "end the dialog over ours:" << modal;
            endDialog(modal);
        } else {
            return;
        }
    }
}

} // namespace views
} // namespace kd_app
