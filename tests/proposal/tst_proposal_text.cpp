#include "encoding.h"
#include "fixtures.h"
#include "studyproposal.h"
#include "vocabulary.h"

#include <QRegularExpression>
#include <QTest>

#include <algorithm>

using namespace sp;
using Lines = QList<QByteArray>;

namespace {

const QStringList &ScaleWords = test::words::Scales;
const QStringList &AspectWords = test::words::Aspects;

const QByteArray StartTable = "<start selecting text on the beginning of next line choosing "
                              "<table, convert text into table>>";
const QByteArray StopTable =
    "<stop selecting text on the end of previous line choosing <table, convert text into table>>";
const QByteArray Upright =
    "<put the letters of the first row upright and stretch the height of the row to fit on page>";
const QByteArray HeadingB7 = "<give headings like this an automatically numbered heading 1 profile "
                             "in Word and remove the superfluous second number> ";
const QByteArray HeadingB10 =
    "<give headings like this an automatically numbered heading 2 profile "
    "in Word and remove the superfluous second number> ";
const QByteArray LineI3 = "With regard to my assumptions about the future context (1.2) and "
                          "referring to the intended impacts (1.3) as a result of this study: ";
const QByteArray LastE = "<for every field, indicated by a P, try to write down here which actors "
                         "will be favoured by your study, change next lines as reminders into "
                         "your own words>";
const QByteArray FirstF = "They possibly will support an assignment and programme of requirements "
                          "to change undesired developments.";
const QByteArray LastF = "<for every field, indicated by an I, try to write down here which "
                         "actors will be put at a disadvantage by your study, change next lines "
                         "as reminders into your own words>";
const QByteArray LastH = "<for every field, write down how it will influence your location. "
                         "Change next lines as reminders into your own words>";
const QByteArray LastI = "<for every field, indicated as a P, try to write down how it motivates "
                         "your study. If possible, elaborate that motivation into more precise "
                         "intentions, aims or even programme points; change next lines as "
                         "reminders into your own words>";
const QByteArray KeyWordsExplained =
    "In this index an expression like y(x), object(subject) means \x91object y as a working "
    "(function, action, output, result, characteristic) of the subject x (independent variable "
    "actor, input, condition, cause)\x92.";

QByteArray tabs(int n) {
    return QByteArray(n, '\t');
}

QByteArray header(const QByteArray &caption) {
    return caption + '\t' + ScaleWords.join(u'\t').toLatin1() + '\t';
}

QByteArray documentBytes(Model model, const QString &horizon, const QString &resolution) {
    model.horizon = horizon;
    return proposal::toWindows1252(
        proposal::studyProposalText(model, resolution, QStringLiteral("12/8/25")));
}

// `run` must stand as consecutive lines at or after `from`; `from` moves past it.
void expectRun(const Lines &lines, const Lines &run, qsizetype &from) {
    const qsizetype at = lines.indexOf(run.first(), from);
    QVERIFY2(at >= 0, run.first().constData());
    QCOMPARE(lines.mid(at, run.size()), run);
    from = at + run.size();
}

// Folds accents so that surnames compare as in an alphabetical list.
QString sortKey(const QString &reference) {
    QString key;
    for (QChar c : reference.section(u',', 0, 0).normalized(QString::NormalizationForm_D))
        if (c.category() != QChar::Mark_NonSpacing)
            key.append(c.toLower());
    return key;
}

} // namespace

class TestProposalText : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void workedExample();
    void wholeFile_data();
    void wholeFile();
    void blocks_data();
    void blocks();
    void referenceList();
    void markOutOfRangeStops();
};

