// Start-up to the first painted frame and peak memory, the program against a bare Qt window
// of the same size and against the same widgets in plain Qt. The driver starts itself as a
// child in each mode, many times, and times from the spawn to the child's word that its window
// has painted.
#include "application.h"
#include "fonts.h"
#include "same_window.h"
#include "stats.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QTimer>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <string>

extern char **environ;

using namespace sp;

namespace {

// Peak resident memory of this process, in KiB.
long peakResidentKiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

// Reports once, after the widget's first paint has been handled.
class FirstPaint : public QObject {
public:
    FirstPaint(QWidget *widget, int fd, int waitFor = 1)
        : fd_(fd)
        , left_(waitFor) {
        widget->installEventFilter(this);
    }
    void watch(QWidget *widget) { widget->installEventFilter(this); }

protected:
    bool eventFilter(QObject *object, QEvent *event) override {
        if (event->type() == QEvent::Paint) {
            object->removeEventFilter(this);
            if (--left_ == 0)
                QTimer::singleShot(0, [this] {
                    const std::string peak = std::to_string(peakResidentKiB()) + "\n";
                    (void)!write(fd_, peak.data(), peak.size());
                    QCoreApplication::exit(0);
                });
        }
        return false;
    }

private:
    int fd_;
    int left_;
};

// A window with labels in the given families, to see what a missing family costs.
void addLabels(QWidget *window, const QString &sans, const QString &arial) {
    for (int i = 0; i < 8; ++i) {
        auto *label = new QLabel(QStringLiteral("Probable future until"), window);
        QFont font(i % 2 ? sans : arial);
        font.setPointSizeF(8.25 + i);
        label->setFont(font);
        label->setGeometry(10, 10 + 40 * i, 700, 40);
    }
}

int child(const std::string &mode, int fd) {
    int argc = 1;
    char name[] = "bench_startup";
    char *argv[] = {name, nullptr};
    QApplication qapp(argc, argv);
    if (mode == "app" || mode == "app-both") {
        Application app;
        app.start();
        FirstPaint report(app.futureWindow(), fd, mode == "app-both" ? 2 : 1);
        if (mode == "app-both") {
            app.showImpacts();
            report.watch(app.impactsWindow());
        }
        return qapp.exec();
    }
    if (mode == "same") {
        QMainWindow window;
        bench::buildSameWindow(window);
        FirstPaint report(&window, fd);
        window.show();
        return qapp.exec();
    }
    QWidget window;
    window.resize(762, 568);
    if (mode == "fonts-missing")
        addLabels(&window, QStringLiteral("MS Sans Serif"), QStringLiteral("Arial"));
    else if (mode == "fonts-mapped")
        addLabels(&window, fonts::family(fonts::Face::MsSansSerif),
                  fonts::family(fonts::Face::Arial));
    FirstPaint report(&window, fd);
    window.show();
    return qapp.exec();
}

struct Run {
    double ms;
    long peakKiB;
};

Run spawnChild(const char *self, const std::string &mode) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        std::exit(1);
    const std::string fd = std::to_string(pipeFds[1]);
    const char *argv[] = {self, "--child", mode.c_str(), fd.c_str(), nullptr};
    QElapsedTimer timer;
    timer.start();
    // The child's warnings would drown the figures.
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid;
    const int spawned =
        posix_spawn(&pid, self, &actions, nullptr, const_cast<char **>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        std::exit(1);
    close(pipeFds[1]);
    char buffer[64] = {};
    const ssize_t got = read(pipeFds[0], buffer, sizeof buffer - 1);
    const double ms = timer.nsecsElapsed() / 1e6;
    close(pipeFds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (got <= 0) {
        std::fprintf(stderr, "child %s gave no report\n", mode.c_str());
        std::exit(1);
    }
    return {ms, std::atol(buffer)};
}

} // namespace

int main(int argc, char *argv[]) {
    if (argc == 4 && std::strcmp(argv[1], "--child") == 0)
        return child(argv[2], std::atoi(argv[3]));
    const int runs = argc > 1 ? std::atoi(argv[1]) : 15;
    const char *platform = std::getenv("QT_QPA_PLATFORM");
    std::printf("Start-up to first painted frame, %d runs each, platform %s\n", runs,
                platform ? platform : "(default)");

    const char *modes[] = {"bare", "app", "app-both", "fonts-missing", "fonts-mapped", "same"};
    bench::Summary time[6], memory[6];
    for (int m = 0; m < 6; ++m) {
        std::vector<double> ms, kib;
        spawnChild(argv[0], modes[m]); // warm the file cache
        for (int i = 0; i < runs; ++i) {
            const Run run = spawnChild(argv[0], modes[m]);
            ms.push_back(run.ms);
            kib.push_back(run.peakKiB / 1024.0);
        }
        time[m] = bench::summarize(ms);
        memory[m] = bench::summarize(kib);
    }
    bench::print("bare window: start to first frame", time[0], "ms");
    bench::print("Future: start to first frame", time[1], "ms");
    bench::printRatio("Future start-up", time[1], time[0]);
    // Any window that shows text first starts fontconfig; this baseline pays that too.
    bench::printRatio("Future start-up against a window with text", time[1], time[4]);
    bench::print("Future's widgets in plain Qt", time[5], "ms");
    bench::printRatio("Future start-up against its widgets", time[1], time[5]);
    bench::print("labels in missing Arial/MS Sans Serif", time[3], "ms");
    bench::print("labels in the mapped families", time[4], "ms");
    bench::printRatio("missing families", time[3], time[4]);
    bench::print("bare window: peak resident memory", memory[0], "MiB");
    bench::print("both windows open: peak resident memory", memory[2], "MiB");
    bench::printRatio("peak memory", memory[2], memory[0]);
    return 0;
}
