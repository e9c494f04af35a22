// Start-up as a user meets it: from the spawn of a program until its window "Future" is
// mapped and viewable on the X server, under whatever window manager and session bus the
// environment has. The program and a baseline (a bare Qt window of the same size and caption;
// the same with text; the same widgets as the program's in plain Qt) are started in turn, pair
// after pair, so that both meet the same state of the machine.
//
//   bench_mapped PAIRS PROGRAM BASELINE...
#include "stats.h"

#include <xcb/xcb.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

extern char **environ;

namespace {

using Clock = std::chrono::steady_clock;

template <typename T> using Reply = std::unique_ptr<T, decltype(&std::free)>;

class Display {
public:
    Display() {
        connection_ = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(connection_)) {
            std::fputs("bench_mapped: no X server (DISPLAY)\n", stderr);
            std::exit(1);
        }
        root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(connection_, root_, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(connection_);
    }
    ~Display() { xcb_disconnect(connection_); }

    // Waits until a window named `title` is viewable: a window manager's frame and the
    // program's window inside it may be mapped in either order, so after every event from the
    // root, and at least every millisecond, the tree is looked through. False after `limit`.
    bool waitForViewable(const char *title, std::chrono::milliseconds limit) {
        const auto deadline = Clock::now() + limit;
        pollfd descriptor{xcb_get_file_descriptor(connection_), POLLIN, 0};
        while (Clock::now() < deadline) {
            drain();
            if (holds(root_, title, 3))
                return true;
            poll(&descriptor, 1, 1);
        }
        return false;
    }

    void drain() {
        while (Reply<xcb_generic_event_t>(xcb_poll_for_event(connection_), &std::free))
            ;
        if (xcb_connection_has_error(connection_)) {
            std::fputs("bench_mapped: the X server went away\n", stderr);
            std::exit(1);
        }
    }

private:
    bool holds(xcb_window_t window, const char *title, int depth) {
        Reply<xcb_get_window_attributes_reply_t> attributes(
            xcb_get_window_attributes_reply(
                connection_, xcb_get_window_attributes(connection_, window), nullptr),
            &std::free);
        if (!attributes || attributes->map_state != XCB_MAP_STATE_VIEWABLE)
            return false;
        Reply<xcb_get_property_reply_t> name(
            xcb_get_property_reply(connection_,
                                   xcb_get_property(connection_, 0, window, XCB_ATOM_WM_NAME,
                                                    XCB_GET_PROPERTY_TYPE_ANY, 0, 256),
                                   nullptr),
            &std::free);
        if (name && xcb_get_property_value_length(name.get()) == int(std::strlen(title)) &&
            std::memcmp(xcb_get_property_value(name.get()), title, std::strlen(title)) == 0)
            return true;
        if (depth == 0)
            return false;
        Reply<xcb_query_tree_reply_t> tree(
            xcb_query_tree_reply(connection_, xcb_query_tree(connection_, window), nullptr),
            &std::free);
        if (!tree)
            return false;
        const xcb_window_t *children = xcb_query_tree_children(tree.get());
        for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i)
            if (holds(children[i], title, depth - 1))
                return true;
        return false;
    }

    xcb_connection_t *connection_;
    xcb_window_t root_;
};

// Milliseconds from the spawn of `program` to its window "Future" being viewable.
double timeToViewable(Display &display, const char *program) {
    display.drain();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const char *argv[] = {program, nullptr};
    const auto start = Clock::now();
    pid_t pid;
    if (posix_spawn(&pid, program, &actions, nullptr, const_cast<char **>(argv), environ) != 0) {
        std::fprintf(stderr, "bench_mapped: cannot start %s\n", program);
        std::exit(1);
    }
    posix_spawn_file_actions_destroy(&actions);
    const bool shown = display.waitForViewable("Future", std::chrono::seconds(20));
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    if (!shown) {
        std::fprintf(stderr, "bench_mapped: %s showed no window \"Future\" in 20 s\n", program);
        std::exit(1);
    }
    return ms;
}

} // namespace

// The program against each baseline in turn, in alternating pairs.
int main(int argc, char *argv[]) {
    if (argc < 4) {
        std::fputs("usage: bench_mapped PAIRS PROGRAM BASELINE...\n", stderr);
        return 2;
    }
    const int pairs = std::atoi(argv[1]);
    Display display;
    // Warm the file cache for all.
    for (int i = 2; i < argc; ++i)
        timeToViewable(display, argv[i]);
    for (int baseline = 3; baseline < argc; ++baseline) {
        std::vector<double> program, bare, ratios;
        for (int i = 0; i < pairs; ++i) {
            // In turn which goes first, so neither always meets what the other left behind.
            const bool programFirst = i % 2 == 0;
            const double first = timeToViewable(display, programFirst ? argv[2] : argv[baseline]);
            const double second = timeToViewable(display, programFirst ? argv[baseline] : argv[2]);
            program.push_back(programFirst ? first : second);
            bare.push_back(programFirst ? second : first);
            ratios.push_back(program.back() / bare.back());
        }
        const std::string name = std::filesystem::path(argv[baseline]).filename().string();
        std::printf("Start-up to mapped window, %d alternating pairs against %s\n", pairs,
                    name.c_str());
        sp::bench::print((name + ": spawn to mapped").c_str(), sp::bench::summarize(bare), "ms");
        sp::bench::print("Future: spawn to mapped", sp::bench::summarize(program), "ms");
        sp::bench::printRatio("Future start-up (medians)", sp::bench::summarize(program),
                              sp::bench::summarize(bare));
        std::printf("%-44s %.2fx\n", "median of the pairs' ratios",
                    sp::bench::summarize(ratios).median);
    }
    return 0;
}
