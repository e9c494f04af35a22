#pragma once
// The page of both matrices (matrixpicture.h) as a vector PDF, A4 landscape.

#include "model.h"

#include <QString>

class QIODevice;
class QPaintDevice;

namespace sp::proposal {

// Writes the PDF to `device`. Returns false and sets `error` (when given) on failure.
bool writeMatricesPdf(QIODevice &device, const Model &model, QString *error);

// Paints that page over the whole of `pdf`, a PDF writer or any paint device. Returns false
// and sets `error` (when given) when the painting cannot start or cannot be finished.
bool paintMatricesPdf(QPaintDevice &pdf, const Model &model, QString *error);

} // namespace sp::proposal
