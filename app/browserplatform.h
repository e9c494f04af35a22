#pragma once
// The browser's platform: a page cannot wait in a dialog and keeps no files of its own, so a
// study comes from the browser's file picker as bytes, every written file is downloaded under
// its name, the one question is answered when the user gives the answer, and there are no
// printers and no Quit. Plain Qt, built and tested on every system; what needs the page
// itself (the download, and what the page adds at start) is left to browserpage.cpp.

#include "platform.h"

namespace sp {

class BrowserPlatform : public Platform {
public:
    void chooseStudy(QWidget *parent, const StudyChosen &chosen) override;
    bool writeFile(const QString &name, const WriteFile &write, QString *error) override;
    Delivery deliverFile(QWidget *parent, const Offer &offer, const WriteFile &write, QString *name,
                         QString *error) override;
    bool namesFiles() const override { return false; }
    void askToSave(QWidget *parent, const Answer &answer) override;
    bool canPrint() const override { return false; }
    bool print(QWidget *parent, const QString &title, const QString &document,
               const PaintPage &paint, QString *error) override;
    bool canQuit() const override { return false; }
    void bringToFront(QWidget &window) override;

protected:
    // Hands `bytes` to the browser, which saves them under `name` among the user's downloads.
    virtual bool download(const QString &name, const QByteArray &bytes, QString *error) = 0;
};

} // namespace sp
