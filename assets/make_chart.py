#!/usr/bin/env python3
"""Writes chart.svg, the scale chart drawn over the cell matrix of both windows.

The picture is 2000 x 1114 units but the windows stretch it to 656 x 265 px,
unevenly (x by 656/2000, y by 265/1114). Every position below is therefore
chosen in stretched window pixels and converted, so that the heading of
column j lands over matrix column j, whose centre is at x = 145 + 24 j px
inside the picture box.

Usage: python3 make_chart.py [output]   (default: chart.svg next to this file)
"""

import math
import os
import sys
from xml.sax.saxutils import escape

WIDTH, HEIGHT = 2000, 1114
SHOWN_W, SHOWN_H = 656, 265
SX = WIDTH / SHOWN_W  # units per stretched pixel across
SY = HEIGHT / SHOWN_H  # units per stretched pixel down

FONT = "Liberation Sans"

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

# Vertical extent in em of the glyphs of Liberation Sans Bold, used to centre
# a turned word (its glyph tops point left) on the column centre.
X_HEIGHT = 0.54
CAP_HEIGHT = 0.69
ASCENDER = 0.725
ASCENDERS = set("bdfhijkl|()")
DESCENT = 0.21
DESCENDERS = set("gjpqy|()")


def glyph_extent(text):
    """(top, bottom) of the ink of text, in em, above and below the baseline."""
    chars = set(text)
    if chars & ASCENDERS:
        top = ASCENDER
    elif any(c.isupper() or c.isdigit() for c in chars):
        top = CAP_HEIGHT
    else:
        top = X_HEIGHT
    return top, DESCENT if chars & DESCENDERS else 0.0


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


def turned_text(text, centre_x, first_letter_y, size):
    """Bold text reading upwards, centred across on centre_x."""
    top, descent = (size * v for v in glyph_extent(text))
    # Split the difference between centring the whole ink and centring the
    # letters' body: a descender then moves the word by a quarter of its depth.
    baseline_x = centre_x + top / 2 - descent / 4
    return (
        f'<text transform="translate({num(baseline_x)},{num(first_letter_y * SY)}) rotate(-90)"'
        f' font-family="{FONT}" font-size="{size}" font-weight="bold">{escape(text)}</text>'
    )


def flat_text(text, x_px, baseline_px, size):
    """Bold italic text on a baseline, from x_px rightwards."""
    return (
        f'<text x="{num(x_px * SX)}" y="{num(baseline_px * SY)}" font-family="{FONT}"'
        f' font-size="{size}" font-weight="bold" font-style="italic">{escape(text)}</text>'
    )


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
    out = [
        '<?xml version="1.0" encoding="UTF-8"?>',
        "<!-- Generated by make_chart.py; edit that and rerun it. -->",
        f'<svg xmlns="http://www.w3.org/2000/svg" version="1.2" baseProfile="tiny"'
        f' width="{WIDTH}" height="{HEIGHT}" viewBox="0 0 {WIDTH} {HEIGHT}"'
        f' preserveAspectRatio="none">',
        '<g fill="#000000" stroke="none">',
    ]

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
    out.append("</svg>")
    return "\n".join(out) + "\n"


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "chart.svg")
    with open(target, "w", encoding="utf-8", newline="\n") as f:
        f.write(build())


if __name__ == "__main__":
    main()
