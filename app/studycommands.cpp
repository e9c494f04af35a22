#include "studycommands.h"

#include "appinfo.h"
#include "commandline.h"
#include "failure.h"
#include "forms.h"
#include "futurewindow.h"
#include "impactswindow.h"
#include "keptstudy.h"
#include "matrixpicture.h"
#include "reader.h"
#include "savecheck.h"
#include "studyfile.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPointer>

namespace sp {
namespace {

// Writes the study in the format an extension names, dated today.
Platform::WriteFile studyWriter(const Model &model) {
    return [&model](QIODevice &device, const QString &format, QString *error) {
        proposal::StudyFormat kind;
        if (!proposal::formatOfSuffix(format, &kind))
            return failed(error, QStringLiteral("the program writes no .%1 files").arg(format));
        return proposal::writeStudy(device, kind, model, proposal::todayShortDate(), error);
    };
}

QString exportFailure(const QString &name, const QString &reason) {
    return QStringLiteral("Could not export %1: %2").arg(name, reason);
}

} // namespace

StudyCommands::StudyCommands(Host &host, Platform &platform)
    : host_(host)
    , platform_(platform)
    , saved_(snapshot()) {}

MenuCommands StudyCommands::menuCommands(FormWindow *window) {
    // The items belong to the window's menus and go with it, so `window` outlives them.
    MenuCommands commands;
    commands.newStudy = [this, window] { newStudy(window); };
    commands.openStudy = [this, window] { openStudy(window); };
    commands.save = [this, window] { save(window); };
    commands.exportDocument = [this, window] { exportDocument(window); };
    commands.exportPdf = [this, window] { exportPdf(window); };
    commands.about = [this, window] { about(window); };
    commands.downloads = !platform_.namesFiles();
    if (commands.downloads)
        commands.exportOpenDocument = [this, window] { exportOpenDocument(window); };
    if (platform_.canQuit())
        commands.quit = [this] { quit(); };
    if (platform_.canPrint())
        commands.print = [this, window] { print(window); };
    return commands;
}

proposal::StudyMarks StudyCommands::snapshot() const {
    return proposal::marksOf(host_.model());
}

void StudyCommands::markSaved() {
    saved_ = snapshot();
    studyChanged(); // kept as saved
}

bool StudyCommands::hasUnsavedChanges() const {
    return snapshot() != saved_;
}

QString StudyCommands::startKeeping(bool restore) {
    if (!platform_.keepsStudy())
        return QString();
    keeping_ = true;
    const QByteArray kept = restore ? platform_.keptStudy() : QByteArray();
    if (kept.isEmpty())
        return QString();
    proposal::KeptStudy study;
    if (QString problem; !proposal::readKeptStudy(kept, study, &problem)) {
        platform_.forgetStudy();
        return QStringLiteral("Could not read the study this browser kept: %1. A new study starts.")
            .arg(problem);
    }
    proposal::setMarks(host_.model(), std::move(study.marks));
    if (!study.unsaved)
        markSaved();
    return QStringLiteral("Study restored as this browser kept it");
}

void StudyCommands::studyChanged() {
    if (!keeping_)
        return;
    const Model &model = host_.model();
    QString error;
    if (proposal::isNewStudy(model))
        platform_.forgetStudy();
    else if (!platform_.keepStudy(proposal::writeKeptStudy(model, hasUnsavedChanges()), &error)) {
        if (!keepRefused_)
            host_.openFuture().setStatus(
                QStringLiteral("This browser does not keep the marks: %1. Save them to keep them.")
                    .arg(error));
        keepRefused_ = true;
        return;
    }
    keepRefused_ = false;
}

bool StudyCommands::wouldLoseWork() const {
    return hasUnsavedChanges() && (!keeping_ || keepRefused_);
}

void StudyCommands::tell(FormWindow *from, const QString &text) {
    if (ImpactsWindow *impacts = host_.impactsWindow(); impacts && from == impacts)
        impacts->setStatus(text);
    else
        host_.openFuture().setStatus(text);
}

void StudyCommands::newStudy(FormWindow *from) {
    if (!hasUnsavedChanges()) {
        startNewStudy();
        return;
    }
    QPointer<FormWindow> origin(from);
    platform_.askToSave(from, [this, origin](QMessageBox::StandardButton answer) {
        if (answer == QMessageBox::Discard || (answer == QMessageBox::Save && save(origin)))
            startNewStudy(); // a refused or failed save shows, and nothing changes
    });
}

void StudyCommands::startNewStudy() {
    proposal::setMarks(host_.model(), proposal::marksOf(Model()));
    showReplaced();
}

void StudyCommands::openStudy(FormWindow *from) {
    // The window asked from may be gone once a browser's picker answers.
    QPointer<FormWindow> origin(from);
    platform_.chooseStudy(from, [this, origin](const Platform::Study &study) {
        if (!study.path.isEmpty())
            replaceStudy(
                origin, study.name,
                [path = study.path](Model &model, QString *problem) {
                    return proposal::restoreStudy(path, model, problem);
                },
                study.path);
        else
            openStudyBytes(origin, study.name, study.bytes);
    });
}

void StudyCommands::openStudyBytes(FormWindow *from, const QString &name, const QByteArray &bytes) {
    replaceStudy(
        from ? from : &host_.openFuture(), name,
        [bytes](Model &study, QString *problem) {
            return proposal::restoreStudyBytes(bytes, study, problem);
        },
        QString());
}

void StudyCommands::reportUnreadable(FormWindow *from, const QString &name, const QString &reason) {
    const QString message = proposal::unreadableMessage(name, reason);
    host_.openFuture().setStatus(message);
    if (from)
        tell(from, message);
}

// Like starting the program with the file: all of it is read and checked before anything
// changes, and a file that cannot be read back changes nothing.
void StudyCommands::replaceStudy(FormWindow *from, const QString &name, const ReadStudy &read,
                                 const QString &path) {
    Model study = host_.model();
    if (!read(study, nullptr) || !hasUnsavedChanges()) {
        showStudy(from, name, read, path); // says why it cannot, or shows it
        return;
    }
    QPointer<FormWindow> origin(from);
    platform_.askToSave(from, [this, origin, name, read, path](QMessageBox::StandardButton answer) {
        switch (answer) {
        case QMessageBox::Save:
            if (!save(origin))
                return;      // the refusal or the failure shows
            [[fallthrough]]; // the save may have replaced the very file chosen: read it again
        case QMessageBox::Discard:
            showStudy(origin, name, read, path);
            break;
        default:
            break;
        }
    });
}

void StudyCommands::showStudy(FormWindow *from, const QString &name, const ReadStudy &read,
                              const QString &path) {
    Model &model = host_.model();
    Model study = model;
    if (QString problem; !read(study, &problem)) {
        reportUnreadable(from, name, problem);
        return;
    }
    if (QString entered, problem; !path.isEmpty() && !enterStudyFolder(path, &entered, &problem)) {
        tell(from, QCoreApplication::applicationName() + QStringLiteral(": ") + problem);
        return;
    }
    proposal::setMarks(model, proposal::marksOf(study));
    showReplaced();
}

void StudyCommands::showReplaced() {
    Model &model = host_.model();
    // Nothing of this study has been pressed in Impacts yet: no reading to give.
    model.lastImpactAspect = 0;
    model.lastImpactIndex = 0;
    markSaved();
    if (FutureWindow *future = host_.futureWindow())
        future->showStudy();
    if (ImpactsWindow *impacts = host_.impactsWindow())
        impacts->showStudy();
}

bool StudyCommands::save(FormWindow *from) {
    FutureWindow &future = host_.openFuture();
    Model &model = host_.model();
    bool written = false;
    QString message;
    if (!proposal::saveAllowed(model)) {
        message = proposal::refusalMessage();
    } else {
        // Saving opens Impacts hidden when the user has closed it, as it always has: the window
        // then keeps the time horizon of this save.
        host_.openImpacts();
        QString error;
        written =
            platform_.writeFile(QStringLiteral("StudyProposal.txt"), studyWriter(model), &error);
        if (!written)
            message = proposal::failureMessage(error);
    }
    if (!message.isEmpty()) {
        future.setStatus(message);
        if (from && from != &future)
            tell(from, message);
    }
    if (written)
        markSaved();
    return written;
}

void StudyCommands::exportDocument(FormWindow *from) {
    // Word first: most students hand in Word files.
    exportFormatted(from, QStringLiteral("StudyProposal.docx"),
                    QStringLiteral("Word document (*.docx);;OpenDocument text (*.odt)"));
}

void StudyCommands::exportOpenDocument(FormWindow *from) {
    exportFormatted(from, QStringLiteral("StudyProposal.odt"),
                    QStringLiteral("OpenDocument text (*.odt)"));
}

// The document is the saved proposal formatted, so it waits for the same frame and grain.
void StudyCommands::exportFormatted(FormWindow *from, const QString &suggested,
                                    const QString &filter) {
    if (!proposal::saveAllowed(host_.model())) {
        tell(from, proposal::refusalMessage());
        return;
    }
    exportTo(from, {QStringLiteral("Export Document"), suggested, filter});
}

void StudyCommands::exportPdf(FormWindow *from) {
    exportTo(from, {QStringLiteral("Export Matrices as PDF"),
                    QStringLiteral("StudyProposal matrices.pdf"),
                    QStringLiteral("PDF documents (*.pdf)")});
}

void StudyCommands::exportTo(FormWindow *from, const Platform::Offer &offer) {
    QString name, problem;
    if (platform_.deliverFile(from, offer, studyWriter(host_.model()), &name, &problem) ==
        Platform::Delivery::Failed)
        tell(from, exportFailure(name, problem));
}

void StudyCommands::print(FormWindow *from) {
    const Model &model = host_.model();
    if (QString problem; !platform_.print(
            from, QStringLiteral("Print Matrices"), QStringLiteral("Study proposal matrices"),
            [&model](QPainter &painter, const QRectF &page) {
                proposal::paintMatricesPage(painter, page, model);
            },
            &problem))
        tell(from, QStringLiteral("Could not print: ") + problem);
}

void StudyCommands::quit() {
    host_.closeWindows();
}

void StudyCommands::about(FormWindow *from) {
    const QString name = QString::fromUtf8(appinfo::DisplayName);
    const QString homepage = QString::fromUtf8(appinfo::Homepage);
    QMessageBox::about(from, QStringLiteral("About %1").arg(name),
                       QStringLiteral("<p><b>%1</b> %2</p><p>%3.</p><p>Licence: %4</p>"
                                      "<p><a href=\"%5\">%5</a></p>")
                           .arg(name.toHtmlEscaped(), QString::fromUtf8(appinfo::Version),
                                QString::fromUtf8(appinfo::Description).toHtmlEscaped(),
                                QString::fromUtf8(appinfo::Licence), homepage.toHtmlEscaped()));
}

} // namespace sp
