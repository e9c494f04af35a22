#pragma once

#include <QWidget>

namespace sp {

// What both top-level windows share: the fixed client size, centred on the screen, the fixed
// palette with its grey background and the default font; no layout manager, so resizing
// moves nothing.
class FormWindow : public QWidget {
    Q_OBJECT
public:
    FormWindow(const QString &caption, const QString &iconName);

Q_SIGNALS:
    // The user closed the window; its controls are about to be discarded.
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;
};

} // namespace sp
