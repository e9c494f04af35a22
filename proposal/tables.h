#pragma once
// The two tables of the proposal as text: the lines around them and the header captions, with
// the marks' symbols of rules/symbols.h. The writer prints them and the reader finds the marks
// back by them, so both use these and nothing else.

#include "model.h"

#include <string_view>

namespace sp::proposal {

// The two matrices, and the table and picture of each in the proposal.
enum class MatrixKind { Future, Impacts };

} // namespace sp::proposal

namespace sp::proposal::tables {

inline constexpr std::u16string_view StartTable =
    u"<start selecting text on the beginning of next line choosing <table, convert text into "
    u"table>>";
inline constexpr std::u16string_view StopTable =
    u"<stop selecting text on the end of previous line choosing <table, convert text into table>>";

// The first cell of each header row is the caption followed by the time horizon.
inline constexpr std::u16string_view FutureCaption = u"Future ";
inline constexpr std::u16string_view ImpactsCaption = u"Impacts ";

} // namespace sp::proposal::tables
