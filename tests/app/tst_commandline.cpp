// The command line as a user types it: FILE, --export, --help, --version, and mistakes, which
// end the program with one line on standard error before any window exists.
#include "commandline.h"
#include "encoding.h"
#include "studyproposal.h"

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
    void exportStudy_data();
    void exportStudy();
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
    QTest::newRow("--export a document")
        << QStringList{"--export", "out/Proposal.odt", "StudyProposal.txt"}
        << int(CommandLine::Export) << "StudyProposal.txt" << QStringList{};
    QTest::newRow("--export=matrices, upper case")
        << QStringList{"--export=M.PDF", "StudyProposal.txt"} << int(CommandLine::Export)
        << "StudyProposal.txt" << QStringList{};
    QTest::newRow("--export a Word document")
        << QStringList{"--export", "Proposal.DOCX", "StudyProposal.txt"} << int(CommandLine::Export)
        << "StudyProposal.txt" << QStringList{};
    for (const char *output : {"out.doc", "out.txt", "out"})
        QTest::addRow("--export, wrong extension %s", output)
            << QStringList{"--export", output, "StudyProposal.txt"} << int(CommandLine::Refuse)
            << QString()
            << QStringList{QStringLiteral("study-proposal: --export writes OUT.docx or OUT.odt "
                                          "(the document) or OUT.pdf (the matrices), not '%1'. ")
                               .arg(output) +
                           try_};
    QTest::newRow("--export without FILE")
        << QStringList{"--export", "out.odt"} << int(CommandLine::Refuse) << QString()
        << QStringList{"--export needs the FILE of a saved study."};
    QTest::newRow("--export without OUT")
        << QStringList{"--export"} << int(CommandLine::Refuse) << QString()
        << QStringList{"Missing value after '--export'."};
    QTest::newRow("--help names --export")
        << QStringList{"--help"} << int(CommandLine::ShowHelp) << QString()
        << QStringList{"--export <OUT>", "OUT.docx", "OUT.odt", "OUT.pdf"};
}

void TestCommandLine::parse() {
    QFETCH(QStringList, arguments);
    QFETCH(int, action);
    QFETCH(QString, file);
    QFETCH(QStringList, textHolds);
    const CommandLine command = parseCommandLine(QStringList{"study-proposal"} + arguments);
    QCOMPARE(int(command.action), action);
    QCOMPARE(command.file, file);
    if (action == CommandLine::Export)
        QCOMPARE(command.output, arguments.first().section(u'=', -1) == arguments.first()
                                     ? arguments[1]
                                     : arguments.first().section(u'=', 1));
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
    QString path;
    const QString missing = folder + QStringLiteral("/missing.txt");
    QVERIFY(!enterStudyFolder(missing, &path, &problem));
    QCOMPARE(commandLineMessage(problem),
             QStringLiteral("study-proposal: %1: no such file\n").arg(missing));
    QVERIFY(!enterStudyFolder(folder, &path, &problem));
    QCOMPARE(
        commandLineMessage(problem),
        QStringLiteral("study-proposal: %1: is a folder, not a study proposal file\n").arg(folder));
    QCOMPARE(QDir::currentPath(), start);

    QVERIFY(QDir::setCurrent(dir.path()));
    const QString relative = QStringLiteral("study/StudyProposal.txt");
    QVERIFY(enterStudyFolder(relative, &path, &problem));
    QCOMPARE(path, QDir(folder).filePath("StudyProposal.txt"));
    QCOMPARE(QDir::current(), QDir(folder));
    QVERIFY(QDir::setCurrent(start));
}

namespace {

// A study as the save button writes it: Windows-1252, CR LF.
QByteArray savedStudy(bool withFrameAndGrain) {
    Model model;
    initVocabulary(model);
    model.horizon = QStringLiteral("2040");
    model.futureGrid(3, 8) = 1;
    if (withFrameAndGrain) {
        model.impactGrid(MassAspect, 8) = Frame;
        model.impactGrid(MassAspect, 13) = Grain;
    }
    return proposal::toWindows1252(proposal::studyProposalText(
        model, QStringLiteral("The object of study has the resolution of a blue print"),
        QStringLiteral("12/8/26")));
}

} // namespace

