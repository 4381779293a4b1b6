#include "cwildcardpattern.h"

namespace kd_app {
namespace helpers {

namespace {

// The end of a character set that opens at `open`, or -1 when the "[" opens
// nothing: a set needs a closing "]" and at least one character in it (a "]"
// right after the opening, or after its "!", is one of its characters).
int setEnd(const QString &text, int open)
{
    int index = open + 1;
    if (index < text.size() && (text.at(index) == QLatin1Char('!') || text.at(index) == QLatin1Char('^'))) {
        ++index;
    }
    if (index < text.size() && text.at(index) == QLatin1Char(']')) {
        ++index;
    }
    const int close = text.indexOf(QLatin1Char(']'), index);
    return close > open + 1 ? close : -1;
}

QString setExpression(const QString &text, int open, int close)
{
    QString members = text.mid(open + 1, close - open - 1);
    QString expression = QStringLiteral("[");
    if (members.startsWith(QLatin1Char('!')) || members.startsWith(QLatin1Char('^'))) {
        expression += QLatin1Char('^');
        members.remove(0, 1);
    }
    for (const QChar c : members) {
        // Ranges keep their meaning; every other character stands for itself.
        if (c == QLatin1Char('-')) {
            expression += c;
        } else {
            expression += QRegularExpression::escape(QString(c));
        }
    }
    return expression + QLatin1Char(']');
}

} // namespace

QRegularExpression CWildcardPattern::containing(const QString &text)
{
    QString expression;
    for (int index = 0; index < text.size(); ++index) {
        const QChar c = text.at(index);
        if (c == QLatin1Char('*')) {
            expression += QStringLiteral(".*");
        } else if (c == QLatin1Char('?')) {
            expression += QLatin1Char('.');
        } else if (c == QLatin1Char('[') && setEnd(text, index) > 0) {
            const int close = setEnd(text, index);
            expression += setExpression(text, index, close);
            index = close;
        } else {
            expression += QRegularExpression::escape(QString(c));
        }
    }
    QRegularExpression pattern(expression, QRegularExpression::CaseInsensitiveOption |
                                               QRegularExpression::UseUnicodePropertiesOption |
                                               QRegularExpression::DotMatchesEverythingOption);
    if (!pattern.isValid()) {
        // A set such as "[z-a]" is no set after all: look for the text itself.
        pattern.setPattern(QRegularExpression::escape(text));
    }
    return pattern;
}

} // namespace helpers
} // namespace kd_app
