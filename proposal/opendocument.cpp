// The proposal as an OpenDocument text: the blocks of the outline as headings, paragraphs with
// the instructions in a style of their own, the two tables with their rows in the aspect colours
// and the scale names upright, and a picture of each matrix, packaged with Qt's zip writer.
#include "opendocument.h"

#include "documentwriter.h"

#include <QCoreApplication>
#include <QDateTime>

#include <cmath>

namespace sp::proposal {
namespace {

using namespace parts;

constexpr auto MimeType = "application/vnd.oasis.opendocument.text";
constexpr auto OdfVersion = "1.3";

// A length as the look gives it, and one worked out, to the thousandth.
QString cm(double value) {
    return QString::number(value) + QStringLiteral("cm");
}
QString measuredCm(double value) {
    return QString::number(value, 'f', 3) + QStringLiteral("cm");
}

QString pictureName(MatrixKind which) {
    return QStringLiteral("Pictures/") + look::pictureFile(which);
}

// Every part declares all namespaces on its root.
void root(XmlWriter &w, const char *name) {
    w.root(name, {
                     {"office", "urn:oasis:names:tc:opendocument:xmlns:office:1.0"},
                     {"style", "urn:oasis:names:tc:opendocument:xmlns:style:1.0"},
                     {"text", "urn:oasis:names:tc:opendocument:xmlns:text:1.0"},
                     {"table", "urn:oasis:names:tc:opendocument:xmlns:table:1.0"},
                     {"draw", "urn:oasis:names:tc:opendocument:xmlns:drawing:1.0"},
                     {"fo", "urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0"},
                     {"svg", "urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0"},
                     {"xlink", "http://www.w3.org/1999/xlink"},
                     {"dc", "http://purl.org/dc/elements/1.1/"},
                     {"meta", "urn:oasis:names:tc:opendocument:xmlns:meta:1.0"},
                 });
    w.attribute("office:version", OdfVersion);
}

void fontFaces(XmlWriter &w) {
    w.start("office:font-face-decls");
    w.element("style:font-face", {{"style:name", QLatin1String(look::Font)},
                                  {"svg:font-family", QLatin1String(look::Font)},
                                  {"style:font-family-generic", QStringLiteral("swiss")},
                                  {"style:font-pitch", QStringLiteral("variable")}});
    w.end();
}

// A style with one element of properties.
void simpleStyle(XmlWriter &w, QAnyStringView name, const char *family, const char *properties,
                 const QList<XmlWriter::Attribute> &values) {
    w.start("style:style");
    w.attribute("style:name", name);
    w.attribute("style:family", family);
    w.element(properties, values);
    w.end();
}

// The paragraph styles, each stating what it has other than its parent: those every document
// of this kind has (in styles.xml), then this one's own (in content.xml).
constexpr ParagraphStyle CommonStyles[] = {
    {look::Plain, "Standard", nullptr, look::Plain},
    {look::Body, "Text_20_body", "Text body", look::Plain},
    {look::Heading, "Heading", nullptr, look::Plain},
    {look::Heading1, "Heading_20_1", "Heading 1", look::Heading},
    {look::Heading2, "Heading_20_2", "Heading 2", look::Heading},
    {look::Heading3, "Heading_20_3", "Heading 3", look::Heading},
    {look::Title, "Title", nullptr, look::Heading},
    {look::ContentsTitle, "Contents_20_Heading", "Contents Heading", look::Heading},
    {look::CellText, "Table_20_Contents", "Table Contents", look::Plain},
    {look::Legend, "Legend", nullptr, look::Body},
};
constexpr ParagraphStyle OwnStyles[] = {
    {look::MatrixCaption, "Matrix_Caption", nullptr, look::CellText},
    {look::MatrixAspect, "Matrix_Aspect", nullptr, look::CellText},
    {look::MatrixSymbol, "Matrix_Symbol", nullptr, look::CellText},
    {look::MatrixScale, "Matrix_Scale", nullptr, look::CellText},
    {look::Spaced, "Spaced", nullptr, look::Body},
    {look::MatrixPicture, "Matrix_Picture", nullptr, look::Plain},
};

const char *styleNameOf(look::Kind kind) {
    const char *common = styleName(CommonStyles, kind);
    return common ? common : styleName(OwnStyles, kind);
}

void paragraphStyle(XmlWriter &w, const ParagraphStyle &style) {
    const look::Paragraph &own = look::paragraph(style.kind);
    const look::Paragraph &base = look::paragraph(style.basedOn);
    w.start("style:style");
    w.attribute("style:name", style.name);
    if (style.shownName)
        w.attribute("style:display-name", style.shownName);
    w.attribute("style:family", "paragraph");
    if (style.basedOn != style.kind)
        w.attribute("style:parent-style-name", styleNameOf(style.basedOn));
    if (own.outlineLevel) {
        w.attribute("style:default-outline-level", QString::number(own.outlineLevel));
        w.attribute("style:next-style-name", styleNameOf(look::Body));
    }
    QList<XmlWriter::Attribute> paragraph, text;
    if (own.centred && !base.centred)
        paragraph.append({"fo:text-align", QStringLiteral("center")});
    if (own.aboveCm && own.aboveCm != base.aboveCm)
        paragraph.append({"fo:margin-top", cm(*own.aboveCm)});
    if (own.belowCm && own.belowCm != base.belowCm)
        paragraph.append({"fo:margin-bottom", cm(*own.belowCm)});
    if (own.lineSpacing != base.lineSpacing)
        paragraph.append({"fo:line-height", QString::number(qRound(own.lineSpacing * 100)) + u'%'});
    // The picture is not kept with its table here, unlike in the Word document.
    if (own.keepWithNext && !base.keepWithNext && style.kind != look::MatrixPicture)
        paragraph.append({"fo:keep-with-next", QStringLiteral("always")});
    if (own.points != base.points)
        text.append({"fo:font-size", QString::number(own.points) + QStringLiteral("pt")});
    if (own.bold && !base.bold)
        text.append({"fo:font-weight", QStringLiteral("bold")});
    // The scale names read upwards, so the header row grows to the longest of them.
    if (style.kind == look::MatrixScale)
        text += {{"style:text-rotation-angle", QStringLiteral("90")},
                 {"style:text-rotation-scale", QStringLiteral("fixed")}};
    if (!paragraph.isEmpty())
        w.element("style:paragraph-properties", paragraph);
    if (!text.isEmpty())
        w.element("style:text-properties", text);
    w.end();
}

QByteArray stylesXml() {
    XmlWriter w;
    root(w, "office:document-styles");
    fontFaces(w);
    w.start("office:styles");

    w.start("style:default-style");
    w.attribute("style:family", "paragraph");
    w.element("style:paragraph-properties", {{"style:writing-mode", QStringLiteral("page")}});
    const QString language = QLatin1String(look::Language);
    w.element("style:text-properties",
              {{"style:font-name", QLatin1String(look::Font)},
               {"fo:font-size", QString::number(look::FontPoints) + QStringLiteral("pt")},
               {"fo:language", language.section(u'-', 0, 0)},
               {"fo:country", language.section(u'-', 1)}});
    w.end();

    for (const ParagraphStyle &style : CommonStyles)
        paragraphStyle(w, style);
    QList<XmlWriter::Attribute> instruction{{"fo:color", QColor(look::InstructionColour).name()}};
    if (look::InstructionItalic)
        instruction.append({"fo:font-style", QStringLiteral("italic")});
    instruction.append({"fo:background-color", QColor(look::InstructionFill).name()});
    simpleStyle(w, "Instruction", "text", "style:text-properties", instruction);

    // Headings carry their numbers in their words: no numbering of their own.
    w.start("text:outline-style");
    w.attribute("style:name", "Outline");
    for (int level = 1; level <= 10; ++level)
        w.element("text:outline-level-style",
                  {{"text:level", QString::number(level)}, {"style:num-format", QString()}});
    w.end();
    w.end(); // office:styles

    w.start("office:automatic-styles");
    w.start("style:page-layout");
    w.attribute("style:name", "A4");
    const QString margin = cm(look::MarginCm);
    w.element("style:page-layout-properties",
              {{"fo:page-width", cm(look::PageWidthCm)},
               {"fo:page-height", cm(look::PageHeightCm)},
               {"style:print-orientation", QStringLiteral("portrait")},
               {"fo:margin-top", margin},
               {"fo:margin-bottom", margin},
               {"fo:margin-left", margin},
               {"fo:margin-right", margin}});
    w.end();
    w.end();

    w.start("office:master-styles");
    w.element("style:master-page", {{"style:name", QStringLiteral("Standard")},
                                    {"style:page-layout-name", QStringLiteral("A4")}});
    w.end();
    return w.finish();
}

void tableStyles(XmlWriter &w) {
    simpleStyle(w, "Matrix", "table", "style:table-properties",
                {{"style:width", measuredCm(look::TextWidthCm)},
                 {"table:align", QStringLiteral("margins")},
                 {"fo:margin-top", cm(look::TableSpaceCm)},
                 {"fo:margin-bottom", cm(look::TableSpaceCm)},
                 {"style:may-break-between-rows", QStringLiteral("false")}});

    // Rounded down, so that the columns never add up to more than the table.
    const double scaleColumn =
        std::floor((look::TextWidthCm - look::FirstColumnCm) / int(ScaleCount) * 1000) / 1000;
    for (const auto &[name, width] :
         {std::pair{"Matrix.A", look::FirstColumnCm}, std::pair{"Matrix.B", scaleColumn}})
        simpleStyle(w, name, "table-column", "style:table-column-properties",
                    {{"style:column-width", measuredCm(width)}});

    simpleStyle(w, "Matrix.Row", "table-row", "style:table-row-properties",
                {{"style:min-row-height", cm(look::RowHeightCm)},
                 {"fo:keep-together", QStringLiteral("always")}});

    // Cells: thin black rules, small padding so that a symbol fits its narrow column.
    const auto cellStyle = [&](const QString &name, const char *align, const QColor &fill) {
        QList<XmlWriter::Attribute> cell{
            {"fo:border", QString::number(look::RulePoints) + QStringLiteral("pt solid #000000")},
            {"fo:padding", cm(look::CellPaddingCm)},
            {"style:vertical-align", QLatin1String(align)}};
        if (fill.isValid())
            cell.append({"fo:background-color", fill.name()});
        simpleStyle(w, name, "table-cell", "style:table-cell-properties", cell);
    };
    cellStyle(QStringLiteral("Matrix.Corner"), "bottom", look::rowFill(0));
    cellStyle(QStringLiteral("Matrix.Scale"), "bottom", look::rowFill(0));
    for (int a = 1; a <= AspectCount; ++a)
        cellStyle(QStringLiteral("Matrix.Aspect%1").arg(a), "middle", look::rowFill(a));

    for (const ParagraphStyle &style : OwnStyles)
        paragraphStyle(w, style);

    simpleStyle(w, "Picture", "graphic", "style:graphic-properties",
                {{"style:vertical-pos", QStringLiteral("top")},
                 {"style:vertical-rel", QStringLiteral("baseline")},
                 {"fo:border", QStringLiteral("none")}});
}

// The OpenDocument text's markup for the body of the document.
class OpenDocumentFormat final : public DocumentFormat {
public:
    QList<PackageFile> package(const Document &document) override;

