#pragma once
// The study as the page keeps it in the browser's storage between visits, so that a reload, a
// closed tab or a tablet that drops the page loses no mark. A small text of its own rather than
// StudyProposal.txt: it holds any state the presses leave (also before a frame and a grain are
// placed), the horizon exactly as typed in any script (the text file has Windows-1252 only), and
// whether it has changed since it was last saved; and it is plain ASCII, which every storage
// keeps unchanged. Its first line names the form and its version:
//
//   study-proposal kept study 1
//   horizon 2030                        (\uXXXX for each UTF-16 unit outside ' '..'~', \\ for \)
//   future 0100000000000000000000 ...   (six rows of 22 marks, aspects 1..6, scales 1..22)
//   impacts 0000000000000000000000 ...
//   unsaved 1
//
// Whatever the reader takes it writes again byte for byte; anything else (another version,
// damaged, edited by hand) is refused with a reason, and nothing of it is used.

#include "reader.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace sp::proposal {

struct KeptStudy {
    StudyMarks marks;
    bool unsaved = false; // changed since last saved or opened
    bool operator==(const KeptStudy &) const = default;
};

// Far above the largest study (a horizon of the longest length in \uXXXX escapes).
inline constexpr qsizetype MaxKeptStudySize = 256 * 1024;

QByteArray writeKeptStudy(const Model &model, bool unsaved);

// Returns false and sets `error` (when given) when `bytes` are not a kept study this version
// writes; `study` is then unchanged.
bool readKeptStudy(QByteArrayView bytes, KeptStudy &study, QString *error);

// Every mark empty and the horizon the one a new study starts with: nothing to keep.
bool isNewStudy(const Model &model);

} // namespace sp::proposal
