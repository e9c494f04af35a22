#pragma once
// The text of "StudyProposal.txt": the fixed chapters with the tables, sentences and key-word
// index derived from both matrices, every line ended with CR LF.

#include "model.h"

#include <QString>

namespace sp::proposal {

// `resolution` is the statement the Impacts window shows and `date` the already formatted
// date of the title line; the time horizon is the model's. Reads the model, changes nothing.
// A mark outside its range in either matrix throws InternalError.
QString studyProposalText(const Model &model, const QString &resolution, const QString &date);

// Today in the system's short date format, without a time of day.
QString todayShortDate();

} // namespace sp::proposal
