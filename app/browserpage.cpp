// The browser's platform in the page: downloads through a link of the page's own, the study a
// page's address names, the study kept in the browser's storage, the browser's question before
// a tab would close with marks it cannot keep, and which on-screen keyboard the element holding
// the keys raises. Built for WebAssembly only.
#include "browserplatform.h"
#include "failure.h"
#include "studycommands.h"

#include <QtGui/private/qwasmlocalfileaccess_p.h>

#include <emscripten.h>
#include <emscripten/bind.h>

#include <limits>
#include <memory>

namespace sp {
namespace {

StudyCommands *running = nullptr;

bool wouldLoseWork() {
    return running && running->wouldLoseWork();
}

// What the page's storage last handed over, read synchronously at start.
std::string storedStudy;
void takeStoredStudy(const std::string &form) {
    storedStudy = form;
}

// A study the page's address names, once fetched: its bytes, or why they could not be had.
void openStudyAt(const std::string &name, const std::string &bytes, const std::string &problem) {
    if (!running)
        return;
    if (problem.empty())
        running->openStudyBytes(nullptr, QString::fromStdString(name),
                                QByteArray::fromStdString(bytes));
    else
        running->reportUnreadable(nullptr, QString::fromStdString(name),
                                  QString::fromStdString(problem));
}

EMSCRIPTEN_BINDINGS(study_proposal) {
    emscripten::function("wouldLoseWork", &wouldLoseWork);
    emscripten::function("takeStoredStudy", &takeStoredStudy);
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

// Closing or reloading the tab with marks neither saved nor kept (the storage refused them)
// asks first, with the browser's own question.
// clang-format off
EM_JS(void, askBeforeLeaving, (), {
    window.addEventListener(
        'beforeunload', (event) => {
            if (Module.wouldLoseWork()) {
                event.preventDefault();
                event.returnValue = "";
            }
        });
});
// clang-format on

// The study is kept in the origin's localStorage, read synchronously at start, under a key
// naming the page's folder, so that other pages of the same site keep their own. A storage the
// browser closes to the page (some private windows, blocked site data) throws on access; a
// full one throws on writing: the code says which.
// clang-format off
EM_JS(void, readStoredStudy, (), {
    try {
        const form = window.localStorage.getItem('study-proposal:' + new URL('.', location.href).pathname);
        if (form !== null)
            Module.takeStoredStudy(form);
    } catch (error) {
    }
});
EM_JS(int, writeStoredStudy, (const char *form), {
    const key = 'study-proposal:' + new URL('.', location.href).pathname;
    try {
        if (form)
            window.localStorage.setItem(key, UTF8ToString(form));
        else
            window.localStorage.removeItem(key);
        return 0;
    } catch (error) {
        return error && error.name === 'QuotaExceededError' ? 1 : 2;
    }
});
// clang-format on

// A browser keeps no files of the page's: what is saved goes to the user's downloads.
// clang-format off
EM_JS(void, downloadFile, (const char *name, const char *data, int size), {
    const link = document.createElement('a');
    link.href = URL.createObjectURL(new Blob([HEAPU8.slice(data, data + size)]));
    link.download = UTF8ToString(name);
    document.body.appendChild(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(link.href), 60000);
});
// clang-format on

// Qt's page hands every key to one hidden text input of its own (the one carrying Qt's input
// context), and focuses it whenever a widget takes the focus, so a phone or tablet would raise
// its keyboard over the matrix at every tap. inputmode="none" keeps the keys coming from a
// hardware keyboard and no keyboard on screen; the input is focused anew when the mode changes,
// within the tap, so the browser raises or drops its keyboard at once.
// clang-format off
EM_JS(void, setKeyboardOnScreen, (int text), {
    const mode = text ? 'text' : 'none';
    for (const input of document.querySelectorAll('input')) {
        if (!('data-qinputcontext' in input) || input.inputMode === mode)
            continue;
        input.inputMode = mode;
        if (document.activeElement === input) {
            input.blur();
            input.focus();
        }
    }
});
// clang-format on

class PagePlatform final : public BrowserPlatform {
public:
    QByteArray keptStudy() override {
        storedStudy.clear();
        readStoredStudy();
        return QByteArray::fromStdString(storedStudy);
    }
    bool keepStudy(const QByteArray &form, QString *error) override {
        switch (writeStoredStudy(form.constData())) {
        case 0:
            return true;
        case 1:
            return failed(error, QStringLiteral("its storage for this page is full"));
        default:
            return failed(error, QStringLiteral("it keeps nothing for this page, as in a "
                                                "private window"));
        }
    }
    void forgetStudy() override { writeStoredStudy(nullptr); }

    void started(StudyCommands &commands) override {
        running = &commands;
        askBeforeLeaving();
        openStudyFromAddress();
    }

protected:
    void offerKeyboard(Keyboard keyboard) override {
        setKeyboardOnScreen(keyboard == Keyboard::Text ? 1 : 0);
    }

    // Qt Gui's access to the browser's picker, which QFileDialog wraps on a page: the page is
    // built without Qt's own file dialog and the item views it is made of.
    void pickFile(const QString &filter, const Picked &picked) override {
        struct File {
            QString name;
            QByteArray bytes;
        };
        auto file = std::make_shared<File>();
        QWasmLocalFileAccess::openFile(
            filter.toStdString(),
            [picked](bool chosen) {
                if (!chosen)
                    picked(QString(), QByteArray());
            },
            [file](uint64_t size, const std::string &name) -> char * {
                // A QByteArray of a 32-bit page holds less.
                if (size > uint64_t(std::numeric_limits<int>::max()))
                    return nullptr;
                file->name = QString::fromStdString(name);
                file->bytes.resize(qsizetype(size));
                return file->bytes.data();
            },
            [file, picked] { picked(file->name, file->bytes); });
    }

    bool download(const QString &name, const QByteArray &bytes, QString *) override {
        downloadFile(name.toUtf8().constData(), bytes.constData(), int(bytes.size()));
        return true;
    }
};

} // namespace

std::unique_ptr<Platform> systemPlatform() {
    return std::make_unique<PagePlatform>();
}

} // namespace sp
