#include "assets.h"

namespace sp {

QIcon windowIcon(const QString &name) {
    // The sizes make_icons.py draws; each is the pixel art scaled, so none needs smoothing.
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/%1-%2.png").arg(name).arg(size), QSize(size, size));
    return icon;
}

} // namespace sp
