// The video layout's cost.
//
//   bench_layout geometry   one full pure pass per mode (layout size,
//                           placement, origin, a strip of 16 cells, its start
//                           position and the toolbar): median and p99
//   bench_layout redraw     redrawLayout(2) of a real engine in a call with
//                           received content, real windows on a private X
//                           server: median and p99
//
// Prints one line per measurement; exits 1 when a figure misses its bound.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

#include <QApplication>
#include <QTemporaryDir>

#include "clientfixture.h"
#include "ownxvfb.h"
#include "views/call/clayoutgeometry.h"
#include "views/call/clayoutpeoplesettingdlg.h"
#include "views/call/toolbar/clayouttoolbardlg.h"

using kd_app::views::CLayoutGeometry;
namespace enums = kd_app::enums;

namespace {

using Clock = std::chrono::steady_clock;

double percentile(std::vector<double> values, double share)
{
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, size_t(double(values.size()) * share))];
}

// One pass as the layout engine makes it for a frame move plus a strip of
// 16 cells (the local one and 15 remote ones).
int fullPass(enums::LayoutModeType mode, int engineWidth, int engineHeight)
{
    const auto size = CLayoutGeometry::calculateLayoutSize(engineWidth, engineHeight, mode);
    const auto placement = CLayoutGeometry::placeCells(size, mode);
    const QPoint origin = CLayoutGeometry::layoutOrigin(size, QPoint(160, 90), 40);
    const auto metrics = CLayoutGeometry::stripMetrics(1.0);
    const int stripHeight = CLayoutGeometry::stripHeight(metrics, 15, 4);
    int sum = origin.x() + placement.remote.width() + stripHeight;
    for (int i = 0; i < 16; ++i) {
        sum += CLayoutGeometry::stripCellPos(metrics, i).y();
    }
    const auto start = CLayoutGeometry::stripStartPos(QRect(origin, QSize(engineWidth, engineHeight)),
                                                      QSize(metrics.width, stripHeight), QRect(0, 0, 1920, 1080));
    sum += start ? start->x() : 0;
    sum += CLayoutGeometry::toolbarRect(QPoint(160, 90), QRect(2, 42, engineWidth, engineHeight), 60).y();
    return sum;
}

bool benchGeometry()
{
    constexpr int kRounds = 20000;
    volatile int sink = 0;
    bool ok = true;
    for (int mode = 0; mode <= 7; ++mode) {
        std::vector<double> micros;
        micros.reserve(kRounds);
        for (int round = 0; round < kRounds; ++round) {
            // Sizes change from pass to pass, as a frame being resized does.
            const int width = 1276 + (round % 400);
            const auto begin = Clock::now();
            sink = sink + fullPass(enums::LayoutModeType(mode), width, 716);
            micros.push_back(std::chrono::duration<double, std::micro>(Clock::now() - begin).count());
        }
        const double median = percentile(micros, 0.5);
        const double p99 = percentile(micros, 0.99);
        const bool good = median < 5.0 && p99 < 20.0;
        ok = ok && good;
        std::printf("geometry mode %d: median %.3f us, p99 %.3f us%s\n", mode, median, p99,
                    good ? "" : "  (bound: median < 5 us, p99 < 20 us)");
    }
    return ok;
}

// The engine as the call window hosts it, in a connected call that
// receives content, so that mode 2 lays out the content cell and fills the
// strip; each redraw moves, sizes and stacks every window of the layout.
bool benchRedraw(int argc, char *argv[])
{
    OwnXvfb xvfb;
    if (!xvfb.ok()) {
        std::fprintf(stderr, "no private X server: %s\n", xvfb.error().c_str());
        return false;
    }
    qputenv("KDSDK_BACKEND", "model");
    qputenv("KDSDK_DEVICES", "synthetic");
    QApplication app(argc, argv);
    QTemporaryDir appData;
    kd::sdk::IEngineControl *control = fixture::startClient(appData);
    control->addAccount(fixture::account("alice", "secret", "Alice", 42));
    kd::sdk::KDModelMeeting meeting;
    meeting.number = "2002";
    control->addMeeting(meeting);
    if (!fixture::signInAs(control, "alice", "secret")) {
        std::fprintf(stderr, "sign-in failed\n");
        return false;
    }
    using kd_app::views::CLayoutPeopleSettingDlg;
    CLayoutPeopleSettingDlg::setToolbarFactory([] { return new kd_app::views::CLayoutToolbarDlg(nullptr); });
    QWidget frame;
    frame.setWindowFlags(Qt::FramelessWindowHint);
    auto *engine = new CLayoutPeopleSettingDlg(&frame);
    const int titleHeight = 40;
    const QRect geometry(100, 80, 1604, 946);
    engine->setTitleBarHeight(titleHeight);
    engine->move(2, titleHeight + 2);
    engine->setRemoteVideoWindows();
    frame.setGeometry(geometry);
    engine->onParentResized(geometry);
    engine->onParentMoved(geometry.x(), geometry.y());
    frame.show();
    QTest::qWaitForWindowExposed(&frame);
    kd_app::models::CCallController::getInstance().dialOut("2002", QString(), true, QString());
    fixture::settle(control);
    control->injectRemoteContent(true, false, "Ann");
    fixture::settle(control);
    if (engine->getLayoutMode() != enums::LayoutMode_RemoteContentOnly) {
        std::fprintf(stderr, "the call did not reach mode 2\n");
        return false;
    }
    constexpr int kRounds = 300;
    std::vector<double> millis;
    for (int round = 0; round < kRounds; ++round) {
        // The frame stands elsewhere each time, so every placed window really moves.
        engine->onParentMoved(geometry.x() + round % 2 * 7, geometry.y());
        const auto begin = Clock::now();
        engine->redrawLayout(enums::LayoutMode_RemoteContentOnly);
        millis.push_back(std::chrono::duration<double, std::milli>(Clock::now() - begin).count());
        QCoreApplication::processEvents();
    }
    const double median = percentile(millis, 0.5);
    const double p99 = percentile(millis, 0.99);
    const bool good = median < 3.0;
    std::printf("redrawLayout(2) in a call with content: median %.3f ms, p99 %.3f ms%s\n", median, p99,
                good ? "" : "  (bound: median < 3 ms)");
    kd_app::models::CCallController::getInstance().hangUp();
    fixture::settle(control);
    delete engine;
    return good;
}

} // namespace

int main(int argc, char *argv[])
{
    const char *what = argc > 1 ? argv[1] : "geometry";
    bool ok = true;
    if (std::strcmp(what, "geometry") == 0) {
        ok = benchGeometry();
    } else if (std::strcmp(what, "redraw") == 0) {
        ok = benchRedraw(argc, argv);
    } else {
        std::fprintf(stderr, "usage: bench_layout geometry|redraw\n");
        return 2;
    }
    return ok ? 0 : 1;
}
