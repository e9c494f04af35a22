// The baseline of start-up: a Qt window of the program's size and caption, and nothing else
// (bare_window_text: with eight labels).
#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Future"));
    window.resize(762, 588); // the client area and the menu bar above it
#ifdef SP_BARE_TEXT
    // A window that shows text pays the font database's first load, as the program does.
    for (int i = 0; i < 8; ++i) {
        auto *label = new QLabel(QStringLiteral("Probable future until"), &window);
        label->setGeometry(10, 10 + 40 * i, 700, 40);
    }
#endif
    window.setVisible(true); // as the program does: a browser would otherwise maximize it
    return app.exec();
}
