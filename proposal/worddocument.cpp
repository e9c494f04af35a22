// The proposal as a WordprocessingML package: the blocks of the outline as paragraphs in Word's
// heading and body styles, the instructions in a character style, the two tables of a fixed
// layout with their header rows upright and repeated, their rows shaded in the aspect colours,
// and a picture of each matrix inline before its table.
#include "worddocument.h"

#include "documentwriter.h"
#include "fonts.h"

#include <QDateTime>
#include <QFontMetricsF>
#include <QImage>

#include <algorithm>
#include <cmath>

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

const int TextWidth = twips(look::PageWidthCm) - 2 * twips(look::MarginCm);
const int ScaleColumn = (TextWidth - twips(look::FirstColumnCm)) / ScaleCount;
// The first column takes what rounding leaves, so the columns fill the text width exactly.
const int FirstColumn = TextWidth - ScaleCount * ScaleColumn;
const int CellMargin = twips(look::CellPaddingCm);

QString number(qint64 value) {
    return QString::number(value);
}

QString halfPoints(double points) {
    return number(qRound(2 * points));
}

QString hexColour(const QColor &colour) {
    return colour.name(QColor::HexRgb).mid(1).toUpper();
}

QString relationship(MatrixKind which) {
    return QStringLiteral("rId") + look::matrixName(which);
}

void value(XmlWriter &w, const char *name, QAnyStringView value) {
    w.element(name, {{"w:val", value.toString()}});
}

// An element of shading in `fill`.
void shading(XmlWriter &w, const QColor &fill) {
    w.element("w:shd", {{"w:val", QStringLiteral("clear")},
                        {"w:color", QStringLiteral("auto")},
                        {"w:fill", hexColour(fill)}});
}

// The paragraph styles: Word's built-in names where Word has the style (so its navigation pane
// and tables of contents see the headings), those of the OpenDocument text elsewhere. Each
// states what it has other than the style it is based on; a style on Normal states its space
// above and below in full.
constexpr ParagraphStyle Styles[] = {
    {look::Plain, "Normal", nullptr, look::Plain},
    {look::Body, "BodyText", "Body Text", look::Plain},
    {look::Heading1, "Heading1", "heading 1", look::Plain},
    {look::Heading2, "Heading2", "heading 2", look::Plain},
    {look::Heading3, "Heading3", "heading 3", look::Plain},
    {look::Title, "Title", nullptr, look::Plain},
    {look::ContentsTitle, "TOCHeading", "TOC Heading", look::Plain},
    {look::Legend, "Legend", nullptr, look::Body},
    {look::Spaced, "Spaced", nullptr, look::Body},
    {look::MatrixCaption, "MatrixCaption", "Matrix Caption", look::Plain},
    {look::MatrixAspect, "MatrixAspect", "Matrix Aspect", look::Plain},
    {look::MatrixSymbol, "MatrixSymbol", "Matrix Symbol", look::Plain},
    {look::MatrixScale, "MatrixScale", "Matrix Scale", look::Plain},
    {look::MatrixPicture, "MatrixPicture", "Matrix Picture", look::Plain},
};

const char *styleId(look::Kind kind) {
    return styleName(Styles, kind);
}

