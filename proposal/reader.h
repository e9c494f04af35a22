#pragma once
// Reading a saved study proposal back, the inverse of writing it: the time horizon and every
// mark of both matrices, found in the document's two tables. In: the bytes of the file as the
// program wrote them (Windows-1252, CR LF) or as a text editor left them (LF line ends, UTF-8,
// blanks stripped at line ends, chapters edited around the tables). Out: the marks, or a
// short sentence saying what is wrong and on which line. Nothing reaches the model unless the
// whole file reads back.

#include "model.h"

#include <QByteArrayView>
#include <QString>

#include <utility>

namespace sp::proposal {

// What a proposal holds of the user's work.
struct StudyMarks {
    Grid futureGrid;
    Grid impactGrid;
    QString horizon;
    bool operator==(const StudyMarks &) const = default;
};

// The marks and horizon `model` holds, and the model given other ones; the rest of the model
// (the last Impacts press, the words) stays.
inline StudyMarks marksOf(const Model &model) {
    return {model.futureGrid, model.impactGrid, model.horizon};
}
inline void setMarks(Model &model, StudyMarks marks) {
    model.futureGrid = marks.futureGrid;
    model.impactGrid = marks.impactGrid;
    model.horizon = std::move(marks.horizon);
}

// Far above the largest document the program writes (about 0.3 MB with the longest time
// horizon, twice that once an editor has stored it as UTF-8), leaving room for the student's
// own chapters.
inline constexpr qint64 MaxProposalSize = 4 * 1024 * 1024;

// The text of a proposal file: UTF-8 when it starts with a byte order mark, or is valid UTF-8
// and holds bytes above 127; otherwise Windows-1252.
QString decodeProposal(QByteArrayView bytes);

// Reads the marks of a whole proposal into `marks`. Returns false and sets `error` (when given)
// to what is wrong, and where, when they cannot be read back; `marks` is then unchanged.
bool readStudyProposal(QByteArrayView bytes, StudyMarks &marks, QString *error);

// Reads the regular file at `path` and, only when all of it reads back, puts its horizon and
// marks into `model`; the last Impacts press stays as it was. Returns false and sets `error`
// (when given) to what went wrong.
bool restoreStudy(const QString &path, Model &model, QString *error);

// The same for bytes already read: restoreStudy ends in it, and the fuzz target drives it
// without a file.
bool restoreStudyBytes(QByteArrayView bytes, Model &model, QString *error);

// What is wrong with the mass row of impact marks `grid`, or nothing when presses can leave it
// so.
QString massRowProblem(const Grid &grid);

// The status line after restoreStudy failed with `problem`; `fileName` is the file's name
// without its folder.
QString unreadableMessage(const QString &fileName, const QString &problem);

} // namespace sp::proposal
