// Reading a saved proposal back: the file as written and as an editor leaves it reads back to
// its marks and horizon; a damaged or foreign file is refused with the line at fault, and
// then nothing reaches the model.
#include "encoding.h"
#include "fixtures.h"
#include "reader.h"
#include "studyproposal.h"

#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>

using namespace sp;
using namespace sp::proposal;

namespace {

using Lines = QList<QByteArray>;

const QString Date = QStringLiteral("8 Dec 2026");

// The worked example with a horizon holding a tab, a character Windows-1252 has (the euro
// sign) and one it has not, written "?".
Model savedModel() {
    Model model = fixtures::workedExample();
    model.horizon = QString::fromUtf8("20\t30 \xe2\x82\xac \xe4\xb8\x96");
    return model;
}
const QString HeldHorizon = QString::fromUtf8("20\t30 \xe2\x82\xac ?");

QByteArray savedBytes() {
    return toWindows1252(studyProposalText(savedModel(), fixtures::BluePrint, Date));
}

Lines savedLines() {
    Lines lines = savedBytes().split('\n');
    lines.removeLast(); // after the last line end
    for (QByteArray &line : lines)
        line.chop(1); // CR
    return lines;
}

QByteArray joined(const Lines &lines, const QByteArray &end = "\r\n") {
    QByteArray bytes;
    for (const QByteArray &line : lines)
        bytes += line + end;
    return bytes;
}

// Index of the first line starting with `prefix` at or after `from`.
qsizetype find(const Lines &lines, const QByteArray &prefix, qsizetype from = 0) {
    for (qsizetype i = from; i < lines.size(); ++i)
        if (lines[i].startsWith(prefix))
            return i;
    qFatal("no line starts with %s", prefix.constData());
}

qsizetype futureHeader(const Lines &lines) {
    return find(lines, "Future ");
}
qsizetype impactsHeader(const Lines &lines) {
    return find(lines, "Impacts ");
}

// Sets cell `scale` (1..22) of a table row.
QByteArray withCell(const QByteArray &row, int scale, const QByteArray &symbol) {
    QList<QByteArray> cells = row.split('\t');
    cells[scale] = symbol;
    return cells.join('\t');
}

QString at(qsizetype index, const char *what) {
    return QStringLiteral("line %1: %2").arg(index + 1).arg(QString::fromUtf8(what));
}

QString decoded1252(const QByteArray &bytes) {
    QStringDecoder decoder("windows-1252");
    return decoder.decode(bytes);
}

} // namespace

class TestProposalReader : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void editedFilesReadBack_data();
    void editedFilesReadBack();
    void damagedFilesAreRefused_data();
    void damagedFilesAreRefused();
    void restoreTouchesModelOnlyOnSuccess();
    void filesThatAreNoProposal();
};

void TestProposalReader::editedFilesReadBack_data() {
    QTest::addColumn<QByteArray>("bytes");
    const Lines lines = savedLines();
    const QString text = decoded1252(savedBytes());

    QTest::newRow("as saved") << savedBytes();
    QTest::newRow("LF line ends") << joined(lines, "\n");
    QTest::newRow("UTF-8 with byte order mark") << "\xEF\xBB\xBF" + text.toUtf8();
    QTest::newRow("UTF-8") << text.toUtf8();
    Lines stripped = lines, padded = lines;
    for (QByteArray &line : stripped)
        while (line.endsWith('\t') || line.endsWith(' '))
            line.chop(1);
    for (QByteArray &line : padded)
        line += " \t ";
    QTest::newRow("blanks stripped at line ends") << joined(stripped);
    QTest::newRow("blanks added at line ends") << joined(padded, "\n");

    // The student rewrote the chapters: lines gone before, between and after the tables.
    Lines edited =
        lines.mid(futureHeader(lines) - 1, impactsHeader(lines) + 9 - futureHeader(lines));
    edited.insert(9, "My own problems, written here.");
    edited.insert(0, "1.2 MY CONTEXT");
    edited.append("The rest is gone.");
    QTest::newRow("chapters edited around the tables") << joined(edited);
}

void TestProposalReader::editedFilesReadBack() {
    QFETCH(QByteArray, bytes);
    StudyMarks marks;
    QString problem;
    QVERIFY2(readStudyProposal(bytes, marks, &problem), qPrintable(problem));
    const Model saved = savedModel();
    QVERIFY(marks.futureGrid == saved.futureGrid);
    QVERIFY(marks.impactGrid == saved.impactGrid);
    QCOMPARE(marks.horizon, HeldHorizon);
}

