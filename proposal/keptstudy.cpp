#include "keptstudy.h"

#include "failure.h"

#include <QList>

#include <algorithm>

namespace sp::proposal {
namespace {

constexpr QByteArrayView Heading = "study-proposal kept study 1";

QByteArray escaped(const QString &text) {
    QByteArray out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t unit = c.unicode();
        if (unit == u'\\')
            out += "\\\\";
        else if (unit >= u' ' && unit <= u'~')
            out += char(unit);
        else
            out += "\\u" + QByteArray::number(unit, 16).rightJustified(4, '0');
    }
    return out;
}

// The inverse of escaped(), accepting only what it writes, so that a kept study has one form.
bool unescaped(QByteArrayView text, QString &out, QString *error) {
    out.clear();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c < ' ' || c > '~')
            return failed(error, QStringLiteral("the horizon holds a byte it cannot hold"));
        const QByteArrayView rest = text.sliced(i + 1);
        if (c != '\\') {
            out += QLatin1Char(c);
        } else if (rest.startsWith('\\')) {
            out += u'\\';
            ++i;
        } else if (rest.startsWith('u') && rest.size() >= 5) {
            out += QChar(rest.sliced(1, 4).toUShort(nullptr, 16));
            i += 5;
        } else {
            return failed(error, QStringLiteral("the horizon holds a broken escape"));
        }
    }
    // Upper-case or signed digits, or an escape where the writer writes the character, read as
    // something the writer would write otherwise.
    if (escaped(out) != text)
        return failed(error, QStringLiteral("the horizon holds a broken escape"));
    if (singleLineHorizon(out).size() != out.size())
        return failed(error, QStringLiteral("the horizon holds a line break"));
    if (out.size() > HorizonMaxLength)
        return failed(error, QStringLiteral("the horizon is longer than its box holds"));
    return true;
}

bool isAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}

QByteArray rows(const Grid &grid) {
    QByteArray out;
    for (int aspect = 1; aspect <= AspectCount; ++aspect) {
        out += ' ';
        for (int scale = 1; scale <= ScaleCount; ++scale)
            out += char('0' + grid(aspect, scale));
    }
    return out;
}

// The marks a row can hold: trends 0..2 everywhere; impacts 0..4, the frame and the grain
// only on the mass row.
using Allowed = bool (*)(int aspect, int mark);
bool trendAllowed(int, int mark) {
    return mark >= 0 && mark <= 2;
}
bool impactAllowed(int aspect, int mark) {
    return mark >= NotAffected && mark <= Programme &&
           (aspect == MassAspect || (mark != Frame && mark != Grain));
}

bool readRows(QByteArrayView text, Allowed allowed, Grid &grid, QString *error) {
    const QList<QByteArray> words = text.toByteArray().split(' ');
    if (words.size() != AspectCount)
        return failed(error, QStringLiteral("a matrix has not six rows"));
    for (int aspect = 1; aspect <= AspectCount; ++aspect) {
        const QByteArray &row = words[aspect - 1];
        if (row.size() != ScaleCount)
            return failed(error, QStringLiteral("a row has not 22 marks"));
        for (int scale = 1; scale <= ScaleCount; ++scale) {
            const char digit = row[scale - 1];
            const int mark = isAsciiDigit(digit) ? digit - '0' : -1;
            if (!allowed(aspect, mark))
                return failed(error,
                              QStringLiteral("row %1 holds a mark it cannot hold").arg(aspect));
            grid(aspect, scale) = std::int16_t(mark);
        }
    }
    return true;
}

} // namespace

QByteArray writeKeptStudy(const Model &model, bool unsaved) {
    return Heading.toByteArray() + "\nhorizon " + escaped(model.horizon) + "\nfuture" +
           rows(model.futureGrid) + "\nimpacts" + rows(model.impactGrid) + "\nunsaved " +
           (unsaved ? "1" : "0") + '\n';
}

bool readKeptStudy(QByteArrayView bytes, KeptStudy &study, QString *error) {
    if (bytes.size() > MaxKeptStudySize)
        return failed(error, QStringLiteral("it is larger than a kept study can be"));
    const QList<QByteArray> lines = bytes.toByteArray().split('\n');
    if (lines.front() != Heading) {
        constexpr QByteArrayView Form = "study-proposal kept study ";
        const QByteArray version = lines.front().mid(Form.size());
        const bool otherVersion = lines.front().startsWith(Form) && !version.isEmpty() &&
                                  std::all_of(version.begin(), version.end(), isAsciiDigit);
        return failed(error, otherVersion
                                 ? QStringLiteral("it was kept by another version of the page")
                                 : QStringLiteral("it is not a study this page keeps"));
    }
    // Heading, four fields in their order, and the empty rest after the last line's end.
    constexpr const char *Fields[] = {"horizon ", "future ", "impacts ", "unsaved "};
    if (lines.size() != 6 || !lines.back().isEmpty())
        return failed(error, QStringLiteral("it does not hold its five lines"));
    for (int i = 0; i < 4; ++i)
        if (!lines[i + 1].startsWith(Fields[i]))
            return failed(error, QStringLiteral("line %1 is not its %2")
                                     .arg(i + 2)
                                     .arg(QLatin1String(Fields[i]).trimmed()));
    const auto value = [&](int i) {
        return QByteArrayView(lines[i + 1]).sliced(qstrlen(Fields[i]));
    };

    KeptStudy read;
    if (!unescaped(value(0), read.marks.horizon, error) ||
        !readRows(value(1), trendAllowed, read.marks.futureGrid, error) ||
        !readRows(value(2), impactAllowed, read.marks.impactGrid, error))
        return false;
    if (const QString problem = massRowProblem(read.marks.impactGrid); !problem.isEmpty())
        return failed(error, problem);
    if (value(3) != "0" && value(3) != "1")
        return failed(error, QStringLiteral("it does not say whether it was saved"));
    read.unsaved = value(3) == "1";
    study = std::move(read);
    return true;
}

bool isNewStudy(const Model &model) {
    return model.futureGrid == Grid() && model.impactGrid == Grid() &&
           model.horizon == Model().horizon;
}

} // namespace sp::proposal
