#include "gui.h"
#include "impactmarking.h"
#include "layout.h"
#include "savecheck.h"
#include "study.h"
#include "trendmarking.h"

#include <QLineEdit>

using namespace sp;
using namespace sp::test;

class TestFutureWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void layoutAnchors();
    void fixedCaptions();
    void leftAndMiddlePressesStepTheMark_data();
    void leftAndMiddlePressesStepTheMark();
    void rightPressOnlySwitches();
    void pressRestoresColourOfBlackCue();
    void keyboardActivationDoesNothing();
    void resetsClearMarksAndCaptionsNeverColours();
    void impactReadingAfterGoToImpacts();
    void focusOrder();
    void horizonStaysOneLine_data();
    void horizonStaysOneLine();
    void cellColoursShowExactly();
    void saveShortcutDoesWhatTheButtonDoes_data();
    void saveShortcutDoesWhatTheButtonDoes();
    void openStudy_data();
    void openStudy();
    void newStudy_data();
    void newStudy();

private:
    void placeFrameAndGrain() const;
    void openByShortcut() const { pressKeys(window(), QKeySequence(Qt::CTRL | Qt::Key_O)); }
    std::unique_ptr<Application> app;
    FutureWindow *window() const { return app->futureWindow(); }
    CellButton *cell(int a, int j) const { return window()->matrix().cell(a, j); }
};

void TestFutureWindow::init() {
    app = std::make_unique<Application>(std::make_unique<Answers>());
    app->start();
}

void TestFutureWindow::cleanup() {
    app.reset();
}

void TestFutureWindow::layoutAnchors() {
    QCOMPARE(cell(6, 0)->geometry(), QRect(157, 433, 26, 25));
    QCOMPARE(cell(6, 1)->geometry(), QRect(181, 433, 25, 25));
    QCOMPARE(cell(1, 21)->geometry(), QRect(661, 313, 25, 25));
    QCOMPARE(window()->matrix().columnButton(21)->geometry(), QRect(661, 457, 25, 25));
    // Rows, column buttons and resets fill a 7 x 23 grid at a 24 px pitch.
    for (int i = 0; i < 6; ++i)
        QCOMPARE(window()->matrix().rowReset(i)->geometry(), QRect(685, 313 + 24 * i, 49, 25));
    QCOMPARE(window()->matrix().resetAll()->geometry(), QRect(685, 457, 49, 25));
    for (int a = 1; a <= 6; ++a)
        for (int j = 1; j < 22; ++j)
            QCOMPARE(cell(a, j)->pos(), QPoint(157 + 24 * j, 313 + 24 * (a - 1)));
    QCOMPARE(window()->matrix().rowCaption(5)->geometry(), QRect(25, 436, 145, 25));
    QCOMPARE(label(window(), "status")->geometry(), QRect(155, 489, 580, 57));
    QCOMPARE(window()->horizonEdit()->geometry(), QRect(24, 42, 129, 62));
    QCOMPARE(button(window(), "saveProposal")->geometry(), QRect(24, 488, 121, 65));
    // The save button hides the label under it.
    QVERIFY(button(window(), "saveProposal")
                ->geometry()
                .intersects(label(window(), "saveNote")->geometry()));
}

void TestFutureWindow::fixedCaptions() {
    QCOMPARE(label(window(), "horizonTitle")->text(), QStringLiteral("Probable future until"));
    QCOMPARE(label(window(), "horizonHint")->text(), QStringLiteral("Fill in you time horizon"));
    QCOMPARE(
        label(window(), "perspectives")->text(),
        QStringLiteral("One of 9550000000000000000000000000000000000000000000000000000000000000 "
                       "perspectives."));
    QCOMPARE(button(window(), "goToImpacts")->text(), QStringLiteral("Go to Impacts"));
    QCOMPARE(button(window(), "saveProposal")->text(),
             QStringLiteral(" Save as Study proposal.txt in current directory"));
    QCOMPARE(window()->matrix().rowReset(0)->text(), QStringLiteral("reset"));
    QCOMPARE(window()->matrix().resetAll()->text(), QStringLiteral("reset"));
    QCOMPARE(window()->horizonEdit()->text(), QStringLiteral("2030"));
    const char *rows[] = {"Administration", "Culture", "Economy",
                          "Technique",      "Ecology", "Mass|space|time"};
    for (int i = 0; i < 6; ++i)
        QCOMPARE(window()->matrix().rowCaption(i)->text(), QString::fromLatin1(rows[i]));
    for (int j = 0; j < 22; ++j)
        QCOMPARE(window()->matrix().columnButton(j)->text(), QString());
    // What a screen reader reads is the caption; the description adds the place.
    QCOMPARE(cell(1, 7)->accessibleDescription(), QStringLiteral("Administration at Town(3km)"));
    QCOMPARE(label(window(), "horizonTitle")->font().pointSizeF(), 24.75);
    QCOMPARE(window()->font().pointSizeF(), 8.25);
}

