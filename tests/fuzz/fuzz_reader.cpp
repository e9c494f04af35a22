// The reader of saved studies under libFuzzer, with AddressSanitizer and UBSan: whatever bytes a
// file holds, reading them neither crashes nor runs away; a refused file says why and leaves
// the model as it was; an accepted one is a study the program writes again and reads back to
// the same marks and horizon. A broken property traps, so libFuzzer keeps the input.
#include "encoding.h"
#include "fuzzing.h"
#include "reader.h"
#include "studyproposal.h"

#include <QBuffer>

#include <cstddef>
#include <cstdint>

using namespace sp;
using namespace sp::proposal;

using sp::fuzzing::require;

namespace {

// A model no file can produce: out-of-range marks everywhere, index 0 included, and the
// fields a restore must keep set, so any partial write shows.
const Model &sentinel() {
    static const Model model = [] {
        Model m;
        initVocabulary(m);
        setMarks(m, fuzzing::impossibleMarks());
        m.lastImpactAspect = 4;
        m.lastImpactIndex = 17;
        m.frameScale = 3;
        m.grainScale = 11;
        return m;
    }();
    return model;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const QByteArrayView bytes(data, qsizetype(size));
    const Model &before = sentinel();
    Model model = before;
    QString problem;
    const bool restored = restoreStudyBytes(bytes, model, &problem);

    // Neither way touches the last press, the frame and grain scales or the words.
    require(model.lastImpactAspect == before.lastImpactAspect &&
            model.lastImpactIndex == before.lastImpactIndex &&
            model.frameScale == before.frameScale && model.grainScale == before.grainScale &&
            model.scaleNames == before.scaleNames && model.aspectNames == before.aspectNames &&
            model.trendNames == before.trendNames && model.impactNames == before.impactNames);

    if (!restored) {
        // The reason goes to the status line: whole characters, however a cell is shortened.
        require(problem.isValidUtf16());
        require(marksOf(model) == marksOf(before));
        return 0;
    }

    // The model holds exactly what the reader read.
    StudyMarks read;
    require(readStudyProposal(bytes, read, nullptr) && read == marksOf(model));

    // Saved as the program saves (the statement of the marks, Windows-1252) and read again.
    // A horizon character Windows-1252 lacks is written "?", so the horizon comes back as it
    // passes through that encoding. The fixed chapters hold bytes that are no UTF-8, so the
    // written file always reads as Windows-1252 and nothing else changes the horizon.
    QByteArray file;
    QBuffer device(&file);
    device.open(QIODevice::WriteOnly);
    require(writeStudyProposal(device, model, QStringLiteral("8 Dec 2026"), nullptr));
    StudyMarks again;
    require(readStudyProposal(file, again, nullptr));
    require(again.futureGrid == model.futureGrid && again.impactGrid == model.impactGrid);
    require(again.horizon == fromWindows1252(toWindows1252(model.horizon)));
    return 0;
}
