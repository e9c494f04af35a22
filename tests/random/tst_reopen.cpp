// A thousand closings and reopenings of each window through the real buttons and the close
// box: every rebuilt window shows the kept marks and time horizon again, the marks
// themselves never move, and the closed window is really gone. The sanitizer build
// runs it to show that nothing leaks or piles up; the resident memory before and after is
// printed for information only.
#include "encoding.h"
#include "gui.h"
#include "reference.h"

#include <QDir>
#include <QFile>
#include <QPointer>
#include <QTemporaryDir>

#include <unistd.h>

using namespace sp;
using namespace sp::test;

namespace {

constexpr int Cycles = 1000;

// Resident set size in kB, from /proc/self/statm.
long residentKilobytes() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLong() * (sysconf(_SC_PAGESIZE) / 1024) : -1;
}

reference::Marks impactMarks(const Model &model) {
    reference::Marks marks{};
    for (int a = 1; a <= reference::Aspects; ++a)
        for (int s = 1; s <= reference::Scales; ++s)
            marks[a][s] = model.impactGrid(a, s);
    return marks;
}

// What "Go to Impacts" writes for the last advancing press.
QString reading(const Model &model) {
    const int a = model.lastImpactAspect, s = model.lastImpactIndex + 1;
    return reference::scaleWord(s) + QStringLiteral(" ") + reference::aspectWord(a) +
           QStringLiteral(" is ") + reference::impactWord(model.impactGrid(a, s)) +
           QStringLiteral(" while ") + reference::trendWord(a, model.futureGrid(a, s));
}

bool sameMarks(const Model &a, const Model &b) {
    return a.futureGrid == b.futureGrid && a.impactGrid == b.impactGrid &&
           a.lastImpactAspect == b.lastImpactAspect && a.lastImpactIndex == b.lastImpactIndex &&
           a.scaleNames == b.scaleNames && a.aspectNames == b.aspectNames &&
           a.trendNames == b.trendNames && a.impactNames == b.impactNames;
}

} // namespace

class TestReopen : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void futureReopened();
    void impactsReopened();

private:
    FutureWindow *future() const { return app->futureWindow(); }
    ImpactsWindow *impacts() const { return app->impactsWindow(); }
    void pressImpacts(int aspect, int index, int times);
    void placeFrameAndGrain();
    void closeAndForget(QWidget *window);
    void verifyShownMarks(const MatrixControls &matrix, bool future);

    std::optional<QuietRaise> quiet;
    std::optional<ScratchDirectory> dir;
    std::unique_ptr<Application> app;
    Model marked; // the marks every cycle must find again
    qsizetype windowsBefore = 0;
};

void TestReopen::initTestCase() {
    quiet.emplace();
    dir.emplace();
    QVERIFY(dir->isCurrent());
}

void TestReopen::cleanupTestCase() {
    dir.reset();
    quiet.reset();
}

void TestReopen::pressImpacts(int aspect, int index, int times) {
    for (int i = 0; i < times; ++i)
        pressCell(impacts()->matrix().cell(aspect, index), Qt::LeftButton);
}

void TestReopen::placeFrameAndGrain() {
    pressImpacts(6, 7, 1);  // O at Town(3km)
    pressImpacts(6, 12, 1); // o at Building(10m)
}

// Trends in three rows, a frame and a grain, impacts with black cues, and the last press on
// culture at Subcontinental(1000km), whose three-press cycle I, P, nothing returns to I.
void TestReopen::init() {
    app = std::make_unique<Application>();
    app->start();
    pressCell(future()->matrix().cell(1, 7), Qt::LeftButton);
    pressCell(future()->matrix().cell(3, 2), Qt::LeftButton);
    pressCell(future()->matrix().cell(3, 2), Qt::LeftButton);
    pressCell(future()->matrix().cell(6, 12), Qt::MiddleButton);
    click(button(future(), "goToImpacts"));
    placeFrameAndGrain();
    pressImpacts(5, 5, 2);
    pressImpacts(2, 2, 1);
    QCOMPARE(future()->matrix().cell(2, 2)->fill(), QColor(Qt::black));
    QCOMPARE(impacts()->resolutionLabel()->text(),
             QStringLiteral("The object of study has the resolution of a blue print"));
    marked = app->model();
    QCOMPARE(marked.lastImpactAspect, 2);
    QCOMPARE(marked.lastImpactIndex, 2);
    windowsBefore = ownWindows();
    QCOMPARE(windowsBefore, 2);
}

