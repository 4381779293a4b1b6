#include "cresourceusagemonitor.h"

#include <QTimer>

#include "helpers/clogformat.h"

namespace kd_app {
namespace helpers {

namespace {

// The number of a "Label:   1234 kB" line. Read by hand rather than with a
// regular expression: a pattern compiled every three seconds cost more than
// the reading itself.
qint64 fieldKiB(const QByteArray &text, const char *label)
{
    const QByteArray head = QByteArray(label) + ':';
    for (const QByteArray &line : text.split('\n')) {
        if (!line.startsWith(head)) {
            continue;
        }
        const QByteArray value = line.mid(head.size()).trimmed();
        int digits = 0;
        while (digits < value.size() && value.at(digits) >= '0' && value.at(digits) <= '9') {
            ++digits;
        }
        if (digits > 0 && value.mid(digits).trimmed().startsWith("kB")) {
            return value.left(digits).toLongLong();
        }
    }
    return -1;
}

} // namespace

CResourceUsageMonitor::CResourceUsageMonitor() = default;

CResourceUsageMonitor::~CResourceUsageMonitor()
{
    if (m_pTimer) {
        m_pTimer->stop();
        delete m_pTimer;
    }
}

void CResourceUsageMonitor::startMonitor()
{
    KD_LOG << "start";
    if (m_pTimer) {
        return;
    }
    m_pTimer = new QTimer();
    m_pTimer->setSingleShot(false);
    m_pTimer->setInterval(3000);
    connect(m_pTimer, &QTimer::timeout, this, &CResourceUsageMonitor::slotOnTimerMonitor);
    m_pTimer->start();
    KD_LOG << "done";
}

bool CResourceUsageMonitor::isRunning() const
{
    return m_pTimer && m_pTimer->isActive();
}

void CResourceUsageMonitor::slotOnTimerMonitor()
{
    outputMemoryUsage();
}

void CResourceUsageMonitor::outputMemoryUsage()
{
    const Usage usage = measure();
    if (usage.appKiB < 0) {
        KD_WARN << "Failed to get process memory info";
    }
    KD_LOG << formatUsage(usage);
}

QString CResourceUsageMonitor::formatUsage(const Usage &usage)
{
    QString line;
    if (usage.appKiB >= 0) {
        line = QStringLiteral("App memory(K):%1").arg(usage.appKiB);
    }
    line += QStringLiteral(" Available physical memory(K):%1").arg(usage.availableKiB);
    line += QStringLiteral(" usage(%):%1").arg(usage.loadPercent);
    return line;
}

qint64 CResourceUsageMonitor::parseResidentKiB(const QByteArray &procStatus)
{
    return fieldKiB(procStatus, "VmRSS");
}

void CResourceUsageMonitor::parseMemInfo(const QByteArray &memInfo, Usage &usage)
{
    const qint64 total = fieldKiB(memInfo, "MemTotal");
    const qint64 available = fieldKiB(memInfo, "MemAvailable");
    usage.availableKiB = qMax<qint64>(available, 0);
    if (total <= 0 || available < 0) {
        usage.loadPercent = 0;
        return;
    }
    usage.loadPercent = static_cast<int>((total - available) * 100 / total);
}

} // namespace helpers
} // namespace kd_app
