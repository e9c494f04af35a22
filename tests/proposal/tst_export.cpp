// The exported document read back as a word processor would: the package, the text file's
// words in headings and paragraphs, the instructions marked, the two tables and the pictures.
// And the matrix pictures themselves, drawn without a window.
#include "documentwriter.h"
#include "fixtures.h"
#include "impactmarking.h"
#include "matrixpicture.h"
#include "odtreader.h"
#include "opendocument.h"
#include "studyfile.h"
#include "studyproposal.h"
#include "worddocument.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

using namespace sp;
using proposal::Block;
using proposal::MatrixKind;
using proposal::Piece;
namespace look = proposal::look;

namespace {

const QString Date = QStringLiteral("12/8/26");
const QString MimeType = QStringLiteral("application/vnd.oasis.opendocument.text");

// The instructions to format by hand that the document has carried out.
const QStringList FormattingLines{
    "<copy this text in a Word document on your own disc>",
    "<give headings like this an automatically numbered heading 1 profile in Word and remove "
    "the superfluous second number> ",
    "<give headings like this an automatically numbered heading 2 profile in Word and remove "
    "the superfluous second number> ",
    "<start selecting text on the beginning of next line choosing <table, convert text into "
    "table>>",
    "<stop selecting text on the end of previous line choosing <table, convert text into table>>",
    "<put the letters of the first row upright and stretch the height of the row to fit on page>",
    "<if the table is still too wide, decrease the margins per cell in table properties>",
};

const QColor AspectColours[7] = {
    {}, {211, 0, 0}, {255, 139, 0}, {244, 202, 0}, {230, 247, 23}, {154, 196, 45}, {3, 102, 192}};

struct Exported {
    QByteArray raw;
    odt::Package package;
    odt::Content content;
};

Exported exportDocument(const Model &model) {
    Exported exported;
    QBuffer device(&exported.raw);
    device.open(QIODevice::WriteOnly);
    if (QString error; !proposal::writeOpenDocument(device, model, Date, &error))
        qWarning("writeOpenDocument: %s", qPrintable(error));
    exported.package = odt::readPackage(exported.raw);
    exported.content = odt::readContent(exported.package.files.value("content.xml"));
    return exported;
}

// The worked example with the second trends of technique (a lower-case x in the table) and
// mass, and an impact on a scale without a trend: Future shows it as a black cue.
Model markedModel() {
    Model model = fixtures::workedExample();
    model.futureGrid(4, 2) = 2;
    model.futureGrid(6, 22) = 1;
    model.impactGrid(1, 20) = Unintended;
    return model;
}

Model withHorizon(Model model, const QString &horizon) {
    model.horizon = horizon;
    return model;
}

// The centre of a cell in a picture of natural size drawn at `scale`, in window pixels
// counted from the picture's corner.
QPoint cellCentre(int aspect, int scale, double factor = 1) {
    const double x = (2355 + 360 * (scale - 1) + 187) / 15.0 - 24;
    const double y = (4695 + 360 * (aspect - 1) + 187) / 15.0 - 46;
    return QPoint(qRound(x * factor), qRound(y * factor));
}

QImage pictureOf(const Model &model, MatrixKind which, double factor) {
    QImage image((proposal::matrixPictureSize() * factor).toSize(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    proposal::paintMatrix(painter, QRectF(QPointF(0, 0), QSizeF(image.size())), model, which);
    return image;
}

// Dark pixels around a cell's centre: its caption.
int inkAround(const QImage &image, QPoint centre, int radius) {
    int ink = 0;
    for (int dy = -radius; dy <= radius; ++dy)
        for (int dx = -radius; dx <= radius; ++dx)
            ink += qGray(image.pixel(centre + QPoint(dx, dy))) < 60 ? 1 : 0;
    return ink;
}

const char *const KindNames[] = {"Plain",       "Body",          "Spaced",       "Legend",
                                 "Heading",     "Heading1",      "Heading2",     "Heading3",
                                 "Title",       "ContentsTitle", "CellText",     "MatrixCaption",
                                 "MatrixScale", "MatrixAspect",  "MatrixSymbol", "MatrixPicture"};
static_assert(std::size(KindNames) == look::KindCount);

// Writes down what the walk over the outline hands a format, a call an entry.
class RecordingFormat : public proposal::parts::DocumentFormat {
public:
    QStringList calls;

    QList<proposal::parts::PackageFile> package(const proposal::parts::Document &) override {
        return {};
    }
    void startParagraph(look::Kind kind) override { calls << KindNames[kind]; }
    void endParagraph() override { calls << "end"; }
    void plain(QStringView words) override { calls << "plain[" + words.toString() + "]"; }
    void instruction(QStringView words) override {
        calls << "instruction[" + words.toString() + "]";
    }
    void data(QStringView words) override { calls << "data[" + words.toString() + "]"; }
    void tab() override { calls << "tab"; }
    void lineEnd() override { calls << "line end"; }
    void table(MatrixKind which, const proposal::parts::TableRows &rows) override {
        calls << QStringLiteral("table %1 %2x%3")
                     .arg(look::matrixName(which))
                     .arg(rows.size())
                     .arg(rows[0].size());
        for (std::size_t row = 0; row < rows.size(); ++row)
            for (std::size_t column = 0; column < rows[row].size(); ++column)
                cell(rows, row, column);
    }
    void picture(MatrixKind which, const QString &title, const QString &) override {
        calls << "picture " + look::matrixName(which) + ": " + title;
    }
};

// An outline of a block a line: its kind (a heading's with its level) and the program's words;
// a table's cells are the user's, parted by "|", its rows by "/". The pieces view `words`.
proposal::Outline outlineOf(const QStringList &lines, QStringList &words) {
    const QMap<QString, Block::Kind> kinds{{"Paragraph", Block::Paragraph},
                                           {"Title", Block::Title},
                                           {"ContentsTitle", Block::ContentsTitle},
                                           {"Formatting", Block::Formatting},
                                           {"Legend", Block::Legend},
                                           {"Picture", Block::Picture},
                                           {"Table", Block::Table},
                                           {"Heading", Block::Heading}};
    proposal::Outline outline;
    words.reserve(lines.size() * 8);
    for (const QString &line : lines) {
        const QString kind = line.section(u' ', 0, 0), text = line.section(u' ', 1);
        const qsizetype first = qsizetype(outline.pieces.size());
        const auto piece = [&](const QString &word, Piece::Kind pieceKind) {
            words.append(word);
            outline.pieces.push_back({words.constLast(), pieceKind});
        };
        if (kind == u"Table") {
            const QStringList rows = text.split(u'/');
            for (qsizetype row = 0; row < rows.size(); ++row) {
                if (row > 0)
                    outline.pieces.push_back({{}, Piece::LineEnd});
                for (const QString &cell : rows[row].split(u'|')) {
                    piece(cell, Piece::Data);
                    outline.pieces.push_back({{}, Piece::Tab});
                }
            }
        } else if (!text.isEmpty()) {
            piece(text, Piece::Fixed);
        }
        const bool heading = kind.startsWith(u"Heading");
        outline.blocks.push_back({kinds.value(heading ? "Heading" : kind),
                                  static_cast<unsigned char>(heading ? kind.mid(7).toInt() : 0),
                                  MatrixKind::Future, first,
                                  qsizetype(outline.pieces.size()) - first});
    }
    return outline;
}

// A paragraph style's look as a reader sees it, with what it inherits: space above and below
// (cm), line spacing (lines), kept with the next, centred, bold, type size (points).
struct Look {
    double above = 0, below = 0, line = 1;
    bool keep = false, centred = false, bold = false;
    double points = 0;
};

// The paragraph styles of a part by name, their parents first.
QList<QDomElement> styleChain(const QList<QDomDocument> &parts, const QString &tag,
                              const QString &nameAttribute, const QString &parentElement,
                              const QString &parentAttribute, const QString &name) {
    QMap<QString, QDomElement> styles;
    for (const QDomDocument &part : parts) {
        const QDomNodeList all = part.elementsByTagName(tag);
        for (int i = 0; i < all.size(); ++i)
            styles.insert(all.at(i).toElement().attribute(nameAttribute), all.at(i).toElement());
    }
    QList<QDomElement> chain;
    for (QString next = name; styles.contains(next);) {
        chain.prepend(styles[next]);
        const QDomElement style = styles[next];
        next = parentElement.isEmpty()
                   ? style.attribute(parentAttribute)
                   : style.firstChildElement(parentElement).attribute(parentAttribute);
    }
    return chain;
}

Look wordLook(const QDomDocument &styles, const QString &id) {
    Look look{.points = 10.5}; // the document's defaults: no space, 10.5 points
    for (const QDomElement &style :
         styleChain({styles}, "w:style", "w:styleId", "w:basedOn", "w:val", id)) {
        const QDomElement paragraph = style.firstChildElement("w:pPr");
        const QDomElement spacing = paragraph.firstChildElement("w:spacing");
        const QDomElement run = style.firstChildElement("w:rPr");
        if (spacing.hasAttribute("w:before"))
            look.above = spacing.attribute("w:before").toDouble() / 1440 * 2.54;
        if (spacing.hasAttribute("w:after"))
            look.below = spacing.attribute("w:after").toDouble() / 1440 * 2.54;
        if (spacing.hasAttribute("w:line"))
            look.line = spacing.attribute("w:line").toDouble() / 240;
        look.keep |= !paragraph.firstChildElement("w:keepNext").isNull();
        look.centred |= paragraph.firstChildElement("w:jc").attribute("w:val") == "center";
        look.bold |= !run.firstChildElement("w:b").isNull();
        if (const QDomElement size = run.firstChildElement("w:sz"); !size.isNull())
            look.points = size.attribute("w:val").toDouble() / 2;
    }
    return look;
}

Look openDocumentLook(const QDomDocument &styles, const QDomDocument &content,
                      const QString &name) {
    Look look{.points = 10.5};
    for (const QDomElement &style : styleChain({styles, content}, "style:style", "style:name", {},
                                               "style:parent-style-name", name)) {
        const QDomElement paragraph = style.firstChildElement("style:paragraph-properties");
        const QDomElement text = style.firstChildElement("style:text-properties");
        if (paragraph.hasAttribute("fo:margin-top"))
            look.above = paragraph.attribute("fo:margin-top").chopped(2).toDouble();
        if (paragraph.hasAttribute("fo:margin-bottom"))
            look.below = paragraph.attribute("fo:margin-bottom").chopped(2).toDouble();
        if (paragraph.hasAttribute("fo:line-height"))
            look.line = paragraph.attribute("fo:line-height").chopped(1).toDouble() / 100;
        look.keep |= paragraph.attribute("fo:keep-with-next") == "always";
        look.centred |= paragraph.attribute("fo:text-align") == "center";
        look.bold |= text.attribute("fo:font-weight") == "bold";
        if (text.hasAttribute("fo:font-size"))
            look.points = text.attribute("fo:font-size").chopped(2).toDouble();
    }
    return look;
}

} // namespace

class TestExport : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void package();
    void textFileLinesInOrder_data();
    void textFileLinesInOrder();
    void headings();
    void instructions_data();
    void instructions();
    void tables_data();
    void tables();
    void pictures();
    void unicodeHorizon();
    void typedHorizonKeepsXmlValid_data();
    void typedHorizonKeepsXmlValid();
    void unwritablePath();
    void walkOverTheOutline_data();
    void walkOverTheOutline();
    void instructionsAmongFixedWords_data();
    void instructionsAmongFixedWords();
    void bothDocumentsLookAlike_data();
    void bothDocumentsLookAlike();
    void matrixPicture_data();
    void matrixPicture();
    void pictureKeepsItsShapeInAnyBox();
};

// The type first and stored, then every file the manifest names.
void TestExport::package() {
    const Exported e = exportDocument(markedModel());
    QVERIFY(e.raw.startsWith("PK\x03\x04"));
    QCOMPARE(qFromLittleEndian<quint16>(e.raw.constData() + 8), quint16(0));  // stored
    QCOMPARE(qFromLittleEndian<quint16>(e.raw.constData() + 26), quint16(8)); // name length
    QCOMPARE(qFromLittleEndian<quint16>(e.raw.constData() + 28), quint16(0)); // no extra field
    QCOMPARE(e.raw.mid(30, 8), QByteArray("mimetype"));
    QCOMPARE(e.raw.mid(38, MimeType.size()), MimeType.toLatin1());

    QCOMPARE(e.package.entries,
             QStringList({"mimetype", "content.xml", "styles.xml", "meta.xml",
                          "Pictures/future.png", "Pictures/impacts.png", "META-INF/manifest.xml"}));
    QDomDocument manifest;
    QVERIFY(manifest.setContent(e.package.files["META-INF/manifest.xml"]));
    QMap<QString, QString> listed;
    const QDomNodeList entries = manifest.elementsByTagName("manifest:file-entry");
    for (int i = 0; i < entries.size(); ++i)
        listed.insert(entries.at(i).toElement().attribute("manifest:full-path"),
                      entries.at(i).toElement().attribute("manifest:media-type"));
    QCOMPARE(listed.value("/"), MimeType);
    for (const QString &entry : e.package.entries.mid(1, 5))
        QCOMPARE(listed.value(entry), entry.endsWith(".png") ? "image/png" : "text/xml");
    QCOMPARE(listed.size(), 6);

    QVERIFY(e.content.wellFormed);
    for (const char *name : {"styles.xml", "meta.xml"})
        QVERIFY2(QDomDocument().setContent(e.package.files[name]), name);
    QVERIFY(e.package.files["meta.xml"].contains("<dc:title>Study proposal until 2030</dc:title>"));
}

void TestExport::textFileLinesInOrder_data() {
    QTest::addColumn<Model>("model");
    QTest::newRow("frame and grain only") << fixtures::saveableModel();
    QTest::newRow("marked") << markedModel();
    QTest::newRow("crowded") << fixtures::crowdedModel();
    QTest::newRow("spaces and a tab in the horizon")
        << withHorizon(markedModel(), QStringLiteral("  20  30\t"));
}

// Every line of the text file is a heading or paragraph, in order, spaces and tabs kept;
// left out are only the empty lines, the instructions to format by hand and the tables'
// text rows.
void TestExport::textFileLinesInOrder() {
    QFETCH(Model, model);
    const QStringList lines = fixtures::splitCrLf(
        proposal::studyProposalText(model, impacts::resolutionStatement(model), Date));
    QStringList expected;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].startsWith(u"<start selecting"))
            i += 7; // the header row and a row per aspect follow
        else if (!lines[i].isEmpty() && !FormattingLines.contains(lines[i]))
            expected.append(lines[i]);
    }
    const Exported e = exportDocument(model);
    QCOMPARE(e.content.paragraphTexts(), expected);
}

