#include "assets.h"

#include <QImage>
#include <QPixmap>

#include <array>

namespace sp {
namespace {

constexpr int GridSize = 16;

struct Grid {
    const char *name;
    std::array<QRgb, GridSize * GridSize> pixels; // 0xRRGGBB, row by row
};

const Grid Grids[] = {
#include "icondata.inc"
};

// The grid scaled as make_icons.py scales it for the PNGs: without smoothing, each pixel takes
// the grid pixel under its centre.
QImage scaled(const Grid &grid, int size) {
    const auto under = [size](int i) { return (2 * i + 1) * GridSize / (2 * size); };
    QImage image(size, size, QImage::Format_RGB32);
    for (int y = 0; y < size; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < size; ++x)
            line[x] = 0xff000000 | grid.pixels[under(y) * GridSize + under(x)];
    }
    return image;
}

} // namespace

QIcon windowIcon(const QString &name) {
    // The sizes of the PNGs, built from the grid rather than read: reading an image makes Qt
    // load its image format plugins, milliseconds that the first frame would wait for. Only
    // up to 64 px: the window manager reads every size handed to it before it maps the frame,
    // and the larger ones (from the icon theme and the .ico) are for launchers, not windows.
    QIcon icon;
    for (const Grid &grid : Grids)
        if (name == QLatin1String(grid.name))
            for (int size : {16, 24, 32, 48, 64})
                icon.addPixmap(QPixmap::fromImage(scaled(grid, size)));
    return icon;
}

} // namespace sp
