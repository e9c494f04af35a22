#pragma once

#include <QColor>
#include <QPushButton>

namespace sp {

// A matrix cell: acts when a mouse button goes down, reporting the button as 1 (left),
// 2 (right) or 4 (middle); a click or keyboard activation does nothing. It paints its
// background colour exactly (styles lighten or shade a plain button colour) inside a
// classic raised edge.
class CellButton : public QPushButton {
    Q_OBJECT
public:
    enum Code { Left = 1, Right = 2, Middle = 4 };

    CellButton(int aspect, int index, QWidget *parent);

    int aspect() const { return aspect_; }
    int index() const { return index_; }

    QColor fill() const { return fill_; }
    void setFill(const QColor &colour);

Q_SIGNALS:
    void mouseDown(int aspect, int index, int button);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    int aspect_;
    int index_;
    QColor fill_;
};

} // namespace sp
