// The save button of Future driven with real clicks, in a scratch working directory.
#include "encoding.h"
#include "gui.h"
#include "marks.h"
#include "studyfile.h"
#include "studyproposal.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace sp;
using namespace sp::test;

namespace {

const QString FileName = QStringLiteral("StudyProposal.txt");

QByteArray readFile(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestSave : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void refusedWithoutFrameAndGrain_data();
    void refusedWithoutFrameAndGrain();
    void savesWhatTheWindowsShow();
    void savingWithImpactsClosedOpensItHidden();
    void failedSaveIsReportedAndKeepsTheDirectory();
    void secondSaveReplacesTheFirst();
    void markOutOfRangeIsAFailure();

private:
    void placeFrameAndGrain(int frameIndex, int grainIndex);

    std::optional<ScratchDirectory> dir;
    std::unique_ptr<Application> app;
    FutureWindow *future() const { return app->futureWindow(); }
    ImpactsWindow *impacts() const { return app->impactsWindow(); }
    void save() { click(button(future(), "saveProposal")); }
};

void TestSave::init() {
    dir.emplace();
    QVERIFY(dir->isCurrent());
    app = std::make_unique<Application>();
    app->start();
}

void TestSave::cleanup() {
    app.reset();
    dir.reset();
}

void TestSave::placeFrameAndGrain(int frameIndex, int grainIndex) {
    app->showImpacts();
    auto press = [this](int index, int times) {
        for (int i = 0; i < times; ++i)
            pressCell(impacts()->matrix().cell(6, index), Qt::LeftButton);
    };
    // A grain needs a frame to be placed; for a lone grain, lift the helping frame after.
    const int frame = frameIndex >= 0 ? frameIndex : 0;
    if (frameIndex >= 0 || grainIndex >= 0)
        press(frame, 1);
    if (grainIndex >= 0)
        press(grainIndex, 1);
    if (frameIndex < 0 && grainIndex >= 0)
        press(frame, 3); // I, P, not affected
}

void TestSave::refusedWithoutFrameAndGrain_data() {
    QTest::addColumn<int>("frame");
    QTest::addColumn<int>("grain");
    QTest::addColumn<bool>("existing");
    QTest::newRow("neither, no file") << -1 << -1 << false;
    QTest::newRow("neither, earlier file") << -1 << -1 << true;
    QTest::newRow("frame only") << 7 << -1 << true;
    QTest::newRow("grain only") << -1 << 12 << true;
}

void TestSave::refusedWithoutFrameAndGrain() {
    QFETCH(int, frame);
    QFETCH(int, grain);
    QFETCH(bool, existing);
    const QByteArray earlier("earlier\r\n");
    if (existing) {
        QFile file(FileName);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(earlier);
    }
    placeFrameAndGrain(frame, grain);
    QCOMPARE(proposal::countImpactMarks(app->model(), 6, Frame), frame >= 0 ? 1 : 0);
    QCOMPARE(proposal::countImpactMarks(app->model(), 6, Grain), grain >= 0 ? 1 : 0);
    const Model before = app->model();
    save();
    QCOMPARE(future()->status()->text(),
             QStringLiteral(
                 "Fill in your frame (O) and grain (o) in the row mass|space|time before saving."));
    QCOMPARE(QFile::exists(FileName), existing);
    if (existing)
        QCOMPARE(readFile(FileName), earlier);
    QCOMPARE(QDir(dir->path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size(),
             existing ? 1 : 0);
    QVERIFY(app->model().impactGrid == before.impactGrid);
}

void TestSave::savesWhatTheWindowsShow() {
    // The worked example, marked with clicks.
    CellButton *town = future()->matrix().cell(3, 7);
    pressCell(town, Qt::LeftButton);
    pressCell(future()->matrix().cell(3, 8), Qt::LeftButton);
    pressCell(future()->matrix().cell(3, 8), Qt::LeftButton);
    pressCell(future()->matrix().cell(3, 12), Qt::LeftButton);
    placeFrameAndGrain(7, 12);
    for (int i = 0; i < 2; ++i)
        pressCell(impacts()->matrix().cell(3, 8), Qt::LeftButton); // P
    pressCell(impacts()->matrix().cell(3, 9), Qt::LeftButton);     // I
    for (int i = 0; i < 2; ++i)
        pressCell(impacts()->matrix().cell(5, 7), Qt::LeftButton); // P
    click(button(impacts(), "goToFuture"));
    future()->horizonEdit()->setText(QStringLiteral("2030"));
    pressCell(future()->matrix().cell(1, 0), Qt::LeftButton);
    pressCell(future()->matrix().cell(1, 0), Qt::LeftButton);
    pressCell(future()->matrix().cell(1, 0), Qt::LeftButton); // back to 0, status set
    const QString status = future()->status()->text();

    save();
    QCOMPARE(future()->status()->text(), status); // success keeps the status line
    const QByteArray bytes = readFile(FileName);
    QVERIFY(bytes.contains("\r\n1.1 OBJECT OF MY STUDY\r\n"));
    QVERIFY(bytes.contains("\r\nThe object of study has the resolution of a blue print for 2030 on "
                           "Town(3km) scale with smallest details on Building(10m) level.\r\n"));
    QVERIFY(bytes.contains("\r\nIf economy will be growing (+) on Town(3km), not on District(1km), "
                           "on Building(10m) level, it will influence the location by ....\r\n"));
    QVERIFY(bytes.endsWith(
        "\r\nplanhorizon(2030)\r\neconomy supposed growing(Town(3km),notDistrict(1km),"
        "Building(10m))\r\nframe object(Town(3km))\r\ngrain object(Building(10m))\r\n"
        "impact economy(Neighbourhood(300m))\r\nprogramme economy(District(1km))\r\n"
        "programme ecology(Town(3km))\r\n"));
    const QByteArray dateLine = "(" + proposal::todayShortDate().toLatin1() + ")<TITLE>";
    QVERIFY(bytes.contains(dateLine));
    QCOMPARE(bytes,
             proposal::toWindows1252(proposal::studyProposalText(
                 app->model(), impacts()->resolutionLabel()->text(), proposal::todayShortDate())));
    // An edited horizon reaches every place; a character the code page lacks becomes "?".
    future()->horizonEdit()->setText(QStringLiteral("2050 \u4e16"));
    save();
    const QByteArray second = readFile(FileName);
    QVERIFY(second.contains("\r\nplanhorizon(2050 ?)\r\n"));
    QVERIFY(second.contains("of study until 2050 ? are:\r\n"));
}

void TestSave::savingWithImpactsClosedOpensItHidden() {
    placeFrameAndGrain(0, 21);
    click(button(impacts(), "goToFuture"));
    // Lift the grain after closing: the hidden reload computes the statement anew.
    closeWindow(impacts());
    app->model().impactGrid(6, 22) = NotAffected;
    app->model().impactGrid(6, 3) = Grain;
    save();
    QVERIFY(impacts());
    QVERIFY(!impacts()->isVisible());
    QCOMPARE(impacts()->resolutionLabel()->text(),
             QStringLiteral("The object of study has the resolution of a rough sketch"));
    QVERIFY(
        readFile(FileName).contains("\r\nThe object of study has the resolution of a rough sketch "
                                    "for 2030 on Global(10000km) scale "
                                    "with smallest details on Subcontinental(1000km) level.\r\n"));
}

void TestSave::failedSaveIsReportedAndKeepsTheDirectory() {
    QVERIFY(QDir().mkdir(FileName));
    QFile inside(FileName + QStringLiteral("/keep"));
    QVERIFY(inside.open(QIODevice::WriteOnly));
    inside.close();
    placeFrameAndGrain(7, 12);
    save();
    const QString status = future()->status()->text();
    QVERIFY2(status.startsWith(QStringLiteral("Could not save StudyProposal.txt: ")),
             qPrintable(status));
    QVERIFY(status.size() > QStringLiteral("Could not save StudyProposal.txt: ").size());
    QVERIFY(QFileInfo(FileName).isDir());
    QVERIFY(QFile::exists(FileName + QStringLiteral("/keep")));
    QCOMPARE(QDir(dir->path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
             QStringList{FileName});
}

void TestSave::secondSaveReplacesTheFirst() {
    placeFrameAndGrain(7, 12);
    pressCell(impacts()->matrix().cell(2, 2), Qt::LeftButton); // I
    save();
    const QByteArray first = readFile(FileName);
    QVERIFY(first.contains("impact culture(Subcontinental(1000km))"));
    click(impacts()->matrix().rowReset(1));
    save();
    const QByteArray second = readFile(FileName);
    QVERIFY(!second.contains("impact culture"));
    QVERIFY(second.size() < first.size());
    QCOMPARE(second,
             proposal::toWindows1252(proposal::studyProposalText(
                 app->model(), impacts()->resolutionLabel()->text(), proposal::todayShortDate())));
}

// The windows never make such a mark; should the model hold one, the save says so and writes
// nothing, as for any other failure.
void TestSave::markOutOfRangeIsAFailure() {
    placeFrameAndGrain(7, 12);
    app->model().futureGrid(2, 3) = 7;
    save();
    QVERIFY2(future()->status()->text().startsWith(
                 QStringLiteral("Could not save StudyProposal.txt: Internal error: ")),
             qPrintable(future()->status()->text()));
    QVERIFY(!QFile::exists(FileName));
    QVERIFY(app->commands().hasUnsavedChanges());
}

QTEST_MAIN(TestSave)
#include "tst_save.moc"
