#include "devicewrite.h"
#include "documentparts.h"
#include "encoding.h"
#include "fixtures.h"
#include "marks.h"
#include "matricespdf.h"
#include "savecheck.h"
#include "studyfile.h"
#include "studyproposal.h"

#include <QDir>
#include <QFile>
#include <QPaintEngine>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/resource.h>
#endif

using namespace sp;
using namespace sp::proposal;

namespace {

// Accepts at most `chunk` bytes per write and fails once `capacity` bytes are in.
class FailDevice : public QIODevice {
public:
    FailDevice(qint64 capacity, qint64 chunk)
        : capacity_(capacity)
        , chunk_(chunk) {}
    QByteArray written;

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override {
        if (written.size() >= capacity_) {
            setErrorString(QStringLiteral("No space left on device"));
            return -1;
        }
        const qint64 n = std::min({size, chunk_, capacity_ - written.size()});
        written.append(data, n);
        return n;
    }

private:
    qint64 capacity_;
    qint64 chunk_;
};

// Paints nothing, and starts painting only when `starts`; never finishes it.
class RefusingEngine : public QPaintEngine {
public:
    explicit RefusingEngine(bool starts)
        : QPaintEngine(AllFeatures)
        , starts_(starts) {}
    bool begin(QPaintDevice *) override { return starts_; }
    bool end() override { return false; }
    void updateState(const QPaintEngineState &) override {}
    void drawPath(const QPainterPath &) override {}
    void drawPolygon(const QPointF *, int, PolygonDrawMode) override {}
    void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override {}
    void drawTextItem(const QPointF &, const QTextItem &) override {}
    Type type() const override { return User; }

private:
    bool starts_;
};

// An A4 landscape page at 72 dpi painted through a RefusingEngine.
class RefusingPage : public QPaintDevice {
public:
    explicit RefusingPage(bool starts)
        : engine_(starts) {}
    QPaintEngine *paintEngine() const override { return &engine_; }

protected:
    int metric(PaintDeviceMetric metric) const override {
        switch (metric) {
        case PdmWidth:
            return 842;
        case PdmHeight:
            return 595;
        case PdmWidthMM:
            return 297;
        case PdmHeightMM:
            return 210;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 72;
        case PdmDepth:
            return 32;
        case PdmNumColors:
            return INT_MAX;
        case PdmDevicePixelRatio:
            return 1;
        default:
            return QPaintDevice::metric(metric);
        }
    }

private:
    mutable RefusingEngine engine_;
};

QStringList entries(const QString &dir) {
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                               QDir::NoDotAndDotDot);
}

QByteArray contents(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// Replaces the file at `path` with `bytes`, as every save and export does with its own.
bool replaceWith(const QString &path, const QByteArray &bytes, QString *error) {
    return replaceFile(
        path, [&](QIODevice &device, QString *reason) { return writeBytes(device, bytes, reason); },
        error);
}

} // namespace

class TestProposalSave : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void counts_data();
    void counts();
    void lookupTables();
    void saveAllowed_data();
    void saveAllowed();
    void messages();
    void writersReportAFailingDevice_data();
    void writersReportAFailingDevice();
    void failedWriterKeepsEarlierFile();
    void writeBytes_data();
    void writeBytes();
    void closedDeviceFails();
    void encodePng_data();
    void encodePng();
    void matricesPdfReportsPainting_data();
    void matricesPdfReportsPainting();
    void savingTwiceKeepsTheSecond();
    void unwritableTargetLeavesNothing_data();
    void unwritableTargetLeavesNothing();
    void failedWriteKeepsEarlierFile_data();
    void failedWriteKeepsEarlierFile();
};

void TestProposalSave::counts_data() {
    QTest::addColumn<QList<int>>("row"); // marks at scales 1..22, missing ones 0
    QTest::addColumn<int>("mark");
    QTest::addColumn<int>("count");

    QTest::newRow("empty row") << QList<int>{} << 4 << 0;
    QTest::newRow("empty row counts its zeros") << QList<int>{} << 0 << 22;
    QTest::newRow("first and last scale")
        << QList<int>{4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 4} << 4 << 2;
    QTest::newRow("other marks ignored") << QList<int>{3, 4, 3, 1, 2, 3} << 3 << 3;
    QTest::newRow("full row") << QList<int>(22, 2) << 2 << 22;
}

