#include "outline.h"

#include "chapters.h"
#include "marks.h"
#include "symbols.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace sp::proposal {
namespace {

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

// Enough for a crowded model, so the lists and the text are built without reallocating.
constexpr std::size_t ExpectedPieces = 3072;
constexpr std::size_t ExpectedBlocks = 512;
constexpr qsizetype ExpectedLength = 40 * 1024;

// Keeps the blocks and their pieces, for the formatted outputs.
class OutlineSink {
public:
    OutlineSink() {
        outline_.pieces.reserve(ExpectedPieces);
        outline_.blocks.reserve(ExpectedBlocks);
    }
    void piece(Piece piece) { outline_.pieces.push_back(piece); }
    void endBlock(Block::Kind kind, unsigned char level, MatrixKind matrix) {
        const auto end = qsizetype(outline_.pieces.size());
        outline_.blocks.push_back({kind, level, matrix, first_, end - first_});
        first_ = end;
    }
    Outline take() { return std::move(outline_); }

private:
    Outline outline_;
    qsizetype first_ = 0;
};

// Runs the pieces together into the text file's text as they come: every block a line (a
// table a line per row) ended by CR LF, a picture nothing. Pieces are copied into text
// sized ahead; QString::append per piece costs as much as the copying itself.
class TextSink {
public:
    TextSink()
        : out_(ExpectedLength, Qt::Uninitialized)
        , next_(out_.data())
        , end_(next_ + out_.size()) {}
    void piece(Piece piece) {
        switch (piece.kind) {
        case Piece::Tab:
            put(u"\t");
            break;
        case Piece::LineEnd:
            put(u"\r\n");
            break;
        default:
            put(piece.text);
        }
    }
    void endBlock(Block::Kind kind, unsigned char, MatrixKind) {
        if (kind != Block::Picture)
            put(u"\r\n");
    }
    QString take() {
        out_.truncate(next_ - out_.data());
        return std::move(out_);
    }

private:
    void put(QStringView words) {
        if (end_ - next_ < words.size())
            grow(words.size());
        next_ = std::copy(words.begin(), words.end(), next_);
    }
    void grow(qsizetype needed) {
        const qsizetype used = next_ - out_.data();
        out_.resize(std::max(2 * out_.size(), used + needed));
        next_ = out_.data() + used;
        end_ = out_.data() + out_.size();
    }

    QString out_;
    QChar *next_; // where the next piece goes
    QChar *end_;
};

// Writes the document as blocks of pieces into `Sink`, in the order the text file has them.
// Pieces go to the open block; endLine() closes it and opens the next, a paragraph unless
// begin() says otherwise.
template <typename Sink> class OutlineWriter {
public:
    OutlineWriter(const Model &model, QStringView resolution, QStringView date, Sink &sink)
        : model_(model)
        , horizon_(model.horizon)
        , resolution_(resolution)
        , date_(date)
        , sink_(sink) {}

    // The whole document; call once.
    void write();

private:
    void fixed(QStringView words) { sink_.piece({words, Piece::Fixed}); }
    void data(QStringView words) { sink_.piece({words, Piece::Data}); }
    void tab() { sink_.piece({{}, Piece::Tab}); }
    void rowEnd() { sink_.piece({{}, Piece::LineEnd}); }

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
        sink_.endBlock(kind_, level_, matrix_);
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
    template <typename SymbolAt> void writeTable(MatrixKind which, SymbolAt symbolAt);
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
    Sink &sink_;
    // The open block.
    Block::Kind kind_ = Block::Paragraph;
    unsigned char level_ = 0;
    MatrixKind matrix_ = MatrixKind::Future;
};

template <typename Sink> void OutlineWriter<Sink>::chapterLines(chapters::Lines lines) {
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

template <typename Sink> void OutlineWriter<Sink>::write() {
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
template <typename Sink> void OutlineWriter<Sink>::writeObjectSentence() {
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
// Both tables: the header row, a row per aspect with a symbol per scale, and the lines that
// follow them in the text file.
template <typename Sink>
template <typename SymbolAt>
void OutlineWriter<Sink>::writeTable(MatrixKind which, SymbolAt symbolAt) {
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
    for (int a = 1; a <= AspectCount; ++a) {
        data(aspectName(a));
        tab();
        for (int s = 1; s <= ScaleCount; ++s) {
            fixed(symbolAt(a, s));
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
}

template <typename Sink> void OutlineWriter<Sink>::writeFutureTable() {
    writeTable(MatrixKind::Future, [this](int a, int s) {
        return symbols::TrendTableSymbols[a][detail::checked(trendAt(a, s), 2, "trend mark")];
    });
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

template <typename Sink> void OutlineWriter<Sink>::writeImpactTable() {
    endLine();
    picture(MatrixKind::Impacts);
    writeTable(MatrixKind::Impacts, [this](int a, int s) {
        return symbols::ImpactSymbols[detail::checked(impactAt(a, s), Programme, "impact mark")];
    });
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

template <typename Sink> void OutlineWriter<Sink>::writeActorLines(int mark) {
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

template <typename Sink> void OutlineWriter<Sink>::writeLocationInfluence() {
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

template <typename Sink> void OutlineWriter<Sink>::writeMotivationLines() {
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
template <typename Sink>
void OutlineWriter<Sink>::writeTrendScales(int aspect, QStringView first, QStringView second) {
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
template <typename Sink>
void OutlineWriter<Sink>::writeScaleNames(int aspect, int mark, QStringView separator) {
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

template <typename Sink> void OutlineWriter<Sink>::writeKeywordIndex() {
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
    OutlineSink sink;
    OutlineWriter(model, resolution, date, sink).write();
    return sink.take();
}

QString outlineText(const Model &model, QStringView resolution, QStringView date) {
    TextSink sink;
    OutlineWriter(model, resolution, date, sink).write();
    return sink.take();
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
