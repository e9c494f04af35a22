#pragma once
// "StudyProposal.txt", the study's own file: the fixed chapters with the tables, sentences and
// key-word index derived from both matrices, in Windows-1252 with CR LF after every line.

#include "model.h"

#include <QString>

class QIODevice;

namespace sp::proposal {

// The file's text. `resolution` is the statement the Impacts window shows and `date` the
// already formatted date of the title line; the time horizon is the model's. Reads the model,
// changes nothing. A mark outside its range in either matrix throws InternalError.
QString studyProposalText(const Model &model, const QString &resolution, const QString &date);

// Writes the file's bytes to `device`: the text with the model's resolution statement, dated
// `date`. Returns false and sets `error` (when given) when the device fails.
bool writeStudyProposal(QIODevice &device, const Model &model, const QString &date, QString *error);

} // namespace sp::proposal
