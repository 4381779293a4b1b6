#include "clogformat.h"

#include <algorithm>

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

QString CLogFormat::oneLine(const QString &message)
{
    auto breaks = [](QChar c) {
        const ushort code = c.unicode();
        return (code < 0x20 && code != '\t') || code == 0x7f || code == 0x85 || code == 0x2028 || code == 0x2029;
    };
    if (std::none_of(message.begin(), message.end(), breaks)) {
        return message;
    }
    QString line;
    line.reserve(message.size() + 16);
    for (const QChar c : message) {
        if (!breaks(c)) {
            line += c;
        } else if (c == QLatin1Char('\n')) {
            line += QLatin1String("\\n");
        } else if (c == QLatin1Char('\r')) {
            line += QLatin1String("\\r");
        } else if (c.unicode() < 0x100) {
            line += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        } else {
            line += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        }
    }
    return line;
}

QString CLogFormat::maskedUrl(const QUrl &url)
{
    QUrlQuery query(url);
    QList<QPair<QString, QString>> items = query.queryItems(QUrl::FullyDecoded);
    for (QPair<QString, QString> &item : items) {
        if (item.first == QLatin1String("token") || item.first == QLatin1String("jwt")) {
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
