#pragma once
// What the two formatted documents (the OpenDocument text and the Word document) share: the
// page and the tables' columns, the pictures of the matrices, the cells of a table block, the
// instructions among the program's words, the characters XML can hold and the zip package.

#include "model.h"
#include "outline.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>

#include <array>
#include <span>
#include <utility>
#include <vector>

class QIODevice;

namespace sp::proposal::parts {

// A4 portrait with 2 cm margins: every table and picture is made to fit the 17 cm between.
inline constexpr double PageWidthCm = 21;
inline constexpr double PageHeightCm = 29.7;
inline constexpr double MarginCm = 2;
inline constexpr double TextWidthCm = PageWidthCm - 2 * MarginCm;
// Wide enough for "management" and "Future 2030"; the 22 scale columns share the rest.
inline constexpr double FirstColumnCm = 2.4;
inline constexpr double PictureWidthCm = 16;
// Sharp in print.
inline constexpr double PictureDpi = 300;

double pictureHeightCm();

// The picture of a matrix at PictureDpi for PictureWidthCm.
QImage matrixImage(const Model &model, MatrixKind which);

// The pictures of both matrices as PNGs, Future's first, made side by side where threads are
// there: drawing and encoding them take most of a document's time.
std::array<QByteArray, 2> matrixPngs(const Model &model);

// The cells of a table block, row by row: each cell the pieces before its tab.
using TableRows = std::vector<std::vector<std::span<const Piece>>>;
TableRows tableRows(std::span<const Piece> pieces);

// The blocks a formatted document shows, in order, each with whether it is a paragraph
// after an empty line of the text file, which becomes space above it: the instructions to
// format by hand are left out (done there), and so are the empty lines.
template <typename Visit> void forEachShownBlock(const Outline &outline, Visit &&visit) {
    bool afterEmptyLine = false;
    for (const Block &block : outline.blocks) {
        const bool spaced = std::exchange(afterEmptyLine, false);
        const bool text = block.kind != Block::Formatting && block.kind != Block::Heading &&
                          block.kind != Block::Table && block.kind != Block::Picture;
        if (block.kind == Block::Formatting)
            continue;
        if (text && block.count == 0)
            afterEmptyLine = true;
        else
            visit(block, spaced && block.kind == Block::Paragraph);
    }
}

// The program's words split into plain runs and "<...>" instructions (nested brackets
// included), in order: plain(text) and instruction(text) are called for each.
template <typename Plain, typename Instruction>
void splitInstructions(QStringView words, Plain &&plain, Instruction &&instruction) {
    qsizetype from = 0;
    int depth = 0;
    qsizetype open = 0;
    for (qsizetype i = 0; i < words.size(); ++i) {
        if (words[i] == u'<') {
            if (depth++ == 0)
                open = i;
        } else if (words[i] == u'>' && depth > 0 && --depth == 0) {
            plain(words.sliced(from, open - from));
            instruction(words.sliced(open, i + 1 - open));
            from = i + 1;
        }
    }
    plain(words.sliced(from));
}

// `text` without what XML 1.0 cannot hold: control characters but tab, line feed and carriage
// return, U+FFFE and U+FFFF, and surrogates that are not a pair. A typed horizon could hold them.
QString xmlText(QStringView text);

struct PackageFile {
    QString path;
    QByteArray data;
};

// Zips the files in order onto `device`; the first one stored uncompressed when
// `firstStored` (an OpenDocument's mimetype). False and `error` set on failure.
bool writePackage(QIODevice &device, const QList<PackageFile> &files, bool firstStored,
                  QString *error);

} // namespace sp::proposal::parts
