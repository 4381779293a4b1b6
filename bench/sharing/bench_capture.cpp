// The whiteboard capture for ten seconds on a private 1920x1080x24 X server:
// frames a second, CPU time per frame, and the CPU share of this process and
// of the X server, read from /proc.
//
//   bench_capture [seconds]

#include <cstdio>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <QTimer>

#include <unistd.h>

#include "kdsdkcontrol.h"
#include "models/ckdsdkmanager.h"
#include "models/screenthread.h"
#include "ownxvfb.h"

namespace {

// User plus system time of a process, in clock ticks.
double cpuTicks(pid_t pid)
{
    QFile stat(QString("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly)) {
        return -1;
    }
    const QByteArray text = stat.readAll();
    // The fields after the command name, which may hold blanks.
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    return fields.value(11).toDouble() + fields.value(12).toDouble();
}

void quiet(QtMsgType, const QMessageLogContext &, const QString &)
{
}

} // namespace

int main(int argc, char *argv[])
{
    OwnXvfb xvfb;
    if (!xvfb.ok()) {
        std::fprintf(stderr, "no private X server: %s\n", xvfb.error().c_str());
        return 1;
    }
    qputenv("KDSDK_BACKEND", "model");
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(1, atoi(argv[1])) : 10;
    // The application writes one log line a frame to its file; the console
    // would cost more than that.
    qInstallMessageHandler(quiet);

    kd_app::models::CKDSdkManager::initInstance();
    kd::sdk::IEngineControl *control = kd::sdk::currentEngineControl();
    const double ticksPerSecond = double(sysconf(_SC_CLK_TCK));

    kd_app::models::ScreenThread thread;
    thread.setWhiteBoardAndWinId(false, 0);
    thread.start();
    // The first frame sets up the grab; measure from the second on.
    while (control->contentFramesTaken() < 1) {
        QThread::msleep(5);
    }
    const uint64_t framesBefore = control->contentFramesTaken();
    const double selfBefore = cpuTicks(getpid());
    const double serverBefore = cpuTicks(xvfb.serverPid());
    QElapsedTimer timer;
    timer.start();
    QTimer::singleShot(seconds * 1000, &app, &QCoreApplication::quit);
    app.exec();
    const double elapsed = timer.elapsed() / 1000.0;
    const uint64_t frames = control->contentFramesTaken() - framesBefore;
    const double selfSeconds = (cpuTicks(getpid()) - selfBefore) / ticksPerSecond;
    const double serverSeconds = (cpuTicks(xvfb.serverPid()) - serverBefore) / ticksPerSecond;
    thread.stop();
    thread.wait();
    const kd::sdk::KDContentFrame last = control->latestContentFrame();
    kd_app::models::CKDSdkManager::releaseInstance();

    std::printf("capture %dx%d format %d for %.1f s\n", last.width, last.height, last.format, elapsed);
    std::printf("frames/s:            %.2f\n", frames / elapsed);
    std::printf("CPU ms per frame:    %.2f\n", frames ? selfSeconds * 1000.0 / frames : 0.0);
    std::printf("process CPU %%:       %.1f\n", selfSeconds * 100.0 / elapsed);
    std::printf("Xvfb CPU %%:          %.1f\n", serverSeconds * 100.0 / elapsed);
    return 0;
}
