#pragma once
// One walk over the outline for both formatted documents: the blocks a document shows, in
// order, as paragraphs of pieces, tables of cells and pictures, each handed to the markup of
// the document's format (a DocumentFormat), which packs its files around that body.

#include "documentlook.h"
#include "documentparts.h"
#include "outline.h"

#include <span>
#include <vector>

namespace sp::proposal::parts {

// The cells of a table block, row by row, the header first: each the pieces before its tab.
using TableRows = std::vector<std::vector<std::span<const Piece>>>;
TableRows tableRows(std::span<const Piece> pieces);

// A format's paragraph style for a kind: its name, the one it is shown by where that differs,
// and the kind it is based on (its own for none).
struct ParagraphStyle {
    look::Kind kind;
    const char *name;
    const char *shownName;
    look::Kind basedOn;
};
// The name of the style for `kind` among `styles`; null where there is none.
const char *styleName(std::span<const ParagraphStyle> styles, look::Kind kind);

// What a document is made of: the study, its outline and its pictures, Future's first.
struct Document {
    const Model &model;
    const Outline &outline;
    const std::array<QByteArray, 2> &pictures;
};

class DocumentFormat {
public:
    virtual ~DocumentFormat() = default;

    // The files of the package in order, the body written by writeBody() where it goes.
    virtual QList<PackageFile> package(const Document &document) = 0;

    // A paragraph of `kind` (a heading's tells its level) holding the calls between.
    virtual void startParagraph(look::Kind kind) = 0;
    virtual void endParagraph() = 0;
    // Its words: the program's own (`plain`) with the "<...>" instructions to replace among
    // them, the user's and the vocabulary's (`data`), tabs and line ends. Any may be empty.
    virtual void plain(QStringView words) = 0;
    virtual void instruction(QStringView words) = 0;
    virtual void data(QStringView words) = 0;
    virtual void tab() = 0;
    virtual void lineEnd() = 0;
    // The table of a matrix, each cell holding a paragraph().
    virtual void table(MatrixKind which, const TableRows &rows) = 0;
    // The picture of a matrix, alone in a MatrixPicture paragraph, with its captions.
    virtual void picture(MatrixKind which, const QString &title, const QString &description) = 0;

    // A paragraph of `kind` holding `pieces`.
    void paragraph(look::Kind kind, std::span<const Piece> pieces);
    // That of a table cell.
    void cell(const TableRows &rows, std::size_t row, std::size_t column);
};

// Hands `format` every block the document shows: the instructions to format by hand are left
// out (the document carries them out), and so are the empty lines, each becoming space above
// the paragraph after it.
void writeBody(const Document &document, DocumentFormat &format);

// The document of `model`, dated `date` as the text file is, in `format` onto `device`.
// Returns false and sets `error` (when given) on failure.
bool writeDocument(QIODevice &device, const Model &model, const QString &date,
                   DocumentFormat &format, QString *error);

} // namespace sp::proposal::parts
