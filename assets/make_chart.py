#!/usr/bin/env python3
"""Writes chartdata.inc, the scale chart drawn over the cell matrix of both windows, as
data that scalechart.cpp draws with QPainter.

The picture is 2000 x 1114 units but the windows stretch it to 656 x 265 px,
unevenly (x by 656/2000, y by 265/1114). Every position below is therefore
chosen in stretched window pixels and converted, so that the heading of
column j lands over matrix column j, whose centre is at x = 145 + 24 j px
inside the picture box.

The words are glyph outlines of Liberation Sans, not text: the chart then looks
the same whatever fonts are installed, and drawing it, on the first frame,
lays out no text. Each glyph's outline is written once, and each word places
its glyphs with one transform.

chartdata.inc is committed and the build only compiles it in; this script is
run by hand when the chart changes. It needs fontTools and the Liberation Sans 2
font files (Debian: python3-fonttools, fonts-liberation2).

Usage: python3 make_chart.py [output]   (default: chartdata.inc next to this file)
"""

import math
import os
import sys

from fontTools.pens.basePen import BasePen
from fontTools.pens.boundsPen import BoundsPen
from fontTools.ttLib import TTFont

WIDTH, HEIGHT = 2000, 1114
SHOWN_W, SHOWN_H = 656, 265
SX = WIDTH / SHOWN_W  # units per stretched pixel across
SY = HEIGHT / SHOWN_H  # units per stretched pixel down

FONT_DIR = "/usr/share/fonts/truetype/liberation2"
BOLD_FILE = os.path.join(FONT_DIR, "LiberationSans-Bold.ttf")
BOLD_ITALIC_FILE = os.path.join(FONT_DIR, "LiberationSans-BoldItalic.ttf")

# (heading, nominal radius) for scales 1..22.
COLUMNS = [
    ("Global", "10000"),
    ("Continental", "3000"),
    ("Sub-Continental", "1000"),
    ("Dutch National", "300"),
    ("Dutch Sub-National", "100"),
    ("Dutch Regional", "30"),
    ("Dutch Sub-Regional", "10"),
    ("Local | Town | Borough", "3"),
    ("District | Village", "1"),
    ("Neighbourhood | Hamlet", "300"),
    ("Ensemble", "100"),
    ("Building Complex", "30"),
    ("Building", "10"),
    ("Building Segment", "3"),
    ("Building Part", "1"),
    ("Building component", "300"),
    ("Superelement", "100"),
    ("Element", "30"),
    ("Subelement", "10"),
    ("Supermaterial", "3"),
    ("Material", "1"),
    ("Submaterial", "<1mm"),
]

# Matrix column j (0-based) in stretched picture pixels.
COLUMN_X0 = 145
COLUMN_PITCH = 24

# Rows of the chart, stretched pixels from the top of the picture. The
# window lays its own controls over x < 130, y < 85, so nothing goes there.
FIRST_LETTER_Y = 178  # about two thirds down: headings rise from here
NOTE_BASELINE_Y = 192  # the small explanatory line
RADIUS_ROW_BASELINE_Y = 224  # "nominal radius" and the curves stand on this
UNIT_FIRST_LETTER_Y = 229  # km / m
RADII_FIRST_LETTER_Y = 262  # the radius of each column
ORDER_BASELINES_Y = (134, 164)  # "order of" / "size"
LAYER_BASELINE_Y = 255

# Font sizes in picture units. Rotated text is measured across by SX, so a
# heading of 41 units has capitals about 9 px tall across in the window.
HEADING_SIZE = 41
NOTE_SIZE = 34
ROW_LABEL_SIZE = 46
LARGE_SIZE = 96


class Face:
    """Outlines and metrics of one font file, in font units."""

    def __init__(self, path, label, prefix):
        font = TTFont(path)
        self.units_per_em = font["head"].unitsPerEm
        self.cmap = font.getBestCmap()
        self.glyphs = font.getGlyphSet()
        # The same pairs as the font's GPOS kern feature, which Qt applied to
        # the text this replaces; none of the chart's words happen to use one.
        self.kerning = font["kern"].kernTables[0].kernTable if "kern" in font else {}
        self.label = label  # the face's name, in comments
        self.prefix = prefix  # of the names of its outlines
        self.outline_index = {}  # glyph name -> index in OUTLINES, None if it has no ink

    def layout(self, text):
        """[(glyph name, pen x)] for text, in font units from its origin."""
        placed = []
        x = 0
        previous = None
        for c in text:
            name = self.cmap[ord(c)]
            x += self.kerning.get((previous, name), 0)
            placed.append((name, x))
            x += self.glyphs[name].width
            previous = name
        return placed

    def extent(self, text):
        """(top, bottom) of the ink of text, in em, above and below the baseline."""
        top = bottom = 0
        for name, _ in self.layout(text):
            pen = BoundsPen(self.glyphs)
            self.glyphs[name].draw(pen)
            if pen.bounds:  # spaces have none
                top = max(top, pen.bounds[3])
                bottom = max(bottom, -pen.bounds[1])
        return top / self.units_per_em, bottom / self.units_per_em

    def outline(self, name):
        """The index of glyph name's outline in OUTLINES, or None if it has no ink."""
        if name not in self.outline_index:
            pen = OutlinePen(self.glyphs)
            self.glyphs[name].draw(pen)
            index = None
            if pen.commands:
                index = len(OUTLINES)
                identifier = self.prefix + "_" + "".join(c if c.isalnum() else "_" for c in name)
                OUTLINES.append((identifier, f"{self.label} {name}", pen.commands, pen.values))
            self.outline_index[name] = index
        return self.outline_index[name]


