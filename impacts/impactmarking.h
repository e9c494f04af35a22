#pragma once
// The rules of the Impacts window over the shared model: advancing a cell's impact mark
// under the frame and grain rule of the mass row, the caption and sentence that show it,
// the resolution statement and the resets. Plain functions; the window shows the results.

#include "model.h"

#include <QString>

namespace sp::impacts {

// The caption of impact mark 0..4: "", "O", "o", "I", "P".
QString ImpactCaption(int mark);

struct ImpactPress {
    std::int16_t mark;
    QString caption;
    QString status; // the sentence for Label2
    bool paintCue;  // turn the same cell of Future black
};

// A left or middle press on the cell of aspect 1..6 at position 0..21: records it as the
// last press and advances its mark. On the mass row it rescans FrameScale and GrainScale;
// the caller then runs UpdateResolution.
ImpactPress AdvanceImpact(Model &model, int aspect, int index);

// Rescans the frame and the grain of the mass row into FrameScale and GrainScale and
// returns the statement for their distance.
QString UpdateResolution(Model &model);

void ResetImpactRow(Model &model, int aspect);
void ResetImpactColumn(Model &model, int scale);
void ResetAllImpacts(Model &model);

} // namespace sp::impacts
