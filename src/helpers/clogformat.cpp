#include "clogformat.h"

#include <QUrlQuery>

namespace kd_app {
namespace helpers {

QByteArray CLogFormat::methodName(const char *prettyFunction)
{
    const QByteArray text(prettyFunction);
    // The argument list starts at the first '(' outside template brackets;
    // the return type ends at the last blank before it.
    int depth = 0;
    int paren = text.size();
    for (int i = 0; i < text.size(); ++i) {
        const char c = text.at(i);
        if (c == '<') {
            ++depth;
        } else if (c == '>') {
            --depth;
        } else if (c == '(' && depth == 0) {
            paren = i;
            break;
        }
    }
    int start = 0;
    depth = 0;
    for (int i = paren - 1; i >= 0; --i) {
        const char c = text.at(i);
        if (c == '>') {
            ++depth;
        } else if (c == '<') {
            --depth;
        } else if ((c == ' ' || c == '*' || c == '&') && depth == 0) {
            start = i + 1;
            break;
        }
    }
    return text.mid(start, paren - start);
}

QString CLogFormat::masked(const QString &secret, int visible)
{
    if (secret.isEmpty()) {
        return QString();
    }
    return secret.left(visible) + QStringLiteral("...(%1)").arg(secret.size());
}

QString CLogFormat::maskedDialString(const QString &dialString)
{
    const int star = dialString.indexOf(QLatin1Char('*'));
    if (star < 0) {
        return dialString;
    }
    const int at = dialString.indexOf(QLatin1Char('@'), star);
    return dialString.left(star) + QStringLiteral("*****") + (at < 0 ? QString() : dialString.mid(at));
}

QString CLogFormat::maskedUrl(const QUrl &url)
{
    QUrlQuery query(url);
    QList<QPair<QString, QString>> items = query.queryItems(QUrl::FullyDecoded);
    for (QPair<QString, QString> &item : items) {
        if (item.first == QLatin1String("token")) {
            item.second = masked(item.second);
        }
    }
    query.setQueryItems(items);
    QUrl shown(url);
    shown.setQuery(query);
    return shown.toDisplayString();
}

} // namespace helpers
} // namespace kd_app
