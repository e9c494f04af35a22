// The baseline of start-up: a Qt window of the program's size and caption, and nothing else.
#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Future"));
    window.resize(762, 588); // the client area and the menu bar above it
    window.setVisible(true); // as the program does: a browser would otherwise maximize it
    return app.exec();
}
