// Random user events on the real windows of one Application, each followed by a comparison
// with the independent account of reference.h: every mark, every caption and colour of the
// open windows, the labels, which windows are open and shown, and the saved file.
// SP_RANDOM_SEED repeats a run, SP_RANDOM_EVENTS sets its length.
#include "encoding.h"
#include "gui.h"
#include "impactmarking.h"
#include "reader.h"
#include "reference.h"
#include "savecheck.h"
#include "studyfile.h"
#include "studyproposal.h"

#include <QClipboard>
#include <QDebug>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QInputMethodEvent>
#include <QPointer>
#include <QStringDecoder>
#include <QTemporaryDir>

#include <chrono>
#include <map>
#include <random>

using namespace sp;
using namespace sp::test;
using reference::Button;

namespace {

#ifdef SP_SANITIZE_BUILD
constexpr qint64 DefaultEvents = 20000; // the instrumented build runs many times slower
#else
constexpr qint64 DefaultEvents = 100000;
#endif

const QString FileName = QStringLiteral("StudyProposal.txt");

enum Kind {
    FuturePress,
    ImpactsPress,
    FutureRowReset,
    FutureColumnReset,
    FutureResetAll,
    ImpactsRowReset,
    ImpactsColumnReset,
    ImpactsResetAll,
    GoToImpactsButton,
    ProbableFutureUntil,
    GoToFutureButton,
    CloseFuture,
    CloseImpacts,
    EditHorizon,
    Save,
    KindCount
};

// Per thousand events. Presses dominate as in real use; resets are rare enough to let marks
// pile up, and saves touch the disc, so they come about once in 500 events.
const int Weights[KindCount] = {360, 435, 10, 16, 3, 10, 16, 3, 40, 20, 40, 15, 15, 15, 2};

// Texts a user may type, paste or commit through an input method into the time horizon.
const QStringList Pieces = {
    QStringLiteral("2030"),
    QStringLiteral("\t"),
    QStringLiteral(" "),
    QStringLiteral("2040\t2050"),
    QString::fromUtf8("\xc3\xa5r 2050"),                                    // år
    QString::fromUtf8("\xe4\xba\x8c\xe3\x80\x87\xe4\xb8\x89\xe3\x80\x87"),  // 二〇三〇
    QString::fromUtf8("\xce\xa9\xce\xbc\xce\xad\xce\xb3\xce\xb1"),          // Greek
    QString::fromUtf8("\xd8\xb3\xd9\x86\xd8\xa9"),                          // Arabic
    QString::fromUtf8("\xe2\x82\xac\xe2\x80\xa6\xe2\x80\x98x\xe2\x80\x99"), // €…‘x’
    QString::fromUtf8("e\xcc\x81"),                        // e and a combining acute
    QString::fromUtf8("\xf0\x9f\x98\x80"),                 // U+1F600
    QString::fromUtf8("\xf0\x9d\x9f\x90\xf0\x9d\x9f\x8e"), // mathematical bold digits
    QString::fromUtf8("\xf0\x90\x8d\x88"),                 // Gothic hwair
};

const char32_t LongAlphabet[] = {
    U'0',      U'1',          U'2',          U'3',          U'9',          U'a',
    U'Z',      U' ',          U'\t',         U'(',          U')',          U'-',
    U'.',      U'\u00e9',     U'\u00df',     U'\u00fc',     U'\u20ac',     U'\u2026',
    U'\u2018', U'\u03b1',     U'\u0436',     U'\u4e16',     U'\u754c',     U'\u05d0',
    U'\u0633', U'\U0001F600', U'\U0001F3D7', U'\U0001D7CE', U'\U00010348',
};

template <typename T> QString shown(const T &value) {
    QString text;
    QDebug(&text).nospace() << value;
    return text.size() > 300 ? text.left(300) + QStringLiteral("...") : text;
}

QByteArray readFile(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

Qt::MouseButton qtButton(Button button) {
    switch (button) {
    case Button::Left:
        return Qt::LeftButton;
    case Button::Right:
        return Qt::RightButton;
    default:
        return Qt::MiddleButton;
    }
}

const char *buttonName(Button button) {
    switch (button) {
    case Button::Left:
        return "left";
    case Button::Right:
        return "right";
    default:
        return "middle";
    }
}

// The first difference of two files, for the failure message.
QString firstDifference(const QByteArray &actual, const QByteArray &expected) {
    qsizetype i = 0;
    while (i < actual.size() && i < expected.size() && actual[i] == expected[i])
        ++i;
    const qsizetype from = std::max<qsizetype>(0, i - 40);
    return QStringLiteral("sizes %1 and %2, first difference at byte %3: program %4, expected %5")
        .arg(actual.size())
        .arg(expected.size())
        .arg(i)
        .arg(shown(actual.mid(from, 80)), shown(expected.mid(from, 80)));
}

} // namespace

// Keeps the first mismatch; everything after it would only repeat it.
#define EXPECT_EQ(actual, expected, ...)                                                           \
    do {                                                                                           \
        const auto &actual_ = (actual);                                                            \
        const auto &expected_ = (expected);                                                        \
        if (!(actual_ == expected_))                                                               \
            fail(QString::asprintf(__VA_ARGS__), shown(actual_), shown(expected_));                \
    } while (0)
#define EXPECT(condition, ...)                                                                     \
    do {                                                                                           \
        if (!(condition))                                                                          \
            fail(QString::asprintf(__VA_ARGS__), QString(), QString());                            \
    } while (0)

class TestRandom : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void randomEvents();

private:
    int pick(int n) { return int(rng() % std::uint64_t(n)); }
    Button pickButton();
    void note(const QString &text);
    void fail(const QString &what, const QString &actual, const QString &expected);
    void count(const QString &what) { ++coverage[what]; }