void TestExport::headings() {
    const Exported e = exportDocument(markedModel());
    QStringList headings;
    for (const odt::Item &item : e.content.items)
        if (item.kind == odt::Item::Heading)
            headings.append(QStringLiteral("%1 %2 %3").arg(item.level).arg(item.style, item.text));
    QCOMPARE(headings, QStringList({
                           "1 Heading_20_1 1 OBJECT OF STUDY AND ITS CONTEXT",
                           "2 Heading_20_2 1.1 OBJECT OF MY STUDY",
                           "2 Heading_20_2 1.2 PROBABLE FUTURE CONTEXT: FIELD OF PROBLEMS",
                           "2 Heading_20_2 1.3 DESIRED IMPACTS OF MY STUDY: FIELD OF AIMS",
                           "2 Heading_20_2 1.4 MY DESIGNERLY REFERENCES: FIELD OF MEANS",
                           "2 Heading_20_2 1.5 MY PORTFOLIO AND PERSPECTIVE: FIELD OF ABILITIES",
                           "1 Heading_20_1 2 MY STUDY PROPOSAL",
                           "2 Heading_20_2 2.1 LOCATION AND OTHER FUTURE CONTEXT FACTORS",
                           "2 Heading_20_2 2.2 MOTIVATION OR PROGRAMME OF REQUIREMENTS",
                           "2 Heading_20_2 2.3 INTENDED RESULTS, CONTRIBUTIONS AND PLANNING",
                           "1 Heading_20_1 3 ACCOUNTS",
                           "2 Heading_20_2 3.1 MEETING CRITERIA FOR A STUDY PROPOSAL",
                           "3 Heading_20_3 A Affinity with designing.",
                           "3 Heading_20_3 B University latitude.",
                           "3 Heading_20_3 C Concept formation and transferability.",
                           "3 Heading_20_3 D Retrievability and Accumulating capacity.",
                           "3 Heading_20_3 E Methodical accountability and depth.",
                           "3 Heading_20_3 F Ability to be criticised and to criticise.",
                           "3 Heading_20_3 G Convergence and limitations.",
                           "2 Heading_20_2 3.2 REFERENCES",
                           "2 Heading_20_2 3.3 KEY WORDS",
                       }));
    // The headings carry their numbers in their words: the outline adds none.
    const QByteArray styles = e.package.files["styles.xml"];
    QVERIFY(styles.contains("<text:outline-level-style text:level=\"1\" style:num-format=\"\"/>"));
    const qsizetype contents = e.content.indexOf(odt::Item::Paragraph, "CONTENTS");
    QVERIFY(contents >= 0);
    QCOMPARE(e.content.items[contents].style, "Contents_20_Heading");
}

