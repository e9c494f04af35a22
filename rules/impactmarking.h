#pragma once
// The rules of the Impacts window over the shared model: advancing a cell's impact mark
// under the frame and grain rule of the mass row, the caption and sentence that show it,
// the resolution statement and the resets. Plain functions; the window shows the results.

#include "model.h"

#include <QString>

namespace sp::impacts {

// The caption of impact mark 0..4: "", "O", "o", "I", "P".
QString impactCaption(int mark);

struct ImpactPress {
    std::int16_t mark;
    QString caption;
    QString status; // the sentence for the status line
    bool paintCue;  // turn the same cell of Future black
};

// A left or middle press on the cell of aspect 1..6 at position 0..21: records it as the
// last press and advances its mark. On the mass row it rescans frameScale and grainScale;
// the caller then runs updateResolution.
ImpactPress advanceImpact(Model &model, int aspect, int index);

// The statement for the distance from the frame to the grain on the mass row as it stands:
// what the Impacts window shows after any press on that row, and what the proposal prints.
QString resolutionStatement(const Model &model);

// Rescans the frame and the grain of the mass row into frameScale and grainScale and
// returns resolutionStatement.
QString updateResolution(Model &model);

void resetImpactRow(Model &model, int aspect);
void resetImpactColumn(Model &model, int scale);
void resetAllImpacts(Model &model);

} // namespace sp::impacts
