// The video layout's cost.
//
//   bench_layout geometry   one full pure pass per mode (layout size,
//                           placement, origin, a strip of 16 cells, its start
//                           position and the toolbar): median and p99
//   bench_layout redraw     redrawLayout(2) of a real engine in a call with
//                           received content, real windows on a private X
//                           server: median and p99
//   bench_layout call [s]   real calls with 1, 4, 9 and 16 participants, the
//                           engine 1600 x 900, modes 0 and 2, s seconds each
//                           (10 by default): frames a second of every stream
//                           the engine paints, and the process's CPU use.
//                           Shorter runs only check that every stream paints
//                           (the bounds hold for the full length).
//
// Prints one line per measurement; exits 1 when a figure misses its bound.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include <sys/resource.h>

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
using kd_app::models::CCallController;
using kd_app::views::CLayoutPeopleSettingDlg;

constexpr int kTitleHeight = 40;

// The client signed in on a private X server, and the engine in a frame of
// its own as the call window hosts it, placed with its client area at the
// given size.
class CEngineBench
{
public:
    bool start(int argc, char *argv[], const QSize &engineSize)
    {
        if (!m_xvfb.ok()) {
            std::fprintf(stderr, "no private X server: %s\n", m_xvfb.error().c_str());
            return false;
        }
        qputenv("KDSDK_BACKEND", "model");
        qputenv("KDSDK_DEVICES", "synthetic");
        m_app = std::make_unique<QApplication>(argc, argv);
        control = fixture::startClient(m_appData);
        control->addAccount(fixture::account("alice", "secret", "Alice", 42));
        if (!fixture::signInAs(control, "alice", "secret")) {
            std::fprintf(stderr, "sign-in failed\n");
            return false;
        }
        CLayoutPeopleSettingDlg::setToolbarFactory([] { return new kd_app::views::CLayoutToolbarDlg(nullptr); });
        m_frame = std::make_unique<QWidget>();
        m_frame->setWindowFlags(Qt::FramelessWindowHint);
        engine = new CLayoutPeopleSettingDlg(m_frame.get());
        geometry = QRect(QPoint(100, 60), engineSize + QSize(4, kTitleHeight + 4));
        engine->setTitleBarHeight(kTitleHeight);
        engine->move(2, kTitleHeight + 2);
        engine->setRemoteVideoWindows();
        m_frame->setGeometry(geometry);
        engine->onParentResized(geometry);
        engine->onParentMoved(geometry.x(), geometry.y());
        m_frame->show();
        return QTest::qWaitForWindowExposed(m_frame.get());
    }

    // A call to a meeting with these others in it, in mode 0 or (receiving
    // content) mode 2.
    bool call(const std::string &number, int participants, enums::LayoutModeType mode)
    {
        kd::sdk::KDModelMeeting meeting;
        meeting.number = number;
        for (int i = 1; i <= participants; ++i) {
            meeting.participants.push_back("Participant " + std::to_string(i));
        }
        control->addMeeting(meeting);
        CCallController::getInstance().dialOut(QString::fromStdString(number), QString(), true, QString());
        fixture::settle(control);
        if (mode == enums::LayoutMode_RemoteContentOnly) {
            control->injectRemoteContent(true, false, "Ann");
            fixture::settle(control);
        }
        if (engine->getLayoutMode() != mode) {
            std::fprintf(stderr, "the call did not reach mode %d\n", int(mode));
            return false;
        }
        return true;
    }

    void hangUp()
    {
        CCallController::getInstance().hangUp();
        fixture::settle(control);
    }

    ~CEngineBench()
    {
        delete engine;
        m_frame.reset();
    }

    kd::sdk::IEngineControl *control = nullptr;
    CLayoutPeopleSettingDlg *engine = nullptr;
    QRect geometry;

private:
    OwnXvfb m_xvfb;
    std::unique_ptr<QApplication> m_app;
    QTemporaryDir m_appData;
    std::unique_ptr<QWidget> m_frame;
};

bool benchRedraw(int argc, char *argv[])
{
    CEngineBench bench;
    if (!bench.start(argc, argv, QSize(1600, 900)) || !bench.call("2002", 0, enums::LayoutMode_RemoteContentOnly)) {
        return false;
    }
    CLayoutPeopleSettingDlg *engine = bench.engine;
    const QRect geometry = bench.geometry;
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
    bench.hangUp();
    return good;
}

// CPU time of the whole process (all its threads), in seconds.
double processCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

bool benchCall(int argc, char *argv[], int seconds)
{
    CEngineBench bench;
    if (!bench.start(argc, argv, QSize(1600, 900))) {
        return false;
    }
    const bool full = seconds >= 10;
    const char *const streamNames[] = {"local", "remote", "content"};
    bool ok = true;
    int callNumber = 3000;
    for (const enums::LayoutModeType mode : {enums::LayoutMode_People, enums::LayoutMode_RemoteContentOnly}) {
        for (const int participants : {1, 4, 9, 16}) {
            if (!bench.call(std::to_string(++callNumber), participants, mode)) {
                return false;
            }
            // The first frames and the layout's own work at the connect are
            // not what a call costs.
            QTest::qWait(1000);
            const auto before = bench.control->renderStats();
            const double cpuBefore = processCpuSeconds();
            const auto begin = Clock::now();
            QTest::qWait(seconds * 1000);
            const double elapsed = std::chrono::duration<double>(Clock::now() - begin).count();
            const double cpu = 100.0 * (processCpuSeconds() - cpuBefore) / elapsed;
            const auto after = bench.control->renderStats();
            std::printf("call, mode %d, %2d participants: CPU %.1f %%", int(mode), participants, cpu);
            bool good = !full || cpu < 8.0;
            const int streams = mode == enums::LayoutMode_People ? 2 : 3;
            for (int stream = 0; stream < streams; ++stream) {
                const double fps =
                    double(after[size_t(stream)].framesPainted - before[size_t(stream)].framesPainted) / elapsed;
                std::printf(", %s %.1f fps", streamNames[stream], fps);
                good = good && (full ? fps >= 9.5 : fps > 0);
            }
            std::printf(", %d tiles%s\n", after[kd::sdk::KD_RENDER_REMOTE_VIDEO].tiles,
                        good   ? ""
                        : full ? "  (bound: every stream >= 9.5 fps, CPU < 8 %)"
                               : "  (a stream painted nothing)");
            ok = ok && good;
            bench.hangUp();
        }
    }
    return ok;
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
    } else if (std::strcmp(what, "call") == 0) {
        const int seconds = argc > 2 ? std::atoi(argv[2]) : 10;
        if (seconds <= 0) {
            std::fprintf(stderr, "usage: bench_layout call [seconds]\n");
            return 2;
        }
        ok = benchCall(argc, argv, seconds);
    } else {
        std::fprintf(stderr, "usage: bench_layout geometry|redraw|call [seconds]\n");
        return 2;
    }
    return ok ? 0 : 1;
}
