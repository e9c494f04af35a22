#include "commandline.h"

#include "appinfo.h"
#include "failure.h"
#include "reader.h"
#include "savecheck.h"
#include "studyfile.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace sp {
namespace {

QString programName() {
    return QCoreApplication::applicationName();
}

CommandLine refuse(const QString &reason) {
    return {CommandLine::Refuse, QString(),
            QStringLiteral("%1: %2 Try '%1 --help'.\n").arg(programName(), reason), QString()};
}

} // namespace

CommandLine parseCommandLine(const QStringList &arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral(
            "Marks probable trends and impacts over scale levels and writes a study proposal.\n"
            "The save button writes StudyProposal.txt into the current directory; --export\n"
            "writes the proposal as a formatted document or the matrices as a PDF instead.\n"
            "Homepage: %1")
            .arg(QString::fromLatin1(appinfo::Homepage)));
    parser.addPositionalArgument(
        QStringLiteral("FILE"),
        QStringLiteral("A StudyProposal.txt saved earlier: the program works in its folder, "
                       "saves there and starts with its time horizon and marks."),
        QStringLiteral("[FILE]"));
    const QCommandLineOption exportTo(
        QStringLiteral("export"),
        QStringLiteral("Writes OUT from the study saved in FILE and exits, without a window: "
                       "OUT.docx is the proposal as a Word document (Word, Google Docs, "
                       "LibreOffice), OUT.odt as an OpenDocument text (LibreOffice, Word), "
                       "OUT.pdf a landscape page of both matrices with their legends."),
        QStringLiteral("OUT"));
    parser.addOption(exportTo);
    // Not addHelpOption(): its --help-all offers Qt's own options, which are not taken here.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Displays this help and exits."));
    parser.addOption(help);
    const QCommandLineOption version = parser.addVersionOption();

    if (!parser.parse(arguments))
        return refuse(parser.errorText());
    if (parser.isSet(help))
        return {CommandLine::ShowHelp, QString(), parser.helpText(), QString()};
    if (parser.isSet(version))
        return {
            CommandLine::ShowVersion, QString(),
            QStringLiteral("%1 %2\n").arg(programName(), QCoreApplication::applicationVersion()),
            QString()};
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1)
        return refuse(QStringLiteral("Only one FILE can be opened, not %1.").arg(files.size()));
    if (!parser.isSet(exportTo))
        return {CommandLine::Run, files.value(0), QString(), QString()};
    const QString output = parser.value(exportTo);
    if (files.isEmpty())
        return refuse(QStringLiteral("--export needs the FILE of a saved study."));
    if (proposal::StudyFormat format;
        !proposal::formatOfName(output, &format) || format == proposal::StudyFormat::TextFile)
        return refuse(QStringLiteral("--export writes OUT.docx or OUT.odt (the document) or "
                                     "OUT.pdf (the matrices), not '%1'.")
                          .arg(output));
    return {CommandLine::Export, files.first(), QString(), output};
}

namespace {

// The file at fault and why.
bool failedOn(QString *error, const QString &file, const QString &reason) {
    return failed(error, QStringLiteral("%1: %2").arg(file, reason));
}

// A study file to read: a file, not a folder.
bool isStudyFile(const QString &file, QString *error) {
    const QFileInfo info(file);
    if (info.isDir())
        return failedOn(error, file, QStringLiteral("is a folder, not a study proposal file"));
    if (!info.exists())
        return failedOn(error, file, QStringLiteral("no such file"));
    return true;
}

} // namespace

QString commandLineMessage(const QString &text) {
    return QStringLiteral("%1: %2\n").arg(programName(), text);
}

bool enterStudyFolder(const QString &file, QString *path, QString *error) {
    if (!isStudyFile(file, error))
        return false;
    const QFileInfo info(file);
    const QString absolute = info.absoluteFilePath();
    if (!QDir::setCurrent(info.absolutePath()))
        return failedOn(error, file, QStringLiteral("its folder cannot be entered"));
    *path = absolute;
    return true;
}

bool exportStudy(const QString &file, const QString &output, QString *error) {
    if (!isStudyFile(file, error))
        return false;
    Model model;
    initVocabulary(model);
    if (QString unreadable; !proposal::restoreStudy(file, model, &unreadable))
        return failedOn(error, file, unreadable);
    proposal::StudyFormat format;
    if (!proposal::formatOfName(output, &format) || format == proposal::StudyFormat::TextFile)
        return failedOn(error, output, QStringLiteral("is not a .docx, .odt or .pdf file"));
    // The same rule as the save button: the document describes the object by its frame and
    // grain.
    if (format != proposal::StudyFormat::MatricesPdf && !proposal::saveAllowed(model))
        return failedOn(error, file,
                        QStringLiteral("no frame (O) and grain (o) in the row mass|space|time"));
    if (QString reason; !proposal::saveStudy(output, format, model, &reason))
        return failedOn(error, output, reason);
    return true;
}

} // namespace sp