void TestExport::instructions_data() {
    QTest::addColumn<QString>("startsWith");
    QTest::addColumn<QStringList>("marked");
    QTest::newRow("title") << "<author's"
                           << QStringList{"<author's last name, first name or initials and "
                                          "prefix>",
                                          "<TITLE>"};
    QTest::newRow("a whole line") << "<explain here"
                                  << QStringList{"<explain here how the expected future could "
                                                 "give problems partly to be solved by your "
                                                 "study>"};
    QTest::newRow("after words") << "key words: "
                                 << QStringList{"<describe possibly useful methods for your "
                                                "study; change next lines as reminders into "
                                                "your own words>"};
    QTest::newRow("a reference") << "Aalders"
                                 << QStringList{"<describe in key words why you choose this "
                                                "title>"};
    QTest::newRow("a scale name is no instruction") << "The object of study" << QStringList{};
    QTest::newRow("a sentence") << "Previous public examples" << QStringList{};
}

// What the student still has to replace stands apart, in a style of its own; nothing else.
void TestExport::instructions() {
    QFETCH(QString, startsWith);
    QFETCH(QStringList, marked);
    Model model = markedModel();
    model.impactGrid(MassAspect, 13) = NotAffected;
    model.impactGrid(MassAspect, 22) = Grain; // Submaterial(<1mm)
    const Exported e = exportDocument(model);
    const auto found =
        std::find_if(e.content.items.begin(), e.content.items.end(),
                     [&](const odt::Item &item) { return item.text.startsWith(startsWith); });
    QVERIFY(found != e.content.items.end());
    QCOMPARE(found->instructions, marked);

    // Outside the marked pieces no "<...>" is left in any paragraph.
    const QRegularExpression bracketed(QStringLiteral("<[^<>]*>"));
    for (odt::Item item : e.content.items) {
        for (const QString &instruction : item.instructions)
            item.text.remove(instruction);
        QVERIFY2(!bracketed.match(item.text).hasMatch(), qPrintable(item.text));
    }
    const QByteArray styles = e.package.files["styles.xml"];
    QVERIFY(styles.contains("style:name=\"Instruction\" style:family=\"text\""));
}

