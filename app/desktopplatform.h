#pragma once
// The desktop's platform: the system's file dialogs, files replaced in place through
// proposal/studyfile.h, a modal question and the print dialog. The dialogs are virtual, so
// tests answer them where a person would and keep everything else real.

#include "platform.h"

class QPrinter;

namespace sp {

class DesktopPlatform : public Platform {
public:
    void chooseStudy(QWidget *parent, const StudyChosen &chosen) override;
    bool writeFile(const QString &name, const WriteFile &write, QString *error) override;
    Delivery deliverFile(QWidget *parent, const Offer &offer, const WriteFile &write, QString *name,
                         QString *error) override;
    bool namesFiles() const override { return true; }
    void askToSave(QWidget *parent, const Answer &answer) override;
    bool canPrint() const override { return true; }
    bool print(QWidget *parent, const QString &title, const QString &document,
               const PaintPage &paint, QString *error) override;
    // The study is the user's file on a desktop: nothing is kept behind it.
    bool keepsStudy() const override { return false; }
    QByteArray keptStudy() override { return {}; }
    bool keepStudy(const QByteArray &, QString *) override { return true; }
    void forgetStudy() override {}
    bool canQuit() const override { return true; }
    void bringToFront(QWidget &window) override;
    void started(StudyCommands &) override {}

    // Where the next file dialog starts: the folder of the last file chosen in this run, at
    // first the working folder.
    QString lastFolder() const;

    // A file to ask the user for: open an existing one, or name one to write.
    struct FileRequest {
        enum Kind { Open, Save } kind;
        QString title;
        QString suggested; // a folder, or a file name in one
        QString filter;    // ";;" between filters, the first the one to start with
    };

protected:
    // Returns the chosen path, or an empty string when the user cancels. `selectedFilter`
    // names the filter to start with and, for a file to write, is set to the one chosen.
    virtual QString askPath(QWidget *parent, const FileRequest &request, QString *selectedFilter);
    // Lets the user choose and set up a printer in a dialog titled `title`; false when
    // cancelled.
    virtual bool choosePrinter(QPrinter &printer, QWidget *parent, const QString &title);

private:
    QString choosePath(QWidget *parent, const FileRequest &request, QString *selectedFilter);

    QString lastFolder_;
};

} // namespace sp