# Every glyph outline used, in order of first use: (identifier, comment, commands, values).
OUTLINES = []


class OutlinePen(BasePen):
    """Absolute path commands of a glyph in font units, y up as in the font:
    M move, L line, Q quadratic and C cubic curve, Z close, and the values of
    the points they take. TrueType points are whole units and those implied
    between two off-curve points halves, so the values are exact."""

    def __init__(self, glyphs):
        super().__init__(glyphs)
        self.commands = ""
        self.values = []
        self.at = self.start = None

    def _add(self, command, *points):
        self.commands += command
        for x, y in points:
            self.values += [x, y]
        self.at = points[-1]

    def _moveTo(self, pt):
        self._add("M", pt)
        self.start = pt

    def _lineTo(self, pt):
        if pt != self.at:  # a line to where it is draws nothing
            self._add("L", pt)

    def _qCurveToOne(self, pt1, pt2):
        self._add("Q", pt1, pt2)

    def _curveToOne(self, pt1, pt2, pt3):  # not in TrueType outlines
        self._add("C", pt1, pt2, pt3)

    def _closePath(self):
        self.commands += "Z"
        self.at = self.start


def value(v):
    """A coordinate as a short C++ number."""
    return f"{v:g}" if isinstance(v, float) else str(v)


def word(face, text, origin_x, origin_y, size, turned):
    """The glyphs of text set from (origin_x, origin_y) along its baseline:
    rightwards, or upwards with their tops to the left if turned."""
    glyphs = []
    for name, pen_x in face.layout(text):
        index = face.outline(name)
        if index is not None:
            glyphs.append((index, pen_x))
    # Placed by translate(origin) rotate(angle) scale(scale, -scale): the font's y is up.
    scale = f"{size / face.units_per_em:.7g}"
    return ("word", text, glyphs, num(origin_x), num(origin_y), -90 if turned else 0, scale)


# Bell curves: one per column 12..14, wide enough to overlap their neighbours
# and short of the unit m over column 15.
BELL_COLUMNS = (11, 12, 13)  # 0-based; 12 (middle) is filled
BELL_SIGMA_PX = 5.5
BELL_HALF_WIDTH_PX = 15.0
BELL_HEIGHT_PX = 24.0
STROKE = 5  # units: about 1.6 px on vertical, 1.2 px on horizontal lines
BLACK = "qRgb(0, 0, 0)"  # of everything drawn


def column_x(j):
    return (COLUMN_X0 + COLUMN_PITCH * j) * SX


def num(v):
    s = f"{v:.1f}"
    return s[:-2] if s.endswith(".0") else s


BOLD = Face(BOLD_FILE, "Bold", "bold")
BOLD_ITALIC = Face(BOLD_ITALIC_FILE, "Bold Italic", "boldItalic")


def turned_text(text, centre_x, first_letter_y, size):
    """Bold text reading upwards, centred across on centre_x."""
    top, descent = (size * v for v in BOLD.extent(text))
    # Split the difference between centring the whole ink and centring the
    # letters' body: a descender then moves the word by a quarter of its depth.
    baseline_x = centre_x + top / 2 - descent / 4
    return word(BOLD, text, baseline_x, first_letter_y * SY, size, turned=True)


def flat_text(text, x_px, baseline_px, size):
    """Bold italic text on a baseline, from x_px rightwards."""
    return word(BOLD_ITALIC, text, x_px * SX, baseline_px * SY, size, turned=False)


def bell_path(centre_x, closed):
    """(commands, values) of a bell curve standing on the nominal radius row."""
    base = RADIUS_ROW_BASELINE_Y * SY
    height = BELL_HEIGHT_PX * SY
    reach = BELL_HALF_WIDTH_PX / BELL_SIGMA_PX  # in sigmas
    floor = math.exp(-reach * reach / 2)  # lifted off so the ends touch the baseline
    values = []
    steps = 48
    for i in range(steps + 1):
        t = reach * (2 * i / steps - 1)
        rise = (math.exp(-t * t / 2) - floor) / (1 - floor)
        values += [num(centre_x + t * BELL_SIGMA_PX * SX), num(base - height * rise)]
    return "M" + "L" * steps + ("Z" if closed else ""), values


