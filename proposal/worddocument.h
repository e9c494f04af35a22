#pragma once
// The proposal as a Word document (.docx, WordprocessingML): the text file's words from the
// same outline as the OpenDocument text, in Word's own markup: headings in the built-in
// heading styles, the instructions to replace in a character style of their own, both tables
// as fixed tables with the scale names upright and the rows shaded, a picture of each matrix.

#include "model.h"

#include <QString>

class QIODevice;

namespace sp::proposal {

// Writes the document to `device`, with the model's resolution statement, dated `date` as the
// text file is. Returns false and sets `error` (when given) on failure.
bool writeWordDocument(QIODevice &device, const Model &model, const QString &date, QString *error);

} // namespace sp::proposal
