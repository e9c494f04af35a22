#include "document.h"

#include "chapters.h"
#include "marks.h"

#include <QDate>
#include <QLocale>

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>

namespace sp::proposal {
namespace {

// The symbols the Future cells show, by aspect and trend mark; technique's second trend is a
// lower-case "x" here although its cell shows "X".
constexpr std::array<std::array<std::u16string_view, 3>, AspectCount + 1> FutureSymbols{{
    {},
    {u"", u"!", u"?"},
    {u"", u">", u"<"},
    {u"", u"+", u"-"},
    {u"", u"/", u"x"},
    {u"", u"|", u"="},
    {u"", u"C", u"D"},
}};

constexpr std::array<std::u16string_view, 5> ImpactSymbols{u"", u"O", u"o", u"I", u"P"};

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

constexpr std::u16string_view StartTable =
    u"<start selecting text on the beginning of next line choosing <table, convert text into "
    u"table>>";
constexpr std::u16string_view StopTable =
    u"<stop selecting text on the end of previous line choosing <table, convert text into table>>";
constexpr std::u16string_view UprightHeader =
    u"<put the letters of the first row upright and stretch the height of the row to fit on page>";

// Large enough for a crowded model, so the text is built without reallocating.
constexpr qsizetype ExpectedLength = 40 * 1024;

// Writes the document as pieces run together; a line ends only where a piece ends it.
class ProposalWriter {
public:
    ProposalWriter(const Model &model, QStringView horizon, QStringView resolution,
                   QStringView date)
        : model_(model)
        , horizon_(horizon)
        , resolution_(resolution)
        , date_(date)
        , out_(ExpectedLength, Qt::Uninitialized)
        , next_(out_.data())
        , end_(next_ + out_.size()) {}

    // The whole document; call once.
    QString Text() {
        WriteDocument();
        out_.truncate(next_ - out_.data());
        return std::move(out_);
    }

private:
    void WriteDocument();

    // Pieces are copied into the presized text; QString::append per piece costs as much as the
    // copying itself.
    void Piece(QStringView piece) {
        if (end_ - next_ < piece.size())
            Grow(piece.size());
        next_ = std::copy(piece.begin(), piece.end(), next_);
    }
    void Tab() { Piece(u"\t"); }
    void EndLine() { Piece(u"\r\n"); }
    void Grow(qsizetype needed) {
        const qsizetype used = next_ - out_.data();
        out_.resize(std::max(2 * out_.size(), used + needed));
        next_ = out_.data() + used;
        end_ = out_.data() + out_.size();
    }
    void Line(QStringView piece) {
        Piece(piece);
        EndLine();
    }
    void Segment(chapters::Lines lines) {
        for (std::u16string_view line : lines)
            Line(line);
    }

    int Trend(int aspect, int scale) const { return model_.FutureGrid(aspect, scale); }
    int Impact(int aspect, int scale) const { return model_.ImpactGrid(aspect, scale); }
    const QString &Scale(int scale) const { return model_.ScaleNames[scale]; }
    const QString &Aspect(int aspect) const { return model_.AspectNames[aspect]; }

    void WriteObjectSentence();
    void WriteTableHeader(QStringView caption);
    void WriteFutureTable();
    void WriteImpactTable();
    void WriteActorLines(int mark);
    void WriteLocationInfluence();
    void WriteMotivationLines();
    void WriteKeywordIndex();
    void WriteTrendScales(int aspect, QStringView first, QStringView second);
    void WriteScaleNames(int aspect, int mark, QStringView separator);

