#pragma once

#include <QLoggingCategory>
#include <QString>

namespace kd_app {

// Messages of the start-up that come before logging is configured, kept
// until they can be written to the log file. They are not printed: the
// console shows warnings only.
class CStartupLog
{
public:
    CStartupLog() = delete;

    // The message is kept as one line: its own line ends and control
    // characters (a working folder's name may hold them) are escaped.
    static void cache(const QString &message);
    // The kept messages joined, each ending in "\n"; the cache is emptied.
    static QString take();
};

// The category of the one message that writes the kept lines: their line
// ends are the cache's own and stay line ends in the log.
Q_DECLARE_LOGGING_CATEGORY(lcStartupLog)

} // namespace kd_app
