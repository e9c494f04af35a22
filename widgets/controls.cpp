#include "controls.h"

#include <QLabel>

namespace sp {

QLabel *makeLabel(QWidget *window, const char *name, layout::Box box, const QString &text,
                  const LabelLook &look, QLabel *label) {
    if (!label)
        label = new QLabel(window);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(layout::pixels(box));
    label->setText(text);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment(look.alignment | Qt::AlignTop);
    label->setFont(look.font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, look.text);
    if (look.opaque) {
        palette.setColor(QPalette::Window, look.background);
        label->setAutoFillBackground(true);
    }
    label->setPalette(palette);
    return label;
}

} // namespace sp
