#include "document.h"

#include "chapters.h"
#include "marks.h"
#include "tables.h"

#include <QDate>
#include <QLocale>

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>

namespace sp::proposal {
namespace {

using tables::ImpactSymbols;
using tables::StartTable;
using tables::StopTable;
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

// Large enough for a crowded model, so the text is built without reallocating.
constexpr qsizetype ExpectedLength = 40 * 1024;

// Writes the document as pieces run together; a line ends only where a piece ends it.
class ProposalWriter {
public:
    ProposalWriter(const Model &model, QStringView resolution, QStringView date)
        : model_(model)
        , horizon_(model.horizon)
        , resolution_(resolution)
        , date_(date)
        , out_(ExpectedLength, Qt::Uninitialized)
        , next_(out_.data())
        , end_(next_ + out_.size()) {}

    // The whole document; call once.
    QString text() {
        writeDocument();
        out_.truncate(next_ - out_.data());
        return std::move(out_);
    }

private:
    void writeDocument();

    // Pieces are copied into the presized text; QString::append per piece costs as much as the
    // copying itself.
    void append(QStringView piece) {
        if (end_ - next_ < piece.size())
            grow(piece.size());
        next_ = std::copy(piece.begin(), piece.end(), next_);
    }
    void tab() { append(u"\t"); }
    void endLine() { append(u"\r\n"); }
    void grow(qsizetype needed) {
        const qsizetype used = next_ - out_.data();
        out_.resize(std::max(2 * out_.size(), used + needed));
        next_ = out_.data() + used;
        end_ = out_.data() + out_.size();
    }
    void appendLine(QStringView piece) {
        append(piece);
        endLine();
    }
    void appendLines(chapters::Lines lines) {
        for (std::u16string_view line : lines)
            appendLine(line);
    }

    int trendAt(int aspect, int scale) const { return model_.futureGrid(aspect, scale); }
    int impactAt(int aspect, int scale) const { return model_.impactGrid(aspect, scale); }
    const QString &scaleName(int scale) const { return model_.scaleNames[scale]; }
    const QString &aspectName(int aspect) const { return model_.aspectNames[aspect]; }

