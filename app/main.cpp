#include "appinfo.h"
#include "application.h"
#include "commandline.h"
#include "terminal.h"

#include <QApplication>

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
        // mistyped argument need no display. A browser's page has none: it runs as without
        // arguments.
        QCoreApplication core(argc, argv);
        nameProgram();
        command = sp::parseCommandLine(QCoreApplication::arguments());
    }
    switch (command.action) {
    case sp::CommandLine::ShowHelp:
    case sp::CommandLine::ShowVersion:
        sp::writeToTerminal(stdout, command.text);
        return 0;
    case sp::CommandLine::Refuse:
        sp::writeToTerminal(stderr, command.text);
        return 2;
    case sp::CommandLine::Export: {
        // Pictures and fonts need a QGuiApplication but no display.
        sp::useNoDisplay();
        QGuiApplication gui(argc, argv);
        nameProgram();
        QString problem;
        if (!sp::exportStudy(command.file, command.output, &problem)) {
            sp::writeToTerminal(stderr, sp::commandLineMessage(problem));
            return 1;
        }
        return 0;
    }
    case sp::CommandLine::Run:
        break;
    }
    QString studyFile;
    if (!command.file.isEmpty()) {
        QString problem;
        if (!sp::enterStudyFolder(command.file, &studyFile, &problem)) {
            sp::writeToTerminal(stderr, sp::commandLineMessage(problem));
            return 1;
        }
    }

    // In a browser the event loop keeps main's frame, and with it these objects, for the
    // page's life.
    QApplication qapp(argc, argv);
    nameProgram();
    QGuiApplication::setDesktopFileName(QString::fromLatin1(sp::appinfo::Id));
    sp::Application app;
    app.start(studyFile);
    return qapp.exec();
}
