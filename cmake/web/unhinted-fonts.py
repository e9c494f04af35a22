#!/usr/bin/python3
"""Rewrites TrueType fonts in place without what only hinting and glyph names need: every
glyph's instructions, the tables that only the hinting interpreter reads (fpgm, prep, cvt,
hdmx, LTSH, VDMX), and the glyph names (post format 3). Qt's FreeType draws a page's text
unhinted and shapes it by character codes, so the glyphs come out as before: the outlines,
metrics, bounding boxes, kerning and layout tables are kept as they are.

    unhinted-fonts.py FONT.ttf...
"""

import sys

from fontTools.ttLib import TTFont
from fontTools.ttLib.tables import ttProgram

HINTING_TABLES = ("fpgm", "prep", "cvt ", "hdmx", "LTSH", "VDMX")


def unhinted(path):
    font = TTFont(path, recalcBBoxes=False, recalcTimestamp=False)
    for tag in HINTING_TABLES:
        if tag in font:
            del font[tag]
    glyphs = font["glyf"]
    for name in font.getGlyphOrder():
        glyph = glyphs[name]
        if hasattr(glyph, "program"):
            glyph.program = ttProgram.Program()
            glyph.program.fromBytecode(b"")
    font["post"].formatType = 3.0
    font.save(path)


if __name__ == "__main__":
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    for path in sys.argv[1:]:
        unhinted(path)
