#include "cconsolelog.h"

#include <cstdio>
#include <cstdlib>

#include <QTime>

namespace kd_app {

namespace {

void writeToConsole(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (CConsoleLog::isShown(type)) {
        const QByteArray text = CConsoleLog::line(type, message).toLocal8Bit();
        fprintf(stderr, "%s\n", text.constData());
        fflush(stderr);
    }
    if (type == QtFatalMsg) {
        abort();
    }
}

} // namespace

void CConsoleLog::install()
{
    qInstallMessageHandler(writeToConsole);
}

bool CConsoleLog::isShown(QtMsgType type)
{
    return type == QtWarningMsg || type == QtCriticalMsg || type == QtFatalMsg;
}

QString CConsoleLog::line(QtMsgType type, const QString &message)
{
    const char *level = type == QtFatalMsg ? "FATAL" : (type == QtCriticalMsg ? "ERROR" : "WARN ");
    return QTime::currentTime().toString(QStringLiteral("hh:mm:ss.zzz")) + QLatin1Char(' ') + QLatin1String(level) +
           QLatin1Char(' ') + message;
}

} // namespace kd_app
