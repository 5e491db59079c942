// SPDX-License-Identifier: GPL-3.0-or-later
// The built program killed with SIGKILL while it saves: JOLV.INI is at every
// moment absent, the old complete file or the new complete file, and killed
// saves leave no temporary files piling up.

#include "support_unix.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <csignal>

namespace {

constexpr int rounds = 40;

} // namespace

class KillDuringSaveTest : public QObject {
    Q_OBJECT

private slots:
    void settingsFileIsNeverPartial()
    {
        QTemporaryDir config;
        const QString iniPath = config.filePath(QStringLiteral("JOLV.INI"));

        // How long an undisturbed close takes here, from SIGTERM to the end;
        // the kills are spread over that span and a third beyond.
        QProcess undisturbed;
        QVERIFY(startProgram(undisturbed, config.path()));
        QElapsedTimer closing;
        closing.start();
        ::kill(pid_t(undisturbed.processId()), SIGTERM);
        QVERIFY(undisturbed.waitForFinished(10000));
        const qint64 closeMicroseconds = closing.nsecsElapsed() / 1000;

        int killedBeforeSaving = 0;
        int newWritten = 0;
        for (int round = 0; round < rounds; ++round) {
            // Every other round starts without a file; the others from an old
            // one that the program never writes itself (it has a comment).
            const QByteArray oldFile = "* old\r\nRPM=" + QByteArray::number(round) + "\r\n";
            QFile::remove(iniPath);
            if (round % 2 == 1)
                QVERIFY(writeFile(iniPath, oldFile));

            QProcess program;
            QVERIFY(startProgram(program, config.path()));
            ::kill(pid_t(program.processId()), SIGTERM);
            // From at once to a third past the undisturbed close, in 40 steps.
            QThread::usleep(static_cast<unsigned long>((round * 37) % 40 * closeMicroseconds / 30));
            ::kill(pid_t(program.processId()), SIGKILL);
            QVERIFY(program.waitForFinished(10000));

            if (!QFile::exists(iniPath)) {
                QCOMPARE(round % 2, 0);
                ++killedBeforeSaving;
                continue;
            }
            const QByteArray found = fileBytes(iniPath);
            if (round % 2 == 1 && found == oldFile) {
                ++killedBeforeSaving;
                continue;
            }
            const QString problem = wholeFileProblem(found);
            QVERIFY2(problem.isEmpty(),
                     qPrintable(QStringLiteral("round %1: %2").arg(round).arg(problem)));
            ++newWritten;
        }
        qInfo("%d rounds over %lld us: killed before the save %d times, new file complete %d times",
              rounds, closeMicroseconds * 4 / 3, killedBeforeSaving, newWritten);
        // The delays must have caught the program on both sides of its save.
        QVERIFY(killedBeforeSaving > 0);
        QVERIFY(newWritten > 0);

        // A save killed half-way leaves its temporary file; the next save
        // removes those older than any save takes, so they cannot pile up.
        const auto leftovers = [&] {
            QStringList files = QDir(config.path()).entryList(QDir::Files | QDir::Hidden);
            files.removeAll(QStringLiteral("JOLV.INI"));
            return files;
        };
        if (!leftovers().isEmpty()) {
            QThread::sleep(6);
            QProcess program;
            QVERIFY(startProgram(program, config.path()));
            ::kill(pid_t(program.processId()), SIGTERM);
            QVERIFY(program.waitForFinished(10000));
        }
        QVERIFY2(leftovers().isEmpty(), qPrintable(leftovers().join(u' ')));
    }
};

QTEST_GUILESS_MAIN(KillDuringSaveTest)
#include "test_kill_during_save.moc"