void TestProposalReader::damagedFilesAreRefused_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("problem");
    const Lines lines = savedLines();
    const qsizetype future = futureHeader(lines), impacts = impactsHeader(lines);
    const QByteArray all = savedBytes();
    const auto cutAt = [&](qsizetype line, qsizetype column) {
        return joined(lines.mid(0, line)) + lines[line].left(column);
    };

    QTest::newRow("cut inside the future header")
        << cutAt(future, 40) << at(future, "the table header does not list the 22 scales");
    QTest::newRow("cut inside the economy row")
        << cutAt(future + 3, 20)
        << at(future + 3, "the file ends inside the table of future trends");
    QTest::newRow("cut before its last row")
        << cutAt(future + 6, 0)
        << at(future + 5, "the file ends inside the table of future trends");
    QTest::newRow("cut before the impacts table")
        << all.left(all.indexOf("Impacts ")) << QStringLiteral("it holds no table of impacts");
    QTest::newRow("cut in the middle of a character line")
        << cutAt(impacts + 7, 3) << at(impacts + 7, "the table does not end after its mass row");

    // The saved file with some lines changed.
    const auto edited = [&](const auto &change) {
        Lines copy = lines;
        change(copy);
        return joined(copy);
    };
    // The saved file with cells of table line `index` set: {scale, symbol}, in order.
    const auto cells = [&](qsizetype index, QList<std::pair<int, QByteArray>> changes) {
        return edited([&](Lines &copy) {
            for (const auto &[scale, symbol] : changes)
                copy[index] = withCell(copy[index], scale, symbol);
        });
    };

    QTest::newRow("economy row missing") << edited([&](Lines &l) { l.removeAt(future + 3); })
                                         << at(future + 3, "the economy row should stand here");
    QTest::newRow("culture row with a management symbol")
        << cells(future + 2, {{4, "!"}})
        << at(future + 2, "\"!\" at National(300km) is no mark of the culture row");
    QTest::newRow("technique's X as its cell shows it")
        << cells(future + 4, {{16, "X"}})
        << at(future + 4, "\"X\" at Buildingcomponent(300mm) is no mark of the technique row");
    QTest::newRow("frame on the economy row")
        << cells(impacts + 3, {{1, "O"}})
        << at(impacts + 3, "\"O\" at Global(10000km) is no mark of the economy row");
    QTest::newRow("a sentence typed into a cell")
        << cells(impacts + 2, {{3, "Our culture matters here"}})
        << at(impacts + 2, "\"Our culture \u2026\" at Subcontinental(1000km) "
                           "is no mark of the culture row");
    // Saved as UTF-8 with a character of two UTF-16 units where the cell is shortened: the
    // reason shows none of it rather than half.
    QTest::newRow("a sentence shortened before an emoji")
        << decoded1252(cells(impacts + 2, {{3, "Our culture#matters"}}))
               .replace(QStringLiteral("culture#"), QString::fromUtf8("culture\xf0\x9f\x98\x80"))
               .toUtf8()
        << at(impacts + 2, "\"Our culture\u2026\" at Subcontinental(1000km) "
                           "is no mark of the culture row");
    QTest::newRow("23 cells") << edited([&](Lines &l) { l[future + 1] += "\t!"; })
                              << at(future + 1, "the management row has more than 22 cells");

    QTest::newRow("two frames") << cells(impacts + 6, {{2, "O"}})
                                << at(impacts + 6, "the mass row holds two frames (O)");
    QTest::newRow("two grains") << cells(impacts + 6, {{20, "o"}})
                                << at(impacts + 6, "the mass row holds two grains (o)");
    QTest::newRow("grain left of the frame")
        << cells(impacts + 6, {{13, ""}, {5, "o"}})
        << at(impacts + 6, "the grain (o) lies left of the frame (O)");
    QTest::newRow("grain on the coarsest scale")
        << cells(impacts + 6, {{8, ""}, {13, ""}, {1, "o"}})
        << at(impacts + 6, "a grain (o) on Global(10000km) leaves no room for a frame (O)");

    QTest::newRow("tables with different horizons")
        << edited([&](Lines &l) { l[impacts].replace("Impacts 20", "Impacts 21"); })
        << at(impacts, "the two tables name different time horizons");
    QTest::newRow("a scale renamed in the header")
        << edited([&](Lines &l) { l[future].replace("Town(3km)", "Town(5km)"); })
        << at(future, "the table header does not list the 22 scales");
    QTest::newRow("the future table twice") << edited([&](Lines &l) {
        for (qsizetype i = future + 7; i >= future - 1; --i)
            l.insert(impacts + 8, lines[i]);
    }) << at(impacts + 9, "a second table of future trends");
    QTest::newRow("instruction line without its table")
        << edited([&](Lines &l) { l.removeAt(future); })
        << at(future, "a table starts here without its header row");
    Lines withCr = lines;
    withCr[future].replace("Future 20", "Future 2\r0");
    QTest::newRow("a line break inside the horizon")
        << joined(withCr, "\n")
        << at(future, "the time horizon is not one line of at most 32767 characters");
}

