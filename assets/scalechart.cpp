#include "assets.h"

#include <QPainterPath>
#include <QPen>

#include <algorithm>
#include <span>
#include <string_view>
#include <vector>

namespace sp {
namespace {

// A path as its commands (M move, L line, Q quadratic and C cubic curve, Z close) and the
// coordinates their points take, in order.
struct PathData {
    std::string_view commands;
    std::span<const double> coordinates;
};

// One glyph of a word: its outline and the pen position along the baseline, in font units.
struct Glyph {
    int outline;
    double x;
};

struct Item {
    enum Kind { Fill, Stroke, Word } kind;
    QRgb colour;
    double penWidth;               // Stroke
    PathData path;                 // Fill, Stroke: in chart units
    std::span<const Glyph> glyphs; // Word: placed by translate(x, y) rotate(angle)
    double x, y, angle, scale;     //       scale(scale, -scale), the fonts' y being up
};

constexpr Item fill(QRgb colour, PathData path) {
    return {Item::Fill, colour, 0, path, {}, 0, 0, 0, 0};
}
constexpr Item stroke(QRgb colour, double width, PathData path) {
    return {Item::Stroke, colour, width, path, {}, 0, 0, 0, 0};
}
constexpr Item word(QRgb colour, std::span<const Glyph> glyphs, double x, double y, double angle,
                    double scale) {
    return {Item::Word, colour, 0, {}, glyphs, x, y, angle, scale};
}

#include "chartdata.inc"

constexpr bool wellFormed(PathData path) {
    std::size_t used = 0;
    for (char command : path.commands) {
        if (std::string_view("MLQCZ").find(command) == std::string_view::npos)
            return false;
        used += command == 'Q' ? 4 : command == 'C' ? 6 : command == 'Z' ? 0 : 2;
    }
    return !path.commands.empty() && path.commands.front() == 'M' &&
           used == path.coordinates.size();
}
// A generator fault shows at build time, not as a garbled chart.
// (std::all_of: the C++ library of Debian's emscripten has no std::ranges::all_of.)
static_assert(std::all_of(std::begin(Outlines), std::end(Outlines), wellFormed));
static_assert(std::all_of(std::begin(Items), std::end(Items), [](const Item &item) {
    return item.kind == Item::Word
               ? std::all_of(
                     item.glyphs.begin(), item.glyphs.end(),
                     [](Glyph g) { return g.outline >= 0 && g.outline < int(std::size(Outlines)); })
               : wellFormed(item.path);
}));

QPainterPath toPath(PathData data) {
    QPainterPath path;
    path.setFillRule(Qt::WindingFill); // as TrueType outlines are filled
    const double *v = data.coordinates.data();
    for (char command : data.commands) {
        switch (command) {
        case 'M':
            path.moveTo(v[0], v[1]);
            v += 2;
            break;
        case 'L':
            path.lineTo(v[0], v[1]);
            v += 2;
            break;
        case 'Q':
            path.quadTo(v[0], v[1], v[2], v[3]);
            v += 4;
            break;
        case 'C':
            path.cubicTo(v[0], v[1], v[2], v[3], v[4], v[5]);
            v += 6;
            break;
        default:
            path.closeSubpath();
        }
    }
    return path;
}

// The paths are built on first use and kept, about a hundred, one set per thread: drawing a
// path fills a cache inside it, so two threads must not draw the same one.
struct Paths {
    std::vector<QPainterPath> outlines, items;
    Paths() {
        for (PathData outline : Outlines)
            outlines.push_back(toPath(outline));
        for (const Item &item : Items)
            items.push_back(item.kind == Item::Word ? QPainterPath() : toPath(item.path));
    }
};

} // namespace

void paintScaleChart(QPainter &painter, const QRectF &target) {
    static thread_local const Paths paths;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(target.topLeft());
    painter.scale(target.width() / ChartSize.width(), target.height() / ChartSize.height());
    for (std::size_t i = 0; i < std::size(Items); ++i) {
        const Item &item = Items[i];
        if (item.kind == Item::Stroke) {
            // Butt ends and round joins, as the curves were designed.
            painter.setPen(QPen(QColor(item.colour), item.penWidth, Qt::SolidLine, Qt::FlatCap,
                                Qt::RoundJoin));
            painter.setBrush(Qt::NoBrush);
        } else {
            painter.setPen(Qt::NoPen);
            painter.setBrush(QColor(item.colour));
        }
        if (item.kind != Item::Word) {
            painter.drawPath(paths.items[i]);
            continue;
        }
        painter.save();
        painter.translate(item.x, item.y);
        if (item.angle != 0)
            painter.rotate(item.angle);
        painter.scale(item.scale, -item.scale);
        for (const Glyph &glyph : item.glyphs) {
            painter.translate(glyph.x, 0);
            painter.drawPath(paths.outlines[glyph.outline]);
            painter.translate(-glyph.x, 0);
        }
        painter.restore();
    }
    painter.restore();
}

} // namespace sp
