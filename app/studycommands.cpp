#include "studycommands.h"

#include "appinfo.h"
#include "commandline.h"
#include "forms.h"
#include "futurewindow.h"
#include "impactswindow.h"
#include "matrixpicture.h"
#include "reader.h"
#include "savecheck.h"

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

QString askFileWithDialog(QWidget *parent, const StudyCommands::FileRequest &request,
                          QString *selectedFilter) {
    return request.kind == StudyCommands::FileRequest::Open
               ? QFileDialog::getOpenFileName(parent, request.title, request.suggested,
                                              request.filter, selectedFilter)
               : QFileDialog::getSaveFileName(parent, request.title, request.suggested,
                                              request.filter, selectedFilter);
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

// The extensions a filter offers, from its patterns: "Word document (*.docx)" offers docx.
QStringList offeredSuffixes(const QString &filter) {
    QStringList suffixes;
    for (qsizetype at = filter.indexOf(u"*."); at >= 0; at = filter.indexOf(u"*.", at + 2)) {
        qsizetype end = at + 2;
        while (end < filter.size() && filter[end].isLetterOrNumber())
            ++end;
        suffixes << filter.mid(at + 2, end - at - 2);
    }
    return suffixes;
}

QString exportFailure(const QString &path, const QString &reason) {
    return QStringLiteral("Could not export %1: %2").arg(QFileInfo(path).fileName(), reason);
}

} // namespace

StudyCommands::StudyCommands(Host &host)
    : askFile(askFileWithDialog)
    , askToSave(askToSaveWithBox)
    , choosePrinter(choosePrinterWithDialog)
    , host_(host)
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
    const Model &model = host_.model();
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

QString StudyCommands::chooseFile(FormWindow *from, const FileRequest &request,
                                  QString *selectedFilter) {
    const QString path = askFile(from, request, selectedFilter);
    if (!path.isEmpty())
        lastFolder_ = QFileInfo(path).absolutePath();
    return path;
}

void StudyCommands::tell(FormWindow *from, const QString &text) {
    if (ImpactsWindow *impacts = host_.impactsWindow(); impacts && from == impacts)
        impacts->setStatus(text);
    else
        host_.openFuture().setStatus(text);
}

// Like starting the program with the file: all of it is read and checked before anything
// changes, and a file that cannot be read back changes nothing.
void StudyCommands::openStudy(FormWindow *from) {
    const QString path = chooseFile(from,
                                    {FileRequest::Open, QStringLiteral("Open Study"), lastFolder(),
                                     QStringLiteral("Study proposals (*.txt);;All files (*)")},
                                    nullptr);
    if (path.isEmpty())
        return;
    Model &model = host_.model();
    Model study = model;
    QString problem;
    bool read = proposal::restoreStudy(path, study, &problem);
    if (read && hasUnsavedChanges()) {
        switch (askToSave(from)) {
        case QMessageBox::Save:
            if (!save(from))
                return; // the refusal or the failure shows
            // The save may have replaced the very file chosen.
            study = model;
            read = proposal::restoreStudy(path, study, &problem);
            break;
        case QMessageBox::Discard:
            break;
        default:
            return;
        }
    }
    if (!read) {
        const QString message = proposal::unreadableMessage(QFileInfo(path).fileName(), problem);
        host_.openFuture().setStatus(message);
        tell(from, message);
        return;
    }
    if (QString entered; !enterStudyFolder(path, &entered, &problem)) {
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
    runHandler([&] {
        if (!proposal::saveAllowed(model)) {
            message = proposal::refusalMessage();
            return;
        }
        // Saving opens Impacts hidden when the user has closed it, as it always has: the window
        // then keeps the time horizon of this save.
        host_.openImpacts();
        QString error;
        written = proposal::saveStudy(QStringLiteral("StudyProposal.txt"),
                                      proposal::StudyFormat::TextFile, model, &error);
        if (!written)
            message = proposal::failureMessage(error);
    });
    if (!message.isEmpty()) {
        future.setStatus(message);
        if (from != &future)
            tell(from, message);
    }
    if (written)
        markSaved();
    return written;
}

void StudyCommands::exportDocument(FormWindow *from) {
    // The document is the saved proposal formatted, so it waits for the same frame and grain.
    if (!proposal::saveAllowed(host_.model())) {
        tell(from, proposal::refusalMessage());
        return;
    }
    // Word first: most students hand in Word files.
    exportTo(from, {FileRequest::Save, QStringLiteral("Export Document"),
                    QStringLiteral("StudyProposal.docx"),
                    QStringLiteral("Word document (*.docx);;OpenDocument text (*.odt)")});
}

void StudyCommands::exportPdf(FormWindow *from) {
    exportTo(from, {FileRequest::Save, QStringLiteral("Export Matrices as PDF"),
                    QStringLiteral("StudyProposal matrices.pdf"),
                    QStringLiteral("PDF documents (*.pdf)")});
}

// Asks for the file (suggested by name in the last folder) and writes it in the format its
// extension names among those offered, else in the chosen filter's, whose extension a name
// without one gets. Says on the status line what went wrong.
void StudyCommands::exportTo(FormWindow *from, FileRequest request) {
    request.suggested = QDir(lastFolder()).filePath(request.suggested);
    const QStringList offered = offeredSuffixes(request.filter);
    QString filter = request.filter.section(QStringLiteral(";;"), 0, 0);
    QString path = chooseFile(from, request, &filter);
    if (path.isEmpty())
        return;
    QString named = QFileInfo(path).suffix();
    if (!offered.contains(named, Qt::CaseInsensitive)) {
        const QString chosen = offeredSuffixes(filter).value(0, offered.value(0));
        if (named.isEmpty())
            path += QLatin1Char('.') + chosen;
        named = chosen;
    }
    proposal::StudyFormat format = proposal::StudyFormat::MatricesPdf;
    proposal::formatOfName(QStringLiteral("study.") + named, &format);
    runHandler([&] {
        if (QString problem; !proposal::saveStudy(path, format, host_.model(), &problem))
            tell(from, exportFailure(path, problem));
    });
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
    proposal::paintMatricesPage(painter, page, host_.model());
    painter.end();
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