    void writeObjectSentence();
    void writeTableHeader(QStringView caption);
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
    QString out_;
    QChar *next_; // where the next piece goes
    QChar *end_;
};

void ProposalWriter::writeDocument() {
    appendLines(chapters::SegmentA);
    append(u"<author's last name, first name or initials and prefix>");
    append(u"(");
    append(date_);
    append(u")");
    appendLine(u"<TITLE> (Vennmark) HSO Faculty of Architecture");
    appendLines(chapters::SegmentB);
    writeObjectSentence();
    appendLine(u".");
    appendLines(chapters::SegmentC);
    append(u"My assumptions about the probable future context of the object of study until ");
    append(horizon_);
    appendLine(u" are:");
    writeFutureTable();
    appendLines(chapters::SegmentD);
    writeImpactTable();
    appendLines(chapters::SegmentE);
    writeActorLines(Programme);
    appendLines(chapters::SegmentF);
    writeActorLines(Unintended);
    appendLines(chapters::SegmentG);
    writeObjectSentence();
    appendLine(u". The actual object will be located in ....");
    appendLines(chapters::SegmentH);
    writeLocationInfluence();
    appendLines(chapters::SegmentI);
    writeMotivationLines();
    appendLines(chapters::SegmentJ);
    appendLines(chapters::References);
    appendLines(chapters::SegmentK);
    writeKeywordIndex();
}

// Leaves its line open for the caller's ending.
void ProposalWriter::writeObjectSentence() {
    append(resolution_);
    append(u" for ");
    append(horizon_);
    if (countImpactMarks(model_, MassAspect, Frame) >= 1) {
        append(u" on ");
        writeScaleNames(MassAspect, Frame, {});
        append(u" scale ");
    }
    if (countImpactMarks(model_, MassAspect, Grain) >= 1) {
        append(u"with smallest details on ");
        for (int s = 1; s <= ScaleCount; ++s) {
            if (impactAt(MassAspect, s) == Grain) {
                append(scaleName(s));
                append(u" level");
            }
        }
    }
}

void ProposalWriter::writeTableHeader(QStringView caption) {
    appendLine(StartTable);
    append(caption);
    append(horizon_);
    tab();
    for (int s = 1; s <= ScaleCount; ++s) {
        append(scaleName(s));
        tab();
    }
    endLine();
}

void ProposalWriter::writeFutureTable() {
    writeTableHeader(tables::FutureCaption);
    for (int a = 1; a <= AspectCount; ++a) {
        append(aspectName(a));
        tab();
        for (int s = 1; s <= ScaleCount; ++s) {
            append(TrendSymbols[a][detail::checked(trendAt(a, s), 2, "trend mark")]);
            tab();
        }
        endLine();
    }
    appendLine(StopTable);
    appendLine(UprightHeader);
    appendLine(
        u"<if the table is still too wide, decrease the margins per cell in table properties>");
    appendLine(u"Legend:");
    for (int a = 1; a <= AspectCount; ++a) {
        append(aspectName(a));
        append(u" is ");
        append(model_.trendNames(a, 1));
        append(u" or ");
        appendLine(model_.trendNames(a, 2));
    }
}

void ProposalWriter::writeImpactTable() {
    endLine();
    writeTableHeader(tables::ImpactsCaption);
    for (int a = 1; a <= AspectCount; ++a) {
        append(aspectName(a));
        tab();
        for (int s = 1; s <= ScaleCount; ++s) {
            append(ImpactSymbols[detail::checked(impactAt(a, s), Programme, "impact mark")]);
            tab();
        }
        endLine();
    }
    appendLine(StopTable);
    appendLine(UprightHeader);
    appendLine(u"Legend:");
    append(model_.impactNames[Frame]);
    append(u" and ");
    appendLine(model_.impactNames[Grain]);
    append(model_.impactNames[Unintended]);
    append(u" or ");
    appendLine(model_.impactNames[Programme]);
}

void ProposalWriter::writeActorLines(int mark) {
    for (int a = 1; a <= AspectCount; ++a) {
        if (countImpactMarks(model_, a, mark) <= 0)
            continue;
        append(u"Actors in ");
        append(aspectName(a));
        appendLine(u" on the level of ");
        for (int s = 1; s <= ScaleCount; ++s) {
            if (impactAt(a, s) != mark)
                continue;
            tab();
            if (const int trend = trendAt(a, s); trend > 0) {
                append(model_.trendNames(a, trend));
                append(u" ");
            }
            append(scaleName(s));
            appendLine(u" like ...");
        }
    }
}

void ProposalWriter::writeLocationInfluence() {
    for (int a = 1; a <= AspectCount; ++a) {
        if (countTrendMarks(model_, a, 1) <= 0)
            continue;
        endLine();
        append(u"If ");
        append(aspectName(a));
        append(u" will be ");
        append(model_.trendNames(a, 1));
        writeTrendScales(a, u" on ", u" not on ");
        append(u" level");
        appendLine(u", it will influence the location by ....");
    }
}

void ProposalWriter::writeMotivationLines() {
    for (int a = 1; a <= AspectCount; ++a) {
        if (countImpactMarks(model_, a, Programme) <= 0)
            continue;
        for (int s = 1; s <= ScaleCount; ++s) {
            if (impactAt(a, s) != Programme)
                continue;
            append(scaleName(s));
            append(u" ");
            append(aspectName(a));
            append(u" ");
            if (const int trend = trendAt(a, s); trend > 0) {
                append(u"usually ");
                append(model_.trendNames(a, trend));
                append(u" ");
            }
            appendLine(u"should ...");
        }
    }
}

// The scales of `aspect` with trend 1 or 2 in scale order, comma-separated, each name after
// the prefix of its trend.
void ProposalWriter::writeTrendScales(int aspect, QStringView first, QStringView second) {
    bool leading = true;
    for (int s = 1; s <= ScaleCount; ++s) {
        const int trend = trendAt(aspect, s);
        if (trend != 1 && trend != 2)
            continue;
        if (!leading)
            append(u",");
        leading = false;
        append(trend == 1 ? first : second);
        append(scaleName(s));
    }
}

// The names of the scales of `aspect` holding `mark` in impactGrid, `separator` between them.
void ProposalWriter::writeScaleNames(int aspect, int mark, QStringView separator) {
    bool first = true;
    for (int s = 1; s <= ScaleCount; ++s) {
        if (impactAt(aspect, s) != mark)
            continue;
        if (!first)
            append(separator);
        first = false;
        append(scaleName(s));
    }
}

void ProposalWriter::writeKeywordIndex() {
    append(u"planhorizon(");
    append(horizon_);
    appendLine(u")");
    for (int a = 1; a <= AspectCount; ++a) {
        if (countTrendMarks(model_, a, 1) < 1)
            continue;
        append(aspectName(a));
        append(u" supposed ");
        append(TrendWords[a]);
        writeTrendScales(a, {}, u"not");
        appendLine(u")");
    }
    if (countImpactMarks(model_, MassAspect, Frame) >= 1) {
        append(u"frame object");
        append(u"(");
        writeScaleNames(MassAspect, Frame, {});
        appendLine(u")");
    }
    if (countImpactMarks(model_, MassAspect, Grain) >= 1) {
        append(u"grain object");
        append(u"(");
        writeScaleNames(MassAspect, Grain, {});
        appendLine(u")");
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
            append(caption);
            append(aspectName(a));
            append(u"(");
            writeScaleNames(a, mark, u",");
            appendLine(u")");
        }
    }
}

} // namespace

QString studyProposalText(const Model &model, const QString &resolution, const QString &date) {
    return ProposalWriter(model, resolution, date).text();
}

QString todayShortDate() {
    return QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
}

} // namespace sp::proposal
