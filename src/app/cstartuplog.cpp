#include "cstartuplog.h"

#include <QMutex>
#include <QStringList>

#include "helpers/clogformat.h"

namespace kd_app {

Q_LOGGING_CATEGORY(lcStartupLog, "kd.startuplog")

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
    cachedLines().append(helpers::CLogFormat::oneLine(message) + QLatin1Char('\n'));
}

QString CStartupLog::take()
{
    QMutexLocker locker(&cacheLock());
    const QString text = cachedLines().join(QString());
    cachedLines().clear();
    return text;
}

} // namespace kd_app
