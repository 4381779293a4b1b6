#include "cmodualdlgsmanager.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>

#include "helpers/clogformat.h"
#include "views/base/alertdlg.h"

namespace kd_app {
namespace views {

namespace {

const char ALERT_CLASS[] = "kd_app::views::AlertDlg";

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
            auto *alert = qobject_cast<AlertDlg *>(modal);
            if (alert && alert->isNonModal()) {
                alert->close();
            } else if (auto *dialog = qobject_cast<QDialog *>(modal)) {
                dialog->reject();
            } else {
                modal->close();
            }
        } else if (closed.contains(className)) {
            KD_LOG << "close:" << modal;
            modal->close();
        } else {
            return;
        }
    }
}

} // namespace views
} // namespace kd_app
