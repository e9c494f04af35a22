#pragma once
// What both fuzzers share: a property that traps when broken, so libFuzzer keeps the input, and
// marks and a horizon no input can hold (out-of-range marks everywhere, index 0 included, and a
// horizon of two lines), so that any partial write shows.
#include "reader.h"

namespace sp::fuzzing {

inline void require(bool holds) {
    if (!holds)
        __builtin_trap();
}

inline proposal::StudyMarks impossibleMarks() {
    proposal::StudyMarks marks;
    for (int a = 0; a <= AspectCount; ++a)
        for (int s = 0; s <= ScaleCount; ++s) {
            marks.futureGrid(a, s) = 7;
            marks.impactGrid(a, s) = 9;
        }
    marks.horizon = QStringLiteral("kept\nhorizon");
    return marks;
}

} // namespace sp::fuzzing
