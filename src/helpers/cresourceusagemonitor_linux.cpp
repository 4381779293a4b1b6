#include "cresourceusagemonitor.h"

#include <QFile>

namespace kd_app {
namespace helpers {

namespace {

QByteArray readProcFile(const char *path)
{
    QFile file(QString::fromLatin1(path));
    if (!file.open(QIODevice::ReadOnly)) {
        return QByteArray();
    }
    // /proc files report size 0: read until the end instead of trusting it.
    return file.readAll();
}

} // namespace

CResourceUsageMonitor::Usage CResourceUsageMonitor::measure()
{
    Usage usage;
    usage.appKiB = parseResidentKiB(readProcFile("/proc/self/status"));
    parseMemInfo(readProcFile("/proc/meminfo"), usage);
    return usage;
}

} // namespace helpers
} // namespace kd_app