void TestProposalText::workedExample() {
    bool crLf = false;
    const Lines lines = fixtures::splitCrLf(
        documentBytes(fixtures::workedExample(), QStringLiteral("2030"), fixtures::BluePrint),
        &crLf);
    QVERIFY(crLf);
    QCOMPARE(lines.size(), 246);

    const QByteArray object = "The object of study has the resolution of a blue print for 2030 on "
                              "Town(3km) scale with smallest details on Building(10m) level";
    const QByteArray empty = tabs(23);
    qsizetype from = 0;
    expectRun(lines,
              {"<messages between these brackets have to be executed and removed after execution>",
               "<copy this text in a Word document on your own disc>",
               "<author's last name, first name or initials and prefix>(12/8/25)<TITLE> "
               "(Vennmark) HSO Faculty of Architecture",
               "<if there is already a location, make its name part of your title>"},
              from);
    QCOMPARE(from, 4);
    expectRun(
        lines,
        {"1.1 OBJECT OF MY STUDY",
         HeadingB10,
         object + ".",
         "",
         "1.2 PROBABLE FUTURE CONTEXT: FIELD OF PROBLEMS",
         "My assumptions about the probable future context of the object of study until 2030 "
         "are:",
         StartTable,
         header("Future 2030"),
         "management" + empty,
         "culture" + empty,
         "economy\t" + tabs(7) + "+\t-\t" + tabs(3) + "+\t" + tabs(9),
         "technique" + empty,
         "ecology" + empty,
         "mass" + empty,
         StopTable,
         Upright,
         "<if the table is still too wide, decrease the margins per cell in table properties>",
         "Legend:",
         "management is initiating (!) or executing or controlling initiatives (?)",
         "culture is innovative (>) or traditional (<)",
         "economy is growing (+) or declining (-)",
         "technique is internally specializing subfunctions (/) or internally combining "
         "subfunctions (X)",
         "ecology is internally differentiating into heterogeneity (|) or internally "
         "egalizing into homogeneity (=)",
         "mass is concentrating in space (C) or dispersing in space (D)",
         "",
         "As far as this future is not desirable it will generate a field of problems "
         "(Marrek and Wendrik(2002))."},
        from);
    expectRun(lines,
              {"My study derives its motivation, intention, aims or even programme of requirements "
               "from fields indicated by a P in the next table:",
               "",
               StartTable,
               header("Impacts 2030"),
               "management" + empty,
               "culture" + empty,
               "economy\t" + tabs(8) + "P\tI\t" + tabs(12),
               "technique" + empty,
               "ecology\t" + tabs(7) + "P\t" + tabs(14),
               "mass\t" + tabs(7) + "O\t" + tabs(4) + "o\t" + tabs(9),
               StopTable,
               Upright,
               "Legend:",
               "largest drawn frame of study (O) and smallest characteristic detail of study (o)",
               "affected without intention (I) or origin of my motivation or programme (P)",
               "",
               "They also indicate which actors (problem owners) will be primarily favoured by "
               "realising the results of my study:",
               LastE,
               "Actors in economy on the level of ",
               "\tdeclining (-) District(1km) like ...",
               "Actors in ecology on the level of ",
               "\tTown(3km) like ...",
               FirstF,
               "",
               "Unintended impacts in the fields indicated by an I in the table above could put "
               "other actors at a disadvantage like:",
               LastF,
               "Actors in economy on the level of ",
               "\tNeighbourhood(300m) like ...",
               "",
               "1.4 MY DESIGNERLY REFERENCES: FIELD OF MEANS"},
              from);
    expectRun(lines,
              {"2 MY STUDY PROPOSAL", "2.1 LOCATION AND OTHER FUTURE CONTEXT FACTORS",
               object + ". The actual object will be located in ....",
               "<if you already have chosen a location, give a map and other images of the "
               "location here; if not, describe criteria for a location relevant to your study>",
               "",
               "If the context will change like I assumed in 1.2 it wil influence the location as "
               "follows.",
               LastH, "",
               "If economy will be growing (+) on Town(3km), not on District(1km), on "
               "Building(10m) level, it will influence the location by ....",
               "", "2.2 MOTIVATION OR PROGRAMME OF REQUIREMENTS", LineI3, LastI,
               "District(1km) economy usually declining (-) should ...",
               "Town(3km) ecology should ...", "",
               "2.3 INTENDED RESULTS, CONTRIBUTIONS AND PLANNING"},
              from);
    expectRun(lines,
              {"3.3 KEY WORDS", "<add key words by which your study could be found back by others>",
               KeyWordsExplained, "", "planhorizon(2030)",
               "economy supposed growing(Town(3km),notDistrict(1km),Building(10m))",
               "frame object(Town(3km))", "grain object(Building(10m))",
               "impact economy(Neighbourhood(300m))", "programme economy(District(1km))",
               "programme ecology(Town(3km))"},
              from);
    QCOMPARE(from, lines.size());
}

