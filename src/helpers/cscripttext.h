#pragma once

#include <QString>

namespace kd_app {
namespace helpers {

// Text that goes into a script run in a web page.
class CScriptText
{
public:
    CScriptText() = delete;

    // The text as a single-quoted JavaScript string literal, quotes
    // included: whatever it holds (quotes, backslashes, line breaks, the
    // line and paragraph separators, other control characters) stays text
    // and never ends the literal.
    static QString quoted(const QString &text);
};

} // namespace helpers
} // namespace kd_app
