#pragma once

#include <QString>

namespace kd_app {

// Whether the program starts when the user's session starts. The entry is
// named after the application; enabling points it at the running program.
class CAutoStart
{
public:
    CAutoStart() = delete;

    static bool isEnabled();
    // Writes or removes the entry; false when that failed.
    static bool setEnabled(bool enable);

    // Where the entry lives.
    static QString entryPath();
    // The command line that starts the program, quoted for the entry, so a
    // path with blanks, quotes or dollars starts the program it names.
    static QString commandLine(const QString &program);
};

} // namespace kd_app
