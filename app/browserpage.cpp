// The browser's platform in the page: downloads through a link of the page's own, the study a
// page's address names, the browser's question before a tab with unsaved marks closes, and
// which on-screen keyboard the element holding the keys raises. Built for WebAssembly only.
#include "browserplatform.h"
#include "studycommands.h"

#include <emscripten.h>
#include <emscripten/bind.h>

namespace sp {
namespace {

StudyCommands *running = nullptr;

bool hasUnsavedChanges() {
    return running && running->hasUnsavedChanges();
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
    void started(StudyCommands &commands) override {
        running = &commands;
        askBeforeLeaving();
        openStudyFromAddress();
    }

protected:
    void offerKeyboard(Keyboard keyboard) override {
        setKeyboardOnScreen(keyboard == Keyboard::Text ? 1 : 0);
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
