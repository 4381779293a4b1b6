#pragma once

// Waiting on embedded web pages in tests.

#include <functional>
#include <memory>

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

// Runs a script in the page and waits for its result. A result that comes
// after the wait, or that the page hands over as it goes, lands in a state
// of its own, not in the frame of a wait that has returned.
inline QVariant runScript(QWebEnginePage *page, const QString &script, int timeoutMs = kPageRoundTripMs)
{
    struct CReply
    {
        bool done = false;
        QVariant value;
    };
    const auto reply = std::make_shared<CReply>();
    page->runJavaScript(script, [reply](const QVariant &value) {
        reply->value = value;
        reply->done = true;
    });
    waitUntil([&reply] { return reply->done; }, timeoutMs);
    return reply->value;
}
