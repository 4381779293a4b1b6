#pragma once

// What every test of an embedded web page needs besides the waits of
// webpagewait.h: screenshots, and a browser data folder of the process's own.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QScreen>
#include <QTemporaryDir>
#include <QWidget>
#include <QtTest>

#include "views/web/cwebpageenginecustomization.h"
#include "webpagewait.h"

// Saves a picture of the window as the screen shows it (the browser draws
// its page past the widget tree) when KD_SCREENSHOT_DIR names a folder.
inline void saveScreenshot(QWidget *window, const QString &name)
{
    const QString folder = qEnvironmentVariable("KD_SCREENSHOT_DIR");
    if (folder.isEmpty()) {
        return;
    }
    QDir().mkpath(folder);
    waitUntil([] { return false; }, 500);
    const QRect area(window->mapToGlobal(QPoint(0, 0)), window->size());
    window->screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height()).save(folder + "/" + name + ".png");
}

// Browser data (profile, cache) of this process alone, and the attribute
// the program sets before its application object: made before that object.
class COwnBrowserData
{
public:
    COwnBrowserData()
    {
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_folder.filePath("data")));
        qputenv("XDG_CACHE_HOME", QFile::encodeName(m_folder.filePath("cache")));
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    }

private:
    QTemporaryDir m_folder;
};

#define KD_WEB_TEST_MAIN(TestClass)                                                                                    \
    int main(int argc, char **argv)                                                                                    \
    {                                                                                                                  \
        const COwnBrowserData browserData;                                                                             \
        QApplication app(argc, argv);                                                                                  \
        TestClass test;                                                                                                \
        const int failed = QTest::qExec(&test, argc, argv);                                                            \
        kd_app::views::CWebPageEngineCustomization::releaseAll();                                                      \
        return failed;                                                                                                 \
    }
