#pragma once
// app/: the program's shell, on every other folder: start-up and the life of both windows
// (here), what the menus and the save button do (studycommands.h), the command line
// (commandline.h) and main().

#include "forms.h"
#include "futurewindow.h"
#include "impactswindow.h"
#include "platform.h"
#include "studycommands.h"

#include <QObject>
#include <QPointer>

#include <memory>
#include <vector>

namespace sp {

// The application core: the one model, and the life of both windows. Future opens at
// start; Impacts on first need. A closed window is discarded and rebuilt from its initial
// layout the next time it is needed, while the model keeps every mark.
class Application final : public QObject, public Forms, public StudyCommands::Host {
    Q_OBJECT
public:
    // On the platform the program is built for, or on another (a test's).
    explicit Application(std::unique_ptr<Platform> platform = systemPlatform());
    ~Application() override;

    // Opens Future. With `studyFile`, a proposal saved earlier, the model first takes its
    // horizon and marks; when they cannot be read back the model stays empty and the status
    // line of Future says why. Without one, a platform that keeps the study between visits
    // shows the one it kept. Then the platform adds what it adds at start.
    void start(const QString &studyFile = QString());

    Model &model() override { return model_; }
    FutureForm &future() override;
    ImpactsForm &impacts() override;
    void showFuture() override;
    void showImpacts() override;
    void studyChanged() override { commands_.studyChanged(); }

    // The open windows, or null when closed.
    FutureWindow *futureWindow() const override { return future_; }
    ImpactsWindow *impactsWindow() const override { return impacts_; }
    // The window, opened hidden first if it is closed.
    FutureWindow &openFuture() override;
    ImpactsWindow &openImpacts() override;

    // Closes both windows, as their close boxes do; the program ends with the last one.
    void closeWindows() override;

    // What the menus do.
    StudyCommands &commands() { return commands_; }
    Platform &platform() { return *platform_; }

private:
    template <typename Window> void retire(QPointer<Window> &reference);

    std::unique_ptr<Platform> platform_;
    Model model_;
    StudyCommands commands_{*this, *platform_};
    QPointer<FutureWindow> future_;
    QPointer<ImpactsWindow> impacts_;
    std::vector<QPointer<QWidget>> retired_; // closed, awaiting deletion
};

} // namespace sp