void TestProposalText::wholeFile_data() {
    QTest::addColumn<Model>("model");
    QTest::addColumn<QString>("horizon");
    QTest::addColumn<QByteArray>("horizonBytes");
    QTest::addColumn<int>("lineCount");
    QTest::addColumn<int>("actorHeadings");
    QTest::addColumn<Lines>("present");  // exact lines somewhere in the file
    QTest::addColumn<Lines>("adjacent"); // pairs of lines that must follow each other

    QTest::newRow("frame and grain only")
        << fixtures::saveableModel() << QStringLiteral("2030") << QByteArray("2030") << 232 << 0
        << Lines{"planhorizon(2030)", "frame object(Town(3km))", "grain object(Building(10m))",
                 "management" + tabs(23), "mass\t" + tabs(7) + "O\t" + tabs(4) + "o\t" + tabs(9)}
        << Lines{LastE, FirstF, LastF, "", LastH, "", LastI, ""};

    QList<std::pair<int, QString>> techniqueCells;
    for (int s = 1; s <= ScaleCount; ++s)
        if (s % 3 != 0)
            techniqueCells.append({s, s % 3 == 1 ? "/" : "x"});
    const QByteArray TechniqueRow = fixtures::row("technique", techniqueCells).toLatin1();
    const auto crowded = [&](const QByteArray &h) {
        return Lines{
            "The object of study will be elaborated on several scales for " + h +
                " on Subcontinental(1000km) scale with smallest details on "
                "Buildingcomponent(300mm)  level.",
            "My assumptions about the probable future context of the object of study until " + h +
                " are:",
            "planhorizon(" + h + ")",
            "\tinitiating (!) Buildingcomponent(300mm)  like ...",
            "\tElement(30mm) like ...",
            "Buildingcomponent(300mm)  management usually initiating (!) should ...",
            "Continental(3000km) culture usually traditional (<) should ...",
            "Element(30mm) mass should ...",
            "If ecology will be internally differentiating into heterogeneity (|) on "
            "Global(10000km), not on Continental(3000km), on National(300km), not on "
            "Subnational(100km), on Subregional(10km), not on Town(3km), on Neighbourhood(300m), "
            "not on Ensemble(100m), on Building(10m), not on Buildingsegment(3m), on "
            "Buildingcomponent(300mm) , not on Superelement(100mm), on Subelement(10mm), not on "
            "Supermaterial(3mm), on Submaterial(<1mm) level, it will influence the location by "
            "....",
            "technique supposed specialising(Global(10000km),notContinental(3000km),"
            "National(300km),notSubnational(100km),Subregional(10km),notTown(3km),"
            "Neighbourhood(300m),notEnsemble(100m),Building(10m),notBuildingsegment(3m),"
            "Buildingcomponent(300mm) ,notSuperelement(100mm),Subelement(10mm),"
            "notSupermaterial(3mm),Submaterial(<1mm))",
            "frame object(Subcontinental(1000km))",
            "grain object(Buildingcomponent(300mm) )",
            "impact mass(Supermaterial(3mm))",
            "programme management(Continental(3000km),Buildingcomponent(300mm) )",
            "programme mass(Element(30mm))",
            TechniqueRow,
        };
    };
    // Every row has the same cells: P at 2 and 16, I at 5 and 20.
    QTest::newRow("crowded, empty horizon")
        << fixtures::crowdedModel() << QString() << QByteArray() << 307 << 12 << crowded("")
        << Lines{"impact ecology(Subnational(100km),Supermaterial(3mm))",
                 "impact mass(Supermaterial(3mm))"};
    QTest::newRow("crowded, horizon outside the code page")
        << fixtures::crowdedModel() << QStringLiteral("2030\u2013\u4e2d\U0001F600")
        << QByteArray("2030\x96??") << 307 << 12 << crowded("2030\x96??")
        << Lines{"programme ecology(Continental(3000km),Buildingcomponent(300mm) )",
                 "programme mass(Element(30mm))"};
}

