#include "fixtures.h"
#include "proposal.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/resource.h>
#endif

using namespace sp;
using namespace sp::proposal;

namespace {

// Accepts at most `chunk` bytes per write and fails once `capacity` bytes are in.
class FailDevice : public QIODevice {
public:
    FailDevice(qint64 capacity, qint64 chunk)
        : capacity_(capacity)
        , chunk_(chunk) {}
    QByteArray written;

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override {
        if (written.size() >= capacity_) {
            setErrorString(QStringLiteral("No space left on device"));
            return -1;
        }
        const qint64 n = std::min({size, chunk_, capacity_ - written.size()});
        written.append(data, n);
        return n;
    }

private:
    qint64 capacity_;
    qint64 chunk_;
};

QStringList Entries(const QString &dir) {
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                               QDir::NoDotAndDotDot);
}

QByteArray Contents(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

} // namespace

class TestProposalSave : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void counts_data();
    void counts();
    void lookupTables();
    void saveAllowed_data();
    void saveAllowed();
    void messages();
    void writeBytes_data();
    void writeBytes();
    void closedDeviceFails();
    void savingTwiceKeepsTheSecond();
    void unwritableTargetLeavesNothing_data();
    void unwritableTargetLeavesNothing();
    void failedWriteKeepsEarlierFile_data();
    void failedWriteKeepsEarlierFile();
};

void TestProposalSave::counts_data() {
    QTest::addColumn<QList<int>>("row"); // marks at scales 1..22, missing ones 0
    QTest::addColumn<int>("mark");
    QTest::addColumn<int>("count");

    QTest::newRow("empty row") << QList<int>{} << 4 << 0;
    QTest::newRow("empty row counts its zeros") << QList<int>{} << 0 << 22;
    QTest::newRow("first and last scale")
        << QList<int>{4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 4} << 4 << 2;
    QTest::newRow("other marks ignored") << QList<int>{3, 4, 3, 1, 2, 3} << 3 << 3;
    QTest::newRow("full row") << QList<int>(22, 2) << 2 << 22;
}

void TestProposalSave::counts() {
    QFETCH(QList<int>, row);
    QFETCH(int, mark);
    QFETCH(int, count);
    Model model = fixtures::WithVocabulary();
    for (int s = 1; s <= row.size(); ++s) {
        model.ImpactGrid(2, s) = static_cast<std::int16_t>(row[s - 1]);
        model.FutureGrid(5, s) = static_cast<std::int16_t>(row[s - 1]);
    }
    QCOMPARE(CountImpactMarks(model, 2, mark), count);
    QCOMPARE(CountTrendMarks(model, 5, mark), count);
    // The other matrix and the other rows do not leak in.
    QCOMPARE(CountImpactMarks(model, 5, mark), mark == 0 ? 22 : 0);
    QCOMPARE(CountTrendMarks(model, 2, mark), mark == 0 ? 22 : 0);
}

void TestProposalSave::lookupTables() {
    Model model = fixtures::WithVocabulary();
    model.ImpactGrid(3, 2) = Programme;
    model.ImpactGrid(3, 5) = Programme;
    model.ImpactGrid(3, 22) = Programme;
    MarkLookup lookup;
    QCOMPARE(lookup.Count(model.ImpactGrid, 3, Programme), 3);
    const std::array<int, 24> running{0, 0, 1, 1, 1, 2, 2, 2, 2, 2, 2, 2,
                                      2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 3, 0};
    for (int s = 0; s <= 23; ++s) {
        QCOMPARE(lookup.MarkRunningCount[s], running[s]);
        QCOMPARE(lookup.MarkMatch[s], (s == 2 || s == 5 || s == 22) ? 1 : 0);
    }
    // The next lookup overwrites every scale.
    QCOMPARE(lookup.Count(model.ImpactGrid, 4, Programme), 0);
    for (int s = 0; s <= 23; ++s)
        QCOMPARE(lookup.MarkRunningCount[s], 0);

    QVERIFY_THROWS_EXCEPTION(InternalError, CountImpactMarks(model, 7, 1));
    QVERIFY_THROWS_EXCEPTION(InternalError, CountTrendMarks(model, -1, 1));
}

void TestProposalSave::saveAllowed_data() {
    QTest::addColumn<Model>("model");
    QTest::addColumn<bool>("allowed");

    Model neither = fixtures::WithVocabulary();
    neither.ImpactGrid(3, 4) = Programme;
    Model frameOnly = fixtures::Saveable();
    frameOnly.ImpactGrid(MassAspect, 13) = NotAffected;
    Model grainOnly = fixtures::Saveable();
    grainOnly.ImpactGrid(MassAspect, 8) = NotAffected;
    Model otherRow = fixtures::WithVocabulary();
    otherRow.ImpactGrid(5, 8) = Frame;
    otherRow.ImpactGrid(5, 13) = Grain;

    QTest::newRow("neither") << neither << false;
    QTest::newRow("frame only") << frameOnly << false;
    QTest::newRow("grain only") << grainOnly << false;
    QTest::newRow("both off the mass row") << otherRow << false;
    QTest::newRow("both") << fixtures::Saveable() << true;
    QTest::newRow("both among other marks") << fixtures::Crowded() << true;
}

