#!/usr/bin/python3
"""Where the bytes of a .wasm go: its sections, the fonts in its data, and the code by whose it is (Qt's modules,
the libraries inside Qt, the C and C++ runtime, the program's own), from the function names
a build linked with --profiling-funcs keeps. Sizes are raw bytes of code.

    wasm_bytes.py FILE.wasm
"""

import collections
import re
import sys

SECTIONS = {0: "custom", 1: "type", 2: "import", 3: "function", 4: "table", 5: "memory",
            6: "global", 7: "export", 8: "start", 9: "element", 10: "code", 11: "data",
            12: "data count"}

# The first pattern a function's (demangled-enough) name matches names its owner.
OWNERS = [
    ("the program", r"sp(::|\d)|_ZN2sp|_ZNK2sp|^main$"),
    ("HarfBuzz", r"hb_|_ZN?K?\d*hb_|OT\d*|AAT|CFF"),
    ("FreeType", r"^(FT_|ft_|tt_|TT_|cff_|ps_|t1_|T1_|af_|sfnt_|pfr_|bdf_|BDF_|pcf_|PCF_|"
                 r"gray_|FTC_|tt|cid_|t42_|pshinter|psh_|Gzip|ftc|_bdf|winfnt|cf2_|Render_|"
                 r"sdf_|bsdf_|Vertical_Sweep|Horizontal_Sweep|Draw_Sweep|Conic_To|Cubic_To|"
                 r"Line_To|Bezier_|Convert_Glyph|Decompose_Curve|New_Profile|End_Profile|"
                 r"Finalize_Profile|Insert_Y_Turn|Split_|load_truetype|TT_|Ins_|Direct_Move|"
                 r"Move_CVT|Compute_|Round_|Project|Dual_Project|Read_CVT|Write_CVT|Modify_CVT|"
                 r"cff|CFF|t1|T1|ps_|PS_|pfr|PFR|otv|gxv|ft_|FT_|afm|AFM|tt_|t42|pcf|bdf)"),
    ("libpng and zlib", r"^(png_|z_|deflate|inflate|crc32|adler32|_tr_|zcalloc|zcfree|compress|"
                        r"longest_match|fill_window|build_tree|send_tree|compress_block|"
                        r"updatewindow|inflate_fast|inflate_table)"),
    ("PCRE2 (regular expressions)", r"pcre2|_pcre2|^compile_regex|^compile_branch|^match$|"
                                    r"^internal_dfa_match|^get_branchlength|^find_fixedlength|"
                                    r"^parse_regex|^check_lookbehinds|^find_minlength"),
    ("QCryptographicHash's hashes", r"Keccak|blake2|sha1|SHA|sha224|sha256|sha384|sha512|"
                                    r"md4|md5|MD5|MD4|Sha1"),
    ("md4c (Markdown in Qt Gui)", r"^md_|^MD_|^Cb(Enter|Leave|Text)|QTextMarkdown"),
    ("double-conversion", r"double_conversion"),
    ("Qt Widgets", r"QWidget|QAbstract(Button|Scroll|Slider|Spin|ItemView)|QStyle|QFusion|"
                   r"QCommon|QWindowsStyle|QMenu|QLineEdit|QLabel|QPushButton|QLayout|"
                   r"QBoxLayout|QGridLayout|QFrame|QDialog|QMessageBox|QFileDialog|"
                   r"QApplication|QScrollBar|QComboBox|QTextEdit|QToolButton|QHeaderView|"
                   r"QTreeView|QListView|QTableView|QAbstractItemDelegate|QStyledItem|"
                   r"QItemDelegate|QCompleter|QWidgetLineControl|QWidgetTextControl|"
                   r"QDockWidget|QMainWindow|QSplitter|QTabBar|QToolBar|QGesture|"
                   r"QSizeGrip|QRubberBand|QFocusFrame|QDesktopWidget|QShortcut|QAction|"
                   r"QAccessibleWidget|QSystemTray|QGraphics|QMdi|QColumnView|QUndo|"
                   r"QInputDialog|QColorDialog|QFontDialog|QWizard|QProgress|QCalendar|"
                   r"QDateTimeEdit|QKeySequenceEdit|QPlainText|QTextBrowser|QStack|QButton"),
    ("Qt Gui", r"QPaint|QPainter|QRaster|QImage|QPixmap|QFont|QText|QGui|QWindow|QScreen|"
               r"QColor|QBrush|QPen|QPath|QTransform|QRegion|QPolygon|QIcon|QPlatform|"
               r"QOpenGL|QRhi|QShader|QGradient|QPdf|QKey|QCursor|QPalette|QDrag|QMime|"
               r"QClipboard|QInput|QMouse|QTouch|QWheel|QAccessible|QBlitter|QCosmetic|"
               r"QFreetype|QFontEngine|QTextEngine|QStandardItem|QZip|QPng|QBmp|QPpm|"
               r"QXbm|QXpm|QBackingStore|QDistanceField|QImageReader|QImageWriter|"
               r"QVector2D|QVector3D|QMatrix4x4|QQuaternion|QValidator|QIntValidator|"
               r"QRegularExpressionValidator|QEvent|QStroker|QDash|QBezier|QSpan|"
               r"qt_blend|qt_fetch|qt_memfill|blend_|comp_func|convert|qt_scale|"
               r"QWasm|qt_image|QHighDpi|QSurface|QColorSpace|QIconEngine|QVulkan"),
    ("Qt Core", r"Q[A-Z]|q[A-Z]|qt_|_ZN\d*Qt|QtPrivate|QtMetaType|QtGlobal"),
    ("C and C++ runtime", r"^(std|__|_ZNSt|_ZNKSt|_ZSt|_ZN10__cxxabiv|_ZNK10__cxxabiv|"
                          r"_ZNSt3__2|_ZNKSt3__2|dlmalloc|emscripten|stackAlloc|"
                          r"stackSave|stackRestore|mem|str|wcs|wmem|fmt_|printf|vfprintf|"
                          r"pop_arg|__stdio|fprintf|sprintf|snprintf|vsnprintf|sn_write|"
                          r"fwrite|fputs|free|malloc|realloc|calloc|abort|exit|strtod|"
                          r"scanf|qsort|sort|setlocale|locale|newlocale|freelocale|"
                          r"dlfree|sbrk|pthread|embind|_embind|operator|frexp|fmod|"
                          r"pow|exp|log|sin|cos|tan|sqrt|floor|ceil|round|atan|"
                          r"isdigit|isalpha|tolower|toupper|getenv|time|clock|gmtime|"
                          r"localtime|mktime|strftime|wctomb|mbrtowc|mbtowc|wcrtomb|"
                          r"\$)"),
]


