#pragma once
// impacts/: the window Impacts, on rules/ and widgets/.
//
// The window Impacts ("Object and impact"): the matrix in which the user marks the frame,
// the grain and the impacts of the study, under a coloured title, the copied time horizon
// and the scale chart. Presses go to the rules of impactmarking.h; the window shows the
// results, and reaches Future through Forms for the black cue and the switch back.

#include "forms.h"
#include "formwindow.h"

class QLabel;

namespace sp {

class MatrixControls;

class ImpactsWindow final : public FormWindow, public ImpactsForm {
    Q_OBJECT
public:
    explicit ImpactsWindow(Forms &forms);

    void load();

    // A mouse button went down on the cell of aspect 1..6 at position 0..21; the button
    // is CellButton::Left, Right or Middle.
    void onCellPressed(int aspect, int index, int button);
    void resetRow(int index); // position 0..5 of the row's reset button
    void resetColumn(int index);
    void resetAll();
    void goToFuture();

    // Shows the model's horizon, marks and resolution statement after another study replaced
    // them, as a window opened on that study shows them, with an empty status line.
    void showStudy();

    // ImpactsForm
    void setStatus(const QString &text) override;

    MatrixControls &matrix() const { return *matrix_; }
    QLabel *status() const { return status_; }
    QLabel *horizonLabel() const { return horizonLabel_; }
    QLabel *resolutionLabel() const { return resolution_; }
    QLabel *switchNote() const { return switchNote_; }

private:
    void showMarks();

    Forms &forms_;
    Model &model_;
    MatrixControls *matrix_ = nullptr;
    QLabel *status_ = nullptr;
    QLabel *horizonLabel_ = nullptr;
    QLabel *resolution_ = nullptr;
    QLabel *switchNote_ = nullptr; // under "Go to Future"; only ever set to a blank
};

} // namespace sp
