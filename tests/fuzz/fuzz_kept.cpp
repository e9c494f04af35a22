// The reader of the study a browser keeps, under libFuzzer with AddressSanitizer and UBSan:
// whatever the storage hands back (another version, damaged, edited by hand), reading it
// neither crashes nor runs away; a refused form says why and leaves the study as it was; an
// accepted one is exactly the form the writer makes of what was read, so nothing the reader
// takes can differ from what the page kept. A broken property traps, so libFuzzer keeps the
// input.
#include "fuzzing.h"
#include "keptstudy.h"

#include <cstddef>
#include <cstdint>

using namespace sp;
using namespace sp::proposal;
using sp::fuzzing::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const QByteArrayView bytes(data, qsizetype(size));
    static const KeptStudy before{fuzzing::impossibleMarks(), true};
    KeptStudy study = before;
    QString problem;
    if (!readKeptStudy(bytes, study, &problem)) {
        // The reason goes to the status line.
        require(!problem.isEmpty() && problem.isValidUtf16());
        require(study == before);
        return 0;
    }
    require(massRowProblem(study.marks.impactGrid).isEmpty());
    require(singleLineHorizon(study.marks.horizon).size() == study.marks.horizon.size());
    Model model;
    setMarks(model, study.marks);
    require(writeKeptStudy(model, study.unsaved) == bytes);
    return 0;
}
