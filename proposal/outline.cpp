#include "outline.h"

#include "chapters.h"
#include "marks.h"

#include <array>
#include <string_view>

namespace sp::proposal {
namespace {

using tables::ImpactSymbols;
using tables::TrendSymbols;

// The key-word form of each aspect's first trend, opening its scale list.
constexpr std::array<std::u16string_view, AspectCount + 1> TrendWords{
    u"",
    u"initiating(",
    u"innovative(",
    u"growing(",
    u"specialising(",
    u"diversifying(",
    u"concentrating(",
};

constexpr std::u16string_view UprightHeader =
    u"<put the letters of the first row upright and stretch the height of the row to fit on page>";

// Enough for a crowded model, so the lists are built without reallocating.
constexpr qsizetype ExpectedPieces = 1600;
constexpr qsizetype ExpectedBlocks = 400;

// Builds the document as blocks of pieces, in the order the text file has them. Pieces are
// added to the open block; endLine() closes it and opens the next, a paragraph unless
// begin() says otherwise.
class OutlineWriter {
public:
    OutlineWriter(const Model &model, QStringView resolution, QStringView date)
        : model_(model)
        , horizon_(model.horizon)
        , resolution_(resolution)
        , date_(date) {
        outline_.pieces.reserve(ExpectedPieces);
        outline_.blocks.reserve(ExpectedBlocks);
    }

    // The whole document; call once.
    Outline outline() {
        writeDocument();
        return std::move(outline_);
    }

private:
    void writeDocument();

    void fixed(QStringView words) { outline_.pieces.append({words, Piece::Fixed}); }
    void data(QStringView words) { outline_.pieces.append({words, Piece::Data}); }
    void tab() { outline_.pieces.append({{}, Piece::Tab}); }
    void rowEnd() { outline_.pieces.append({{}, Piece::LineEnd}); }

    // Gives the open block, still empty, its kind.
    void begin(Block::Kind kind, int level = 0) {
        kind_ = kind;
        level_ = static_cast<unsigned char>(level);
    }
    void begin(Block::Kind kind, MatrixKind matrix) {
        begin(kind);
        matrix_ = matrix;
    }
    void endLine() {
        const qsizetype end = outline_.pieces.size();
        outline_.blocks.append({kind_, level_, matrix_, first_, end - first_});
        first_ = end;
        begin(Block::Paragraph);
    }
    void fixedLine(QStringView words) {
        fixed(words);
        endLine();
    }
    void picture(MatrixKind matrix) {
        begin(Block::Picture, matrix);
        endLine();
    }
    void chapterLines(chapters::Lines lines);

    int trendAt(int aspect, int scale) const { return model_.futureGrid(aspect, scale); }
    int impactAt(int aspect, int scale) const { return model_.impactGrid(aspect, scale); }
    const QString &scaleName(int scale) const { return model_.scaleNames[scale]; }
    const QString &aspectName(int aspect) const { return model_.aspectNames[aspect]; }

    void writeObjectSentence();
    void writeTableHeader(MatrixKind which);
    void writeFutureTable();
    void writeImpactTable();
    void writeActorLines(int mark);
    void writeLocationInfluence();
    void writeMotivationLines();
    void writeKeywordIndex();
    void writeTrendScales(int aspect, QStringView first, QStringView second);
    void writeScaleNames(int aspect, int mark, QStringView separator);

