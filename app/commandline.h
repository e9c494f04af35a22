#pragma once
// The command line: `study-proposal [FILE]`, `--export OUT FILE`, `--help` and `--version`.
// Parsing is plain code over the arguments, so it needs no display and can be tested without
// a window.

#include <QString>
#include <QStringList>

namespace sp {

struct CommandLine {
    enum Action {
        Run,         // open the windows, with `file` when one was given
        ShowHelp,    // print `text` to standard output, exit 0
        ShowVersion, // likewise
        Refuse,      // print `text` (one line) to standard error, exit non-zero
        Export,      // write `output` from `file` without a window (exportStudy)
    };
    Action action = Run;
    QString file;
    QString text;
    QString output; // Export: a .docx or .odt (the document) or a .pdf (the matrices page)
};

// `arguments` as QCoreApplication::arguments() gives them, the program first. Needs a
// QCoreApplication for the program's name and version.
CommandLine parseCommandLine(const QStringList &arguments);

// What the program prints on standard error about `text`: one line, after its name.
QString commandLineMessage(const QString &text);

// Makes the folder of the study file the current directory, where the save button writes,
// and sets `path` to the file's absolute path. Returns false and sets `error` (when given) to
// "FILE: REASON": no such file, a folder, a folder that cannot be entered.
bool enterStudyFolder(const QString &file, QString *path, QString *error);

// Reads the study saved in `file` and writes `output`: the proposal as a Word document
// (.docx) or an OpenDocument text (.odt), dated today, or the page of both matrices (.pdf).
// Needs a QGuiApplication, no window. Returns false and sets `error` (when given) to
// "FILE: REASON", the file at fault and why: unreadable, not a study, no frame and grain for a
// document, not a format to export, or not writable.
bool exportStudy(const QString &file, const QString &output, QString *error);

} // namespace sp
