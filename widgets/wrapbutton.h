#pragma once

#include <QPushButton>

namespace sp {

// A push button whose caption wraps at word boundaries within its box, like a caption
// longer than one line on a tall button. The text stays the button's text, so a screen
// reader reads it whole.
class WrapButton : public QPushButton {
    Q_OBJECT
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace sp