void paragraphStyle(XmlWriter &w, const ParagraphStyle &style) {
    const look::Paragraph &own = look::paragraph(style.kind);
    const look::Paragraph &base = look::paragraph(style.basedOn);
    const bool normal = style.kind == style.basedOn;
    std::optional<double> above = own.aboveCm, below = own.belowCm;
    if (!normal && style.basedOn == look::Plain) {
        above = above.value_or(0);
        below = below.value_or(0);
    }
    w.start("w:style");
    w.attribute("w:type", "paragraph");
    w.attribute("w:styleId", style.name);
    if (normal)
        w.attribute("w:default", "1");
    value(w, "w:name", style.shownName ? style.shownName : style.name);
    if (!normal)
        value(w, "w:basedOn", styleId(style.basedOn));
    if (own.outlineLevel)
        value(w, "w:next", styleId(look::Body));
    w.empty("w:qFormat");
    w.start("w:pPr");
    if (own.keepWithNext && !base.keepWithNext)
        w.empty("w:keepNext");
    QList<XmlWriter::Attribute> spacing;
    if (above && above != base.aboveCm)
        spacing.append({"w:before", number(twips(*above))});
    if (below && below != base.belowCm)
        spacing.append({"w:after", number(twips(*below))});
    if (own.lineSpacing != base.lineSpacing) // in 240ths of a line
        spacing += {{"w:line", number(qRound(own.lineSpacing * 240))},
                    {"w:lineRule", QStringLiteral("auto")}};
    if (!spacing.isEmpty())
        w.element("w:spacing", spacing);
    if (own.centred && !base.centred)
        value(w, "w:jc", "center");
    if (own.outlineLevel)
        value(w, "w:outlineLvl", number(own.outlineLevel - 1));
    w.end();
    const bool bold = own.bold && !base.bold, size = own.points != base.points;
    if (bold || size) {
        w.start("w:rPr");
        if (bold)
            w.empty("w:b");
        if (size)
            value(w, "w:sz", halfPoints(own.points));
        w.end();
    }
    w.end();
}

QByteArray stylesXml() {
    XmlWriter w(XmlWriter::Standalone);
    w.root("w:styles", {{"w", MainNamespace}});
    w.start("w:docDefaults");
    w.start("w:rPrDefault");
    w.start("w:rPr");
    const QString font = QLatin1String(look::Font);
    w.element("w:rFonts", {{"w:ascii", font}, {"w:hAnsi", font}, {"w:cs", font}});
    value(w, "w:sz", halfPoints(look::FontPoints));
    value(w, "w:lang", look::Language);
    w.end(2);
    w.start("w:pPrDefault");
    w.start("w:pPr");
    w.element("w:spacing", {{"w:after", QStringLiteral("0")}});
    w.end(3);

    for (const ParagraphStyle &style : Styles)
        paragraphStyle(w, style);

    // The instructions' look on a shading: a highlight would allow only Word's named colours.
    w.start("w:style");
    w.attribute("w:type", "character");
    w.attribute("w:styleId", "Instruction");
    value(w, "w:name", "Instruction");
    w.empty("w:qFormat");
    w.start("w:rPr");
    if (look::InstructionItalic)
        w.empty("w:i");
    value(w, "w:color", hexColour(look::InstructionColour));
    shading(w, look::InstructionFill);
    w.end(3);
    return w.finish();
}

// The header row stands as tall as the longest scale name needs, read upwards.
int headerRowHeight(std::span<const std::span<const Piece>> header) {
    QImage twipsDevice(1, 1, QImage::Format_RGB32); // a device that measures in twips
    twipsDevice.setDotsPerMeterX(qRound(1440 / 0.0254));
    twipsDevice.setDotsPerMeterY(qRound(1440 / 0.0254));
    const QFontMetricsF metrics(
        fonts::font(fonts::Face::Arial, look::paragraph(look::MatrixScale).points), &twipsDevice);
    double longest = 0;
    for (const std::span<const Piece> cell : header.subspan(1))
        longest = std::max(longest, metrics.horizontalAdvance(joinedText(cell)));
    // Word processors set text a little wider than Qt measures it.
    return int(std::ceil(longest * 1.1)) + 2 * CellMargin;
}

// Word's markup for the body of the document.
class WordFormat final : public DocumentFormat {
public:
    QList<PackageFile> package(const Document &document) override;

    void startParagraph(look::Kind kind) override {
        w_->start("w:p");
        w_->start("w:pPr");
        value(*w_, "w:pStyle", styleId(kind));
        w_->end();
    }
    void endParagraph() override { w_->end(); }
    void plain(QStringView words) override {
        if (!words.isEmpty())
            run(words);
    }
    void instruction(QStringView words) override { run(words, "Instruction"); }
    void data(QStringView words) override { run(words); }
    void tab() override { run(u"\t"); }
    void lineEnd() override { run(u"\n"); }

