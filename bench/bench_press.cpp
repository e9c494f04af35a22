// A press on a cell until its caption, the status line and the window are repainted, for
// both windows, against a bare window whose button writes a label.
#include "application.h"
#include "matrix.h"
#include "stats.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace sp;

namespace {

constexpr int Warmup = 200;
constexpr int Samples = 3000;

// Microseconds of one press and release and the repaint it causes.
template <typename Press> bench::Summary time(Press press) {
    std::vector<double> samples;
    samples.reserve(Samples);
    for (int i = 0; i < Warmup + Samples; ++i) {
        QElapsedTimer timer;
        timer.start();
        press(i);
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        if (i >= Warmup)
            samples.push_back(timer.nsecsElapsed() / 1000.0);
    }
    return bench::summarize(std::move(samples));
}

void click(QWidget *widget, Qt::MouseButton button) {
    QTest::mousePress(widget, button);
    QTest::mouseRelease(widget, button);
}

} // namespace

int main(int argc, char *argv[]) {
    QApplication qapp(argc, argv);
    std::printf("Press to repaint, %d presses each, platform %s\n", Samples,
                qPrintable(QGuiApplication::platformName()));

    QWidget bare;
    bare.resize(762, 568);
    auto *label = new QLabel(&bare);
    label->setGeometry(155, 489, 580, 57);
    auto *button = new QPushButton(&bare);
    button->setGeometry(157, 313, 25, 25);
    QObject::connect(button, &QPushButton::clicked, label, [label] {
        label->setText(label->text() == QLatin1String("a") ? QStringLiteral("b")
                                                           : QStringLiteral("a"));
    });
    bare.show();
    (void)QTest::qWaitForWindowExposed(&bare);
    const bench::Summary baseline = time([&](int) { click(button, Qt::LeftButton); });
    bare.hide();
    bench::print("bare window: click writes a label", baseline, "us");

    Application app;
    app.start();
    (void)QTest::qWaitForWindowExposed(app.futureWindow());
    MatrixControls &future = app.futureWindow()->matrix();
    const bench::Summary futurePress =
        time([&](int i) { click(future.cell(1 + i % 6, (i / 6) % 22), Qt::LeftButton); });
    bench::print("Future: press steps a trend", futurePress, "us");
    bench::printRatio("Future press", futurePress, baseline);

    app.showImpacts();
    (void)QTest::qWaitForWindowExposed(app.impactsWindow());
    app.futureWindow()->show(); // both visible, so the black cue repaints too
    app.impactsWindow()->raise();
    click(app.futureWindow()->matrix().resetAll(), Qt::LeftButton);
    MatrixControls &impacts = app.impactsWindow()->matrix();
    const bench::Summary impactsPress =
        time([&](int i) { click(impacts.cell(1 + i % 5, (i / 5) % 22), Qt::LeftButton); });
    bench::print("Impacts: press with black cue in Future", impactsPress, "us");
    bench::printRatio("Impacts press", impactsPress, baseline);
    const bench::Summary massPress =
        time([&](int i) { click(impacts.cell(MassAspect, i % 22), Qt::LeftButton); });
    bench::print("Impacts: mass-row press and resolution", massPress, "us");
    bench::printRatio("Impacts mass-row press", massPress, baseline);
    return 0;
}
