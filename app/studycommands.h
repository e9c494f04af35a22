#pragma once
// What the menus of both windows and the save button do: open a saved study in the running
// program, save, export the document and the matrices, print, quit and tell about the program.
// Messages go to the status line of the window the command came from (and, for opening and
// saving, to Future's as well, where the save button and the command line put them). Choosing
// and delivering files, the one question and printing go through the platform (platform.h).

#include "menus.h"
#include "model.h"
#include "platform.h"
#include "reader.h"

#include <QString>

#include <functional>

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

    StudyCommands(Host &host, Platform &platform);

    // The menu items of `window`, which their messages go to.
    MenuCommands menuCommands(FormWindow *window);

    // `from` is the window a command came from; a null one stands for Future.
    // Every mark and the horizon back to the start, after the one question when marks are
    // unsaved; the platform then keeps nothing.
    void newStudy(FormWindow *from);
    void openStudy(FormWindow *from);
    // A study handed over as bytes (a browser's file picker, the page's address), opened as
    // Open Study opens a file.
    void openStudyBytes(FormWindow *from, const QString &name, const QByteArray &bytes);
    // Says that the study `name` could not be had, as for a file that cannot be read back.
    void reportUnreadable(FormWindow *from, const QString &name, const QString &reason);
    // Saves StudyProposal.txt where the platform keeps it (the current directory), as the
    // save button does; true when written, else Future's status line (and that of `from`)
    // says why.
    bool save(FormWindow *from);
    void exportDocument(FormWindow *from);
    // Where files are not named in a dialog, each format has an item of its own.
    void exportOpenDocument(FormWindow *from);
    void exportPdf(FormWindow *from);
    void print(FormWindow *from);
    void quit();
    void about(FormWindow *from);

    // The model now holds what StudyProposal.txt holds: at start, after a save or an open.
    void markSaved();
    // The marks or the horizon differ from what was last saved or opened.
    bool hasUnsavedChanges() const;

    // Where the platform keeps the study between visits, every change from now on is kept.
    // At start, before the windows are built: with `restore`, the kept study is put into the
    // model first. Returns what Future's status line says of it: where the study came from,
    // or why the kept one could not be read back (it is then forgotten, and the study is new).
    QString startKeeping(bool restore);
    // A mark or the horizon changed: the platform keeps the study, or forgets it once it is
    // new again. A storage that refuses it is said once on Future's status line.
    void studyChanged();
    // Closing the page would lose marks: they are unsaved and not kept.
    bool wouldLoseWork() const;

private:
    proposal::StudyMarks snapshot() const;
    // Reads a study with `read` (again after a save, which may have replaced the very file),
    // asks about unsaved marks and shows it; a study file's `path` becomes the working folder.
    using ReadStudy = std::function<bool(Model &study, QString *problem)>;
    void replaceStudy(FormWindow *from, const QString &name, const ReadStudy &read,
                      const QString &path);
    void showStudy(FormWindow *from, const QString &name, const ReadStudy &read,
                   const QString &path);
    // The model's marks and horizon are another study's: as it was last saved, in both windows.
    void showReplaced();
    void startNewStudy();
    void exportFormatted(FormWindow *from, const QString &suggested, const QString &filter);
    void exportTo(FormWindow *from, const Platform::Offer &offer);
    void tell(FormWindow *from, const QString &text);

    Host &host_;
    Platform &platform_;
    proposal::StudyMarks saved_;
    bool keeping_ = false;
    bool keepRefused_ = false; // said on the status line until a change is kept again
};

} // namespace sp
