#include "documentlook.h"

#include "layout.h"
#include "matrixpicture.h"

#include <array>

namespace sp::proposal::look {

namespace {

// The headings' and titles' in common, with their own space above and size.
constexpr Paragraph heading(double aboveCm, double points, int level = 0) {
    return {.aboveCm = aboveCm,
            .belowCm = 0.21,
            .keepWithNext = true,
            .bold = true,
            .points = points,
            .outlineLevel = level};
}

constexpr std::array<Paragraph, KindCount> Paragraphs = [] {
    std::array<Paragraph, KindCount> all{};
    all[Body] = {.aboveCm = 0, .belowCm = 0.14, .lineSpacing = 1.15};
    all[Spaced] = all[Legend] = all[Body];
    all[Spaced].aboveCm = 0.3;
    all[Legend].belowCm = 0.05;
    all[Legend].points = 9.5;
    all[Heading] = heading(0.42, 0);
    all[Heading1] = heading(0.8, 16, 1);
    all[Heading2] = heading(0.6, 13, 2);
    all[Heading3] = heading(0.42, 11, 3);
    all[Title] = heading(0.42, 18);
    all[Title].belowCm = 0.4;
    all[Title].centred = true;
    all[ContentsTitle] = heading(0.42, 16);
    all[MatrixCaption] = {.bold = true, .points = 9};
    all[MatrixScale] = {.points = 8};
    all[MatrixAspect] = {.points = 9};
    all[MatrixSymbol] = {.centred = true, .bold = true, .points = 11};
    all[MatrixPicture] = {.aboveCm = 0.2, .belowCm = 0.2, .keepWithNext = true, .centred = true};
    return all;
}();

} // namespace

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