void TestExport::tables_data() {
    QTest::addColumn<int>("which");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("marks"); // "aspect scale symbol"
    QTest::newRow("Future") << int(MatrixKind::Future) << "Future 2030"
                            << QStringList{"3 8 +", "3 9 -", "3 13 +", "4 2 x", "6 22 C"};
    QTest::newRow("Impacts") << int(MatrixKind::Impacts) << "Impacts 2030"
                             << QStringList{"1 20 I", "3 9 P", "3 10 I",
                                            "5 8 P",  "6 8 O", "6 13 o"};
}

// A header row of upright scale names, a row per aspect in its colour, the symbols centred at
// their aspect and scale, and the columns within the 17 cm between the margins.
void TestExport::tables() {
    QFETCH(int, which);
    QFETCH(QString, caption);
    QFETCH(QStringList, marks);
    const Model model = markedModel();
    const Exported e = exportDocument(model);
    QCOMPARE(e.content.tables.size(), 2);
    const odt::Table &table = e.content.tables[which];
    QCOMPARE(table.name, which == 0 ? "Future" : "Impacts");
    QCOMPARE(table.headerRows, 1);
    QCOMPARE(table.rows.size(), 7);

    QCOMPARE(table.columnStyles.size(), 23);
    double width = 0;
    for (const QString &column : table.columnStyles)
        width += e.content.styles[column]["style:column-width"].chopped(2).toDouble();
    QVERIFY2(width <= 17.0, qPrintable(QString::number(width)));

    const QList<odt::Cell> &header = table.rows[0];
    QCOMPARE(header.size(), 23);
    QCOMPARE(header[0].text, caption);
    for (int s = 1; s <= ScaleCount; ++s) {
        QCOMPARE(header[s].text, model.scaleNames[s]);
        QCOMPARE(e.content.styles[header[s].paragraphStyle]["style:text-rotation-angle"], "90");
    }
    for (int a = 1; a <= AspectCount; ++a) {
        const QList<odt::Cell> &row = table.rows[a];
        QCOMPARE(row.size(), 23);
        QCOMPARE(row[0].text, model.aspectNames[a]);
        for (int s = 0; s <= ScaleCount; ++s) {
            const QString background = e.content.styles[row[s].style]["fo:background-color"];
            QCOMPARE(QColor(background), AspectColours[a]);
            QString symbol;
            for (const QString &mark : marks)
                if (mark.startsWith(QStringLiteral("%1 %2 ").arg(a).arg(s)))
                    symbol = mark.section(u' ', 2);
            if (s == 0)
                continue;
            QCOMPARE(row[s].text, symbol);
            QCOMPARE(e.content.styles[row[s].paragraphStyle]["fo:text-align"], "center");
        }
    }
}