    void table(MatrixKind which, const TableRows &rows) override;
    void picture(MatrixKind which, const QString &title, const QString &description) override;

private:
    // One run of text in `style` (none for plain text): tabs and line ends become Word's own,
    // spaces are kept as typed, characters XML cannot hold are left out.
    void run(QStringView words, const char *style = nullptr);
    QByteArray documentXml(const Document &document);

    XmlWriter *w_ = nullptr; // the body's part, while it is written
    int pictures_ = 0;
};

void WordFormat::run(QStringView words, const char *style) {
    XmlWriter &w = *w_;
    w.start("w:r");
    if (style) {
        w.start("w:rPr");
        value(w, "w:rStyle", style);
        w.end();
    }
    QString text;
    const auto flush = [&] {
        if (text.isEmpty())
            return;
        w.start("w:t");
        w.attribute("xml:space", "preserve");
        w.characters(text);
        w.end();
        text.clear();
    };
    for (const QChar c : xmlText(words)) {
        if (c == u'\t' || c == u'\n') {
            flush();
            w.empty(c == u'\t' ? "w:tab" : "w:br");
        } else if (c != u'\r') {
            text += c;
        }
    }
    flush();
    w.end();
}

// Fixed columns filling the text width, the header row repeated on every page it spans with its
// scale names read upwards, every other row in its aspect's colour.
void WordFormat::table(MatrixKind which, const TableRows &rows) {
    XmlWriter &w = *w_;
    const auto width = [](std::size_t column) {
        return number(column == 0 ? FirstColumn : ScaleColumn);
    };
    w.start("w:tbl");
    w.start("w:tblPr");
    w.element("w:tblW", {{"w:w", number(TextWidth)}, {"w:type", QStringLiteral("dxa")}});
    w.start("w:tblBorders");
    for (const char *side : {"w:top", "w:left", "w:bottom", "w:right", "w:insideH", "w:insideV"})
        w.element(side, {{"w:val", QStringLiteral("single")},
                         {"w:sz", number(qRound(look::RulePoints * 8))}, // in eighths of a point
                         {"w:space", QStringLiteral("0")},
                         {"w:color", QStringLiteral("000000")}});
    w.end();
    w.element("w:tblLayout", {{"w:type", QStringLiteral("fixed")}});
    w.start("w:tblCellMar");
    for (const char *side : {"w:top", "w:left", "w:bottom", "w:right"})
        w.element(side, {{"w:w", number(CellMargin)}, {"w:type", QStringLiteral("dxa")}});
    w.end();
    value(w, "w:tblCaption", look::matrixName(which));
    w.end();
    w.start("w:tblGrid");
    for (std::size_t column = 0; column <= ScaleCount; ++column)
        w.element("w:gridCol", {{"w:w", width(column)}});
    w.end();
    for (std::size_t row = 0; row < rows.size(); ++row) {
        const bool header = row == 0;
        w.start("w:tr");
        w.start("w:trPr");
        w.empty("w:cantSplit");
        if (header) {
            w.element("w:trHeight", {{"w:val", number(headerRowHeight(rows[0]))},
                                     {"w:hRule", QStringLiteral("atLeast")}});
            w.empty("w:tblHeader");
        }
        w.end();
        for (std::size_t column = 0; column < rows[row].size(); ++column) {
            w.start("w:tc");
            w.start("w:tcPr");
            w.element("w:tcW", {{"w:w", width(column)}, {"w:type", QStringLiteral("dxa")}});
            if (const QColor fill = look::rowFill(int(row)); fill.isValid())
                shading(w, fill);
            if (header && column > 0)
                value(w, "w:textDirection", "btLr");
            value(w, "w:vAlign", header ? "bottom" : "center");
            w.end();
            cell(rows, row, column);
            w.end();
        }
        w.end();
    }
    w.end();
}

