#include "cstartuplog.h"

#include <QMutex>
#include <QStringList>

namespace kd_app {

namespace {

QMutex &cacheLock()
{
    static QMutex lock;
    return lock;
}

QStringList &cachedLines()
{
    static QStringList lines;
    return lines;
}

} // namespace

void CStartupLog::cache(const QString &message)
{
    QMutexLocker locker(&cacheLock());
    cachedLines().append(message + QLatin1Char('\n'));
}

QString CStartupLog::take()
{
    QMutexLocker locker(&cacheLock());
    const QString text = cachedLines().join(QString());
    cachedLines().clear();
    return text;
}

} // namespace kd_app
