#pragma once
// The proposal file is Windows-1252 text on every platform, whatever the process locale.

#include <QByteArray>
#include <QStringView>

namespace sp::proposal {

// One byte per character; a character that Windows-1252 cannot hold becomes one "?" (a
// surrogate pair, or a lone surrogate, counts as one character).
QByteArray toWindows1252(QStringView text);

} // namespace sp::proposal
