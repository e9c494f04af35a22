#pragma once
// The proposal file is Windows-1252 text on every platform, whatever the process locale or
// the system's ANSI code page, so that a file moves between systems unchanged.

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace sp::proposal {

// One byte per character; a character that Windows-1252 cannot hold becomes one "?" (a
// surrogate pair, or a lone surrogate, counts as one character).
QByteArray toWindows1252(QStringView text);

// One character per byte; every byte has one.
QString fromWindows1252(QByteArrayView bytes);

} // namespace sp::proposal