void TestCommandLine::exportStudy_data() {
    QTest::addColumn<QByteArray>("study"); // empty: FILE is missing; "/": FILE is a folder
    QTest::addColumn<QString>("output");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("written"); // how OUT starts, empty when not written
    QTest::addColumn<QString>("problem");

    const QByteArray study = savedStudy(true);
    QTest::newRow("document") << study << "Proposal.odt" << 0
                              << QByteArray("PK\x03\x04\x14\x00\x00\x00\x00\x00") << QString();
    QTest::newRow("Word document")
        << study << "Proposal.docx" << 0 << QByteArray("PK\x03\x04") << QString();
    QTest::newRow("matrices") << study << "matrices.pdf" << 0 << QByteArray("%PDF-") << QString();
    QTest::newRow("matrices without frame and grain")
        << savedStudy(false) << "matrices.pdf" << 0 << QByteArray("%PDF-") << QString();
    QTest::newRow("document without frame and grain")
        << savedStudy(false) << "Proposal.odt" << 1 << QByteArray()
        << "StudyProposal.txt: no frame (O) and grain (o) in the row mass|space|time";
    QTest::newRow("Word document without frame and grain")
        << savedStudy(false) << "Proposal.docx" << 1 << QByteArray()
        << "StudyProposal.txt: no frame (O) and grain (o) in the row mass|space|time";
    QTest::newRow("unreadable file") << QByteArray("a shopping list\r\n") << "Proposal.odt" << 1
                                     << QByteArray() << "StudyProposal.txt: ";
    QTest::newRow("missing file") << QByteArray() << "matrices.pdf" << 1 << QByteArray()
                                  << "StudyProposal.txt: no such file";
    QTest::newRow("a folder") << QByteArray("/") << "matrices.pdf" << 1 << QByteArray()
                              << "StudyProposal.txt: is a folder, not a study proposal file";
    QTest::newRow("OUT in a missing folder")
        << study << "missing/Proposal.odt" << 1 << QByteArray() << "missing/Proposal.odt: ";
    // The command line refuses these before; a caller that does not is told, not given a PDF.
    QTest::newRow("OUT of no format") << study << "Proposal.docs" << 1 << QByteArray()
                                      << "Proposal.docs: is not a .docx, .odt or .pdf file";
    QTest::newRow("OUT a text file") << study << "Proposal.txt" << 1 << QByteArray()
                                     << "Proposal.txt: is not a .docx, .odt or .pdf file";
}

// Exit status 0 and the file, or 1 and one line naming the file at fault; never a partial
// file.
void TestCommandLine::exportStudy() {
    QFETCH(QByteArray, study);
    QFETCH(QString, output);
    QFETCH(int, status);
    QFETCH(QByteArray, written);
    QFETCH(QString, problem);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("StudyProposal.txt"));
    if (study == "/") {
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("StudyProposal.txt")));
    } else if (!study.isEmpty()) {
        QFile saved(file);
        QVERIFY(saved.open(QIODevice::WriteOnly));
        saved.write(study);
    }
    const QString out = dir.filePath(output);
    QString problemOfExport;
    QCOMPARE(sp::exportStudy(file, out, &problemOfExport) ? 0 : 1, status);
    // What the program prints on standard error.
    const QString reported = status == 0 ? problemOfExport : commandLineMessage(problemOfExport);
    QFile result(out);
    if (status == 0) {
        QVERIFY(reported.isEmpty());
        QVERIFY(result.open(QIODevice::ReadOnly));
        QVERIFY(result.read(written.size()) == written);
    } else {
        QVERIFY(!result.exists());
        QVERIFY2(reported.startsWith(QStringLiteral("study-proposal: ") + dir.path()),
                 qPrintable(reported));
        QVERIFY2(reported.contains(problem), qPrintable(reported));
        QVERIFY(reported.endsWith(u'\n'));
        QCOMPARE(reported.count(u'\n'), 1);
    }
}

// Pictures and fonts need a QGuiApplication; the parsing does not.
QTEST_MAIN(TestCommandLine)
#include "tst_commandline.moc"
