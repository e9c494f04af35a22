#pragma once
// proposal/: the study written out and read back, on core/, rules/ and assets/; no windows.
// Flow: the model goes through one outline of blocks (outline.h, with the fixed chapters of
// chapters.h) to the writer of each format: the text file (studyproposal.h), the document
// (worddocument.h, opendocument.h) and the page of both matrices (matricespdf.h); reader.h takes
// the text file's marks back into a model.
//
// One way to save and export a study, whoever asks (the save button, the menus and the
// command line): the writer of a format onto a device, and the save that replaces a file with
// it atomically.

#include "model.h"

#include <QString>

#include <functional>

class QIODevice;

namespace sp::proposal {

enum class StudyFormat {
    TextFile,     // StudyProposal.txt
    WordDocument, // the proposal formatted, .docx
    OpenDocument, // the proposal formatted, .odt
    MatricesPdf,  // both matrices on a page, .pdf
};

// The format a file name asks for by its extension (.txt, .docx, .odt, .pdf, in any case);
// false when it names none of them.
bool formatOfName(const QString &path, StudyFormat *format);
// The same for an extension alone ("docx").
bool formatOfSuffix(QStringView suffix, StudyFormat *format);

// Writes `format` of the study to `device`; the text file and the document are dated `date`.
// Returns false and sets `error` (when given) to a short reason on failure, a mark outside its
// range in the model included.
bool writeStudy(QIODevice &device, StudyFormat format, const Model &model, const QString &date,
                QString *error);

// Replaces the file at `path` with what `write` puts on the device it is given, through a
// temporary file and a rename: on failure no partial file is left and the earlier one is kept.
// Returns false and sets `error` (when given) to the system's reason.
bool replaceFile(const QString &path, const std::function<bool(QIODevice &, QString *)> &write,
                 QString *error);

// writeStudy dated today into replaceFile.
bool saveStudy(const QString &path, StudyFormat format, const Model &model, QString *error);

// Today in the system's short date format, without a time of day.
QString todayShortDate();

} // namespace sp::proposal
