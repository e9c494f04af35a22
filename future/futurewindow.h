#pragma once
// future/: the window Future, on rules/ and widgets/.
//
// The time horizon, the scale chart and the matrix in which the user marks probable trends.
// Presses and clicks go to the rules of trendmarking.h, the save button to the application,
// which saves the study; the window shows their results and reaches Impacts through Forms.

#include "forms.h"
#include "formwindow.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace sp {

class ClickLabel;
class MatrixControls;

class FutureWindow final : public FormWindow, public FutureForm {
    Q_OBJECT
public:
    explicit FutureWindow(Forms &forms);

    void load();

    // A mouse button went down on the cell of aspect 1..6 at position 0..21; the button
    // is CellButton::Left, Right or Middle.
    void onCellPressed(int aspect, int index, int button);
    void resetRow(int index); // position 0..5 of the row's reset button
    void resetColumn(int index);
    void resetAll();
    void goToImpacts();
    void onTitleClicked();

    // FutureForm
    void paintCue(int aspect, int index) override;

    void setStatus(const QString &text);

    // Shows the model's horizon and marks after another study replaced them, as a window
    // opened on that study shows them, with an empty status line.
    void showStudy();

    MatrixControls &matrix() const { return *matrix_; }
    QLineEdit *horizonEdit() const { return horizonEdit_; }
    QLabel *status() const { return status_; }
    QLabel *matrixNote() const { return matrixNote_; }
    QLabel *saveNote() const { return saveNote_; }

Q_SIGNALS:
    // The save button was clicked.
    void saveClicked();

private:
    void showMarks();

    Forms &forms_;
    Model &model_;
    MatrixControls *matrix_ = nullptr;
    ClickLabel *title_ = nullptr;
    QLineEdit *horizonEdit_ = nullptr;
    QLabel *status_ = nullptr;
    QLabel *matrixNote_ = nullptr; // over the chart's lower edge; only ever emptied
    QLabel *saveNote_ = nullptr;   // hidden under the save button; only ever emptied
};

} // namespace sp
