#include "assets.h"

#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QPdfWriter>
#include <QTest>
#include <QXmlStreamReader>

#include <algorithm>
#include <vector>

namespace {

// The chart is shown stretched to this box; the matrix column j is centred
// at x = 145 + 24 j within it.
constexpr int ShownW = 656;
constexpr int ShownH = 265;
constexpr int ColumnCount = 22;
constexpr double ColumnX0 = 145;
constexpr int Pitch = 24;
constexpr int FirstLetterY = 178;

// The chart drawn into box inside a transparent image of the given size.
QImage drawnChart(QSize size, const QRectF &box) {
    QImage img(size, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    sp::paintScaleChart(p, box);
    return img;
}

const QImage &shownChart() {
    static const QImage img = drawnChart(QSize(ShownW, ShownH), QRectF(0, 0, ShownW, ShownH));
    return img;
}

bool inked(const QImage &img, int x, int y) {
    return qAlpha(img.pixel(x, y)) > 0;
}

struct Run {
    int first;
    int last;
    double centre() const { return (first + last + 1) / 2.0; }
};

// Horizontal runs of columns holding ink anywhere in rows top..bottom, for x >= from.
std::vector<Run> inkRuns(const QImage &img, int top, int bottom, int from) {
    std::vector<Run> runs;
    bool open = false;
    for (int x = from; x < img.width(); ++x) {
        bool any = false;
        for (int y = top; y <= bottom && !any; ++y)
            any = inked(img, x, y);
        if (any && !open)
            runs.push_back({x, x});
        if (any)
            runs.back().last = x;
        open = any;
    }
    return runs;
}

const QColor Frame(128, 128, 128);
const QList<QColor> FutureBands{{231, 0, 0},    {234, 160, 28}, {237, 237, 56},
                                {215, 240, 84}, {178, 207, 0},  {0, 138, 183}};
QList<QColor> impactsBands() {
    QList<QColor> bands = FutureBands;
    bands[3] = QColor(225, 246, 140);
    return bands;
}

} // namespace

class TestAssets : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void chartFillsTheBoxItIsGiven_data();
    void chartFillsTheBoxItIsGiven();
    void chartPrintsAsVectorsWithoutFonts();
    void chartColumnsSitOverMatrixColumns_data();
    void chartColumnsSitOverMatrixColumns();
    void headingsStartOnOneLine();
    void radiusRowMarksItsColumns();
    void chartLeavesCoveredCornerBlank();
    void chartIsBlackOnTransparent();
    void headingsStayInsideThePicture();
    void iconBandsAndFrame_data();
    void iconBandsAndFrame();
    void iconSizesAreTheGridScaled_data();
    void iconSizesAreTheGridScaled();
    void windowIconStopsAt64_data();
    void windowIconStopsAt64();
    void windowsIconHoldsItsSizes_data();
    void windowsIconHoldsItsSizes();
    void scalableIconMatchesPixelIcon_data();
    void scalableIconMatchesPixelIcon();
    void iconsDiffer();
};

void TestAssets::chartFillsTheBoxItIsGiven_data() {
    QTest::addColumn<QRectF>("box");
    QTest::addColumn<int>("scale");
    // Where future print code or a window of another pixel density would draw it.
    QTest::newRow("moved") << QRectF(40, 30, ShownW, ShownH) << 1;
    QTest::newRow("double density") << QRectF(0, 0, 2 * ShownW, 2 * ShownH) << 2;
    QTest::newRow("triple density") << QRectF(0, 0, 3 * ShownW, 3 * ShownH) << 3;
}

