#pragma once
// widgets/: the pieces both windows are built from, on core/ and assets/: the window frame
// with its menu bar (here), the menus, the 6 x 22 matrix with its reset and column buttons,
// the cell button, labels and the fixed palette.

#include <QMainWindow>

namespace sp {

struct MenuCommands;

// What both top-level windows share: the menu bar and, below it, the client area at the
// layout's fixed size, centred on the screen, with the fixed palette, its grey background and
// the default font. The client area has no layout manager, so resizing moves nothing.
class FormWindow : public QMainWindow {
    Q_OBJECT
public:
    FormWindow(const QString &caption, const QString &iconName);

    // Where the controls live: every box of the layout is measured from its corner.
    QWidget *client() const { return client_; }

    // Fills the menu bar and grows the window by its height, the client area unchanged.
    void setMenus(const MenuCommands &commands);

Q_SIGNALS:
    // The user closed the window; its controls are about to be discarded.
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void placeCentred();

    QWidget *client_;
};

} // namespace sp
