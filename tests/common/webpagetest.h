#pragma once

// What every test of an embedded web page needs: a wait that sleeps as the
// program's event loop does, scripts run synchronously, and a browser data
// folder of the process's own.

#include <functional>

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QScreen>
#include <QTimer>
#include <QVariant>
#include <QWidget>
#include <QWebEnginePage>
#include <QtTest>

#include "views/web/cwebpageenginecustomization.h"

// Waits as the program's own event loop does, asleep until something
// happens: the browser's many hops through the main thread each wait out
// QTest::qWait's naps otherwise, and a page takes seconds instead of a
// fraction of one.
inline bool waitUntil(const std::function<bool()> &done, int timeoutMs)
{
    if (done()) {
        return true;
    }
    QEventLoop loop;
    QTimer check;
    check.setInterval(5);
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (done()) {
            loop.quit();
        }
    });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    check.start();
    loop.exec();
    return done();
}

// Runs a script in the page and waits for its result.
inline QVariant runScript(QWebEnginePage *page, const QString &script, int timeoutMs = 10000)
{
    QVariant result;
    bool done = false;
    page->runJavaScript(script, [&](const QVariant &value) {
        result = value;
        done = true;
    });
    waitUntil([&done] { return done; }, timeoutMs);
    return result;
}

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
