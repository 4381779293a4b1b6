#pragma once

#include <QString>
#include <QtGlobal>

namespace kd_app {

// What the console shows before the logger is configured: warnings and
// worse, in the shape the logger's console lines have, so that a start from
// a terminal shows the same kind of lines from its first one on. The logger
// replaces this handler when it takes over (and keeps every line in its
// file).
class CConsoleLog
{
public:
    CConsoleLog() = delete;

    static void install();
    // Whether a message of this kind reaches the console.
    static bool isShown(QtMsgType type);
    // "hh:mm:ss.zzz LEVEL message", as the logger's console pattern writes it.
    static QString line(QtMsgType type, const QString &message);
};

} // namespace kd_app
