// SPDX-License-Identifier: GPL-3.0-or-later
// Starts a program and measures the time from its exec until its first
// top-level window is mapped on the X display, then its resident memory once
// shown. Prints "<milliseconds> <KiB>" and ends the program with SIGTERM.
// Usage: time_to_map PROGRAM [ARGS...]

#include <X11/Xlib.h>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

long residentKiB(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s PROGRAM [ARGS...]\n", argv[0]);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "no X display\n");
        return 2;
    }
    // Without a window manager, top-level windows are children of the root.
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    const auto started = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        // What the program prints must not mix with the figures.
        if (std::freopen("/dev/null", "w", stdout) == nullptr)
            _exit(126);
        execvp(argv[1], argv + 1);
        _exit(127);
    }

    // Wait for the map, but not for ever: a program that dies or never shows
    // a window ends the measurement with an error.
    constexpr auto patience = std::chrono::seconds(20);
    pollfd connection{ConnectionNumber(display), POLLIN, 0};
    bool seen = false;
    while (!seen) {
        if (waitpid(child, nullptr, WNOHANG) == child) {
            std::fprintf(stderr, "%s ended before it showed a window\n", argv[1]);
            return 1;
        }
        if (std::chrono::steady_clock::now() - started > patience) {
            std::fprintf(stderr, "%s showed no window in time\n", argv[1]);
            kill(child, SIGKILL);
            waitpid(child, nullptr, 0);
            return 1;
        }
        if (XPending(display) == 0 && poll(&connection, 1, 50) <= 0)
            continue;
        while (!seen && XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            seen = event.type == MapNotify && !event.xmap.override_redirect;
        }
    }
    const auto mapped = std::chrono::steady_clock::now();
    // Once shown: after the first paint has settled.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const long resident = residentKiB(child);

    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    XCloseDisplay(display);
    std::printf("%.1f %ld\n", std::chrono::duration<double, std::milli>(mapped - started).count(),
                resident);
    return 0;
}
