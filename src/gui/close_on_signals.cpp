// SPDX-License-Identifier: GPL-3.0-or-later
#include "close_on_signals.h"

#include <QSocketNotifier>
#include <QWidget>
#include <cerrno>
#include <csignal>
#include <iterator>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// [0] is written by the signal handler, [1] read by the event loop.
int signalSockets[2] = {-1, -1};

constexpr int closingSignals[] = {SIGTERM, SIGINT, SIGHUP};

// What each signal did before, restored when the window is gone.
struct sigaction previousActions[std::size(closingSignals)];

void onSignal(int)
{
    const int interruptedErrno = errno; // the interrupted code may be about to read it
    const char byte = 1;
    // Only async-signal-safe calls here; a full pipe just drops the byte,
    // since one pending close is enough.
    [[maybe_unused]] const auto written = ::write(signalSockets[0], &byte, sizeof byte);
    errno = interruptedErrno;
}

} // namespace

CloseOnSignals::CloseOnSignals(QWidget* window)
    : window(window)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, signalSockets) != 0)
        return; // no way to hear signals: they end the program as they would without us
    notifier = new QSocketNotifier(signalSockets[1], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &CloseOnSignals::closeWindow);

    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < std::size(closingSignals); ++i) {
        sigaction(closingSignals[i], nullptr, &previousActions[i]);
        // A signal the user chose to ignore (nohup) stays ignored.
        if (previousActions[i].sa_handler != SIG_IGN)
            sigaction(closingSignals[i], &action, nullptr);
    }
}

CloseOnSignals::~CloseOnSignals()
{
    if (!notifier)
        return;
    for (std::size_t i = 0; i < std::size(closingSignals); ++i)
        sigaction(closingSignals[i], &previousActions[i], nullptr);
    ::close(signalSockets[0]);
    ::close(signalSockets[1]);
    signalSockets[0] = signalSockets[1] = -1;
}

void CloseOnSignals::closeWindow()
{
    char bytes[16];
    while (::read(signalSockets[1], bytes, sizeof bytes) > 0) {
    }
    window->close();
}
