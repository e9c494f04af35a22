// The browser's platform, run on the desktop: the program with the page's menus, its files
// downloaded under their names, a study opened from the bytes the file picker hands over
// (Qt's own dialog here, where the page has the browser's), and the one question answered
// when the user gives the answer; the study kept in the browser's storage across visits, and
// New Study; a touch screen's keyboard offered for the time horizon only.
#include "browserplatform.h"
#include "encoding.h"
#include "failure.h"
#include "gui.h"
#include "impactmarking.h"
#include "keptstudy.h"
#include "study.h"
#include "studyproposal.h"
#include "trendmarking.h"

#include <QFileDialog>
#include <QtEndian>

using namespace sp;
using namespace sp::test;

namespace {

// The browser's storage for the page, which outlives a visit.
struct Storage {
    std::optional<QByteArray> study;
    QString refusal; // when set, the storage refuses every study with it
};

// The page without a browser: what would be downloaded is kept here.
class Page final : public BrowserPlatform {
public:
    explicit Page(Storage &storage)
        : storage(storage) {}
    Storage &storage;

    struct Download {
        QString name;
        QByteArray bytes;
    };
    QList<Download> downloads;
    QString refusal; // when set, the browser refuses every download with it
    int starts = 0;
    QList<Keyboard> keyboards; // as offered to the browser, in turn

    void started(StudyCommands &) override { ++starts; }
    QByteArray keptStudy() override { return storage.study.value_or(QByteArray()); }
    bool keepStudy(const QByteArray &form, QString *error) override {
        if (!storage.refusal.isEmpty())
            return failed(error, storage.refusal);
        storage.study = form;
        return true;
    }
    void forgetStudy() override { storage.study.reset(); }

    QStringList filters; // as the picker was asked for, in turn

protected:
    void offerKeyboard(Keyboard keyboard) override { keyboards << keyboard; }
    // Qt's own dialog on a desktop, which hands over what it read as the browser's picker does.
    void pickFile(const QString &filter, const Picked &picked) override {
        filters << filter;
        QFileDialog::getOpenFileContent(filter, picked);
    }
    bool download(const QString &name, const QByteArray &bytes, QString *error) override {
        if (!refusal.isEmpty())
            return failed(error, refusal);
        downloads.append({name, bytes});
        return true;
    }
};

template <typename Widget> Widget *shown() {
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (auto *found = qobject_cast<Widget *>(widget); found && found->isVisible())
            return found;
    return nullptr;
}

} // namespace

class TestBrowserPlatform : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { quiet.emplace(); } // once the test's own message handler is in
    void init();
    void cleanup();
    void menusOfThePage();
    void filesAreDownloadedUnderTheirNames_data();
    void filesAreDownloadedUnderTheirNames();
    void studyOpenedFromThePicker_data();
    void studyOpenedFromThePicker();
    void questionAnsweredWhenGiven_data();
    void questionAnsweredWhenGiven();
    void studyOfThePageAddress();
    void studyKeptAcrossVisits();
    void keptStudyThatCannotBeRead_data();
    void keptStudyThatCannotBeRead();
    void storageThatRefuses_data();
    void storageThatRefuses();
    void newStudy_data();
    void newStudy();
    void keyboardForTheHorizonOnly();
    void keyboardFollowsTheFocus();

private:
    void placeFrameAndGrain() const {
        app->model().impactGrid(MassAspect, 8) = Frame;
        app->model().impactGrid(MassAspect, 13) = Grain;
    }
    // Open Study, and the file chosen in the dialog that the picker shows on a desktop.
    void openThroughPicker(const QString &path);

    // Clicks the answer on the question, which then goes.
    static void answerQuestion(QMessageBox *question, QMessageBox::StandardButton answer) {
        QTest::mouseClick(question->button(answer), Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!shown<QMessageBox>());
    }
    QStringList downloadedNames() const {
        QStringList names;
        for (const Page::Download &download : page().downloads)
            names << download.name;
        return names;
    }
    // Closes the page and opens it again, as a reload does; the storage stays.
    void reload() {
        app.reset();
        app = std::make_unique<Application>(std::make_unique<Page>(storage));
        app->start();
    }
    // The study the storage holds, read back.
    proposal::KeptStudy kept() const {
        proposal::KeptStudy study;
        if (!storage.study || !proposal::readKeptStudy(*storage.study, study, nullptr))
            qFatal("the storage holds no study");
        return study;
    }

    std::optional<QuietRaise> quiet;
    std::optional<ScratchDirectory> work;
    Storage storage;
    std::unique_ptr<Application> app;
    Page &page() const { return static_cast<Page &>(app->platform()); }
    FutureWindow *future() const { return app->futureWindow(); }
};

