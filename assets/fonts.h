#pragma once
// The layout names Windows fonts (Arial, MS Sans Serif) that Linux machines lack. They are
// mapped once to an installed metric-compatible family, so text keeps its size and wrapping
// and Qt never spends start-up time resolving a family that is not there.

#include <QFont>

namespace sp::fonts {

enum class Face { Arial, MsSansSerif };

// The family used for a face: the face itself when installed, else Liberation Sans (or
// Arimo), else the generic sans-serif family.
QString family(Face face);

QFont font(Face face, qreal points, bool bold = false);

} // namespace sp::fonts
