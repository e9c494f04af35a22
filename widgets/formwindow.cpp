#include "formwindow.h"

#include "assets.h"
#include "fonts.h"
#include "layout.h"
#include "menus.h"
#include "palette.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QStyle>

namespace sp {

FormWindow::FormWindow(const QString &caption, const QString &iconName)
    : client_(new QWidget(this)) {
    setWindowTitle(caption);
    setWindowIcon(sp::windowIcon(iconName));

    // Complete, so every control inherits it and none takes a colour from the desktop.
    setPalette(palette::windowPalette());
    setAutoFillBackground(true);
    setFont(fonts::font(fonts::Face::MsSansSerif, 8.25));

    client_->setObjectName(QStringLiteral("client"));
    client_->setAutoFillBackground(true);
    setCentralWidget(client_);
    placeCentred();
}

void FormWindow::setMenus(const MenuCommands &commands) {
    fillMenuBar(*menuBar(), commands);
    placeCentred();
}

// The client area keeps the layout's size; a menu bar in the window (not one the desktop
// shows at the top of the screen) adds its height above it. That is the height the window's
// layout gives the bar for its width, which some styles make a pixel more than its size hint.
void FormWindow::placeCentred() {
    QSize size = layout::ClientSize;
    if (QMenuBar *bar = menuWidget() ? menuBar() : nullptr; bar && !bar->isNativeMenuBar()) {
        const int height = bar->heightForWidth(size.width());
        size.rheight() += height > 0 ? height : bar->sizeHint().height();
    }
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(QPoint(), size);
    setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size, area));
}

void FormWindow::closeEvent(QCloseEvent *event) {
    QMainWindow::closeEvent(event);
    if (event->isAccepted())
        Q_EMIT closed();
}

} // namespace sp
