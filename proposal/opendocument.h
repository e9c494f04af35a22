#pragma once
// The proposal as an OpenDocument text (.odt): the text file's words from the same outline,
// with real headings, the instructions to replace in a style of their own, both tables as
// tables and a picture of each matrix.

#include "model.h"

#include <QString>

class QIODevice;

namespace sp::proposal {

// Writes the document to `device`, with the model's resolution statement, dated `date` as the
// text file is. Returns false and sets `error` (when given) on failure.
bool writeOpenDocument(QIODevice &device, const Model &model, const QString &date, QString *error);

} // namespace sp::proposal
