#include "cscripttext.h"

namespace kd_app {
namespace helpers {

QString CScriptText::quoted(const QString &text)
{
    QString literal;
    literal.reserve(text.size() + 2);
    literal += QLatin1Char('\'');
    for (const QChar c : text) {
        const ushort code = c.unicode();
        switch (code) {
        case '\'':
            literal += QLatin1String("\\'");
            break;
        case '"':
            literal += QLatin1String("\\\"");
            break;
        case '\\':
            literal += QLatin1String("\\\\");
            break;
        case '\n':
            literal += QLatin1String("\\n");
            break;
        case '\r':
            literal += QLatin1String("\\r");
            break;
        default:
            // Control characters and the two separators that end a line in
            // JavaScript source.
            if (code < 0x20 || code == 0x7f || code == 0x2028 || code == 0x2029) {
                literal += QStringLiteral("\\u%1").arg(code, 4, 16, QLatin1Char('0'));
            } else {
                literal += c;
            }
        }
    }
    literal += QLatin1Char('\'');
    return literal;
}

} // namespace helpers
} // namespace kd_app
