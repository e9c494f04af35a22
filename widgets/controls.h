#pragma once
// Small builders for the single controls of a window, so each window's layout reads as a
// table of boxes, texts and looks.

#include "layout.h"

#include <QColor>
#include <QFont>
#include <QString>

class QLabel;
class QWidget;

namespace sp {

struct LabelLook {
    QFont font;
    QColor text;
    Qt::Alignment alignment = Qt::AlignLeft;
    bool opaque = false; // else the window or picture shows through
    QColor background = layout::Background;
};

// A word-wrapping label, text from the top of its box, clipped to it.
QLabel *makeLabel(QWidget *window, const char *name, layout::Box box, const QString &text,
                  const LabelLook &look, QLabel *label = nullptr);

} // namespace sp