void TestBrowserPlatform::init() {
    work.emplace();
    storage = Storage();
    app = std::make_unique<Application>(std::make_unique<Page>(storage));
    app->start();
}

void TestBrowserPlatform::cleanup() {
    app.reset();
    work.reset();
    for (QWidget *widget : QApplication::topLevelWidgets()) // a dialog a failure left open
        if (qobject_cast<QDialog *>(widget))
            delete widget;
}

void TestBrowserPlatform::openThroughPicker(const QString &path) {
    pressKeys(future(), QKeySequence(Qt::CTRL | Qt::Key_O));
    auto *picker = shown<QFileDialog>();
    QVERIFY(picker);
    picker->selectFile(path);
    static_cast<QDialog *>(picker)->accept(); // as its Open button does
}

// Each format downloads by an item of its own, without "..." since no dialog follows; there
// is no printer and no Quit. The page's start-up ran once.
void TestBrowserPlatform::menusOfThePage() {
    QCOMPARE(page().starts, 1);
    QStringList items;
    for (QAction *action : future()->findChildren<QAction *>())
        if (!action->text().isEmpty() && !action->menu())
            items << action->text().remove(u'&');
    QCOMPARE(items, QStringList({"New Study", "Open Study...", "Save StudyProposal.txt",
                                 "Export Word Document", "Export OpenDocument Text",
                                 "Export Matrices as PDF", "About Study proposal"}));
    QCOMPARE(menuItem(future(), QStringLiteral("Export Word Document"))->shortcut(),
             QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E));
}

void TestBrowserPlatform::filesAreDownloadedUnderTheirNames_data() {
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("start"); // the first bytes, or a zip's first file name
    QTest::addColumn<QString>("refusal");  // the browser's, when it refuses the download
    QTest::addColumn<QString>("status");
    QTest::newRow("save") << "Save StudyProposal.txt"
                          << "StudyProposal.txt" << QByteArray("<") << ""
                          << "";
    QTest::newRow("Word") << "Export Word Document"
                          << "StudyProposal.docx" << QByteArray("[Content_Types].xml") << ""
                          << "";
    QTest::newRow("OpenDocument") << "Export OpenDocument Text"
                                  << "StudyProposal.odt" << QByteArray("mimetype") << ""
                                  << "";
    QTest::newRow("matrices") << "Export Matrices as PDF"
                              << "StudyProposal matrices.pdf" << QByteArray("%PDF") << ""
                              << "";
    QTest::newRow("save refused by the browser") << "Save StudyProposal.txt"
                                                 << "" << QByteArray() << "blocked"
                                                 << "Could not save StudyProposal.txt: blocked";
    QTest::newRow("export refused by the browser")
        << "Export Word Document"
        << "" << QByteArray() << "blocked"
        << "Could not export StudyProposal.docx: blocked";
}

void TestBrowserPlatform::filesAreDownloadedUnderTheirNames() {
    QFETCH(QString, item);
    QFETCH(QString, name);
    QFETCH(QByteArray, start);
    QFETCH(QString, refusal);
    QFETCH(QString, status);
    placeFrameAndGrain();
    page().refusal = refusal;
    menuItem(future(), item)->trigger();

    QCOMPARE(future()->status()->text(), status);
    QCOMPARE(QDir().entryList(QDir::Files), QStringList()); // nothing written beside the page
    QCOMPARE(page().downloads.size(), name.isEmpty() ? 0 : 1);
    if (name.isEmpty())
        return;
    QCOMPARE(page().downloads[0].name, name);
    QByteArray bytes = page().downloads[0].bytes;
    if (bytes.startsWith("PK\x03\x04")) // a zip: the name of its first file
        bytes = bytes.mid(30, qFromLittleEndian<quint16>(bytes.constData() + 26));
    QCOMPARE(bytes.left(start.size()), start);
    if (name.endsWith(".txt")) // the very bytes the desktop saves
        QCOMPARE(page().downloads[0].bytes,
                 proposal::toWindows1252(proposal::studyProposalText(
                     app->model(), app->impactsWindow()->resolutionLabel()->text(),
                     proposal::todayShortDate())));
}

