// The proposal as an OpenDocument text: the blocks of the outline as headings, paragraphs with
// the instructions in a style of their own, the two tables with their rows in the aspect colours
// and the scale names upright, and a picture of each matrix, packaged with Qt's zip writer.
#include "opendocument.h"

#include "documentparts.h"
#include "impactmarking.h"
#include "layout.h"
#include "outline.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QXmlStreamWriter>

#include <algorithm>
#include <cmath>
#include <span>
#include <utility>

namespace sp::proposal {
namespace {

constexpr auto MimeType = "application/vnd.oasis.opendocument.text";
constexpr auto OdfVersion = "1.3";

using namespace parts;

QString cm(double value) {
    return QString::number(value, 'f', 3) + QStringLiteral("cm");
}

QString pictureName(MatrixKind which) {
    return which == MatrixKind::Future ? QStringLiteral("Pictures/future.png")
                                       : QStringLiteral("Pictures/impacts.png");
}

// Writes the elements of the OpenDocument text: qualified names, all namespaces declared on
// the root.
class Writer {
public:
    explicit Writer(QByteArray *out)
        : x_(out) {
        x_.writeStartDocument();
    }
    void root(const char *name) {
        x_.writeStartElement(QLatin1String(name));
        static const char *const Namespaces[][2] = {
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
        };
        for (const auto &[prefix, uri] : Namespaces)
            x_.writeNamespace(QLatin1String(uri), QLatin1String(prefix));
        attribute("office:version", OdfVersion);
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
    void finish() { x_.writeEndDocument(); }
    // An element of plain text: no spaces, tabs or line ends of a paragraph's.
    void plainElement(const char *name, const QString &text) {
        start(name);
        x_.writeCharacters(xmlText(text));
        end();
    }

    // Text of a paragraph. Spaces after the first of a run and at the start are written as
    // text:s, which a word processor keeps; plain ones would collapse to one.
    void text(QStringView typed) {
        const QString words = xmlText(typed);
        QString run;
        for (qsizetype i = 0; i < words.size(); ++i) {
            const QChar c = words[i];
            if (c == u'\r')
                continue;
            if (c == u'\t' || c == u'\n') {
                x_.writeCharacters(run);
                run.clear();
                if (c == u'\t')
                    tab();
                else
                    lineBreak();
                continue;
            }
            if (c != u' ') {
                run += c;
                afterSpace_ = false;
                continue;
            }
            if (!afterSpace_) {
                run += c;
                afterSpace_ = true;
                continue;
            }
            int spaces = 1;
            while (i + 1 < words.size() && words[i + 1] == u' ') {
                ++spaces;
                ++i;
            }
            x_.writeCharacters(run);
            run.clear();
            empty("text:s");
            if (spaces > 1)
                attribute("text:c", QString::number(spaces));
        }
        x_.writeCharacters(run);
    }
    void tab() {
        empty("text:tab");
        afterSpace_ = true;
    }
    void lineBreak() {
        empty("text:line-break");
        afterSpace_ = true;
    }
    // A paragraph's text starts as if after a space: a leading space must be kept explicitly.
    void startParagraph(const char *element, const QString &style) {
        start(element);
        attribute("text:style-name", style);
        afterSpace_ = true;
    }

    // An instruction for the student to carry out and replace, in a character style of its
    // own that marks it apart from the sentences on screen and on paper. (A placeholder
    // field would select whole on a click, but word processors leave those out of print.)
    void instruction(QStringView words) {
        start("text:span");
        attribute("text:style-name", "Instruction");
        text(words);
        end();
    }

    void fixedWords(QStringView words) {
        splitInstructions(
            words, [this](QStringView plain) { text(plain); },
            [this](QStringView words) { instruction(words); });
    }

    void pieces(std::span<const Piece> pieces) {
        for (const Piece &piece : pieces) {
            switch (piece.kind) {
            case Piece::Fixed:
                fixedWords(piece.text);
                break;
            case Piece::Data:
                text(piece.text);
                break;
            case Piece::Tab:
                tab();
                break;
            case Piece::LineEnd:
                lineBreak();
                break;
            }
        }
    }

private:
    QXmlStreamWriter x_;
    bool afterSpace_ = true;
};

void fontFaces(Writer &w) {
    w.start("office:font-face-decls");
    w.empty("style:font-face");
    // Arial where it is installed; elsewhere word processors take its metric twin.
    w.attribute("style:name", "Arial");
    w.attribute("svg:font-family", "Arial");
    w.attribute("style:font-family-generic", "swiss");
    w.attribute("style:font-pitch", "variable");
    w.end();
}

// A paragraph style: its name, parent, and paragraph and text properties as attribute pairs.
struct Props {
    std::initializer_list<std::pair<const char *, const char *>> values;
};

void paragraphStyle(Writer &w, const char *name, const char *display, const char *parent,
                    Props paragraph, Props text, const char *outlineLevel = nullptr) {
    w.start("style:style");
    w.attribute("style:name", name);
    if (display)
        w.attribute("style:display-name", display);
    w.attribute("style:family", "paragraph");
    if (parent)
        w.attribute("style:parent-style-name", parent);
    if (outlineLevel) {
        w.attribute("style:default-outline-level", outlineLevel);
        w.attribute("style:next-style-name", "Text_20_body");
    }
    if (paragraph.values.size()) {
        w.empty("style:paragraph-properties");
        for (const auto &[key, value] : paragraph.values)
            w.attribute(key, value);
    }
    if (text.values.size()) {
        w.empty("style:text-properties");
        for (const auto &[key, value] : text.values)
            w.attribute(key, value);
    }
    w.end();
}

// A style of another family with one element of constant properties.
void simpleStyle(Writer &w, const char *name, const char *family, const char *properties,
                 Props values) {
    w.start("style:style");
    w.attribute("style:name", name);
    w.attribute("style:family", family);
    w.empty(properties);
    for (const auto &[key, value] : values.values)
        w.attribute(key, value);
    w.end();
}

QByteArray stylesXml() {
    QByteArray out;
    Writer w(&out);
    w.root("office:document-styles");
    fontFaces(w);
    w.start("office:styles");

    w.start("style:default-style");
    w.attribute("style:family", "paragraph");
    w.empty("style:paragraph-properties");
    w.attribute("style:writing-mode", "page");
    w.empty("style:text-properties");
    w.attribute("style:font-name", "Arial");
    w.attribute("fo:font-size", "10.5pt");
    w.attribute("fo:language", "en");
    w.attribute("fo:country", "GB");
    w.end();

    paragraphStyle(w, "Standard", nullptr, nullptr, {}, {});
    paragraphStyle(
        w, "Text_20_body", "Text body", "Standard",
        {{{"fo:margin-top", "0cm"}, {"fo:margin-bottom", "0.14cm"}, {"fo:line-height", "115%"}}},
        {});
    paragraphStyle(w, "Heading", nullptr, "Standard",
                   {{{"fo:margin-top", "0.42cm"},
                     {"fo:margin-bottom", "0.21cm"},
                     {"fo:keep-with-next", "always"}}},
                   {{{"fo:font-weight", "bold"}}});
    paragraphStyle(w, "Heading_20_1", "Heading 1", "Heading", {{{"fo:margin-top", "0.8cm"}}},
                   {{{"fo:font-size", "16pt"}}}, "1");
    paragraphStyle(w, "Heading_20_2", "Heading 2", "Heading", {{{"fo:margin-top", "0.6cm"}}},
                   {{{"fo:font-size", "13pt"}}}, "2");
    paragraphStyle(w, "Heading_20_3", "Heading 3", "Heading", {}, {{{"fo:font-size", "11pt"}}},
                   "3");
    paragraphStyle(w, "Title", nullptr, "Heading",
                   {{{"fo:text-align", "center"}, {"fo:margin-bottom", "0.4cm"}}},
                   {{{"fo:font-size", "18pt"}}});
    paragraphStyle(w, "Contents_20_Heading", "Contents Heading", "Heading", {},
                   {{{"fo:font-size", "16pt"}}});
    paragraphStyle(w, "Table_20_Contents", "Table Contents", "Standard", {}, {});
    paragraphStyle(w, "Legend", nullptr, "Text_20_body", {{{"fo:margin-bottom", "0.05cm"}}},
                   {{{"fo:font-size", "9.5pt"}}});

    // Blue italics on a pale highlight: what is still to be done stands out, also in print.
    simpleStyle(w, "Instruction", "text", "style:text-properties",
                {{{"fo:color", "#0000c0"},
                  {"fo:font-style", "italic"},
                  {"fo:background-color", "#fff3b0"}}});

    // Headings carry their numbers in their words: no numbering of their own.
    w.start("text:outline-style");
    w.attribute("style:name", "Outline");
    for (int level = 1; level <= 10; ++level) {
        w.empty("text:outline-level-style");
        w.attribute("text:level", QString::number(level));
        w.attribute("style:num-format", "");
    }
    w.end();
    w.end(); // office:styles

    w.start("office:automatic-styles");
    w.start("style:page-layout");
    w.attribute("style:name", "A4");
    w.empty("style:page-layout-properties");
    for (const auto &[key, value] : {std::pair{"fo:page-width", "21cm"},
                                     {"fo:page-height", "29.7cm"},
                                     {"style:print-orientation", "portrait"},
                                     {"fo:margin-top", "2cm"},
                                     {"fo:margin-bottom", "2cm"},
                                     {"fo:margin-left", "2cm"},
                                     {"fo:margin-right", "2cm"}})
        w.attribute(key, value);
    w.end();
    w.end();

    w.start("office:master-styles");
    w.empty("style:master-page");
    w.attribute("style:name", "Standard");
    w.attribute("style:page-layout-name", "A4");
    w.end();
    w.end();
    w.finish();
    return out;
}

QString colourName(const QColor &colour) {
    return colour.name(QColor::HexRgb);
}

void tableStyles(Writer &w) {
    w.start("style:style");
    w.attribute("style:name", "Matrix");
    w.attribute("style:family", "table");
    w.empty("style:table-properties");
    w.attribute("style:width", cm(TextWidthCm));
    w.attribute("table:align", "margins");
    w.attribute("fo:margin-top", "0.2cm");
    w.attribute("fo:margin-bottom", "0.2cm");
    w.attribute("style:may-break-between-rows", "false");
    w.end();

    // Rounded down, so that the columns never add up to more than the table.
    const double scaleColumn =
        std::floor((TextWidthCm - FirstColumnCm) / int(ScaleCount) * 1000) / 1000;
    for (const auto &[name, width] :
         {std::pair{"Matrix.A", FirstColumnCm}, std::pair{"Matrix.B", scaleColumn}}) {
        w.start("style:style");
        w.attribute("style:name", name);
        w.attribute("style:family", "table-column");
        w.empty("style:table-column-properties");
        w.attribute("style:column-width", cm(width));
        w.end();
    }

    simpleStyle(w, "Matrix.Row", "table-row", "style:table-row-properties",
                {{{"style:min-row-height", "0.6cm"}, {"fo:keep-together", "always"}}});

    // Cells: thin black rules, small padding so that a symbol fits its narrow column.
    const auto cellStyle = [&](const QString &name, const char *align, const QColor &fill) {
        w.start("style:style");
        w.attribute("style:name", name);
        w.attribute("style:family", "table-cell");
        w.empty("style:table-cell-properties");
        w.attribute("fo:border", "0.5pt solid #000000");
        w.attribute("fo:padding", "0.04cm");
        w.attribute("style:vertical-align", align);
        if (fill.isValid())
            w.attribute("fo:background-color", colourName(fill));
        w.end();
    };
    cellStyle(QStringLiteral("Matrix.Corner"), "bottom", QColor());
    cellStyle(QStringLiteral("Matrix.Scale"), "bottom", QColor());
    for (int a = 1; a <= AspectCount; ++a)
        cellStyle(QStringLiteral("Matrix.Aspect%1").arg(a), "middle", layout::aspectColour(a));

    paragraphStyle(w, "Matrix_Caption", nullptr, "Table_20_Contents", {},
                   {{{"fo:font-size", "9pt"}, {"fo:font-weight", "bold"}}});
    paragraphStyle(w, "Matrix_Aspect", nullptr, "Table_20_Contents", {},
                   {{{"fo:font-size", "9pt"}}});
    paragraphStyle(w, "Matrix_Symbol", nullptr, "Table_20_Contents",
                   {{{"fo:text-align", "center"}}},
                   {{{"fo:font-size", "11pt"}, {"fo:font-weight", "bold"}}});
    // The scale names read upwards, so the header row grows to the longest of them.
    paragraphStyle(w, "Matrix_Scale", nullptr, "Table_20_Contents", {},
                   {{{"fo:font-size", "8pt"},
                     {"style:text-rotation-angle", "90"},
                     {"style:text-rotation-scale", "fixed"}}});
    paragraphStyle(w, "Spaced", nullptr, "Text_20_body", {{{"fo:margin-top", "0.3cm"}}}, {});
    paragraphStyle(
        w, "Matrix_Picture", nullptr, "Standard",
        {{{"fo:text-align", "center"}, {"fo:margin-top", "0.2cm"}, {"fo:margin-bottom", "0.2cm"}}},
        {});

    simpleStyle(w, "Picture", "graphic", "style:graphic-properties",
                {{{"style:vertical-pos", "top"},
                  {"style:vertical-rel", "baseline"},
                  {"fo:border", "none"}}});
}

const char *paragraphStyleName(const Block &block) {
    switch (block.kind) {
    case Block::Title:
        return "Title";
    case Block::ContentsTitle:
        return "Contents_20_Heading";
    case Block::Legend:
        return "Legend";
    default:
        return "Text_20_body";
    }
}

void writeHeading(Writer &w, const Outline &outline, const Block &block) {
    const char *styles[] = {"Heading_20_1", "Heading_20_2", "Heading_20_3"};
    w.startParagraph("text:h", QLatin1String(styles[std::clamp(int(block.level), 1, 3) - 1]));
    w.attribute("text:outline-level", QString::number(block.level));
    w.pieces(outline.piecesOf(block));
    w.end();
}

// The table's pieces: rows end at LineEnd, cells at Tab. The header row's scale names stand
// upright; every other row is in its aspect's colour.
void writeTable(Writer &w, const Outline &outline, const Block &block) {
    w.start("table:table");
    w.attribute("table:name", block.matrix == MatrixKind::Future ? "Future" : "Impacts");
    w.attribute("table:style-name", "Matrix");
    w.empty("table:table-column");
    w.attribute("table:style-name", "Matrix.A");
    w.empty("table:table-column");
    w.attribute("table:style-name", "Matrix.B");
    w.attribute("table:number-columns-repeated", QString::number(ScaleCount));

    const TableRows rows = tableRows(outline.piecesOf(block));
    for (std::size_t row = 0; row < rows.size(); ++row) {
        if (row == 0)
            w.start("table:table-header-rows");
        w.start("table:table-row");
        if (row > 0)
            w.attribute("table:style-name", "Matrix.Row");
        for (std::size_t column = 0; column < rows[row].size(); ++column) {
            QString cellStyle, paragraph;
            if (row == 0) {
                cellStyle =
                    column == 0 ? QStringLiteral("Matrix.Corner") : QStringLiteral("Matrix.Scale");
                paragraph =
                    column == 0 ? QStringLiteral("Matrix_Caption") : QStringLiteral("Matrix_Scale");
            } else {
                cellStyle = QStringLiteral("Matrix.Aspect%1").arg(row);
                paragraph =
                    column == 0 ? QStringLiteral("Matrix_Aspect") : QStringLiteral("Matrix_Symbol");
            }
            w.start("table:table-cell");
            w.attribute("table:style-name", cellStyle);
            w.attribute("office:value-type", "string");
            w.startParagraph("text:p", paragraph);
            w.pieces(rows[row][column]);
            w.end();
            w.end();
        }
        w.end();
        if (row == 0)
            w.end();
    }
    w.end();
}

void writePicture(Writer &w, const Model &model, MatrixKind which) {
    const bool future = which == MatrixKind::Future;
    w.startParagraph("text:p", QStringLiteral("Matrix_Picture"));
    w.start("draw:frame");
    w.attribute("draw:style-name", "Picture");
    w.attribute("draw:name", future ? "Future matrix" : "Impacts matrix");
    w.attribute("text:anchor-type", "as-char");
    w.attribute("svg:width", cm(PictureWidthCm));
    w.attribute("svg:height", cm(pictureHeightCm()));
    w.empty("draw:image");
    w.attribute("xlink:href", pictureName(which));
    w.attribute("xlink:type", "simple");
    w.attribute("xlink:show", "embed");
    w.attribute("xlink:actuate", "onLoad");
    w.attribute("draw:mime-type", "image/png");
    w.plainElement("svg:title", future ? QStringLiteral("Probable future until ") + model.horizon
                                       : QStringLiteral("Object and impact"));
    w.plainElement("svg:desc",
                   future ? QStringLiteral("The trends marked for every aspect and scale level")
                          : QStringLiteral("The frame, the grain and the impacts marked for every "
                                           "aspect and scale level"));
    w.end();
    w.end();
}

QByteArray contentXml(const Outline &outline, const Model &model) {
    QByteArray out;
    Writer w(&out);
    w.root("office:document-content");
    fontFaces(w);
    w.start("office:automatic-styles");
    tableStyles(w);
    w.end();
    w.start("office:body");
    w.start("office:text");
    // An empty line of the text file becomes space above the next paragraph: it parts
    // groups of sentences (the criteria of 3.1, the actors per aspect).
    forEachShownBlock(outline, [&](const Block &block, bool spaced) {
        switch (block.kind) {
        case Block::Heading:
            writeHeading(w, outline, block);
            break;
        case Block::Table:
            writeTable(w, outline, block);
            break;
        case Block::Picture:
            writePicture(w, model, block.matrix);
            break;
        default:
            w.startParagraph("text:p", spaced ? QStringLiteral("Spaced")
                                              : QLatin1String(paragraphStyleName(block)));
            w.pieces(outline.piecesOf(block));
            w.end();
        }
    });
    w.end();
    w.end();
    w.finish();
    return out;
}

QByteArray metaXml(const Model &model) {
    QByteArray out;
    Writer w(&out);
    w.root("office:document-meta");
    w.start("office:meta");
    w.plainElement("meta:generator", QCoreApplication::applicationName() + u'/' +
                                         QCoreApplication::applicationVersion());
    w.plainElement("dc:title", QStringLiteral("Study proposal until ") + model.horizon);
    const QString now = QDateTime::currentDateTimeUtc().toString(Qt::ISODate);
    w.plainElement("meta:creation-date", now);
    w.plainElement("dc:date", now);
    w.plainElement("dc:language", QStringLiteral("en-GB"));
    w.end();
    w.finish();
    return out;
}

struct Part {
    QString path;
    const char *mediaType;
    QByteArray data;
};

QByteArray manifestXml(const QList<Part> &files) {
    QByteArray out;
    QXmlStreamWriter x(&out);
    x.writeStartDocument();
    const QString ns = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:manifest:1.0");
    x.writeNamespace(ns, QStringLiteral("manifest"));
    x.writeStartElement(ns, QStringLiteral("manifest"));
    x.writeAttribute(ns, QStringLiteral("version"), QLatin1String(OdfVersion));
    const auto entry = [&](const QString &path, const char *mediaType) {
        x.writeEmptyElement(ns, QStringLiteral("file-entry"));
        x.writeAttribute(ns, QStringLiteral("full-path"), path);
        if (path == u"/")
            x.writeAttribute(ns, QStringLiteral("version"), QLatin1String(OdfVersion));
        x.writeAttribute(ns, QStringLiteral("media-type"), QLatin1String(mediaType));
    };
    entry(QStringLiteral("/"), MimeType);
    for (const Part &file : files)
        entry(file.path, file.mediaType);
    x.writeEndElement();
    x.writeEndDocument();
    return out;
}

} // namespace

bool writeOpenDocument(QIODevice &device, const Model &model, const QString &date, QString *error) {
    const QString resolution = impacts::resolutionStatement(model); // the outline views it
    const Outline outline = proposalOutline(model, resolution, date);
    const std::array<QByteArray, 2> pictures = matrixPngs(model);
    const QList<Part> parts{
        {QStringLiteral("content.xml"), "text/xml", contentXml(outline, model)},
        {QStringLiteral("styles.xml"), "text/xml", stylesXml()},
        {QStringLiteral("meta.xml"), "text/xml", metaXml(model)},
        {pictureName(MatrixKind::Future), "image/png", pictures[0]},
        {pictureName(MatrixKind::Impacts), "image/png", pictures[1]},
    };
    // The package's type comes first and stored, so that it can be read at a fixed offset.
    QList<PackageFile> files{{QStringLiteral("mimetype"), QByteArray(MimeType)}};
    for (const Part &part : parts)
        files.append({part.path, part.data});
    files.append({QStringLiteral("META-INF/manifest.xml"), manifestXml(parts)});
    return writePackage(device, files, true, error);
}

} // namespace sp::proposal
