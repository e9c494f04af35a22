#include "appinfo.h"
#include "application.h"
#include "commandline.h"

#include <QApplication>

#include <cstdio>

#ifdef Q_OS_WIN
#include <windows.h>
#endif
#ifdef Q_OS_WASM
#include <emscripten.h>
#include <emscripten/bind.h>
#endif

namespace {

#ifdef Q_OS_WIN
// The program is a GUI program on Windows, so that no console opens beside its windows; run
// from a terminal, it writes --help, --version and its complaints to that terminal. A
// stream already redirected to a file or a pipe is kept.
void reachTerminal(std::FILE *stream) {
    const DWORD which = stream == stdout ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE;
    const HANDLE handle = GetStdHandle(which);
    if (handle != nullptr && handle != INVALID_HANDLE_VALUE &&
        GetFileType(handle) != FILE_TYPE_UNKNOWN)
        return;
    if (AttachConsole(ATTACH_PARENT_PROCESS) || GetLastError() == ERROR_ACCESS_DENIED)
        (void)std::freopen("CONOUT$", "w", stream);
}
#else
void reachTerminal(std::FILE *) {}
#endif

[[maybe_unused]] void print(std::FILE *stream, const QString &text) {
    reachTerminal(stream);
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

void nameProgram() {
    QCoreApplication::setApplicationName(QString::fromLatin1(sp::appinfo::Name));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(sp::appinfo::Version));
}

#ifdef Q_OS_WASM
sp::Application *running = nullptr;

bool hasUnsavedChanges() {
    return running && running->commands().hasUnsavedChanges();
}

// A study the page's address names, once fetched: its bytes, or why they could not be had.
void openStudyAt(const std::string &name, const std::string &bytes, const std::string &problem) {
    if (running)
        running->commands().openStudyBytes(running->futureWindow(), QString::fromStdString(name),
                                           QByteArray::fromStdString(bytes),
                                           QString::fromStdString(problem));
}

EMSCRIPTEN_BINDINGS(study_proposal) {
    emscripten::function("hasUnsavedChanges", &hasUnsavedChanges);
    emscripten::function("openStudyAt", &openStudyAt);
}

// index.html?study=URL opens a study file of the same site, as Open Study would: a course
// page can link to a worked example. Another site's file is refused, not fetched.
// clang-format off
EM_JS(void, openStudyFromAddress, (), {
    const address = new URLSearchParams(window.location.search).get('study');
    if (!address)
        return;
    const url = new URL(address, window.location.href);
    const name = decodeURIComponent(url.pathname.split('/').pop()) || address;
    if (url.origin !== window.location.origin) {
        Module.openStudyAt(name, "", "it is not on this site");
        return;
    }
    fetch(url)
        .then((response) => response.ok ? response.arrayBuffer()
                                         : Promise.reject(new Error("the site answered " +
                                                                    response.status)))
        .then((buffer) => Module.openStudyAt(name, new Uint8Array(buffer), ""))
        .catch((error) => Module.openStudyAt(name, "", error.message || String(error)));
});
// clang-format on

// Nothing is kept between visits, so closing or reloading the tab with marks not yet saved
// asks first, with the browser's own question.
// clang-format off
EM_JS(void, askBeforeLeaving, (), {
    window.addEventListener(
        'beforeunload', (event) => {
            if (Module.hasUnsavedChanges()) {
                event.preventDefault();
                event.returnValue = "";
            }
        });
});
// clang-format on
#endif

} // namespace

int main(int argc, char *argv[]) {
#ifdef Q_OS_WASM
    // A page has no command line: the program opens Future on an empty study. The event
    // loop keeps main's frame, and with it these objects, for the page's life.
    QApplication qapp(argc, argv);
    nameProgram();
    sp::Application app;
    running = &app;
    askBeforeLeaving();
    app.start();
    openStudyFromAddress();
    return qapp.exec();
#else
    sp::CommandLine command;
    {
        // The command line is read before any window exists, so --help, --version and a
        // mistyped argument need no display.
        QCoreApplication core(argc, argv);
        nameProgram();
        command = sp::parseCommandLine(QCoreApplication::arguments());
    }
    switch (command.action) {
    case sp::CommandLine::ShowHelp:
    case sp::CommandLine::ShowVersion:
        print(stdout, command.text);
        return 0;
    case sp::CommandLine::Refuse:
        print(stderr, command.text);
        return 2;
    case sp::CommandLine::Export: {
        // Pictures and fonts need a QGuiApplication but no display: off screen, unless a
        // platform is asked for (Windows always has its own).
#ifndef Q_OS_WIN
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
        QGuiApplication gui(argc, argv);
        nameProgram();
        QString problem;
        if (!sp::exportStudy(command.file, command.output, &problem)) {
            print(stderr, problem);
            return 1;
        }
        return 0;
    }
    case sp::CommandLine::Run:
        break;
    }
    QString studyFile;
    if (!command.file.isEmpty()) {
        QString problem;
        if (!sp::enterStudyFolder(command.file, &studyFile, &problem)) {
            print(stderr, problem);
            return 1;
        }
    }

    QApplication qapp(argc, argv);
    nameProgram();
    QGuiApplication::setDesktopFileName(QString::fromLatin1(sp::appinfo::Id));
    sp::Application app;
    app.start(studyFile);
    return qapp.exec();
#endif
}