// Each matrix as a picture at its chapter, ahead of its table, sharp enough for print.
void TestExport::pictures() {
    const Model model = markedModel();
    const Exported e = exportDocument(model);
    const odt::Content &c = e.content;
    struct Expected {
        QString href, after, before;
        MatrixKind which;
    };
    const Expected expected[] = {
        {"Pictures/future.png", "1.2 PROBABLE FUTURE CONTEXT: FIELD OF PROBLEMS",
         "1.3 DESIRED IMPACTS OF MY STUDY: FIELD OF AIMS", MatrixKind::Future},
        {"Pictures/impacts.png", "1.3 DESIRED IMPACTS OF MY STUDY: FIELD OF AIMS",
         "1.4 MY DESIGNERLY REFERENCES: FIELD OF MEANS", MatrixKind::Impacts},
    };
    for (const Expected &picture : expected) {
        qsizetype at = -1;
        for (qsizetype i = 0; i < c.items.size(); ++i)
            if (c.items[i].kind == odt::Item::Picture && c.items[i].href == picture.href)
                at = i;
        QVERIFY2(at >= 0, qPrintable(picture.href));
        QVERIFY(c.indexOf(odt::Item::Heading, picture.after) < at);
        QVERIFY(at < c.indexOf(odt::Item::Heading, picture.before));
        QCOMPARE(c.items[at + 1].kind, odt::Item::Table);

        const double widthCm = c.items[at].widthCm;
        QVERIFY(widthCm > 10 && widthCm <= 17);
        const QImage image = QImage::fromData(e.package.files[picture.href], "PNG");
        QVERIFY(!image.isNull());
        QVERIFY2(image.width() / (widthCm / 2.54) >= 299.5,
                 qPrintable(QString::number(image.width())));
        // The row colours and the cue, where the picture drawn at its natural size has them.
        const double factor = image.width() / proposal::matrixPictureSize().width();
        for (int a = 1; a <= AspectCount; ++a)
            QCOMPARE(image.pixelColor(cellCentre(a, 15, factor)), AspectColours[a]);
        QCOMPARE(image.pixelColor(cellCentre(1, 20, factor) + QPoint(0, qRound(8 * factor))),
                 picture.which == MatrixKind::Future ? QColor(Qt::black) : AspectColours[1]);
    }
}

