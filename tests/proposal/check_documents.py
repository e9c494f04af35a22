#!/usr/bin/env python3
"""The exported .odt and .docx against the formats' published schemas, and the .docx as Word
reads it.

A saved study is exported with `study-proposal --export` to both formats. The .odt's parts are
validated with jing against the OpenDocument RELAX NG schemas; the .docx's XML parts with lxml
against the ECMA-376 transitional XML schemas, then checked for the rules no schema holds (a
paragraph closing every table cell, unique drawing ids, relationship targets and a content
type for every part, columns that fill the text width) and read back with python-docx: the
headings' styles against the .odt's outline levels, the two tables with their upright scale
names and aspect colours against the text file, the two pictures. (The words of every line,
as a word processor shows them, are the LibreOffice test's.)

    check_documents.py --program BIN --make-study BIN --schemas DIR
"""
import argparse
import os
import posixpath
import re
import shutil
import subprocess
import sys
import tempfile
import zipfile

from export_libreoffice import check, failures, normalise, run, study_tables, tool

try:
    import docx
    from lxml import etree
except ImportError as error:
    sys.exit(f"{error.name} is missing: run scripts/setup --test")

NS = {
    "w": "http://schemas.openxmlformats.org/wordprocessingml/2006/main",
    "wp": "http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing",
    "a": "http://schemas.openxmlformats.org/drawingml/2006/main",
    "r": "http://schemas.openxmlformats.org/officeDocument/2006/relationships",
    "pr": "http://schemas.openxmlformats.org/package/2006/relationships",
    "ct": "http://schemas.openxmlformats.org/package/2006/content-types",
    "text": "urn:oasis:names:tc:opendocument:xmlns:text:1.0",
}

# Which schema validates which part: the .odt's with jing, the .docx's with lxml (the first
# pattern that matches; a part none matches fails).
ODF_SCHEMAS = [("odf-1.3/schema.rng", ["content.xml", "styles.xml", "meta.xml"]),
               ("odf-1.3/manifest-schema.rng", ["META-INF/manifest.xml"])]
OOXML_SCHEMAS = [(r"\[Content_Types\]\.xml", "opc/opc-contentTypes.xsd"),
                 (r"(.+/)?_rels/[^/]*\.rels", "opc/opc-relationships.xsd"),
                 (r"docProps/core\.xml", "opc/opc-coreProperties.xsd"),
                 (r"word/[^/]+\.xml", "wml.xsd")]
DOCX_PARTS = ["[Content_Types].xml", "_rels/.rels", "word/document.xml", "word/styles.xml",
              "word/_rels/document.xml.rels", "word/media/future.png", "word/media/impacts.png",
              "docProps/core.xml"]
ASPECT_FILLS = ["D30000", "FF8B00", "F4CA00", "E6F717", "9AC42D", "0366C0"]
PICTURE_NAMES = ["Future matrix", "Impacts matrix"]

# opc-coreProperties.xsd imports the Dublin Core schemas by their web address, which a test
# machine cannot reach. These stand in for them as the schemas of 2003-04-02 declare what it
# refers to: every element text without children, and dates of the W3CDTF type.
DUBLIN_CORE = b"""<?xml version="1.0"?>
<xs:schema xmlns:xs="http://www.w3.org/2001/XMLSchema" targetNamespace="%s"
  xmlns:dc="http://purl.org/dc/elements/1.1/" elementFormDefault="qualified">
  <xs:import namespace="http://www.w3.org/XML/1998/namespace" schemaLocation="xml.xsd"/>
  %s
</xs:schema>"""
ELEMENTS = b"""<xs:complexType name="SimpleLiteral"><xs:complexContent mixed="true">
    <xs:restriction base="xs:anyType"><xs:sequence><xs:any minOccurs="0" maxOccurs="0"/>
    </xs:sequence><xs:attribute ref="xml:lang"/></xs:restriction></xs:complexContent>
  </xs:complexType>
  <xs:element name="any" type="dc:SimpleLiteral" abstract="true"/>""" + b"".join(
    b'<xs:element name="%s" substitutionGroup="dc:any"/>' % name for name in (
        b"title", b"creator", b"subject", b"description", b"publisher", b"contributor", b"date",
        b"type", b"format", b"identifier", b"source", b"language", b"relation", b"coverage",
        b"rights"))
