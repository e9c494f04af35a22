#include "devicewrite.h"

namespace sp::proposal {

bool deviceFailed(const QIODevice &device, QString *error) {
    const QString reason = device.errorString();
    return failed(error,
                  reason.isEmpty() ? QStringLiteral("The data could not be written") : reason);
}

bool writeBytes(QIODevice &device, const QByteArray &bytes, QString *error) {
    const char *data = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        // A device may take less than offered; one that takes nothing would loop forever.
        const qint64 written = device.write(data, left);
        if (written <= 0)
            return deviceFailed(device, error);
        data += written;
        left -= written;
    }
    return true;
}

} // namespace sp::proposal
