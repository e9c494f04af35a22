#include "gui.h"
#include "impactmarking.h"
#include "layout.h"
#include "savecheck.h"
#include "study.h"

using namespace sp;
using namespace sp::test;

class TestImpactsWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void layoutCoversFutureMatrix();
    void titleAndLabels();
    void pressesMarkCaptionsAndStatus();
    void frameAndGrainByPresses();
    void blackCueOnlyWithoutTrend();
    void blackCueOpensClosedFutureHidden();
    void resetsLeaveStatementCuesAndRecord();
    void rightPressOnlySwitches();
    void focusOrder();
    void saveAndOpenFromHere_data();
    void saveAndOpenFromHere();

private:
    std::unique_ptr<Application> app;
    FutureWindow *future() const { return app->futureWindow(); }
    ImpactsWindow *window() const { return app->impactsWindow(); }
    CellButton *cell(int a, int j) const { return window()->matrix().cell(a, j); }
};

void TestImpactsWindow::init() {
    app = std::make_unique<Application>(std::make_unique<Answers>());
    app->start();
    click(button(future(), "goToImpacts"));
    QVERIFY(window());
}

void TestImpactsWindow::cleanup() {
    app.reset();
}

void TestImpactsWindow::layoutCoversFutureMatrix() {
    const MatrixControls &mine = window()->matrix();
    const MatrixControls &theirs = future()->matrix();
    for (int a = 1; a <= 6; ++a)
        for (int j = 0; j < 22; ++j) {
            if (a == 6 && j == 0)
                continue;
            QCOMPARE(mine.cell(a, j)->geometry(), theirs.cell(a, j)->geometry());
        }
    // The first mass cell is one pixel narrower here.
    QCOMPARE(mine.cell(6, 0)->geometry(), QRect(157, 433, 25, 25));
    for (int i = 0; i < 6; ++i) {
        QCOMPARE(mine.rowReset(i)->geometry(), theirs.rowReset(i)->geometry());
        QCOMPARE(mine.rowCaption(i)->geometry(), theirs.rowCaption(i)->geometry().translated(2, 1));
    }
    for (int j = 0; j < 22; ++j)
        QCOMPARE(mine.columnButton(j)->geometry(), theirs.columnButton(j)->geometry());
    QCOMPARE(mine.resetAll()->geometry(), theirs.resetAll()->geometry());
    QCOMPARE(mine.cell(1, 0)->font().pointSizeF(), 9.75);
    QCOMPARE(mine.cell(1, 1)->font().pointSizeF(), 12.0);
}

