#pragma once
// Geometry and colours shared by both windows. Boxes are kept in twips, as the layout is
// drawn up (1/1440 inch, 15 twips a pixel at 96 dpi), and turned into pixels in one place.

#include <QColor>
#include <QRect>

namespace sp::layout {

constexpr int TwipsPerPixel = 15;

struct Box {
    int left, top, width, height; // twips
};

constexpr QRect pixels(Box b) {
    return QRect(b.left / TwipsPerPixel, b.top / TwipsPerPixel, b.width / TwipsPerPixel,
                 b.height / TwipsPerPixel);
}

constexpr QSize ClientSize(11430 / TwipsPerPixel, 8520 / TwipsPerPixel); // 762 x 568
inline const QColor Background(192, 192, 192);

// The matrix: 6 aspect rows by 22 scale columns at a 360-twip pitch, 375-twip cells, so
// neighbours overlap by one pixel. Row resets stand at position 22 of the same pitch and
// the column buttons form a seventh row.
enum : int { Pitch = 360, CellSize = 375, MatrixLeft = 2355, MatrixTop = 4695 };

constexpr Box cellBox(int aspect, int index) {
    return {MatrixLeft + Pitch * index, MatrixTop + Pitch * (aspect - 1), CellSize, CellSize};
}
constexpr Box rowResetBox(int index) {
    return {10275, MatrixTop + Pitch * index, 735, CellSize};
}
constexpr Box columnBox(int index) {
    return {MatrixLeft + Pitch * index, MatrixTop + Pitch * 6, CellSize, CellSize};
}
constexpr Box ResetAllBox{10275, 6855, 735, CellSize};

// Row captions start at a window-specific corner and follow the row pitch.
constexpr Box rowCaptionBox(int left, int top, int index) {
    return {left, top + Pitch * index, 2175, CellSize};
}

// What differs between the two windows' matrices: the scale chart above the cells, the corner
// of the first row caption, the width of the first mass cell (twips) and the font size of
// the first cell of row 1 (points). The pictures of the matrices are drawn from these too.
struct MatrixPlacement {
    Box chart;
    int captionLeft, captionTop;
    int firstMassCellWidth;
    double firstCellPoints;
};
constexpr MatrixPlacement FutureMatrix{{360, 720, 9840, 3975}, 375, 4740, 390, 12};
constexpr MatrixPlacement ImpactsMatrix{{375, 690, 9840, 3975}, 405, 4755, 375, 9.75};

// Row colours of aspects 1..6, the same on both windows.
inline QColor aspectColour(int aspect) {
    static const QColor colours[6] = {{211, 0, 0},    {255, 139, 0},  {244, 202, 0},
                                      {230, 247, 23}, {154, 196, 45}, {3, 102, 192}};
    return colours[aspect - 1];
}

inline const char *const RowCaptions[6] = {"Administration", "Culture", "Economy",
                                           "Technique",      "Ecology", "Mass|space|time"};

} // namespace sp::layout
