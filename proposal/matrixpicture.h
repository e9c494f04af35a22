#pragma once
// The matrices as pictures: each as its window draws it, for the document, and both on one
// landscape page with their legends, for the PDF and print. Plain QtGui: nothing here needs a
// window, so the command line and tests use it too.

#include "model.h"
#include "tables.h"

#include <QRectF>
#include <QSizeF>

class QPainter;

namespace sp::proposal {

// One matrix as its window draws it: the scale chart, the row captions, the 6 x 22 cells in
// their aspect colours with their marks and, in Future, the black cues where an impact meets
// no trend. Vector drawing, scaled into `target` (keeping the aspect ratio, centred).
void paintMatrix(QPainter &painter, const QRectF &target, const Model &model, MatrixKind which);

// The natural size of that picture in window pixels, for its aspect ratio.
QSizeF matrixPictureSize();

// One landscape page: both matrices, the time horizon, the model's resolution statement and
// the legends of their marks, fitted into `page` (in the painter's coordinates).
void paintMatricesPage(QPainter &painter, const QRectF &page, const Model &model);

} // namespace sp::proposal