void TestBrowserPlatform::studyOpenedFromThePicker_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("status");
    QTest::newRow("a study") << "study"
                             << "";
    QTest::newRow("notes") << "notes"
                           << "Could not read marks from notes.txt: it holds no table of future "
                              "trends";
    QTest::newRow("picker closed") << ""
                                   << "";
}

// The picker hands over the file's bytes: the study is shown, the working folder stays, and a
// file that cannot be read back, or a picker closed without one, changes nothing.
void TestBrowserPlatform::studyOpenedFromThePicker() {
    QFETCH(QString, file);
    QFETCH(QString, status);
    QTemporaryDir elsewhere;
    if (file.isEmpty()) {
        pressKeys(future(), QKeySequence(Qt::CTRL | Qt::Key_O));
        QVERIFY(shown<QFileDialog>());
        shown<QFileDialog>()->reject();
    } else {
        openThroughPicker(file == "study" ? writeStudy(elsewhere.path())
                                          : writeNotes(elsewhere.path()));
    }

    QCOMPARE(page().filters, QStringList{"Study proposals (*.txt)"});
    QCOMPARE(future()->status()->text().left(status.size()), status);
    const Model expected = file == "study" ? exampleStudy() : Model();
    QVERIFY(app->model().futureGrid == expected.futureGrid);
    QVERIFY(app->model().impactGrid == expected.impactGrid);
    QCOMPARE(future()->horizonEdit()->text(), file == "study" ? "2061" : "2030");
    QVERIFY(work->isCurrent());
    QVERIFY(!app->commands().hasUnsavedChanges());
}

void TestBrowserPlatform::questionAnsweredWhenGiven_data() {
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::addColumn<bool>("framed"); // so that Save can save
    QTest::addColumn<bool>("opened");
    QTest::addColumn<QStringList>("downloads");
    QTest::newRow("Save") << QMessageBox::Save << true << true << QStringList{"StudyProposal.txt"};
    QTest::newRow("Save refused") << QMessageBox::Save << false << false << QStringList();
    QTest::newRow("Discard") << QMessageBox::Discard << false << true << QStringList();
    QTest::newRow("Cancel") << QMessageBox::Cancel << false << false << QStringList();
}

// Unsaved marks: nothing happens until the question is answered, then the answer decides.
void TestBrowserPlatform::questionAnsweredWhenGiven() {
    QFETCH(QMessageBox::StandardButton, answer);
    QFETCH(bool, framed);
    QFETCH(bool, opened);
    QFETCH(QStringList, downloads);
    QTemporaryDir elsewhere;
    const QString path = writeStudy(elsewhere.path());
    pressCell(future()->matrix().cell(4, 4), Qt::LeftButton);
    if (framed)
        placeFrameAndGrain();
    const Model before = app->model();
    openThroughPicker(path);

    auto *question = shown<QMessageBox>();
    QVERIFY(question);
    QVERIFY(question->informativeText().startsWith("Download them as StudyProposal.txt"));
    QCOMPARE(question->focusWidget(), question->button(QMessageBox::Save)); // Enter saves
    QVERIFY(app->model().futureGrid == before.futureGrid);                  // still asking
    answerQuestion(question, answer);
    QCOMPARE(downloadedNames(), downloads);
    const Model expected = opened ? exampleStudy() : before;
    QVERIFY(app->model().futureGrid == expected.futureGrid);
    QVERIFY(app->model().impactGrid == expected.impactGrid);
    QCOMPARE(app->commands().hasUnsavedChanges(), !opened);
}

