#include "marks.h"

namespace sp::proposal {

std::int16_t MarkLookup::Count(const Grid &grid, int row, int mark) {
    for (int s = 1; s <= ScaleCount; ++s) {
        MarkMatch[s] = grid(row, s) == mark ? 1 : 0;
        MarkRunningCount[s] = static_cast<std::int16_t>(MarkRunningCount[s - 1] + MarkMatch[s]);
    }
    return MarkRunningCount[ScaleCount];
}

std::int16_t CountImpactMarks(const Model &model, int aspect, int mark) {
    return MarkLookup{}.Count(model.ImpactGrid, aspect, mark);
}

std::int16_t CountTrendMarks(const Model &model, int aspect, int mark) {
    return MarkLookup{}.Count(model.FutureGrid, aspect, mark);
}

} // namespace sp::proposal
