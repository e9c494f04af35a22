#pragma once
// rules/: what presses and resets do to the model, the sentences that report them and the
// resolution statement; plain functions over core/'s model, no windows. The windows show
// their results and the proposal writes them.
//
// The marks' symbols, the one place that states them: what a cell shows, and what the
// proposal's tables print and the reader finds back.

#include "model.h"

#include <array>
#include <string_view>

namespace sp::symbols {

// By aspect 1..6 and trend mark 0..2, as the cells of Future show them.
inline constexpr std::array<std::array<std::u16string_view, 3>, AspectCount + 1> TrendCaptions{{
    {},
    {u"", u"!", u"?"},
    {u"", u">", u"<"},
    {u"", u"+", u"-"},
    {u"", u"/", u"X"},
    {u"", u"|", u"="},
    {u"", u"C", u"D"},
}};

// The table of future trends prints the same symbols with one difference: technique's second
// trend is a lower-case "x" there.
inline constexpr auto TrendTableSymbols = [] {
    auto symbols = TrendCaptions;
    symbols[4][2] = u"x";
    return symbols;
}();

// By impact mark (not affected, frame, grain, I and P), alike in the cells and the table.
inline constexpr std::array<std::u16string_view, Programme + 1> ImpactSymbols{u"", u"O", u"o", u"I",
                                                                              u"P"};

} // namespace sp::symbols