// What the page's address names comes as bytes, or as the reason it could not be had; both
// speak in Future's status line as a file would.
void TestBrowserPlatform::studyOfThePageAddress() {
    QByteArray bytes;
    {
        QTemporaryDir folder;
        QFile saved(writeStudy(folder.path()));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        bytes = saved.readAll();
    }
    app->commands().reportUnreadable(nullptr, QStringLiteral("example.txt"),
                                     QStringLiteral("it is not on this site"));
    QCOMPARE(future()->status()->text(),
             QStringLiteral("Could not read marks from example.txt: it is not on this site"));
    QVERIFY(app->model().futureGrid == Model().futureGrid);

    app->commands().openStudyBytes(nullptr, QStringLiteral("example.txt"), bytes);
    QVERIFY(app->model().futureGrid == exampleStudy().futureGrid);
    QCOMPARE(future()->horizonEdit()->text(), QStringLiteral("2061"));
    QVERIFY(page().downloads.isEmpty());
}

// Every change is kept as it is made, as the model holds it; opened again, the page shows the
// study as it was left, says where it came from, and still knows whether it was saved.
void TestBrowserPlatform::studyKeptAcrossVisits() {
    QVERIFY(!storage.study); // a new study leaves nothing to keep
    const auto keptAsShown = [this] {
        const proposal::KeptStudy study = kept();
        return study.marks == proposal::marksOf(app->model()) &&
               study.unsaved == app->commands().hasUnsavedChanges();
    };
    pressCell(future()->matrix().cell(2, 3), Qt::LeftButton);
    QVERIFY(keptAsShown());
    QVERIFY(kept().unsaved);
    const QString horizon = QString::fromUtf8("2050 \xe2\x80\x93 \xe6\x9d\xb1\xe4\xba\xac "
                                              "\xf0\x9f\x8f\x99");
    future()->horizonEdit()->selectAll();
    future()->horizonEdit()->insert(horizon);
    QVERIFY(keptAsShown());
    click(button(future(), "goToImpacts"));
    for (int index : {7, 12})
        pressCell(app->impactsWindow()->matrix().cell(MassAspect, index), Qt::LeftButton);
    pressCell(app->impactsWindow()->matrix().cell(3, 4), Qt::LeftButton);
    QVERIFY(keptAsShown());
    click(button(app->impactsWindow(), "rowReset_2")); // a reset is a change too
    QVERIFY(keptAsShown());
    const Model left = app->model();

    reload();
    QVERIFY(app->model().futureGrid == left.futureGrid);
    QVERIFY(app->model().impactGrid == left.impactGrid);
    QCOMPARE(future()->horizonEdit()->text(), horizon);
    QCOMPARE(future()->matrix().cell(2, 3)->text(), future::trendCaption(2, 1));
    QCOMPARE(future()->status()->text(), QStringLiteral("Study restored as this browser kept it"));
    QCOMPARE(app->openImpacts().horizonLabel()->text(), horizon);
    QCOMPARE(app->impactsWindow()->matrix().cell(MassAspect, 7)->text(),
             impacts::impactCaption(left.impactGrid(MassAspect, 8)));
    QVERIFY(app->commands().hasUnsavedChanges()); // as before the reload
    QVERIFY(!app->commands().wouldLoseWork());    // yet kept: a reload loses nothing

    // Saved, it is kept as saved, and opened again it asks nothing before another study.
    menuItem(future(), QStringLiteral("Save StudyProposal.txt"))->trigger();
    QCOMPARE(page().downloads.size(), 1);
    QVERIFY(!kept().unsaved);
    reload();
    QVERIFY(!app->commands().hasUnsavedChanges());
    QCOMPARE(future()->horizonEdit()->text(), horizon);

    // Every mark reset and the horizon as at start: nothing is left behind.
    click(button(future(), "resetAll"));
    click(button(&app->openImpacts(), "resetAll"));
    future()->horizonEdit()->setText(QStringLiteral("2030"));
    QVERIFY(!storage.study);
}

void TestBrowserPlatform::keptStudyThatCannotBeRead_data() {
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QString>("reason");
    Model unsaved = exampleStudy();
    QByteArray form = proposal::writeKeptStudy(unsaved, true);
    QTest::newRow("another version") << QByteArray(form).replace("kept study 1", "kept study 2")
                                     << "it was kept by another version of the page";
    QTest::newRow("damaged") << form.left(40) << "it does not hold its five lines";
    QTest::newRow("edited by hand") << QByteArray(form).replace("unsaved 1", "unsaved yes")
                                    << "it does not say whether it was saved";
    QTest::newRow("something else")
        << QByteArray("{\"marks\": []}") << "it is not a study this page keeps";
}

