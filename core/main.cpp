#include "appinfo.h"
#include "application.h"

#include <QApplication>

int main(int argc, char *argv[]) {
    QApplication qapp(argc, argv);
    QGuiApplication::setApplicationName(QString::fromLatin1(sp::appinfo::Name));
    QGuiApplication::setApplicationVersion(QString::fromLatin1(sp::appinfo::Version));
    QGuiApplication::setDesktopFileName(QString::fromLatin1(sp::appinfo::Id));
    sp::Application app;
    app.start();
    return qapp.exec();
}
