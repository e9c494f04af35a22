#include "trendmarking.h"

#include <QTest>

using namespace sp;
using namespace sp::future;

class TestTrendMarking : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cycleCaptionsAndSentences_data();
    void cycleCaptionsAndSentences();
    void townManagementWorkedExample();
    void resetsClearTheirScopeOnly();
    void impactReading_data();
    void impactReading();

private:
    Model model;
};

void TestTrendMarking::init() {
    model = Model();
    initVocabulary(model);
}

void TestTrendMarking::cycleCaptionsAndSentences_data() {
    QTest::addColumn<int>("aspect");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("sentence1");
    QTest::addColumn<QString>("sentence2");
    QTest::newRow("culture") << 2 << 0 << ">"
                             << "<"
                             << "Global(10000km) culture will be innovative (>)"
                             << "Global(10000km) culture will be traditional (<)";
    QTest::newRow("economy") << 3 << 8 << "+"
                             << "-"
                             << "District(1km) economy will be growing (+)"
                             << "District(1km) economy will be declining (-)";
    QTest::newRow("technique")
        << 4 << 12 << "/"
        << "X"
        << "Building(10m) technique will be internally specializing subfunctions (/)"
        << "Building(10m) technique will be internally combining subfunctions (X)";
    QTest::newRow("ecology") << 5 << 20 << "|"
                             << "="
                             << "Material(1mm) ecology will be internally differentiating into "
                                "heterogeneity (|)"
                             << "Material(1mm) ecology will be internally egalizing into "
                                "homogeneity (=)";
    QTest::newRow("mass at scale 22") << 6 << 21 << "C"
                                      << "D"
                                      << "Submaterial(<1mm) mass will be concentrating in space (C)"
                                      << "Submaterial(<1mm) mass will be dispersing in space (D)";
    // The scale word of 16 ends in a blank, so two blanks follow it.
    QTest::newRow("scale 16 double blank")
        << 1 << 15 << "!"
        << "?"
        << "Buildingcomponent(300mm)  management will be initiating (!)"
        << "Buildingcomponent(300mm)  management will be executing or controlling initiatives (?)";
}

void TestTrendMarking::cycleCaptionsAndSentences() {
    QFETCH(int, aspect);
    QFETCH(int, index);
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(QString, sentence1);
    QFETCH(QString, sentence2);

    TrendPress press = stepTrend(model, aspect, index);
    QCOMPARE(press.mark, 1);
    QCOMPARE(press.caption, first);
    QCOMPARE(press.status, sentence1);
    press = stepTrend(model, aspect, index);
    QCOMPARE(press.mark, 2);
    QCOMPARE(press.caption, second);
    QCOMPARE(press.status, sentence2);
    press = stepTrend(model, aspect, index);
    QCOMPARE(press.mark, 0);
    QCOMPARE(press.caption, QString());
    QVERIFY(press.status.endsWith(QLatin1String(" will be indifferent")));
    QCOMPARE(model.futureGrid(aspect, index + 1), 0);
    // Only the pressed cell ever changed.
    model.futureGrid(aspect, index + 1) = 0;
    QVERIFY(model.futureGrid == Grid());
}

void TestTrendMarking::townManagementWorkedExample() {
    QCOMPARE(stepTrend(model, 1, 7).status,
             QStringLiteral("Town(3km) management will be initiating (!)"));
    QCOMPARE(
        stepTrend(model, 1, 7).status,
        QStringLiteral("Town(3km) management will be executing or controlling initiatives (?)"));
    QCOMPARE(stepTrend(model, 1, 7).status,
             QStringLiteral("Town(3km) management will be indifferent"));
}

void TestTrendMarking::resetsClearTheirScopeOnly() {
    for (int a = 1; a <= AspectCount; ++a)
        for (int s = 1; s <= ScaleCount; ++s)
            model.futureGrid(a, s) = static_cast<std::int16_t>(1 + (a + s) % 2);
    model.impactGrid(2, 5) = Programme;

    resetTrendRow(model, 2);
    for (int s = 1; s <= ScaleCount; ++s) {
        QCOMPARE(model.futureGrid(2, s), 0);
        QVERIFY(model.futureGrid(3, s) != 0);
        QVERIFY(model.futureGrid(1, s) != 0);
    }
    resetTrendColumn(model, 22);
    for (int a = 1; a <= AspectCount; ++a) {
        QCOMPARE(model.futureGrid(a, 22), 0);
        QVERIFY(a == 2 || model.futureGrid(a, 21) != 0);
    }
    resetAllTrends(model);
    QVERIFY(model.futureGrid == Grid());
    QCOMPARE(model.impactGrid(2, 5), Programme);
}

void TestTrendMarking::impactReading_data() {
    QTest::addColumn<int>("impact");
    QTest::addColumn<int>("trend");
    QTest::addColumn<QString>("reading");
    QTest::newRow("frame with trend") << 1 << 1
                                      << "Ensemble(100m) mass is largest drawn frame of study (O) "
                                         "while concentrating in space (C)";
    QTest::newRow("frame without trend keeps the while")
        << 1 << 0 << "Ensemble(100m) mass is largest drawn frame of study (O) while indifferent";
    QTest::newRow("cell reset since")
        << 0 << 2 << "Ensemble(100m) mass is not affected while dispersing in space (D)";
}

void TestTrendMarking::impactReading() {
    QFETCH(int, impact);
    QFETCH(int, trend);
    QFETCH(QString, reading);
    QCOMPARE(future::impactReading(model), std::nullopt);
    model.lastImpactAspect = 6;
    model.lastImpactIndex = 10;
    model.impactGrid(6, 11) = static_cast<std::int16_t>(impact);
    model.futureGrid(6, 11) = static_cast<std::int16_t>(trend);
    QCOMPARE(future::impactReading(model).value_or(QString()), reading);
}

QTEST_GUILESS_MAIN(TestTrendMarking)
#include "tst_trendmarking.moc"