void TestProposalSave::saveAllowed() {
    QFETCH(Model, model);
    QFETCH(bool, allowed);
    const Model before = model;
    QCOMPARE(SaveAllowed(model), allowed);
    QVERIFY(model.ImpactGrid == before.ImpactGrid && model.FutureGrid == before.FutureGrid);
}

void TestProposalSave::messages() {
    QCOMPARE(RefusalMessage(), QStringLiteral("Fill in your frame (O) and grain (o) in the row "
                                              "mass|space|time before saving."));
    QCOMPARE(FailureMessage(QStringLiteral("Is a directory")),
             QStringLiteral("Could not save StudyProposal.txt: Is a directory"));
}

void TestProposalSave::writeBytes_data() {
    QTest::addColumn<qint64>("capacity");
    QTest::addColumn<qint64>("chunk");
    QTest::addColumn<bool>("ok");

    QTest::newRow("room for all") << qint64(1000) << qint64(1000) << true;
    QTest::newRow("room for all, short writes") << qint64(1000) << qint64(7) << true;
    QTest::newRow("exactly full") << qint64(50) << qint64(16) << true;
    QTest::newRow("full after some bytes") << qint64(20) << qint64(1000) << false;
    QTest::newRow("full after some short writes") << qint64(20) << qint64(7) << false;
    QTest::newRow("full from the start") << qint64(0) << qint64(1000) << false;
}

void TestProposalSave::writeBytes() {
    QFETCH(qint64, capacity);
    QFETCH(qint64, chunk);
    QFETCH(bool, ok);
    QByteArray bytes;
    for (int i = 0; i < 50; ++i)
        bytes.append(char('a' + i % 26));
    FailDevice device(capacity, chunk);
    QVERIFY(device.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    QString error;
    QCOMPARE(WriteBytes(device, bytes, &error), ok);
    if (ok) {
        QCOMPARE(device.written, bytes);
        QVERIFY(error.isEmpty());
    } else {
        QCOMPARE(error, QStringLiteral("No space left on device"));
        QCOMPARE(device.written, bytes.left(capacity));
    }
}

void TestProposalSave::closedDeviceFails() {
    FailDevice device(1000, 1000);
    QString error;
    QTest::ignoreMessage(QtWarningMsg, "QIODevice::write (QIODevice): device not open");
    QVERIFY(!WriteBytes(device, "abc", &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(device.written.isEmpty());
}

void TestProposalSave::savingTwiceKeepsTheSecond() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("StudyProposal.txt"));
    const QByteArray first = ToWindows1252(
        StudyProposalText(fixtures::Crowded(), "2050", fixtures::SeveralScales, "1/1/30"));
    const QByteArray second = ToWindows1252(
        StudyProposalText(fixtures::Saveable(), "2030", fixtures::BluePrint, "2/1/30"));
    QVERIFY(first.size() > second.size());

    QString error;
    QVERIFY(SaveStudyProposal(path, first, &error));
    QCOMPARE(Contents(path), first);
    QVERIFY(SaveStudyProposal(path, second, &error));
    QCOMPARE(Contents(path), second);
    QCOMPARE(Entries(dir.path()), QStringList{"StudyProposal.txt"});
}

void TestProposalSave::unwritableTargetLeavesNothing_data() {
    QTest::addColumn<QString>("relativePath");
    QTest::addColumn<QStringList>("entriesAfter");

    QTest::newRow("target is a directory")
        << QStringLiteral("StudyProposal.txt") << QStringList{"StudyProposal.txt"};
    QTest::newRow("directory missing")
        << QStringLiteral("missing/StudyProposal.txt") << QStringList{"StudyProposal.txt"};
}

void TestProposalSave::unwritableTargetLeavesNothing() {
    QFETCH(QString, relativePath);
    QFETCH(QStringList, entriesAfter);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    // In both rows the directory holds a directory named like the proposal.
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("StudyProposal.txt")));

    QString error;
    QVERIFY(!SaveStudyProposal(dir.filePath(relativePath), "text\r\n", &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(Entries(dir.path()), entriesAfter);
    QVERIFY(Entries(dir.filePath(QStringLiteral("StudyProposal.txt"))).isEmpty());
}

void TestProposalSave::failedWriteKeepsEarlierFile_data() {
    QTest::addColumn<int>("size");
    // The file buffer holds the small one until the commit, the large one fails on writing.
    QTest::newRow("fails on commit") << 8 * 1024;
    QTest::newRow("fails while writing") << 64 * 1024;
}

void TestProposalSave::failedWriteKeepsEarlierFile() {
#ifdef Q_OS_LINUX
    QFETCH(int, size);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("StudyProposal.txt"));
    QString error;
    QVERIFY(SaveStudyProposal(path, "earlier\r\n", &error));

    // Root ignores permissions but not the file size limit: the write fails part way.
    rlimit before{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &before), 0);
    rlimit small = before;
    small.rlim_cur = 4096;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool saved = SaveStudyProposal(path, QByteArray(size, 'x'), &error);
    setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, oldHandler);

    QVERIFY(!saved);
    QVERIFY(!error.isEmpty());
    QCOMPARE(Contents(path), QByteArray("earlier\r\n"));
    QCOMPARE(Entries(dir.path()), QStringList{"StudyProposal.txt"});
#else
    QSKIP("needs a file size limit");
#endif
}

QTEST_GUILESS_MAIN(TestProposalSave)
#include "tst_proposal_save.moc"
