#include "browserplatform.h"

#include "failure.h"

#include <QAbstractButton>
#include <QBuffer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QInputMethodQueryEvent>
#include <QPointer>

namespace sp {

// Qt's page gives the keys to one hidden text input whatever has the focus, so a browser would
// raise its keyboard at every tap on a cell; the page is told which keyboard the focus wants.
BrowserPlatform::BrowserPlatform() {
    if (auto *gui = qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        focusFollowed_ =
            QObject::connect(gui, &QGuiApplication::focusObjectChanged, [this](QObject *object) {
                const Keyboard keyboard = keyboardFor(object);
                if (offered_ == keyboard)
                    return;
                offered_ = keyboard;
                offerKeyboard(keyboard);
            });
}

BrowserPlatform::~BrowserPlatform() {
    QObject::disconnect(focusFollowed_);
}

// What Qt asks before it hands a widget typed text: whether it takes input methods.
BrowserPlatform::Keyboard BrowserPlatform::keyboardFor(QObject *focusObject) {
    if (!focusObject)
        return Keyboard::None;
    QInputMethodQueryEvent query(Qt::ImEnabled);
    QCoreApplication::sendEvent(focusObject, &query);
    return query.value(Qt::ImEnabled).toBool() ? Keyboard::Text : Keyboard::None;
}

// The browser's file picker hands over the file's bytes once chosen; the window asked from may
// be gone by then.
void BrowserPlatform::chooseStudy(QWidget *, const StudyChosen &chosen) {
    pickFile(QStringLiteral("Study proposals (*.txt)"),
             [chosen](const QString &name, const QByteArray &bytes) {
                 if (!name.isEmpty())
                     chosen({QFileInfo(name).fileName(), QString(), bytes});
             });
}

bool BrowserPlatform::writeFile(const QString &name, const WriteFile &write, QString *error) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly))
        return failed(error, buffer.errorString());
    if (!write(buffer, QFileInfo(name).suffix().toLower(), error))
        return false;
    return download(QFileInfo(name).fileName(), bytes, error);
}

// The browser asks where to put a download, if at all: the file goes under its suggested name.
Platform::Delivery BrowserPlatform::deliverFile(QWidget *, const Offer &offer,
                                                const WriteFile &write, QString *name,
                                                QString *error) {
    *name = offer.name;
    return writeFile(offer.name, write, error) ? Delivery::Written : Delivery::Failed;
}

// A page cannot wait in a dialog: the answer comes when the user gives it.
void BrowserPlatform::askToSave(QWidget *parent, const Answer &answer) {
    QMessageBox *box = unsavedMarksBox(
        parent,
        QStringLiteral("Download them as StudyProposal.txt before another study replaces them?"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(box, &QMessageBox::finished, box,
                     [answer](int result) { answer(QMessageBox::StandardButton(result)); });
    box->open();
    // The page's dialog gives the focus to Discard, where Enter would then throw the marks
    // away: Enter saves, as the default button.
    box->button(QMessageBox::Save)->setFocus();
}

bool BrowserPlatform::print(QWidget *, const QString &, const QString &, const PaintPage &,
                            QString *error) {
    return failed(error, QStringLiteral("a browser has no printers"));
}

// show() would spread a browser's window over the whole page: the windows keep their size and
// place, as on a desktop.
void BrowserPlatform::bringToFront(QWidget &window) {
    window.setVisible(true);
    window.raise();
    window.activateWindow();
}

} // namespace sp
