#pragma once

#include <QString>

namespace kd_app {

// Messages of the start-up that come before logging is configured, kept
// until they can be written to the log file. They are not printed: the
// console shows warnings only.
class CStartupLog
{
public:
    CStartupLog() = delete;

    static void cache(const QString &message);
    // The kept messages joined, each ending in "\n"; the cache is emptied.
    static QString take();
};

} // namespace kd_app
