// The command line as a user types it: FILE, --help, --version, and mistakes, which end the
// program with one line on standard error before any window exists.
#include "commandline.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace sp;

class TestCommandLine : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void parse_data();
    void parse();
    void studyFolder();
};

void TestCommandLine::initTestCase() {
    QCoreApplication::setApplicationName(QStringLiteral("study-proposal"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.0.0"));
}

void TestCommandLine::parse_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("action");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("textHolds");

    const QString try_ = QStringLiteral("Try 'study-proposal --help'.\n");
    QTest::newRow("nothing") << QStringList{} << int(CommandLine::Run) << QString()
                             << QStringList{};
    QTest::newRow("a file") << QStringList{"dir/StudyProposal.txt"} << int(CommandLine::Run)
                            << "dir/StudyProposal.txt" << QStringList{};
    QTest::newRow("a file after --")
        << QStringList{"--", "-odd.txt"} << int(CommandLine::Run) << "-odd.txt" << QStringList{};
    QTest::newRow("--help") << QStringList{"--help"} << int(CommandLine::ShowHelp) << QString()
                            << QStringList{"[FILE]", "StudyProposal.txt", "--version",
                                           "Homepage: http"};
    QTest::newRow("-h with a file") << QStringList{"-h", "x.txt"} << int(CommandLine::ShowHelp)
                                    << QString() << QStringList{"FILE"};
    QTest::newRow("--version") << QStringList{"--version"} << int(CommandLine::ShowVersion)
                               << QString() << QStringList{"study-proposal 1.0.0\n"};
    QTest::newRow("unknown option")
        << QStringList{"--save"} << int(CommandLine::Refuse) << QString()
        << QStringList{"study-proposal: Unknown option 'save'. " + try_};
    QTest::newRow("two files") << QStringList{"a.txt", "b.txt"} << int(CommandLine::Refuse)
                               << QString()
                               << QStringList{"study-proposal: Only one FILE can be opened, "
                                              "not 2. " +
                                              try_};
}

void TestCommandLine::parse() {
    QFETCH(QStringList, arguments);
    QFETCH(int, action);
    QFETCH(QString, file);
    QFETCH(QStringList, textHolds);
    const CommandLine command = parseCommandLine(QStringList{"study-proposal"} + arguments);
    QCOMPARE(int(command.action), action);
    QCOMPARE(command.file, file);
    for (const QString &part : textHolds)
        QVERIFY2(command.text.contains(part), qPrintable(command.text));
    if (action == CommandLine::Refuse)
        QCOMPARE(command.text.count(QLatin1Char('\n')), 1);
    if (textHolds.isEmpty())
        QVERIFY(command.text.isEmpty());
}

// The folder of the study becomes the current directory; a missing file or a folder is a
// one-line refusal naming the path, and the current directory stays.
void TestCommandLine::studyFolder() {
    const QString start = QDir::currentPath();
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("study")));
    const QString folder = dir.filePath(QStringLiteral("study"));
    QFile file(folder + QStringLiteral("/StudyProposal.txt"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();

    QString problem;
    const QString missing = folder + QStringLiteral("/missing.txt");
    QCOMPARE(enterStudyFolder(missing, &problem), QString());
    QCOMPARE(problem, QStringLiteral("study-proposal: %1: no such file\n").arg(missing));
    QCOMPARE(enterStudyFolder(folder, &problem), QString());
    QCOMPARE(
        problem,
        QStringLiteral("study-proposal: %1: is a folder, not a study proposal file\n").arg(folder));
    QCOMPARE(QDir::currentPath(), start);

    QVERIFY(QDir::setCurrent(dir.path()));
    const QString relative = QStringLiteral("study/StudyProposal.txt");
    QCOMPARE(enterStudyFolder(relative, &problem), QDir(folder).filePath("StudyProposal.txt"));
    QCOMPARE(QDir::current(), QDir(folder));
    QVERIFY(QDir::setCurrent(start));
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
