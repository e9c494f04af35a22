#include "studycommands.h"

#include "appinfo.h"
#include "application.h"
#include "commandline.h"
#include "export.h"
#include "impactmarking.h"
#include "proposal.h"

#include <QAbstractButton>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

namespace sp {
namespace {

QString askFileWithDialog(QWidget *parent, const StudyCommands::FileRequest &request) {
    return request.kind == StudyCommands::FileRequest::Open
               ? QFileDialog::getOpenFileName(parent, request.title, request.suggested,
                                              request.filter)
               : QFileDialog::getSaveFileName(parent, request.title, request.suggested,
                                              request.filter);
}

QMessageBox::StandardButton askToSaveWithBox(QWidget *parent) {
    QMessageBox box(QMessageBox::Warning, QString::fromUtf8(appinfo::DisplayName),
                    QStringLiteral("The marks have changed since they were last saved."),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent);
    box.setInformativeText(QStringLiteral("Save them as StudyProposal.txt in the current "
                                          "directory before another study replaces them?"));
    // Some desktops call Discard "Close without Saving", which is not what it does here.
    box.button(QMessageBox::Save)->setText(QStringLiteral("&Save"));
    box.button(QMessageBox::Discard)->setText(QStringLiteral("&Discard"));
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    return QMessageBox::StandardButton(box.exec());
}

bool choosePrinterWithDialog(QPrinter &printer, QWidget *parent) {
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("Print Matrices"));
    return dialog.exec() == QDialog::Accepted;
}

// The file name as chosen, or with `suffix` when it has none.
QString withSuffix(const QString &path, const QString &suffix) {
    return QFileInfo(path).suffix().isEmpty() ? path + QLatin1Char('.') + suffix : path;
}

QString exportFailure(const QString &path, const QString &reason) {
    return QStringLiteral("Could not export %1: %2").arg(QFileInfo(path).fileName(), reason);
}

} // namespace

StudyCommands::StudyCommands(Application &app)
    : askFile(askFileWithDialog)
    , askToSave(askToSaveWithBox)
    , choosePrinter(choosePrinterWithDialog)
    , app_(app)
    , saved_(snapshot()) {}

MenuCommands StudyCommands::menuCommands(FormWindow *window) {
    // The items belong to the window's menus and go with it, so `window` outlives them.
    return {
        [this, window] { openStudy(window); },      [this, window] { save(window); },
        [this, window] { exportDocument(window); }, [this, window] { exportPdf(window); },
        [this, window] { print(window); },          [this] { quit(); },
        [this, window] { about(window); },
    };
}

StudyCommands::Snapshot StudyCommands::snapshot() const {
    const Model &model = app_.model();
    return {model.futureGrid, model.impactGrid, model.horizon};
}

void StudyCommands::markSaved() {
    saved_ = snapshot();
}

bool StudyCommands::hasUnsavedChanges() const {
    return !(snapshot() == saved_);
}

QString StudyCommands::lastFolder() const {
    return lastFolder_.isEmpty() ? QDir::currentPath() : lastFolder_;
}

QString StudyCommands::chooseFile(FormWindow *from, FileRequest request) {
    const QString path = askFile(from, request);
    if (!path.isEmpty())
        lastFolder_ = QFileInfo(path).absolutePath();
    return path;
}

void StudyCommands::tell(FormWindow *from, const QString &text) {
    if (ImpactsWindow *impacts = app_.impactsWindow(); impacts && from == impacts)
        impacts->setStatus(text);
    else
        app_.openFuture().setStatus(text);
}

QString StudyCommands::resolution() const {
    if (const ImpactsWindow *impacts = app_.impactsWindow())
        return impacts->resolution();
    Model scratch = app_.model(); // rescanning frame and grain changes nothing that is kept
    return impacts::updateResolution(scratch);
}

