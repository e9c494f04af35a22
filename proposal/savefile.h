#pragma once
// Writing the proposal bytes. A failed save reports the system's reason and never leaves a
// partial file nor destroys the earlier one.

#include <QByteArray>
#include <QIODevice>
#include <QString>

namespace sp::proposal {

// Writes all of `bytes` to an open device; on failure returns false and, when `error` is
// given, the device's reason.
bool writeBytes(QIODevice &device, const QByteArray &bytes, QString *error);

// Replaces the file at `path` with `bytes` through a temporary file and a rename.
bool saveStudyProposal(const QString &path, const QByteArray &bytes, QString *error);

// The status line text after a failed save.
QString failureMessage(const QString &reason);

} // namespace sp::proposal
