#include "formwindow.h"

#include "assets.h"
#include "fonts.h"
#include "layout.h"
#include "palette.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QStyle>

namespace sp {

FormWindow::FormWindow(const QString &caption, const QString &iconName) {
    setWindowTitle(caption);
    setWindowIcon(sp::windowIcon(iconName));

    // Complete, so every control inherits it and none takes a colour from the desktop.
    setPalette(layout::windowPalette());
    setAutoFillBackground(true);
    setFont(fonts::font(fonts::Face::MsSansSerif, 8.25));

    const QScreen *screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(QPoint(), layout::ClientSize);
    setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, layout::ClientSize, area));
}

void FormWindow::closeEvent(QCloseEvent *event) {
    QWidget::closeEvent(event);
    if (event->isAccepted())
        Q_EMIT closed();
}

} // namespace sp
