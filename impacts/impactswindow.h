#pragma once
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

    void Form_Load();

    // Command1_MouseDown .. Command6_MouseDown: one handler for the six cell arrays.
    void Command_MouseDown(int array, int index, int button);
    void Command7_Click(int index);
    void Command8_Click(int index);
    void Command9_Click();
    void Command11_Click();
    void GoToFuture();

    // ImpactsForm
    QString resolution() const override;
    void setStatus(const QString &text) override;

    MatrixControls &matrix() const { return *matrix_; }
    QLabel *label2() const { return label2_; }
    QLabel *label3() const { return label3_; }
    QLabel *label5() const { return label5_; }
    QLabel *label6() const { return label6_; }

private:
    Forms &forms_;
    Model &model_;
    MatrixControls *matrix_ = nullptr;
    QLabel *label2_ = nullptr;
    QLabel *label3_ = nullptr;
    QLabel *label5_ = nullptr;
    QLabel *label6_ = nullptr;
};

} // namespace sp
