#pragma once
// Saving the study proposal. In: the model, the time horizon, the resolution statement and the
// date. Out: "StudyProposal.txt" as Windows-1252 bytes with CR LF line ends, or a status line
// message. The caller runs saveAllowed (else shows refusalMessage), studyProposalText,
// toWindows1252, saveStudyProposal and on failure shows failureMessage(error). Reading a
// saved proposal back (restoreStudy) is the inverse.

#include "document.h"
#include "encoding.h"
#include "marks.h"
#include "reader.h"
#include "savecheck.h"
#include "savefile.h"