void TestProposalSave::counts() {
    QFETCH(QList<int>, row);
    QFETCH(int, mark);
    QFETCH(int, count);
    Model model = fixtures::withVocabulary();
    for (int s = 1; s <= row.size(); ++s) {
        model.impactGrid(2, s) = static_cast<std::int16_t>(row[s - 1]);
        model.futureGrid(5, s) = static_cast<std::int16_t>(row[s - 1]);
    }
    QCOMPARE(countImpactMarks(model, 2, mark), count);
    QCOMPARE(countTrendMarks(model, 5, mark), count);
    // The other matrix and the other rows do not leak in.
    QCOMPARE(countImpactMarks(model, 5, mark), mark == 0 ? 22 : 0);
    QCOMPARE(countTrendMarks(model, 2, mark), mark == 0 ? 22 : 0);
}

void TestProposalSave::lookupTables() {
    Model model = fixtures::withVocabulary();
    model.impactGrid(3, 2) = Programme;
    model.impactGrid(3, 5) = Programme;
    model.impactGrid(3, 22) = Programme;
    MarkLookup lookup;
    QCOMPARE(lookup.count(model.impactGrid, 3, Programme), 3);
    const std::array<int, 24> running{0, 0, 1, 1, 1, 2, 2, 2, 2, 2, 2, 2,
                                      2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 3, 0};
    for (int s = 0; s <= 23; ++s) {
        QCOMPARE(lookup.markRunningCount[s], running[s]);
        QCOMPARE(lookup.markMatch[s], (s == 2 || s == 5 || s == 22) ? 1 : 0);
    }
    // The next lookup overwrites every scale.
    QCOMPARE(lookup.count(model.impactGrid, 4, Programme), 0);
    for (int s = 0; s <= 23; ++s)
        QCOMPARE(lookup.markRunningCount[s], 0);

    QVERIFY_THROWS_EXCEPTION(InternalError, countImpactMarks(model, 7, 1));
    QVERIFY_THROWS_EXCEPTION(InternalError, countTrendMarks(model, -1, 1));
}

void TestProposalSave::saveAllowed_data() {
    QTest::addColumn<Model>("model");
    QTest::addColumn<bool>("allowed");

    Model neither = fixtures::withVocabulary();
    neither.impactGrid(3, 4) = Programme;
    Model frameOnly = fixtures::saveableModel();
    frameOnly.impactGrid(MassAspect, 13) = NotAffected;
    Model grainOnly = fixtures::saveableModel();
    grainOnly.impactGrid(MassAspect, 8) = NotAffected;
    Model otherRow = fixtures::withVocabulary();
    otherRow.impactGrid(5, 8) = Frame;
    otherRow.impactGrid(5, 13) = Grain;

    QTest::newRow("neither") << neither << false;
    QTest::newRow("frame only") << frameOnly << false;
    QTest::newRow("grain only") << grainOnly << false;
    QTest::newRow("both off the mass row") << otherRow << false;
    QTest::newRow("both") << fixtures::saveableModel() << true;
    QTest::newRow("both among other marks") << fixtures::crowdedModel() << true;
}

void TestProposalSave::saveAllowed() {
    QFETCH(Model, model);
    QFETCH(bool, allowed);
    const Model before = model;
    QCOMPARE(proposal::saveAllowed(model), allowed);
    QVERIFY(model.impactGrid == before.impactGrid && model.futureGrid == before.futureGrid);
}

void TestProposalSave::messages() {
    QCOMPARE(refusalMessage(), QStringLiteral("Fill in your frame (O) and grain (o) in the row "
                                              "mass|space|time before saving."));
    QCOMPARE(failureMessage(QStringLiteral("Is a directory")),
             QStringLiteral("Could not save StudyProposal.txt: Is a directory"));
}

void TestProposalSave::writeBytes_data() {
    QTest::addColumn<qint64>("capacity");
    QTest::addColumn<qint64>("chunk");
    QTest::addColumn<bool>("ok");

    QTest::newRow("room for all") << qint64(1000) << qint64(1000) << true;
    QTest::newRow("room for all, short writes") << qint64(1000) << qint64(7) << true;
    QTest::newRow("exactly full") << qint64(50) << qint64(16) << true;
    QTest::newRow("full after some bytes") << qint64(20) << qint64(1000) << false;
    QTest::newRow("full after some short writes") << qint64(20) << qint64(7) << false;
    QTest::newRow("full from the start") << qint64(0) << qint64(1000) << false;
}

