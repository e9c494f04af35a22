// The proposal as a WordprocessingML package: the blocks of the outline as paragraphs in Word's
// heading and body styles, the instructions in a character style, the two tables of a fixed
// layout with their header rows upright and repeated, their rows shaded in the aspect colours,
// and a picture of each matrix inline before its table.
#include "worddocument.h"

#include "documentparts.h"
#include "fonts.h"
#include "impactmarking.h"
#include "layout.h"

#include <QDateTime>
#include <QFontMetricsF>
#include <QImage>
#include <QXmlStreamWriter>

#include <algorithm>
#include <cmath>
#include <utility>

namespace sp::proposal {
namespace {

using namespace parts;

constexpr auto MainNamespace = "http://schemas.openxmlformats.org/wordprocessingml/2006/main";
constexpr auto RelationshipsNamespace =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
constexpr auto PictureNamespace = "http://schemas.openxmlformats.org/drawingml/2006/picture";
constexpr auto RelationshipType = "http://schemas.openxmlformats.org/officeDocument/2006/"
                                  "relationships/";

// Word measures the page and tables in twentieths of a point, pictures in English Metric Units.
int twips(double cm) {
    return qRound(cm / 2.54 * 1440);
}
qint64 emu(double cm) {
    return qRound64(cm * 360000);
}

const int TextWidth = twips(PageWidthCm) - 2 * twips(MarginCm);
const int ScaleColumn = (TextWidth - twips(FirstColumnCm)) / ScaleCount;
// The first column takes what rounding leaves, so the columns fill the text width exactly.
const int FirstColumn = TextWidth - ScaleCount * ScaleColumn;
constexpr int CellMargin = 23; // 0.04 cm, so that a symbol fits its narrow column
constexpr int ScalePoints = 8;

QString number(qint64 value) {
    return QString::number(value);
}

QString hexColour(const QColor &colour) {
    return colour.name(QColor::HexRgb).mid(1).toUpper();
}

struct Picture {
    MatrixKind which;
    const char *file;         // under word/media
    const char *relationship; // its id in the document's relationships
    const char *name;
};
constexpr Picture Pictures[2] = {
    {MatrixKind::Future, "future.png", "rIdFuture", "Future matrix"},
    {MatrixKind::Impacts, "impacts.png", "rIdImpacts", "Impacts matrix"},
};

const Picture &pictureOf(MatrixKind which) {
    return Pictures[which == MatrixKind::Future ? 0 : 1];
}

// Writes elements by their qualified names; the namespaces are declared on the root.
class Writer {
public:
    explicit Writer(QByteArray *out)
        : x_(out) {
        x_.writeStartDocument(QStringLiteral("1.0"), true);
    }
    void root(const char *name,
              std::initializer_list<std::pair<const char *, const char *>> namespaces) {
        start(name);
        for (const auto &[prefix, uri] : namespaces)
            x_.writeNamespace(QLatin1String(uri), QLatin1String(prefix));
    }
    void start(const char *name) { x_.writeStartElement(QLatin1String(name)); }
    void end() { x_.writeEndElement(); }
    void empty(const char *name) { x_.writeEmptyElement(QLatin1String(name)); }
    void attribute(const char *name, const QString &value) {
        x_.writeAttribute(QLatin1String(name), value);
    }
    void attribute(const char *name, const char *value) {
        x_.writeAttribute(QLatin1String(name), QLatin1String(value));
    }
    // An element with attributes and nothing inside.
    void property(const char *name,
                  std::initializer_list<std::pair<const char *, QString>> attributes) {
        empty(name);
        for (const auto &[key, value] : attributes)
            attribute(key, value);
    }
    void value(const char *name, const QString &value) { property(name, {{"w:val", value}}); }
    void characters(const QString &text) { x_.writeCharacters(text); }
    void finish() { x_.writeEndDocument(); }

