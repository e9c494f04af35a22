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

// The classic desktop colour; the note under "Go to Future" only ever shows a blank in it.
const QColor Desktop(0, 128, 128);

} // namespace

ImpactsWindow::ImpactsWindow(Forms &forms)
    : FormWindow(QStringLiteral("Object and impact"), QStringLiteral("impacts"))
    , forms_(forms)
    , model_(forms.model()) {
    setObjectName(QStringLiteral("impactsWindow"));
    QWidget *area = client();

    auto *scaleChart = new ChartView(area);
    scaleChart->setObjectName(QStringLiteral("scaleChart"));
    scaleChart->setGeometry(pixels(Box{375, 690, 9840, 3975}));

    const QFont titleFont = fonts::font(Face::Arial, 24.75, true);
    for (int i = 0; i < 8; ++i) {
        const TitlePart &part = Title[i];
        const QByteArray name = "title_" + QByteArray::number(i);
        makeLabel(area, name.constData(), {part.left, 120, part.width, 615},
                  QString::fromLatin1(part.caption), {titleFont, QColor(part.colour)});
    }
    horizonLabel_ = makeLabel(area, "horizon", {390, 660, 1275, 675}, QString(),
                              {fonts::font(Face::Arial, 27.75, true), layout::Background});
    resolution_ =
        makeLabel(area, "resolution", {3435, 4455, 6855, 255}, QString(),
                  {fonts::font(Face::MsSansSerif, 9.75, true), QColor(0, 0, 192), Qt::AlignRight});
    switchNote_ =
        makeLabel(area, "switchNote", {420, 7230, 1785, 870}, QString(),
                  {fonts::font(Face::MsSansSerif, 9.75, true), Desktop, Qt::AlignHCenter});
    status_ = makeLabel(area, "status", {2325, 7335, 8685, 855}, QString(),
                        {fonts::font(Face::Arial, 14.25, true), QColor(64, 64, 64)});

    matrix_ = new MatrixControls(area, {{405, 4755}, 375, 9.75});

    auto *goToFutureButton = new QPushButton(QStringLiteral("Go to Future"), area);
    goToFutureButton->setObjectName(QStringLiteral("goToFuture"));
    goToFutureButton->setGeometry(pixels(Box{420, 6870, 1785, 360}));
    goToFutureButton->setFont(fonts::font(Face::Arial, 12));

    for (QPushButton *button : findChildren<QPushButton *>())
        button->setAutoDefault(false);

    connect(matrix_, &MatrixControls::cellMouseDown, this, &ImpactsWindow::onCellPressed);
    connect(matrix_, &MatrixControls::rowResetClicked, this, &ImpactsWindow::resetRow);
    connect(matrix_, &MatrixControls::columnClicked, this, &ImpactsWindow::resetColumn);
    connect(matrix_, &MatrixControls::resetAllClicked, this, &ImpactsWindow::resetAll);
    connect(goToFutureButton, &QPushButton::clicked, this, &ImpactsWindow::goToFuture);

    matrix_->cell(1, 0)->setFocus();
}

void ImpactsWindow::load() {
    horizonLabel_->setText(model_.horizon);
    initVocabulary(model_);
    model_.grainScale = 0;
    model_.frameScale = 0;
    showMarks();
}

// A window built while the model holds marks shows them.
void ImpactsWindow::showMarks() {
    resolution_->setText(impacts::updateResolution(model_));
    for (int aspect = 1; aspect <= AspectCount; ++aspect)
        for (int index = 0; index < ScaleCount; ++index)
            matrix_->setCaption(aspect, index,
                                impacts::impactCaption(model_.impactGrid(aspect, index + 1)));
}

void ImpactsWindow::showStudy() {
    horizonLabel_->setText(model_.horizon);
    showMarks();
    status_->clear();
}

void ImpactsWindow::onCellPressed(int aspect, int index, int button) {
    runHandler([&] {
        if (button == CellButton::Right) {
            goToFuture();
            return;
        }
        const impacts::ImpactPress press = impacts::advanceImpact(model_, aspect, index);
        matrix_->setCaption(aspect, index, press.caption);
        status_->setText(press.status);
        if (aspect == MassAspect)
            resolution_->setText(impacts::updateResolution(model_));
        if (press.paintCue)
            forms_.future().paintCue(aspect, index);
        forms_.studyChanged();
    });
}

void ImpactsWindow::resetRow(int index) {
    runHandler([&] {
        const int aspect = index + 1;
        impacts::resetImpactRow(model_, aspect);
        matrix_->clearRow(aspect);
        status_->clear();
        forms_.studyChanged();
    });
}

void ImpactsWindow::resetColumn(int index) {
    runHandler([&] {
        impacts::resetImpactColumn(model_, index + 1);
        matrix_->clearColumn(index);
        status_->clear();
        forms_.studyChanged();
    });
}

void ImpactsWindow::resetAll() {
    runHandler([&] {
        impacts::resetAllImpacts(model_);
        matrix_->clearAll();
        status_->clear();
        forms_.studyChanged();
    });
}

void ImpactsWindow::goToFuture() {
    runHandler([&] {
        switchNote_->setText(QStringLiteral(" "));
        status_->setText(QStringLiteral(" "));
        forms_.showFuture();
    });
}

void ImpactsWindow::setStatus(const QString &text) {
    status_->setText(text);
}

} // namespace sp
