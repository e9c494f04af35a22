#pragma once
// What the desktop and the browser do differently, behind one interface: choosing a study to
// open, delivering a written file, the one question before unsaved marks are replaced,
// printing, showing a window, keeping the study between visits, and what the page adds at
// start. The rest of the program calls
// this and holds no platform branch; app/CMakeLists.txt links one implementation, the
// desktop's (desktopplatform.h) or the page's (browserplatform.h, with browserpage.cpp).

#include <QByteArray>
#include <QMessageBox>
#include <QString>

#include <functional>
#include <memory>

class QIODevice;
class QPainter;
class QRectF;
class QWidget;

namespace sp {

class StudyCommands;

class Platform {
public:
    virtual ~Platform() = default;

    // A saved study the user chose: its file's name and either its path (a file on disc,
    // whose folder the program then works in) or its bytes (handed over by a browser).
    struct Study {
        QString name;
        QString path;
        QByteArray bytes;
    };
    using StudyChosen = std::function<void(const Study &study)>;
    // Lets the user choose a study to open and calls `chosen` with it, at once or, where the
    // choice cannot be waited for, later; never when the user cancels.
    virtual void chooseStudy(QWidget *parent, const StudyChosen &chosen) = 0;

    // Puts a file's content on `device` in `format`, the extension of the format the file is
    // written in ("txt", "docx", "odt", "pdf"). False and `error` set on failure.
    using WriteFile = std::function<bool(QIODevice &device, const QString &format, QString *error)>;

    // Writes the file `name` where the study is kept (the working folder, or the browser's
    // downloads) without asking, in the format its extension names. False and `error` set on
    // failure.
    virtual bool writeFile(const QString &name, const WriteFile &write, QString *error) = 0;

    // A file to hand to the user: the dialog's title where one asks, the name suggested and
    // the formats offered (";;" between filters, the first the one to start with).
    struct Offer {
        QString title;
        QString name;
        QString filter;
    };
    enum class Delivery { Written, Cancelled, Failed };
    // Writes the offered file where the user chooses, or under its name where no one asks.
    // `name` is set to the file's name as written or attempted, `error` on failure.
    virtual Delivery deliverFile(QWidget *parent, const Offer &offer, const WriteFile &write,
                                 QString *name, QString *error) = 0;
    // True where the user names each file in a dialog; false where files are delivered under
    // their own names, and each format needs a menu item of its own.
    virtual bool namesFiles() const = 0;

    // Save, Discard or Cancel: what to do with unsaved marks before another study replaces
    // them, handed to `answer` at once or, where a dialog cannot be waited for, once chosen.
    using Answer = std::function<void(QMessageBox::StandardButton)>;
    virtual void askToSave(QWidget *parent, const Answer &answer) = 0;

    // Printing, where there are printers: a landscape page named `document`, which `paint`
    // draws into the rectangle given, on a printer chosen in a dialog titled `title`.
    // Cancelled by the user is not a failure.
    using PaintPage = std::function<void(QPainter &painter, const QRectF &page)>;
    virtual bool canPrint() const = 0;
    virtual bool print(QWidget *parent, const QString &title, const QString &document,
                       const PaintPage &paint, QString *error) = 0;

    // Whether the program ends itself (File > Quit); a browser's tab ends it instead.
    virtual bool canQuit() const = 0;

    // Shows a top-level window at its size and brings it to the front.
    virtual void bringToFront(QWidget &window) = 0;

    // Keeping the study between visits where the program has no file of its own: a page keeps
    // it in the browser's storage after every change and shows it again when opened.
    virtual bool keepsStudy() const = 0;
    // The study kept, in the form of keptstudy.h; empty when none is or it cannot be had.
    virtual QByteArray keptStudy() = 0;
    // False and `error` set when the storage refuses it (full, or closed to the page).
    virtual bool keepStudy(const QByteArray &form, QString *error) = 0;
    virtual void forgetStudy() = 0;

    // The program has started with Future shown: what the platform adds then.
    virtual void started(StudyCommands &commands) = 0;

protected:
    // The one question, for an implementation to show its own way; `whereTo` says where Save
    // puts the marks.
    static QMessageBox *unsavedMarksBox(QWidget *parent, const QString &whereTo);
};

// The platform this program is built for.
std::unique_ptr<Platform> systemPlatform();

} // namespace sp