void TestFutureWindow::leftAndMiddlePressesStepTheMark_data() {
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::newRow("left") << Qt::LeftButton;
    QTest::newRow("middle") << Qt::MiddleButton;
}

void TestFutureWindow::leftAndMiddlePressesStepTheMark() {
    QFETCH(Qt::MouseButton, button);
    QLabel *status = window()->status();
    pressCell(cell(1, 7), button);
    QCOMPARE(cell(1, 7)->text(), QStringLiteral("!"));
    QCOMPARE(status->text(), QStringLiteral("Town(3km) management will be initiating (!)"));
    pressCell(cell(1, 7), button);
    QCOMPARE(cell(1, 7)->text(), QStringLiteral("?"));
    QCOMPARE(
        status->text(),
        QStringLiteral("Town(3km) management will be executing or controlling initiatives (?)"));
    pressCell(cell(1, 7), button);
    QCOMPARE(cell(1, 7)->text(), QString());
    QCOMPARE(status->text(), QStringLiteral("Town(3km) management will be indifferent"));
    QCOMPARE(app->model().futureGrid(1, 8), 0);

    pressCell(cell(6, 21), button);
    QCOMPARE(status->text(),
             QStringLiteral("Submaterial(<1mm) mass will be concentrating in space (C)"));
    pressCell(cell(4, 15), button);
    pressCell(cell(4, 15), button);
    QCOMPARE(cell(4, 15)->text(), QStringLiteral("X"));
    QCOMPARE(status->text(),
             QStringLiteral("Buildingcomponent(300mm)  technique will be internally "
                            "combining subfunctions (X)"));
    QCOMPARE(cell(4, 15)->fill(), QColor(230, 247, 23));
}

void TestFutureWindow::rightPressOnlySwitches() {
    pressCell(cell(3, 3), Qt::LeftButton);
    QCOMPARE(cell(3, 3)->text(), QStringLiteral("+"));
    const Grid before = app->model().futureGrid;
    pressCell(cell(3, 3), Qt::RightButton);
    QVERIFY(app->model().futureGrid == before);
    QCOMPARE(cell(3, 3)->text(), QStringLiteral("+"));
    QCOMPARE(cell(3, 3)->fill(), QColor(244, 202, 0));
    QCOMPARE(window()->status()->text(), QString());
    QVERIFY(app->impactsWindow() && app->impactsWindow()->isVisible());
}

void TestFutureWindow::pressRestoresColourOfBlackCue() {
    pressCell(cell(2, 9), Qt::LeftButton);
    pressCell(cell(2, 9), Qt::LeftButton); // mark 2
    window()->paintCue(2, 9);
    QCOMPARE(cell(2, 9)->fill(), QColor(Qt::black));
    pressCell(cell(2, 9), Qt::RightButton); // a right press leaves it black
    QCOMPARE(cell(2, 9)->fill(), QColor(Qt::black));
    pressCell(cell(2, 9), Qt::LeftButton); // back to 0, colour back all the same
    QCOMPARE(cell(2, 9)->text(), QString());
    QCOMPARE(cell(2, 9)->fill(), QColor(255, 139, 0));
}

void TestFutureWindow::keyboardActivationDoesNothing() {
    cell(1, 0)->setFocus();
    QTest::keyClick(cell(1, 0), Qt::Key_Space);
    QTest::keyClick(cell(1, 0), Qt::Key_Return);
    QTest::keyClick(cell(1, 0), Qt::Key_Enter);
    QVERIFY(app->model().futureGrid == Grid());
    QCOMPARE(cell(1, 0)->text(), QString());
    QCOMPARE(window()->status()->text(), QString());
    QVERIFY(!app->impactsWindow());
}

