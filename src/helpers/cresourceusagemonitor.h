#pragma once

#include <QObject>
#include <QString>

class QTimer;

namespace kd_app {
namespace helpers {

// Writes one log line every three seconds with the program's own memory use and
// the machine's free memory and load, so that feedback logs show how memory went.
class CResourceUsageMonitor : public QObject
{
    Q_OBJECT

public:
    struct Usage
    {
        qint64 appKiB = -1; // -1 when the process figure could not be read
        qint64 availableKiB = 0;
        int loadPercent = 0;
    };

    CResourceUsageMonitor();
    ~CResourceUsageMonitor() override;

    void startMonitor();
    bool isRunning() const;

    static void outputMemoryUsage();
    static Usage measure();
    static QString formatUsage(const Usage &usage);

    // Readers of the kernel's text reports, kept apart so they can be checked on fixed input.
    static qint64 parseResidentKiB(const QByteArray &procStatus);
    static void parseMemInfo(const QByteArray &memInfo, Usage &usage);

public slots:
    void slotOnTimerMonitor();

private:
    QTimer *m_pTimer = nullptr;
};

} // namespace helpers
} // namespace kd_app
