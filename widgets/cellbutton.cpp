#include "cellbutton.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <qdrawutil.h>

namespace sp {
namespace {

int buttonCode(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return CellButton::Left;
    case Qt::RightButton:
        return CellButton::Right;
    case Qt::MiddleButton:
        return CellButton::Middle;
    default:
        return 0;
    }
}

// The raised edge of a classic button, independent of the fill, so it shows on black too.
const QPalette &edgePalette() {
    static const QPalette palette = [] {
        QPalette p;
        p.setColor(QPalette::Light, Qt::white);
        p.setColor(QPalette::Midlight, QColor(223, 223, 223));
        p.setColor(QPalette::Dark, QColor(128, 128, 128));
        p.setColor(QPalette::Shadow, Qt::black);
        p.setColor(QPalette::Button, QColor(192, 192, 192));
        return p;
    }();
    return palette;
}

} // namespace

CellButton::CellButton(int aspect, int index, QWidget *parent)
    : QPushButton(parent)
    , aspect_(aspect)
    , index_(index) {
    setAutoDefault(false);
}

void CellButton::setFill(const QColor &colour) {
    if (colour == fill_)
        return;
    fill_ = colour;
    update();
}

void CellButton::mousePressEvent(QMouseEvent *event) {
    const int code = buttonCode(event->button());
    if (code == 0) {
        event->ignore();
        return;
    }
    if (code == Left)
        QPushButton::mousePressEvent(event); // the pressed look and focus
    else
        event->accept();
    Q_EMIT mouseDown(aspect_, index_, code);
}

void CellButton::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    const QBrush brush(fill_);
    qDrawWinButton(&painter, rect(), edgePalette(), isDown(), &brush);
    if (!text().isEmpty()) {
        painter.setFont(font());
        painter.setPen(Qt::black);
        painter.drawText(rect().translated(isDown() ? 1 : 0, isDown() ? 1 : 0), Qt::AlignCenter,
                         text());
    }
    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = rect().adjusted(3, 3, -3, -3);
        option.backgroundColor = fill_;
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

} // namespace sp
