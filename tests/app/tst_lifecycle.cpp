#include "appinfo.h"
#include "gui.h"
#include "impactmarking.h"
#include "layout.h"
#include "palette.h"
#include "savecheck.h"
#include "study.h"

#include <QPointer>
#include <QPrinter>
#include <QScopeGuard>
#include <QScreen>
#include <QSignalSpy>
#include <QStyle>
#include <QTimer>
#include <QtEndian>

using namespace sp;
using namespace sp::test;

class TestLifecycle : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void startShowsOnlyFuture();
    void windowsAreCentredGreyAndSized_data();
    void windowsAreCentredGreyAndSized();
    void firstGoToImpactsCreatesAndLoads();
    void secondGoToImpactsDoesNotReload();
    void probableFutureUntilShowsImpactsOnly();
    void goToFutureLeavesOneBlank();
    void rightPressesSwitchWindows();
    void closedImpactsIsRebuiltFromKeptMarks();
    void closedFutureIsRebuiltFromKeptMarks();
    void reloadingLeavesModelUnchanged();
    void startsFromSavedStudy();
    void startsEmptyFromUnreadableFile();
    void paletteIsComplete();
    void desktopPaletteLeavesTheLookAlone();
    void menusOfBothWindows();
    void quitClosesBothWindows_data();
    void quitClosesBothWindows();
    void exportsAndPrint_data();
    void exportsAndPrint();
    void aboutNamesTheProgram();

private:
    std::unique_ptr<Application> app;
    FutureWindow *future() const { return app->futureWindow(); }
    ImpactsWindow *impacts() const { return app->impactsWindow(); }
};

