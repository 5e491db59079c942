// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the Unix-only suites share besides support.h: the built program
// started and watched for its signal handlers, and an unprivileged user.

#include "support.h"

#include <QProcess>
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

// True once process `pid` has a handler for `signalNumber` (Linux: SigCgt).
inline bool catchesSignal(qint64 pid, int signalNumber)
{
    for (const QByteArray& line : fileBytes(QStringLiteral("/proc/%1/status").arg(pid)).split('\n'))
        if (line.startsWith("SigCgt:"))
            return (line.mid(7).trimmed().toULongLong(nullptr, 16) >> (signalNumber - 1)) & 1;
    return false;
}

#ifdef JOLV_PROGRAM
#include <QDeadlineTimer>
#include <QThread>
#include <csignal>

// Starts the built program offscreen in a C locale, keeping its settings in
// `configHome`; true once it has started and will save on SIGTERM.
inline bool startProgram(QProcess& program, const QString& configHome)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(JOLV_PROGRAM), {});
    if (!program.waitForStarted())
        return false;
    const QDeadlineTimer deadline(10000);
    while (!catchesSignal(program.processId(), SIGTERM))
        if (deadline.hasExpired() || program.state() != QProcess::Running)
            return false;
        else
            QThread::msleep(5);
    return true;
}
#endif

constexpr uid_t unprivilegedUser = 65534; // nobody

// Hands a file or directory to that user when the test runs as root.
inline bool handToUnprivilegedUser(const QString& path)
{
    return ::geteuid() != 0 ||
           ::chown(QFile::encodeName(path).constData(), unprivilegedUser, unprivilegedUser) == 0;
}

// Runs `operation` in a child process as user and group `nobody` when the
// test runs as root, whom permission bits do not bind, so that a permission
// case runs in CI as well; as an ordinary user it runs directly. The files
// it touches must be reachable for that user (handToUnprivilegedUser).
inline bool asUnprivilegedUser(const std::function<bool()>& operation)
{
    if (::geteuid() != 0)
        return operation();
    const pid_t child = ::fork();
    if (child == 0) {
        const bool dropped = ::setgroups(0, nullptr) == 0 && ::setgid(unprivilegedUser) == 0 &&
                             ::setuid(unprivilegedUser) == 0;
        ::_exit(dropped && operation() ? 0 : 1);
    }
    int status = 0;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}