// Like starting the program with the file: all of it is read and checked before anything
// changes, and a file that cannot be read back changes nothing.
void StudyCommands::openStudy(FormWindow *from) {
    const QString path =
        chooseFile(from, {FileRequest::Open, QStringLiteral("Open Study"), lastFolder(),
                          QStringLiteral("Study proposals (*.txt);;All files (*)")});
    if (path.isEmpty())
        return;
    Model &model = app_.model();
    Model study = model;
    QString problem = proposal::restoreStudy(path, study);
    if (problem.isEmpty() && hasUnsavedChanges()) {
        switch (askToSave(from)) {
        case QMessageBox::Save:
            if (!save(from))
                return; // the refusal or the failure shows
            // The save may have replaced the very file chosen.
            study = model;
            problem = proposal::restoreStudy(path, study);
            break;
        case QMessageBox::Discard:
            break;
        default:
            return;
        }
    }
    if (!problem.isEmpty()) {
        const QString message = proposal::unreadableMessage(QFileInfo(path).fileName(), problem);
        app_.openFuture().setStatus(message);
        tell(from, message);
        return;
    }
    if (enterStudyFolder(path, &problem).isEmpty()) {
        tell(from, problem.trimmed());
        return;
    }
    model.futureGrid = study.futureGrid;
    model.impactGrid = study.impactGrid;
    model.horizon = study.horizon;
    // Nothing of this study has been pressed in Impacts yet: no reading to give.
    model.lastImpactAspect = 0;
    model.lastImpactIndex = 0;
    markSaved();
    if (FutureWindow *future = app_.futureWindow())
        future->showStudy();
    if (ImpactsWindow *impacts = app_.impactsWindow())
        impacts->showStudy();
}

bool StudyCommands::save(FormWindow *from) {
    FutureWindow &future = app_.openFuture();
    const bool written = future.saveProposal();
    if (!written && from != &future)
        tell(from, future.status()->text());
    return written;
}

void StudyCommands::exportDocument(FormWindow *from) {
    // The document is the saved proposal formatted, so it waits for the same frame and grain.
    if (!proposal::saveAllowed(app_.model())) {
        tell(from, proposal::refusalMessage());
        return;
    }
    exportTo(from,
             {FileRequest::Save, QStringLiteral("Export Document"),
              QStringLiteral("StudyProposal.odt"), QStringLiteral("OpenDocument text (*.odt)")},
             [this](const QString &path) {
                 return proposal::writeDocument(path, app_.model(), resolution(),
                                                proposal::todayShortDate());
             });
}

void StudyCommands::exportPdf(FormWindow *from) {
    exportTo(from,
             {FileRequest::Save, QStringLiteral("Export Matrices as PDF"),
              QStringLiteral("StudyProposal matrices.pdf"),
              QStringLiteral("PDF documents (*.pdf)")},
             [this](const QString &path) {
                 return proposal::writeMatricesPdf(path, app_.model(), resolution());
             });
}

// Asks for the file (suggested by name in the last folder), adds the filter's extension
// when none was typed, writes, and says on the status line what went wrong.
void StudyCommands::exportTo(FormWindow *from, FileRequest request,
                             const std::function<QString(const QString &)> &write) {
    const QString suffix = QFileInfo(request.suggested).suffix();
    request.suggested = QDir(lastFolder()).filePath(request.suggested);
    QString path = chooseFile(from, request);
    if (path.isEmpty())
        return;
    path = withSuffix(path, suffix);
    if (const QString problem = write(path); !problem.isEmpty())
        tell(from, exportFailure(path, problem));
}

void StudyCommands::print(FormWindow *from) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setDocName(QStringLiteral("Study proposal matrices"));
    if (!choosePrinter(printer, from))
        return;
    QPainter painter;
    if (!painter.begin(&printer)) {
        tell(from, QStringLiteral("Could not print: the printer cannot be used"));
        return;
    }
    const QRectF page(QPointF(), printer.pageRect(QPrinter::DevicePixel).size());
    proposal::paintMatricesPage(painter, page, app_.model(), resolution());
    painter.end();
}

void StudyCommands::quit() {
    app_.closeWindows();
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
