#pragma once

// Waiting on embedded web pages in tests.

#include <functional>

#include <QEventLoop>
#include <QTimer>
#include <QVariant>
#include <QWebEnginePage>

// What a page does through the browser and a server (a stroke drawn, sent
// and kept): seconds when the suite runs in parallel under the sanitizers.
constexpr int kPageRoundTripMs = 15000;

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
