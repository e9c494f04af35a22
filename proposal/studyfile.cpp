#include "studyfile.h"

#include "devicewrite.h"
#include "matricespdf.h"
#include "opendocument.h"
#include "studyproposal.h"
#include "worddocument.h"

#include <QDate>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>

namespace sp::proposal {

bool formatOfSuffix(QStringView suffix, StudyFormat *format) {
    static const std::pair<QLatin1String, StudyFormat> suffixes[] = {
        {QLatin1String("txt"), StudyFormat::TextFile},
        {QLatin1String("docx"), StudyFormat::WordDocument},
        {QLatin1String("odt"), StudyFormat::OpenDocument},
        {QLatin1String("pdf"), StudyFormat::MatricesPdf},
    };
    for (const auto &[name, named] : suffixes)
        if (suffix.compare(name, Qt::CaseInsensitive) == 0) {
            *format = named;
            return true;
        }
    return false;
}

bool formatOfName(const QString &path, StudyFormat *format) {
    return formatOfSuffix(QFileInfo(path).suffix(), format);
}

namespace {

bool writeFormat(QIODevice &device, StudyFormat format, const Model &model, const QString &date,
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

} // namespace

bool writeStudy(QIODevice &device, StudyFormat format, const Model &model, const QString &date,
                QString *error) {
    // A mark outside its range is the program's fault, not the user's: said as a failure
    // like any other, so no caller has to catch it.
    try {
        return writeFormat(device, format, model, date, error);
    } catch (const InternalError &fault) {
        return failed(error, QStringLiteral("Internal error: ") + QString::fromUtf8(fault.what()));
    }
}

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
