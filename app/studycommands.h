#pragma once
// What the menus of both windows and the save button do: open a saved study in the running
// program, save, export the document and the matrices, print, quit and tell about the program.
// Messages go to the status line of the window the command came from (and, for opening and
// saving, to Future's as well, where the save button and the command line put them). File dialogs,
// the one question and the print dialog are reached through replaceable functions, so tests give a
// path or an answer where a person would.

#include "menus.h"
#include "model.h"
#include "studyfile.h"

#include <QMessageBox>
#include <QString>

#include <functional>

class QPrinter;
class QWidget;

namespace sp {

class FormWindow;
class FutureWindow;
class ImpactsWindow;

class StudyCommands {
public:
    // What the commands need of the windows' life cycle (Application).
    class Host {
    public:
        virtual Model &model() = 0;
        // The window, opened hidden first if it is closed.
        virtual FutureWindow &openFuture() = 0;
        virtual ImpactsWindow &openImpacts() = 0;
        // The open windows, or null when closed.
        virtual FutureWindow *futureWindow() const = 0;
        virtual ImpactsWindow *impactsWindow() const = 0;
        // Closes both windows, as their close boxes do.
        virtual void closeWindows() = 0;

    protected:
        ~Host() = default;
    };

    // A file to ask the user for: open an existing one, or name one to write.
    struct FileRequest {
        enum Kind { Open, Save } kind;
        QString title;
        QString suggested; // a folder, or a file name in one
        QString filter;    // ";;" between filters, the first the one to start with
    };
    // Returns the chosen path, or an empty string when the user cancels. `selectedFilter`
    // names the filter to start with and, for a file to write, is set to the one chosen.
    using AskFile = std::function<QString(QWidget *parent, const FileRequest &request,
                                          QString *selectedFilter)>;
    // Save, Discard or Cancel: what to do with unsaved marks before another study replaces
    // them, handed to `answer` (at once on the desktop; in a browser, which cannot wait in a
    // dialog, once the user has chosen).
    using Answer = std::function<void(QMessageBox::StandardButton)>;
    using AskToSave = std::function<void(QWidget *parent, const Answer &answer)>;
    // Lets the user choose and set up a printer; false when cancelled.
    using ChoosePrinter = std::function<bool(QPrinter &printer, QWidget *parent)>;

    explicit StudyCommands(Host &host);

    // The menu items of `window`, which their messages go to.
    MenuCommands menuCommands(FormWindow *window);

    void openStudy(FormWindow *from);
#ifdef Q_OS_WASM
    // A study handed over as bytes (a browser's file picker, the page's address), opened as
    // Open Study opens a file; `problem`, when set, says why its bytes could not be had.
    void openStudyBytes(FormWindow *from, const QString &name, const QByteArray &bytes,
                        const QString &problem = QString());
#endif
    // Saves StudyProposal.txt into the current directory, as the save button does; true when
    // written, else Future's status line (and that of `from`) says why.
    bool save(FormWindow *from);
    void exportDocument(FormWindow *from);
    void
    exportOpenDocument(FormWindow *from); // a browser's own item; the desktop's dialog offers it
    void exportPdf(FormWindow *from);
    void print(FormWindow *from);
    void quit();
    void about(FormWindow *from);

    // The model now holds what StudyProposal.txt holds: at start, after a save or an open.
    void markSaved();
    // The marks or the horizon differ from what was last saved or opened.
    bool hasUnsavedChanges() const;

    // Where the next file dialog starts: the folder of the last file chosen in this run, at
    // first the working folder.
    QString lastFolder() const;

    AskFile askFile;
    AskToSave askToSave;
    ChoosePrinter choosePrinter;

private:
    struct Snapshot {
        Grid futureGrid;
        Grid impactGrid;
        QString horizon;
        bool operator==(const Snapshot &) const = default;
    };
    Snapshot snapshot() const;
    // Reads a study with `read` (again after a save, which may have replaced the very file),
    // asks about unsaved marks and shows it; a study file's `path` becomes the working folder.
    using ReadStudy = std::function<bool(Model &study, QString *problem)>;
    void replaceStudy(FormWindow *from, const QString &name, const ReadStudy &read,
                      const QString &path);
    void showStudy(FormWindow *from, const QString &name, const ReadStudy &read,
                   const QString &path);
    QString chooseFile(FormWindow *from, const FileRequest &request, QString *selectedFilter);
    void exportFormatted(FormWindow *from, const QString &suggested, const QString &filter);
    void exportTo(FormWindow *from, FileRequest request);
    void tell(FormWindow *from, const QString &text);

    Host &host_;
    Snapshot saved_;
    QString lastFolder_;
};

} // namespace sp
