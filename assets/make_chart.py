#!/usr/bin/env python3
"""Writes chart.svg, the scale chart drawn over the cell matrix of both windows.

The picture is 2000 x 1114 units but the windows stretch it to 656 x 265 px,
unevenly (x by 656/2000, y by 265/1114). Every position below is therefore
chosen in stretched window pixels and converted, so that the heading of
column j lands over matrix column j, whose centre is at x = 145 + 24 j px
inside the picture box.

The words are glyph outlines of Liberation Sans, not <text>: Qt lays out SVG
text on every render, which made this chart, drawn on the first frame, many
times slower than its shapes alone. Each glyph is written once and placed
with <use>, which Qt draws at least as fast as separate paths, in a file a
third the size.

chart.svg is committed and the build only compiles it in; this script is run
by hand when the chart changes. It needs fontTools and the Liberation Sans 2
font files (Debian: python3-fonttools, fonts-liberation2).

Usage: python3 make_chart.py [output]   (default: chart.svg next to this file)
"""

import math
import os
import sys
from xml.sax.saxutils import quoteattr

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
    """Outlines and metrics of one font file, in font units.

    Each glyph the chart uses is written once, in <defs>, and every word is a
    row of <use> of them, scaled and turned into place as a whole."""

    def __init__(self, path, prefix):
        font = TTFont(path)
        self.units_per_em = font["head"].unitsPerEm
        self.cmap = font.getBestCmap()
        self.glyphs = font.getGlyphSet()
        # The same pairs as the font's GPOS kern feature, which Qt applied to
        # the text this replaces; none of the chart's words happen to use one.
        self.kerning = font["kern"].kernTables[0].kernTable if "kern" in font else {}
        self.prefix = prefix  # of the ids of its glyphs in <defs>
        self.outlines = {}  # glyph name -> path data, in order of first use

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

    def glyph_id(self, name):
        """The id of the outline of glyph name, or None if it has no ink."""
        if name not in self.outlines:
            pen = OutlinePen(self.glyphs)
            self.glyphs[name].draw(pen)
            self.outlines[name] = pen.d
        return f"{self.prefix}-{name}" if self.outlines[name] else None

    def defs(self):
        return [
            f'<path id="{self.prefix}-{name}" d="{d}"/>' for name, d in self.outlines.items() if d
        ]


class OutlinePen(BasePen):
    """Short SVG path data of a glyph in font units, y up as in the font.

    TrueType points are whole units and the points implied between two
    off-curve points are halves, so tenths are exact. Relative commands,
    h / v / t and repeated commands without their letter keep <defs> small."""

    def __init__(self, glyphs):
        super().__init__(glyphs)
        self.d = ""
        self.command = None  # the last one written
        self.at = (0, 0)  # current point, in tenths of a unit
        self.start = (0, 0)  # of the contour, where z returns to
        self.control = None  # of the last quadratic segment, which t mirrors

    def _write(self, command, values):
        if command != self.command or command in "Mz":
            self.d += command
        self.command = command
        for v in values:
            number = tenths(v)
            if self.d[-1] not in "Mzlhvqtc" and not number.startswith("-"):
                self.d += " "
            self.d += number

    def _relative(self, pt):
        x, y = round(pt[0] * 10), round(pt[1] * 10)
        return (x, y), (x - self.at[0], y - self.at[1])

    def _moveTo(self, pt):
        self.at = self.start = (round(pt[0] * 10), round(pt[1] * 10))
        self.control = None
        self._write("M", self.at)

    def _lineTo(self, pt):
        end, (dx, dy) = self._relative(pt)
        self.control = None
        if dx and dy:
            self._write("l", (dx, dy))
        elif dx:
            self._write("h", (dx,))
        elif dy:
            self._write("v", (dy,))
        self.at = end

    def _qCurveToOne(self, pt1, pt2):
        control, (cx, cy) = self._relative(pt1)
        end, (dx, dy) = self._relative(pt2)
        mirrored = self.control and control == (
            2 * self.at[0] - self.control[0],
            2 * self.at[1] - self.control[1],
        )
        if mirrored:
            self._write("t", (dx, dy))
        else:
            self._write("q", (cx, cy, dx, dy))
        self.at, self.control = end, control

    def _curveToOne(self, pt1, pt2, pt3):  # not in TrueType outlines
        _, (ax, ay) = self._relative(pt1)
        _, (bx, by) = self._relative(pt2)
        end, (dx, dy) = self._relative(pt3)
        self._write("c", (ax, ay, bx, by, dx, dy))
        self.at, self.control = end, None

    def _closePath(self):
        self._write("z", ())
        self.at, self.control = self.start, None


def tenths(v):
    """A whole number of tenths as a short SVG number."""
    sign = "-" if v < 0 else ""
    whole, tenth = divmod(abs(v), 10)
    if not tenth:
        return f"{sign}{whole}"
    return f"{sign}{whole or ''}.{tenth}"


