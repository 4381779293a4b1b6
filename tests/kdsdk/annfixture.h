#pragma once

// The model engine with one server, conf.example, and its user Ann, whom the
// engine's tests sign in and call with.

#include <QSignalSpy>
#include <QtTest>

#include "kdsdkcontrol.h"
#include "models/ckdsdkmanager.h"

namespace annfixture {

inline void addServerAndAnn(kd::sdk::IEngineControl *control)
{
    kd::sdk::KDModelServer server;
    server.address = "conf.example";
    control->addServer(server);
    kd::sdk::KDModelAccount ann;
    ann.username = "ann";
    ann.password = "Ann-pass1";
    ann.displayName = "Ann Lee";
    ann.userId = 7;
    control->addAccount(ann);
}

inline bool signInAnn(kd_app::models::CKDSdkManager *manager)
{
    QSignalSpy registered(manager, &kd_app::models::CKDSdkManager::eventRegisterInfo);
    if (!manager->avlogin("conf.example", 443, "ann", manager->encryptPassword(1, "Ann-pass1").c_str())) {
        return false;
    }
    return QTest::qWaitFor([&registered] { return registered.count() == 1; }, 5000);
}

inline bool connectCall(kd_app::models::CKDSdkManager *manager, const char *number)
{
    QSignalSpy connected(manager, &kd_app::models::CKDSdkManager::eventCallConnected);
    if (!manager->dialOut(number, true)) {
        return false;
    }
    return QTest::qWaitFor([&connected] { return connected.count() == 1; }, 5000);
}

} // namespace annfixture