def leb(data, at):
    result = shift = 0
    while True:
        byte = data[at]
        at += 1
        result |= (byte & 0x7F) << shift
        shift += 7
        if not byte & 0x80:
            return result, at


def read(path):
    data = open(path, "rb").read()
    if data[:4] != b"\0asm":
        sys.exit(f"{path} is not WebAssembly")
    at = 8
    sections = collections.Counter()
    imported = 0
    bodies = []
    names = {}
    memory = b""
    while at < len(data):
        kind = data[at]
        size, start = leb(data, at + 1)
        end = start + size
        label = SECTIONS.get(kind, str(kind))
        if kind == 0:
            length, name_at = leb(data, start)
            custom = data[name_at:name_at + length].decode()
            label = f"custom: {custom}"
            if custom == "name":
                names = read_names(data, name_at + length, end)
        sections[label] += end - at
        if kind == 2:
            count, p = leb(data, start)
            for _ in range(count):
                for _ in range(2):
                    length, p = leb(data, p)
                    p += length
                what = data[p]
                p += 1
                if what == 0:
                    imported += 1
                    _, p = leb(data, p)
                elif what == 1:
                    p += 1
                    flags, p = leb(data, p)
                    _, p = leb(data, p)
                    if flags & 1:
                        _, p = leb(data, p)
                elif what == 2:
                    flags, p = leb(data, p)
                    _, p = leb(data, p)
                    if flags & 1:
                        _, p = leb(data, p)
                else:
                    p += 2
        if kind == 11:
            memory = memory_image(data, start)
        if kind == 10:
            count, p = leb(data, start)
            for _ in range(count):
                length, body = leb(data, p)
                bodies.append(length + (body - p))
                p = body + length
        at = end
    return sections, imported, bodies, names, memory