def build():
    """The display list, in drawing order."""
    items = [("comment", "column headings")]
    for j, (heading, _) in enumerate(COLUMNS):
        items.append(turned_text(heading, column_x(j), FIRST_LETTER_Y, HEADING_SIZE))

    items.append(flat_text("order of", 4, ORDER_BASELINES_Y[0], LARGE_SIZE))
    items.append(flat_text("size", 4, ORDER_BASELINES_Y[1], LARGE_SIZE))

    note = "'nominal radius 10 m' here stands for e.g. 'in a radius from 30m to 3m'"
    items.append(flat_text(note, COLUMN_X0 - 8, NOTE_BASELINE_Y, NOTE_SIZE))

    items.append(("comment", "nominal radius row"))
    items.append(flat_text("nominal radius", 4, RADIUS_ROW_BASELINE_Y, ROW_LABEL_SIZE))
    items.append(turned_text("km", column_x(8), UNIT_FIRST_LETTER_Y, HEADING_SIZE))
    items.append(turned_text("m", column_x(14), UNIT_FIRST_LETTER_Y, HEADING_SIZE))
    left, middle, right = BELL_COLUMNS
    items.append(("fill", "middle bell curve", bell_path(column_x(middle), True)))
    items.append(("stroke", "left bell curve", bell_path(column_x(left), False)))
    items.append(("stroke", "right bell curve", bell_path(column_x(right), False)))

    items.append(("comment", "radii"))
    for j, (_, radius) in enumerate(COLUMNS):
        items.append(turned_text(radius, column_x(j), RADII_FIRST_LETTER_Y, HEADING_SIZE))
    items.append(flat_text("layer", 4, LAYER_BASELINE_Y, LARGE_SIZE))
    return items


def wrapped(pieces, indent="    ", width=100):
    """pieces, each followed by a comma, in lines at most width long."""
    lines, line = [], indent
    for piece in pieces:
        if len(line) + len(piece) + 1 > width and line.strip():
            lines.append(line.rstrip())
            line = indent
        line += piece + ", "
    lines.append(line.rstrip())
    return lines


def commented(code, comment, width=100):
    """code with comment after it, or above it if the line would be too long."""
    if len(code) + len(comment) + 4 > width:
        indent = code[: len(code) - len(code.lstrip())]
        return [f"{indent}// {comment}", code]
    return [f"{code} // {comment}"]


def cpp_string(text):
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'


def source(items):
    out = [
        "// Generated by make_chart.py; edit that and rerun it.",
        "// clang-format off",
        "//",
        f"// The scale chart as data for scalechart.cpp, in its {WIDTH} x {HEIGHT} unit space with",
        "// y down, stretched to any box as it is shown.",
        "",
        f"constexpr QSizeF ChartSize({WIDTH}, {HEIGHT});",
        "",
        "// Glyph outlines of Liberation Sans Bold and Bold Italic, in font units with y up: each",
        "// one's commands (M move, L line, Q quadratic and C cubic curve, Z close) take, in",
        "// order, the points listed under its name.",
    ]
    for identifier, _, _, values in OUTLINES:
        out.append(f"constexpr double {identifier}[] = {{")
        out += wrapped(value(v) for v in values)
        out.append("};")
    out.append("constexpr PathData Outlines[] = {")
    for index, (identifier, comment, commands, _) in enumerate(OUTLINES):
        out += commented(f"    {{{cpp_string(commands)}, {identifier}}},", f"{index}: {comment}")
    out.append("};")

    out += [
        "",
        "// The words' glyphs: the outline (in Outlines) and the pen position along the",
        "// baseline, in font units.",
    ]
    words = [item for item in items if item[0] == "word"]
    for number, (_, text, glyphs, *_) in enumerate(words):
        out.append(f"// {text}")
        out.append(f"constexpr Glyph word{number}[] = {{")
        out += wrapped(f"{{{index}, {value(x)}}}" for index, x in glyphs)
        out.append("};")

    out += ["", "// The bell curves, in chart units."]
    curves = [item for item in items if item[0] in ("fill", "stroke")]
    for number, (_, comment, (_, values)) in enumerate(curves):
        out.append(f"// {comment}")
        out.append(f"constexpr double curve{number}[] = {{")
        out += wrapped(values)
        out.append("};")

    out += [
        "",
        "// Everything drawn, in order: words, placed by translate(x, y) rotate(angle)",
        "// scale(scale, -scale), filled paths and stroked ones with their pen width.",
        "constexpr Item Items[] = {",
    ]
    for item in items:
        kind = item[0]
        if kind == "comment":
            out.append(f"    // {item[1]}")
        elif kind == "word":
            _, text, _, x, y, angle, scale = item
            code = f"    word({BLACK}, word{words.index(item)}, {x}, {y}, {angle}, {scale}),"
            out += commented(code, text)
        else:
            _, comment, (commands, _) = item
            width = f", {STROKE}" if kind == "stroke" else ""
            path = f"{{{cpp_string(commands)}, curve{curves.index(item)}}}"
            out += commented(f"    {kind}({BLACK}{width}, {path}),", comment)
    out.append("};")
    return "\n".join(out) + "\n"


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "chartdata.inc")
    with open(target, "w", encoding="utf-8", newline="\n") as f:
        f.write(source(build()))


if __name__ == "__main__":
    main()
