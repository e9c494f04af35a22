// The study as a browser keeps it: written and read back to the same marks, horizon and saved
// state, whatever the horizon holds; the one form the writer makes is the only one the reader
// takes, and anything else is refused with a reason and leaves the study as it was.
#include "fixtures.h"
#include "keptstudy.h"

#include <QTest>

using namespace sp;
using namespace sp::proposal;

namespace {

Model withHorizon(const QString &horizon) {
    Model model = fixtures::workedExample();
    model.horizon = horizon;
    return model;
}

// The kept form of the worked example, unsaved.
QByteArray example() {
    return writeKeptStudy(fixtures::workedExample(), true);
}

// `bytes` with its line `line` (0 the heading) replaced.
QByteArray withLine(int line, const QByteArray &text) {
    QList<QByteArray> lines = example().split('\n');
    lines[line] = text;
    return lines.join('\n');
}

QByteArray rowsOf(const char *mass) {
    const QByteArray empty(ScaleCount, '0');
    return "impacts " + empty + ' ' + empty + ' ' + empty + ' ' + empty + ' ' + empty + ' ' +
           QByteArray(mass);
}

} // namespace

class TestKeptStudy : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void roundTrip_data();
    void roundTrip();
    void refused_data();
    void refused();
    void newStudy();
};

void TestKeptStudy::roundTrip_data() {
    QTest::addColumn<Model>("model");
    QTest::addColumn<bool>("unsaved");
    QTest::newRow("new study, saved") << Model() << false;
    QTest::newRow("worked example, unsaved") << fixtures::workedExample() << true;
    QTest::newRow("empty horizon") << withHorizon("") << true;
    QTest::newRow("backslashes and escapes as typed") << withHorizon("C:\\u00e9 \\\\ \\") << true;
    QTest::newRow("any script, astral plane")
        << withHorizon(QString::fromUtf8("2050 \xe2\x80\x93 \xe6\x9d\xb1\xe4\xba\xac "
                                         "\xd0\x9c\xd0\xbe\xd1\x81 \xf0\x9f\x8f\x99"))
        << false;
    QTest::newRow("tab and a lone surrogate")
        << withHorizon(QStringLiteral("20\t30 ") + QChar(0xd800)) << true;
    QTest::newRow("longest horizon")
        << withHorizon(QString(HorizonMaxLength, QChar(0x4e16))) << true;
    Model full;
    for (int a = 1; a <= AspectCount; ++a)
        for (int s = 1; s <= ScaleCount; ++s) {
            full.futureGrid(a, s) = std::int16_t((a + s) % 3);
            full.impactGrid(a, s) =
                a == MassAspect ? 0 : std::int16_t(s % 2 ? Programme : Unintended);
        }
    full.impactGrid(MassAspect, 1) = Frame;
    full.impactGrid(MassAspect, 22) = Grain;
    QTest::newRow("every row marked, frame and grain at the ends") << full << false;
}

// What is written reads back to the same study, and is the very form written again.
void TestKeptStudy::roundTrip() {
    QFETCH(Model, model);
    QFETCH(bool, unsaved);
    const QByteArray form = writeKeptStudy(model, unsaved);
    for (const char byte : form)
        QVERIFY2((byte >= ' ' && byte <= '~') || byte == '\n', "not plain ASCII");
    KeptStudy read;
    QString error;
    QVERIFY2(readKeptStudy(form, read, &error), qPrintable(error));
    QVERIFY(read.marks.futureGrid == model.futureGrid);
    QVERIFY(read.marks.impactGrid == model.impactGrid);
    QCOMPARE(read.marks.horizon, model.horizon);
    QCOMPARE(read.unsaved, unsaved);
    Model again;
    setMarks(again, read.marks);
    QCOMPARE(writeKeptStudy(again, read.unsaved), form);
}

