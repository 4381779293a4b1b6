#pragma once

// The profile dialogs on our engine's account model: two servers, one of
// the "CCM" kind, one that does not let users change their passwords, and
// the accounts the tests sign in with.

#include <functional>
#include <memory>

#include <QApplication>
#include <QPointer>
#include <QTimer>

#include "clientfixture.h"

namespace profile {

const char kUcmServer[] = "conf.parvela.test";
const char kCcmServer[] = "ccm.parvela.test";
const char kLockedServer[] = "locked.parvela.test";

inline void addModel(kd::sdk::IEngineControl *control)
{
    kd::sdk::KDModelServer ucm;
    ucm.address = kUcmServer;
    ucm.appServerType = "UCM";
    control->addServer(ucm);
    kd::sdk::KDModelServer ccm;
    ccm.address = kCcmServer;
    ccm.appServerType = "CCM";
    control->addServer(ccm);
    kd::sdk::KDModelServer locked;
    locked.address = kLockedServer;
    locked.appServerType = "UCM";
    locked.enableChangePassword = false;
    control->addServer(locked);

    kd::sdk::KDModelAccount ann = fixture::account("ann", "Ann2026!x", "安娜 Ann", 7);
    ann.org = "Example 示例";
    ann.email = "ann@conf.example";
    control->addAccount(ann);
}

// Signs in on one of the model's servers; true when signed in.
inline bool signIn(kd::sdk::IEngineControl *control, const char *server, const QString &user, const QString &password)
{
    fixture::CLoginManager &login = fixture::CLoginManager::getInstance();
    if (!login.login(QString::fromLatin1(server), false, 0, user, password)) {
        return false;
    }
    if (!QTest::qWaitFor([&login] { return login.getLoginStatus() != fixture::enums::LoggingIn; }, 5000)) {
        return false;
    }
    fixture::settle(control);
    return login.getLoginStatus() == fixture::enums::LoggedIn;
}

// A new dialog of class T, shown and exposed; null when it did not show.
template <typename T> std::unique_ptr<T> shownDialog()
{
    auto dialog = std::make_unique<T>(nullptr);
    dialog->show();
    if (!QTest::qWaitForWindowExposed(dialog.get())) {
        return nullptr;
    }
    return dialog;
}

// Runs check on the modal dialog that the next action opens above `below`
// (none: above nothing), then closes it; records its class name.
class CModalProbe : public QObject
{
public:
    explicit CModalProbe(const QWidget *below, std::function<void(QWidget *)> check = {})
        : m_below(below), m_check(std::move(check))
    {
        QTimer::singleShot(0, this, [this] { poll(); });
    }

    QString className() const { return m_className; }

private:
    void poll()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || modal == m_below) {
            if (++m_attempts < 500) {
                QTimer::singleShot(10, this, [this] { poll(); });
            }
            return;
        }
        m_className = QString::fromLatin1(modal->metaObject()->className());
        if (m_check) {
            m_check(modal);
        }
        modal->close();
    }

    QPointer<const QWidget> m_below;
    std::function<void(QWidget *)> m_check;
    QString m_className;
    int m_attempts = 0;
};

} // namespace profile
