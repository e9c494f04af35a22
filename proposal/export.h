#pragma once
// The formatted outputs beside "StudyProposal.txt": the proposal as an OpenDocument text with
// real headings, tables and pictures of both matrices, and a page with both matrices for PDF
// or print. Plain QtGui: nothing here needs a window, so the command line and tests use it too.

#include "model.h"
#include "tables.h"

#include <QRectF>
#include <QSizeF>
#include <QString>

class QPainter;

namespace sp::proposal {

// One matrix as its window draws it: the scale chart, the row captions, the 6 x 22 cells in
// their aspect colours with their marks and, in Future, the black cues where an impact meets
// no trend. Vector drawing, scaled into `target` (keeping the aspect ratio, centred).
void paintMatrix(QPainter &painter, const QRectF &target, const Model &model, MatrixKind which);

// The natural size of that picture in window pixels, for its aspect ratio.
QSizeF matrixPictureSize();

// The proposal as an OpenDocument text (.odt), written atomically. `resolution` and `date` as
// for studyProposalText. Returns an empty string on success, else a short reason for a status
// line or standard error.
QString writeDocument(const QString &path, const Model &model, const QString &resolution,
                      const QString &date);

// One landscape page: both matrices, the time horizon, the resolution statement and the
// legends of their marks, fitted into `page` (in the painter's coordinates).
void paintMatricesPage(QPainter &painter, const QRectF &page, const Model &model,
                       const QString &resolution);

// That page as a vector PDF, A4 landscape, written atomically. Empty on success, else a short
// reason.
QString writeMatricesPdf(const QString &path, const Model &model, const QString &resolution);

} // namespace sp::proposal
