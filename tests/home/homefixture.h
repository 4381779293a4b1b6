#pragma once

// The program's windows on our engine's HTTP backend against a local
// conference server: the login window's start-up as the program runs it
// (engine up, window manager connected), then signing in as the user of a
// seed, as the login form would.

#include <memory>

#include <QFile>
#include <QtTest>

#include "cconfserver.h"
#include "cconfstore.h"
#include "models/ccallcontroller.h"
#include "models/cloginmanager.h"
#include "models/cucmapimanager.h"
#include "windowstestenv.h"

// A seed of the local server's own folder, e.g. "demo.json".
inline QByteArray serverSeed(const char *name)
{
    QFile file(QStringLiteral(CONFSERVER_SOURCE_DIR "/seed/") + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class CHomeFixture
{
public:
    bool start(const QByteArray &seed)
    {
        if (!m_store.loadSeed(seed)) {
            return false;
        }
        m_server = std::make_unique<confserver::CConfServer>(m_store);
        return m_server->start() && m_env.start();
    }

    // Signs the previous account out, gives the server this seed and signs in.
    bool signIn(const QString &account, const QString &password, const QByteArray &seed = QByteArray())
    {
        signOut();
        if (!seed.isEmpty() && !m_store.loadSeed(seed)) {
            return false;
        }
        kd_app::models::CLoginManager &login = kd_app::models::CLoginManager::getInstance();
        if (!login.login(QStringLiteral("127.0.0.1"), false, m_server->port(), account, password)) {
            return false;
        }
        return QTest::qWaitFor([&login] { return login.getLoginStatus() == kd_app::enums::LoggedIn; }, 10000);
    }

    void signOut()
    {
        kd_app::models::CCallController &calls = kd_app::models::CCallController::getInstance();
        if (calls.getCallStatus() != kd_app::enums::Idle && calls.getCallStatus() != kd_app::enums::Ended) {
            calls.hangUp();
            // A call that does not end is left to the sign-out below.
            (void)QTest::qWaitFor([&calls] { return calls.getCallStatus() == kd_app::enums::Ended; }, 5000);
        }
        kd_app::models::CLoginManager &login = kd_app::models::CLoginManager::getInstance();
        if (login.getLoginStatus() != kd_app::enums::NotLogin) {
            login.logout();
        }
    }

    confserver::CConfStore &store() { return m_store; }
    confserver::CConfServer &server() { return *m_server; }

private:
    confserver::CConfStore m_store;
    std::unique_ptr<confserver::CConfServer> m_server;
    CWindowsTestEnv m_env;
};
