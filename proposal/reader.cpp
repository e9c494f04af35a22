#include "reader.h"

#include "encoding.h"
#include "failure.h"
#include "symbols.h"
#include "tables.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <optional>
#include <vector>

namespace sp::proposal {
namespace {

using Lines = std::vector<QStringView>; // line n of the file at index n - 1

// The words the writer takes from the model's tables.
const Model &words() {
    static const Model model = [] {
        Model m;
        initVocabulary(m);
        return m;
    }();
    return model;
}

// Editors strip blanks at line ends: the trailing tabs of a table row among them.
QStringView trimEnd(QStringView line) {
    while (!line.isEmpty() && (line.back() == u' ' || line.back() == u'\t'))
        line.chop(1);
    return line;
}

// A cell as the status line can show it, whatever the student typed into it.
QString shortened(QStringView cell) {
    constexpr qsizetype Shown = 12;
    if (cell.size() <= Shown)
        return cell.toString();
    // A cut between the two halves of a surrogate pair would show a broken character.
    const qsizetype kept = cell[Shown - 1].isHighSurrogate() ? Shown - 1 : Shown;
    return cell.left(kept).toString() + u'\u2026';
}

Lines splitLines(QStringView text) {
    if (text.endsWith(u'\n'))
        text.chop(1); // the end of the last line, not an empty line after it
    Lines lines;
    for (QStringView line : text.tokenize(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        lines.push_back(line);
    }
    return lines;
}

struct Table {
    const char *name;
    std::u16string_view caption;
};
const Table FutureTable{"table of future trends", tables::FutureCaption};
const Table ImpactsTable{"table of impacts", tables::ImpactsCaption};

// The mark whose symbol `cell` is, among the marks the row of `aspect` can hold; -1 for none.
// (The symbols are std::u16string_view, which Qt 6.8 compares with a QStringView only once
// made a view themselves.)
int trendMark(int aspect, QStringView cell) {
    for (int m = 0; m <= 2; ++m)
        if (cell == QStringView(symbols::TrendTableSymbols[aspect][m]))
            return m;
    return -1;
}

int impactMark(int aspect, QStringView cell) {
    for (int m = 0; m <= Programme; ++m) {
        const bool massOnly = m == Frame || m == Grain;
        if (cell == QStringView(symbols::ImpactSymbols[m]) && (aspect == MassAspect || !massOnly))
            return m;
    }
    return -1;
}

class Reader {
public:
    explicit Reader(QStringView text)
        : lines_(splitLines(text)) {}

    std::optional<StudyMarks> read();
    const QString &problem() const { return problem_; }

private:
    bool fail(qsizetype index, const QString &what) {
        problem_ = QStringLiteral("line %1: %2").arg(index + 1).arg(what);
        return false;
    }
    bool failAtEnd(const Table &table) {
        return fail(qsizetype(lines_.size()) - 1,
                    QStringLiteral("the file ends inside the %1").arg(QLatin1String(table.name)));
    }

    bool findTables(qsizetype &future, qsizetype &impacts);
    bool readHeader(const Table &table, qsizetype index, QString &horizon);
    bool readRows(const Table &table, qsizetype header, Grid &grid);
    bool checkMassRow(qsizetype index, const Grid &grid);

    Lines lines_;
    QString problem_;
};

// A table starts with its instruction line followed by its header row; each kind once.
bool Reader::findTables(qsizetype &future, qsizetype &impacts) {
    future = impacts = -1;
    for (qsizetype i = 0; i + 1 < qsizetype(lines_.size()); ++i) {
        if (trimEnd(lines_[i]) != QStringView(tables::StartTable))
            continue;
        const qsizetype header = i + 1;
        const Table *table =
            lines_[header].startsWith(QStringView(FutureTable.caption))    ? &FutureTable
            : lines_[header].startsWith(QStringView(ImpactsTable.caption)) ? &ImpactsTable
                                                                           : nullptr;
        if (!table)
            return fail(header, QStringLiteral("a table starts here without its header row"));
        qsizetype &found = table == &FutureTable ? future : impacts;
        if (found >= 0)
            return fail(header, QStringLiteral("a second %1").arg(QLatin1String(table->name)));
        found = header;
    }
    return true;
}

// The header row is the caption with the horizon, then the 22 scale names. It is read from the
// right, so a horizon holding tabs comes back whole.
bool Reader::readHeader(const Table &table, qsizetype index, QString &horizon) {
    QStringView row = trimEnd(lines_[index]);
    for (int s = ScaleCount; s >= 1; --s) {
        const qsizetype tab = row.lastIndexOf(u'\t');
        if (tab < 0 || row.sliced(tab + 1) != words().scaleNames[s])
            return fail(index, QStringLiteral("the table header does not list the 22 scales"));
        row.truncate(tab);
    }
    if (!row.startsWith(QStringView(table.caption)))
        return fail(index, QStringLiteral("the table header does not start with \"%1\"")
                               .arg(QStringView(table.caption).trimmed()));
    const QStringView rest = row.sliced(table.caption.size());
    if (rest.size() > HorizonMaxLength || singleLineHorizon(rest).size() != rest.size())
        return fail(index, QStringLiteral("the time horizon is not one line of at most %1 "
                                          "characters")
                               .arg(int(HorizonMaxLength)));
    horizon = rest.toString();
    return true;
}

// One row per aspect in their order, the aspect's name and then a cell per scale; cells that
// an editor stripped from the end of a row are empty.
bool Reader::readRows(const Table &table, qsizetype header, Grid &grid) {
    const bool trends = &table == &FutureTable;
    for (int a = 1; a <= AspectCount; ++a) {
        const qsizetype index = header + a;
        if (index >= qsizetype(lines_.size()))
            return failAtEnd(table);
        const QList<QStringView> cells = trimEnd(lines_[index]).split(u'\t');
        const QString &aspect = words().aspectNames[a];
        if (cells.first() != aspect)
            return fail(index, QStringLiteral("the %1 row should stand here").arg(aspect));
        if (cells.size() - 1 > ScaleCount)
            return fail(index, QStringLiteral("the %1 row has more than 22 cells").arg(aspect));
        for (int s = 1; s < cells.size(); ++s) {
            const int mark = trends ? trendMark(a, cells[s]) : impactMark(a, cells[s]);
            if (mark < 0)
                return fail(index,
                            QStringLiteral("\"%1\" at %2 is no mark of the %3 row")
                                .arg(shortened(cells[s]), words().scaleNames[s].trimmed(), aspect));
            grid(a, s) = static_cast<std::int16_t>(mark);
        }
    }
    const qsizetype stop = header + AspectCount + 1;
    if (stop >= qsizetype(lines_.size()))
        return failAtEnd(table);
    if (trimEnd(lines_[stop]) != QStringView(tables::StopTable))
        return fail(stop, QStringLiteral("the table does not end after its mass row"));
    return true;
}

bool Reader::checkMassRow(qsizetype index, const Grid &grid) {
    const QString problem = massRowProblem(grid);
    return problem.isEmpty() || fail(index, problem);
}

// The tables are read in the order they stand, so the first fault in the file is the one
// reported: a file cut short names the line it ends on.
std::optional<StudyMarks> Reader::read() {
    StudyMarks marks;
    qsizetype future = -1, impacts = -1;
    QString impactsHorizon;
    if (!findTables(future, impacts))
        return std::nullopt;
    const auto readFuture = [&] {
        return future < 0 || (readHeader(FutureTable, future, marks.horizon) &&
                              readRows(FutureTable, future, marks.futureGrid));
    };
    const auto readImpacts = [&] {
        return impacts < 0 || (readHeader(ImpactsTable, impacts, impactsHorizon) &&
                               readRows(ImpactsTable, impacts, marks.impactGrid) &&
                               checkMassRow(impacts + MassAspect, marks.impactGrid));
    };
    if (!(impacts < future ? readImpacts() && readFuture() : readFuture() && readImpacts()))
        return std::nullopt;
    for (const auto &[table, found] : {std::pair{&FutureTable, future}, {&ImpactsTable, impacts}})
        if (found < 0) {
            problem_ = QStringLiteral("it holds no %1").arg(QLatin1String(table->name));
            return std::nullopt;
        }
    if (impactsHorizon != marks.horizon) {
        fail(impacts, QStringLiteral("the two tables name different time horizons"));
        return std::nullopt;
    }
    return marks;
}

} // namespace

// The mass row as presses leave it: at most one frame and one grain, the grain finer than
// the frame, and so never on the coarsest scale.
QString massRowProblem(const Grid &grid) {
    int frames = 0, grains = 0, frame = 0, grain = 0;
    for (int s = 1; s <= ScaleCount; ++s) {
        if (grid(MassAspect, s) == Frame) {
            ++frames;
            frame = s;
        }
        if (grid(MassAspect, s) == Grain) {
            ++grains;
            grain = s;
        }
    }
    if (frames > 1)
        return QStringLiteral("the mass row holds two frames (O)");
    if (grains > 1)
        return QStringLiteral("the mass row holds two grains (o)");
    if (grain != 0 && frame != 0 && grain < frame)
        return QStringLiteral("the grain (o) lies left of the frame (O)");
    if (grain == 1)
        return QStringLiteral("a grain (o) on %1 leaves no room for a frame (O)")
            .arg(words().scaleNames[1]);
    return QString();
}

QString decodeProposal(QByteArrayView bytes) {
    constexpr QByteArrayView ByteOrderMark("\xEF\xBB\xBF");
    if (bytes.startsWith(ByteOrderMark))
        return QString::fromUtf8(bytes.sliced(ByteOrderMark.size()));
    // ASCII reads the same either way.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return fromWindows1252(bytes);
}

bool readStudyProposal(QByteArrayView bytes, StudyMarks &marks, QString *error) {
    const QString text = decodeProposal(bytes);
    Reader reader(text);
    std::optional<StudyMarks> read = reader.read();
    if (!read)
        return failed(error, reader.problem());
    marks = std::move(*read);
    return true;
}

bool restoreStudy(const QString &path, Model &model, QString *error) {
    // A pipe or a device could block the start or never end.
    if (!QFileInfo(path).isFile())
        return failed(error, QStringLiteral("it is not a regular file"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return failed(error, QStringLiteral("it cannot be opened (%1)").arg(file.errorString()));
    const QByteArray bytes = file.read(MaxProposalSize + 1);
    if (file.error() != QFileDevice::NoError)
        return failed(error, QStringLiteral("it cannot be read (%1)").arg(file.errorString()));
    return restoreStudyBytes(bytes, model, error);
}

bool restoreStudyBytes(QByteArrayView bytes, Model &model, QString *error) {
    if (bytes.size() > MaxProposalSize)
        return failed(error, QStringLiteral("it is larger than a study proposal can be"));
    StudyMarks marks;
    if (!readStudyProposal(bytes, marks, error))
        return false;
    setMarks(model, std::move(marks));
    return true;
}

QString unreadableMessage(const QString &fileName, const QString &problem) {
    return QStringLiteral("Could not read marks from %1: %2").arg(fileName, problem);
}

} // namespace sp::proposal
