#pragma once
// How the two windows reach each other and the model. The application (app/) implements
// Forms: it keeps the one model and a reference to each window, and opens a window on
// demand (building its controls and running its load step) whenever something needs it
// while it is closed. Each window offers the others only what they read or write of it.

#include "model.h"

#include <QString>

namespace sp {

class FutureForm {
public:
    virtual void paintCue(int aspect, int index) = 0; // a cell turned black by Impacts

protected:
    ~FutureForm() = default;
};

class ImpactsForm {
public:
    virtual void setStatus(const QString &text) = 0; // the status line

protected:
    ~ImpactsForm() = default;
};

class Forms {
public:
    virtual Model &model() = 0;
    // The window, opened hidden first if it is closed.
    virtual FutureForm &future() = 0;
    virtual ImpactsForm &impacts() = 0;
    // Opens the window if needed, shows it and brings it to the front.
    virtual void showFuture() = 0;
    virtual void showImpacts() = 0;
    // The user changed a mark or the time horizon.
    virtual void studyChanged() = 0;

protected:
    ~Forms() = default;
};

// Runs one event handler. An internal error (an index outside a table) stops that handler
// and leaves the program running; the windows never cause one.
template <typename Handler> void runHandler(Handler &&handler) noexcept {
    try {
        handler();
    } catch (const InternalError &error) {
        qCritical("Internal error: %s", error.what());
    }
}

} // namespace sp
