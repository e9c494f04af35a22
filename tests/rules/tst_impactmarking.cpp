#include "impactmarking.h"

#include <QTest>

using namespace sp;
using namespace sp::impacts;

Q_DECLARE_METATYPE(std::int16_t)

class TestImpactMarking : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void otherRowsCycleIPEmpty();
    void frameAndGrainOutcome_data();
    void frameAndGrainOutcome();
    void frameAndGrainCycle();
    void movingFrameAndGrain();
    void sentenceAndCue_data();
    void sentenceAndCue();
    void resolution_data();
    void resolution();
    void resetsLeaveRecordAndTrends();

private:
    Model model;
};

void TestImpactMarking::init() {
    model = Model();
    initVocabulary(model);
}

void TestImpactMarking::otherRowsCycleIPEmpty() {
    for (int aspect = 1; aspect <= 5; ++aspect) {
        for (int index : {0, 7, 21}) {
            QCOMPARE(advanceImpact(model, aspect, index).caption, QStringLiteral("I"));
            QCOMPARE(advanceImpact(model, aspect, index).caption, QStringLiteral("P"));
            QCOMPARE(advanceImpact(model, aspect, index).caption, QString());
            QCOMPARE(advanceImpact(model, aspect, index).mark, Unintended);
            QCOMPARE(model.lastImpactAspect, aspect);
            QCOMPARE(model.lastImpactIndex, index);
        }
    }
    for (int aspect = 1; aspect <= 5; ++aspect)
        for (int s = 1; s <= ScaleCount; ++s)
            QVERIFY(model.impactGrid(aspect, s) == NotAffected ||
                    model.impactGrid(aspect, s) == Unintended);
}

// A press on an unmarked mass-row cell, for every frame/grain situation of the row.
void TestImpactMarking::frameAndGrainOutcome_data() {
    QTest::addColumn<int>("frame"); // scale, 0 none
    QTest::addColumn<int>("grain");
    QTest::addColumn<int>("pressed");
    QTest::addColumn<int>("expected");
    QTest::newRow("empty row, coarsest") << 0 << 0 << 1 << int(Frame);
    QTest::newRow("empty row, finest") << 0 << 0 << 22 << int(Frame);
    QTest::newRow("grain only, coarser") << 0 << 13 << 8 << int(Frame);
    QTest::newRow("grain only, finer") << 0 << 13 << 20 << int(Unintended);
    QTest::newRow("frame only, finer") << 8 << 0 << 13 << int(Grain);
    QTest::newRow("frame only, next finer") << 8 << 0 << 9 << int(Grain);
    QTest::newRow("frame only, coarser") << 8 << 0 << 1 << int(Unintended);
    QTest::newRow("both, between") << 8 << 13 << 10 << int(Unintended);
    QTest::newRow("both, coarser") << 8 << 13 << 2 << int(Unintended);
    QTest::newRow("both, finer") << 8 << 13 << 20 << int(Unintended);
}

void TestImpactMarking::frameAndGrainOutcome() {
    QFETCH(int, frame);
    QFETCH(int, grain);
    QFETCH(int, pressed);
    QFETCH(int, expected);
    if (frame)
        model.impactGrid(MassAspect, frame) = Frame;
    if (grain)
        model.impactGrid(MassAspect, grain) = Grain;
    // Stale positions from an earlier row must not matter: the press rescans.
    model.frameScale = 3;
    model.grainScale = 4;
    const ImpactPress press = advanceImpact(model, MassAspect, pressed - 1);
    QCOMPARE(int(press.mark), expected);
    QCOMPARE(int(model.impactGrid(MassAspect, pressed)), expected);
    QCOMPARE(press.caption, impactCaption(expected));
}

void TestImpactMarking::frameAndGrainCycle() {
    // O -> I -> P -> empty on the frame cell; o -> I on the grain cell.
    QCOMPARE(advanceImpact(model, 6, 7).caption, QStringLiteral("O"));
    QCOMPARE(advanceImpact(model, 6, 12).caption, QStringLiteral("o"));
    QCOMPARE(advanceImpact(model, 6, 12).caption, QStringLiteral("I"));
    QCOMPARE(advanceImpact(model, 6, 7).caption, QStringLiteral("I")); // never "o"
    QCOMPARE(advanceImpact(model, 6, 7).caption, QStringLiteral("P"));
    QCOMPARE(advanceImpact(model, 6, 7).caption, QString());
    // An empty row again: at most one frame and one grain, frame coarser than grain.
    for (int s = 1; s <= ScaleCount; ++s)
        QVERIFY(model.impactGrid(6, s) != Frame && model.impactGrid(6, s) != Grain);
}

void TestImpactMarking::movingFrameAndGrain() {
    advanceImpact(model, 6, 7);  // O at 8
    advanceImpact(model, 6, 12); // o at 13
    // Move the frame to 3: lift it (I), clear it (P, empty), then place anew.
    for (int i = 0; i < 3; ++i)
        advanceImpact(model, 6, 7);
    QCOMPARE(model.impactGrid(6, 8), NotAffected);
    QCOMPARE(advanceImpact(model, 6, 2).caption, QStringLiteral("O"));
    QCOMPARE(updateResolution(model),
             QStringLiteral("The object of study will be elaborated on several scales"));
    QCOMPARE(model.frameScale, 3);
    QCOMPARE(model.grainScale, 13);
    // A second frame is refused while one stands; it becomes I.
    QCOMPARE(advanceImpact(model, 6, 0).mark, Unintended);
}

