#pragma once
// Helpers for tests that drive the real windows with real mouse and key events.

#include "application.h"
#include "cellbutton.h"
#include "desktopplatform.h"
#include "matrix.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <optional>

namespace sp::test {

inline void pressCell(CellButton *cell, Qt::MouseButton button) {
    QTest::mousePress(cell, button);
    QTest::mouseRelease(cell, button);
}

template <typename Window> QPushButton *button(Window *window, const char *name) {
    auto *found = window->template findChild<QPushButton *>(QString::fromLatin1(name));
    if (!found)
        qFatal("no button %s", name);
    return found;
}

template <typename Window> QLabel *label(Window *window, const char *name) {
    auto *found = window->template findChild<QLabel *>(QString::fromLatin1(name));
    if (!found)
        qFatal("no label %s", name);
    return found;
}

// Presses a shortcut as the user does, in the active window: to `target` (the window, or the
// control that has the focus in it).
inline void pressKeys(QWidget *target, const QKeySequence &keys) {
    QWidget *window = target->window();
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window))
        qFatal("%s does not become active", qPrintable(window->windowTitle()));
    QTest::keyClick(target, keys[0].key(), keys[0].keyboardModifiers());
}

// The item of a window's menus with this text, without its mnemonic's "&".
inline QAction *menuItem(QWidget *window, const QString &text) {
    for (QAction *action : window->findChildren<QAction *>())
        if (action->text().remove(QLatin1Char('&')) == text)
            return action;
    qFatal("no menu item %s", qPrintable(text));
}

// The desktop's platform with its dialogs answered as a user would, counting what was asked;
// everything else (where files go, their names and formats, printing) is the desktop's own.
class Answers final : public DesktopPlatform {
public:
    QString path;   // "" cancels a file dialog
    QString filter; // chosen in a dialog to write a file; "" keeps the one it starts with
    QMessageBox::StandardButton answer = QMessageBox::NoButton; // to "Save changes?"
    // Sets up the printer chosen in the print dialog; none cancels it.
    std::function<void(QPrinter &printer)> printer;
    QList<FileRequest> files;
    int questions = 0;

    void askToSave(QWidget *, const Answer &reply) override {
        ++questions;
        reply(answer);
    }

protected:
    QString askPath(QWidget *, const FileRequest &request, QString *selectedFilter) override {
        files << request;
        if (selectedFilter && !filter.isEmpty())
            *selectedFilter = filter;
        return path;
    }
    bool choosePrinter(QPrinter &chosen, QWidget *, const QString &) override {
        if (printer)
            printer(chosen);
        return bool(printer);
    }
};

inline void click(QPushButton *button) {
    QTest::mouseClick(button, Qt::LeftButton);
}

// Closes a window the way its close box does, and lets Qt discard it.
inline void closeWindow(QWidget *window) {
    QVERIFY(window->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// A pixel of a window's client area, at the layout's coordinates (below the menu bar).
inline QColor pixelAt(FormWindow *window, QPoint point) {
    return window->client()->grab().toImage().pixelColor(point);
}

// The top-level windows that belong to no other: the program's windows, without the menus
// that open from their menu bars.
inline qsizetype ownWindows() {
    const QWidgetList windows = QApplication::topLevelWidgets();
    return std::count_if(windows.begin(), windows.end(),
                         [](const QWidget *window) { return !window->parentWidget(); });
}

// A fresh temporary directory as the working directory, for as long as it lives.
class ScratchDirectory {
public:
    ScratchDirectory() { QDir::setCurrent(dir_.path()); }
    ~ScratchDirectory() { QDir::setCurrent(previous_); }
    bool isCurrent() const { return dir_.isValid() && QDir() == QDir(dir_.path()); }
    QString path() const { return dir_.path(); }

private:
    QString previous_ = QDir::currentPath();
    QTemporaryDir dir_;
};

// The headless platform warns on every raise, and every switch raises a window, and on every
// window that tells it its size limits; the flood would hide what matters. Everything else
// still reaches the test log.
class QuietRaise {
public:
    QuietRaise() { previous() = qInstallMessageHandler(filter); }
    ~QuietRaise() { qInstallMessageHandler(previous()); }

private:
    static QtMessageHandler &previous() {
        static QtMessageHandler handler = nullptr;
        return handler;
    }
    static void filter(QtMsgType type, const QMessageLogContext &context, const QString &text) {
        if (type == QtWarningMsg &&
            (text == QLatin1String("This plugin does not support raise()") ||
             text == QLatin1String("This plugin does not support propagateSizeHints()")))
            return;
        previous()(type, context, text);
    }
};

// The matrix controls in the order the Tab key visits them.
inline QList<QWidget *> matrixFocusOrder(const MatrixControls &matrix) {
    QList<QWidget *> order;
    for (int a = 1; a <= 6; ++a)
        for (int j = 0; j < 22; ++j)
            order << matrix.cell(a, j);
    for (int i = 0; i < 6; ++i)
        order << matrix.rowReset(i);
    for (int j = 0; j < 22; ++j)
        order << matrix.columnButton(j);
    order << matrix.resetAll();
    return order;
}

// Walks the focus chain from the first widget, skipping what Tab does not visit.
inline void verifyFocusChain(const QList<QWidget *> &expected) {
    QWidget *w = expected.first();
    for (int i = 1; i < expected.size(); ++i) {
        do
            w = w->nextInFocusChain();
        while (!(w->focusPolicy() & Qt::TabFocus));
        QCOMPARE(w, expected[i]);
    }
}

} // namespace sp::test
