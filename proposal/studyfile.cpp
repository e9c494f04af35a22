#include "studyfile.h"

#include "devicewrite.h"
#include "matricespdf.h"
#include "opendocument.h"
#include "studyproposal.h"
#include "worddocument.h"

#include <QBuffer>
#include <QDate>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>

#ifdef Q_OS_WASM
#include <emscripten.h>
#endif

namespace sp::proposal {

bool formatOfName(const QString &path, StudyFormat *format) {
    static const std::pair<QLatin1String, StudyFormat> suffixes[] = {
        {QLatin1String("txt"), StudyFormat::TextFile},
        {QLatin1String("docx"), StudyFormat::WordDocument},
        {QLatin1String("odt"), StudyFormat::OpenDocument},
        {QLatin1String("pdf"), StudyFormat::MatricesPdf},
    };
    const QString suffix = QFileInfo(path).suffix();
    for (const auto &[name, named] : suffixes)
        if (suffix.compare(name, Qt::CaseInsensitive) == 0) {
            *format = named;
            return true;
        }
    return false;
}

bool writeStudy(QIODevice &device, StudyFormat format, const Model &model, const QString &date,
                QString *error) {
    switch (format) {
    case StudyFormat::TextFile:
        return writeStudyProposal(device, model, date, error);
    case StudyFormat::WordDocument:
        return writeWordDocument(device, model, date, error);
    case StudyFormat::OpenDocument:
        return writeOpenDocument(device, model, date, error);
    case StudyFormat::MatricesPdf:
        return writeMatricesPdf(device, model, error);
    }
    return failed(error, QStringLiteral("Unknown format"));
}

#ifdef Q_OS_WASM
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

bool replaceFile(const QString &path, const std::function<bool(QIODevice &, QString *)> &write,
                 QString *error) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!write(buffer, error))
        return false;
    downloadFile(QFileInfo(path).fileName().toUtf8().constData(), bytes.constData(),
                 int(bytes.size()));
    return true;
}
#else
bool replaceFile(const QString &path, const std::function<bool(QIODevice &, QString *)> &write,
                 QString *error) {
    QSaveFile file(path);
    // Unbuffered: a buffered flush that writes only part of the data (a full disc, a size
    // limit) is not reported, and commit() would then rename a truncated file into place.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return deviceFailed(file, error);
    if (!write(file, error))
        return false; // the temporary file goes with `file`
    if (!file.commit())
        return deviceFailed(file, error);
    return true;
}
#endif

bool saveStudy(const QString &path, StudyFormat format, const Model &model, QString *error) {
    const QString date = todayShortDate();
    return replaceFile(
        path,
        [&](QIODevice &device, QString *reason) {
            return writeStudy(device, format, model, date, reason);
        },
        error);
}

QString todayShortDate() {
    return QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
}

} // namespace sp::proposal
