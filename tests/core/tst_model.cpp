#include "model.h"
#include "vocabulary.h"

#include <QTest>

using namespace sp;
namespace words = sp::test::words;

class TestModel : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void freshModelReadsIndifferentAndNotAffected();
    void vocabularyIsExact_data();
    void vocabularyIsExact();
    void reloadingVocabularyChangesNothing();
    void outOfBoundsStopsWithoutCorruption_data();
    void outOfBoundsStopsWithoutCorruption();
};

void TestModel::freshModelReadsIndifferentAndNotAffected() {
    Model m;
    initVocabulary(m);
    QCOMPARE(m.lastImpactAspect, 0);
    QCOMPARE(m.lastImpactIndex, 0);
    for (int a = 0; a <= AspectCount; ++a)
        for (int s = 0; s <= ScaleCount; ++s) {
            QCOMPARE(m.futureGrid(a, s), 0);
            QCOMPARE(m.impactGrid(a, s), 0);
            if (a >= 1 && s >= 1) {
                QCOMPARE(m.trendNames(a, m.futureGrid(a, s)), QStringLiteral("indifferent"));
                QCOMPARE(m.impactNames[m.impactGrid(a, s)], QStringLiteral("not affected"));
            }
        }
    // Index 0 entries stay empty.
    QVERIFY(m.scaleNames[0].isNull());
    QVERIFY(m.aspectNames[0].isNull());
    QVERIFY(m.trendNames(0, 1).isNull());
}

void TestModel::vocabularyIsExact_data() {
    QTest::addColumn<QString>("actual");
    QTest::addColumn<QString>("expected");
    Model m;
    initVocabulary(m);
    for (int s = 1; s <= 22; ++s)
        QTest::addRow("scale %d", s) << m.scaleNames[s] << words::Scales[s - 1];
    for (int a = 1; a <= 6; ++a)
        QTest::addRow("aspect %d", a) << m.aspectNames[a] << words::Aspects[a - 1];
    for (int a = 1; a <= 6; ++a) {
        QTest::addRow("trend %d/0", a) << m.trendNames(a, 0) << QStringLiteral("indifferent");
        for (int t = 1; t <= 2; ++t)
            QTest::addRow("trend %d/%d", a, t)
                << m.trendNames(a, t) << QString::fromLatin1(words::Trends[a - 1][t - 1]);
    }
    for (int i = 0; i <= 4; ++i)
        QTest::addRow("impact %d", i) << m.impactNames[i] << words::Impacts[i];
}

void TestModel::vocabularyIsExact() {
    QFETCH(QString, actual);
    QFETCH(QString, expected);
    QCOMPARE(actual, expected);
}

void TestModel::reloadingVocabularyChangesNothing() {
    Model m;
    initVocabulary(m);
    m.futureGrid(3, 8) = 2;
    m.impactGrid(6, 13) = Grain;
    m.lastImpactAspect = 6;
    m.lastImpactIndex = 12;
    const Model before = m;
    initVocabulary(m);
    QVERIFY(m.futureGrid == before.futureGrid);
    QVERIFY(m.impactGrid == before.impactGrid);
    QVERIFY(m.scaleNames == before.scaleNames);
    QVERIFY(m.trendNames == before.trendNames);
    QVERIFY(m.impactNames == before.impactNames);
    QCOMPARE(m.lastImpactIndex, 12);
}

void TestModel::outOfBoundsStopsWithoutCorruption_data() {
    QTest::addColumn<int>("aspect");
    QTest::addColumn<int>("scale");
    QTest::newRow("scale 23") << 1 << 23;
    QTest::newRow("scale -1") << 1 << -1;
    QTest::newRow("aspect 7") << 7 << 1;
    QTest::newRow("aspect -1") << -1 << 22;
}

void TestModel::outOfBoundsStopsWithoutCorruption() {
    QFETCH(int, aspect);
    QFETCH(int, scale);
    Model m;
    const Grid before = m.futureGrid;
    QVERIFY_THROWS_EXCEPTION(InternalError, m.futureGrid(aspect, scale) = 1);
    QVERIFY_THROWS_EXCEPTION(InternalError, m.impactGrid(aspect, scale) = 1);
    QVERIFY(m.futureGrid == before);
    QVERIFY_THROWS_EXCEPTION(InternalError, m.scaleNames[scale > 22 ? scale : 23]);
    QVERIFY_THROWS_EXCEPTION(InternalError, m.impactNames[5]);
}

QTEST_GUILESS_MAIN(TestModel)
#include "tst_model.moc"
