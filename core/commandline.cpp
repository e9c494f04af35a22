#include "commandline.h"

#include "appinfo.h"

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
            QStringLiteral("%1: %2 Try '%1 --help'.\n").arg(programName(), reason)};
}

} // namespace

CommandLine parseCommandLine(const QStringList &arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral(
            "Marks probable trends and impacts over scale levels and writes a study proposal.\n"
            "The save button writes StudyProposal.txt into the current directory.\n"
            "Homepage: %1")
            .arg(QString::fromLatin1(appinfo::Homepage)));
    parser.addPositionalArgument(
        QStringLiteral("FILE"),
        QStringLiteral("A StudyProposal.txt saved earlier: the program works in its folder, "
                       "saves there and starts with its time horizon and marks."),
        QStringLiteral("[FILE]"));
    // Not addHelpOption(): its --help-all offers Qt's own options, which are not taken here.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Displays this help and exits."));
    parser.addOption(help);
    const QCommandLineOption version = parser.addVersionOption();

    if (!parser.parse(arguments))
        return refuse(parser.errorText());
    if (parser.isSet(help))
        return {CommandLine::ShowHelp, QString(), parser.helpText()};
    if (parser.isSet(version))
        return {
            CommandLine::ShowVersion, QString(),
            QStringLiteral("%1 %2\n").arg(programName(), QCoreApplication::applicationVersion())};
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1)
        return refuse(QStringLiteral("Only one FILE can be opened, not %1.").arg(files.size()));
    return {CommandLine::Run, files.value(0), QString()};
}

QString enterStudyFolder(const QString &file, QString *problem) {
    const QFileInfo info(file);
    const auto fail = [&](const QString &reason) {
        *problem = QStringLiteral("%1: %2: %3\n").arg(programName(), file, reason);
        return QString();
    };
    if (info.isDir())
        return fail(QStringLiteral("is a folder, not a study proposal file"));
    if (!info.exists())
        return fail(QStringLiteral("no such file"));
    const QString path = info.absoluteFilePath();
    if (!QDir::setCurrent(info.absolutePath()))
        return fail(QStringLiteral("its folder cannot be entered"));
    return path;
}

} // namespace sp