TERMS = b"""<xs:import namespace="http://purl.org/dc/elements/1.1/" schemaLocation="dc.xsd"/>
  <xs:element name="created" substitutionGroup="dc:date"/>
  <xs:element name="modified" substitutionGroup="dc:date"/>
  <xs:complexType name="W3CDTF"><xs:simpleContent><xs:restriction base="dc:SimpleLiteral">
    <xs:simpleType><xs:union memberTypes="xs:gYear xs:gYearMonth xs:date xs:dateTime"/>
    </xs:simpleType><xs:attribute ref="xml:lang" use="prohibited"/></xs:restriction>
  </xs:simpleContent></xs:complexType>"""


def q(name):
    prefix, local = name.split(":")
    return f"{{{NS[prefix]}}}{local}"


class Resolver(etree.Resolver):
    def __init__(self, folder):
        super().__init__()
        self.folder = folder

    def resolve(self, url, pubid, context):
        name = url.rsplit("/", 1)[-1]
        stand_ins = {"dc.xsd": (b"http://purl.org/dc/elements/1.1/", ELEMENTS),
                     "dcterms.xsd": (b"http://purl.org/dc/terms/", TERMS)}
        if name in stand_ins:
            return self.resolve_string(DUBLIN_CORE % stand_ins[name], context,
                                       base_url=os.path.join(self.folder, "opc", name))
        if name == "xml.xsd":
            return self.resolve_filename(os.path.join(self.folder, name), context)
        return None


def schema(folder, name, cache={}):
    if name not in cache:
        parser = etree.XMLParser(no_network=True)
        parser.resolvers.add(Resolver(folder))
        cache[name] = etree.XMLSchema(etree.parse(os.path.join(folder, name), parser))
    return cache[name]


def check_odt(odt, schemas, tmp):
    """Every part valid; returns the headings as (level, text)."""
    jing = tool("jing")
    folder = os.path.join(tmp, "odt")
    with zipfile.ZipFile(odt) as package:
        package.extractall(folder)
    for rng, parts in ODF_SCHEMAS:
        # jing names each error's file and place on standard output; its standard error has
        # only warnings about optional Java libraries.
        result = subprocess.run([jing, "-i", os.path.join(schemas, rng), *parts], cwd=folder,
                                capture_output=True, timeout=120)
        check(result.returncode == 0, f".odt: {', '.join(parts)} not valid against {rng}:\n"
              f"{result.stdout.decode(errors='replace').strip()}")
    content = etree.parse(os.path.join(folder, "content.xml"))
    return [(int(h.get(q("text:outline-level"))), normalise("".join(h.itertext())))
            for h in content.iter(q("text:h"))]


def check_package(package, folder):
    names = set(package.namelist())
    for part in DOCX_PARTS:
        check(part in names, f"no part {part}")
    for part in sorted(n for n in names if n.endswith((".xml", ".rels"))):
        xsd = next((x for pattern, x in OOXML_SCHEMAS if re.fullmatch(pattern, part)), None)
        if check(xsd, f"{part}: no schema for this part"):
            validator = schema(folder, xsd)
            check(validator.validate(etree.fromstring(package.read(part))),
                  f"{part} not valid against {xsd}:\n" +
                  "\n".join(f"  line {e.line}: {e.message}" for e in validator.error_log))
    # Every relationship target present, relative to the folder of the part it belongs to.
    for rels in (n for n in names if n.endswith(".rels")):
        base = "/" + rels.rpartition("_rels/")[0]
        for relationship in etree.fromstring(package.read(rels)).iterfind("pr:Relationship", NS):
            target = posixpath.normpath(posixpath.join(base, relationship.get("Target")))
            check(target.lstrip("/") in names, f"{rels}: {relationship.get('Id')} targets "
                  f"{relationship.get('Target')}, not in the package")
    types = etree.fromstring(package.read("[Content_Types].xml"))
    defaults = {d.get("Extension").lower() for d in types.iterfind("ct:Default", NS)}
    overrides = {o.get("PartName").lower() for o in types.iterfind("ct:Override", NS)}
    for name in names - {"[Content_Types].xml"}:
        check("/" + name.lower() in overrides or name.rpartition(".")[2].lower() in defaults,
              f"[Content_Types].xml has no content type for {name}")