def word(face, text, origin_x, origin_y, size, turned):
    """The glyphs of text set from (origin_x, origin_y) along its baseline:
    rightwards, or upwards with their tops to the left if turned."""
    scale = size / face.units_per_em
    place = f"translate({num(origin_x)},{num(origin_y)})"
    if turned:
        place += " rotate(-90)"
    place += f" scale({scale:.7g},{-scale:.7g})"  # the font's y is up
    uses = []
    for name, pen_x in face.layout(text):
        ref = face.glyph_id(name)
        if ref:
            x = f' x="{pen_x}"' if pen_x else ""
            uses.append(f'<use xlink:href="#{ref}"{x}/>')
    return f'<g aria-label={quoteattr(text)} transform="{place}">{"".join(uses)}</g>'


# Bell curves: one per column 12..14, wide enough to overlap their neighbours
# and short of the unit m over column 15.
BELL_COLUMNS = (11, 12, 13)  # 0-based; 12 (middle) is filled
BELL_SIGMA_PX = 5.5
BELL_HALF_WIDTH_PX = 15.0
BELL_HEIGHT_PX = 24.0
STROKE = 5  # units: about 1.6 px on vertical, 1.2 px on horizontal lines


def column_x(j):
    return (COLUMN_X0 + COLUMN_PITCH * j) * SX


def num(v):
    s = f"{v:.1f}"
    return s[:-2] if s.endswith(".0") else s


BOLD = Face(BOLD_FILE, "b")
BOLD_ITALIC = Face(BOLD_ITALIC_FILE, "bi")


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
    base = RADIUS_ROW_BASELINE_Y * SY
    height = BELL_HEIGHT_PX * SY
    reach = BELL_HALF_WIDTH_PX / BELL_SIGMA_PX  # in sigmas
    floor = math.exp(-reach * reach / 2)  # lifted off so the ends touch the baseline
    points = []
    steps = 48
    for i in range(steps + 1):
        t = reach * (2 * i / steps - 1)
        rise = (math.exp(-t * t / 2) - floor) / (1 - floor)
        points.append((centre_x + t * BELL_SIGMA_PX * SX, base - height * rise))
    d = "M" + " L".join(f"{num(x)},{num(y)}" for x, y in points)
    return d + (" Z" if closed else "")


def build():
    out = ['<g fill="#000000" stroke="none">']

    out.append("<!-- column headings -->")
    for j, (heading, _) in enumerate(COLUMNS):
        out.append(turned_text(heading, column_x(j), FIRST_LETTER_Y, HEADING_SIZE))

    out.append(flat_text("order of", 4, ORDER_BASELINES_Y[0], LARGE_SIZE))
    out.append(flat_text("size", 4, ORDER_BASELINES_Y[1], LARGE_SIZE))

    note = "'nominal radius 10 m' here stands for e.g. 'in a radius from 30m to 3m'"
    out.append(flat_text(note, COLUMN_X0 - 8, NOTE_BASELINE_Y, NOTE_SIZE))

    out.append("<!-- nominal radius row -->")
    out.append(flat_text("nominal radius", 4, RADIUS_ROW_BASELINE_Y, ROW_LABEL_SIZE))
    out.append(turned_text("km", column_x(8), UNIT_FIRST_LETTER_Y, HEADING_SIZE))
    out.append(turned_text("m", column_x(14), UNIT_FIRST_LETTER_Y, HEADING_SIZE))
    left, middle, right = BELL_COLUMNS
    out.append(f'<path d="{bell_path(column_x(middle), True)}"/>')
    out.append(f'<g fill="none" stroke="#000000" stroke-width="{STROKE}" stroke-linejoin="round">')
    out.append(f'<path d="{bell_path(column_x(left), False)}"/>')
    out.append(f'<path d="{bell_path(column_x(right), False)}"/>')
    out.append("</g>")

    out.append("<!-- radii -->")
    for j, (_, radius) in enumerate(COLUMNS):
        out.append(turned_text(radius, column_x(j), RADII_FIRST_LETTER_Y, HEADING_SIZE))
    out.append(flat_text("layer", 4, LAYER_BASELINE_Y, LARGE_SIZE))

    out.append("</g>")

    head = [
        '<?xml version="1.0" encoding="UTF-8"?>',
        "<!-- Generated by make_chart.py; edit that and rerun it. -->",
        f'<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink"'
        f' version="1.2" baseProfile="tiny"'
        f' width="{WIDTH}" height="{HEIGHT}" viewBox="0 0 {WIDTH} {HEIGHT}"'
        f' preserveAspectRatio="none">',
        "<!-- glyphs of Liberation Sans Bold (b-) and Bold Italic (bi-), in font units -->",
        "<defs>",
        *BOLD.defs(),
        *BOLD_ITALIC.defs(),
        "</defs>",
    ]
    return "\n".join(head + out + ["</svg>"]) + "\n"


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "chart.svg")
    with open(target, "w", encoding="utf-8", newline="\n") as f:
        f.write(build())


if __name__ == "__main__":
    main()