void WordFormat::picture(MatrixKind which, const QString &title, const QString &description) {
    XmlWriter &w = *w_;
    const QString id = number(++pictures_);
    const QString width = number(emu(look::PictureWidthCm));
    const QString height = number(emu(look::pictureHeightCm()));
    w.start("w:r");
    w.start("w:drawing");
    w.start("wp:inline");
    for (const char *distance : {"distT", "distB", "distL", "distR"})
        w.attribute(distance, "0");
    w.element("wp:extent", {{"cx", width}, {"cy", height}});
    w.element("wp:docPr", {{"id", id},
                           {"name", look::matrixName(which) + QStringLiteral(" matrix")},
                           {"descr", description},
                           {"title", title}});
    w.start("wp:cNvGraphicFramePr");
    w.element("a:graphicFrameLocks", {{"noChangeAspect", QStringLiteral("1")}});
    w.end();
    w.start("a:graphic");
    w.start("a:graphicData");
    w.attribute("uri", PictureNamespace);
    w.start("pic:pic");
    w.start("pic:nvPicPr");
    w.element("pic:cNvPr", {{"id", id}, {"name", look::pictureFile(which)}});
    w.empty("pic:cNvPicPr");
    w.end();
    w.start("pic:blipFill");
    w.element("a:blip", {{"r:embed", relationship(which)}});
    w.start("a:stretch");
    w.empty("a:fillRect");
    w.end(2);
    w.start("pic:spPr");
    w.start("a:xfrm");
    w.element("a:off", {{"x", QStringLiteral("0")}, {"y", QStringLiteral("0")}});
    w.element("a:ext", {{"cx", width}, {"cy", height}});
    w.end();
    w.start("a:prstGeom");
    w.attribute("prst", "rect");
    w.empty("a:avLst");
    w.end(2);
    w.end(6); // pic:pic, a:graphicData, a:graphic, wp:inline, w:drawing, w:r
}

QByteArray WordFormat::documentXml(const Document &document) {
    XmlWriter w(XmlWriter::Standalone);
    w_ = &w;
    w.root("w:document", {{"w", MainNamespace},
                          {"r", RelationshipsNamespace},
                          {"wp", "http://schemas.openxmlformats.org/drawingml/2006/"
                                 "wordprocessingDrawing"},
                          {"a", "http://schemas.openxmlformats.org/drawingml/2006/main"},
                          {"pic", PictureNamespace}});
    w.start("w:body");
    writeBody(document, *this);
    w.start("w:sectPr");
    w.element("w:pgSz", {{"w:w", number(twips(look::PageWidthCm))},
                         {"w:h", number(twips(look::PageHeightCm))}});
    const QString margin = number(twips(look::MarginCm));
    w.element("w:pgMar", {{"w:top", margin},
                          {"w:right", margin},
                          {"w:bottom", margin},
                          {"w:left", margin},
                          {"w:header", QStringLiteral("709")},
                          {"w:footer", QStringLiteral("709")},
                          {"w:gutter", QStringLiteral("0")}});
    w.end(3);
    w_ = nullptr;
    return w.finish();
}

// Word opens a document without this in the compatibility mode of its 2007 version.
QByteArray settingsXml() {
    XmlWriter w(XmlWriter::Standalone);
    w.root("w:settings", {{"w", MainNamespace}});
    w.start("w:compat");
    w.element("w:compatSetting",
              {{"w:name", QStringLiteral("compatibilityMode")},
               {"w:uri", QStringLiteral("http://schemas.microsoft.com/office/word")},
               {"w:val", QStringLiteral("15")}});
    w.end(2);
    return w.finish();
}

QByteArray corePropertiesXml(const Model &model) {
    XmlWriter w(XmlWriter::Standalone);
    w.root("cp:coreProperties",
           {{"cp", "http://schemas.openxmlformats.org/package/2006/metadata/core-properties"},
            {"dc", "http://purl.org/dc/elements/1.1/"},
            {"dcterms", "http://purl.org/dc/terms/"},
            {"xsi", "http://www.w3.org/2001/XMLSchema-instance"}});
    w.textElement("dc:title", look::documentTitle(model));
    w.textElement("dc:language", look::Language);
    const QString now = QDateTime::currentDateTimeUtc().toString(Qt::ISODate);
    for (const char *element : {"dcterms:created", "dcterms:modified"}) {
        w.start(element);
        w.attribute("xsi:type", "dcterms:W3CDTF");
        w.characters(now);
        w.end();
    }
    w.end();
    return w.finish();
}