void TestImpactMarking::sentenceAndCue_data() {
    QTest::addColumn<int>("aspect");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("presses");
    QTest::addColumn<int>("trend");
    QTest::addColumn<QString>("sentence");
    QTest::addColumn<bool>("cue");
    QTest::newRow("economy I with trend")
        << 3 << 7 << 1 << 1
        << "Town(3km) economy is affected without intention (I) while growing (+)" << false;
    QTest::newRow("frame without trend")
        << 6 << 12 << 1 << 0 << "Building(10m) mass is largest drawn frame of study (O)" << true;
    QTest::newRow("back to not affected, no trend")
        << 2 << 0 << 3 << 0 << "Global(10000km) culture is not affected" << false;
    QTest::newRow("back to not affected, with trend")
        << 2 << 0 << 3 << 2 << "Global(10000km) culture is not affected while traditional (<)"
        << false;
    QTest::newRow("scale 16") << 4 << 15 << 2 << 0
                              << "Buildingcomponent(300mm)  technique is origin of my motivation "
                                 "or programme (P)"
                              << true;
}

void TestImpactMarking::sentenceAndCue() {
    QFETCH(int, aspect);
    QFETCH(int, index);
    QFETCH(int, presses);
    QFETCH(int, trend);
    QFETCH(QString, sentence);
    QFETCH(bool, cue);
    model.futureGrid(aspect, index + 1) = static_cast<std::int16_t>(trend);
    // Trends of other aspects at the same scale never reach the sentence.
    for (int a = 1; a <= AspectCount; ++a)
        if (a != aspect)
            model.futureGrid(a, index + 1) = 1;
    ImpactPress press{};
    for (int i = 0; i < presses; ++i)
        press = advanceImpact(model, aspect, index);
    QCOMPARE(press.status, sentence);
    QCOMPARE(press.paintCue, cue);
}

void TestImpactMarking::resolution_data() {
    QTest::addColumn<int>("frame");
    QTest::addColumn<int>("grain");
    QTest::addColumn<QString>("statement");
    const QString locate =
        QStringLiteral("Locate frame (O) and grain (o) of study in row Mass|space|time");
    const QString prefix = QStringLiteral("The object of study has the resolution of a ");
    const QString several =
        QStringLiteral("The object of study will be elaborated on several scales");
    QTest::newRow("neither: no full stop") << 0 << 0 << locate;
    QTest::newRow("frame only: full stop") << 8 << 0 << locate + QLatin1Char('.');
    QTest::newRow("frame 22 only") << 22 << 0 << locate + QLatin1Char('.');
    const char *const names[] = {"very rough sketch", "rough sketch", "sketch",
                                 "drawing",           "blue print",   "very precise blue print"};
    for (int d = 1; d <= 6; ++d)
        QTest::addRow("d = %d", d) << 8 << 8 + d << prefix + QString::fromLatin1(names[d - 1]);
    for (int d = 7; d <= 21; ++d)
        QTest::addRow("d = %d", d) << 1 << 1 + d << several;
    QTest::newRow("grain 3 alone reads d = 3") << 0 << 3 << prefix + QStringLiteral("sketch");
    QTest::newRow("grain 8 alone reads 7 or more") << 0 << 8 << several;
    QTest::newRow("grain 1 alone") << 0 << 1 << prefix + QStringLiteral("very rough sketch");
}

void TestImpactMarking::resolution() {
    QFETCH(int, frame);
    QFETCH(int, grain);
    QFETCH(QString, statement);
    if (frame)
        model.impactGrid(MassAspect, frame) = Frame;
    if (grain)
        model.impactGrid(MassAspect, grain) = Grain;
    model.impactGrid(MassAspect, 5) = Unintended; // other marks do not count
    QCOMPARE(updateResolution(model), statement);
    QCOMPARE(int(model.frameScale), frame);
    QCOMPARE(int(model.grainScale), grain);
}

void TestImpactMarking::resetsLeaveRecordAndTrends() {
    for (int a = 1; a <= AspectCount; ++a)
        for (int s = 1; s <= ScaleCount; ++s) {
            model.impactGrid(a, s) = Programme;
            model.futureGrid(a, s) = 1;
        }
    advanceImpact(model, 2, 4);
    resetImpactRow(model, 6);
    resetImpactColumn(model, 1);
    for (int s = 1; s <= ScaleCount; ++s)
        QCOMPARE(model.impactGrid(6, s), NotAffected);
    for (int a = 1; a <= AspectCount; ++a)
        QCOMPARE(model.impactGrid(a, 1), NotAffected);
    QCOMPARE(model.impactGrid(5, 2), Programme);
    resetAllImpacts(model);
    QVERIFY(model.impactGrid == Grid());
    QCOMPARE(model.lastImpactAspect, 2);
    QCOMPARE(model.lastImpactIndex, 4);
    QCOMPARE(model.futureGrid(3, 3), 1);
}

QTEST_GUILESS_MAIN(TestImpactMarking)
#include "tst_impactmarking.moc"
