#include "desktopplatform.h"

#include "failure.h"
#include "studyfile.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

namespace sp {
namespace {

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

} // namespace

std::unique_ptr<Platform> systemPlatform() {
    return std::make_unique<DesktopPlatform>();
}

QString DesktopPlatform::lastFolder() const {
    return lastFolder_.isEmpty() ? QDir::currentPath() : lastFolder_;
}

QString DesktopPlatform::askPath(QWidget *parent, const FileRequest &request,
                                 QString *selectedFilter) {
    return request.kind == FileRequest::Open
               ? QFileDialog::getOpenFileName(parent, request.title, request.suggested,
                                              request.filter, selectedFilter)
               : QFileDialog::getSaveFileName(parent, request.title, request.suggested,
                                              request.filter, selectedFilter);
}

QString DesktopPlatform::choosePath(QWidget *parent, const FileRequest &request,
                                    QString *selectedFilter) {
    const QString path = askPath(parent, request, selectedFilter);
    if (!path.isEmpty())
        lastFolder_ = QFileInfo(path).absolutePath();
    return path;
}

void DesktopPlatform::chooseStudy(QWidget *parent, const StudyChosen &chosen) {
    const QString path = choosePath(parent,
                                    {FileRequest::Open, QStringLiteral("Open Study"), lastFolder(),
                                     QStringLiteral("Study proposals (*.txt);;All files (*)")},
                                    nullptr);
    if (!path.isEmpty())
        chosen({QFileInfo(path).fileName(), path, QByteArray()});
}

bool DesktopPlatform::writeFile(const QString &name, const WriteFile &write, QString *error) {
    const QString format = QFileInfo(name).suffix().toLower();
    return proposal::replaceFile(
        name, [&](QIODevice &device, QString *reason) { return write(device, format, reason); },
        error);
}

// The file is written in the format its extension names among those offered, else in the
// chosen filter's, whose extension a name without one gets.
Platform::Delivery DesktopPlatform::deliverFile(QWidget *parent, const Offer &offer,
                                                const WriteFile &write, QString *name,
                                                QString *error) {
    const QStringList offered = offeredSuffixes(offer.filter);
    QString filter = offer.filter.section(QStringLiteral(";;"), 0, 0);
    QString path = choosePath(
        parent,
        {FileRequest::Save, offer.title, QDir(lastFolder()).filePath(offer.name), offer.filter},
        &filter);
    if (path.isEmpty())
        return Delivery::Cancelled;
    QString format = QFileInfo(path).suffix();
    if (!offered.contains(format, Qt::CaseInsensitive)) {
        const QString chosen = offeredSuffixes(filter).value(0, offered.value(0));
        if (format.isEmpty())
            path += QLatin1Char('.') + chosen;
        format = chosen;
    }
    *name = QFileInfo(path).fileName();
    const bool written = proposal::replaceFile(
        path,
        [&](QIODevice &device, QString *reason) { return write(device, format.toLower(), reason); },
        error);
    return written ? Delivery::Written : Delivery::Failed;
}

void DesktopPlatform::askToSave(QWidget *parent, const Answer &answer) {
    const std::unique_ptr<QMessageBox> box(
        unsavedMarksBox(parent, QStringLiteral("Save them as StudyProposal.txt in the current "
                                               "directory before another study replaces them?")));
    answer(QMessageBox::StandardButton(box->exec()));
}

bool DesktopPlatform::choosePrinter(QPrinter &printer, QWidget *parent, const QString &title) {
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(title);
    return dialog.exec() == QDialog::Accepted;
}

bool DesktopPlatform::print(QWidget *parent, const QString &title, const QString &document,
                            const PaintPage &paint, QString *error) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setDocName(document);
    if (!choosePrinter(printer, parent, title))
        return true;
    QPainter painter;
    if (!painter.begin(&printer))
        return failed(error, QStringLiteral("the printer cannot be used"));
    paint(painter, QRectF(QPointF(), printer.pageRect(QPrinter::DevicePixel).size()));
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        return failed(error, QStringLiteral("the page did not reach the printer"));
    return true;
}

void DesktopPlatform::bringToFront(QWidget &window) {
    window.show();
    window.raise();
    window.activateWindow();
}

} // namespace sp
