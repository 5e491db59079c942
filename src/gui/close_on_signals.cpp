// SPDX-License-Identifier: GPL-3.0-or-later
#include "close_on_signals.h"

#include <QSocketNotifier>
#include <QWidget>
#include <cerrno>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// [0] is written by the signal handler, [1] read by the event loop. Both stay
// open until the process ends, as the handlers stay installed.
int signalSockets[2] = {-1, -1};

constexpr int closingSignals[] = {SIGTERM, SIGINT, SIGHUP};

void onSignal(int)
{
    const int interruptedErrno = errno; // the interrupted code may be about to read it
    const char byte = 1;
    // Only async-signal-safe calls here; a full socket just drops the byte,
    // since one pending close is enough.
    [[maybe_unused]] const auto sent =
        ::send(signalSockets[0], &byte, sizeof byte, MSG_DONTWAIT | MSG_NOSIGNAL);
    errno = interruptedErrno;
}

} // namespace

CloseOnSignals::CloseOnSignals(QWidget* window)
    : window(window)
{
    if (signalSockets[0] < 0 &&
        ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, signalSockets) != 0)
        return; // no way to hear signals: they end the program as they would without us
    notifier = new QSocketNotifier(signalSockets[1], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &CloseOnSignals::closeWindow);

    // The handlers are never taken back: a signal that comes while the window
    // is closing or the program is ending (one of a storm) then only adds a
    // byte nobody reads, instead of killing the program before it exits.
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signalNumber : closingSignals) {
        struct sigaction previous {};
        sigaction(signalNumber, nullptr, &previous);
        // A signal the user chose to ignore (nohup) stays ignored.
        if (previous.sa_handler != SIG_IGN)
            sigaction(signalNumber, &action, nullptr);
    }
}

void CloseOnSignals::closeWindow()
{
    char bytes[16];
    while (::read(signalSockets[1], bytes, sizeof bytes) > 0) {
    }
    window->close();
}
