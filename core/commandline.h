#pragma once
// The command line: `study-proposal [FILE]`, `--help` and `--version`. Parsing is plain
// code over the arguments, so it needs no display and can be tested without a window.

#include <QString>
#include <QStringList>

namespace sp {

struct CommandLine {
    enum Action {
        Run,         // open the windows, with `file` when one was given
        ShowHelp,    // print `text` to standard output, exit 0
        ShowVersion, // likewise
        Refuse,      // print `text` (one line) to standard error, exit non-zero
    };
    Action action = Run;
    QString file;
    QString text;
};

// `arguments` as QCoreApplication::arguments() gives them, the program first. Needs a
// QCoreApplication for the program's name and version.
CommandLine parseCommandLine(const QStringList &arguments);

// Makes the folder of the study file the current directory, where the save button writes.
// Returns the file's absolute path, or an empty string and sets `problem` to one line naming
// the path and the reason: no such file, a folder, a folder that cannot be entered.
QString enterStudyFolder(const QString &file, QString *problem);

} // namespace sp
