#pragma once
// The page of both matrices (matrixpicture.h) as a vector PDF, A4 landscape.

#include "model.h"

#include <QString>

class QIODevice;

namespace sp::proposal {

// Writes the PDF to `device`. Returns false and sets `error` (when given) on failure.
bool writeMatricesPdf(QIODevice &device, const Model &model, QString *error);

} // namespace sp::proposal
