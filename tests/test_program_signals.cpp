// SPDX-License-Identifier: GPL-3.0-or-later
// The built program, ended by a signal, saves its settings like a normal close.

#include "support_unix.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

namespace {

// True until process `pid` has ended (Linux: its state is not yet zombie).
bool stillRunning(pid_t pid)
{
    const QByteArray status = fileBytes(QStringLiteral("/proc/%1/stat").arg(pid));
    const qsizetype state = status.lastIndexOf(')') + 2; // after "pid (name) "
    return state > 1 && state < status.size() && status[state] != 'Z' && status[state] != 'X';
}

} // namespace

class ProgramSignalsTest : public QObject {
    Q_OBJECT

private slots:
    void signalSavesTheSettings_data()
    {
        QTest::addColumn<int>("signalNumber");
        QTest::newRow("SIGTERM") << SIGTERM;
        QTest::newRow("SIGINT") << SIGINT;
        QTest::newRow("SIGHUP") << SIGHUP;
    }
    void signalSavesTheSettings()
    {
        QFETCH(int, signalNumber);
        QTemporaryDir config;
        const QString iniPath = config.filePath(QStringLiteral("JOLV.INI"));
        QVERIFY(writeFile(iniPath, "RPM=4242\r\nINC=1\r\n"));

        QProcess program;
        QVERIFY(startProgram(program, config.path()));
        ::kill(pid_t(program.processId()), signalNumber);
        QVERIFY(program.waitForFinished(10000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);

        const QByteArray saved = fileBytes(iniPath);
        QCOMPARE(wholeFileProblem(saved), QString());
        for (const char* line : {"\nRPM=4242\r", "\nINC=1\r", "\nTCQ=2.5\r"})
            QVERIFY2(saved.contains(line), line + 1);
        QCOMPARE(QDir(config.path()).entryList(QDir::Files), QStringList{"JOLV.INI"});
    }

    // Root running with a user's settings folder (sudo -E) follows the
    // user's link only to the user's own file: neither a link to root's file
    // at start nor one pointed there while the window is open has it written.
    void rootFollowsNoUsersLinkToAFileNotTheirs_data()
    {
        QTest::addColumn<bool>("repointedWhileOpen");
        QTest::newRow("linked at start") << false;
        QTest::newRow("repointed while open") << true;
    }
    void rootFollowsNoUsersLinkToAFileNotTheirs()
    {
        QFETCH(bool, repointedWhileOpen);
        if (::geteuid() != 0)
            QSKIP("needs root");
        QTemporaryDir config;
        const QByteArray link = QFile::encodeName(config.filePath(QStringLiteral("JOLV.INI")));
        const QString usersFile = config.filePath(QStringLiteral("users.ini"));
        const QString systemFile = config.filePath(QStringLiteral("shadow"));
        QVERIFY(writeFile(systemFile, "root:secret\n") && writeFile(usersFile, "RPM=4242\r\n") &&
                handToUnprivilegedUser(usersFile));
        const auto linkTo = [&](const char* target) {
            ::unlink(link.constData());
            return ::symlink(target, link.constData()) == 0 &&
                   ::lchown(link.constData(), unprivilegedUser, unprivilegedUser) == 0;
        };
        QVERIFY(linkTo(repointedWhileOpen ? "users.ini" : "shadow"));

        QProcess program;
        QVERIFY(startProgram(program, config.path()));
        if (repointedWhileOpen)
            QVERIFY(linkTo("shadow"));
        ::kill(pid_t(program.processId()), SIGTERM);
        QVERIFY(program.waitForFinished(10000));
        QCOMPARE(program.exitCode(), 0);
        QCOMPARE(fileBytes(systemFile), QByteArray("root:secret\n"));
        QCOMPARE(fileBytes(usersFile), QByteArray("RPM=4242\r\n"));
        QCOMPARE(QFile::symLinkTarget(QFile::decodeName(link)), systemFile);
    }

    // SIGTERM after SIGTERM until the program has ended: the first closes
    // the window, and none of the others may end the program before it exits.
    void signalStormEndsInANormalExit()
    {
        for (int round = 0; round < 5; ++round) {
            QTemporaryDir config;
            QProcess program;
            QVERIFY(startProgram(program, config.path()));
            const auto pid = pid_t(program.processId());
            const QDeadlineTimer deadline(10000);
            while (stillRunning(pid) && !deadline.hasExpired())
                for (int i = 0; i < 100; ++i)
                    ::kill(pid, SIGTERM);
            QVERIFY(program.waitForFinished(10000));
            QCOMPARE(program.exitStatus(), QProcess::NormalExit);
            QCOMPARE(program.exitCode(), 0);
            QCOMPARE(wholeFileProblem(fileBytes(config.filePath(QStringLiteral("JOLV.INI")))),
                     QString());
        }
    }

    // Started under nohup, the program keeps ignoring the hang-up.
    void ignoredHangUpStaysIgnored()
    {
        QTemporaryDir config;
        QProcess program;
        program.setChildProcessModifier([] { std::signal(SIGHUP, SIG_IGN); });
        QVERIFY(startProgram(program, config.path()));
        QVERIFY(!catchesSignal(program.processId(), SIGHUP));

        ::kill(pid_t(program.processId()), SIGHUP);
        QVERIFY(!program.waitForFinished(300));
        ::kill(pid_t(program.processId()), SIGTERM);
        QVERIFY(program.waitForFinished(10000));
        QCOMPARE(program.exitCode(), 0);
        QVERIFY(QFile::exists(config.filePath(QStringLiteral("JOLV.INI"))));
    }
};

QTEST_GUILESS_MAIN(ProgramSignalsTest)
#include "test_program_signals.moc"
