#pragma once
// Saving the study proposal. In: the model, the time horizon, the resolution statement and the
// date. Out: "StudyProposal.txt" as Windows-1252 bytes with CR LF line ends, or a status line
// message. The caller runs SaveAllowed (else shows RefusalMessage), StudyProposalText,
// ToWindows1252, SaveStudyProposal and on failure shows FailureMessage(error).

#include "document.h"
#include "encoding.h"
#include "marks.h"
#include "savecheck.h"
#include "savefile.h"
