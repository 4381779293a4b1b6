#pragma once

// The settings form's surroundings as the program has them: per-user
// settings and the session's autostart folder in temporary folders, the
// engine brought up by the login manager, without event latency.

#include <memory>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "statewait.h"
#include "helpers/cuserconfigutils.h"
#include "kdsdkcontrol.h"
#include "models/ckdsdkmanager.h"
#include "models/cloginmanager.h"
#include "views/settings/csettingsform.h"

namespace settingstest {

inline kd::sdk::IEngineControl *startClient(const QTemporaryDir &folder)
{
    qputenv("appdata", QFile::encodeName(folder.filePath("appdata")));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(folder.filePath("config")));
    kd_app::helpers::CUserConfigUtils::initInstance(
        QFile::encodeName(QCoreApplication::applicationFilePath()).constData());
    kd_app::models::CLoginManager &login = kd_app::models::CLoginManager::getInstance();
    login.initKDSdkManagerInstance();
    login.initConnections();
    kd::sdk::IEngineControl *control = kd::sdk::currentEngineControl();
    if (control) {
        control->setEventLatency(0);
    }
    return control;
}

// A settings form at scale 1, shown, the SIP entry as a signed-in user or a
// guest sees it; null when it never appeared.
inline std::unique_ptr<kd_app::views::CSettingsForm> shownForm(bool sipVisible)
{
    auto form = std::make_unique<kd_app::views::CSettingsForm>(nullptr);
    form->updateDpi(1.0);
    form->setSipPageVisible(sipVisible);
    form->show();
    if (!QTest::qWaitForWindowExposed(form.get())) {
        return nullptr;
    }
    QCoreApplication::processEvents();
    return form;
}

// Lets every event the engine raised so far reach the windows.
inline void settle(kd::sdk::IEngineControl *control)
{
    QVERIFY2(control->waitForIdle(kdtest::kStateWaitMs), "the engine still raised events after the wait's bound");
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

// The engine operations called since the last clearOperations, as
// "name(args)", optionally only those of one name.
inline QStringList operations(kd::sdk::IEngineControl *control, const QString &name = QString())
{
    QStringList calls;
    for (const kd::sdk::KDOperationRecord &record : control->operations()) {
        const QString called = QString::fromStdString(record.name);
        if (name.isEmpty() || called == name) {
            calls << called + "(" + QString::fromStdString(record.args) + ")";
        }
    }
    return calls;
}

template <typename T> T *child(QWidget *parent, const char *name)
{
    T *found = parent->findChild<T *>(QLatin1String(name));
    if (!found) {
        qFatal("no child %s", name);
    }
    return found;
}

} // namespace settingstest
