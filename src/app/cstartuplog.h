#pragma once

#include <QString>

namespace kd_app {

// Messages of the start-up that come before logging is configured: each one
// is printed at once and kept until it can be written to the log.
class CStartupLog
{
public:
    CStartupLog() = delete;

    static void cache(const QString &message);
    // The kept messages joined, each ending in "\n"; the cache is emptied.
    static QString take();
};

} // namespace kd_app
