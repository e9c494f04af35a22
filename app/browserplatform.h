#pragma once
// The browser's platform: a page cannot wait in a dialog and keeps no files of its own, so a
// study comes from the browser's file picker as bytes, every written file is downloaded under
// its name, the one question is answered when the user gives the answer, there are no
// printers and no Quit, and a touch screen's keyboard rises for the text field only. Plain
// Qt, built and tested on every system; what needs the page itself (the download, the
// keyboard's element, and what the page adds at start) is left to browserpage.cpp.

#include "platform.h"

#include <QMetaObject>

#include <functional>
#include <optional>

class QObject;

namespace sp {

class BrowserPlatform : public Platform {
public:
    BrowserPlatform();
    ~BrowserPlatform() override;

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
    // The study lives in the page until downloaded: the browser's storage keeps it.
    bool keepsStudy() const override { return true; }
    void bringToFront(QWidget &window) override;

    // The keyboard a touch screen should raise while `focusObject` has the keys: text for a
    // widget that takes typed text (the time horizon), none for a button or a window, which
    // a tap only presses.
    enum class Keyboard { None, Text };
    static Keyboard keyboardFor(QObject *focusObject);

protected:
    // Tells the browser which keyboard to raise, each time the focus brings another kind.
    virtual void offerKeyboard(Keyboard) {}

    // Shows the browser's file picker for files matching `filter` (a Qt name filter); `picked`
    // is called with the chosen file's name and bytes once read, or with no name when the
    // picker closes without a file.
    using Picked = std::function<void(const QString &name, const QByteArray &bytes)>;
    virtual void pickFile(const QString &filter, const Picked &picked) = 0;

    // Hands `bytes` to the browser, which saves them under `name` among the user's downloads.
    virtual bool download(const QString &name, const QByteArray &bytes, QString *error) = 0;

private:
    QMetaObject::Connection focusFollowed_;
    std::optional<Keyboard> offered_;
};

} // namespace sp
