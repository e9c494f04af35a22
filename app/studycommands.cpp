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
#include <QPointer>

#include <memory>

#ifdef SP_PRINT
#include <QPrintDialog>
#include <QPrinter>
#endif

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

void askToSaveWithBox(QWidget *parent, const StudyCommands::Answer &answer) {
    auto *box =
        new QMessageBox(QMessageBox::Warning, QString::fromUtf8(appinfo::DisplayName),
                        QStringLiteral("The marks have changed since they were last saved."),
                        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent);
#ifdef Q_OS_WASM
    box->setInformativeText(
        QStringLiteral("Download them as StudyProposal.txt before another study replaces them?"));
#else
    box->setInformativeText(QStringLiteral("Save them as StudyProposal.txt in the current "
                                           "directory before another study replaces them?"));
#endif
    // Some desktops call Discard "Close without Saving", which is not what it does here.
    box->button(QMessageBox::Save)->setText(QStringLiteral("&Save"));
    box->button(QMessageBox::Discard)->setText(QStringLiteral("&Discard"));
    box->setDefaultButton(QMessageBox::Save);
    box->setEscapeButton(QMessageBox::Cancel);
#ifdef Q_OS_WASM
    // A browser cannot wait in a dialog: the answer comes when the user gives it.
    box->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(box, &QMessageBox::finished, box,
                     [answer](int result) { answer(QMessageBox::StandardButton(result)); });
    box->open();
#else
    const std::unique_ptr<QMessageBox> owned(box);
    answer(QMessageBox::StandardButton(box->exec()));
#endif
}

#ifdef SP_PRINT
bool choosePrinterWithDialog(QPrinter &printer, QWidget *parent) {
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("Print Matrices"));
    return dialog.exec() == QDialog::Accepted;
}
#endif

// The extensions a filter offers, from its patterns: "Word document (*.docx)" offers docx.
[[maybe_unused]] QStringList offeredSuffixes(const QString &filter) {
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
#ifdef SP_PRINT
    , choosePrinter(choosePrinterWithDialog)
#endif
    , host_(host)
    , saved_(snapshot()) {
}

MenuCommands StudyCommands::menuCommands(FormWindow *window) {
    // The items belong to the window's menus and go with it, so `window` outlives them.
    MenuCommands commands;
    commands.openStudy = [this, window] { openStudy(window); };
    commands.save = [this, window] { save(window); };
    commands.exportDocument = [this, window] { exportDocument(window); };
    commands.exportPdf = [this, window] { exportPdf(window); };
    commands.about = [this, window] { about(window); };
#ifdef Q_OS_WASM
    // A browser downloads each format by an item of its own; the tab closes the program.
    commands.exportOpenDocument = [this, window] { exportOpenDocument(window); };
#else
    commands.quit = [this] { quit(); };
#endif
#ifdef SP_PRINT
    commands.print = [this, window] { print(window); };
#endif
    return commands;
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

void StudyCommands::openStudy(FormWindow *from) {
#ifdef Q_OS_WASM
    // The browser's file picker hands over the file's bytes, once chosen; the window asked
    // from may be gone by then.
    QPointer<FormWindow> origin(from);
    QFileDialog::getOpenFileContent(QStringLiteral("Study proposals (*.txt)"),
                                    [this, origin](const QString &name, const QByteArray &bytes) {
                                        if (!name.isEmpty())
                                            openStudyBytes(origin, QFileInfo(name).fileName(),
                                                           bytes);
                                    });
#else
    const QString path = chooseFile(from,
                                    {FileRequest::Open, QStringLiteral("Open Study"), lastFolder(),
                                     QStringLiteral("Study proposals (*.txt);;All files (*)")},
                                    nullptr);
    if (path.isEmpty())
        return;
    replaceStudy(
        from, QFileInfo(path).fileName(),
        [path](Model &study, QString *problem) {
            return proposal::restoreStudy(path, study, problem);
        },
        path);
#endif
}

#ifdef Q_OS_WASM
void StudyCommands::openStudyBytes(FormWindow *from, const QString &name, const QByteArray &bytes,
                                   const QString &problem) {
    replaceStudy(
        from, name,
        [bytes, problem](Model &study, QString *why) {
            if (problem.isEmpty())
                return proposal::restoreStudyBytes(bytes, study, why);
            if (why)
                *why = problem;
            return false;
        },
        QString());
}
#endif

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
    askToSave(from, [this, origin, name, read, path](QMessageBox::StandardButton answer) {
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
    QString problem;
    if (!read(study, &problem)) {
        const QString message = proposal::unreadableMessage(name, problem);
        host_.openFuture().setStatus(message);
        tell(from, message);
        return;
    }
    if (QString entered; !path.isEmpty() && !enterStudyFolder(path, &entered, &problem)) {
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
    exportTo(from, {FileRequest::Save, QStringLiteral("Export Document"), suggested, filter});
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
#ifdef Q_OS_WASM
    // A browser downloads the file under the suggested name; it asks where, if at all.
    proposal::StudyFormat format = proposal::StudyFormat::MatricesPdf;
    proposal::formatOfName(request.suggested, &format);
    const QString path = request.suggested;
#else
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
#endif
    runHandler([&] {
        if (QString problem; !proposal::saveStudy(path, format, host_.model(), &problem))
            tell(from, exportFailure(path, problem));
    });
}

#ifdef SP_PRINT
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
#endif

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
