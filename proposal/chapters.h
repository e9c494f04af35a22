#pragma once
// The fixed text of the study proposal: the chapter segments A..K that surround the generated
// blocks, and the reference list. Each entry is one line without its line end, with its role
// in a formatted document; the text never depends on the model.

#include <cstddef>
#include <span>
#include <string_view>

namespace sp::proposal::chapters {

// What a line is beyond its words, for the formatted document; the text file writes every
// line alike.
enum Role : unsigned char {
    Text,          // a sentence, possibly with <instructions> to replace
    Heading1,      // "1 OBJECT OF STUDY AND ITS CONTEXT"
    Heading2,      // "1.1 OBJECT OF MY STUDY"
    Heading3,      // "A Affinity with designing."
    ContentsTitle, // "CONTENTS"
    Formatting,    // an instruction to format by hand, which a formatted document has done
};

struct Line {
    // A plain string literal is a sentence, so the tables read as the text they hold.
    template <std::size_t N>
    constexpr Line(const char16_t (&words)[N], Role kind = Text)
        : text(words, N - 1)
        , role(kind) {}
    std::u16string_view text;
    Role role;
};

using Lines = std::span<const Line>;

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