    // One run of text in `style` (none for plain text): tabs and line ends become Word's own,
    // spaces are kept as typed, characters XML cannot hold are left out.
    void run(QStringView words, const char *style = nullptr) {
        start("w:r");
        if (style) {
            start("w:rPr");
            value("w:rStyle", QLatin1String(style));
            end();
        }
        QString text;
        const auto flush = [&] {
            if (text.isEmpty())
                return;
            start("w:t");
            attribute("xml:space", "preserve");
            characters(text);
            end();
            text.clear();
        };
        for (const QChar c : xmlText(words)) {
            if (c == u'\r')
                continue;
            if (c == u'\t' || c == u'\n') {
                flush();
                empty(c == u'\t' ? "w:tab" : "w:br");
            } else {
                text += c;
            }
        }
        flush();
        end();
    }

    void pieces(std::span<const Piece> pieces) {
        for (const Piece &piece : pieces) {
            switch (piece.kind) {
            case Piece::Fixed:
                splitInstructions(
                    piece.text,
                    [this](QStringView plain) {
                        if (!plain.isEmpty())
                            run(plain);
                    },
                    [this](QStringView instruction) { run(instruction, "Instruction"); });
                break;
            case Piece::Data:
                run(piece.text);
                break;
            case Piece::Tab:
                run(u"\t");
                break;
            case Piece::LineEnd:
                run(u"\n");
                break;
            }
        }
    }