void TestProposalSave::writeBytes() {
    QFETCH(qint64, capacity);
    QFETCH(qint64, chunk);
    QFETCH(bool, ok);
    QByteArray bytes;
    for (int i = 0; i < 50; ++i)
        bytes.append(char('a' + i % 26));
    FailDevice device(capacity, chunk);
    QVERIFY(device.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    QString error;
    QCOMPARE(proposal::writeBytes(device, bytes, &error), ok);
    if (ok) {
        QCOMPARE(device.written, bytes);
        QVERIFY(error.isEmpty());
    } else {
        QCOMPARE(error, QStringLiteral("No space left on device"));
        QCOMPARE(device.written, bytes.left(capacity));
    }
}

// Every format, onto a device that fills up at once or part way: false and the device's reason.
void TestProposalSave::writersReportAFailingDevice_data() {
    QTest::addColumn<int>("format");
    QTest::addColumn<qint64>("capacity");
    const std::pair<const char *, StudyFormat> formats[] = {
        {"text file", StudyFormat::TextFile},
        {"Word document", StudyFormat::WordDocument},
        {"OpenDocument", StudyFormat::OpenDocument},
        {"matrices", StudyFormat::MatricesPdf},
    };
    for (const auto &[name, format] : formats) {
        QTest::addRow("%s, full at once", name) << int(format) << qint64(0);
        QTest::addRow("%s, full part way", name) << int(format) << qint64(1000);
    }
}

void TestProposalSave::writersReportAFailingDevice() {
    QFETCH(int, format);
    QFETCH(qint64, capacity);
    FailDevice device(capacity, 4096);
    QVERIFY(device.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    QString error;
    QVERIFY(!writeStudy(device, StudyFormat(format), fixtures::workedExample(), "1/1/30", &error));
    QCOMPARE(error, QStringLiteral("No space left on device"));
    QCOMPARE(device.written.size(), capacity);
}

// A writer that gives up leaves the earlier file as it was, and its reason reaches the caller.
void TestProposalSave::failedWriterKeepsEarlierFile() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("StudyProposal.txt"));
    QString error;
    QVERIFY(replaceWith(path, "earlier\r\n", &error));
    const auto halfThenFail = [](QIODevice &device, QString *reason) {
        return proposal::writeBytes(device, "half", reason) &&
               failed(reason, QStringLiteral("gave up"));
    };
    QVERIFY(!replaceFile(path, halfThenFail, &error));
    QCOMPARE(error, QStringLiteral("gave up"));
    QCOMPARE(contents(path), QByteArray("earlier\r\n"));
    QCOMPARE(entries(dir.path()), QStringList{"StudyProposal.txt"});
}

