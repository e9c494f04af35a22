#include "marks.h"

namespace sp::proposal {

std::int16_t MarkLookup::count(const Grid &grid, int row, int mark) {
    for (int s = 1; s <= ScaleCount; ++s) {
        markMatch[s] = grid(row, s) == mark ? 1 : 0;
        markRunningCount[s] = static_cast<std::int16_t>(markRunningCount[s - 1] + markMatch[s]);
    }
    return markRunningCount[ScaleCount];
}

std::int16_t countImpactMarks(const Model &model, int aspect, int mark) {
    return MarkLookup{}.count(model.impactGrid, aspect, mark);
}

std::int16_t countTrendMarks(const Model &model, int aspect, int mark) {
    return MarkLookup{}.count(model.futureGrid, aspect, mark);
}

} // namespace sp::proposal
