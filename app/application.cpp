#include "application.h"

#include "reader.h"

#include <QFileInfo>

namespace sp {

Application::Application(std::unique_ptr<Platform> platform)
    : platform_(std::move(platform)) {}

Application::~Application() {
    delete future_.data();
    delete impacts_.data();
    for (const QPointer<QWidget> &window : retired_)
        delete window.data();
}

// A window the user closed is forgotten at once, so the next need rebuilds it, and deleted
// once its close has been handled.
template <typename Window> void Application::retire(QPointer<Window> &reference) {
    if (!reference)
        return;
    std::erase_if(retired_, [](const QPointer<QWidget> &window) { return window.isNull(); });
    retired_.emplace_back(reference.data());
    reference->deleteLater();
    reference = nullptr;
}

void Application::start(const QString &studyFile) {
    QString problem, message;
    if (!studyFile.isEmpty() && !proposal::restoreStudy(studyFile, model_, &problem))
        message = proposal::unreadableMessage(QFileInfo(studyFile).fileName(), problem);
    commands_.markSaved();
    // Before the windows are built, so that they show the kept study as they open.
    if (const QString kept = commands_.startKeeping(studyFile.isEmpty()); !kept.isEmpty())
        message = kept;
    showFuture();
    if (!message.isEmpty())
        future_->setStatus(message);
    platform_->started(commands_);
}

FutureWindow &Application::openFuture() {
    if (!future_) {
        future_ = new FutureWindow(*this);
        future_->setMenus(commands_.menuCommands(future_));
        connect(future_, &FormWindow::closed, this, [this] { retire(future_); });
        connect(future_, &FutureWindow::saveClicked, this, [this] { commands_.save(future_); });
        future_->load();
    }
    return *future_;
}

ImpactsWindow &Application::openImpacts() {
    if (!impacts_) {
        impacts_ = new ImpactsWindow(*this);
        impacts_->setMenus(commands_.menuCommands(impacts_));
        connect(impacts_, &FormWindow::closed, this, [this] { retire(impacts_); });
        impacts_->load();
    }
    return *impacts_;
}

FutureForm &Application::future() {
    return openFuture();
}
ImpactsForm &Application::impacts() {
    return openImpacts();
}

void Application::closeWindows() {
    if (impacts_)
        impacts_->close();
    if (future_)
        future_->close();
}

void Application::showFuture() {
    platform_->bringToFront(openFuture());
}
void Application::showImpacts() {
    platform_->bringToFront(openImpacts());
}

} // namespace sp