// A stored study that cannot be read back starts the page with a new study and says why, and
// is forgotten.
void TestBrowserPlatform::keptStudyThatCannotBeRead() {
    QFETCH(QByteArray, stored);
    QFETCH(QString, reason);
    storage.study = stored;
    reload();
    QCOMPARE(future()->status()->text(),
             QStringLiteral("Could not read the study this browser kept: %1. A new study starts.")
                 .arg(reason));
    QVERIFY(proposal::isNewStudy(app->model()));
    QCOMPARE(future()->horizonEdit()->text(), QStringLiteral("2030"));
    QVERIFY(!storage.study);
    QVERIFY(!app->commands().hasUnsavedChanges());
    pressCell(future()->matrix().cell(1, 1), Qt::LeftButton); // and the page goes on keeping
    QCOMPARE(kept().marks.futureGrid(1, 2), 1);
}

void TestBrowserPlatform::storageThatRefuses_data() {
    QTest::addColumn<QString>("refusal");
    QTest::newRow("full") << "its storage for this page is full";
    QTest::newRow("closed") << "it keeps nothing for this page, as in a private window";
}

// A storage that refuses the study is said once, the page goes on working, and closing it
// asks first while marks would be lost; once the storage takes the study again, it need not.
void TestBrowserPlatform::storageThatRefuses() {
    QFETCH(QString, refusal);
    storage.refusal = refusal;
    const QString said =
        QStringLiteral("This browser does not keep the marks: %1. Save them to keep them.")
            .arg(refusal);
    pressCell(future()->matrix().cell(4, 4), Qt::LeftButton);
    QCOMPARE(future()->status()->text(), said);
    QVERIFY(app->commands().wouldLoseWork());
    pressCell(future()->matrix().cell(4, 5), Qt::LeftButton);
    QVERIFY(future()->status()->text() != said); // said once: the press's own status shows
    QCOMPARE(app->model().futureGrid(4, 6), 1);
    QVERIFY(!storage.study);

    storage.refusal.clear();
    pressCell(future()->matrix().cell(4, 6), Qt::LeftButton);
    QVERIFY(!app->commands().wouldLoseWork());
    QCOMPARE(kept().marks.futureGrid(4, 7), 1);
}

void TestBrowserPlatform::newStudy_data() {
    QTest::addColumn<bool>("marked"); // unsaved marks: the question comes first
    QTest::addColumn<bool>("framed"); // so that Save can save
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::addColumn<bool>("cleared");
    QTest::addColumn<QStringList>("downloads");
    const auto none = QMessageBox::NoButton;
    QTest::newRow("nothing unsaved") << false << true << none << true << QStringList();
    QTest::newRow("Save") << true << true << QMessageBox::Save << true
                          << QStringList{"StudyProposal.txt"};
    QTest::newRow("Save refused") << true << false << QMessageBox::Save << false << QStringList();
    QTest::newRow("Discard") << true << false << QMessageBox::Discard << true << QStringList();
    QTest::newRow("Cancel") << true << true << QMessageBox::Cancel << false << QStringList();
}

