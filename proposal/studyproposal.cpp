#include "studyproposal.h"

#include "devicewrite.h"
#include "encoding.h"
#include "impactmarking.h"
#include "outline.h"

namespace sp::proposal {

QString studyProposalText(const Model &model, const QString &resolution, const QString &date) {
    return outlineText(model, resolution, date);
}

bool writeStudyProposal(QIODevice &device, const Model &model, const QString &date,
                        QString *error) {
    const QString text = studyProposalText(model, impacts::resolutionStatement(model), date);
    return writeBytes(device, toWindows1252(text), error);
}

} // namespace sp::proposal
