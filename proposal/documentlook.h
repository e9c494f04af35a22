#pragma once
// How both formatted documents look, read by the Word and the OpenDocument writers alike: the
// page, the type, each kind of paragraph, the instructions to replace, the tables and the
// pictures with their captions. Each writer gives these its own units and style names.

#include "model.h"
#include "tables.h"

#include <QColor>
#include <QString>

#include <optional>

namespace sp::proposal::look {

// A4 portrait with 2 cm margins: every table and picture is made to fit the 17 cm between.
inline constexpr double PageWidthCm = 21;
inline constexpr double PageHeightCm = 29.7;
inline constexpr double MarginCm = 2;
inline constexpr double TextWidthCm = PageWidthCm - 2 * MarginCm;

// Arial where it is installed; elsewhere word processors take its metric twin.
inline constexpr auto Font = "Arial";
inline constexpr double FontPoints = 10.5;
inline constexpr auto Language = "en-GB";

// The kinds of paragraph, each a style of its own. Heading and CellText are only what the
// kinds after each have in common, for a format whose styles inherit.
enum Kind : unsigned char {
    Plain, // the word processor's default: nothing of its own
    Body,
    Spaced, // after an empty line of the text file
    Legend,
    Heading,
    Heading1,
    Heading2,
    Heading3,
    Title,
    ContentsTitle,
    CellText,
    MatrixCaption, // the header row's first cell
    MatrixScale,   // the header row's scale names, upright
    MatrixAspect,  // an aspect row's first cell
    MatrixSymbol,
    MatrixPicture,
    KindCount,
};

// All a kind of paragraph has, its own or in common; what it leaves unset is the word
// processor's default (no space, single lines, regular type of FontPoints).
struct Paragraph {
    std::optional<double> aboveCm{}, belowCm{};
    double lineSpacing = 0; // in lines
    bool keepWithNext = false;
    bool centred = false;
    bool bold = false;
    double points = 0;
    int outlineLevel = 0; // a heading's, from 1
};
const Paragraph &paragraph(Kind kind);

// What the student still has to replace: blue italics on a pale fill stand out, also in print.
inline constexpr QRgb InstructionColour = 0x0000c0;
inline constexpr QRgb InstructionFill = 0xfff3b0;
inline constexpr bool InstructionItalic = true;

// The tables fill the text width. The first column is wide enough for "management" and
// "Future 2030"; the 22 scale columns share the rest.
inline constexpr double FirstColumnCm = 2.4;
inline constexpr double CellPaddingCm = 0.04; // so that a symbol fits its narrow column
inline constexpr double RulePoints = 0.5;     // black, around every cell
inline constexpr double TableSpaceCm = 0.2;   // above and below
inline constexpr double RowHeightCm = 0.6;    // at least, an aspect's row
// Each aspect's row (from 1) in the aspect's colour; the header row (0) none.
QColor rowFill(int row);

inline constexpr double PictureWidthCm = 16;
inline constexpr double PictureDpi = 300; // sharp in print
double pictureHeightCm();

// "Future" or "Impacts": the name of the matrix's table, and with " matrix" of its picture.
QString matrixName(MatrixKind which);
// "future.png" or "impacts.png".
QString pictureFile(MatrixKind which);
// The picture's title and description, for readers that cannot see it.
QString pictureTitle(const Model &model, MatrixKind which);
QString pictureDescription(MatrixKind which);

// The document's title among its properties.
QString documentTitle(const Model &model);

} // namespace sp::proposal::look