void TestProposalText::wholeFile() {
    QFETCH(Model, model);
    QFETCH(QString, horizon);
    QFETCH(QByteArray, horizonBytes);
    QFETCH(int, lineCount);
    QFETCH(int, actorHeadings);
    QFETCH(Lines, present);
    QFETCH(Lines, adjacent);

    const QByteArray bytes = documentBytes(model, horizon, fixtures::SeveralScales);
    bool crLf = false;
    const Lines lines = fixtures::splitCrLf(bytes, &crLf);
    QVERIFY2(crLf, "every line ends with CR LF, with no lone CR or LF");
    QCOMPARE(lines.size(), lineCount);

    // The fixed segments, each found once and whole.
    struct Span {
        QByteArray first;
        int distance;
        QByteArray last;
    };
    const Span spans[] = {
        {"<if there is already a location, make its name part of your title>", 9, HeadingB10},
        {"As far as this future is not desirable it will generate a field of problems (Marrek "
         "and Wendrik(2002)).",
         5,
         "My study derives its motivation, intention, aims or even programme of requirements from "
         "fields indicated by a P in the next table:"},
        {"They also indicate which actors (problem owners) will be primarily favoured by "
         "realising the results of my study:",
         1, LastE},
        {FirstF, 3, LastF},
        {"1.4 MY DESIGNERLY REFERENCES: FIELD OF MEANS", 44,
         "2.1 LOCATION AND OTHER FUTURE CONTEXT FACTORS"},
        {"<if you already have chosen a location, give a map and other images of the location "
         "here; if not, describe criteria for a location relevant to your study>",
         3, LastH},
        {"2.2 MOTIVATION OR PROGRAMME OF REQUIREMENTS", 2, LastI},
        {"2.3 INTENDED RESULTS, CONTRIBUTIONS AND PLANNING", 35, "<Add and remove titles.>"},
        {"<Add and remove titles.>", 67, "....."},
        {".....", 6, KeyWordsExplained},
        {KeyWordsExplained, 2, "planhorizon(" + horizonBytes + ")"},
    };
    for (const Span &span : spans) {
        QCOMPARE(lines.count(span.first), 1);
        const qsizetype at = lines.indexOf(span.first);
        QCOMPARE(lines.value(at + span.distance), span.last);
    }
    QCOMPARE(lines.count(HeadingB7), 1);
    QCOMPARE(lines.count(LineI3), 1);
    QCOMPARE(std::count_if(lines.begin(), lines.end(),
                           [](const QByteArray &l) { return l.endsWith(' '); }),
             3 + actorHeadings);
    QCOMPARE(bytes.count('\x85'), 8);
    QCOMPARE(bytes.count('\x91'), 1);
    QCOMPARE(bytes.count('\x92'), 1);
    const qsizetype references = lines.indexOf("<Add and remove titles.>") + 1;
    const Lines referenceLines = lines.mid(references, 66);
    QVERIFY(std::any_of(referenceLines.begin(), referenceLines.end(),
                        [](const QByteArray &l) { return l.contains('\xe1'); }));
    QVERIFY(std::any_of(referenceLines.begin(), referenceLines.end(),
                        [](const QByteArray &l) { return l.contains('\xf6'); }));

    // Both tables: 7 rows of 23 tab-terminated cells.
    QCOMPARE(lines.count(StartTable), 2);
    qsizetype at = -1;
    for (const QByteArray caption : {"Future ", "Impacts "}) {
        at = lines.indexOf(StartTable, at + 1);
        QCOMPARE(lines.value(at + 1), header(caption + horizonBytes));
        for (int row = 1; row <= 7; ++row) {
            const QByteArray &line = lines.value(at + row);
            QCOMPARE(line.count('\t'), 23);
            QVERIFY(line.endsWith('\t'));
            if (row > 1)
                QCOMPARE(line.left(line.indexOf('\t')), AspectWords[row - 2].toLatin1());
        }
        QCOMPARE(lines.value(at + 8), StopTable);
    }

    for (const QByteArray &line : present)
        QVERIFY2(lines.contains(line), line.constData());
    for (qsizetype i = 0; i + 1 < adjacent.size(); i += 2) {
        QCOMPARE(lines.count(adjacent[i]), 1);
        QCOMPARE(lines.value(lines.indexOf(adjacent[i]) + 1), adjacent[i + 1]);
    }
}