void TestReopen::cleanup() {
    app.reset();
}

// Closes a window as its close box does and checks that it is gone once Qt has let go of it.
void TestReopen::closeAndForget(QWidget *window) {
    QPointer<QWidget> closing(window);
    QVERIFY(window->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(closing.isNull());
    QCOMPARE(ownWindows(), windowsBefore - 1);
}

// Every cell shows its kept mark; in Future, a cell with an impact but no trend is black.
void TestReopen::verifyShownMarks(const MatrixControls &matrix, bool future) {
    const Model &m = app->model();
    for (int a = 1; a <= reference::Aspects; ++a)
        for (int j = 0; j < reference::Scales; ++j) {
            const int trend = m.futureGrid(a, j + 1), impact = m.impactGrid(a, j + 1);
            QCOMPARE(matrix.cell(a, j)->text(),
                     future ? reference::trendCaption(a, trend) : reference::impactCaption(impact));
            const bool black = future && trend == 0 && impact != 0;
            QCOMPARE(matrix.cell(a, j)->fill(),
                     black ? QColor(Qt::black) : reference::rowColour(a));
        }
}

void TestReopen::futureReopened() {
    const long before = residentKilobytes();
    for (int cycle = 0; cycle < Cycles; ++cycle) {
        // Leave traces in the window that goes: a caption, a black cue, an edited horizon.
        if (!impacts()->isVisible())
            click(button(future(), "goToImpacts"));
        pressImpacts(2, 2, 3); // P, nothing, I: the cue is painted again
        click(button(impacts(), "goToFuture"));
        for (int i = 0; i < 3; ++i)
            pressCell(future()->matrix().cell(1, 7), Qt::LeftButton);
        future()->horizonEdit()->setText(QStringLiteral("year %1").arg(cycle));
        QCOMPARE(future()->matrix().cell(1, 7)->text(), QStringLiteral("!"));
        QCOMPARE(future()->matrix().cell(2, 2)->fill(), QColor(Qt::black));
        QVERIFY(sameMarks(app->model(), marked));

        closeAndForget(future());
        if (QTest::currentTestFailed())
            return;
        QVERIFY(!future());
        QVERIFY(impacts()->isVisible());

        switch (cycle % 3) {
        case 0:
            click(button(impacts(), "goToFuture"));
            break;
        case 1:
            pressCell(impacts()->matrix().cell(4, cycle % 22), Qt::RightButton);
            break;
        default:
            // The cue of a press opens it hidden; the round of presses leaves the marks.
            pressImpacts(2, 2, 1);
            QVERIFY(future() && !future()->isVisible());
            pressImpacts(2, 2, 2);
            click(button(impacts(), "goToFuture"));
        }
        QVERIFY2(future() && future()->isVisible(), qPrintable(QString::number(cycle)));
        verifyShownMarks(future()->matrix(), true);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(future()->matrix().cell(1, 7)->text(), QStringLiteral("!"));
        QCOMPARE(future()->matrix().cell(3, 2)->text(), QStringLiteral("-"));
        QCOMPARE(future()->matrix().cell(6, 7)->fill(), QColor(Qt::black)); // the frame's cue
        QCOMPARE(future()->matrix().cell(6, 12)->fill(), reference::rowColour(6)); // has a trend
        QCOMPARE(future()->horizonEdit()->text(), QStringLiteral("year %1").arg(cycle));
        QCOMPARE(future()->status()->text(), QString());
        QCOMPARE(future()->matrixNote()->text(), QString());
        QCOMPARE(future()->saveNote()->text(), QString());
        QCOMPARE(label(future(), "perspectives")->text(), reference::perspectivesText());
        QVERIFY(sameMarks(app->model(), marked));
        QCOMPARE(ownWindows(), windowsBefore);
        // The next press steps on from the kept mark.
        if (cycle % 50 == 0) {
            pressCell(future()->matrix().cell(3, 2), Qt::LeftButton);
            QCOMPARE(future()->matrix().cell(3, 2)->text(), QString());
            pressCell(future()->matrix().cell(3, 2), Qt::LeftButton);
            pressCell(future()->matrix().cell(3, 2), Qt::LeftButton);
            QCOMPARE(future()->matrix().cell(3, 2)->text(), QStringLiteral("-"));
        }
        QCoreApplication::processEvents();
    }
    qInfo("resident memory before %d reopenings of Future: %ld kB, after: %ld kB", Cycles, before,
          residentKilobytes());
}

void TestReopen::impactsReopened() {
    const long before = residentKilobytes();
    const QString fileName = QStringLiteral("StudyProposal.txt");
    for (int cycle = 0; cycle < Cycles; ++cycle) {
        const int way = cycle % 4;
        // In every other round of four the mass row is cleared first, so the statement the
        // old window shows is stale and the new one must work it out from the marks.
        const bool clearMass = (cycle / 4) % 2 == 1 && way != 3;
        click(button(future(), "goToImpacts"));
        if (clearMass)
            click(impacts()->matrix().rowReset(5));
        pressImpacts(2, 2, 3);
        QCOMPARE(impacts()->matrix().cell(2, 2)->text(), QStringLiteral("I"));
        click(button(impacts(), "goToFuture"));
        QString horizon = QStringLiteral("horizon %1").arg(cycle);
        if (cycle % 7 == 0)
            horizon += QString::fromUtf8("\t\xf0\x9f\x98\x80 \xe4\xb8\x96");
        future()->horizonEdit()->setText(horizon);
        const Model kept = app->model();
        const QString stale = impacts()->resolutionLabel()->text();

        closeAndForget(impacts());
        if (QTest::currentTestFailed())
            return;
        QVERIFY(!impacts());
        QVERIFY(future()->isVisible());

        switch (way) {
        case 0:
            click(button(future(), "goToImpacts"));
            break;
        case 1:
            QTest::mouseClick(label(future(), "horizonTitle"), Qt::LeftButton);
            break;
        case 2:
            pressCell(future()->matrix().cell(5, cycle % 22), Qt::RightButton);
            break;
        default:
            QFile::remove(fileName);
            click(button(future(), "saveProposal")); // reads the statement: opens it hidden
        }
        QVERIFY2(impacts(), qPrintable(QString::number(cycle)));
        QCOMPARE(impacts()->isVisible(), way != 3);
        verifyShownMarks(impacts()->matrix(), false);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(impacts()->matrix().cell(6, 7)->text(),
                 clearMass ? QString() : QStringLiteral("O"));
        QCOMPARE(impacts()->horizonLabel()->text(), horizon);
        const QString statement = reference::resolutionStatement(impactMarks(kept));
        QCOMPARE(impacts()->resolutionLabel()->text(), statement);
        if (clearMass)
            QVERIFY(statement != stale);
        QCOMPARE(impacts()->status()->text(), way == 0 || way == 2 ? reading(kept) : QString());
        QCOMPARE(impacts()->switchNote()->text(), QString());
        QVERIFY(sameMarks(app->model(), kept));
        QCOMPARE(ownWindows(), windowsBefore);
        if (way == 3) {
            QFile file(fileName);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QVERIFY(file.readAll().contains(
                proposal::toWindows1252(statement + QStringLiteral(" for ") + horizon)));
        }

        if (clearMass) {
            placeFrameAndGrain();
            pressImpacts(2, 2, 3); // the last press back where it was
        }
        QVERIFY(sameMarks(app->model(), marked));
        QCoreApplication::processEvents();
    }
    qInfo("resident memory before %d reopenings of Impacts: %ld kB, after: %ld kB", Cycles, before,
          residentKilobytes());
}

QTEST_MAIN(TestReopen)
#include "tst_reopen.moc"
