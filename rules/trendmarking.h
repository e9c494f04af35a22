#pragma once
// The rules of the Future window over the shared model: stepping a cell's trend mark, the
// caption and sentence that show it, the resets, and the reading of the last impact that
// the switch to Impacts writes there. Plain functions; the window only shows the results.

#include "model.h"

#include <QString>

#include <optional>

namespace sp::future {

// The caption of a cell of aspect 1..6 holding trend mark 0..2.
QString trendCaption(int aspect, int mark);

struct TrendPress {
    std::int16_t mark;
    QString caption;
    QString status; // the sentence for the status line
};

// A left or middle press on the cell of aspect 1..6 at position 0..21: steps its mark
// through 0, 1, 2, 0, ...
TrendPress stepTrend(Model &model, int aspect, int index);

void resetTrendRow(Model &model, int aspect);
void resetTrendColumn(Model &model, int scale);
void resetAllTrends(Model &model);

// What the last advancing press in Impacts reads now, or nothing before the first one.
std::optional<QString> impactReading(const Model &model);

} // namespace sp::future
