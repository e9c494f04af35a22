#include "futurewindow.h"

#include "chartview.h"
#include "clicklabel.h"
#include "controls.h"
#include "fonts.h"
#include "matrix.h"
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
    setObjectName(QStringLiteral("futureWindow"));
    QWidget *area = client();

    // Stacking follows creation: the picture lowest, the labels over it, buttons and the
    // text box on top. Among the controls that take the focus, creation order is the
    // focus order.
    auto *scaleChart = new ChartView(area);
    scaleChart->setObjectName(QStringLiteral("scaleChart"));
    scaleChart->setGeometry(pixels(Box{360, 720, 9840, 3975}));

    title_ = new ClickLabel(area);
    makeLabel(area, "horizonTitle", {360, 75, 4890, 615}, QStringLiteral("Probable future until"),
              {fonts::font(Face::Arial, 24.75, true), Grey}, title_);
    makeLabel(area, "horizonHint", {360, 1680, 1935, 255},
              QStringLiteral("Fill in you time horizon"),
              {this->font(), Grey, Qt::AlignLeft, true});
    const LabelLook blue{fonts::font(Face::MsSansSerif, 9.75, true), QColor(0, 0, 255)};
    matrixNote_ = makeLabel(area, "matrixNote", {4620, 4440, 6360, 255}, QString(),
                            {blue.font, blue.text, Qt::AlignRight});
    saveNote_ = makeLabel(area, "saveNote", {375, 7305, 1830, 1005}, QString(),
                          {blue.font, blue.text, Qt::AlignHCenter});
    status_ = makeLabel(area, "status", {2325, 7335, 8700, 855}, QString(),
                        {fonts::font(Face::Arial, 14.25, true), StatusText});
    makeLabel(area, "perspectives", {360, 8280, 11175, 255}, perspectivesCaption(),
              {fonts::font(Face::Arial, 12), Qt::black});

    matrix_ = new MatrixControls(area, {{375, 4740}, 390, 12});

    auto *goToImpactsButton = new QPushButton(QStringLiteral("Go to Impacts"), area);
    goToImpactsButton->setObjectName(QStringLiteral("goToImpacts"));
    goToImpactsButton->setGeometry(pixels(Box{375, 6870, 1815, 360}));
    goToImpactsButton->setFont(fonts::font(Face::Arial, 12));

    horizonEdit_ = new QLineEdit(area);
    horizonEdit_->setObjectName(QStringLiteral("horizonEdit"));
    horizonEdit_->setGeometry(pixels(Box{360, 630, 1935, 930}));
    // The font before the text: one layout, not two.
    horizonEdit_->setFont(fonts::font(Face::Arial, 42, true));
    horizonEdit_->setMaxLength(HorizonMaxLength);
    horizonEdit_->setText(model_.horizon);
    horizonEdit_->setAccessibleName(QStringLiteral("Time horizon"));
    QPalette textColours = horizonEdit_->palette();
    textColours.setColor(QPalette::Text, Grey);
    textColours.setColor(QPalette::Base, layout::Background);
    horizonEdit_->setPalette(textColours);

    auto *saveButton =
        new WrapButton(QStringLiteral(" Save as Study proposal.txt in current directory"), area);
    saveButton->setObjectName(QStringLiteral("saveProposal"));
    saveButton->setGeometry(pixels(Box{360, 7320, 1815, 975}));

    for (QPushButton *button : findChildren<QPushButton *>())
        button->setAutoDefault(false);

    connect(matrix_, &MatrixControls::cellMouseDown, this, &FutureWindow::onCellPressed);
    connect(matrix_, &MatrixControls::rowResetClicked, this, &FutureWindow::resetRow);
    connect(matrix_, &MatrixControls::columnClicked, this, &FutureWindow::resetColumn);
    connect(matrix_, &MatrixControls::resetAllClicked, this, &FutureWindow::resetAll);
    connect(goToImpactsButton, &QPushButton::clicked, this, &FutureWindow::goToImpacts);
    connect(saveButton, &QPushButton::clicked, this, &FutureWindow::saveClicked);
    connect(title_, &ClickLabel::clicked, this, &FutureWindow::onTitleClicked);
    connect(horizonEdit_, &QLineEdit::textChanged, this, [this](const QString &text) {
        const QStringView line = singleLineHorizon(text);
        if (line.size() != text.size())
            horizonEdit_->setText(line.toString()); // comes back here with the line
        else {
            model_.horizon = text;
            forms_.studyChanged();
        }
    });

    matrix_->cell(1, 0)->setFocus();
}

void FutureWindow::load() {
    initVocabulary(model_);
    showMarks();
}

// A window built while the model holds marks (reopened, or started from a saved study)
// shows them as the presses that made them would have.
void FutureWindow::showMarks() {
    for (int aspect = 1; aspect <= AspectCount; ++aspect)
        for (int index = 0; index < ScaleCount; ++index) {
            CellButton *cell = matrix_->cell(aspect, index);
            cell->setText(future::trendCaption(aspect, model_.futureGrid(aspect, index + 1)));
            cell->setFill(showsImpactCue(model_, aspect, index + 1) ? QColor(Qt::black)
                                                                    : layout::aspectColour(aspect));
        }
}

void FutureWindow::onCellPressed(int aspect, int index, int button) {
    runHandler([&] {
        if (button == CellButton::Right) {
            goToImpacts();
            return;
        }
        CellButton *cell = matrix_->cell(aspect, index);
        cell->setFill(layout::aspectColour(aspect)); // also lifts the black cue of Impacts
        const future::TrendPress press = future::stepTrend(model_, aspect, index);
        cell->setText(press.caption);
        status_->setText(press.status);
        forms_.studyChanged();
    });
}

void FutureWindow::resetRow(int index) {
    runHandler([&] {
        const int aspect = index + 1;
        future::resetTrendRow(model_, aspect);
        matrix_->clearRow(aspect);
        status_->clear();
        forms_.studyChanged();
    });
}

void FutureWindow::resetColumn(int index) {
    runHandler([&] {
        future::resetTrendColumn(model_, index + 1);
        matrix_->clearColumn(index);
        status_->clear();
        forms_.studyChanged();
    });
}

void FutureWindow::resetAll() {
    runHandler([&] {
        future::resetAllTrends(model_);
        matrix_->clearAll();
        status_->clear();
        forms_.studyChanged();
    });
}

void FutureWindow::onTitleClicked() {
    runHandler([&] { forms_.showImpacts(); });
}

void FutureWindow::goToImpacts() {
    runHandler([&] {
        status_->clear();
        matrixNote_->clear();
        saveNote_->clear();
        forms_.showImpacts();
        if (const auto reading = future::impactReading(model_))
            forms_.impacts().setStatus(*reading);
    });
}

void FutureWindow::paintCue(int aspect, int index) {
    matrix_->cell(aspect, index)->setFill(Qt::black);
}

void FutureWindow::setStatus(const QString &text) {
    status_->setText(text);
}

void FutureWindow::showStudy() {
    horizonEdit_->setText(model_.horizon);
    showMarks();
    status_->clear();
}

} // namespace sp