void TestImpactsWindow::titleAndLabels() {
    QString title;
    for (int i = 0; i < 8; ++i)
        title += label(window(), QByteArray("title_" + QByteArray::number(i)).constData())->text();
    QCOMPARE(title, QStringLiteral("ObjectandImpact"));
    QCOMPARE(label(window(), "title_2")->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    QCOMPARE(label(window(), "title_2")->geometry(), QRect(200, 8, 9, 41));
    QCOMPARE(window()->horizonLabel()->text(), QStringLiteral("2030"));
    QCOMPARE(window()->horizonLabel()->palette().color(QPalette::WindowText),
             QColor(192, 192, 192));
    QCOMPARE(window()->resolutionLabel()->geometry(), QRect(229, 297, 457, 17));
    QCOMPARE(window()->resolutionLabel()->geometry().right(), cell(1, 21)->geometry().right());
    QCOMPARE(button(window(), "goToFuture")->text(), QStringLiteral("Go to Future"));
    QCOMPARE(window()->status()->text(), QString());
    QCOMPARE(window()->switchNote()->text(), QString());
}

void TestImpactsWindow::pressesMarkCaptionsAndStatus() {
    pressCell(future()->matrix().cell(3, 7), Qt::LeftButton); // economy growing at Town(3km)
    pressCell(cell(3, 7), Qt::LeftButton);
    QCOMPARE(cell(3, 7)->text(), QStringLiteral("I"));
    QCOMPARE(
        window()->status()->text(),
        QStringLiteral("Town(3km) economy is affected without intention (I) while growing (+)"));
    pressCell(cell(3, 7), Qt::MiddleButton);
    QCOMPARE(cell(3, 7)->text(), QStringLiteral("P"));
    pressCell(cell(3, 7), Qt::LeftButton);
    QCOMPARE(cell(3, 7)->text(), QString());
    QCOMPARE(window()->status()->text(),
             QStringLiteral("Town(3km) economy is not affected while growing (+)"));
    QCOMPARE(app->model().lastImpactAspect, 3);
    QCOMPARE(app->model().lastImpactIndex, 7);
    // The cells of this window keep their colour whatever they hold.
    for (int a = 1; a <= 6; ++a)
        QCOMPARE(cell(a, 7)->fill(), layout::aspectColour(a));
}

void TestImpactsWindow::frameAndGrainByPresses() {
    QLabel *statement = window()->resolutionLabel();
    pressCell(cell(6, 7), Qt::LeftButton);
    QCOMPARE(cell(6, 7)->text(), QStringLiteral("O"));
    QCOMPARE(statement->text(),
             QStringLiteral("Locate frame (O) and grain (o) of study in row Mass|space|time."));
    QCOMPARE(window()->status()->text(),
             QStringLiteral("Town(3km) mass is largest drawn frame of study (O)"));
    pressCell(cell(6, 0), Qt::LeftButton);
    QCOMPARE(cell(6, 0)->text(), QStringLiteral("I"));
    pressCell(cell(6, 12), Qt::LeftButton);
    QCOMPARE(cell(6, 12)->text(), QStringLiteral("o"));
    QCOMPARE(statement->text(),
             QStringLiteral("The object of study has the resolution of a blue print"));
    pressCell(cell(6, 20), Qt::LeftButton);
    QCOMPARE(cell(6, 20)->text(), QStringLiteral("I"));
    // Lifting the frame leaves the grain alone; the statement reads the grain's own scale.
    pressCell(cell(6, 7), Qt::LeftButton);
    QCOMPARE(cell(6, 7)->text(), QStringLiteral("I"));
    QCOMPARE(statement->text(),
             QStringLiteral("The object of study will be elaborated on several scales"));
    // A press on another row does not rewrite the statement.
    pressCell(cell(1, 7), Qt::LeftButton);
    QCOMPARE(statement->text(),
             QStringLiteral("The object of study will be elaborated on several scales"));
}

void TestImpactsWindow::blackCueOnlyWithoutTrend() {
    CellButton *withTrend = future()->matrix().cell(2, 4);
    pressCell(withTrend, Qt::LeftButton);
    pressCell(cell(2, 4), Qt::LeftButton);
    QCOMPARE(withTrend->fill(), QColor(255, 139, 0));

    CellButton *plain = future()->matrix().cell(2, 5);
    pressCell(cell(2, 5), Qt::LeftButton); // I
    QCOMPARE(plain->fill(), QColor(Qt::black));
    pressCell(cell(2, 5), Qt::LeftButton); // P
    pressCell(cell(2, 5), Qt::LeftButton); // back to nothing: the cue stays
    QCOMPARE(plain->fill(), QColor(Qt::black));
    QCOMPARE(pixelAt(future(), plain->geometry().center()), QColor(Qt::black));
    pressCell(plain, Qt::LeftButton);
    QCOMPARE(plain->fill(), QColor(255, 139, 0));
    // A press that leaves the cell empty paints nothing.
    CellButton *other = future()->matrix().cell(2, 6);
    for (int i = 0; i < 2; ++i)
        pressCell(cell(2, 6), Qt::LeftButton);
    pressCell(other, Qt::LeftButton);
    pressCell(other, Qt::LeftButton);
    pressCell(other, Qt::LeftButton);      // trend 0 again, row colour
    pressCell(cell(2, 6), Qt::LeftButton); // P -> nothing
    QCOMPARE(other->fill(), QColor(255, 139, 0));
}

void TestImpactsWindow::blackCueOpensClosedFutureHidden() {
    closeWindow(future());
    QVERIFY(!future());
    pressCell(cell(4, 8), Qt::LeftButton);
    QVERIFY(future());
    QVERIFY(!future()->isVisible());
    QCOMPARE(future()->matrix().cell(4, 8)->fill(), QColor(Qt::black));
    click(button(window(), "goToFuture"));
    QVERIFY(future()->isVisible());
    QCOMPARE(future()->matrix().cell(4, 8)->fill(), QColor(Qt::black));
}

void TestImpactsWindow::resetsLeaveStatementCuesAndRecord() {
    Model &model = app->model();
    pressCell(cell(6, 7), Qt::LeftButton);
    pressCell(cell(6, 12), Qt::LeftButton);
    pressCell(cell(1, 3), Qt::LeftButton);
    const QString statement = window()->resolutionLabel()->text();
    QCOMPARE(future()->matrix().cell(6, 7)->fill(), QColor(Qt::black));

    click(window()->matrix().rowReset(5));
    for (int j = 0; j < 22; ++j) {
        QCOMPARE(model.impactGrid(6, j + 1), 0);
        QCOMPARE(cell(6, j)->text(), QString());
    }
    QCOMPARE(cell(1, 3)->text(), QStringLiteral("I"));
    QCOMPARE(window()->status()->text(), QString());          // empty, not a blank
    QCOMPARE(window()->resolutionLabel()->text(), statement); // stale until the next mass press
    QCOMPARE(future()->matrix().cell(6, 7)->fill(), QColor(Qt::black));
    QCOMPARE(model.lastImpactAspect, 1);
    QCOMPARE(model.lastImpactIndex, 3);

    pressCell(cell(6, 7), Qt::LeftButton);
    pressCell(cell(5, 7), Qt::LeftButton);
    click(window()->matrix().columnButton(7));
    for (int a = 1; a <= 6; ++a)
        QCOMPARE(cell(a, 7)->text(), QString());
    QCOMPARE(window()->resolutionLabel()->text(),
             QStringLiteral("Locate frame (O) and grain (o) of study in row Mass|space|time."));
    QCOMPARE(window()->status()->text(), QString());

    click(window()->matrix().resetAll());
    QVERIFY(model.impactGrid == Grid());
    QCOMPARE(cell(1, 3)->text(), QString());
    QCOMPARE(model.lastImpactIndex, 7);
    pressCell(cell(6, 2), Qt::LeftButton);
    QCOMPARE(window()->resolutionLabel()->text(),
             QStringLiteral("Locate frame (O) and grain (o) of study in row Mass|space|time."));
}

void TestImpactsWindow::rightPressOnlySwitches() {
    pressCell(cell(6, 7), Qt::LeftButton);
    const Grid before = app->model().impactGrid;
    pressCell(cell(6, 7), Qt::RightButton);
    pressCell(cell(2, 2), Qt::RightButton);
    QVERIFY(app->model().impactGrid == before);
    QCOMPARE(cell(6, 7)->text(), QStringLiteral("O"));
    QCOMPARE(app->model().lastImpactAspect, 6);
    QCOMPARE(app->model().lastImpactIndex, 7);
    QCOMPARE(window()->status()->text(), QStringLiteral(" "));
    QVERIFY(future()->isVisible());
}

void TestImpactsWindow::focusOrder() {
    QCOMPARE(window()->focusWidget(), cell(1, 0));
    verifyFocusChain(matrixFocusOrder(window()->matrix()) << button(window(), "goToFuture"));
}

void TestImpactsWindow::saveAndOpenFromHere_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("status"); // of both windows afterwards
    QTest::newRow("save refused") << int(Qt::Key_S) << proposal::refusalMessage();
    QTest::newRow("open") << int(Qt::Key_O) << "";
}