    // The user's actions: each one on the real window, then on the reference.
    void event(Kind kind);
    void pressFuture(int aspect, int index, Button button);
    void pressImpacts(int aspect, int index, Button button);
    void ensureFutureShown();
    void ensureImpactsShown();
    void goToImpactsSomehow();
    void goToFutureSomehow();
    void closeWindow(bool future);
    void editHorizon();
    void save();
    QString randomLongText();

    void checkAll();
    void checkLoads();
    void checkModel();
    void readBack(const QByteArray &bytes, const Model &saved, const QString &date);
    void checkFuture();
    void checkImpacts();

    std::optional<QuietRaise> quiet;
    std::optional<ScratchDirectory> dir;

    std::unique_ptr<Application> app;
    reference::World world;
    std::mt19937_64 rng;
    quint64 seed = 0;
    qint64 eventNumber = 0;
    QString current;    // what the running event did so far
    QStringList recent; // the events before it
    QString failure;
    std::map<QString, int> coverage;

    QPointer<FutureWindow> seenFuture;
    QPointer<ImpactsWindow> seenImpacts;
    int seenFutureLoads = 0;
    int seenImpactsLoads = 0;
    bool fileSaved = false;
    QByteArray savedBytes;
};

void TestRandom::initTestCase() {
    quiet.emplace();
    dir.emplace();
    QVERIFY(dir->isCurrent());
}

void TestRandom::cleanupTestCase() {
    app.reset();
    dir.reset();
    quiet.reset();
}

Button TestRandom::pickButton() {
    const int r = pick(10);
    return r < 7 ? Button::Left : r < 9 ? Button::Middle : Button::Right;
}

void TestRandom::note(const QString &text) {
    if (!current.isEmpty())
        current += QStringLiteral("; ");
    current += text;
}

void TestRandom::fail(const QString &what, const QString &actual, const QString &expected) {
    if (!failure.isEmpty())
        return;
    failure = what;
    if (!actual.isEmpty() || !expected.isEmpty())
        failure += QStringLiteral(": program ") + actual + QStringLiteral(", expected ") + expected;
}