void TestProposalText::blocks_data() {
    QTest::addColumn<Model>("model");
    QTest::addColumn<QList<QStringList>>("runs"); // consecutive lines, in file order
    QTest::addColumn<QStringList>("absentPrefixes");

    const QString lastH = QString::fromLatin1(LastH);
    const QString lastI = QString::fromLatin1(LastI);
    const QString motivation = QStringLiteral("2.2 MOTIVATION OR PROGRAMME OF REQUIREMENTS");

    Model noProgramme = fixtures::workedExample();
    noProgramme.impactGrid(3, 9) = NotAffected;
    noProgramme.impactGrid(5, 8) = NotAffected;
    QTest::newRow("no P anywhere")
        << noProgramme
        << QList<QStringList>{{QString::fromLatin1(LastE), QString::fromLatin1(FirstF)},
                              {lastI, "", "2.3 INTENDED RESULTS, CONTRIBUTIONS AND PLANNING"},
                              {"impact economy(Neighbourhood(300m))"}}
        << QStringList{"programme ", "Actors in ecology"};

    Model secondOnly = fixtures::saveableModel();
    secondOnly.futureGrid(2, 8) = 2;
    QTest::newRow("only the second trend in a row")
        << secondOnly
        << QList<QStringList>{{fixtures::row("culture", {{8, "<"}})}, {lastH, "", motivation}}
        << QStringList{"If ", "culture supposed"};

    Model secondFirst = fixtures::saveableModel();
    secondFirst.futureGrid(2, 8) = 2;
    secondFirst.futureGrid(2, 9) = 1;
    QTest::newRow("second trend before the first")
        << secondFirst
        << QList<QStringList>{{lastH, "",
                               "If culture will be innovative (>) not on Town(3km), on "
                               "District(1km) level, it will influence the location by ....",
                               "", motivation},
                              {"planhorizon(2030)",
                               "culture supposed innovative(notTown(3km),District(1km))"}}
        << QStringList{};

    Model noTrend = fixtures::saveableModel();
    noTrend.impactGrid(4, 10) = Programme;
    noTrend.impactGrid(4, 11) = Unintended;
    QTest::newRow("P and I without a trend")
        << noTrend
        << QList<QStringList>{{"Actors in technique on the level of ",
                               "\tNeighbourhood(300m) like ...", QString::fromLatin1(FirstF)},
                              {"Actors in technique on the level of ", "\tEnsemble(100m) like ...",
                               ""},
                              {lastI, "Neighbourhood(300m) technique should ...", ""},
                              {"impact technique(Ensemble(100m))",
                               "programme technique(Neighbourhood(300m))"}}
        << QStringList{"If ", "Neighbourhood(300m) technique usually"};

    Model technique = fixtures::saveableModel();
    technique.futureGrid(4, 4) = 2;
    technique.futureGrid(4, 5) = 1;
    technique.impactGrid(4, 4) = Programme;
    QTest::newRow("technique's second trend in the table")
        << technique
        << QList<
               QStringList>{{fixtures::row("technique", {{4, "x"}, {5, "/"}})},
                            {"\tinternally combining subfunctions (X) National(300km) like ..."},
                            {"If technique will be internally specializing subfunctions (/) not on "
                             "National(300km), on Subnational(100km) level, it will influence the "
                             "location "
                             "by ...."},
                            {"National(300km) technique usually internally combining subfunctions "
                             "(X) "
                             "should ..."},
                            {"technique supposed "
                             "specialising(notNational(300km),Subnational(100km))"}}
        << QStringList{};

    Model several = fixtures::saveableModel();
    several.impactGrid(6, 8) = NotAffected;
    several.impactGrid(6, 3) = Frame;
    several.impactGrid(6, 14) = Grain;
    several.impactGrid(1, 7) = Unintended;
    several.impactGrid(1, 9) = Unintended;
    QTest::newRow("several frames, grains and I cells")
        << several
        << QList<QStringList>{{"frame object(Subcontinental(1000km))",
                               "grain object(Building(10m)Buildingsegment(3m))",
                               "impact management(Subregional(10km),District(1km))"}}
        << QStringList{"programme "};
}