void TestProposalReader::damagedFilesAreRefused() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, problem);
    StudyMarks marks;
    marks.horizon = QStringLiteral("untouched");
    QString reported;
    QVERIFY(!readStudyProposal(bytes, marks, &reported));
    QCOMPARE(reported, problem);
    QCOMPARE(marks.horizon, QStringLiteral("untouched"));
}

void TestProposalReader::restoreTouchesModelOnlyOnSuccess() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const auto write = [&](const QString &name, const QByteArray &bytes) {
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), bytes.size());
    };
    Lines damaged = savedLines();
    damaged.removeAt(impactsHeader(damaged) + 6); // the mass row
    write(QStringLiteral("damaged.txt"), joined(damaged));
    write(QStringLiteral("huge.txt"), QByteArray(MaxProposalSize + 1, ' '));
    write(QStringLiteral("saved.txt"), savedBytes());

    Model model = fixtures::crowdedModel();
    model.lastImpactAspect = 2;
    const Model before = model;
    const auto unchanged = [&] {
        return model.futureGrid == before.futureGrid && model.impactGrid == before.impactGrid &&
               model.horizon == before.horizon;
    };
    // The reason restoreStudy gives, or "read" when it reads the file.
    const auto restore = [&](const QString &path) {
        QString problem;
        return restoreStudy(path, model, &problem) ? QStringLiteral("read") : problem;
    };
    QVERIFY(restore(dir.filePath(QStringLiteral("damaged.txt"))).startsWith(u"line "));
    QVERIFY(unchanged());
    QCOMPARE(restore(dir.filePath(QStringLiteral("huge.txt"))),
             QStringLiteral("it is larger than a study proposal can be"));
    QCOMPARE(restore(dir.path()), QStringLiteral("it is not a regular file"));
    QVERIFY(unchanged());

    QCOMPARE(restore(dir.filePath(QStringLiteral("saved.txt"))), QStringLiteral("read"));
    QVERIFY(model.futureGrid == savedModel().futureGrid);
    QVERIFY(model.impactGrid == savedModel().impactGrid);
    QCOMPARE(model.horizon, HeldHorizon);
    QCOMPARE(model.lastImpactAspect, before.lastImpactAspect);
    QCOMPARE(unreadableMessage(QStringLiteral("a.txt"), QStringLiteral("it is odd")),
             QStringLiteral("Could not read marks from a.txt: it is odd"));
}

void TestProposalReader::filesThatAreNoProposal() {
    for (const QByteArray &bytes :
         {QByteArray(), QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)}) {
        StudyMarks marks;
        QString problem;
        QVERIFY(!readStudyProposal(bytes, marks, &problem));
        QCOMPARE(problem, QStringLiteral("it holds no table of future trends"));
    }
    // Windows-1252 unless the bytes are UTF-8: the euro sign both ways.
    QCOMPARE(decodeProposal("\x80"), QString::fromUtf8("\xe2\x82\xac"));
    QCOMPARE(decodeProposal("\xe2\x82\xac"), QString::fromUtf8("\xe2\x82\xac"));
    QCOMPARE(decodeProposal("\xEF\xBB\xBF\xe2\x82\xac"), QString::fromUtf8("\xe2\x82\xac"));
}

QTEST_GUILESS_MAIN(TestProposalReader)
#include "tst_proposal_reader.moc"
