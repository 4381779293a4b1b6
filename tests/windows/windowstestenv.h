#pragma once

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "helpers/cuserconfigutils.h"
#include "kdsdkcontrol.h"
#include "models/ckdsdkmanager.h"
#include "views/login/clogindlg.h"

// The named widget below parent; a test cannot go on without it.
template <typename T> T *child(QWidget *parent, const char *name)
{
    T *found = parent->findChild<T *>(QLatin1String(name));
    if (!found) {
        qFatal("no child %s", name);
    }
    return found;
}

// A per-user folder of its own, and the login window's delayed start-up run
// as the program runs it: engine up, window manager connected.
class CWindowsTestEnv
{
public:
    bool start()
    {
        if (!m_dir.isValid()) {
            return false;
        }
        qputenv("appdata", QFile::encodeName(m_dir.path()));
        kd_app::helpers::CUserConfigUtils::initInstance(QFile::encodeName(QCoreApplication::applicationFilePath()));
        kd_app::views::CLoginDlg *login = kd_app::views::CLoginDlg::getInstance();
        login->show();
        if (!QTest::qWaitFor([login] { return login->isLoaded(); }, 5000)) {
            return false;
        }
        kd::sdk::IEngineControl *control = kd::sdk::currentEngineControl();
        if (!control) {
            return false;
        }
        control->setEventLatency(0);
        return true;
    }

    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
};
