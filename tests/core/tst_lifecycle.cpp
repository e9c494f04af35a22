#include "gui.h"
#include "impactmarking.h"
#include "layout.h"

#include <QPointer>
#include <QScreen>
#include <QSignalSpy>
#include <QStyle>

using namespace sp;
using namespace sp::test;

class TestLifecycle : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void startShowsOnlyFuture();
    void windowsAreCentredGreyAndSized();
    void firstGoToImpactsCreatesAndLoads();
    void secondGoToImpactsDoesNotReload();
    void probableFutureUntilShowsImpactsOnly();
    void goToFutureLeavesOneBlank();
    void rightPressesSwitchWindows();
    void closedImpactsIsRebuiltFromKeptMarks();
    void closedFutureIsRebuiltWithDefaults();
    void reloadingLeavesModelUnchanged();

private:
    std::unique_ptr<Application> app;
    FutureWindow *future() const { return app->futureWindow(); }
    ImpactsWindow *impacts() const { return app->impactsWindow(); }
};

void TestLifecycle::init() {
    app = std::make_unique<Application>();
    app->start();
}

void TestLifecycle::cleanup() {
    app.reset();
}

void TestLifecycle::startShowsOnlyFuture() {
    QVERIFY(future());
    QVERIFY(future()->isVisible());
    QCOMPARE(future()->windowTitle(), QStringLiteral("Future"));
    QCOMPARE(impacts(), nullptr);
    QCOMPARE(app->model().scaleNames[8], QStringLiteral("Town(3km)"));
}

void TestLifecycle::windowsAreCentredGreyAndSized() {
    click(button(future(), "goToImpacts"));
    for (QWidget *window : {static_cast<QWidget *>(future()), static_cast<QWidget *>(impacts())}) {
        QCOMPARE(window->size(), QSize(762, 568));
        QCOMPARE(window->geometry().center(),
                 QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, QSize(762, 568),
                                     window->screen()->availableGeometry())
                     .center());
        QCOMPARE(window->palette().color(QPalette::Window), QColor(192, 192, 192));
        QCOMPARE(pixelAt(window, {755, 300}), QColor(192, 192, 192));
        QVERIFY(!window->windowIcon().isNull());
    }
    QCOMPARE(impacts()->windowTitle(), QStringLiteral("Object and impact"));
    QCOMPARE(impacts()->geometry(), future()->geometry());
}

void TestLifecycle::firstGoToImpactsCreatesAndLoads() {
    future()->horizonEdit()->setText(QStringLiteral("2045"));
    pressCell(future()->matrix().cell(1, 7), Qt::LeftButton);
    QVERIFY(!future()->status()->text().isEmpty());
    click(button(future(), "goToImpacts"));
    QVERIFY(impacts());
    QVERIFY(impacts()->isVisible());
    QCOMPARE(impacts()->horizonLabel()->text(), QStringLiteral("2045"));
    QCOMPARE(impacts()->resolutionLabel()->text(),
             QStringLiteral("Locate frame (O) and grain (o) of study in row Mass|space|time"));
    QCOMPARE(future()->status()->text(), QString());
    QCOMPARE(future()->matrixNote()->text(), QString());
    QCOMPARE(future()->saveNote()->text(), QString());
    QCOMPARE(impacts()->status()->text(), QString()); // no impact reading yet
}

void TestLifecycle::secondGoToImpactsDoesNotReload() {
    click(button(future(), "goToImpacts"));
    QPointer<ImpactsWindow> first = impacts();
    pressCell(impacts()->matrix().cell(3, 4), Qt::LeftButton);
    future()->horizonEdit()->setText(QStringLiteral("2100"));
    click(button(future(), "goToImpacts"));
    QCOMPARE(impacts(), first.data());
    QCOMPARE(impacts()->horizonLabel()->text(), QStringLiteral("2030"));
    QCOMPARE(impacts()->matrix().cell(3, 4)->text(), QStringLiteral("I"));
}

void TestLifecycle::probableFutureUntilShowsImpactsOnly() {
    click(button(future(), "goToImpacts"));
    pressCell(impacts()->matrix().cell(2, 2), Qt::LeftButton);
    const QString impactsStatus = impacts()->status()->text();
    pressCell(future()->matrix().cell(2, 2), Qt::LeftButton);
    const QString futureStatus = future()->status()->text();
    QLabel *title = label(future(), "horizonTitle");
    // Anywhere in its box, also where no letter is.
    for (QPoint at : {QPoint(2, 2), QPoint(title->width() - 2, title->height() - 2)}) {
        future()->raise();
        QTest::mouseClick(title, Qt::LeftButton, {}, at);
        QVERIFY(impacts()->isVisible());
    }
    QCOMPARE(future()->status()->text(), futureStatus);
    QCOMPARE(impacts()->status()->text(), impactsStatus);
    // Opening Impacts the first time through the caption loads it too.
    app.reset();
    app = std::make_unique<Application>();
    app->start();
    QTest::mouseClick(label(future(), "horizonTitle"), Qt::LeftButton);
    QVERIFY(impacts() && impacts()->isVisible());
    QCOMPARE(impacts()->horizonLabel()->text(), QStringLiteral("2030"));
}