void TestProposalText::blocks() {
    QFETCH(Model, model);
    QFETCH(QList<QStringList>, runs);
    QFETCH(QStringList, absentPrefixes);

    const QStringList lines = fixtures::splitCrLf(
        proposal::studyProposalText(model, fixtures::BluePrint, QStringLiteral("today")));
    qsizetype from = lines.indexOf(QStringLiteral("1.1 OBJECT OF MY STUDY"));
    for (const QStringList &run : runs) {
        const qsizetype at = lines.indexOf(run.first(), from);
        QVERIFY2(at >= 0, qPrintable(run.first()));
        QCOMPARE(lines.mid(at, run.size()), run);
        from = at + run.size();
    }
    for (const QString &prefix : absentPrefixes) {
        for (const QString &line : lines) {
            // The one fixed line that opens like a location sentence.
            if (line.startsWith(QStringLiteral("If the context will change")))
                continue;
            QVERIFY2(!line.startsWith(prefix), qPrintable(line));
        }
    }
}

void TestProposalText::referenceList() {
    const QStringList lines = fixtures::splitCrLf(
        proposal::studyProposalText(fixtures::saveableModel(), fixtures::BluePrint, QString()));
    const qsizetype first = lines.indexOf(QStringLiteral("<Add and remove titles.>")) + 1;
    const QStringList references = lines.mid(first, 66);
    QCOMPARE(lines.value(first + 66), QStringLiteral("....."));

    const QString volume =
        QStringLiteral("Paths of inquiry in design (Vennmark) Vennmark University Press");
    const QString keyWords =
        QStringLiteral("; key words: <describe in key words why you choose this title>");
    int withKeyWords = 0;
    for (qsizetype i = 0; i < references.size(); ++i) {
        const QString &line = references[i];
        QVERIFY2(line.contains(QStringLiteral(" (2002) ")) && line.contains(volume),
                 qPrintable(line));
        if (line.endsWith(keyWords))
            ++withKeyWords;
        if (i > 0)
            QVERIFY2(sortKey(references[i - 1]) <= sortKey(line), qPrintable(line));
    }
    QCOMPARE(withKeyWords, 64);
    QCOMPARE(references.filter(QStringLiteral("Sandor, L. P., Eds. (2002) ") + volume + '.').size(),
             1);
    QCOMPARE(references.filter(QRegularExpression(" in: .*Press$")).size(), 1);
    // The authors the chapters cite.
    for (const char *author : {"Marrek, R. K. and Wendrik, ", "Tarvel, ", "Brumm, "})
        QCOMPARE(references.filter(QRegularExpression(QStringLiteral("^") + author)).size(), 1);
}

void TestProposalText::markOutOfRangeStops() {
    Model trend = fixtures::saveableModel();
    trend.futureGrid(2, 5) = 3;
    QVERIFY_THROWS_EXCEPTION(InternalError, proposal::studyProposalText(trend, "x", "today"));
    Model impact = fixtures::saveableModel();
    impact.impactGrid(2, 5) = -1;
    QVERIFY_THROWS_EXCEPTION(InternalError, proposal::studyProposalText(impact, "x", "today"));
}

QTEST_GUILESS_MAIN(TestProposalText)
#include "tst_proposal_text.moc"