def memory_image(data, at):
    """The memory the data section's segments fill (the optimizer splits them where long runs
    of zeros were)."""
    count, at = leb(data, at)
    memory = bytearray()
    for _ in range(count):
        flags, at = leb(data, at)
        offset = 0
        if flags in (0, 2):
            if flags == 2:
                _, at = leb(data, at)
            if data[at] != 0x41:  # i32.const
                raise ValueError("a data segment placed other than at a constant")
            offset, at = leb(data, at + 1)  # small positive offsets: no sign to extend
            at += 1  # end
        size, at = leb(data, at)
        if len(memory) < offset + size:
            memory.extend(bytes(offset + size - len(memory)))
        memory[offset:offset + size] = data[at:at + size]
        at += size
    return bytes(memory)


def read_names(data, at, end):
    names = {}
    while at < end:
        kind = data[at]
        size, start = leb(data, at + 1)
        if kind == 1:
            count, p = leb(data, start)
            for _ in range(count):
                index, p = leb(data, p)
                length, p = leb(data, p)
                names[index] = data[p:p + length].decode(errors="replace")
                p += length
        at = start + size
    return names


def fonts(data):
    """The TrueType fonts built into the data: (name, size) of each, found by the table
    directory a font file starts with."""
    found = []
    at = data.find(b"\0\1\0\0")
    while at >= 0:
        tables = int.from_bytes(data[at + 4:at + 6], "big")
        records = [data[at + 12 + 16 * i:at + 28 + 16 * i] for i in range(tables)]
        if 8 < tables < 40 and all(r[:4].isascii() and r[:4].strip() for r in records) and \
                b"cmap" in [r[:4] for r in records] and b"name" in [r[:4] for r in records]:
            size = max(int.from_bytes(r[8:12], "big") + int.from_bytes(r[12:16], "big")
                       for r in records)
            found.append((font_name(data, at, records), size))
            at += size - 1
        at = data.find(b"\0\1\0\0", at + 1)
    return found


def font_name(data, at, records):
    """The full name (name ID 4) from the font's name table."""
    for record in records:
        if record[:4] != b"name":
            continue
        table = at + int.from_bytes(record[8:12], "big")
        count = int.from_bytes(data[table + 2:table + 4], "big")
        strings = table + int.from_bytes(data[table + 4:table + 6], "big")
        for i in range(count):
            entry = data[table + 6 + 12 * i:table + 18 + 12 * i]
            platform, name_id = (int.from_bytes(entry[j:j + 2], "big") for j in (0, 6))
            if name_id == 4 and platform in (1, 3) and entry[8:10] < b"\1\0":
                length, offset = (int.from_bytes(entry[j:j + 2], "big") for j in (8, 10))
                text = data[strings + offset:strings + offset + length]
                return text.decode("utf-16-be" if platform == 3 else "latin-1", "replace")
    return "a font"


def main():
    sections, imported, bodies, names, memory = read(sys.argv[1])
    total = sum(sections.values())
    print(f"{sys.argv[1]}: {total / 1e6:.2f} MB")
    for label, size in sections.most_common():
        if size > total / 200:
            print(f"  section {label:24} {size / 1e6:6.2f} MB")
    built_in = fonts(memory)
    print(f"  of the data, {len(built_in)} fonts: "
          f"{sum(size for _, size in built_in) / 1e6:.2f} MB ("
          + ", ".join(f"{name} {size / 1e3:.0f} KB" for name, size in built_in) + ")")
    if not names:
        print("  (no function names: link with --profiling-funcs to see whose the code is)")
        return
    owners = collections.Counter()
    patterns = [(owner, re.compile(pattern)) for owner, pattern in OWNERS]
    for i, size in enumerate(bodies):
        name = names.get(imported + i, "")
        owner = next((o for o, p in patterns if p.search(name)), "other")
        owners[owner] += size
    code = sum(bodies)
    print(f"  code by owner ({code / 1e6:.2f} MB):")
    for owner, size in owners.most_common():
        print(f"    {owner:28} {size / 1e6:6.2f} MB  {100 * size / code:4.0f} %")


if __name__ == "__main__":
    main()