    // A paragraph in `style` holding `pieces`.
    void paragraph(const QString &style, std::span<const Piece> pieces) {
        start("w:p");
        start("w:pPr");
        value("w:pStyle", style);
        end();
        this->pieces(pieces);
        end();
    }

private:
    QXmlStreamWriter x_;
};

// The styles: Word's built-in names where Word has the style (so its navigation pane and
// tables of contents see the headings), those of the OpenDocument text elsewhere.
struct Style {
    const char *id;
    const char *name;
    const char *basedOn;
    // Paragraph properties, in the schema's order.
    bool keepNext = false;
    int spaceBefore = -1; // twips, -1 for none
    int spaceAfter = -1;
    int line = -1; // in 240ths of a line
    const char *justification = nullptr;
    int outlineLevel = -1; // 0 for level 1
    // Run properties.
    bool bold = false;
    int halfPoints = 0;
};

// Sizes as the OpenDocument text has them; the cells' paragraphs have no space around them.
const Style ParagraphStyles[] = {
    {.id = "Normal", .name = "Normal", .basedOn = nullptr},
    {.id = "BodyText",
     .name = "Body Text",
     .basedOn = "Normal",
     .spaceBefore = 0,
     .spaceAfter = twips(0.14),
     .line = 276},
    {.id = "Heading1",
     .name = "heading 1",
     .basedOn = "Normal",
     .keepNext = true,
     .spaceBefore = twips(0.8),
     .spaceAfter = twips(0.21),
     .outlineLevel = 0,
     .bold = true,
     .halfPoints = 32},
    {.id = "Heading2",
     .name = "heading 2",
     .basedOn = "Normal",
     .keepNext = true,
     .spaceBefore = twips(0.6),
     .spaceAfter = twips(0.21),
     .outlineLevel = 1,
     .bold = true,
     .halfPoints = 26},
    {.id = "Heading3",
     .name = "heading 3",
     .basedOn = "Normal",
     .keepNext = true,
     .spaceBefore = twips(0.42),
     .spaceAfter = twips(0.21),
     .outlineLevel = 2,
     .bold = true,
     .halfPoints = 22},
    {.id = "Title",
     .name = "Title",
     .basedOn = "Normal",
     .keepNext = true,
     .spaceBefore = twips(0.42),
     .spaceAfter = twips(0.4),
     .justification = "center",
     .bold = true,
     .halfPoints = 36},
    {.id = "TOCHeading",
     .name = "TOC Heading",
     .basedOn = "Normal",
     .keepNext = true,
     .spaceBefore = twips(0.42),
     .spaceAfter = twips(0.21),
     .bold = true,
     .halfPoints = 32},
    {.id = "Legend",
     .name = "Legend",
     .basedOn = "BodyText",
     .spaceAfter = twips(0.05),
     .halfPoints = 19},
    {.id = "Spaced", .name = "Spaced", .basedOn = "BodyText", .spaceBefore = twips(0.3)},
    {.id = "MatrixCaption",
     .name = "Matrix Caption",
     .basedOn = "Normal",
     .spaceBefore = 0,
     .spaceAfter = 0,
     .bold = true,
     .halfPoints = 18},
    {.id = "MatrixAspect",
     .name = "Matrix Aspect",
     .basedOn = "Normal",
     .spaceBefore = 0,
     .spaceAfter = 0,
     .halfPoints = 18},
    {.id = "MatrixSymbol",
     .name = "Matrix Symbol",
     .basedOn = "Normal",
     .spaceBefore = 0,
     .spaceAfter = 0,
     .justification = "center",
     .bold = true,
     .halfPoints = 22},
    {.id = "MatrixScale",
     .name = "Matrix Scale",
     .basedOn = "Normal",
     .spaceBefore = 0,
     .spaceAfter = 0,
     .halfPoints = 2 * ScalePoints},
    {.id = "MatrixPicture",
     .name = "Matrix Picture",
     .basedOn = "Normal",
     .keepNext = true,
     .spaceBefore = twips(0.2),
     .spaceAfter = twips(0.2),
     .justification = "center"},
};

void paragraphStyle(Writer &w, const Style &style) {
    w.start("w:style");
    w.attribute("w:type", "paragraph");
    w.attribute("w:styleId", style.id);
    if (style.basedOn == nullptr)
        w.attribute("w:default", "1");
    w.value("w:name", QLatin1String(style.name));
    if (style.basedOn)
        w.value("w:basedOn", QLatin1String(style.basedOn));
    if (style.outlineLevel >= 0)
        w.value("w:next", QStringLiteral("BodyText"));
    w.empty("w:qFormat");
    w.start("w:pPr");
    if (style.keepNext)
        w.empty("w:keepNext");
    if (style.spaceBefore >= 0 || style.spaceAfter >= 0 || style.line >= 0) {
        w.empty("w:spacing");
        if (style.spaceBefore >= 0)
            w.attribute("w:before", number(style.spaceBefore));
        if (style.spaceAfter >= 0)
            w.attribute("w:after", number(style.spaceAfter));
        if (style.line >= 0) {
            w.attribute("w:line", number(style.line));
            w.attribute("w:lineRule", "auto");
        }
    }
    if (style.justification)
        w.value("w:jc", QLatin1String(style.justification));
    if (style.outlineLevel >= 0)
        w.value("w:outlineLvl", number(style.outlineLevel));
    w.end();
    if (style.bold || style.halfPoints) {
        w.start("w:rPr");
        if (style.bold)
            w.empty("w:b");
        if (style.halfPoints)
            w.value("w:sz", number(style.halfPoints));
        w.end();
    }
    w.end();
}

QByteArray stylesXml() {
    QByteArray out;
    Writer w(&out);
    w.root("w:styles", {{"w", MainNamespace}});
    w.start("w:docDefaults");
    w.start("w:rPrDefault");
    w.start("w:rPr");
    // Arial where it is installed; elsewhere word processors take its metric twin.
    w.property("w:rFonts", {{"w:ascii", QStringLiteral("Arial")},
                            {"w:hAnsi", QStringLiteral("Arial")},
                            {"w:cs", QStringLiteral("Arial")}});
    w.value("w:sz", QStringLiteral("21"));
    w.value("w:lang", QStringLiteral("en-GB"));
    w.end();
    w.end();
    w.start("w:pPrDefault");
    w.start("w:pPr");
    w.property("w:spacing", {{"w:after", QStringLiteral("0")}});
    w.end();
    w.end();
    w.end();

    for (const Style &style : ParagraphStyles)
        paragraphStyle(w, style);

    // Blue italics on a pale shading: what is still to be done stands out, also in print. (A
    // highlight would allow only Word's named colours.)
    w.start("w:style");
    w.attribute("w:type", "character");
    w.attribute("w:styleId", "Instruction");
    w.value("w:name", QStringLiteral("Instruction"));
    w.empty("w:qFormat");
    w.start("w:rPr");
    w.empty("w:i");
    w.value("w:color", QStringLiteral("0000C0"));
    w.property("w:shd", {{"w:val", QStringLiteral("clear")},
                         {"w:color", QStringLiteral("auto")},
                         {"w:fill", QStringLiteral("FFF3B0")}});
    w.end();
    w.end();

    w.end();
    w.finish();
    return out;
}

const char *paragraphStyleName(const Block &block) {
    switch (block.kind) {
    case Block::Title:
        return "Title";
    case Block::ContentsTitle:
        return "TOCHeading";
    case Block::Legend:
        return "Legend";
    default:
        return "BodyText";
    }
}

// The header row stands as tall as the longest scale name needs, read upwards.
int headerRowHeight(std::span<const std::span<const Piece>> header) {
    QImage twipsDevice(1, 1, QImage::Format_RGB32); // a device that measures in twips
    twipsDevice.setDotsPerMeterX(qRound(1440 / 0.0254));
    twipsDevice.setDotsPerMeterY(qRound(1440 / 0.0254));
    const QFontMetricsF metrics(fonts::font(fonts::Face::Arial, ScalePoints), &twipsDevice);
    double longest = 0;
    for (const std::span<const Piece> cell : header.subspan(1))
        longest = std::max(longest, metrics.horizontalAdvance(joinedText(cell)));
    // Word processors set text a little wider than Qt measures it.
    return int(std::ceil(longest * 1.1)) + 2 * CellMargin;
}

void cellBorders(Writer &w, const char *element) {
    w.start(element);
    for (const char *side : {"w:top", "w:left", "w:bottom", "w:right", "w:insideH", "w:insideV"})
        w.property(side, {{"w:val", QStringLiteral("single")},
                          {"w:sz", QStringLiteral("4")},
                          {"w:space", QStringLiteral("0")},
                          {"w:color", QStringLiteral("000000")}});
    w.end();
}

void writeTable(Writer &w, const Outline &outline, const Block &block) {
    const TableRows rows = tableRows(outline.piecesOf(block));
    w.start("w:tbl");
    w.start("w:tblPr");
    w.property("w:tblW", {{"w:w", number(TextWidth)}, {"w:type", QStringLiteral("dxa")}});
    cellBorders(w, "w:tblBorders");
    w.property("w:tblLayout", {{"w:type", QStringLiteral("fixed")}});
    w.start("w:tblCellMar");
    for (const char *side : {"w:top", "w:left", "w:bottom", "w:right"})
        w.property(side, {{"w:w", number(CellMargin)}, {"w:type", QStringLiteral("dxa")}});
    w.end();
    w.value("w:tblCaption", block.matrix == MatrixKind::Future ? QStringLiteral("Future")
                                                               : QStringLiteral("Impacts"));
    w.end();
    w.start("w:tblGrid");
    for (int column = 0; column <= ScaleCount; ++column)
        w.property("w:gridCol", {{"w:w", number(column == 0 ? FirstColumn : ScaleColumn)}});
    w.end();

    for (std::size_t row = 0; row < rows.size(); ++row) {
        const bool header = row == 0;
        w.start("w:tr");
        w.start("w:trPr");
        w.empty("w:cantSplit");
        if (header) {
            w.property("w:trHeight", {{"w:val", number(headerRowHeight(rows[0]))},
                                      {"w:hRule", QStringLiteral("atLeast")}});
            w.empty("w:tblHeader"); // repeated at the top of a new page
        }
        w.end();
        for (std::size_t column = 0; column < rows[row].size(); ++column) {
            w.start("w:tc");
            w.start("w:tcPr");
            w.property("w:tcW", {{"w:w", number(column == 0 ? FirstColumn : ScaleColumn)},
                                 {"w:type", QStringLiteral("dxa")}});
            if (!header)
                w.property("w:shd", {{"w:val", QStringLiteral("clear")},
                                     {"w:color", QStringLiteral("auto")},
                                     {"w:fill", hexColour(layout::aspectColour(int(row)))}});
            if (header && column > 0)
                w.value("w:textDirection", QStringLiteral("btLr"));
            w.value("w:vAlign", header ? QStringLiteral("bottom") : QStringLiteral("center"));
            w.end();
            const char *style = header ? (column == 0 ? "MatrixCaption" : "MatrixScale")
                                       : (column == 0 ? "MatrixAspect" : "MatrixSymbol");
            w.paragraph(QLatin1String(style), rows[row][column]);
            w.end();
        }
        w.end();
    }
    w.end();
}

void writePicture(Writer &w, const Model &model, MatrixKind which, int id) {
    const Picture &picture = pictureOf(which);
    const bool future = which == MatrixKind::Future;
    const QString title = xmlText(future ? QStringLiteral("Probable future until ") + model.horizon
                                         : QStringLiteral("Object and impact"));
    const QString description =
        future ? QStringLiteral("The trends marked for every aspect and scale level")
               : QStringLiteral("The frame, the grain and the impacts marked for every aspect "
                                "and scale level");
    const QString width = number(emu(PictureWidthCm));
    const QString height = number(emu(pictureHeightCm()));

    w.start("w:p");
    w.start("w:pPr");
    w.value("w:pStyle", QStringLiteral("MatrixPicture"));
    w.end();
    w.start("w:r");
    w.start("w:drawing");
    w.start("wp:inline");
    for (const char *distance : {"distT", "distB", "distL", "distR"})
        w.attribute(distance, "0");
    w.property("wp:extent", {{"cx", width}, {"cy", height}});
    w.property("wp:docPr", {{"id", number(id)},
                            {"name", QLatin1String(picture.name)},
                            {"descr", description},
                            {"title", title}});
    w.start("wp:cNvGraphicFramePr");
    w.property("a:graphicFrameLocks", {{"noChangeAspect", QStringLiteral("1")}});
    w.end();
    w.start("a:graphic");
    w.start("a:graphicData");
    w.attribute("uri", PictureNamespace);
    w.start("pic:pic");
    w.start("pic:nvPicPr");
    w.property("pic:cNvPr", {{"id", number(id)}, {"name", QLatin1String(picture.file)}});
    w.empty("pic:cNvPicPr");
    w.end();
    w.start("pic:blipFill");
    w.property("a:blip", {{"r:embed", QLatin1String(picture.relationship)}});
    w.start("a:stretch");
    w.empty("a:fillRect");
    w.end();
    w.end();
    w.start("pic:spPr");
    w.start("a:xfrm");
    w.property("a:off", {{"x", QStringLiteral("0")}, {"y", QStringLiteral("0")}});
    w.property("a:ext", {{"cx", width}, {"cy", height}});
    w.end();
    w.start("a:prstGeom");
    w.attribute("prst", "rect");
    w.empty("a:avLst");
    w.end();
    w.end();
    w.end(); // pic:pic
    w.end();
    w.end();
    w.end(); // wp:inline
    w.end();
    w.end();
    w.end();
}

QByteArray documentXml(const Outline &outline, const Model &model) {
    QByteArray out;
    Writer w(&out);
    w.root("w:document", {{"w", MainNamespace},
                          {"r", RelationshipsNamespace},
                          {"wp", "http://schemas.openxmlformats.org/drawingml/2006/"
                                 "wordprocessingDrawing"},
                          {"a", "http://schemas.openxmlformats.org/drawingml/2006/main"},
                          {"pic", PictureNamespace}});
    w.start("w:body");
    int pictures = 0;
    forEachShownBlock(outline, [&](const Block &block, bool spaced) {
        switch (block.kind) {
        case Block::Heading:
            w.paragraph(QStringLiteral("Heading%1").arg(std::clamp(int(block.level), 1, 3)),
                        outline.piecesOf(block));
            break;
        case Block::Table:
            writeTable(w, outline, block);
            break;
        case Block::Picture:
            writePicture(w, model, block.matrix, ++pictures);
            break;
        default:
            w.paragraph(spaced ? QStringLiteral("Spaced")
                               : QLatin1String(paragraphStyleName(block)),
                        outline.piecesOf(block));
        }
    });
    w.start("w:sectPr");
    w.property("w:pgSz",
               {{"w:w", number(twips(PageWidthCm))}, {"w:h", number(twips(PageHeightCm))}});
    const QString margin = number(twips(MarginCm));
    w.property("w:pgMar", {{"w:top", margin},
                           {"w:right", margin},
                           {"w:bottom", margin},
                           {"w:left", margin},
                           {"w:header", QStringLiteral("709")},
                           {"w:footer", QStringLiteral("709")},
                           {"w:gutter", QStringLiteral("0")}});
    w.end();
    w.end();
    w.end();
    w.finish();
    return out;
}

// Word opens a document without this in the compatibility mode of its 2007 version.
QByteArray settingsXml() {
    QByteArray out;
    Writer w(&out);
    w.root("w:settings", {{"w", MainNamespace}});
    w.start("w:compat");
    w.property("w:compatSetting",
               {{"w:name", QStringLiteral("compatibilityMode")},
                {"w:uri", QStringLiteral("http://schemas.microsoft.com/office/word")},
                {"w:val", QStringLiteral("15")}});
    w.end();
    w.end();
    w.finish();
    return out;
}

QByteArray corePropertiesXml(const Model &model) {
    QByteArray out;
    Writer w(&out);
    w.root("cp:coreProperties",
           {{"cp", "http://schemas.openxmlformats.org/package/2006/metadata/core-properties"},
            {"dc", "http://purl.org/dc/elements/1.1/"},
            {"dcterms", "http://purl.org/dc/terms/"},
            {"xsi", "http://www.w3.org/2001/XMLSchema-instance"}});
    w.start("dc:title");
    w.characters(xmlText(QStringLiteral("Study proposal until ") + model.horizon));
    w.end();
    w.start("dc:language");
    w.characters(QStringLiteral("en-GB"));
    w.end();
    const QString now = QDateTime::currentDateTimeUtc().toString(Qt::ISODate);
    for (const char *element : {"dcterms:created", "dcterms:modified"}) {
        w.start(element);
        w.attribute("xsi:type", "dcterms:W3CDTF");
        w.characters(now);
        w.end();
    }
    w.end();
    w.finish();
    return out;
}

struct Relationship {
    QString id;
    QString type; // after RelationshipType unless absolute
    QString target;
};

QByteArray relationshipsXml(std::initializer_list<Relationship> relationships) {
    QByteArray out;
    QXmlStreamWriter x(&out);
    x.writeStartDocument(QStringLiteral("1.0"), true);
    x.writeDefaultNamespace(
        QStringLiteral("http://schemas.openxmlformats.org/package/2006/relationships"));
    x.writeStartElement(QStringLiteral("Relationships"));
    for (const Relationship &relationship : relationships) {
        x.writeEmptyElement(QStringLiteral("Relationship"));
        x.writeAttribute(QStringLiteral("Id"), relationship.id);
        x.writeAttribute(QStringLiteral("Type"), relationship.type.startsWith(u"http")
                                                     ? relationship.type
                                                     : RelationshipType + relationship.type);
        x.writeAttribute(QStringLiteral("Target"), relationship.target);
    }
    x.writeEndElement();
    x.writeEndDocument();
    return out;
}

QByteArray contentTypesXml() {
    QByteArray out;
    QXmlStreamWriter x(&out);
    x.writeStartDocument(QStringLiteral("1.0"), true);
    x.writeDefaultNamespace(
        QStringLiteral("http://schemas.openxmlformats.org/package/2006/content-types"));
    x.writeStartElement(QStringLiteral("Types"));
    for (const auto &[extension, type] :
         {std::pair{"rels", "application/vnd.openxmlformats-package.relationships+xml"},
          std::pair{"xml", "application/xml"}, std::pair{"png", "image/png"}}) {
        x.writeEmptyElement(QStringLiteral("Default"));
        x.writeAttribute(QStringLiteral("Extension"), QLatin1String(extension));
        x.writeAttribute(QStringLiteral("ContentType"), QLatin1String(type));
    }
    const QString word = QStringLiteral("application/vnd.openxmlformats-officedocument."
                                        "wordprocessingml.");
    for (const auto &[part, type] :
         {std::pair{QStringLiteral("/word/document.xml"),
                    word + QStringLiteral("document.main+xml")},
          std::pair{QStringLiteral("/word/styles.xml"), word + QStringLiteral("styles+xml")},
          std::pair{QStringLiteral("/word/settings.xml"), word + QStringLiteral("settings+xml")},
          std::pair{
              QStringLiteral("/docProps/core.xml"),
              QStringLiteral("application/vnd.openxmlformats-package.core-properties+xml")}}) {
        x.writeEmptyElement(QStringLiteral("Override"));
        x.writeAttribute(QStringLiteral("PartName"), part);
        x.writeAttribute(QStringLiteral("ContentType"), type);
    }
    x.writeEndElement();
    x.writeEndDocument();
    return out;
}

} // namespace

bool writeWordDocument(QIODevice &device, const Model &model, const QString &date, QString *error) {
    const QString resolution = impacts::resolutionStatement(model); // the outline views it
    const Outline outline = proposalOutline(model, resolution, date);
    QList<PackageFile> files{
        {QStringLiteral("[Content_Types].xml"), contentTypesXml()},
        {QStringLiteral("_rels/.rels"),
         relationshipsXml({{QStringLiteral("rId1"), QStringLiteral("officeDocument"),
                            QStringLiteral("word/document.xml")},
                           {QStringLiteral("rId2"),
                            QStringLiteral("http://schemas.openxmlformats.org/package/2006/"
                                           "relationships/metadata/core-properties"),
                            QStringLiteral("docProps/core.xml")}})},
        {QStringLiteral("word/document.xml"), documentXml(outline, model)},
        {QStringLiteral("word/styles.xml"), stylesXml()},
        {QStringLiteral("word/settings.xml"), settingsXml()},
        {QStringLiteral("word/_rels/document.xml.rels"),
         relationshipsXml(
             {{QStringLiteral("rIdStyles"), QStringLiteral("styles"), QStringLiteral("styles.xml")},
              {QStringLiteral("rIdSettings"), QStringLiteral("settings"),
               QStringLiteral("settings.xml")},
              {QLatin1String(Pictures[0].relationship), QStringLiteral("image"),
               QStringLiteral("media/") + QLatin1String(Pictures[0].file)},
              {QLatin1String(Pictures[1].relationship), QStringLiteral("image"),
               QStringLiteral("media/") + QLatin1String(Pictures[1].file)}})},
        {QStringLiteral("docProps/core.xml"), corePropertiesXml(model)},
    };
    const std::array<QByteArray, 2> pictures = matrixPngs(model);
    for (int i = 0; i < 2; ++i)
        files.append(
            {QStringLiteral("word/media/") + QLatin1String(Pictures[i].file), pictures[i]});
    return writePackage(device, files, false, error);
}

} // namespace sp::proposal
