// The baseline of start-up with the program's content: the widgets of the window Future in
// plain Qt (same_window.h), shown as the program shows its window.
#include "same_window.h"

#include <QApplication>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QMainWindow window;
    sp::bench::buildSameWindow(window);
    window.setVisible(true);
    return app.exec();
}