void TestKeptStudy::refused_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("error");
    const QByteArray form = example();
    const QByteArray noRoom = QByteArray(ScaleCount - 1, '0');
    QTest::newRow("nothing") << QByteArray() << "it is not a study this page keeps";
    QTest::newRow("a saved proposal")
        << QByteArray("CONTENTS\r\n") << "it is not a study this page keeps";
    QTest::newRow("another version") << withLine(0, "study-proposal kept study 2")
                                     << "it was kept by another version of the page";
    QTest::newRow("cut short") << form.left(form.indexOf("\nimpacts") + 1)
                               << "it does not hold its five lines";
    QTest::newRow("no line end at the end") << form.chopped(1) << "it does not hold its five lines";
    QTest::newRow("a line added") << form + "more\n"
                                  << "it does not hold its five lines";
    QTest::newRow("edited with CR LF")
        << QByteArray(form).replace("\n", "\r\n") << "it is not a study this page keeps";
    QTest::newRow("another form") << withLine(0, "study-proposal kept study 1 beta")
                                  << "it is not a study this page keeps";
    QTest::newRow("fields swapped")
        << withLine(2, rowsOf("0000000000000000000000")) << "line 3 is not its future";
    QTest::newRow("five rows") << withLine(2, "future 0 0 0 0 0") << "a matrix has not six rows";
    QTest::newRow("two spaces") << withLine(2, "future  " + QByteArray(ScaleCount, '0'))
                                << "a matrix has not six rows";
    QTest::newRow("short row") << withLine(2, "future " + noRoom + " " + noRoom + " " + noRoom +
                                                  " " + noRoom + " " + noRoom + " " + noRoom)
                               << "a row has not 22 marks";
    QTest::newRow("trend 3") << withLine(2, "future 3" + form.split('\n')[2].mid(8))
                             << "row 1 holds a mark it cannot hold";
    QTest::newRow("not a digit") << withLine(2, "future x" + form.split('\n')[2].mid(8))
                                 << "row 1 holds a mark it cannot hold";
    QTest::newRow("frame off the mass row") << withLine(3, "impacts 1" + form.split('\n')[3].mid(9))
                                            << "row 1 holds a mark it cannot hold";
    QTest::newRow("impact 5") << withLine(3, "impacts 5" + form.split('\n')[3].mid(9))
                              << "row 1 holds a mark it cannot hold";
    QTest::newRow("two frames") << withLine(3, rowsOf("1100000000000000000000"))
                                << "the mass row holds two frames (O)";
    QTest::newRow("grain left of the frame") << withLine(3, rowsOf("0020100000000000000000"))
                                             << "the grain (o) lies left of the frame (O)";
    QTest::newRow("saved state unknown")
        << withLine(4, "unsaved yes") << "it does not say whether it was saved";
    QTest::newRow("horizon with a raw byte")
        << withLine(1, "horizon 20\t30") << "the horizon holds a byte it cannot hold";
    QTest::newRow("horizon with an 8-bit byte")
        << withLine(1, "horizon 20\xe9") << "the horizon holds a byte it cannot hold";
    for (const char *escape : {"\\u00e", "\\u0041", "\\U00e9", "\\u00E9", "\\x", "\\", "\\u+0e9"})
        QTest::addRow("horizon escape %s", escape) << withLine(1, QByteArray("horizon 20") + escape)
                                                   << "the horizon holds a broken escape";
    QTest::newRow("horizon with a line break")
        << withLine(1, "horizon 20\\u000a30") << "the horizon holds a line break";
    QTest::newRow("horizon too long")
        << withLine(1, "horizon " + QByteArray(HorizonMaxLength + 1, '7'))
        << "the horizon is longer than its box holds";
    QTest::newRow("too large") << form + QByteArray(MaxKeptStudySize, '\n')
                               << "it is larger than a kept study can be";
}

// Whatever is wrong, the reason is given and the study read into stays as it was.
void TestKeptStudy::refused() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, error);
    KeptStudy study;
    study.marks.horizon = QStringLiteral("kept");
    study.marks.futureGrid(2, 3) = 2;
    study.unsaved = true;
    QString problem;
    QVERIFY(!readKeptStudy(bytes, study, &problem));
    QCOMPARE(problem, error);
    QCOMPARE(study.marks.horizon, QStringLiteral("kept"));
    QCOMPARE(study.marks.futureGrid(2, 3), 2);
    QVERIFY(study.marks.impactGrid == Grid());
    QVERIFY(study.unsaved);
}

// A study is new when nothing is marked and the horizon is the one it starts with.
void TestKeptStudy::newStudy() {
    QVERIFY(isNewStudy(Model()));
    QVERIFY(!isNewStudy(withHorizon("2031")));
    QVERIFY(!isNewStudy(withHorizon("2030 ")));
    Model marked;
    marked.impactGrid(2, 5) = Programme;
    QVERIFY(!isNewStudy(marked));
    marked = Model();
    marked.futureGrid(6, 22) = 1;
    QVERIFY(!isNewStudy(marked));
}

QTEST_MAIN(TestKeptStudy)
#include "tst_kept_study.moc"