void TestRandom::goToImpactsSomehow() {
    FutureWindow *future = app->futureWindow();
    switch (pick(3)) {
    case 0:
        note(QStringLiteral("Go to Impacts"));
        count(QStringLiteral("Future goToImpacts"));
        click(button(future, "goToImpacts"));
        world.goToImpacts();
        break;
    case 1:
        note(QStringLiteral("click Probable future until"));
        count(QStringLiteral("Future horizonTitle"));
        QTest::mouseClick(label(future, "horizonTitle"), Qt::LeftButton);
        world.probableFutureUntil();
        break;
    default: {
        const int a = 1 + pick(6), j = pick(22);
        note(QStringLiteral("Future right press (%1, %2)").arg(a).arg(j));
        count(QStringLiteral("Future right press"));
        pressCell(future->matrix().cell(a, j), Qt::RightButton);
        world.pressFuture(a, j, Button::Right);
    }
    }
}

void TestRandom::goToFutureSomehow() {
    ImpactsWindow *impacts = app->impactsWindow();
    if (pick(2) == 0) {
        note(QStringLiteral("Go to Future"));
        count(QStringLiteral("Impacts goToFuture"));
        click(button(impacts, "goToFuture"));
        world.goToFuture();
    } else {
        const int a = 1 + pick(6), j = pick(22);
        note(QStringLiteral("Impacts right press (%1, %2)").arg(a).arg(j));
        count(QStringLiteral("Impacts right press"));
        pressCell(impacts->matrix().cell(a, j), Qt::RightButton);
        world.pressImpacts(a, j, Button::Right);
    }
}

// A user reaches a window that is not shown through the other one, which then is.
// One of them always is: the checks after every event see to that.
void TestRandom::ensureFutureShown() {
    if (!world.future.visible) {
        if (!world.impacts.visible)
            qFatal("seed %llu, event %lld: no window shown", seed, eventNumber);
        goToFutureSomehow();
    }
}

void TestRandom::ensureImpactsShown() {
    if (!world.impacts.visible) {
        if (!world.future.visible)
            qFatal("seed %llu, event %lld: no window shown", seed, eventNumber);
        goToImpactsSomehow();
    }
}

void TestRandom::pressFuture(int aspect, int index, Button button) {
    ensureFutureShown();
    note(QStringLiteral("Future %1 press (%2, %3)").arg(buttonName(button)).arg(aspect).arg(index));
    count(QStringLiteral("Future %1 press").arg(buttonName(button)));
    pressCell(app->futureWindow()->matrix().cell(aspect, index), qtButton(button));
    world.pressFuture(aspect, index, button);
}

void TestRandom::pressImpacts(int aspect, int index, Button button) {
    ensureImpactsShown();
    note(
        QStringLiteral("Impacts %1 press (%2, %3)").arg(buttonName(button)).arg(aspect).arg(index));
    count(QStringLiteral("Impacts %1 press").arg(buttonName(button)));
    const bool futureClosed = !world.future.open;
    pressCell(app->impactsWindow()->matrix().cell(aspect, index), qtButton(button));
    world.pressImpacts(aspect, index, button);
    if (futureClosed && world.future.open)
        count(QStringLiteral("Future opened hidden by the cue"));
}

void TestRandom::closeWindow(bool future) {
    // Closing the only shown window ends the program, so both are shown first.
    ensureFutureShown();
    ensureImpactsShown();
    QWidget *window = future ? static_cast<QWidget *>(app->futureWindow())
                             : static_cast<QWidget *>(app->impactsWindow());
    note(future ? QStringLiteral("close Future") : QStringLiteral("close Impacts"));
    count(future ? QStringLiteral("close Future") : QStringLiteral("close Impacts"));
    QPointer<QWidget> closing(window);
    const bool closed = window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT(closed, "close() refused");
    EXPECT(closing.isNull(), "the closed window was not deleted");
    if (future)
        world.closeFuture();
    else
        world.closeImpacts();
}

QString TestRandom::randomLongText() {
    const int length = 50 + pick(300);
    QString text;
    for (int i = 0; i < length; ++i) {
        const char32_t c = LongAlphabet[pick(int(std::size(LongAlphabet)))];
        text += QString::fromUcs4(&c, 1);
    }
    return text;
}