    // A paragraph's text starts as if after a space: a leading space must be kept explicitly.
    void startParagraph(look::Kind kind) override {
        const int level = look::paragraph(kind).outlineLevel;
        w_->start(level ? "text:h" : "text:p");
        w_->attribute("text:style-name", styleNameOf(kind));
        if (level)
            w_->attribute("text:outline-level", QString::number(level));
        afterSpace_ = true;
    }
    void endParagraph() override { w_->end(); }
    void plain(QStringView words) override { text(words); }
    // An instruction for the student to carry out and replace, in a character style of its
    // own. (A placeholder field would select whole on a click, but word processors leave those
    // out of print.)
    void instruction(QStringView words) override {
        w_->start("text:span");
        w_->attribute("text:style-name", "Instruction");
        text(words);
        w_->end();
    }
    void data(QStringView words) override { text(words); }
    void tab() override {
        w_->empty("text:tab");
        afterSpace_ = true;
    }
    void lineEnd() override {
        w_->empty("text:line-break");
        afterSpace_ = true;
    }

    void table(MatrixKind which, const TableRows &rows) override;
    void picture(MatrixKind which, const QString &title, const QString &description) override;

private:
    void text(QStringView words);
    QByteArray contentXml(const Document &document);

    XmlWriter *w_ = nullptr; // the body's part, while it is written
    bool afterSpace_ = true;
};

// The header row's cells are styled apart (their scale names upright), every other row's
// after its aspect.
void OpenDocumentFormat::table(MatrixKind which, const TableRows &rows) {
    XmlWriter &w = *w_;
    w.start("table:table");
    w.attribute("table:name", look::matrixName(which));
    w.attribute("table:style-name", "Matrix");
    w.element("table:table-column", {{"table:style-name", QStringLiteral("Matrix.A")}});
    w.element("table:table-column",
              {{"table:style-name", QStringLiteral("Matrix.B")},
               {"table:number-columns-repeated", QString::number(ScaleCount)}});
    w.start("table:table-header-rows");
    for (std::size_t row = 0; row < rows.size(); ++row) {
        w.start("table:table-row");
        if (row > 0)
            w.attribute("table:style-name", "Matrix.Row");
        for (std::size_t column = 0; column < rows[row].size(); ++column) {
            w.start("table:table-cell");
            w.attribute("table:style-name", row > 0 ? QStringLiteral("Matrix.Aspect%1").arg(row)
                                            : column > 0 ? QStringLiteral("Matrix.Scale")
                                                         : QStringLiteral("Matrix.Corner"));
            w.attribute("office:value-type", "string");
            cell(rows, row, column);
            w.end();
        }
        w.end(row == 0 ? 2 : 1); // and the header rows
    }
    w.end();
}

void OpenDocumentFormat::picture(MatrixKind which, const QString &title,
                                 const QString &description) {
    XmlWriter &w = *w_;
    w.start("draw:frame");
    w.attribute("draw:style-name", "Picture");
    w.attribute("draw:name", look::matrixName(which) + QStringLiteral(" matrix"));
    w.attribute("text:anchor-type", "as-char");
    w.attribute("svg:width", measuredCm(look::PictureWidthCm));
    w.attribute("svg:height", measuredCm(look::pictureHeightCm()));
    w.element("draw:image", {{"xlink:href", pictureName(which)},
                             {"xlink:type", QStringLiteral("simple")},
                             {"xlink:show", QStringLiteral("embed")},
                             {"xlink:actuate", QStringLiteral("onLoad")},
                             {"draw:mime-type", QStringLiteral("image/png")}});
    w.textElement("svg:title", title);
    w.textElement("svg:desc", description);
    w.end();
}

QByteArray OpenDocumentFormat::contentXml(const Document &document) {
    XmlWriter w;
    w_ = &w;
    root(w, "office:document-content");
    fontFaces(w);
    w.start("office:automatic-styles");
    tableStyles(w);
    w.end();
    w.start("office:body");
    w.start("office:text");
    writeBody(document, *this);
    w.end();
    w.end();
    w_ = nullptr;
    return w.finish();
}

QByteArray metaXml(const Model &model) {
    XmlWriter w;
    root(w, "office:document-meta");
    w.start("office:meta");
    w.textElement("meta:generator", QCoreApplication::applicationName() + u'/' +
                                        QCoreApplication::applicationVersion());
    w.textElement("dc:title", look::documentTitle(model));
    const QString now = QDateTime::currentDateTimeUtc().toString(Qt::ISODate);
    w.textElement("meta:creation-date", now);
    w.textElement("dc:date", now);
    w.textElement("dc:language", look::Language);
    w.end();
    return w.finish();
}

// The package and every file in it after its type.
QByteArray manifestXml(const QList<PackageFile> &files) {
    XmlWriter w;
    w.root("manifest:manifest",
           {{"manifest", "urn:oasis:names:tc:opendocument:xmlns:manifest:1.0"}});
    w.attribute("manifest:version", OdfVersion);
    const auto entry = [&](const QString &path, const char *mediaType) {
        QList<XmlWriter::Attribute> attributes{{"manifest:full-path", path}};
        if (path == u"/")
            attributes.append({"manifest:version", QLatin1String(OdfVersion)});
        attributes.append({"manifest:media-type", QLatin1String(mediaType)});
        w.element("manifest:file-entry", attributes);
    };
    entry(QStringLiteral("/"), MimeType);
    for (const PackageFile &file : files.sliced(1))
        entry(file.path, file.path.endsWith(u".png") ? "image/png" : "text/xml");
    w.end();
    return w.finish();
}

QList<PackageFile> OpenDocumentFormat::package(const Document &document) {
    // The package's type comes first and stored, so that it can be read at a fixed offset.
    QList<PackageFile> files{
        {QStringLiteral("mimetype"), QByteArray(MimeType), true},
        {QStringLiteral("content.xml"), contentXml(document)},
        {QStringLiteral("styles.xml"), stylesXml()},
        {QStringLiteral("meta.xml"), metaXml(document.model)},
        {pictureName(MatrixKind::Future), document.pictures[0]},
        {pictureName(MatrixKind::Impacts), document.pictures[1]},
    };
    files.append({QStringLiteral("META-INF/manifest.xml"), manifestXml(files)});
    return files;
}

// Spaces after the first of a run and at the start are written as text:s, which a word
// processor keeps; plain ones would collapse to one.
void OpenDocumentFormat::text(QStringView typed) {
    const QString words = xmlText(typed);
    QString run;
    for (qsizetype i = 0; i < words.size(); ++i) {
        const QChar c = words[i];
        if (c == u'\t' || c == u'\n' || (c == u' ' && afterSpace_)) {
            w_->characters(run);
            run.clear();
        }
        if (c == u'\t') {
            tab();
        } else if (c == u'\n') {
            lineEnd();
        } else if (c == u' ' && afterSpace_) {
            int spaces = 1;
            for (; i + 1 < words.size() && words[i + 1] == u' '; ++i)
                ++spaces;
            w_->empty("text:s");
            if (spaces > 1)
                w_->attribute("text:c", QString::number(spaces));
        } else if (c != u'\r') {
            run += c;
            afterSpace_ = c == u' ';
        }
    }
    w_->characters(run);
}

} // namespace

bool writeOpenDocument(QIODevice &device, const Model &model, const QString &date, QString *error) {
    OpenDocumentFormat format;
    return writeDocument(device, model, date, format, error);
}

} // namespace sp::proposal