    const Model &model_;
    QStringView horizon_;
    QStringView resolution_;
    QStringView date_;
    Outline outline_;
    // The open block.
    Block::Kind kind_ = Block::Paragraph;
    unsigned char level_ = 0;
    MatrixKind matrix_ = MatrixKind::Future;
    qsizetype first_ = 0;
};

void OutlineWriter::chapterLines(chapters::Lines lines) {
    for (const chapters::Line &line : lines) {
        switch (line.role) {
        case chapters::Text:
            break;
        case chapters::Heading1:
        case chapters::Heading2:
        case chapters::Heading3:
            begin(Block::Heading, line.role - chapters::Heading1 + 1);
            break;
        case chapters::ContentsTitle:
            begin(Block::ContentsTitle);
            break;
        case chapters::Formatting:
            begin(Block::Formatting);
            break;
        }
        if (!line.text.empty())
            fixed(line.text);
        endLine();
    }
}

void OutlineWriter::writeDocument() {
    chapterLines(chapters::SegmentA);
    begin(Block::Title);
    fixed(u"<author's last name, first name or initials and prefix>");
    fixed(u"(");
    data(date_);
    fixed(u")");
    fixedLine(u"<TITLE> (Vennmark) HSO Faculty of Architecture");
    chapterLines(chapters::SegmentB);
    writeObjectSentence();
    fixedLine(u".");
    chapterLines(chapters::SegmentC);
    fixed(u"My assumptions about the probable future context of the object of study until ");
    data(horizon_);
    fixedLine(u" are:");
    picture(MatrixKind::Future);
    writeFutureTable();
    chapterLines(chapters::SegmentD);
    writeImpactTable();
    chapterLines(chapters::SegmentE);
    writeActorLines(Programme);
    chapterLines(chapters::SegmentF);
    writeActorLines(Unintended);
    chapterLines(chapters::SegmentG);
    writeObjectSentence();
    fixedLine(u". The actual object will be located in ....");
    chapterLines(chapters::SegmentH);
    writeLocationInfluence();
    chapterLines(chapters::SegmentI);
    writeMotivationLines();
    chapterLines(chapters::SegmentJ);
    chapterLines(chapters::References);
    chapterLines(chapters::SegmentK);
    writeKeywordIndex();
}

// Leaves its line open for the caller's ending.
void OutlineWriter::writeObjectSentence() {
    data(resolution_);
    fixed(u" for ");
    data(horizon_);
    if (countImpactMarks(model_, MassAspect, Frame) >= 1) {
        fixed(u" on ");
        writeScaleNames(MassAspect, Frame, {});
        fixed(u" scale ");
    }
    if (countImpactMarks(model_, MassAspect, Grain) >= 1) {
        fixed(u"with smallest details on ");
        for (int s = 1; s <= ScaleCount; ++s) {
            if (impactAt(MassAspect, s) == Grain) {
                data(scaleName(s));
                fixed(u" level");
            }
        }
    }
}

// Opens the table block with its header row.
void OutlineWriter::writeTableHeader(MatrixKind which) {
    begin(Block::Formatting);
    fixedLine(tables::StartTable);
    begin(Block::Table, which);
    fixed(which == MatrixKind::Future ? tables::FutureCaption : tables::ImpactsCaption);
    data(horizon_);
    tab();
    for (int s = 1; s <= ScaleCount; ++s) {
        data(scaleName(s));
        tab();
    }
    rowEnd();
}

void OutlineWriter::writeFutureTable() {
    writeTableHeader(MatrixKind::Future);
    for (int a = 1; a <= AspectCount; ++a) {
        data(aspectName(a));
        tab();
        for (int s = 1; s <= ScaleCount; ++s) {
            fixed(TrendSymbols[a][detail::checked(trendAt(a, s), 2, "trend mark")]);
            tab();
        }
        if (a < AspectCount)
            rowEnd();
    }
    endLine();
    begin(Block::Formatting);
    fixedLine(tables::StopTable);
    begin(Block::Formatting);
    fixedLine(UprightHeader);
    begin(Block::Formatting);
    fixedLine(
        u"<if the table is still too wide, decrease the margins per cell in table properties>");
    fixedLine(u"Legend:");
    for (int a = 1; a <= AspectCount; ++a) {
        begin(Block::Legend, MatrixKind::Future);
        data(aspectName(a));
        fixed(u" is ");
        data(model_.trendNames(a, 1));
        fixed(u" or ");
        data(model_.trendNames(a, 2));
        endLine();
    }
}

void OutlineWriter::writeImpactTable() {
    endLine();
    picture(MatrixKind::Impacts);
    writeTableHeader(MatrixKind::Impacts);
    for (int a = 1; a <= AspectCount; ++a) {
        data(aspectName(a));
        tab();
        for (int s = 1; s <= ScaleCount; ++s) {
            fixed(ImpactSymbols[detail::checked(impactAt(a, s), Programme, "impact mark")]);
            tab();
        }
        if (a < AspectCount)
            rowEnd();
    }
    endLine();
    begin(Block::Formatting);
    fixedLine(tables::StopTable);
    begin(Block::Formatting);
    fixedLine(UprightHeader);
    fixedLine(u"Legend:");
    begin(Block::Legend, MatrixKind::Impacts);
    data(model_.impactNames[Frame]);
    fixed(u" and ");
    data(model_.impactNames[Grain]);
    endLine();
    begin(Block::Legend, MatrixKind::Impacts);
    data(model_.impactNames[Unintended]);
    fixed(u" or ");
    data(model_.impactNames[Programme]);
    endLine();
}

void OutlineWriter::writeActorLines(int mark) {
    for (int a = 1; a <= AspectCount; ++a) {
        if (countImpactMarks(model_, a, mark) <= 0)
            continue;
        fixed(u"Actors in ");
        data(aspectName(a));
        fixedLine(u" on the level of ");
        for (int s = 1; s <= ScaleCount; ++s) {
            if (impactAt(a, s) != mark)
                continue;
            tab();
            if (const int trend = trendAt(a, s); trend > 0) {
                data(model_.trendNames(a, trend));
                fixed(u" ");
            }
            data(scaleName(s));
            fixedLine(u" like ...");
        }
    }
}

void OutlineWriter::writeLocationInfluence() {
    for (int a = 1; a <= AspectCount; ++a) {
        if (countTrendMarks(model_, a, 1) <= 0)
            continue;
        endLine();
        fixed(u"If ");
        data(aspectName(a));
        fixed(u" will be ");
        data(model_.trendNames(a, 1));
        writeTrendScales(a, u" on ", u" not on ");
        fixed(u" level");
        fixedLine(u", it will influence the location by ....");
    }
}

void OutlineWriter::writeMotivationLines() {
    for (int a = 1; a <= AspectCount; ++a) {
        if (countImpactMarks(model_, a, Programme) <= 0)
            continue;
        for (int s = 1; s <= ScaleCount; ++s) {
            if (impactAt(a, s) != Programme)
                continue;
            data(scaleName(s));
            fixed(u" ");
            data(aspectName(a));
            fixed(u" ");
            if (const int trend = trendAt(a, s); trend > 0) {
                fixed(u"usually ");
                data(model_.trendNames(a, trend));
                fixed(u" ");
            }
            fixedLine(u"should ...");
        }
    }
}

// The scales of `aspect` with trend 1 or 2 in scale order, comma-separated, each name after
// the prefix of its trend.
void OutlineWriter::writeTrendScales(int aspect, QStringView first, QStringView second) {
    bool leading = true;
    for (int s = 1; s <= ScaleCount; ++s) {
        const int trend = trendAt(aspect, s);
        if (trend != 1 && trend != 2)
            continue;
        if (!leading)
            fixed(u",");
        leading = false;
        fixed(trend == 1 ? first : second);
        data(scaleName(s));
    }
}

// The names of the scales of `aspect` holding `mark` in impactGrid, `separator` between them.
void OutlineWriter::writeScaleNames(int aspect, int mark, QStringView separator) {
    bool first = true;
    for (int s = 1; s <= ScaleCount; ++s) {
        if (impactAt(aspect, s) != mark)
            continue;
        if (!first)
            fixed(separator);
        first = false;
        data(scaleName(s));
    }
}

void OutlineWriter::writeKeywordIndex() {
    fixed(u"planhorizon(");
    data(horizon_);
    fixedLine(u")");
    for (int a = 1; a <= AspectCount; ++a) {
        if (countTrendMarks(model_, a, 1) < 1)
            continue;
        data(aspectName(a));
        fixed(u" supposed ");
        fixed(TrendWords[a]);
        writeTrendScales(a, {}, u"not");
        fixedLine(u")");
    }
    if (countImpactMarks(model_, MassAspect, Frame) >= 1) {
        fixed(u"frame object");
        fixed(u"(");
        writeScaleNames(MassAspect, Frame, {});
        fixedLine(u")");
    }
    if (countImpactMarks(model_, MassAspect, Grain) >= 1) {
        fixed(u"grain object");
        fixed(u"(");
        writeScaleNames(MassAspect, Grain, {});
        fixedLine(u")");
    }
    // Every impact line comes before every programme line.
    struct MarkList {
        ImpactMark mark;
        std::u16string_view caption;
    };
    for (const MarkList &list :
         {MarkList{Unintended, u"impact "}, MarkList{Programme, u"programme "}}) {
        const auto &[mark, caption] = list;
        for (int a = 1; a <= AspectCount; ++a) {
            if (countImpactMarks(model_, a, mark) <= 0)
                continue;
            fixed(caption);
            data(aspectName(a));
            fixed(u"(");
            writeScaleNames(a, mark, u",");
            fixedLine(u")");
        }
    }
}

} // namespace

Outline proposalOutline(const Model &model, QStringView resolution, QStringView date) {
    return OutlineWriter(model, resolution, date).outline();
}

QString joinedText(std::span<const Piece> pieces) {
    QString text;
    for (const Piece &piece : pieces) {
        switch (piece.kind) {
        case Piece::Tab:
            text += u'\t';
            break;
        case Piece::LineEnd:
            text += u"\r\n";
            break;
        default:
            text += piece.text;
        }
    }
    return text;
}

} // namespace sp::proposal