void TestLifecycle::goToFutureLeavesOneBlank() {
    click(button(future(), "goToImpacts"));
    pressCell(future()->matrix().cell(4, 4), Qt::MiddleButton);
    pressCell(impacts()->matrix().cell(4, 4), Qt::LeftButton);
    const QString futureStatus = future()->status()->text();
    click(button(impacts(), "goToFuture"));
    QCOMPARE(impacts()->status()->text(), QStringLiteral(" "));
    QCOMPARE(impacts()->switchNote()->text(), QStringLiteral(" "));
    QVERIFY(future()->isVisible());
    QCOMPARE(future()->status()->text(), futureStatus);
    QCOMPARE(future()->matrix().cell(4, 4)->text(), QStringLiteral("/"));
}

void TestLifecycle::rightPressesSwitchWindows() {
    Model &model = app->model();
    pressCell(future()->matrix().cell(6, 21), Qt::RightButton);
    QVERIFY(impacts() && impacts()->isVisible());
    QCOMPARE(model.futureGrid(6, 22), 0);
    pressCell(impacts()->matrix().cell(1, 0), Qt::RightButton);
    QCOMPARE(model.impactGrid(1, 1), 0);
    QCOMPARE(model.lastImpactAspect, 0);
    QCOMPARE(impacts()->status()->text(), QStringLiteral(" "));
    QCOMPARE(impacts()->switchNote()->text(), QStringLiteral(" "));
}

void TestLifecycle::closedImpactsIsRebuiltFromKeptMarks() {
    click(button(future(), "goToImpacts"));
    pressCell(impacts()->matrix().cell(6, 7), Qt::LeftButton);  // O at Town(3km)
    pressCell(impacts()->matrix().cell(6, 12), Qt::LeftButton); // o at Building(10m)
    QCOMPARE(impacts()->matrix().cell(6, 12)->text(), QStringLiteral("o"));
    QPointer<ImpactsWindow> old = impacts();
    closeWindow(impacts());
    QVERIFY(old.isNull());
    QVERIFY(future()->isVisible());

    future()->horizonEdit()->setText(QStringLiteral("2060"));
    click(button(future(), "goToImpacts"));
    QVERIFY(impacts() && impacts()->isVisible());
    QCOMPARE(impacts()->matrix().cell(6, 12)->text(), QString());
    QCOMPARE(impacts()->matrix().cell(6, 7)->text(), QString());
    QCOMPARE(impacts()->horizonLabel()->text(), QStringLiteral("2060"));
    QCOMPARE(impacts()->resolutionLabel()->text(),
             QStringLiteral("The object of study has the resolution of a blue print"));
    QCOMPARE(app->model().impactGrid(6, 8), Frame);
    // The reading still comes from the kept record.
    QCOMPARE(
        impacts()->status()->text(),
        QStringLiteral(
            "Building(10m) mass is smallest characteristic detail of study (o) while indifferent"));
}

void TestLifecycle::closedFutureIsRebuiltWithDefaults() {
    pressCell(future()->matrix().cell(2, 3), Qt::LeftButton);
    future()->horizonEdit()->setText(QStringLiteral("2077"));
    click(button(future(), "goToImpacts"));
    pressCell(impacts()->matrix().cell(5, 5), Qt::LeftButton); // paints a black cue
    QCOMPARE(future()->matrix().cell(5, 5)->fill(), QColor(Qt::black));
    closeWindow(future());
    QVERIFY(!future());
    QVERIFY(impacts()->isVisible());

    click(button(impacts(), "goToFuture"));
    QVERIFY(future() && future()->isVisible());
    QCOMPARE(future()->horizonEdit()->text(), QStringLiteral("2030"));
    for (int a = 1; a <= AspectCount; ++a)
        for (int j = 0; j < ScaleCount; ++j) {
            QCOMPARE(future()->matrix().cell(a, j)->text(), QString());
            QCOMPARE(future()->matrix().cell(a, j)->fill(), layout::aspectColour(a));
        }
    QCOMPARE(app->model().futureGrid(2, 4), 1);
    // The next press steps on from the kept mark.
    pressCell(future()->matrix().cell(2, 3), Qt::LeftButton);
    QCOMPARE(future()->matrix().cell(2, 3)->text(), QStringLiteral("<"));
}

void TestLifecycle::reloadingLeavesModelUnchanged() {
    pressCell(future()->matrix().cell(3, 8), Qt::LeftButton);
    click(button(future(), "goToImpacts"));
    pressCell(impacts()->matrix().cell(3, 9), Qt::LeftButton);
    const Model before = app->model();
    closeWindow(impacts());
    closeWindow(future());
    app->showFuture();
    app->showImpacts();
    const Model &after = app->model();
    QVERIFY(after.futureGrid == before.futureGrid);
    QVERIFY(after.impactGrid == before.impactGrid);
    QVERIFY(after.scaleNames == before.scaleNames);
    QVERIFY(after.trendNames == before.trendNames);
    QVERIFY(after.impactNames == before.impactNames);
    QCOMPARE(after.lastImpactAspect, before.lastImpactAspect);
    QCOMPARE(after.lastImpactIndex, before.lastImpactIndex);
}

QTEST_MAIN(TestLifecycle)
#include "tst_lifecycle.moc"