// A horizon in any script comes out as typed: in the sentence, both table captions and the
// title of the document.
void TestExport::unicodeHorizon() {
    const QString horizon = QStringLiteral("Ορίζοντας 2050 年");
    const Exported e = exportDocument(withHorizon(markedModel(), horizon));
    QVERIFY(e.content.paragraphTexts().contains(
        "My assumptions about the probable future context of the object of study until " + horizon +
        " are:"));
    QCOMPARE(e.content.tables[0].rows[0][0].text, "Future " + horizon);
    QCOMPARE(e.content.tables[1].rows[0][0].text, "Impacts " + horizon);
    QVERIFY(e.package.files["meta.xml"].contains(("Study proposal until " + horizon).toUtf8()));

    // Characters XML cannot hold are left out rather than making the document unreadable.
    const Exported control = exportDocument(withHorizon(markedModel(), QStringLiteral("20\x01"
                                                                                      "30")));
    QVERIFY(control.content.wellFormed);
    QCOMPARE(control.content.tables[0].rows[0][0].text, "Future 2030");
}

void TestExport::typedHorizonKeepsXmlValid_data() {
    QTest::addColumn<QString>("horizon");
    QTest::addColumn<QString>("kept");
    const QString high(QChar(0xD83D)), low(QChar(0xDE00));
    QTest::newRow("surrogate pair") << "2030 " + high + low << "2030 " + high + low;
    QTest::newRow("repeated spaces and a tab") << "  20  30\t"
                                               << "  20  30\t";
    QTest::newRow("control character") << "20\x01 30"
                                       << "20 30";
    QTest::newRow("lone high surrogate") << "20" + high + "30"
                                         << "2030";
    QTest::newRow("lone low surrogate") << "20" + low + "30"
                                        << "2030";
    QTest::newRow("high surrogate last") << "2030" + high << "2030";
    QTest::newRow("non-characters") << "20" + QString(QChar(0xFFFE)) + QChar(0xFFFF) + "30"
                                    << "2030";
}

// Whatever the horizon holds, every part of both documents stays well-formed, and the titles
// of the document and its first picture hold its words as plain text, less only what XML
// cannot hold.
void TestExport::typedHorizonKeepsXmlValid() {
    QFETCH(QString, horizon);
    QFETCH(QString, kept);
    const Model model = withHorizon(markedModel(), horizon);
    const QString pictureTitle = "Probable future until " + kept;
    const QString documentTitle = "Study proposal until " + kept;
    // The XML parts that parse, by name.
    const auto parts = [](const auto &write, const Model &model) {
        QByteArray raw;
        QBuffer device(&raw);
        device.open(QIODevice::WriteOnly);
        QString error;
        if (!write(device, model, Date, &error))
            qWarning("%s", qPrintable(error));
        QMap<QString, QDomDocument> parsed;
        const odt::Package package = odt::readPackage(raw);
        for (const QString &entry : package.entries) {
            if (entry.endsWith(u".xml") || entry.endsWith(u".rels")) {
                QDomDocument part;
                if (QString reason; part.setContent(package.files[entry], &reason))
                    parsed.insert(entry, part);
                else
                    qWarning("%s: %s", qPrintable(entry), qPrintable(reason));
            }
        }
        return parsed;
    };
    // The text of the first `tag`, which must hold no markup.
    const auto plainText = [](const QDomDocument &part, const QString &tag) {
        const QDomElement element = part.elementsByTagName(tag).at(0).toElement();
        return element.firstChildElement().isNull() ? element.text() : "<markup>";
    };

    const QMap<QString, QDomDocument> odt = parts(proposal::writeOpenDocument, model);
    QCOMPARE(odt.keys(),
             QStringList({"META-INF/manifest.xml", "content.xml", "meta.xml", "styles.xml"}));
    QCOMPARE(plainText(odt["content.xml"], "svg:title"), pictureTitle);
    QCOMPARE(plainText(odt["meta.xml"], "dc:title"), documentTitle);

    const QMap<QString, QDomDocument> docx = parts(proposal::writeWordDocument, model);
    QCOMPARE(docx.size(), 7); // all but the pictures
    const QDomElement picture =
        docx["word/document.xml"].elementsByTagName("wp:docPr").at(0).toElement();
    QCOMPARE(picture.attribute("title"), pictureTitle);
    QCOMPARE(plainText(docx["docProps/core.xml"], "dc:title"), documentTitle);
}