void TestFutureWindow::resetsClearMarksAndCaptionsNeverColours() {
    Model &model = app->model();
    for (int a = 1; a <= 6; ++a)
        for (int j : {0, 5, 21})
            pressCell(cell(a, j), Qt::LeftButton);
    window()->paintCue(1, 1);
    model.impactGrid(1, 2) = Unintended;

    click(window()->matrix().rowReset(1)); // culture
    for (int j : {0, 5, 21}) {
        QCOMPARE(model.futureGrid(2, j + 1), 0);
        QCOMPARE(cell(2, j)->text(), QString());
        QCOMPARE(model.futureGrid(3, j + 1), 1);
        QCOMPARE(cell(3, j)->text(), QStringLiteral("+"));
    }
    QCOMPARE(window()->status()->text(), QString());

    pressCell(cell(4, 5), Qt::LeftButton);
    click(window()->matrix().columnButton(5));
    for (int a = 1; a <= 6; ++a) {
        QCOMPARE(model.futureGrid(a, 6), 0);
        QCOMPARE(cell(a, 5)->text(), QString());
    }
    QCOMPARE(cell(1, 0)->text(), QStringLiteral("!"));
    QCOMPARE(window()->status()->text(), QString());

    pressCell(cell(5, 3), Qt::LeftButton);
    click(window()->matrix().resetAll());
    QVERIFY(model.futureGrid == Grid());
    for (int a = 1; a <= 6; ++a)
        for (int j = 0; j < 22; ++j) {
            QCOMPARE(cell(a, j)->text(), QString());
            QCOMPARE(cell(a, j)->fill(),
                     a == 1 && j == 1 ? QColor(Qt::black) : layout::aspectColour(a));
        }
    QCOMPARE(window()->status()->text(), QString());
    QCOMPARE(model.impactGrid(1, 2), Unintended);
}

void TestFutureWindow::impactReadingAfterGoToImpacts() {
    click(button(window(), "goToImpacts"));
    ImpactsWindow *impacts = app->impactsWindow();
    pressCell(cell(6, 10), Qt::LeftButton);                   // trend C at Ensemble(100m)
    pressCell(impacts->matrix().cell(6, 10), Qt::LeftButton); // frame there
    click(button(impacts, "goToFuture"));
    click(button(window(), "goToImpacts"));
    QCOMPARE(impacts->status()->text(),
             QStringLiteral("Ensemble(100m) mass is largest drawn frame "
                            "of study (O) while concentrating in space (C)"));
    pressCell(cell(6, 10), Qt::LeftButton);
    pressCell(cell(6, 10), Qt::LeftButton); // back to 0
    pressCell(cell(6, 10), Qt::RightButton);
    QCOMPARE(impacts->status()->text(),
             QStringLiteral(
                 "Ensemble(100m) mass is largest drawn frame of study (O) while indifferent"));
    // After the cell was reset there, the reading says so.
    click(impacts->matrix().columnButton(10));
    click(button(window(), "goToImpacts"));
    QCOMPARE(impacts->status()->text(),
             QStringLiteral("Ensemble(100m) mass is not affected while indifferent"));
}

void TestFutureWindow::focusOrder() {
    QCOMPARE(window()->focusWidget(), cell(1, 0));
    QList<QWidget *> expected = matrixFocusOrder(window()->matrix());
    expected << button(window(), "goToImpacts") << window()->horizonEdit()
             << button(window(), "saveProposal");
    verifyFocusChain(expected);
}

void TestFutureWindow::cellColoursShowExactly() {
    window()->paintCue(3, 12);
    const QImage shot = window()->client()->grab().toImage();
    for (int a = 1; a <= 6; ++a)
        for (int j : {0, 11, 21}) {
            const QPoint centre = cell(a, j)->geometry().center();
            QCOMPARE(shot.pixelColor(centre), layout::aspectColour(a));
        }
    QCOMPARE(shot.pixelColor(cell(3, 12)->geometry().center()), QColor(Qt::black));
}

void TestFutureWindow::horizonStaysOneLine_data() {
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("kept");
    QTest::newRow("plain") << "2040"
                           << "2040";
    QTest::newRow("tab stays") << "20\t40"
                               << "20\t40";
    QTest::newRow("LF") << "2040\n2050"
                        << "2040";
    QTest::newRow("CR LF") << "2040\r\n2050"
                           << "2040";
    QTest::newRow("lone CR") << "\r2050"
                             << "";
    QTest::newRow("non-Latin") << "\u4e16\u754c"
                               << "\u4e16\u754c";
}

