#pragma once

#include <QString>

namespace kd_app {
namespace breadpad_wrapper {

// Writes a crash report into a folder when the process receives a fatal signal,
// then lets the process end as it would have. The report's name ("<GUID>.dmp")
// and everything the handler needs are prepared in advance: inside the handler
// only async-signal-safe calls are made.
class CCrashSignalHandler
{
public:
    using Callback = void (*)(const char *folder, const char *id, bool succeeded);

    CCrashSignalHandler(const QString &folder, Callback callback);
    ~CCrashSignalHandler();

    CCrashSignalHandler(const CCrashSignalHandler &) = delete;
    CCrashSignalHandler &operator=(const CCrashSignalHandler &) = delete;

    bool isInstalled() const { return m_bInstalled; }
    QString nextDumpId() const;

private:
    bool m_bInstalled = false;
};

} // namespace breadpad_wrapper
} // namespace kd_app