struct Relationship {
    QString id;
    QString type; // after RelationshipType unless absolute
    QString target;
};

QByteArray relationshipsXml(std::initializer_list<Relationship> relationships) {
    XmlWriter w(XmlWriter::Standalone);
    w.root("Relationships", {{"", "http://schemas.openxmlformats.org/package/2006/relationships"}});
    for (const Relationship &relationship : relationships)
        w.element("Relationship", {{"Id", relationship.id},
                                   {"Type", relationship.type.startsWith(u"http")
                                                ? relationship.type
                                                : RelationshipType + relationship.type},
                                   {"Target", relationship.target}});
    w.end();
    return w.finish();
}

QByteArray contentTypesXml() {
    XmlWriter w(XmlWriter::Standalone);
    w.root("Types", {{"", "http://schemas.openxmlformats.org/package/2006/content-types"}});
    for (const auto &[extension, type] :
         {std::pair{"rels", "application/vnd.openxmlformats-package.relationships+xml"},
          std::pair{"xml", "application/xml"}, std::pair{"png", "image/png"}})
        w.element("Default",
                  {{"Extension", QLatin1String(extension)}, {"ContentType", QLatin1String(type)}});
    const QString word = QStringLiteral("application/vnd.openxmlformats-officedocument."
                                        "wordprocessingml.");
    for (const auto &[part, type] :
         {std::pair{QStringLiteral("/word/document.xml"),
                    word + QStringLiteral("document.main+xml")},
          std::pair{QStringLiteral("/word/styles.xml"), word + QStringLiteral("styles+xml")},
          std::pair{QStringLiteral("/word/settings.xml"), word + QStringLiteral("settings+xml")},
          std::pair{QStringLiteral("/docProps/core.xml"),
                    QStringLiteral("application/vnd.openxmlformats-package.core-properties+xml")}})
        w.element("Override", {{"PartName", part}, {"ContentType", type}});
    w.end();
    return w.finish();
}

QList<PackageFile> WordFormat::package(const Document &document) {
    const MatrixKind matrices[] = {MatrixKind::Future, MatrixKind::Impacts};
    QList<PackageFile> files{
        {QStringLiteral("[Content_Types].xml"), contentTypesXml()},
        {QStringLiteral("_rels/.rels"),
         relationshipsXml({{QStringLiteral("rId1"), QStringLiteral("officeDocument"),
                            QStringLiteral("word/document.xml")},
                           {QStringLiteral("rId2"),
                            QStringLiteral("http://schemas.openxmlformats.org/package/2006/"
                                           "relationships/metadata/core-properties"),
                            QStringLiteral("docProps/core.xml")}})},
        {QStringLiteral("word/document.xml"), documentXml(document)},
        {QStringLiteral("word/styles.xml"), stylesXml()},
        {QStringLiteral("word/settings.xml"), settingsXml()},
        {QStringLiteral("word/_rels/document.xml.rels"),
         relationshipsXml(
             {{QStringLiteral("rIdStyles"), QStringLiteral("styles"), QStringLiteral("styles.xml")},
              {QStringLiteral("rIdSettings"), QStringLiteral("settings"),
               QStringLiteral("settings.xml")},
              {relationship(matrices[0]), QStringLiteral("image"),
               QStringLiteral("media/") + look::pictureFile(matrices[0])},
              {relationship(matrices[1]), QStringLiteral("image"),
               QStringLiteral("media/") + look::pictureFile(matrices[1])}})},
        {QStringLiteral("docProps/core.xml"), corePropertiesXml(document.model)},
    };
    for (int i = 0; i < 2; ++i)
        files.append(
            {QStringLiteral("word/media/") + look::pictureFile(matrices[i]), document.pictures[i]});
    return files;
}

} // namespace

bool writeWordDocument(QIODevice &device, const Model &model, const QString &date, QString *error) {
    WordFormat format;
    return writeDocument(device, model, date, format, error);
}

} // namespace sp::proposal
