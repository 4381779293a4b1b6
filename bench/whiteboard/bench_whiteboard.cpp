// The whiteboard page of a call against the local server's whiteboard, as
// the demo user in meeting 80001: the first show to boardConnected (the
// browser starting), updatePage and show to boardConnected once it runs,
// and the memory (PSS) of the client with its browser processes after the
// first and after 20 show/release cycles, a stroke drawn on one page
// reaching a second page of the same board, and the grab of the 1280 x 748
// window the engine sends (meaningful on an X server: run it under
// xvfb-run). Prints times in ms, memory in MiB.
//
//     QTWEBENGINE_DISABLE_SANDBOX=1 QT_QUICK_BACKEND=software KDSDK_BACKEND=http bench_whiteboard
#include <algorithm>
#include <cstdio>
#include <vector>

#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QScreen>

#include "benchstats.h"
#include "views/whiteboard/whiteboardwebwidget.h"
#include "webpagetest.h"
#include "whiteboardfixture.h"

using kd_app::views::WhiteBoardWebWidget;

namespace {

void quiet(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type >= QtCriticalMsg) {
        std::fprintf(stderr, "%s\n", qPrintable(message));
    }
}

// This process and every process below it (the browser's processes).
double totalPssMiB()
{
    double total = pssMiB(QCoreApplication::applicationPid());
    for (qint64 pid : descendants(QCoreApplication::applicationPid())) {
        total += pssMiB(pid);
    }
    return total;
}

// When the page's own load ended, in ms after the show; the board connects after it.
double g_loadedMs = -1;

double showToConnected(WhiteBoardWebWidget *widget)
{
    QElapsedTimer timer;
    timer.start();
    g_loadedMs = -1;
    if (QWebEnginePage *page = widget->currentPage()) {
        QObject::connect(page, &QWebEnginePage::loadFinished, page,
                         [&timer] { g_loadedMs = timer.nsecsElapsed() / 1e6; });
    }
    widget->show();
    waitUntil([widget] { return widget->isBoardConnected(); }, 30000);
    return widget->isBoardConnected() ? timer.nsecsElapsed() / 1e6 : -1;
}

int strokesOn(WhiteBoardWebWidget *widget)
{
    return runScript(widget->currentPage(), "window.boardState ? boardState().strokes.length : -1").toInt();
}

// From the end of the stroke on the sender's page to the receiver's page
// holding it, ms; -1 when it did not arrive within 5 s.
double strokeToReceiver(WhiteBoardWebWidget *sender, WhiteBoardWebWidget *receiver, int run)
{
    const int before = strokesOn(receiver);
    QElapsedTimer timer;
    runScript(sender->currentPage(), QString(kDrawStroke).arg(100 + (run % 10) * 60).arg(100 + (run / 10) * 200));
    timer.start();
    waitUntil([&] { return strokesOn(receiver) > before; }, 5000);
    return strokesOn(receiver) > before ? timer.nsecsElapsed() / 1e6 : -1;
}

} // namespace

int main(int argc, char **argv)
{
    const COwnBrowserData browserData;
    QApplication app(argc, argv);

    CWhiteBoardCall call;
    if (!call.start() || !call.join()) {
        std::fprintf(stderr, "bench_whiteboard: could not join the meeting with a whiteboard token\n");
        return 1;
    }
    // After the client's start, which installs the program's own handler.
    qInstallMessageHandler(quiet);
    auto widget = std::make_unique<WhiteBoardWebWidget>();
    widget->resize(1280, 720);
    const double firstMs = showToConnected(widget.get());

    std::vector<double> again;
    std::vector<double> loaded;
    for (int run = 0; run < 10; ++run) {
        widget->hide();
        widget->updatePage();
        again.push_back(showToConnected(widget.get()));
        loaded.push_back(g_loadedMs);
    }

    // Show and release as the call window does when a board comes and goes.
    widget->hide();
    widget->updatePage();
    showToConnected(widget.get());
    const double afterFirstMiB = totalPssMiB();
    for (int cycle = 1; cycle < 20; ++cycle) {
        widget->hide();
        widget->releaseCurrentPage();
        widget->updatePage();
        showToConnected(widget.get());
    }
    const double afterCyclesMiB = totalPssMiB();

    // A receiver: a second page of the same board, as the far end has it.
    auto receiver = std::make_unique<WhiteBoardWebWidget>();
    receiver->resize(960, 540);
    receiver->move(0, 0);
    showToConnected(receiver.get());
    std::vector<double> strokes;
    for (int run = 0; run < 20 && receiver->isBoardConnected(); ++run) {
        strokes.push_back(strokeToReceiver(widget.get(), receiver.get(), run));
    }
    receiver.reset();

    // The grab the engine's capture thread makes of the sender's window.
    widget->resize(1280, 748);
    waitUntil([] { return false; }, 300);
    std::vector<double> grabs;
    for (int run = 0; run < 20; ++run) {
        QElapsedTimer timer;
        timer.start();
        const QImage picture = widget->screen()->grabWindow(widget->winId()).toImage();
        grabs.push_back(picture.isNull() ? -1 : timer.nsecsElapsed() / 1e6);
    }

    std::printf("first show to boardConnected (cold):     %.1f ms (target < 1500)\n", firstMs);
    std::printf("updatePage + show to boardConnected:     median %.1f ms of 10 (target < 500)\n", median(again));
    std::printf("  of which the page's load:              median %.1f ms\n", median(loaded));
    std::printf("PSS with browser, after 1 show/release:  %.1f MiB\n", afterFirstMiB);
    std::printf("PSS with browser, after 20:              %.1f MiB (%+.1f MiB)\n", afterCyclesMiB,
                afterCyclesMiB - afterFirstMiB);
    std::printf("stroke reaching a receiver's page:       median %.1f ms of %zu (target < 500)\n", median(strokes),
                strokes.size());
    std::printf("grab of the 1280 x 748 window:           median %.1f ms of 20 on %s (target < 15 under Xvfb)\n",
                median(grabs), qPrintable(QGuiApplication::platformName()));
    std::fflush(stdout);
    widget.reset();
    call.leave();
    kd_app::views::CWebPageEngineCustomization::releaseAll();
    return firstMs > 0 && median(again) > 0 ? 0 : 1;
}
