#include "fonts.h"

#include <QDir>
#include <QFontDatabase>
#include <QStringList>

namespace sp::fonts {
namespace {

QString firstInstalled(std::initializer_list<const char *> candidates) {
    // The faces the program brings along, in a build for a page, which has no system fonts
    // (assets/CMakeLists.txt); none elsewhere.
    static const bool registered = [] {
        const QDir builtIn(QStringLiteral(":/fonts"));
        for (const QString &face : builtIn.entryList(QDir::Files))
            QFontDatabase::addApplicationFont(builtIn.filePath(face));
        return true;
    }();
    (void)registered;
    // families() lists what is installed without resolving aliases; asking the database for
    // a missing family instead makes it populate every alias first.
    const QStringList installed = QFontDatabase::families();
    for (const char *candidate : candidates) {
        const QString name = QString::fromLatin1(candidate);
        if (installed.contains(name, Qt::CaseInsensitive))
            return name;
    }
    return QStringLiteral("Sans Serif");
}

} // namespace

QString family(Face face) {
    static const QString arial = firstInstalled({"Arial", "Liberation Sans", "Arimo"});
    static const QString sansSerif =
        firstInstalled({"MS Sans Serif", "Microsoft Sans Serif", "Liberation Sans", "Arimo"});
    return face == Face::Arial ? arial : sansSerif;
}

QFont font(Face face, qreal points, bool bold) {
    QFont f(family(face));
    f.setPointSizeF(points); // sizes like 8.25 and 24.75 are fractional
    f.setBold(bold);
    f.setStyleHint(QFont::SansSerif);
    return f;
}

} // namespace sp::fonts
