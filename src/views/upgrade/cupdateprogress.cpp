#include "cupdateprogress.h"

#include <limits>

#include <QCoreApplication>

namespace kd_app {
namespace views {

namespace {

constexpr double kKilo = 1024.0;
constexpr double kMega = 1048576.0;

} // namespace

QString CUpdateProgress::speedText(qint64 bytesReceived, qint64 elapsedMs)
{
    // The first report may come at 0 ms: nothing measured yet.
    double speed = elapsedMs > 0 ? double(bytesReceived) * 1000.0 / double(elapsedMs) : 0.0;
    // The units are the prompt's own texts.
    QString unit;
    if (speed < kKilo) {
        unit = QCoreApplication::translate("kd_app::views::CUpdateMessageWidget", "bytes/s");
    } else if (speed < kMega) {
        speed /= kKilo;
        unit = QCoreApplication::translate("kd_app::views::CUpdateMessageWidget", "kB/s");
    } else {
        speed /= kMega;
        unit = QCoreApplication::translate("kd_app::views::CUpdateMessageWidget", "MB/s");
    }
    return QStringLiteral("%1 %2").arg(speed, 3, 'f', 1).arg(unit);
}

CUpdateProgress::Bar CUpdateProgress::bar(qint64 bytesReceived, qint64 bytesTotal)
{
    if (bytesTotal <= 0) {
        return Bar();
    }
    const qint64 received = qBound<qint64>(0, bytesReceived, bytesTotal);
    int shift = 0;
    while ((bytesTotal >> shift) > std::numeric_limits<int>::max()) {
        ++shift;
    }
    return Bar{int(bytesTotal >> shift), int(received >> shift)};
}

} // namespace views
} // namespace kd_app
