// The reader of the study a browser keeps, under libFuzzer with AddressSanitizer and UBSan:
// whatever the storage hands back (another version, damaged, edited by hand), reading it
// neither crashes nor runs away; a refused form says why and leaves the study as it was; an
// accepted one is exactly the form the writer makes of what was read, so nothing the reader
// takes can differ from what the page kept. A broken property traps, so libFuzzer keeps the
// input.
#include "keptstudy.h"

#include <cstddef>
#include <cstdint>

using namespace sp;
using namespace sp::proposal;

namespace {

void require(bool holds) {
    if (!holds)
        __builtin_trap();
}

// A study no form can hold, so that any partial write shows.
KeptStudy sentinel() {
    KeptStudy study;
    for (int a = 0; a <= AspectCount; ++a)
        for (int s = 0; s <= ScaleCount; ++s) {
            study.marks.futureGrid(a, s) = 7;
            study.marks.impactGrid(a, s) = 9;
        }
    study.marks.horizon = QStringLiteral("kept\nhorizon");
    study.unsaved = true;
    return study;
}

bool same(const KeptStudy &a, const KeptStudy &b) {
    return a.marks.futureGrid == b.marks.futureGrid && a.marks.impactGrid == b.marks.impactGrid &&
           a.marks.horizon == b.marks.horizon && a.unsaved == b.unsaved;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const QByteArrayView bytes(data, qsizetype(size));
    static const KeptStudy before = sentinel();
    KeptStudy study = before;
    QString problem;
    if (!readKeptStudy(bytes, study, &problem)) {
        // The reason goes to the status line.
        require(!problem.isEmpty() && problem.isValidUtf16());
        require(same(study, before));
        return 0;
    }
    require(massRowProblem(study.marks.impactGrid).isEmpty());
    require(singleLineHorizon(study.marks.horizon).size() == study.marks.horizon.size());
    Model model;
    model.futureGrid = study.marks.futureGrid;
    model.impactGrid = study.marks.impactGrid;
    model.horizon = study.marks.horizon;
    require(writeKeptStudy(model, study.unsaved) == bytes);
    return 0;
}