def check_word_rules(document):
    body = document.find("w:body", NS)
    margins = body.find("w:sectPr/w:pgMar", NS)
    width = (int(body.find("w:sectPr/w:pgSz", NS).get(q("w:w"))) -
             int(margins.get(q("w:left"))) - int(margins.get(q("w:right"))))
    check(width == 9638, f"text width {width} twips, not A4 less 2 cm margins (9638)")
    for t, table in enumerate(body.iter(q("w:tbl")), 1):
        for cell in table.iter(q("w:tc")):
            check(cell[-1].tag == q("w:p"), f"table {t}: a cell ends with {cell[-1].tag}")
        layout = table.find("w:tblPr/w:tblLayout", NS)
        check(layout is not None and layout.get(q("w:type")) == "fixed",
              f"table {t} is not of fixed layout")
        columns = [int(c.get(q("w:w"))) for c in table.iterfind("w:tblGrid/w:gridCol", NS)]
        check(len(columns) == 23 and sum(columns) == width,
              f"table {t}: {len(columns)} columns of {sum(columns)} twips in all, not 23 of "
              f"the text width {width}")
        check(table.find("w:tr/w:trPr/w:tblHeader", NS) is not None,
              f"table {t}: the header row is not repeated on a new page")
    ids = [p.get("id") for p in body.iter(q("wp:docPr"))]
    check(len(set(ids)) == len(ids), f"drawing ids {ids} not unique")


def check_read_back(path, headings, tables):
    try:
        document = docx.Document(path)
    except Exception as error:  # what python-docx cannot read, Word's model has not either
        check(False, f"python-docx cannot read it: {error!r}")
        return
    found = [(int(p.style.name[-1]), normalise(p.text)) for p in document.paragraphs
             if re.fullmatch(r"Heading [1-3]", p.style.name)]
    check(found == headings, f"headings in Word's styles {found}, the .odt's {headings}")
    check(len(document.tables) == 2, f"{len(document.tables)} tables, not 2")
    for t, (table, expected) in enumerate(zip(document.tables, tables), 1):
        rows = [row.tc_lst for row in table._tbl.tr_lst]
        if not check([len(r) for r in rows] == [23] * 7, f"table {t}: not 7 rows of 23 cells"):
            continue
        for r, (row, words) in enumerate(zip(rows, expected)):
            for c, (cell, word) in enumerate(zip(row, words)):
                text = normalise("".join(t.text or "" for t in cell.iter(q("w:t"))))
                check(text == normalise(word), f"table {t} ({r}, {c}) holds {text!r}, not {word!r}")
                direction = cell.find("w:tcPr/w:textDirection", NS)
                upright = direction is not None and direction.get(q("w:val")) == "btLr"
                check(upright == (r == 0 and c > 0), f"table {t} ({r}, {c}): upright {upright}")
                shading = cell.find("w:tcPr/w:shd", NS)
                fill = shading.get(q("w:fill")).upper() if shading is not None else None
                check(fill == (ASPECT_FILLS[r - 1] if r else None),
                      f"table {t} ({r}, {c}) shaded {fill}")
    shapes = document.inline_shapes
    check(len(shapes) == 2, f"{len(shapes)} inline pictures, not 2")
    for shape, name in zip(shapes, PICTURE_NAMES):
        check(shape._inline.docPr.get("name") == name, f"a picture is not named {name!r}")
        image = document.part.related_parts[shape._inline.find(".//a:blip", NS).get(q("r:embed"))]
        check(image.partname.startswith("/word/media/") and image.blob.startswith(b"\x89PNG"),
              f"the picture {name!r} is no PNG in word/media: {image.partname}")
    title = document.core_properties.title or ""
    check(title.startswith("Study proposal until "), f"the title is {title!r}")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--program", required=True)
    parser.add_argument("--make-study", required=True)
    parser.add_argument("--schemas", required=True)
    args = parser.parse_args()
    schemas = os.path.abspath(args.schemas)  # jing runs in the unpacked .odt's folder
    with tempfile.TemporaryDirectory() as tmp:
        study, odt, word = (os.path.join(tmp, name)
                            for name in ("StudyProposal.txt", "proposal.odt", "proposal.docx"))
        run(args.make_study, study)
        with open(study, encoding="utf-8", newline="") as f:
            tables = study_tables(f.read().split("\r\n")[:-1])
        for document in (odt, word):
            run(args.program, "--export", document, study)
        headings = check_odt(odt, schemas, tmp)
        failed = len(failures)
        with zipfile.ZipFile(word) as package:
            check_package(package, os.path.join(schemas, "ooxml-transitional"))
            check_word_rules(etree.fromstring(package.read("word/document.xml")))
        check_read_back(word, headings, tables)
        failures[failed:] = [f".docx: {failure}" for failure in failures[failed:]]
    for failure in failures:
        print("FAIL:", failure)
    print(f"{len(failures)} failures" if failures else "The .odt and the .docx are valid against "
          "their schemas, and the .docx reads back as the text file and the .odt have it.")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