void TestExport::unwritablePath() {
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("no/such/folder/"));
    const Model model = markedModel();
    for (const auto &[name, format] : {std::pair{"a.odt", proposal::StudyFormat::OpenDocument},
                                       std::pair{"a.pdf", proposal::StudyFormat::MatricesPdf}}) {
        QString error;
        QVERIFY(!proposal::saveStudy(missing + name, format, model, &error));
        QVERIFY(!error.isEmpty());
    }
    QVERIFY(QDir(dir.path()).isEmpty());
}

void TestExport::walkOverTheOutline_data() {
    QTest::addColumn<QStringList>("blocks");
    QTest::addColumn<QStringList>("calls");
    QTest::newRow("space after an empty line")
        << QStringList{"Paragraph a", "Paragraph", "Paragraph b"}
        << QStringList{"Body", "plain[a]", "end", "Spaced", "plain[b]", "end"};
    QTest::newRow("an instruction to format by hand ends the space")
        << QStringList{"Paragraph", "Formatting x", "Paragraph b"}
        << QStringList{"Body", "plain[b]", "end"};
    QTest::newRow("a heading ends it")
        << QStringList{"Paragraph", "Heading2 h", "Paragraph b"}
        << QStringList{"Heading2", "plain[h]", "end", "Body", "plain[b]", "end"};
    QTest::newRow("an empty title is an empty line")
        << QStringList{"Title", "Paragraph b"} << QStringList{"Spaced", "plain[b]", "end"};
    QTest::newRow("only a paragraph takes space")
        << QStringList{"Paragraph", "Legend l",  "Paragraph",
                       "Title t",   "Paragraph", "ContentsTitle c"}
        << QStringList{"Legend", "plain[l]",      "end",      "Title", "plain[t]",
                       "end",    "ContentsTitle", "plain[c]", "end"};
    QTest::newRow("heading levels within 1 to 3")
        << QStringList{"Heading0 a", "Heading7 b", "Heading3"}
        << QStringList{"Heading1", "plain[a]", "end",      "Heading3",
                       "plain[b]", "end",      "Heading3", "end"};
    QTest::newRow("a picture with its title")
        << QStringList{"Picture"}
        << QStringList{"MatrixPicture", "picture Future: Probable future until 2030", "end"};
    QTest::newRow("a table's cells") << QStringList{"Table Future 2030|a/x|+"}
                                     << QStringList{"table Future 2x2",
                                                    "MatrixCaption",
                                                    "data[Future 2030]",
                                                    "end",
                                                    "MatrixScale",
                                                    "data[a]",
                                                    "end",
                                                    "MatrixAspect",
                                                    "data[x]",
                                                    "end",
                                                    "MatrixSymbol",
                                                    "data[+]",
                                                    "end"};
}

// The blocks a document shows, each in its kind of paragraph, an empty line as space above
// the paragraph after it.
void TestExport::walkOverTheOutline() {
    QFETCH(QStringList, blocks);
    QFETCH(QStringList, calls);
    QStringList words;
    const proposal::Outline outline = outlineOf(blocks, words);
    RecordingFormat format;
    proposal::parts::writeBody({fixtures::workedExample(), outline, {}}, format);
    QCOMPARE(format.calls, calls);
}

void TestExport::instructionsAmongFixedWords_data() {
    QTest::addColumn<QString>("words");
    QTest::addColumn<QStringList>("calls");
    QTest::newRow("none") << "plain words" << QStringList{"plain[plain words]"};
    QTest::newRow("no words") << "" << QStringList{"plain[]"};
    QTest::newRow("in between") << "a <b> c"
                                << QStringList{"plain[a ]", "instruction[<b>]", "plain[ c]"};
    QTest::newRow("nested") << "<b <c> d>"
                            << QStringList{"plain[]", "instruction[<b <c> d>]", "plain[]"};
    QTest::newRow("one after another")
        << "<a><b>"
        << QStringList{"plain[]", "instruction[<a>]", "plain[]", "instruction[<b>]", "plain[]"};
    QTest::newRow("unmatched brackets") << "a > b <c" << QStringList{"plain[a > b <c]"};
}

// "<...>" among the program's words, nested brackets included, is an instruction to replace.
void TestExport::instructionsAmongFixedWords() {
    QFETCH(QString, words);
    QFETCH(QStringList, calls);
    RecordingFormat format;
    const Piece piece{words, Piece::Fixed};
    format.paragraph(look::Body, {&piece, 1});
    QCOMPARE(format.calls.mid(1, format.calls.size() - 2), calls);
}

