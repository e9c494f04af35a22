#pragma once
// The last step of every writer: its bytes onto the device, every failure reported.

#include "failure.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>

namespace sp::proposal {

// Writes all of `bytes` to an open device; on failure returns false and, when `error` is
// given, sets it to the device's reason.
bool writeBytes(QIODevice &device, const QByteArray &bytes, QString *error);

// Sets `error`, when given, to the device's reason (or a general one where the device gives
// none) and returns false.
bool deviceFailed(const QIODevice &device, QString *error);

} // namespace sp::proposal
