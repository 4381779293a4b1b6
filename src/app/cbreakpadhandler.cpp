#include "cbreakpadhandler.h"

#include <cstring>

#include <unistd.h>

#include <QCoreApplication>
#include <QDir>

#include "app/ccrashsignalhandler.h"
#include "helpers/clogformat.h"

namespace kd_app {
namespace breadpad_wrapper {

CBreakpadHandler *CBreakpadHandler::s_pInstance = nullptr;
QMutex CBreakpadHandler::s_mutex;

namespace {

// Runs inside the signal handler: the logger and Qt's signals are not safe
// there (the crash may hold their locks), so the outcome goes to stderr.
void writeOutcome(const char *folder, const char *id, bool succeeded)
{
    const char *outcome = succeeded ? "Succeed to write minidump" : "Failed to write minidump";
    const char *parts[] = {outcome, ", dump path: ", folder, "/", id, "\n"};
    for (const char *part : parts) {
        if (write(STDERR_FILENO, part, strlen(part)) < 0) {
            return;
        }
    }
}

} // namespace

CBreakpadHandler::CBreakpadHandler() : d(new Private)
{
}

CBreakpadHandler::~CBreakpadHandler() = default;

CBreakpadHandler *CBreakpadHandler::getInstance()
{
    if (s_pInstance) {
        return s_pInstance;
    }
    QMutexLocker locker(&s_mutex);
    if (!s_pInstance) {
        s_pInstance = new CBreakpadHandler();
    }
    return s_pInstance;
}

void CBreakpadHandler::setDumpPath(const QString &path)
{
    QString folder = path;
    if (QDir::isRelativePath(folder)) {
        folder = QDir::cleanPath(QCoreApplication::applicationDirPath() + QLatin1Char('/') + folder);
    }
    QDir().mkpath(folder);
    if (!QDir(folder).exists()) {
        KD_LOG << QStringLiteral("Failed to set dump path which not exists: %1").arg(folder);
        return;
    }
    d->dumpPath = folder;
    d->handler.reset(new CCrashSignalHandler(folder, writeOutcome));
    KD_LOG << "dump path:" << folder << "installed:" << d->handler->isInstalled();
}

QString CBreakpadHandler::dumpPath() const
{
    return d->dumpPath;
}

bool CBreakpadHandler::isInstalled() const
{
    return d->handler && d->handler->isInstalled();
}

QString CBreakpadHandler::nextDumpId() const
{
    return d->handler ? d->handler->nextDumpId() : QString();
}

bool CBreakpadHandler::dumpCallback(const QString &folder, const QString &id, bool succeeded)
{
    const QString path = folder + QLatin1Char('/') + id;
    qInfo("%s, dump path: %s\n", succeeded ? "Succeed to write minidump" : "Failed to write minidump",
          qUtf8Printable(path));
    if (s_pInstance) {
        emit s_pInstance->onCrash(succeeded, folder, id);
    }
    return succeeded;
}

} // namespace breadpad_wrapper
} // namespace kd_app