void TestAssets::chartFillsTheBoxItIsGiven() {
    // Each shown pixel's share of ink equals that of the pixels it covers in the box, up to
    // the anti-aliasing of edges at a higher density: the same picture, stretched.
    QFETCH(QRectF, box);
    QFETCH(int, scale);
    const QImage img = drawnChart(QSize(int(box.right()), int(box.bottom())), box);
    long total = 0;
    for (int y = 0; y < ShownH; ++y)
        for (int x = 0; x < ShownW; ++x) {
            int alpha = 0;
            for (int dy = 0; dy < scale; ++dy)
                for (int dx = 0; dx < scale; ++dx)
                    alpha += qAlpha(img.pixel(int(box.left()) + scale * x + dx,
                                              int(box.top()) + scale * y + dy));
            total += qAbs(alpha / (scale * scale) - qAlpha(shownChart().pixel(x, y)));
        }
    const double mean = double(total) / ShownW / ShownH;
    if (scale == 1) // moved by whole pixels, it is the same image
        QCOMPARE(mean, 0.0);
    QVERIFY2(mean < 1, qPrintable(QStringLiteral("mean difference %1").arg(mean)));
}

void TestAssets::chartPrintsAsVectorsWithoutFonts() {
    // Its words are glyph outlines: it looks the same whatever fonts are installed, and in
    // print it is drawn as paths, sharp at any resolution, not text or a picture.
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageOrientation(QPageLayout::Landscape);
        QPainter painter(&writer);
        const QRect page = painter.viewport();
        sp::paintScaleChart(
            painter, QRectF(page.topLeft(), QSizeF(page.width(), page.width() * ShownH / ShownW)));
    }
    const QByteArray bytes = pdf.data();
    QVERIFY(bytes.startsWith("%PDF"));
    QVERIFY2(!bytes.contains("/BaseFont"), "the chart prints text");
    QVERIFY2(!bytes.contains("/Subtype /Image"), "the chart prints a picture");
    QVERIFY(bytes.size() > 20000); // an empty page takes about 1 kB
}

void TestAssets::chartColumnsSitOverMatrixColumns_data() {
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("bottom");
    // Rows of the picture in which every column has ink of its own and nothing else.
    QTest::newRow("headings") << 0 << FirstLetterY - 1;
    QTest::newRow("radii") << 236 << ShownH - 1;
}

void TestAssets::chartColumnsSitOverMatrixColumns() {
    QFETCH(int, top);
    QFETCH(int, bottom);
    const QImage &img = shownChart();
    // Start at the left edge of the first cell; the row titles lie further left.
    const std::vector<Run> runs = inkRuns(img, top, bottom, int(ColumnX0) - 12);
    QCOMPARE(int(runs.size()), ColumnCount);
    for (int j = 0; j < ColumnCount; ++j) {
        const double centre = ColumnX0 + Pitch * j;
        const Run &r = runs[j];
        QVERIFY2(qAbs(r.centre() - centre) <= 1.5,
                 qPrintable(QStringLiteral("column %1 ink %2..%3, centre %4, wanted %5")
                                .arg(j + 1)
                                .arg(r.first)
                                .arg(r.last)
                                .arg(r.centre())
                                .arg(centre)));
        // Inside the cell below it (25 px wide) and legible, not a hairline.
        QVERIFY2(r.first >= centre - 12 && r.last < centre + 12,
                 qPrintable(QStringLiteral("column %1 leaves its cell").arg(j + 1)));
        QVERIFY2(r.last - r.first + 1 >= 8,
                 qPrintable(QStringLiteral("column %1 is too thin").arg(j + 1)));
    }
}

void TestAssets::headingsStartOnOneLine() {
    // Read from bottom to top, so the lowest ink of each heading is its first letter.
    const QImage &img = shownChart();
    for (const Run &r : inkRuns(img, 0, FirstLetterY - 1, int(ColumnX0) - 12)) {
        int lowest = -1;
        for (int y = 0; y < FirstLetterY + 8; ++y)
            for (int x = r.first; x <= r.last; ++x)
                if (inked(img, x, y))
                    lowest = y;
        QVERIFY2(
            lowest >= FirstLetterY - 3 && lowest <= FirstLetterY,
            qPrintable(QStringLiteral("heading at x %1 starts at y %2").arg(r.first).arg(lowest)));
    }
}