// A paste with line breaks keeps its first line, so the saved file keeps its CR LF lines.
void TestFutureWindow::horizonStaysOneLine() {
    QFETCH(QString, pasted);
    QFETCH(QString, kept);
    QLineEdit *horizonEdit = window()->horizonEdit();
    horizonEdit->selectAll();
    horizonEdit->insert(pasted);
    QCOMPARE(horizonEdit->text(), kept);
    QCOMPARE(app->model().horizon, kept); // what Impacts and the proposal read
}

void TestFutureWindow::placeFrameAndGrain() const {
    click(button(window(), "goToImpacts"));
    for (int index : {7, 12})
        pressCell(app->impactsWindow()->matrix().cell(MassAspect, index), Qt::LeftButton);
    click(button(app->impactsWindow(), "goToFuture"));
}

void TestFutureWindow::saveShortcutDoesWhatTheButtonDoes_data() {
    QTest::addColumn<bool>("frameAndGrain");
    QTest::addColumn<bool>("typing"); // in the horizon box, which must not take the key
    QTest::newRow("refused") << false << false;
    QTest::newRow("refused, typing") << false << true;
    QTest::newRow("saved") << true << false;
    QTest::newRow("saved, typing") << true << true;
}

void TestFutureWindow::saveShortcutDoesWhatTheButtonDoes() {
    QFETCH(bool, frameAndGrain);
    QFETCH(bool, typing);
    ScratchDirectory dir;
    if (frameAndGrain)
        placeFrameAndGrain();
    QWidget *focus = typing ? static_cast<QWidget *>(window()->horizonEdit()) : cell(1, 0);
    focus->setFocus();
    const auto outcome = [this] {
        QFile file(QStringLiteral("StudyProposal.txt"));
        const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        file.remove();
        const QString status = window()->status()->text();
        window()->status()->clear();
        return std::pair(status, bytes);
    };
    click(button(window(), "saveProposal"));
    const auto byButton = outcome();
    pressKeys(focus, QKeySequence(Qt::CTRL | Qt::Key_S));
    QCOMPARE(outcome(), byButton);
    QCOMPARE(byButton.second.isEmpty(), !frameAndGrain);
}

void TestFutureWindow::openStudy_data() {
    QTest::addColumn<QString>("file");   // the study, notes without tables, or "" (cancelled)
    QTest::addColumn<QString>("before"); // "", "marked", "saved": marks saved by the button
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::addColumn<bool>("opened");
    QTest::addColumn<QString>("status");
    const auto none = QMessageBox::NoButton;
    const QString unreadable = "Could not read marks from notes.txt: it holds no table of future "
                               "trends";
    QTest::newRow("nothing changed") << "study"
                                     << "" << none << true << "";
    QTest::newRow("saved, not asked") << "study"
                                      << "saved" << none << true << "";
    QTest::newRow("unreadable, not asked") << "notes"
                                           << "marked" << none << false << unreadable;
    QTest::newRow("cancelled") << ""
                               << "marked" << none << false << "";
    QTest::newRow("Save") << "study"
                          << "marked" << QMessageBox::Save << true << "";
    QTest::newRow("Save refused") << "study"
                                  << "marked" << QMessageBox::Save << false
                                  << proposal::refusalMessage();
    QTest::newRow("Discard") << "study"
                             << "marked" << QMessageBox::Discard << true << "";
    QTest::newRow("Cancel") << "study"
                            << "marked" << QMessageBox::Cancel << false << "";
}

