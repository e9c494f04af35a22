#pragma once
// Counting one mark in one row of a matrix; the save check and the generated blocks decide
// with it whether a row has anything to report.

#include "model.h"

#include <array>
#include <cstdint>

namespace sp::proposal {

// One lookup leaves, per scale s (1..22), whether the row held the mark and how many of the
// scales 1..s did. Entries 0 and 23 are never written, so every running count starts from 0.
struct MarkLookup {
    std::array<std::int16_t, 24> markMatch{};
    std::array<std::int16_t, 24> markRunningCount{};

    // Number of scales 1..22 of `row` in `grid` holding `mark`; a row outside 0..6 throws
    // InternalError.
    std::int16_t count(const Grid &grid, int row, int mark);
};

std::int16_t countImpactMarks(const Model &model, int aspect, int mark);
std::int16_t countTrendMarks(const Model &model, int aspect, int mark);

} // namespace sp::proposal
