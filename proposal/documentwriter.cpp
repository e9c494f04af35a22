#include "documentwriter.h"

#include "impactmarking.h"

#include <algorithm>
#include <utility>

namespace sp::proposal::parts {

// Rows end at LineEnd, cells at Tab.
TableRows tableRows(std::span<const Piece> pieces) {
    TableRows rows(1);
    std::size_t cellStart = 0;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (pieces[i].kind == Piece::LineEnd) {
            rows.emplace_back();
            cellStart = i + 1;
        } else if (pieces[i].kind == Piece::Tab) {
            rows.back().push_back(pieces.subspan(cellStart, i - cellStart));
            cellStart = i + 1;
        }
    }
    return rows;
}

const char *styleName(std::span<const ParagraphStyle> styles, look::Kind kind) {
    const auto style =
        std::find_if(styles.begin(), styles.end(),
                     [kind](const ParagraphStyle &style) { return style.kind == kind; });
    return style == styles.end() ? nullptr : style->name;
}

void DocumentFormat::paragraph(look::Kind kind, std::span<const Piece> pieces) {
    startParagraph(kind);
    for (const Piece &piece : pieces) {
        if (piece.kind == Piece::Tab) {
            tab();
        } else if (piece.kind == Piece::LineEnd) {
            lineEnd();
        } else if (piece.kind == Piece::Data) {
            data(piece.text);
        } else { // split at its instructions, nested brackets included
            const QStringView words = piece.text;
            qsizetype from = 0, open = 0;
            int depth = 0;
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
    }
    endParagraph();
}

void DocumentFormat::cell(const TableRows &rows, std::size_t row, std::size_t column) {
    const look::Kind kinds[2][2] = {{look::MatrixCaption, look::MatrixScale},
                                    {look::MatrixAspect, look::MatrixSymbol}};
    paragraph(kinds[row > 0][column > 0], rows[row][column]);
}

void writeBody(const Document &document, DocumentFormat &format) {
    // An empty line parts groups of sentences (the criteria of 3.1, the actors per aspect); an
    // instruction to format by hand after it ends that.
    bool afterEmptyLine = false;
    for (const Block &block : document.outline.blocks) {
        const bool spaced = std::exchange(afterEmptyLine, false);
        const std::span<const Piece> pieces = document.outline.piecesOf(block);
        switch (block.kind) {
        case Block::Formatting:
            break;
        case Block::Heading:
            format.paragraph(look::Kind(look::Heading1 + std::clamp(int(block.level), 1, 3) - 1),
                             pieces);
            break;
        case Block::Table:
            format.table(block.matrix, tableRows(pieces));
            break;
        case Block::Picture:
            format.startParagraph(look::MatrixPicture);
            format.picture(block.matrix, look::pictureTitle(document.model, block.matrix),
                           look::pictureDescription(block.matrix));
            format.endParagraph();
            break;
        default:
            if (block.count == 0)
                afterEmptyLine = true;
            else
                format.paragraph(block.kind == Block::Title           ? look::Title
                                 : block.kind == Block::ContentsTitle ? look::ContentsTitle
                                 : block.kind == Block::Legend        ? look::Legend
                                 : spaced                             ? look::Spaced
                                                                      : look::Body,
                                 pieces);
        }
    }
}

bool writeDocument(QIODevice &device, const Model &model, const QString &date,
                   DocumentFormat &format, QString *error) {
    const QString resolution = impacts::resolutionStatement(model); // the outline views it
    const Outline outline = proposalOutline(model, resolution, date);
    std::array<QByteArray, 2> pictures;
    return matrixPngs(model, &pictures, error) &&
           writePackage(device, format.package({model, outline, pictures}), error);
}

} // namespace sp::proposal::parts