// New Study: the one question when marks are unsaved, then every mark and the horizon back to
// the start in both windows, and nothing kept in the browser.
void TestBrowserPlatform::newStudy() {
    QFETCH(bool, marked);
    QFETCH(bool, framed);
    QFETCH(QMessageBox::StandardButton, answer);
    QFETCH(bool, cleared);
    QFETCH(QStringList, downloads);
    click(button(future(), "goToImpacts"));
    if (framed)
        for (int index : {7, 12})
            pressCell(app->impactsWindow()->matrix().cell(MassAspect, index), Qt::LeftButton);
    pressCell(app->impactsWindow()->matrix().cell(2, 4), Qt::LeftButton);
    future()->horizonEdit()->setText(QStringLiteral("2045"));
    if (!marked) {
        menuItem(future(), QStringLiteral("Save StudyProposal.txt"))->trigger();
        page().downloads.clear();
    }
    QVERIFY(storage.study);
    const Model before = app->model();

    pressKeys(app->impactsWindow(), QKeySequence(Qt::CTRL | Qt::Key_N));
    if (answer != QMessageBox::NoButton) {
        auto *question = shown<QMessageBox>();
        QVERIFY(question);
        QVERIFY(app->model().impactGrid == before.impactGrid); // still asking
        answerQuestion(question, answer);
    }
    QVERIFY(!shown<QMessageBox>());
    QCOMPARE(downloadedNames(), downloads);
    QCOMPARE(proposal::isNewStudy(app->model()), cleared);
    QCOMPARE(!storage.study, cleared);
    QCOMPARE(future()->horizonEdit()->text(), cleared ? "2030" : "2045");
    if (cleared) // else it shows the horizon of when Impacts was last shown
        QCOMPARE(app->impactsWindow()->horizonLabel()->text(), QStringLiteral("2030"));
    QCOMPARE(app->impactsWindow()->matrix().cell(2, 3)->text(),
             impacts::impactCaption(cleared ? 0 : int(before.impactGrid(2, 4))));
    QCOMPARE(app->commands().hasUnsavedChanges(), !cleared);
    if (!cleared)
        return;
    reload(); // a new study from the start, with nothing to say
    QVERIFY(proposal::isNewStudy(app->model()));
    QCOMPARE(future()->status()->text(), QString());
}

// Of all the widgets of both windows, only the time horizon takes typed text.
void TestBrowserPlatform::keyboardForTheHorizonOnly() {
    using Keyboard = BrowserPlatform::Keyboard;
    QLineEdit *horizon = future()->horizonEdit();
    QWidgetList widgets = future()->findChildren<QWidget *>();
    widgets << future() << &app->openImpacts() << app->impactsWindow()->findChildren<QWidget *>();
    QStringList typed;
    for (QWidget *widget : widgets)
        if (BrowserPlatform::keyboardFor(widget) == Keyboard::Text)
            typed << widget->objectName();
    QCOMPARE(typed, QStringList{horizon->objectName()});
    QCOMPARE(BrowserPlatform::keyboardFor(nullptr), Keyboard::None);
}

// Taps on cells and buttons keep the keyboard down; one on the horizon raises it, and the
// next tap elsewhere drops it. The browser hears of each change once, and of nothing else.
void TestBrowserPlatform::keyboardFollowsTheFocus() {
    using Keyboard = BrowserPlatform::Keyboard;
    future()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(future()));
    QCOMPARE(page().keyboards, QList<Keyboard>{Keyboard::None}); // a cell has the focus
    pressCell(future()->matrix().cell(3, 7), Qt::LeftButton);
    pressCell(future()->matrix().cell(3, 8), Qt::LeftButton);
    QCOMPARE(page().keyboards, QList<Keyboard>{Keyboard::None});
    QTest::mouseClick(future()->horizonEdit(), Qt::LeftButton);
    QVERIFY(future()->horizonEdit()->hasFocus());
    QCOMPARE(page().keyboards, QList<Keyboard>({Keyboard::None, Keyboard::Text}));
    pressCell(future()->matrix().cell(4, 2), Qt::LeftButton);
    QCOMPARE(page().keyboards, QList<Keyboard>({Keyboard::None, Keyboard::Text, Keyboard::None}));

    // Back in Future after Impacts, the horizon has the keys again, and the keyboard with them.
    QTest::mouseClick(future()->horizonEdit(), Qt::LeftButton);
    QTest::mouseClick(label(future(), "horizonTitle"), Qt::LeftButton); // shows Impacts
    QVERIFY(QTest::qWaitForWindowActive(app->impactsWindow()));
    click(button(app->impactsWindow(), "goToFuture"));
    QVERIFY(QTest::qWaitForWindowActive(future()));
    QCOMPARE(page().keyboards, QList<Keyboard>({Keyboard::None, Keyboard::Text, Keyboard::None,
                                                Keyboard::Text, Keyboard::None, Keyboard::Text}));
}

QTEST_MAIN(TestBrowserPlatform)
#include "tst_browserplatform.moc"
