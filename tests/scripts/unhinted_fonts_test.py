#!/usr/bin/python3
"""cmake/web/unhinted-fonts.py, which takes the hinting and glyph names out of the fonts Qt
builds into the page: on the installed Liberation Sans and DejaVu Sans, what only hinting
reads is gone, and everything an unhinted rasteriser and a shaper read is as it was: each
glyph's outline and box, the advances, the character map, the layout tables and the header;
a second run writes the same bytes."""

import os
import shutil
import subprocess
import sys
import tempfile

from fontTools.ttLib import TTFont

HERE = os.path.dirname(os.path.abspath(__file__))
SCRIPT = os.path.join(HERE, "..", "..", "cmake", "web", "unhinted-fonts.py")
FONTS = ["/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf",
         "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf",
         "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"]
# Read as they are stored: the shaper's and the kerning tables, the names, the metrics' header.
RAW_TABLES = ("GDEF", "GSUB", "GPOS", "kern", "name", "OS/2", "hhea", "cmap", "gasp")
HEAD_FIELDS = ("unitsPerEm", "xMin", "yMin", "xMax", "yMax", "created", "modified", "macStyle",
               "indexToLocFormat", "fontRevision", "flags", "lowestRecPPEM")

failures = []


def check(what, ok):
    if not ok:
        failures.append(what)


def outlines(font):
    """Each glyph, by index: its contours' points, on-curve flags and ends, and its box."""
    glyphs = font["glyf"]
    shapes = []
    for name in font.getGlyphOrder():
        glyph = glyphs[name]
        if glyph.numberOfContours == 0:
            shapes.append(())
            continue
        points, ends, flags = glyph.getCoordinates(glyphs)
        shapes.append((list(points), list(ends), [flag & 1 for flag in flags],
                       (glyph.xMin, glyph.yMin, glyph.xMax, glyph.yMax)))
    return shapes


def advances(font):
    return [font["hmtx"][name] for name in font.getGlyphOrder()]


def instructed(font):
    glyphs = font["glyf"]
    return sum(1 for name in font.getGlyphOrder()
               if getattr(glyphs[name], "program", None) is not None
               and glyphs[name].program.getBytecode())


def compare(path, work):
    label = os.path.basename(path)
    copy = os.path.join(work, label)
    shutil.copy(path, copy)
    subprocess.run([sys.executable, SCRIPT, copy], check=True)
    before, after = TTFont(path), TTFont(copy)

    check(f"{label}: the original has hinting to take out", instructed(before) > 0)
    for tag in ("fpgm", "prep", "cvt ", "hdmx", "LTSH", "VDMX"):
        check(f"{label}: {tag} is left", tag not in after)
    check(f"{label}: glyphs keep instructions", instructed(after) == 0)
    check(f"{label}: glyph names are left", after["post"].formatType == 3.0)
    check(f"{label}: smaller", os.path.getsize(copy) < os.path.getsize(path))

    check(f"{label}: another number of glyphs",
          len(before.getGlyphOrder()) == len(after.getGlyphOrder()))
    check(f"{label}: outlines or boxes changed", outlines(before) == outlines(after))
    check(f"{label}: advances or side bearings changed", advances(before) == advances(after))
    for tag in RAW_TABLES:
        if tag in before:
            check(f"{label}: {tag} changed", tag in after and
                  before.reader[tag] == after.reader[tag])
    for field in HEAD_FIELDS:
        check(f"{label}: head.{field} changed",
              getattr(before["head"], field) == getattr(after["head"], field))
    post = ("italicAngle", "underlinePosition", "underlineThickness", "isFixedPitch")
    check(f"{label}: post's metrics changed",
          all(getattr(before["post"], f) == getattr(after["post"], f) for f in post))

    again = copy + ".again.ttf"
    shutil.copy(path, again)
    subprocess.run([sys.executable, SCRIPT, again], check=True)
    with open(copy, "rb") as first, open(again, "rb") as second:
        check(f"{label}: two runs write different bytes", first.read() == second.read())


def main():
    fonts = [path for path in FONTS if os.path.exists(path)]
    if not fonts:
        sys.exit("no Liberation Sans or DejaVu Sans installed: run scripts/setup --test")
    with tempfile.TemporaryDirectory() as work:
        for path in fonts:
            compare(path, work)
    if failures:
        sys.exit("\n".join(failures))
    print(f"unhinted-fonts.py: {len(fonts)} fonts lose their hinting and names and keep their glyphs")


if __name__ == "__main__":
    main()
