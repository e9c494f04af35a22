#include "futurewindow.h"

#include "chartview.h"
#include "clicklabel.h"
#include "controls.h"
#include "fonts.h"
#include "horizon.h"
#include "matrix.h"
#include "proposal.h"
#include "trendmarking.h"
#include "wrapbutton.h"

#include <QLabel>
#include <QLineEdit>

namespace sp {

using fonts::Face;
using layout::Box;
using layout::pixels;

namespace {

const QColor Grey(128, 128, 128);
const QColor StatusText(64, 64, 64);

// One in 955 followed by 61 zeros.
QString perspectivesCaption() {
    return QStringLiteral("One of 955") + QString(61, QLatin1Char('0')) +
           QStringLiteral(" perspectives.");
}

} // namespace

FutureWindow::FutureWindow(Forms &forms)
    : FormWindow(QStringLiteral("Future"), QStringLiteral("future"))
    , forms_(forms)
    , model_(forms.model()) {
    setObjectName(QStringLiteral("Future"));

    // Stacking follows creation: the picture lowest, the labels over it, buttons and the
    // text box on top. Among the controls that take the focus, creation order is the
    // focus order.
    auto *image1 = new ChartView(this);
    image1->setObjectName(QStringLiteral("Image1"));
    image1->setGeometry(pixels(Box{360, 720, 9840, 3975}));

    label4_ = new ClickLabel(this);
    makeLabel(this, "Label4", {360, 75, 4890, 615}, QStringLiteral("Probable future until"),
              {fonts::font(Face::Arial, 24.75, true), Grey}, label4_);
    makeLabel(this, "Label7", {360, 1680, 1935, 255}, QStringLiteral("Fill in you time horizon"),
              {this->font(), Grey, Qt::AlignLeft, true});
    const LabelLook blue{fonts::font(Face::MsSansSerif, 9.75, true), QColor(0, 0, 255)};
    label5_ = makeLabel(this, "Label5", {4620, 4440, 6360, 255}, QString(),
                        {blue.font, blue.text, Qt::AlignRight});
    label6_ = makeLabel(this, "Label6", {375, 7305, 1830, 1005}, QString(),
                        {blue.font, blue.text, Qt::AlignHCenter});
    label2_ = makeLabel(this, "Label2", {2325, 7335, 8700, 855}, QString(),
                        {fonts::font(Face::Arial, 14.25, true), StatusText});
    makeLabel(this, "Label3", {360, 8280, 11175, 255}, perspectivesCaption(),
              {fonts::font(Face::Arial, 12), Qt::black});

    matrix_ = new MatrixControls(this, {{375, 4740}, 390, 12});

    auto *command10 = new QPushButton(QStringLiteral("Go to Impacts"), this);
    command10->setObjectName(QStringLiteral("Command10"));
    command10->setGeometry(pixels(Box{375, 6870, 1815, 360}));
    command10->setFont(fonts::font(Face::Arial, 12));

    text1_ = new QLineEdit(this);
    text1_->setObjectName(QStringLiteral("Text1"));
    text1_->setGeometry(pixels(Box{360, 630, 1935, 930}));
    text1_->setFont(fonts::font(Face::Arial, 42, true)); // before the text: one layout, not two
    text1_->setText(QStringLiteral("2030"));
    text1_->setAccessibleName(QStringLiteral("Time horizon"));
    QPalette textColours = text1_->palette();
    textColours.setColor(QPalette::Text, Grey);
    textColours.setColor(QPalette::Base, layout::Background);
    text1_->setPalette(textColours);

    auto *command11 =
        new WrapButton(QStringLiteral(" Save as Study proposal.txt in current directory"), this);
    command11->setObjectName(QStringLiteral("Command11"));
    command11->setGeometry(pixels(Box{360, 7320, 1815, 975}));

    for (QPushButton *button : findChildren<QPushButton *>())
        button->setAutoDefault(false);

    connect(matrix_, &MatrixControls::cellMouseDown, this, &FutureWindow::Command_MouseDown);
    connect(matrix_, &MatrixControls::rowResetClicked, this, &FutureWindow::Command7_Click);
    connect(matrix_, &MatrixControls::columnClicked, this, &FutureWindow::Command8_Click);
    connect(matrix_, &MatrixControls::resetAllClicked, this, &FutureWindow::Command9_Click);
    connect(command10, &QPushButton::clicked, this, &FutureWindow::Command10_Click);
    connect(command11, &QPushButton::clicked, this, &FutureWindow::Command11_Click);
    connect(label4_, &ClickLabel::clicked, this, &FutureWindow::Label4_Click);
    connect(text1_, &QLineEdit::textChanged, this, [this](const QString &text) {
        const QString line = future::SingleLineHorizon(text);
        if (line.size() != text.size())
            text1_->setText(line);
    });

    matrix_->cell(1, 0)->setFocus();
}

void FutureWindow::Form_Load() {
    InitVocabulary(model_);
}

void FutureWindow::Command_MouseDown(int array, int index, int button) {
    runHandler([&] {
        if (button == CellButton::Right) {
            GoToImpacts();
            return;
        }
        CellButton *cell = matrix_->cell(array, index);
        cell->setFill(layout::aspectColour(array)); // also lifts the black cue of Impacts
        const future::TrendPress press = future::StepTrend(model_, array, index);
        cell->setText(press.caption);
        label2_->setText(press.status);
    });
}

void FutureWindow::Command7_Click(int index) {
    runHandler([&] {
        const int aspect = index + 1;
        future::ResetTrendRow(model_, aspect);
        matrix_->clearRow(aspect);
        label2_->clear();
    });
}

void FutureWindow::Command8_Click(int index) {
    runHandler([&] {
        future::ResetTrendColumn(model_, index + 1);
        matrix_->clearColumn(index);
        label2_->clear();
    });
}

void FutureWindow::Command9_Click() {
    runHandler([&] {
        future::ResetAllTrends(model_);
        matrix_->clearAll();
        label2_->clear();
    });
}

void FutureWindow::Command10_Click() {
    runHandler([&] { GoToImpacts(); });
}

void FutureWindow::Label4_Click() {
    runHandler([&] { forms_.showImpacts(); });
}

void FutureWindow::GoToImpacts() {
    label2_->clear();
    label5_->clear();
    label6_->clear();
    forms_.showImpacts();
    if (const auto reading = future::ImpactReading(model_))
        forms_.impacts().setStatus(*reading);
}

void FutureWindow::Command11_Click() {
    runHandler([&] {
        if (!proposal::SaveAllowed(model_)) {
            label2_->setText(proposal::RefusalMessage());
            return;
        }
        // Reading the statement opens Impacts hidden when the user has closed it.
        const QString resolution = forms_.impacts().resolution();
        const QString text =
            proposal::StudyProposalText(model_, horizon(), resolution, proposal::TodayShortDate());
        QString error;
        if (!proposal::SaveStudyProposal(QStringLiteral("StudyProposal.txt"),
                                         proposal::ToWindows1252(text), &error))
            label2_->setText(proposal::FailureMessage(error));
    });
}

QString FutureWindow::horizon() const {
    return text1_->text();
}

void FutureWindow::paintCue(int aspect, int index) {
    matrix_->cell(aspect, index)->setFill(Qt::black);
}

} // namespace sp
