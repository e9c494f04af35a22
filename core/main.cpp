#include "application.h"

#include <QApplication>

int main(int argc, char *argv[]) {
    QApplication qapp(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("study-proposal"));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.StudyProposal"));
    sp::Application app;
    app.start();
    return qapp.exec();
}
