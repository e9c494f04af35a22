// The browser's platform, run on the desktop: the program with the page's menus, its files
// downloaded under their names, a study opened from the bytes the file picker hands over
// (Qt's own dialog here, where the page has the browser's), and the one question answered
// when the user gives the answer; a touch screen's keyboard offered for the time horizon only.
#include "browserplatform.h"
#include "encoding.h"
#include "failure.h"
#include "gui.h"
#include "study.h"
#include "studyproposal.h"

#include <QFileDialog>
#include <QtEndian>

using namespace sp;
using namespace sp::test;

namespace {

// The page without a browser: what would be downloaded is kept here.
class Page final : public BrowserPlatform {
public:
    struct Download {
        QString name;
        QByteArray bytes;
    };
    QList<Download> downloads;
    QString refusal; // when set, the browser refuses every download with it
    int starts = 0;
    QList<Keyboard> keyboards; // as offered to the browser, in turn

    void started(StudyCommands &) override { ++starts; }

protected:
    void offerKeyboard(Keyboard keyboard) override { keyboards << keyboard; }
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
    void keyboardForTheHorizonOnly();
    void keyboardFollowsTheFocus();

private:
    void placeFrameAndGrain() const {
        app->model().impactGrid(MassAspect, 8) = Frame;
        app->model().impactGrid(MassAspect, 13) = Grain;
    }
    // Open Study, and the file chosen in the dialog that the picker shows on a desktop.
    void openThroughPicker(const QString &path);

    std::optional<QuietRaise> quiet;
    std::optional<ScratchDirectory> work;
    std::unique_ptr<Application> app;
    Page &page() const { return static_cast<Page &>(app->platform()); }
    FutureWindow *future() const { return app->futureWindow(); }
};

void TestBrowserPlatform::init() {
    work.emplace();
    app = std::make_unique<Application>(std::make_unique<Page>());
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
    QCOMPARE(items, QStringList({"Open Study...", "Save StudyProposal.txt", "Export Word Document",
                                 "Export OpenDocument Text", "Export Matrices as PDF",
                                 "About Study proposal"}));
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
}

// The picker hands over the file's bytes: the study is shown, the working folder stays, and a
// file that cannot be read back changes nothing.
void TestBrowserPlatform::studyOpenedFromThePicker() {
    QFETCH(QString, file);
    QFETCH(QString, status);
    QTemporaryDir elsewhere;
    const QString path =
        file == "study" ? writeStudy(elsewhere.path()) : writeNotes(elsewhere.path());
    openThroughPicker(path);

    QCOMPARE(future()->status()->text().left(status.size()), status);
    const Model expected = status.isEmpty() ? exampleStudy() : Model();
    QVERIFY(app->model().futureGrid == expected.futureGrid);
    QVERIFY(app->model().impactGrid == expected.impactGrid);
    QCOMPARE(future()->horizonEdit()->text(), status.isEmpty() ? "2061" : "2030");
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
    QVERIFY(app->model().futureGrid == before.futureGrid); // still asking
    QTest::mouseClick(question->button(answer), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    QVERIFY(!shown<QMessageBox>());
    QStringList names;
    for (const Page::Download &download : page().downloads)
        names << download.name;
    QCOMPARE(names, downloads);
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
