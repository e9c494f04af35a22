#include "documentlook.h"

#include "layout.h"
#include "matrixpicture.h"

#include <iterator>

namespace sp::proposal::look {

// In the order of Kind: space above and below (cm), line spacing (lines), kept with the next,
// centred, bold, type size (points), outline level.
constexpr Paragraph Paragraphs[] = {
    {},                                        // Plain
    {0, 0.14, 1.15},                           // Body
    {0.3, 0.14, 1.15},                         // Spaced
    {0, 0.05, 1.15, false, false, false, 9.5}, // Legend
    {0.42, 0.21, 0, true, false, true},        // Heading
    {0.8, 0.21, 0, true, false, true, 16, 1},  // Heading1
    {0.6, 0.21, 0, true, false, true, 13, 2},  // Heading2
    {0.42, 0.21, 0, true, false, true, 11, 3}, // Heading3
    {0.42, 0.4, 0, true, true, true, 18},      // Title
    {0.42, 0.21, 0, true, false, true, 16},    // ContentsTitle
    {},                                        // CellText
    {{}, {}, 0, false, false, true, 9},        // MatrixCaption
    {{}, {}, 0, false, false, false, 8},       // MatrixScale
    {{}, {}, 0, false, false, false, 9},       // MatrixAspect
    {{}, {}, 0, false, true, true, 11},        // MatrixSymbol
    {0.2, 0.2, 0, true, true},                 // MatrixPicture
};
static_assert(std::size(Paragraphs) == KindCount);

const Paragraph &paragraph(Kind kind) {
    return Paragraphs[kind];
}

QColor rowFill(int row) {
    return row == 0 ? QColor() : layout::aspectColour(row);
}

double pictureHeightCm() {
    const QSizeF size = matrixPictureSize();
    return PictureWidthCm * size.height() / size.width();
}

QString matrixName(MatrixKind which) {
    return which == MatrixKind::Future ? QStringLiteral("Future") : QStringLiteral("Impacts");
}

QString pictureFile(MatrixKind which) {
    return matrixName(which).toLower() + QStringLiteral(".png");
}

QString pictureTitle(const Model &model, MatrixKind which) {
    return which == MatrixKind::Future ? QStringLiteral("Probable future until ") + model.horizon
                                       : QStringLiteral("Object and impact");
}

QString pictureDescription(MatrixKind which) {
    return which == MatrixKind::Future
               ? QStringLiteral("The trends marked for every aspect and scale level")
               : QStringLiteral("The frame, the grain and the impacts marked for every aspect "
                                "and scale level");
}

QString documentTitle(const Model &model) {
    return QStringLiteral("Study proposal until ") + model.horizon;
}

} // namespace sp::proposal::look