void TestAssets::radiusRowMarksItsColumns() {
    // Between the note and the radii: km over column 9, then the three curves
    // over columns 12 to 14, whose outer tails may reach 4 px past the cells
    // beside them, and m over column 15; nothing over the other columns.
    const QImage &img = shownChart();
    const int top = 197, bottom = 233, baseline = 224;
    const int curvesFrom = int(ColumnX0) + Pitch * 11 - 16;
    auto cellOf = [](int x) { return int((x - ColumnX0 + 12) / Pitch) + 1; };
    for (int y = top; y <= bottom; ++y)
        for (int x = int(ColumnX0) - 12; x < img.width(); ++x) {
            if (!inked(img, x, y))
                continue;
            const int cell = cellOf(x);
            QVERIFY2(
                cell == 9 || (x >= curvesFrom && cell <= 15),
                qPrintable(QStringLiteral("ink over column %1 at %2,%3").arg(cell).arg(x).arg(y)));
        }
    // The units are narrow; look at 8 px either side, clear of the curves' tails.
    for (int column : {9, 15}) {
        const int centre = int(ColumnX0) + Pitch * (column - 1);
        const QImage around = img.copy(centre - 8, top, 16, bottom - top + 1);
        const std::vector<Run> runs = inkRuns(around, 0, around.height() - 1, 0);
        QCOMPARE(int(runs.size()), 1);
        QVERIFY(runs[0].first > 0 && runs[0].last < around.width() - 1);
        QVERIFY2(qAbs(runs[0].centre() - 8) <= 1.5,
                 qPrintable(QStringLiteral("unit over column %1 off by %2")
                                .arg(column)
                                .arg(runs[0].centre() - 8)));
    }
    // The middle curve is filled, the outer two are outlines.
    const int inside = baseline - 4;
    QCOMPARE(qAlpha(img.pixel(int(ColumnX0) + Pitch * 12, inside)), 255);
    QVERIFY(!inked(img, int(ColumnX0) + Pitch * 11, inside));
    QVERIFY(!inked(img, int(ColumnX0) + Pitch * 13, inside));
}

void TestAssets::chartLeavesCoveredCornerBlank() {
    // The time horizon box and its label (or the year) are laid over this corner.
    const QImage &img = shownChart();
    for (int y = 0; y <= 85; ++y)
        for (int x = 0; x <= 130; ++x)
            QVERIFY2(!inked(img, x, y), qPrintable(QStringLiteral("ink at %1,%2").arg(x).arg(y)));
}

void TestAssets::chartIsBlackOnTransparent() {
    const QImage &img = shownChart();
    int ink = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QRgb px = img.pixel(x, y);
            if (qAlpha(px) == 0)
                continue;
            ++ink;
            QVERIFY2(qRed(px) < 64 && qGreen(px) < 64 && qBlue(px) < 64,
                     qPrintable(QStringLiteral("light pixel at %1,%2").arg(x).arg(y)));
        }
    // Some of the picture is drawn, most of it lets the window show through.
    const int all = img.width() * img.height();
    QVERIFY(ink > all / 20);
    QVERIFY(ink < all / 3);
}

void TestAssets::headingsStayInsideThePicture() {
    const QImage &img = shownChart();
    for (int x = 0; x < img.width(); ++x) {
        QVERIFY2(!inked(img, x, 0), qPrintable(QStringLiteral("ink on top edge at %1").arg(x)));
        QVERIFY2(!inked(img, x, 1), qPrintable(QStringLiteral("ink on top edge at %1").arg(x)));
    }
    for (int y = 0; y < img.height(); ++y)
        QVERIFY2(!inked(img, img.width() - 1, y),
                 qPrintable(QStringLiteral("ink on right edge at %1").arg(y)));
}

void TestAssets::iconBandsAndFrame_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QList<QColor>>("bands");
    QTest::newRow("future") << QStringLiteral(":/future-16.png") << FutureBands;
    QTest::newRow("impacts") << QStringLiteral(":/impacts-16.png") << impactsBands();
}

