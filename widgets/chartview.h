#pragma once

#include <QWidget>

namespace sp {

// The scale chart above the matrix: a vector picture stretched to fill the widget's box,
// its transparent background showing the window through.
class ChartView : public QWidget {
    Q_OBJECT
public:
    explicit ChartView(QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace sp