void TestExport::bothDocumentsLookAlike_data() {
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("openDocument");
    const std::pair<const char *, const char *> styles[] = {{"BodyText", "Text_20_body"},
                                                            {"Spaced", "Spaced"},
                                                            {"Legend", "Legend"},
                                                            {"Heading1", "Heading_20_1"},
                                                            {"Heading2", "Heading_20_2"},
                                                            {"Heading3", "Heading_20_3"},
                                                            {"Title", "Title"},
                                                            {"TOCHeading", "Contents_20_Heading"},
                                                            {"MatrixCaption", "Matrix_Caption"},
                                                            {"MatrixScale", "Matrix_Scale"},
                                                            {"MatrixAspect", "Matrix_Aspect"},
                                                            {"MatrixSymbol", "Matrix_Symbol"},
                                                            {"MatrixPicture", "Matrix_Picture"}};
    for (const auto &[word, openDocument] : styles)
        QTest::newRow(word) << word << openDocument;
}

// Each kind of paragraph has the same space, lines and type in the Word document as in the
// OpenDocument text, whatever each inherits from where.
void TestExport::bothDocumentsLookAlike() {
    QFETCH(QString, word);
    QFETCH(QString, openDocument);
    const auto parts = [](const auto &write) {
        QByteArray raw;
        QBuffer device(&raw);
        device.open(QIODevice::WriteOnly);
        write(device, markedModel(), Date, nullptr);
        return odt::readPackage(raw).files;
    };
    const auto dom = [](const QByteArray &xml) {
        QDomDocument document;
        document.setContent(xml);
        return document;
    };
    const QMap<QString, QByteArray> docx = parts(proposal::writeWordDocument);
    const QMap<QString, QByteArray> odt = parts(proposal::writeOpenDocument);
    const Look w = wordLook(dom(docx["word/styles.xml"]), word);
    const Look o = openDocumentLook(dom(odt["styles.xml"]), dom(odt["content.xml"]), openDocument);
    QVERIFY2(qAbs(w.above - o.above) < 0.01, qPrintable(QString::number(w.above)));
    QVERIFY2(qAbs(w.below - o.below) < 0.01, qPrintable(QString::number(w.below)));
    QCOMPARE(w.line, o.line);
    QCOMPARE(w.centred, o.centred);
    QCOMPARE(w.bold, o.bold);
    QCOMPARE(w.points, o.points);
    QEXPECT_FAIL("MatrixPicture", "only Word keeps the picture with its table", Continue);
    QCOMPARE(w.keep, o.keep);
}

void TestExport::matrixPicture_data() {
    QTest::addColumn<int>("which");
    QTest::addColumn<double>("factor");
    QTest::newRow("Future, window size") << int(MatrixKind::Future) << 1.0;
    QTest::newRow("Future, for print") << int(MatrixKind::Future) << 3.0;
    QTest::newRow("Impacts, window size") << int(MatrixKind::Impacts) << 1.0;
    QTest::newRow("Impacts, for print") << int(MatrixKind::Impacts) << 3.0;
}

// Every cell in its row colour, a caption exactly where a mark is, the black cue only in
// Future where an impact meets no trend.
void TestExport::matrixPicture() {
    QFETCH(int, which);
    QFETCH(double, factor);
    const Model model = markedModel();
    const MatrixKind kind = MatrixKind(which);
    const QImage image = pictureOf(model, kind, factor);
    const Grid &grid = kind == MatrixKind::Future ? model.futureGrid : model.impactGrid;
    for (int a = 1; a <= AspectCount; ++a) {
        for (int s = 1; s <= ScaleCount; ++s) {
            const bool cue = kind == MatrixKind::Future && showsImpactCue(model, a, s);
            const QPoint centre = cellCentre(a, s, factor);
            const QString where = QStringLiteral("aspect %1 scale %2").arg(a).arg(s);
            const int ink = inkAround(image, centre, qRound(5 * factor));
            if (cue) {
                QCOMPARE(image.pixelColor(centre), QColor(Qt::black));
            } else if (grid(a, s) == 0) {
                QVERIFY2(ink == 0, qPrintable(where));
                QCOMPARE(image.pixelColor(centre + QPoint(0, qRound(8 * factor))),
                         AspectColours[a]);
            } else {
                QVERIFY2(ink > 0, qPrintable(where));
            }
        }
    }
}

// A box of another shape gets the whole picture, centred, never stretched.
void TestExport::pictureKeepsItsShapeInAnyBox() {
    const QSizeF natural = proposal::matrixPictureSize();
    QVERIFY(natural.width() > natural.height());
    QImage image(int(natural.width()), int(natural.height()) * 2, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    proposal::paintMatrix(painter, QRectF(image.rect()), markedModel(), MatrixKind::Impacts);
    painter.end();
    const int offset = qRound((image.height() - natural.height()) / 2);
    QCOMPARE(image.pixelColor(cellCentre(6, 1) + QPoint(0, offset)), AspectColours[6]);
    QCOMPARE(image.pixelColor(QPoint(image.width() / 2, offset / 2)), QColor(Qt::white));
}

QTEST_MAIN(TestExport)
#include "tst_export.moc"