void TestAssets::iconBandsAndFrame() {
    QFETCH(QString, path);
    QFETCH(QList<QColor>, bands);
    const QImage icon(path);
    QCOMPARE(icon.size(), QSize(16, 16));
    QList<int> shownPerBand(6, 0);
    int mark = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const QColor c = icon.pixelColor(x, y);
            const bool frame = x < 2 || x > 13 || y < 2 || y > 13;
            if (frame) {
                QVERIFY2(c == Frame, qPrintable(QStringLiteral("frame at %1,%2").arg(x).arg(y)));
                continue;
            }
            const int band = (y - 2) / 2;
            if (c == QColor(Qt::black)) {
                ++mark;
            } else {
                QVERIFY2(c == bands[band], qPrintable(QStringLiteral("band %1 at %2,%3 is %4")
                                                          .arg(band)
                                                          .arg(x)
                                                          .arg(y)
                                                          .arg(c.name())));
                ++shownPerBand[band];
            }
        }
    // A letter drawn over the bands, which still show on either side of it.
    QVERIFY(mark >= 12);
    for (int band = 0; band < 6; ++band)
        QVERIFY2(shownPerBand[band] >= 8, qPrintable(QStringLiteral("band %1 hidden").arg(band)));
}

namespace {

// The icon the browser page's manifest names for a size ("192x192"), beside the others.
QString webIcon(const QString &sizes) {
    QFile file(QStringLiteral(SP_ASSETS_DIR "/web/manifest.webmanifest"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QJsonArray icons = QJsonDocument::fromJson(file.readAll())["icons"].toArray();
    for (const QJsonValue &icon : icons)
        if (icon["sizes"].toString() == sizes && icon["type"].toString() == "image/png")
            return QStringLiteral(SP_ASSETS_DIR "/") + icon["src"].toString();
    return {};
}

} // namespace

void TestAssets::iconSizesAreTheGridScaled_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("size");
    QTest::addColumn<QString>("path");
    for (const char *name : {"future", "impacts"})
        for (int size : {16, 24, 32, 48, 64, 128, 256})
            QTest::addRow("%s %d", name, size)
                << QString::fromLatin1(name) << size
                << QStringLiteral(":/%1-%2.png").arg(QLatin1String(name)).arg(size);
    // The page installed as an app: the program's icon at the sizes browsers require.
    for (int size : {192, 512})
        QTest::addRow("web app %d", size)
            << QStringLiteral("future") << size << webIcon(QStringLiteral("%1x%1").arg(size));
}

void TestAssets::iconSizesAreTheGridScaled() {
    // Without smoothing, each pixel has the colour of the 16-px pixel under its centre, so
    // every size of the icon theme and of the web app stays crisp; the window icon offers
    // each size up to 64 px as drawn.
    QFETCH(QString, name);
    QFETCH(int, size);
    QFETCH(QString, path);
    const QImage grid(QStringLiteral(":/%1-16.png").arg(name));
    const QImage icon(path);
    QVERIFY2(!icon.isNull(),
             qPrintable(QStringLiteral("no icon of %1 px at '%2'").arg(size).arg(path)));
    QCOMPARE(icon.size(), QSize(size, size));
    auto under = [size](int i) { return (2 * i + 1) * 16 / (2 * size); };
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            QVERIFY2(icon.pixel(x, y) == grid.pixel(under(x), under(y)),
                     qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
    if (size > 64)
        return;
    const QIcon windowIcon = sp::windowIcon(name);
    QVERIFY(windowIcon.availableSizes().contains(QSize(size, size)));
    QCOMPARE(windowIcon.pixmap(QSize(size, size), 1.0).toImage().convertToFormat(icon.format()),
             icon);
}

void TestAssets::windowIconStopsAt64_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("future") << QStringLiteral("future");
    QTest::newRow("impacts") << QStringLiteral("impacts");
}

void TestAssets::windowIconStopsAt64() {
    // The window system is handed every size the icon holds, and reads them all before the
    // window is mapped: the sizes of title bars and task switchers, none of a launcher's.
    QFETCH(QString, name);
    const QIcon icon = sp::windowIcon(name);
    QList<QSize> sizes = icon.availableSizes();
    std::sort(sizes.begin(), sizes.end(),
              [](const QSize &a, const QSize &b) { return a.width() < b.width(); });
    QCOMPARE(sizes, (QList<QSize>{{16, 16}, {24, 24}, {32, 32}, {48, 48}, {64, 64}}));
    // Asked for a launcher's size, it gives its largest, not a picture scaled up.
    QCOMPARE(icon.actualSize(QSize(256, 256)), QSize(64, 64));
    QCOMPARE(icon.pixmap(QSize(256, 256), 1.0).size(), QSize(64, 64));
    QVERIFY(sp::windowIcon(QStringLiteral("no such icon")).isNull());
}

void TestAssets::windowsIconHoldsItsSizes_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("future") << QStringLiteral("future");
    QTest::newRow("impacts") << QStringLiteral("impacts");
}

