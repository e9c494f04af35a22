// The program ends when its last visible window closes; a hidden one does not keep it alive.
#include "gui.h"

#include <QTimer>

using namespace sp;
using namespace sp::test;

class TestLastWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void closingTheOnlyWindowEnds();
    void closingFutureWithImpactsOpenKeepsRunning();
    void hiddenWindowDoesNotKeepTheProgramAlive();

private:
    // Runs the event loop with the given steps queued; true when it ended by itself.
    static bool runEnds(const std::function<void()> &steps);
};

bool TestLastWindow::runEnds(const std::function<void()> &steps) {
    bool timedOut = false;
    QTimer::singleShot(0, steps);
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [&] {
        timedOut = true;
        QCoreApplication::exit(1);
    });
    guard.start(3000);
    const int code = QCoreApplication::exec();
    return !timedOut && code == 0;
}

void TestLastWindow::closingTheOnlyWindowEnds() {
    Application app;
    app.start();
    QVERIFY(runEnds([&] { app.futureWindow()->close(); }));
}

void TestLastWindow::closingFutureWithImpactsOpenKeepsRunning() {
    Application app;
    app.start();
    bool stillRunning = false;
    QVERIFY(runEnds([&] {
        click(button(app.futureWindow(), "goToImpacts"));
        app.futureWindow()->close();
        QTimer::singleShot(200, [&] {
            stillRunning =
                app.impactsWindow() && app.impactsWindow()->isVisible() && !app.futureWindow();
            app.impactsWindow()->close();
        });
    }));
    QVERIFY(stillRunning);
}

void TestLastWindow::hiddenWindowDoesNotKeepTheProgramAlive() {
    Application app;
    app.start();
    QVERIFY(runEnds([&] {
        app.impacts(); // opened hidden, as a read of one of its labels does
        QVERIFY(app.impactsWindow() && !app.impactsWindow()->isVisible());
        app.futureWindow()->close();
    }));
}

QTEST_MAIN(TestLastWindow)
#include "tst_lastwindow.moc"
