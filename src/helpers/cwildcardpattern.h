#pragma once

#include <QRegularExpression>
#include <QString>

namespace kd_app {
namespace helpers {

// The search of the user lists: the typed text is found anywhere in a name,
// in any letter case; "?" stands for one character, "*" for any run of
// characters and "[...]" for one character of a set ("[!...]" or "[^...]"
// for one outside it). Whatever cannot be read that way, such as a lone "["
// or "]", is looked for as it was typed.
class CWildcardPattern
{
public:
    CWildcardPattern() = delete;

    static QRegularExpression containing(const QString &text);
};

} // namespace helpers
} // namespace kd_app
