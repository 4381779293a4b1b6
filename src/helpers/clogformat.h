#pragma once

#include <QByteArray>
#include <QDebug>
#include <QUrl>

namespace kd_app {
namespace helpers {

// Every log line starts with the qualified method name and the source line,
// then the labelled values: "kd_app::models::CKDSdkManager::dialOut 120 number: 1001".
class CLogFormat
{
public:
    CLogFormat() = delete;

    // Turns a compiler's pretty function text ("void ns::C::f(int) const")
    // into the qualified method name ("ns::C::f").
    static QByteArray methodName(const char *prettyFunction);

    // Only a short prefix of a secret (token, password) may reach the log.
    static QString masked(const QString &secret, int visible = 4);

    // A dial string ("number*password@server") with its password hidden.
    static QString maskedDialString(const QString &dialString);

    // The message as one log line: line ends and other control characters
    // are written as escapes ("\n", "\r", "\x1b"), so that text from outside
    // (a name, a server reply) cannot forge lines of its own.
    static QString oneLine(const QString &message);

    // An address as a log line may show it: the value of a "token" or "jwt" query
    // item masked, everything else as it is.
    static QString maskedUrl(const QUrl &url);
};

} // namespace helpers
} // namespace kd_app

#define KD_LOG_NAME kd_app::helpers::CLogFormat::methodName(Q_FUNC_INFO).constData()
#define KD_LOG qInfo().noquote() << KD_LOG_NAME << __LINE__
#define KD_WARN qWarning().noquote() << KD_LOG_NAME << __LINE__
#define KD_DEBUG qDebug().noquote() << KD_LOG_NAME << __LINE__
