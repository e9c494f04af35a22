#include "impactswindow.h"

#include "chartview.h"
#include "controls.h"
#include "fonts.h"
#include "impactmarking.h"
#include "matrix.h"

#include <QLabel>
#include <QPushButton>

namespace sp {

using fonts::Face;
using layout::Box;
using layout::pixels;

namespace {

// The title "Object and Impact", the last word a letter at a time, each in its colour.
struct TitlePart {
    const char *caption;
    int left, width; // twips
    QRgb colour;
};
const TitlePart Title[8] = {
    {"Object", 360, 1695, qRgb(0, 0, 192)}, {"and", 2040, 975, qRgb(128, 128, 128)},
    {"I", 3000, 135, qRgb(255, 0, 0)},      {"m", 3150, 435, qRgb(255, 128, 0)},
    {"p", 3600, 285, qRgb(255, 192, 128)},  {"a", 3915, 255, qRgb(255, 255, 128)},
    {"c", 4200, 255, qRgb(0, 192, 0)},      {"t", 4485, 255, qRgb(0, 0, 192)},
};

// The classic desktop colour; Label6 only ever shows a blank in it.
const QColor Desktop(0, 128, 128);

} // namespace

ImpactsWindow::ImpactsWindow(Forms &forms)
    : FormWindow(QStringLiteral("Object and impact"), QStringLiteral("impacts"))
    , forms_(forms)
    , model_(forms.model()) {
    setObjectName(QStringLiteral("Impacts"));

    auto *image1 = new ChartView(this);
    image1->setObjectName(QStringLiteral("Image1"));
    image1->setGeometry(pixels(Box{375, 690, 9840, 3975}));

    const QFont titleFont = fonts::font(Face::Arial, 24.75, true);
    for (int i = 0; i < 8; ++i) {
        const TitlePart &part = Title[i];
        const QByteArray name = "Label4_" + QByteArray::number(i);
        makeLabel(this, name.constData(), {part.left, 120, part.width, 615},
                  QString::fromLatin1(part.caption), {titleFont, QColor(part.colour)});
    }
    label3_ = makeLabel(this, "Label3", {390, 660, 1275, 675}, QString(),
                        {fonts::font(Face::Arial, 27.75, true), layout::Background});
    label5_ =
        makeLabel(this, "Label5", {3435, 4455, 6855, 255}, QString(),
                  {fonts::font(Face::MsSansSerif, 9.75, true), QColor(0, 0, 192), Qt::AlignRight});
    label6_ = makeLabel(this, "Label6", {420, 7230, 1785, 870}, QString(),
                        {fonts::font(Face::MsSansSerif, 9.75, true), Desktop, Qt::AlignHCenter});
    label2_ = makeLabel(this, "Label2", {2325, 7335, 8685, 855}, QString(),
                        {fonts::font(Face::Arial, 14.25, true), QColor(64, 64, 64)});

    matrix_ = new MatrixControls(this, {{405, 4755}, 375, 9.75});

    auto *command11 = new QPushButton(QStringLiteral("Go to Future"), this);
    command11->setObjectName(QStringLiteral("Command11"));
    command11->setGeometry(pixels(Box{420, 6870, 1785, 360}));
    command11->setFont(fonts::font(Face::Arial, 12));

    for (QPushButton *button : findChildren<QPushButton *>())
        button->setAutoDefault(false);

    connect(matrix_, &MatrixControls::cellMouseDown, this, &ImpactsWindow::Command_MouseDown);
    connect(matrix_, &MatrixControls::rowResetClicked, this, &ImpactsWindow::Command7_Click);
    connect(matrix_, &MatrixControls::columnClicked, this, &ImpactsWindow::Command8_Click);
    connect(matrix_, &MatrixControls::resetAllClicked, this, &ImpactsWindow::Command9_Click);
    connect(command11, &QPushButton::clicked, this, &ImpactsWindow::Command11_Click);

    matrix_->cell(1, 0)->setFocus();
}

void ImpactsWindow::Form_Load() {
    label3_->setText(forms_.future().horizon());
    InitVocabulary(model_);
    model_.GrainScale = 0;
    model_.FrameScale = 0;
    label5_->setText(impacts::UpdateResolution(model_));
}

void ImpactsWindow::Command_MouseDown(int array, int index, int button) {
    runHandler([&] {
        if (button == CellButton::Right) {
            GoToFuture();
            return;
        }
        const impacts::ImpactPress press = impacts::AdvanceImpact(model_, array, index);
        matrix_->setCaption(array, index, press.caption);
        label2_->setText(press.status);
        if (array == MassAspect)
            label5_->setText(impacts::UpdateResolution(model_));
        if (press.paintCue)
            forms_.future().paintCue(array, index);
    });
}

void ImpactsWindow::Command7_Click(int index) {
    runHandler([&] {
        const int aspect = index + 1;
        impacts::ResetImpactRow(model_, aspect);
        matrix_->clearRow(aspect);
        label2_->clear();
    });
}

void ImpactsWindow::Command8_Click(int index) {
    runHandler([&] {
        impacts::ResetImpactColumn(model_, index + 1);
        matrix_->clearColumn(index);
        label2_->clear();
    });
}

void ImpactsWindow::Command9_Click() {
    runHandler([&] {
        impacts::ResetAllImpacts(model_);
        matrix_->clearAll();
        label2_->clear();
    });
}

void ImpactsWindow::Command11_Click() {
    runHandler([&] { GoToFuture(); });
}

void ImpactsWindow::GoToFuture() {
    label6_->setText(QStringLiteral(" "));
    label2_->setText(QStringLiteral(" "));
    forms_.showFuture();
}

QString ImpactsWindow::resolution() const {
    return label5_->text();
}
void ImpactsWindow::setStatus(const QString &text) {
    label2_->setText(text);
}

} // namespace sp
