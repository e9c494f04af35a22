#pragma once
// The 6 x 22 matrix both windows show at the same place: row captions, the cells, a reset
// button at the end of each row, a button under each column and a reset for all. It only
// builds and holds the controls and reports what is pressed; each window gives the
// presses their meaning.

#include "cellbutton.h"

#include <QObject>

#include <array>

class QLabel;
class QPushButton;
class QWidget;

namespace sp {

class MatrixControls : public QObject {
    Q_OBJECT
public:
    struct Options {
        QPoint captionOrigin;   // twips of the first row caption
        int firstMassCellWidth; // twips
        qreal firstCellPoints;  // font size of the cell of row 1, scale 1
    };

    MatrixControls(QWidget *window, const Options &options);

    CellButton *cell(int aspect, int index) const;
    QPushButton *rowReset(int index) const;
    QPushButton *columnButton(int index) const;
    QPushButton *resetAll() const { return resetAll_; }
    QLabel *rowCaption(int index) const;

    void setCaption(int aspect, int index, const QString &caption);
    // Empty the captions of a row (aspect 1..6), a column (position 0..21) or all cells.
    void clearRow(int aspect);
    void clearColumn(int index);
    void clearAll();

Q_SIGNALS:
    void cellMouseDown(int aspect, int index, int button);
    void rowResetClicked(int index);
    void columnClicked(int index);
    void resetAllClicked();

private:
    std::array<QLabel *, 6> captions_{};
    std::array<std::array<CellButton *, 22>, 6> cells_{};
    std::array<QPushButton *, 6> rowResets_{};
    std::array<QPushButton *, 22> columns_{};
    QPushButton *resetAll_ = nullptr;
};

} // namespace sp
