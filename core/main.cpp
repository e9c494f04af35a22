#include "appinfo.h"
#include "application.h"
#include "commandline.h"

#include <QApplication>

#include <cstdio>

namespace {

void nameProgram() {
    QCoreApplication::setApplicationName(QString::fromLatin1(sp::appinfo::Name));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(sp::appinfo::Version));
}

} // namespace

int main(int argc, char *argv[]) {
    sp::CommandLine command;
    {
        // The command line is read before any window exists, so --help, --version and a
        // mistyped argument need no display.
        QCoreApplication core(argc, argv);
        nameProgram();
        command = sp::parseCommandLine(QCoreApplication::arguments());
    }
    switch (command.action) {
    case sp::CommandLine::ShowHelp:
    case sp::CommandLine::ShowVersion:
        std::fputs(command.text.toLocal8Bit().constData(), stdout);
        return 0;
    case sp::CommandLine::Refuse:
        std::fputs(command.text.toLocal8Bit().constData(), stderr);
        return 2;
    case sp::CommandLine::Run:
        break;
    }
    QString studyFile;
    if (!command.file.isEmpty()) {
        QString problem;
        studyFile = sp::enterStudyFolder(command.file, &problem);
        if (studyFile.isEmpty()) {
            std::fputs(problem.toLocal8Bit().constData(), stderr);
            return 1;
        }
    }

    QApplication qapp(argc, argv);
    nameProgram();
    QGuiApplication::setDesktopFileName(QString::fromLatin1(sp::appinfo::Id));
    sp::Application app;
    app.start(studyFile);
    return qapp.exec();
}