    const Model &model_;
    QStringView horizon_;
    QStringView resolution_;
    QStringView date_;
    QString out_;
    QChar *next_; // where the next piece goes
    QChar *end_;
};

void ProposalWriter::WriteDocument() {
    Segment(chapters::SegmentA);
    Piece(u"<author's last name, first name or initials and prefix>");
    Piece(u"(");
    Piece(date_);
    Piece(u")");
    Line(u"<TITLE> (Vennmark) HSO Faculty of Architecture");
    Segment(chapters::SegmentB);
    WriteObjectSentence();
    Line(u".");
    Segment(chapters::SegmentC);
    Piece(u"My assumptions about the probable future context of the object of study until ");
    Piece(horizon_);
    Line(u" are:");
    WriteFutureTable();
    Segment(chapters::SegmentD);
    WriteImpactTable();
    Segment(chapters::SegmentE);
    WriteActorLines(Programme);
    Segment(chapters::SegmentF);
    WriteActorLines(Unintended);
    Segment(chapters::SegmentG);
    WriteObjectSentence();
    Line(u". The actual object will be located in ....");
    Segment(chapters::SegmentH);
    WriteLocationInfluence();
    Segment(chapters::SegmentI);
    WriteMotivationLines();
    Segment(chapters::SegmentJ);
    Segment(chapters::References);
    Segment(chapters::SegmentK);
    WriteKeywordIndex();
}

// Leaves its line open for the caller's ending.
void ProposalWriter::WriteObjectSentence() {
    Piece(resolution_);
    Piece(u" for ");
    Piece(horizon_);
    if (CountImpactMarks(model_, MassAspect, Frame) >= 1) {
        Piece(u" on ");
        WriteScaleNames(MassAspect, Frame, {});
        Piece(u" scale ");
    }
    if (CountImpactMarks(model_, MassAspect, Grain) >= 1) {
        Piece(u"with smallest details on ");
        for (int s = 1; s <= ScaleCount; ++s) {
            if (Impact(MassAspect, s) == Grain) {
                Piece(Scale(s));
                Piece(u" level");
            }
        }
    }
}

void ProposalWriter::WriteTableHeader(QStringView caption) {
    Line(StartTable);
    Piece(caption);
    Piece(horizon_);
    Tab();
    for (int s = 1; s <= ScaleCount; ++s) {
        Piece(Scale(s));
        Tab();
    }
    EndLine();
}

void ProposalWriter::WriteFutureTable() {
    WriteTableHeader(u"Future ");
    for (int a = 1; a <= AspectCount; ++a) {
        Piece(Aspect(a));
        Tab();
        for (int s = 1; s <= ScaleCount; ++s) {
            Piece(FutureSymbols[a][detail::checked(Trend(a, s), 2, "trend mark")]);
            Tab();
        }
        EndLine();
    }
    Line(StopTable);
    Line(UprightHeader);
    Line(u"<if the table is still too wide, decrease the margins per cell in table properties>");
    Line(u"Legend:");
    for (int a = 1; a <= AspectCount; ++a) {
        Piece(Aspect(a));
        Piece(u" is ");
        Piece(model_.TrendNames(a, 1));
        Piece(u" or ");
        Line(model_.TrendNames(a, 2));
    }
}

void ProposalWriter::WriteImpactTable() {
    EndLine();
    WriteTableHeader(u"Impacts ");
    for (int a = 1; a <= AspectCount; ++a) {
        Piece(Aspect(a));
        Tab();
        for (int s = 1; s <= ScaleCount; ++s) {
            Piece(ImpactSymbols[detail::checked(Impact(a, s), Programme, "impact mark")]);
            Tab();
        }
        EndLine();
    }
    Line(StopTable);
    Line(UprightHeader);
    Line(u"Legend:");
    Piece(model_.ImpactNames[Frame]);
    Piece(u" and ");
    Line(model_.ImpactNames[Grain]);
    Piece(model_.ImpactNames[Unintended]);
    Piece(u" or ");
    Line(model_.ImpactNames[Programme]);
}

void ProposalWriter::WriteActorLines(int mark) {
    for (int a = 1; a <= AspectCount; ++a) {
        if (CountImpactMarks(model_, a, mark) <= 0)
            continue;
        Piece(u"Actors in ");
        Piece(Aspect(a));
        Line(u" on the level of ");
        for (int s = 1; s <= ScaleCount; ++s) {
            if (Impact(a, s) != mark)
                continue;
            Tab();
            if (const int trend = Trend(a, s); trend > 0) {
                Piece(model_.TrendNames(a, trend));
                Piece(u" ");
            }
            Piece(Scale(s));
            Line(u" like ...");
        }
    }
}

void ProposalWriter::WriteLocationInfluence() {
    for (int a = 1; a <= AspectCount; ++a) {
        if (CountTrendMarks(model_, a, 1) <= 0)
            continue;
        EndLine();
        Piece(u"If ");
        Piece(Aspect(a));
        Piece(u" will be ");
        Piece(model_.TrendNames(a, 1));
        WriteTrendScales(a, u" on ", u" not on ");
        Piece(u" level");
        Line(u", it will influence the location by ....");
    }
}

void ProposalWriter::WriteMotivationLines() {
    for (int a = 1; a <= AspectCount; ++a) {
        if (CountImpactMarks(model_, a, Programme) <= 0)
            continue;
        for (int s = 1; s <= ScaleCount; ++s) {
            if (Impact(a, s) != Programme)
                continue;
            Piece(Scale(s));
            Piece(u" ");
            Piece(Aspect(a));
            Piece(u" ");
            if (const int trend = Trend(a, s); trend > 0) {
                Piece(u"usually ");
                Piece(model_.TrendNames(a, trend));
                Piece(u" ");
            }
            Line(u"should ...");
        }
    }
}

// The scales of `aspect` with trend 1 or 2 in scale order, comma-separated, each name after
// the prefix of its trend.
void ProposalWriter::WriteTrendScales(int aspect, QStringView first, QStringView second) {
    bool leading = true;
    for (int s = 1; s <= ScaleCount; ++s) {
        const int trend = Trend(aspect, s);
        if (trend != 1 && trend != 2)
            continue;
        if (!leading)
            Piece(u",");
        leading = false;
        Piece(trend == 1 ? first : second);
        Piece(Scale(s));
    }
}

// The names of the scales of `aspect` holding `mark` in ImpactGrid, `separator` between them.
void ProposalWriter::WriteScaleNames(int aspect, int mark, QStringView separator) {
    bool first = true;
    for (int s = 1; s <= ScaleCount; ++s) {
        if (Impact(aspect, s) != mark)
            continue;
        if (!first)
            Piece(separator);
        first = false;
        Piece(Scale(s));
    }
}

void ProposalWriter::WriteKeywordIndex() {
    Piece(u"planhorizon(");
    Piece(horizon_);
    Line(u")");
    for (int a = 1; a <= AspectCount; ++a) {
        if (CountTrendMarks(model_, a, 1) < 1)
            continue;
        Piece(Aspect(a));
        Piece(u" supposed ");
        Piece(TrendWords[a]);
        WriteTrendScales(a, {}, u"not");
        Line(u")");
    }
    if (CountImpactMarks(model_, MassAspect, Frame) >= 1) {
        Piece(u"frame object");
        Piece(u"(");
        WriteScaleNames(MassAspect, Frame, {});
        Line(u")");
    }
    if (CountImpactMarks(model_, MassAspect, Grain) >= 1) {
        Piece(u"grain object");
        Piece(u"(");
        WriteScaleNames(MassAspect, Grain, {});
        Line(u")");
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
            if (CountImpactMarks(model_, a, mark) <= 0)
                continue;
            Piece(caption);
            Piece(Aspect(a));
            Piece(u"(");
            WriteScaleNames(a, mark, u",");
            Line(u")");
        }
    }
}

} // namespace

QString StudyProposalText(const Model &model, const QString &horizon, const QString &resolution,
                          const QString &date) {
    return ProposalWriter(model, horizon, resolution, date).Text();
}

QString TodayShortDate() {
    return QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
}

} // namespace sp::proposal
