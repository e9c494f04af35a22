#include "savecheck.h"

#include "marks.h"

namespace sp::proposal {

bool saveAllowed(const Model &model) {
    // Both lookups always run, grain first.
    const int grain = countImpactMarks(model, MassAspect, Grain);
    const int frame = countImpactMarks(model, MassAspect, Frame);
    return grain >= 1 && frame >= 1;
}

QString refusalMessage() {
    return QStringLiteral(
        "Fill in your frame (O) and grain (o) in the row mass|space|time before saving.");
}

QString failureMessage(const QString &reason) {
    return QStringLiteral("Could not save StudyProposal.txt: ") + reason;
}

} // namespace sp::proposal