void TestRandom::editHorizon() {
    ensureFutureShown();
    QLineEdit *horizonEdit = app->futureWindow()->horizonEdit();
    QString expected = world.future.horizonEdit;
    int way = pick(5);
    if (expected.size() > 350 && (way == 2 || way == 4))
        way = 0; // a few hundred characters are enough
    switch (way) {
    case 0:
        note(QStringLiteral("horizon: select all, delete"));
        QTest::keyClick(horizonEdit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(horizonEdit, Qt::Key_Backspace);
        expected.clear();
        break;
    case 1: {
        // A year most of the time, else a short word.
        static const char Typable[] = "0123456789abcxyzABC -./()'";
        QString typed;
        if (pick(3) != 0) {
            typed = QString::number(1900 + pick(300));
        } else {
            for (int i = 1 + pick(12); i > 0; --i)
                typed += QLatin1Char(Typable[pick(int(sizeof Typable) - 1)]);
        }
        note(QStringLiteral("horizon: select all, type %1").arg(shown(typed)));
        QTest::keyClick(horizonEdit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(horizonEdit, typed);
        expected = typed;
        break;
    }
    case 2: {
        const QString piece = Pieces[pick(int(Pieces.size()))];
        note(QStringLiteral("horizon: input method commits %1 at the end").arg(shown(piece)));
        QTest::keyClick(horizonEdit, Qt::Key_End);
        QInputMethodEvent commit;
        commit.setCommitString(piece);
        QCoreApplication::sendEvent(horizonEdit, &commit);
        expected += piece;
        break;
    }
    case 3: {
        const QString pasted = randomLongText();
        note(QStringLiteral("horizon: select all, paste %1 characters").arg(pasted.size()));
        QGuiApplication::clipboard()->setText(pasted);
        QTest::keyClick(horizonEdit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(horizonEdit, Qt::Key_V, Qt::ControlModifier);
        expected = pasted;
        break;
    }
    default: {
        const char32_t c = pick(2) ? U'\U0001F600' : U'\U0001D7CF';
        const QString key = QString::fromUcs4(&c, 1);
        note(QStringLiteral("horizon: key with text %1 at the end").arg(shown(key)));
        QTest::keyClick(horizonEdit, Qt::Key_End);
        QTest::sendKeyEvent(QTest::Click, horizonEdit, Qt::Key_unknown, key, Qt::NoModifier);
        expected += key;
    }
    }
    count(QStringLiteral("horizon edit %1").arg(way));
    world.setHorizon(expected);
}

// The saved file reads back to the marks and to the horizon as the file could hold it, and
// writing what was read gives the same file again.
void TestRandom::readBack(const QByteArray &bytes, const Model &saved, const QString &date) {
    proposal::StudyMarks back;
    if (QString problem; !proposal::readStudyProposal(bytes, back, &problem)) {
        fail(QStringLiteral("reading the saved file back"), problem, QString());
        return;
    }
    EXPECT(back.futureGrid == saved.futureGrid, "trend marks read back");
    EXPECT(back.impactGrid == saved.impactGrid, "impact marks read back");
    QStringDecoder windows1252("windows-1252");
    const QByteArray horizonBytes = proposal::toWindows1252(saved.horizon);
    const QString horizonHeld = windows1252.decode(horizonBytes);
    EXPECT_EQ(back.horizon, horizonHeld, "horizon read back");
    Model reread = saved; // the word tables
    reread.futureGrid = back.futureGrid;
    reread.impactGrid = back.impactGrid;
    reread.horizon = back.horizon;
    const QByteArray again = proposal::toWindows1252(
        proposal::studyProposalText(reread, world.impacts.resolution, date));
    if (again != bytes)
        fail(QStringLiteral("writing what was read"), firstDifference(again, bytes), QString());
}

void TestRandom::save() {
    ensureFutureShown();
    note(QStringLiteral("save"));
    const bool impactsClosed = !world.impacts.open;
    const QString dateBefore = proposal::todayShortDate();
    click(button(app->futureWindow(), "saveProposal"));
    const QString dateAfter = proposal::todayShortDate();
    const QDir here(dir->path());
    if (!world.save()) {
        count(QStringLiteral("save refused"));
        EXPECT_EQ(QFile::exists(FileName), fileSaved,
                  "a refused save changed whether the file exists");
        if (fileSaved)
            EXPECT(readFile(FileName) == savedBytes, "a refused save changed the file");
    } else {
        count(QStringLiteral("save written"));
        if (impactsClosed)
            count(QStringLiteral("Impacts opened hidden by a save"));
        Model model;
        initVocabulary(model);
        for (int a = 1; a <= reference::Aspects; ++a)
            for (int s = 1; s <= reference::Scales; ++s) {
                model.futureGrid(a, s) = std::int16_t(world.trend[a][s]);
                model.impactGrid(a, s) = std::int16_t(world.impact[a][s]);
            }
        const auto document = [&](const QString &date) {
            model.horizon = world.horizon;
            return proposal::toWindows1252(
                proposal::studyProposalText(model, world.impacts.resolution, date));
        };
        const QByteArray bytes = readFile(FileName);
        QByteArray expected = document(dateBefore);
        if (bytes != expected && dateAfter != dateBefore)
            expected = document(dateAfter); // midnight passed during the save
        if (bytes != expected)
            fail(QStringLiteral("saved file"), firstDifference(bytes, expected), QString());
        fileSaved = true;
        savedBytes = bytes;
        readBack(bytes, model, bytes == expected ? dateBefore : dateAfter);
    }
    EXPECT_EQ(here.entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden),
              fileSaved ? QStringList{FileName} : QStringList(), "files in the directory");
}

void TestRandom::event(Kind kind) {
    switch (kind) {
    case FuturePress:
        pressFuture(1 + pick(6), pick(22), pickButton());
        break;
    case ImpactsPress: {
        // The mass row, with its frame and grain, gets a good share of the presses.
        const int aspect = pick(5) < 2 ? reference::Mass : 1 + pick(6);
        pressImpacts(aspect, pick(22), pickButton());
        break;
    }
    case FutureRowReset: {
        ensureFutureShown();
        const int i = pick(6);
        note(QStringLiteral("Future row reset %1").arg(i));
        count(QStringLiteral("Future rowReset_%1").arg(i));
        click(app->futureWindow()->matrix().rowReset(i));
        world.resetFutureRow(i);
        break;
    }
    case FutureColumnReset: {
        ensureFutureShown();
        const int j = pick(22);
        note(QStringLiteral("Future column reset %1").arg(j));
        count(QStringLiteral("Future columnReset_%1").arg(j));
        click(app->futureWindow()->matrix().columnButton(j));
        world.resetFutureColumn(j);
        break;
    }
    case FutureResetAll:
        ensureFutureShown();
        note(QStringLiteral("Future reset all"));
        count(QStringLiteral("Future resetAll"));
        click(app->futureWindow()->matrix().resetAll());
        world.resetFutureAll();
        break;
    case ImpactsRowReset: {
        ensureImpactsShown();
        const int i = pick(6);
        note(QStringLiteral("Impacts row reset %1").arg(i));
        count(QStringLiteral("Impacts rowReset_%1").arg(i));
        click(app->impactsWindow()->matrix().rowReset(i));
        world.resetImpactsRow(i);
        break;
    }
    case ImpactsColumnReset: {
        ensureImpactsShown();
        const int j = pick(22);
        note(QStringLiteral("Impacts column reset %1").arg(j));
        count(QStringLiteral("Impacts columnReset_%1").arg(j));
        click(app->impactsWindow()->matrix().columnButton(j));
        world.resetImpactsColumn(j);
        break;
    }
    case ImpactsResetAll:
        ensureImpactsShown();
        note(QStringLiteral("Impacts reset all"));
        count(QStringLiteral("Impacts resetAll"));
        click(app->impactsWindow()->matrix().resetAll());
        world.resetImpactsAll();
        break;
    case GoToImpactsButton:
        ensureFutureShown();
        note(QStringLiteral("Go to Impacts"));
        count(QStringLiteral("Future goToImpacts"));
        click(button(app->futureWindow(), "goToImpacts"));
        world.goToImpacts();
        break;
    case ProbableFutureUntil:
        ensureFutureShown();
        note(QStringLiteral("click Probable future until"));
        count(QStringLiteral("Future horizonTitle"));
        QTest::mouseClick(label(app->futureWindow(), "horizonTitle"), Qt::LeftButton);
        world.probableFutureUntil();
        break;
    case GoToFutureButton:
        ensureImpactsShown();
        note(QStringLiteral("Go to Future"));
        count(QStringLiteral("Impacts goToFuture"));
        click(button(app->impactsWindow(), "goToFuture"));
        world.goToFuture();
        break;
    case CloseFuture:
        closeWindow(true);
        break;
    case CloseImpacts:
        closeWindow(false);
        // Now and then the student saves right after, which reads the closed window.
        if (pick(10) == 0)
            save();
        break;
    case EditHorizon:
        editHorizon();
        break;
    case Save:
        save();
        break;
    case KindCount:
        break;
    }
}

void TestRandom::checkModel() {
    const Model &m = app->model();
    for (int a = 1; a <= reference::Aspects; ++a)
        for (int s = 1; s <= reference::Scales; ++s) {
            EXPECT_EQ(int(m.futureGrid(a, s)), world.trend[a][s], "futureGrid(%d, %d)", a, s);
            EXPECT_EQ(int(m.impactGrid(a, s)), world.impact[a][s], "impactGrid(%d, %d)", a, s);
        }
    for (int s = 0; s <= reference::Scales; ++s) {
        EXPECT_EQ(int(m.futureGrid(0, s)), 0, "futureGrid(0, %d)", s);
        EXPECT_EQ(int(m.impactGrid(0, s)), 0, "impactGrid(0, %d)", s);
    }
    for (int a = 0; a <= reference::Aspects; ++a) {
        EXPECT_EQ(int(m.futureGrid(a, 0)), 0, "futureGrid(%d, 0)", a);
        EXPECT_EQ(int(m.impactGrid(a, 0)), 0, "impactGrid(%d, 0)", a);
    }
    EXPECT_EQ(m.horizon, world.horizon, "horizon");
    EXPECT_EQ(int(m.lastImpactAspect), world.lastAspect, "lastImpactAspect");
    EXPECT_EQ(int(m.lastImpactIndex), world.lastIndex, "lastImpactIndex");

    // What must hold whatever happened: one frame and one grain at most, the frame coarser,
    // and neither off the mass row.
    int frames = 0, grains = 0, frame = 0, grain = 0;
    for (int s = 1; s <= reference::Scales; ++s) {
        for (int a = 1; a < reference::Mass; ++a) {
            const int mark = m.impactGrid(a, s);
            EXPECT(mark == 0 || mark == 3 || mark == 4, "mark %d at (%d, %d)", mark, a, s);
        }
        for (int a = 1; a <= reference::Aspects; ++a)
            EXPECT(m.futureGrid(a, s) >= 0 && m.futureGrid(a, s) <= 2, "trend at (%d, %d)", a, s);
        const int mass = m.impactGrid(reference::Mass, s);
        EXPECT(mass >= 0 && mass <= 4, "mass mark %d at %d", mass, s);
        if (mass == 1) {
            ++frames;
            frame = s;
        }
        if (mass == 2) {
            ++grains;
            grain = s;
        }
    }
    EXPECT(frames <= 1 && grains <= 1, "%d frames and %d grains", frames, grains);
    EXPECT(frame == 0 || grain == 0 || frame < grain, "frame at %d, grain at %d", frame, grain);
    EXPECT(world.future.visible || world.impacts.visible, "no window shown");
}

// A window is rebuilt exactly when the reference loads it, and the one it replaces is gone.
void TestRandom::checkLoads() {
    if (world.futureLoads != seenFutureLoads) {
        EXPECT(seenFuture.isNull(), "Future loaded again while the old one lives");
        seenFuture = app->futureWindow();
        seenFutureLoads = world.futureLoads;
        if (seenFuture) {
            EXPECT_EQ(seenFuture->windowTitle(), QStringLiteral("Future"), "Future caption");
            EXPECT_EQ(label(seenFuture.data(), "perspectives")->text(),
                      reference::perspectivesText(), "Future perspectives");
        }
    } else if (world.future.open) {
        EXPECT(!seenFuture.isNull() && app->futureWindow() == seenFuture.data(),
               "Future rebuilt without a load");
    }
    if (world.impactsLoads != seenImpactsLoads) {
        EXPECT(seenImpacts.isNull(), "Impacts loaded again while the old one lives");
        seenImpacts = app->impactsWindow();
        seenImpactsLoads = world.impactsLoads;
        if (seenImpacts)
            EXPECT_EQ(seenImpacts->windowTitle(), QStringLiteral("Object and impact"),
                      "Impacts caption");
    } else if (world.impacts.open) {
        EXPECT(!seenImpacts.isNull() && app->impactsWindow() == seenImpacts.data(),
               "Impacts rebuilt without a load");
    }
}

void TestRandom::checkFuture() {
    FutureWindow *future = app->futureWindow();
    EXPECT_EQ(future != nullptr, world.future.open, "Future open");
    if (!future || !world.future.open)
        return;
    EXPECT_EQ(future->isVisible(), world.future.visible, "Future shown");
    const Model &m = app->model();
    const QColor black(Qt::black);
    for (int a = 1; a <= reference::Aspects; ++a)
        for (int j = 0; j < reference::Scales; ++j) {
            const CellButton *cell = future->matrix().cell(a, j);
            const reference::Cell &expected = world.futureCell(a, j);
            EXPECT_EQ(cell->text(), expected.caption, "Future caption (%d, %d)", a, j);
            EXPECT_EQ(cell->fill(), expected.black ? black : reference::rowColour(a),
                      "Future colour (%d, %d)", a, j);
            EXPECT_EQ(cell->text(), reference::trendCaption(a, m.futureGrid(a, j + 1)),
                      "Future caption (%d, %d) against its mark", a, j);
        }
    EXPECT_EQ(future->status()->text(), world.future.status, "Future status");
    EXPECT_EQ(future->matrixNote()->text(), QString(), "Future matrixNote");
    EXPECT_EQ(future->saveNote()->text(), QString(), "Future saveNote");
    EXPECT_EQ(future->horizonEdit()->text(), world.future.horizonEdit, "Future horizonEdit");
}

void TestRandom::checkImpacts() {
    ImpactsWindow *impacts = app->impactsWindow();
    EXPECT_EQ(impacts != nullptr, world.impacts.open, "Impacts open");
    if (!impacts || !world.impacts.open)
        return;
    EXPECT_EQ(impacts->isVisible(), world.impacts.visible, "Impacts shown");
    const Model &m = app->model();
    for (int a = 1; a <= reference::Aspects; ++a)
        for (int j = 0; j < reference::Scales; ++j) {
            const CellButton *cell = impacts->matrix().cell(a, j);
            const reference::Cell &expected = world.impactsCell(a, j);
            EXPECT_EQ(cell->text(), expected.caption, "Impacts caption (%d, %d)", a, j);
            EXPECT_EQ(cell->fill(), reference::rowColour(a), "Impacts colour (%d, %d)", a, j);
            EXPECT_EQ(cell->text(), reference::impactCaption(m.impactGrid(a, j + 1)),
                      "Impacts caption (%d, %d) against its mark", a, j);
        }
    EXPECT_EQ(impacts->status()->text(), world.impacts.status, "Impacts status");
    EXPECT_EQ(impacts->horizonLabel()->text(), world.impacts.horizonLabel, "Impacts horizon");
    EXPECT_EQ(impacts->resolutionLabel()->text(), world.impacts.resolution, "Impacts resolution");
    EXPECT_EQ(impacts->switchNote()->text(), world.impacts.switchNote, "Impacts switchNote");
    // The writers take the statement from the marks; the window shows what its last load or
    // mass-row press wrote, stale after a reset. With a frame and a grain placed, which the
    // text file and the document wait for, the two agree.
    if (proposal::saveAllowed(m)) {
        count(QStringLiteral("statement checked against the marks"));
        EXPECT_EQ(sp::impacts::resolutionStatement(m), impacts->resolutionLabel()->text(),
                  "statement from the marks");
    }
}

void TestRandom::checkAll() {
    checkModel();
    checkLoads();
    checkFuture();
    checkImpacts();
}

void TestRandom::randomEvents() {
    bool given = false;
    seed = qEnvironmentVariable("SP_RANDOM_SEED").toULongLong(&given);
    if (!given)
        seed = quint64(std::chrono::system_clock::now().time_since_epoch().count()) % 1000000000u;
    bool counted = false;
    qint64 events = qEnvironmentVariable("SP_RANDOM_EVENTS").toLongLong(&counted);
    if (!counted || events < 0)
        events = DefaultEvents;
    qInfo("%lld random events, seed %llu", events, seed);
    rng.seed(seed);

    int total = 0;
    for (int w : Weights)
        total += w;

    QElapsedTimer timer;
    timer.start();
    app = std::make_unique<Application>();
    app->start();
    world.start();
    current = QStringLiteral("start");
    for (eventNumber = 0; eventNumber <= events; ++eventNumber) {
        if (eventNumber > 0) {
            int r = pick(total), kind = 0;
            while (r >= Weights[kind])
                r -= Weights[kind++];
            current.clear();
            event(Kind(kind));
            // The event loop runs between two user actions.
            QCoreApplication::processEvents();
        }
        checkAll();
        if (!failure.isEmpty()) {
            const QString message =
                QStringLiteral("seed %1, event %2 (%3): %4\nrecent events, oldest first:\n  %5\n"
                               "repeat with SP_RANDOM_SEED=%1 SP_RANDOM_EVENTS=%2")
                    .arg(seed)
                    .arg(eventNumber)
                    .arg(current, failure, recent.join(QStringLiteral("\n  ")));
            QFAIL(qPrintable(message));
        }
        recent << QStringLiteral("%1: %2").arg(eventNumber).arg(current);
        if (recent.size() > 15)
            recent.removeFirst();
    }
    const qint64 elapsed = timer.elapsed();
    qInfo("%lld events in %lld ms, %d Future and %d Impacts loads, %d saves written", events,
          elapsed, world.futureLoads, world.impactsLoads, coverage[QStringLiteral("save written")]);

    // Every control, button and way of closing and reopening must have had its turn.
    if (events >= 20000) {
        QStringList expected;
        for (const char *window : {"Future", "Impacts"}) {
            for (int i = 0; i < 6; ++i)
                expected << QStringLiteral("%1 rowReset_%2").arg(window).arg(i);
            for (int j = 0; j < 22; ++j)
                expected << QStringLiteral("%1 columnReset_%2").arg(window).arg(j);
            expected << QStringLiteral("%1 resetAll").arg(window);
            for (const char *b : {"left", "middle", "right"})
                expected << QStringLiteral("%1 %2 press").arg(window, b);
            expected << QStringLiteral("close %1").arg(window);
        }
        expected << QStringLiteral("Future goToImpacts") << QStringLiteral("Future horizonTitle")
                 << QStringLiteral("Impacts goToFuture") << QStringLiteral("save refused")
                 << QStringLiteral("save written")
                 << QStringLiteral("Future opened hidden by the cue")
                 << QStringLiteral("Impacts opened hidden by a save")
                 << QStringLiteral("statement checked against the marks");
        for (int way = 0; way < 5; ++way)
            expected << QStringLiteral("horizon edit %1").arg(way);
        for (const QString &what : expected)
            QVERIFY2(coverage[what] > 0, qPrintable(QStringLiteral("never ran: ") + what));
    }
}

QTEST_MAIN(TestRandom)
#include "tst_random.moc"
