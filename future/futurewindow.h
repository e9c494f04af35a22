#pragma once
// The window Future: the time horizon, the scale chart and the matrix in which the user
// marks probable trends. Presses and clicks go to the rules of trendmarking.h and to the
// proposal writer; the window shows their results and reaches Impacts through Forms.

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

    void Form_Load();

    // Command1_MouseDown .. Command6_MouseDown: one handler for the six cell arrays.
    void Command_MouseDown(int array, int index, int button);
    void Command7_Click(int index);
    void Command8_Click(int index);
    void Command9_Click();
    void Command10_Click();
    void Command11_Click();
    void Label4_Click();
    void GoToImpacts();

    // FutureForm
    QString horizon() const override;
    void paintCue(int aspect, int index) override;

    MatrixControls &matrix() const { return *matrix_; }
    QLineEdit *text1() const { return text1_; }
    QLabel *label2() const { return label2_; }
    QLabel *label5() const { return label5_; }
    QLabel *label6() const { return label6_; }

private:
    Forms &forms_;
    Model &model_;
    MatrixControls *matrix_ = nullptr;
    ClickLabel *label4_ = nullptr;
    QLineEdit *text1_ = nullptr;
    QLabel *label2_ = nullptr;
    QLabel *label5_ = nullptr;
    QLabel *label6_ = nullptr;
};

} // namespace sp
