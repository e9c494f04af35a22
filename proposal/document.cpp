#include "document.h"

#include "outline.h"

#include <QDate>
#include <QLocale>

#include <algorithm>

namespace sp::proposal {
namespace {

constexpr QStringView LineEnd = u"\r\n";

qsizetype textLength(const Outline &outline) {
    qsizetype length = 0;
    for (const Piece &piece : outline.pieces)
        length += piece.kind == Piece::Tab       ? 1
                  : piece.kind == Piece::LineEnd ? 2
                                                 : piece.text.size();
    for (const Block &block : outline.blocks)
        length += block.kind == Block::Picture ? 0 : LineEnd.size();
    return length;
}

} // namespace

// Every block is a line (a table one per row) ended by CR LF; a picture has no text. The
// pieces are copied into text sized once: appending per piece costs as much as the copying.
QString studyProposalText(const Model &model, const QString &resolution, const QString &date) {
    const Outline outline = proposalOutline(model, resolution, date);
    QString text(textLength(outline), Qt::Uninitialized);
    QChar *next = text.data();
    const auto put = [&next](QStringView words) {
        next = std::copy(words.begin(), words.end(), next);
    };
    for (const Block &block : outline.blocks) {
        if (block.kind == Block::Picture)
            continue;
        for (const Piece &piece : outline.piecesOf(block)) {
            switch (piece.kind) {
            case Piece::Tab:
                put(u"\t");
                break;
            case Piece::LineEnd:
                put(LineEnd);
                break;
            default:
                put(piece.text);
            }
        }
        put(LineEnd);
    }
    return text;
}

QString todayShortDate() {
    return QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
}

} // namespace sp::proposal