void TestProposalSave::closedDeviceFails() {
    FailDevice device(1000, 1000);
    QString error;
    QTest::ignoreMessage(QtWarningMsg, "QIODevice::write (QIODevice): device not open");
    QVERIFY(!proposal::writeBytes(device, "abc", &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(device.written.isEmpty());
}

// A picture that cannot be encoded onto its device is a failure with a reason, never an empty
// picture in a document.
void TestProposalSave::encodePng_data() {
    QTest::addColumn<bool>("empty");
    QTest::addColumn<int>("mode");
    QTest::addColumn<qint64>("capacity");
    QTest::addColumn<bool>("ok");
    const int write = QIODevice::WriteOnly, read = QIODevice::ReadOnly;
    QTest::newRow("room for it") << false << write << qint64(1 << 20) << true;
    QTest::newRow("an empty picture") << true << write << qint64(1 << 20) << false;
    QTest::newRow("a device open for reading") << false << read << qint64(1 << 20) << false;
    QTest::newRow("a device full at once") << false << write << qint64(0) << false;
    // Within the header: Qt's PNG writer leaks its row pointers when the rows fail to go out.
    QTest::newRow("a device full part way") << false << write << qint64(20) << false;
}

void TestProposalSave::encodePng() {
    QFETCH(bool, empty);
    QFETCH(int, mode);
    QFETCH(qint64, capacity);
    QFETCH(bool, ok);
    QImage image;
    if (!empty) {
        image = QImage(40, 20, QImage::Format_RGB32);
        image.fill(Qt::white);
        image.setPixelColor(3, 5, QColor(211, 0, 0));
    }
    FailDevice device(capacity, capacity);
    QVERIFY(device.open(QIODevice::OpenMode(mode) | QIODevice::Unbuffered));
    QString error;
    QCOMPARE(parts::encodePng(image, device, &error), ok);
    if (ok) {
        QVERIFY(error.isEmpty());
        QCOMPARE(QImage::fromData(device.written, "PNG"), image);
    } else {
        QVERIFY(error.startsWith(QStringLiteral("The picture could not be made: ")));
    }
}

// The matrices' page that cannot be started or finished fails with its reason.
void TestProposalSave::matricesPdfReportsPainting_data() {
    QTest::addColumn<bool>("starts");
    QTest::addColumn<QString>("reason");
    QTest::newRow("cannot start") << false << "The PDF could not be started";
    QTest::newRow("cannot finish") << true << "The PDF could not be finished";
}

void TestProposalSave::matricesPdfReportsPainting() {
    QFETCH(bool, starts);
    QFETCH(QString, reason);
    RefusingPage page(starts);
    if (!starts)
        QTest::ignoreMessage(QtWarningMsg, "QPainter::begin(): Returned false");
    QString error;
    QVERIFY(!paintMatricesPdf(page, fixtures::crowdedModel(), &error));
    QCOMPARE(error, reason);
}

void TestProposalSave::savingTwiceKeepsTheSecond() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("StudyProposal.txt"));
    Model crowded = fixtures::crowdedModel();
    crowded.horizon = QStringLiteral("2050");
    const QByteArray first =
        toWindows1252(studyProposalText(crowded, fixtures::SeveralScales, "1/1/30"));
    const QByteArray second =
        toWindows1252(studyProposalText(fixtures::saveableModel(), fixtures::BluePrint, "2/1/30"));
    QVERIFY(first.size() > second.size());

    QString error;
    QVERIFY(replaceWith(path, first, &error));
    QCOMPARE(contents(path), first);
    QVERIFY(replaceWith(path, second, &error));
    QCOMPARE(contents(path), second);
    QCOMPARE(entries(dir.path()), QStringList{"StudyProposal.txt"});
}

void TestProposalSave::unwritableTargetLeavesNothing_data() {
    QTest::addColumn<QString>("relativePath");
    QTest::addColumn<QStringList>("entriesAfter");

    QTest::newRow("target is a directory")
        << QStringLiteral("StudyProposal.txt") << QStringList{"StudyProposal.txt"};
    QTest::newRow("directory missing")
        << QStringLiteral("missing/StudyProposal.txt") << QStringList{"StudyProposal.txt"};
}

void TestProposalSave::unwritableTargetLeavesNothing() {
    QFETCH(QString, relativePath);
    QFETCH(QStringList, entriesAfter);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    // In both rows the directory holds a directory named like the proposal.
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("StudyProposal.txt")));

    QString error;
    QVERIFY(!replaceWith(dir.filePath(relativePath), "text\r\n", &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(entries(dir.path()), entriesAfter);
    QVERIFY(entries(dir.filePath(QStringLiteral("StudyProposal.txt"))).isEmpty());
}

void TestProposalSave::failedWriteKeepsEarlierFile_data() {
    QTest::addColumn<int>("size");
    // The file buffer holds the small one until the commit, the large one fails on writing.
    QTest::newRow("fails on commit") << 8 * 1024;
    QTest::newRow("fails while writing") << 64 * 1024;
}

void TestProposalSave::failedWriteKeepsEarlierFile() {
#ifdef Q_OS_LINUX
    QFETCH(int, size);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("StudyProposal.txt"));
    QString error;
    QVERIFY(replaceWith(path, "earlier\r\n", &error));

    // Root ignores permissions but not the file size limit: the write fails part way.
    rlimit before{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &before), 0);
    rlimit small = before;
    small.rlim_cur = 4096;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool saved = replaceWith(path, QByteArray(size, 'x'), &error);
    setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, oldHandler);

    QVERIFY(!saved);
    QVERIFY(!error.isEmpty());
    QCOMPARE(contents(path), QByteArray("earlier\r\n"));
    QCOMPARE(entries(dir.path()), QStringList{"StudyProposal.txt"});
#else
    QSKIP("needs a file size limit");
#endif
}

// The document and the matrices page draw pictures, which need a QGuiApplication.
QTEST_MAIN(TestProposalSave)
#include "tst_proposal_save.moc"
