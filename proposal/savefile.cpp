#include "savefile.h"

#include <QSaveFile>

namespace sp::proposal {
namespace {

bool fail(const QIODevice &device, QString *error) {
    if (error) {
        *error = device.errorString();
        if (error->isEmpty())
            *error = QStringLiteral("The data could not be written");
    }
    return false;
}

} // namespace

bool writeBytes(QIODevice &device, const QByteArray &bytes, QString *error) {
    const char *data = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        // A device may take less than offered; one that takes nothing would loop forever.
        const qint64 written = device.write(data, left);
        if (written <= 0)
            return fail(device, error);
        data += written;
        left -= written;
    }
    return true;
}

bool saveStudyProposal(const QString &path, const QByteArray &bytes, QString *error) {
    QSaveFile file(path);
    // Unbuffered: a buffered flush that writes only part of the data (a full disc, a size
    // limit) is not reported, and commit() would then rename a truncated file into place.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail(file, error);
    if (!writeBytes(file, bytes, error))
        return false; // the temporary file goes with `file`
    if (!file.commit())
        return fail(file, error);
    return true;
}

QString failureMessage(const QString &reason) {
    return QStringLiteral("Could not save StudyProposal.txt: ") + reason;
}

} // namespace sp::proposal
