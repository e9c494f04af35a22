#pragma once

#include <QString>

namespace sp::future {

// The time horizon box holds one line: text pasted with line breaks keeps its first line, as
// a single-line box does, so the horizon never breaks the proposal's CR LF lines.
inline QString singleLineHorizon(const QString &text) {
    for (qsizetype i = 0; i < text.size(); ++i)
        if (text[i] == QLatin1Char('\r') || text[i] == QLatin1Char('\n'))
            return text.left(i);
    return text;
}

} // namespace sp::future