// Save and Open act from Impacts as from Future; what they say shows in Future's status line
// and here, where the user is looking. An opened study shows here at once.
void TestImpactsWindow::saveAndOpenFromHere() {
    QFETCH(int, key);
    QFETCH(QString, status);
    ScratchDirectory work;
    QTemporaryDir elsewhere;
    auto &answers = static_cast<Answers &>(app->platform());
    answers.answer = QMessageBox::Discard;
    answers.path = writeStudy(elsewhere.path());
    pressCell(cell(1, 1), Qt::LeftButton); // an I, and a sentence in the status line
    pressKeys(window(), QKeySequence(Qt::CTRL | Qt::Key(key)));

    QCOMPARE(window()->status()->text(), status);
    QCOMPARE(future()->status()->text(), status);
    const Model &model = app->model();
    QCOMPARE(model.impactGrid == exampleStudy().impactGrid, key == Qt::Key_O);
    for (int a = 1; a <= AspectCount; ++a)
        for (int j = 0; j < ScaleCount; ++j)
            QCOMPARE(cell(a, j)->text(), impacts::impactCaption(model.impactGrid(a, j + 1)));
    if (key == Qt::Key_O) {
        QCOMPARE(window()->resolutionLabel()->text(),
                 QStringLiteral("The object of study has the resolution of a blue print"));
        QCOMPARE(window()->horizonLabel()->text(), QStringLiteral("2061"));
    }
}

QTEST_MAIN(TestImpactsWindow)
#include "tst_impactswindow.moc"