void TestAssets::windowsIconHoldsItsSizes() {
    // What Windows picks from for title bars, the taskbar and Explorer, each size the same
    // pixels as its PNG.
    QFETCH(QString, name);
    QFile file(QStringLiteral(SP_ASSETS_DIR "/%1.ico").arg(name));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QBuffer ico;
    ico.setData(file.readAll());
    QImageReader reader(&ico, "ico");
    QList<int> sizes;
    for (int i = 0; i < reader.imageCount(); ++i) {
        QVERIFY(reader.jumpToImage(i));
        const QImage image = reader.read();
        QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
        sizes.append(image.width());
        // Windows goes by the size in the file's directory, where 0 means 256.
        QCOMPARE(quint8(ico.data()[6 + 16 * i]), quint8(image.width() % 256));
        const QImage png(QStringLiteral(":/%1-%2.png").arg(name).arg(image.width()));
        QCOMPARE(image.convertToFormat(QImage::Format_ARGB32),
                 png.convertToFormat(QImage::Format_ARGB32));
    }
    QCOMPARE(sizes, (QList<int>{16, 24, 32, 48, 256}));
}

void TestAssets::scalableIconMatchesPixelIcon_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("future") << QStringLiteral("future");
    QTest::newRow("impacts") << QStringLiteral("impacts");
}

void TestAssets::scalableIconMatchesPixelIcon() {
    // The SVG icon desktops' icon themes show: 16 x 16 rectangles, painted in order.
    QFETCH(QString, name);
    QFile file(QStringLiteral(SP_ASSETS_DIR "/%1.svg").arg(name));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QImage drawn(16, 16, QImage::Format_ARGB32);
    drawn.fill(Qt::transparent);
    QPainter painter(&drawn);
    QXmlStreamReader svg(&file);
    int rects = 0;
    while (svg.readNextStartElement()) {
        const QXmlStreamAttributes a = svg.attributes();
        if (svg.name() == QLatin1String("svg")) {
            QCOMPARE(a.value("viewBox"), QLatin1String("0 0 16 16"));
            continue; // into its children
        }
        QCOMPARE(svg.name(), QLatin1String("rect"));
        painter.fillRect(QRect(a.value("x").toInt(), a.value("y").toInt(), a.value("width").toInt(),
                               a.value("height").toInt()),
                         QColor(a.value("fill")));
        ++rects;
        svg.skipCurrentElement();
    }
    painter.end();
    QVERIFY2(!svg.hasError(), qPrintable(svg.errorString()));
    QVERIFY(rects > 6);
    const QImage pixels =
        QImage(QStringLiteral(":/%1-16.png").arg(name)).convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            QVERIFY2(drawn.pixel(x, y) == pixels.pixel(x, y),
                     qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
}

void TestAssets::iconsDiffer() {
    // Same bands but a different letter: compare the marks, not the pale band.
    const QImage future(QStringLiteral(":/future-16.png"));
    const QImage impacts(QStringLiteral(":/impacts-16.png"));
    int differing = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            if ((future.pixelColor(x, y) == Qt::black) != (impacts.pixelColor(x, y) == Qt::black))
                ++differing;
    QVERIFY(differing >= 6);
}

QTEST_MAIN(TestAssets)
#include "tst_assets.moc"