// Ctrl+O replaces marks and horizon with the file's and moves to its folder, asking first
// about unsaved changes; what cannot be read back changes nothing.
void TestFutureWindow::openStudy() {
    QFETCH(QString, file);
    QFETCH(QString, before);
    QFETCH(QMessageBox::StandardButton, answer);
    QFETCH(bool, opened);
    QFETCH(QString, status);
    ScratchDirectory work;
    QTemporaryDir elsewhere;
    auto &answers = static_cast<Answers &>(app->platform());
    answers.answer = answer;
    answers.path = file == "study"   ? writeStudy(elsewhere.path())
                   : file == "notes" ? writeNotes(elsewhere.path())
                                     : QString();
    pressCell(cell(4, 4), Qt::LeftButton);
    if (before != "marked" || (answer == QMessageBox::Save && opened))
        placeFrameAndGrain();
    if (before == "saved")
        click(button(window(), "saveProposal"));
    QFile::remove(QStringLiteral("StudyProposal.txt"));
    if (before.isEmpty()) // as started
        app->commands().markSaved();
    window()->status()->clear();
    const Model kept = app->model();

    openByShortcut();
    QCOMPARE(answers.files.value(0).suggested, work.path());
    QCOMPARE(answers.questions, int(answer != QMessageBox::NoButton));
    QCOMPARE(QFile::exists(work.path() + "/StudyProposal.txt"),
             answer == QMessageBox::Save && opened);
    QCOMPARE(window()->status()->text(), status);
    const Model &model = app->model();
    const Model expected = opened ? exampleStudy() : kept;
    QVERIFY(model.futureGrid == expected.futureGrid && model.impactGrid == expected.impactGrid);
    QCOMPARE(window()->horizonEdit()->text(), expected.horizon);
    QCOMPARE(QDir::current(), QDir(opened ? elsewhere.path() : work.path()));
    for (int a = 1; a <= AspectCount; ++a)
        for (int j = 0; j < ScaleCount; ++j) {
            QCOMPARE(cell(a, j)->text(), future::trendCaption(a, model.futureGrid(a, j + 1)));
            QCOMPARE(cell(a, j)->fill() == Qt::black, showsImpactCue(model, a, j + 1));
        }
    // Opened, the study is saved as it stands: opening it again asks nothing.
    openByShortcut();
    QCOMPARE(answers.questions,
             int(answer != QMessageBox::NoButton) + int(!opened && file == "study"));
    QCOMPARE(answers.files.last().suggested, file.isEmpty() ? work.path() : elsewhere.path());
}

void TestFutureWindow::newStudy_data() {
    QTest::addColumn<QString>("before"); // "marked", or "saved" by the button
    QTest::addColumn<bool>("fromImpacts");
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::addColumn<bool>("cleared");
    const auto none = QMessageBox::NoButton;
    QTest::newRow("saved, not asked") << "saved" << false << none << true;
    QTest::newRow("saved, from Impacts") << "saved" << true << none << true;
    QTest::newRow("Save") << "marked" << false << QMessageBox::Save << true;
    QTest::newRow("Discard, from Impacts") << "marked" << true << QMessageBox::Discard << true;
    QTest::newRow("Cancel") << "marked" << false << QMessageBox::Cancel << false;
}

// Ctrl+N in either window: the one question first when marks are unsaved, then every mark and
// the horizon back to the start, in both windows; the working folder stays.
void TestFutureWindow::newStudy() {
    QFETCH(QString, before);
    QFETCH(bool, fromImpacts);
    QFETCH(QMessageBox::StandardButton, answer);
    QFETCH(bool, cleared);
    ScratchDirectory work;
    auto &answers = static_cast<Answers &>(app->platform());
    answers.answer = answer;
    pressCell(cell(4, 4), Qt::LeftButton);
    placeFrameAndGrain();
    window()->horizonEdit()->setText(QStringLiteral("2045"));
    if (before == "saved")
        click(button(window(), "saveProposal"));
    QFile::remove(QStringLiteral("StudyProposal.txt"));
    const Model kept = app->model();

    FormWindow *from = fromImpacts ? static_cast<FormWindow *>(&app->openImpacts()) : window();
    pressKeys(from, QKeySequence(Qt::CTRL | Qt::Key_N));
    QCOMPARE(answers.questions, int(answer != QMessageBox::NoButton));
    QCOMPARE(QFile::exists(QStringLiteral("StudyProposal.txt")), answer == QMessageBox::Save);
    const Model expected = cleared ? Model() : kept;
    const Model &model = app->model();
    QVERIFY(model.futureGrid == expected.futureGrid && model.impactGrid == expected.impactGrid);
    QCOMPARE(window()->horizonEdit()->text(), expected.horizon);
    QCOMPARE(cell(4, 4)->text(), future::trendCaption(4, expected.futureGrid(4, 5)));
    ImpactsWindow &impacts = app->openImpacts();
    QCOMPARE(impacts.matrix().cell(MassAspect, 7)->text(),
             impacts::impactCaption(expected.impactGrid(MassAspect, 8)));
    if (cleared) {
        QCOMPARE(impacts.horizonLabel()->text(), QStringLiteral("2030"));
        Model start;
        QCOMPARE(impacts.resolutionLabel()->text(), impacts::updateResolution(start));
    }
    QCOMPARE(app->commands().hasUnsavedChanges(), !cleared);
    QVERIFY(work.isCurrent());
}

QTEST_MAIN(TestFutureWindow)
#include "tst_futurewindow.moc"