void TestLifecycle::init() {
    app = std::make_unique<Application>(std::make_unique<Answers>());
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

void TestLifecycle::windowsAreCentredGreyAndSized_data() {
    QTest::addColumn<QString>("style");
    QTest::newRow("Fusion") << "Fusion";
    QTest::newRow("Windows") << "Windows"; // its menu bar is a pixel taller than its size hint
}

void TestLifecycle::windowsAreCentredGreyAndSized() {
    QFETCH(QString, style);
    const QString previous = QApplication::style()->name();
    const auto restore = qScopeGuard([&] { QApplication::setStyle(previous); });
    QApplication::setStyle(style);
    app = std::make_unique<Application>();
    app->start();
    click(button(future(), "goToImpacts"));
    for (FormWindow *window :
         {static_cast<FormWindow *>(future()), static_cast<FormWindow *>(impacts())}) {
        // The client area keeps the layout's size; the window grows by the menu bar above it.
        const int menuHeight = window->menuBar()->height();
        QVERIFY(menuHeight > 10);
        QCOMPARE(window->client()->geometry(), QRect(0, menuHeight, 762, 568));
        QCOMPARE(window->size(), QSize(762, 568 + menuHeight));
        const QImage shot = window->grab().toImage();
        QCOMPARE(shot.copy(window->client()->geometry()), window->client()->grab().toImage());
        QCOMPARE(shot.pixelColor(758, 2), QColor(239, 239, 239)); // the bar stands apart
        QCOMPARE(window->geometry().center(),
                 QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, window->size(),
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
    // The rebuilt window shows the kept marks.
    QCOMPARE(impacts()->matrix().cell(6, 12)->text(), QStringLiteral("o"));
    QCOMPARE(impacts()->matrix().cell(6, 7)->text(), QStringLiteral("O"));
    QCOMPARE(impacts()->matrix().cell(6, 8)->text(), QString());
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

void TestLifecycle::closedFutureIsRebuiltFromKeptMarks() {
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
    QCOMPARE(future()->horizonEdit()->text(), QStringLiteral("2077"));
    for (int a = 1; a <= AspectCount; ++a)
        for (int j = 0; j < ScaleCount; ++j) {
            const bool trend = a == 2 && j == 3, cue = a == 5 && j == 5;
            QCOMPARE(future()->matrix().cell(a, j)->text(),
                     trend ? QStringLiteral(">") : QString());
            QCOMPARE(future()->matrix().cell(a, j)->fill(),
                     cue ? QColor(Qt::black) : layout::aspectColour(a));
        }
    QCOMPARE(app->model().futureGrid(2, 4), 1);
    // A press lifts the rebuilt cue as it lifts a painted one.
    pressCell(future()->matrix().cell(5, 5), Qt::LeftButton);
    QCOMPARE(future()->matrix().cell(5, 5)->fill(), layout::aspectColour(5));
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

// Started with a saved study, the windows show its marks, cues and horizon as if pressed by
// hand, but with no last Impacts press to read back.
void TestLifecycle::startsFromSavedStudy() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = writeStudy(dir.path());

    app = std::make_unique<Application>();
    app->start(path);
    QVERIFY(future()->isVisible());
    QCOMPARE(future()->horizonEdit()->text(), QStringLiteral("2061"));
    QCOMPARE(future()->status()->text(), QString());
    for (int a = 1; a <= AspectCount; ++a)
        for (int j = 0; j < ScaleCount; ++j) {
            const bool trend = a == 3 && j == 7;
            const bool cue = (a == MassAspect && (j == 7 || j == 12)) || (a == 2 && j == 4);
            QCOMPARE(future()->matrix().cell(a, j)->text(),
                     trend ? QStringLiteral("+") : QString());
            QCOMPARE(future()->matrix().cell(a, j)->fill(),
                     cue ? QColor(Qt::black) : layout::aspectColour(a));
        }
    QCOMPARE(app->model().lastImpactAspect, 0);

    click(button(future(), "goToImpacts"));
    QCOMPARE(impacts()->status()->text(), QString()); // no reading
    QCOMPARE(impacts()->horizonLabel()->text(), QStringLiteral("2061"));
    QCOMPARE(impacts()->matrix().cell(MassAspect, 7)->text(), QStringLiteral("O"));
    QCOMPARE(impacts()->matrix().cell(MassAspect, 12)->text(), QStringLiteral("o"));
    QCOMPARE(impacts()->matrix().cell(2, 4)->text(), QStringLiteral("P"));
    QCOMPARE(impacts()->matrix().cell(3, 7)->text(), QStringLiteral("I"));
    QCOMPARE(impacts()->resolutionLabel()->text(),
             QStringLiteral("The object of study has the resolution of a blue print"));
}

void TestLifecycle::startsEmptyFromUnreadableFile() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = writeNotes(dir.path());

    app = std::make_unique<Application>();
    app->start(path);
    QCOMPARE(future()->status()->text(),
             QStringLiteral("Could not read marks from notes.txt: it holds no table of future "
                            "trends"));
    QCOMPARE(future()->horizonEdit()->text(), QStringLiteral("2030"));
    QVERIFY(app->model().futureGrid == Grid());
    QVERIFY(app->model().impactGrid == Grid());
}

// A role that a newer Qt adds and the window palette leaves unset would come from the desktop.
void TestLifecycle::paletteIsComplete() {
    const QPalette &palette = palette::windowPalette();
    for (int group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        for (int role = 0; role < QPalette::NColorRoles; ++role)
            if (role != QPalette::NoRole)
                QVERIFY2(
                    palette.isBrushSet(QPalette::ColorGroup(group), QPalette::ColorRole(role)),
                    qPrintable(QStringLiteral("group %1, role %2 unset").arg(group).arg(role)));
}

namespace {

// A desktop palette unlike the windows' own in every role, as a dark theme brings.
QPalette strangePalette() {
    QPalette palette;
    for (int group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        for (int role = 0; role < QPalette::NColorRoles; ++role)
            palette.setColor(QPalette::ColorGroup(group), QPalette::ColorRole(role),
                             QColor::fromHsv(role * 17 % 360, 200, 40 + group * 20));
    return palette;
}

int differingPixels(const QImage &a, const QImage &b) {
    if (a.size() != b.size())
        return a.width() * a.height();
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            count += a.pixel(x, y) != b.pixel(x, y);
    return count;
}

} // namespace

// Windows built before and after the desktop's palette changes show the same pixels as
// under the default one, marks, cues, status lines and focus included.
void TestLifecycle::desktopPaletteLeavesTheLookAlone() {
    QuietRaise quiet;
    const QPalette desktop = QApplication::palette();
    struct Restore {
        QPalette palette;
        ~Restore() { QApplication::setPalette(palette); }
    } restore{desktop};

    auto markAndGrab = [this] {
        pressCell(future()->matrix().cell(3, 7), Qt::LeftButton);
        pressCell(future()->matrix().cell(5, 2), Qt::MiddleButton);
        click(button(future(), "goToImpacts"));
        pressCell(impacts()->matrix().cell(6, 7), Qt::LeftButton);
        pressCell(impacts()->matrix().cell(2, 4), Qt::MiddleButton);
        click(button(impacts(), "goToFuture"));
        return std::pair(future()->grab().toImage(), impacts()->grab().toImage());
    };
    const auto plain = markAndGrab();

    QApplication::setPalette(strangePalette());
    QCOMPARE(differingPixels(future()->grab().toImage(), plain.first), 0);
    QCOMPARE(differingPixels(impacts()->grab().toImage(), plain.second), 0);

    app = std::make_unique<Application>();
    app->start();
    const auto themed = markAndGrab();
    QCOMPARE(differingPixels(themed.first, plain.first), 0);
    QCOMPARE(differingPixels(themed.second, plain.second), 0);
}

// Both windows have the same menus with the same keys.
void TestLifecycle::menusOfBothWindows() {
    const std::pair<const char *, const char *> items[] = {{"New Study", "Ctrl+N"},
                                                           {"Open Study...", "Ctrl+O"},
                                                           {"Save StudyProposal.txt", "Ctrl+S"},
                                                           {"Export Document...", "Ctrl+Shift+E"},
                                                           {"Export Matrices as PDF...", ""},
                                                           {"Print Matrices...", "Ctrl+P"},
                                                           {"Quit", "Ctrl+Q"},
                                                           {"About Study proposal", ""}};
    for (FormWindow *window : std::initializer_list<FormWindow *>{future(), &app->openImpacts()}) {
        QStringList titles;
        for (QAction *menu : window->menuBar()->actions())
            titles << menu->text();
        QCOMPARE(titles, QStringList({"&File", "&Help"}));
        for (const auto &[item, keys] : items)
            QCOMPARE(menuItem(window, item)->shortcut(), QKeySequence(keys));
    }
}

void TestLifecycle::quitClosesBothWindows_data() {
    QTest::addColumn<bool>("fromImpacts");
    QTest::addColumn<bool>("impactsHidden");
    QTest::newRow("from Future") << false << false;
    QTest::newRow("from Impacts") << true << false;
    QTest::newRow("Impacts open hidden") << false << true;
}

// Ctrl+Q closes both windows as their close boxes do, asking nothing.
void TestLifecycle::quitClosesBothWindows() {
    QFETCH(bool, fromImpacts);
    QFETCH(bool, impactsHidden);
    auto &answers = static_cast<Answers &>(app->platform());
    pressCell(future()->matrix().cell(1, 1), Qt::LeftButton); // unsaved
    impactsHidden ? (void)app->impacts() : click(button(future(), "goToImpacts"));
    pressKeys(fromImpacts ? static_cast<QWidget *>(impacts()) : future(),
              QKeySequence(Qt::CTRL | Qt::Key_Q));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!future() && !impacts());
    QCOMPARE(answers.questions, 0);
}

void TestLifecycle::exportsAndPrint_data() {
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("chosen"); // in the dialog; "" cancels
    QTest::addColumn<QString>("filter"); // chosen in the dialog; "" keeps the first
    QTest::addColumn<QString>("written");
    QTest::addColumn<QByteArray>("start"); // the first bytes, or a zip's first file name
    QTest::addColumn<QString>("status");
    QTest::addColumn<bool>("framed"); // frame and grain on the mass row
    const QString document = "Export Document...", matrices = "Export Matrices as PDF...";
    const QString word = "Word document (*.docx)", openDocument = "OpenDocument text (*.odt)";
    const QByteArray docx = "[Content_Types].xml", odt = "mimetype";
    QTest::newRow("Word document") << document << "s.docx"
                                   << ""
                                   << "s.docx" << docx << "" << true;
    QTest::newRow("no suffix: Word first") << document << "s"
                                           << ""
                                           << "s.docx" << docx << "" << true;
    QTest::newRow("OpenDocument") << document << "s.odt" << openDocument << "s.odt" << odt << ""
                                  << true;
    QTest::newRow("no suffix, OpenDocument chosen")
        << document << "s" << openDocument << "s.odt" << odt << "" << true;
    QTest::newRow("the name decides")
        << document << "s.ODT" << word << "s.ODT" << odt << "" << true;
    QTest::newRow("another suffix: the filter decides")
        << document << "s.v2" << openDocument << "s.v2" << odt << "" << true;
    QTest::newRow("matrices") << matrices << "m.pdf"
                              << ""
                              << "m.pdf" << QByteArray("%PDF") << "" << true;
    QTest::newRow("printed") << "Print Matrices..."
                             << "p.pdf"
                             << ""
                             << "p.pdf" << QByteArray("%PDF") << "" << true;
    QTest::newRow("printer that cannot be used")
        << "Print Matrices..."
        << "none/p.pdf"
        << ""
        << "" << QByteArray() << "Could not print: the printer cannot be used" << false;
    QTest::newRow("cancelled") << document << ""
                               << ""
                               << "" << QByteArray() << "" << true;
    QTest::newRow("no such folder") << matrices << "none/m.pdf"
                                    << ""
                                    << "" << QByteArray() << "Could not export m.pdf: " << true;
    // The document is the saved proposal formatted: refused as the save button refuses.
    QTest::newRow("document without frame and grain")
        << document << "s.docx"
        << ""
        << "" << QByteArray() << proposal::refusalMessage() << false;
}

// The outputs beside the save button's file, by their menu items and shortcuts; the printer
// here is a PDF file, the page landscape.
void TestLifecycle::exportsAndPrint() {
    QFETCH(QString, item);
    QFETCH(QString, chosen);
    QFETCH(QString, filter);
    QFETCH(QString, written);
    QFETCH(QByteArray, start);
    QFETCH(QString, status);
    QFETCH(bool, framed);
    ScratchDirectory work;
    if (framed) {
        app->model().impactGrid(MassAspect, 8) = Frame;
        app->model().impactGrid(MassAspect, 13) = Grain;
    }
    const QDir folder(work.path());
    auto &answers = static_cast<Answers &>(app->platform());
    answers.path = chosen.isEmpty() ? QString() : folder.filePath(chosen);
    answers.filter = filter;
    bool landscape = false;
    answers.printer = [&](QPrinter &printer) {
        landscape = printer.pageLayout().orientation() == QPageLayout::Landscape;
        printer.setOutputFileName(answers.path);
    };
    QAction *action = menuItem(future(), item);
    action->shortcut().isEmpty() ? action->trigger() : pressKeys(future(), action->shortcut());

    QCOMPARE(folder.entryList(QDir::Files),
             written.isEmpty() ? QStringList() : QStringList(written));
    QFile file(folder.filePath(written));
    QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    if (bytes.startsWith("PK\x03\x04")) // a zip: the name of its first file
        bytes = bytes.mid(30, qFromLittleEndian<quint16>(bytes.constData() + 26));
    QCOMPARE(bytes.left(start.size()), start);
    QCOMPARE(future()->status()->text().left(status.size()), status);
    QCOMPARE(future()->status()->text().isEmpty(), status.isEmpty());
    QCOMPARE(landscape, item.startsWith("Print"));
    if (!framed)
        return;
    // The next dialog starts in the folder of the file chosen.
    menuItem(future(), QStringLiteral("Export Document..."))->trigger();
    const QDir last(chosen.contains('/') ? folder.filePath("none") : folder.path());
    QCOMPARE(answers.files.last().suggested, last.filePath("StudyProposal.docx"));
    QCOMPARE(answers.files.last().filter, "Word document (*.docx);;OpenDocument text (*.odt)");
}

void TestLifecycle::aboutNamesTheProgram() {
    QString text;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        text = box ? box->text() : QString();
        if (box)
            box->accept();
    });
    menuItem(future(), QStringLiteral("About Study proposal"))->trigger();
    for (const char *part : {"Study proposal", appinfo::Version, "MIT", appinfo::Homepage})
        QVERIFY2(text.contains(QString::fromUtf8(part)), part);
}

QTEST_MAIN(TestLifecycle)
#include "tst_lifecycle.moc"
