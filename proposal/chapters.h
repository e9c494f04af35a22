#pragma once
// The fixed text of the study proposal: the chapter segments A..K that surround the generated
// blocks, and the reference list. Each entry is one line without its line end; the text never
// depends on the model.

#include <span>
#include <string_view>

namespace sp::proposal::chapters {

using Lines = std::span<const std::u16string_view>;

extern const Lines SegmentA;
extern const Lines SegmentB;
extern const Lines SegmentC;
extern const Lines SegmentD;
extern const Lines SegmentE;
extern const Lines SegmentF;
extern const Lines SegmentG;
extern const Lines SegmentH;
extern const Lines SegmentI;
extern const Lines SegmentJ;
extern const Lines SegmentK;
extern const Lines References;

} // namespace sp::proposal::chapters
