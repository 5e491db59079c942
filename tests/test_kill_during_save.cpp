// The built program killed with SIGKILL while it saves: JOLV.INI is at every
// moment absent, the old complete file or the new complete file, and killed
// saves leave no temporary files piling up.

#include "support_files.h"

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

// Empty when the file is whole: 22 CR LF lines, the first WINDOWTOP, the
// last the cable section.
QString problemWith(const QByteArray& file)
{
    const QList<QByteArray> lines = file.split('\n');
    if (lines.size() != 23 || !lines.last().isEmpty())
        return QStringLiteral("%1 lines").arg(lines.size() - 1);
    for (qsizetype i = 0; i < 22; ++i)
        if (!lines[i].endsWith('\r') || !lines[i].contains('='))
            return QStringLiteral("line %1: %2").arg(i + 1).arg(QString::fromLatin1(lines[i]));
    if (!lines.first().startsWith("WINDOWTOP=") || !lines[21].startsWith("TCQ="))
        return QStringLiteral("keys out of order");
    return {};
}

QProcess* startProgram(const QString& configHome, QObject* parent)
{
    auto* program = new QProcess(parent);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    program->setProcessEnvironment(environment);
    program->start(QStringLiteral(JOLV_PROGRAM), {});
    return program;
}

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
        QProcess* undisturbed = startProgram(config.path(), this);
        QVERIFY(undisturbed->waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(catchesSignal(undisturbed->processId(), SIGTERM), 10000);
        QElapsedTimer closing;
        closing.start();
        ::kill(pid_t(undisturbed->processId()), SIGTERM);
        QVERIFY(undisturbed->waitForFinished(10000));
        const qint64 closeMicroseconds = closing.nsecsElapsed() / 1000;
        delete undisturbed;

        int killedBeforeSaving = 0;
        int newWritten = 0;
        for (int round = 0; round < rounds; ++round) {
            // Every other round starts without a file; the others from an old
            // one that the program never writes itself (it has a comment).
            const QByteArray oldFile = "* old\r\nRPM=" + QByteArray::number(round) + "\r\n";
            QFile::remove(iniPath);
            if (round % 2 == 1) {
                QFile old(iniPath);
                QVERIFY(old.open(QIODevice::WriteOnly) && old.write(oldFile) == oldFile.size());
            }

            QProcess* program = startProgram(config.path(), this);
            QVERIFY(program->waitForStarted());
            QTRY_VERIFY_WITH_TIMEOUT(catchesSignal(program->processId(), SIGTERM), 10000);
            ::kill(pid_t(program->processId()), SIGTERM);
            // From at once to a third past the undisturbed close, in 40 steps.
            QThread::usleep(static_cast<unsigned long>((round * 37) % 40 * closeMicroseconds / 30));
            ::kill(pid_t(program->processId()), SIGKILL);
            QVERIFY(program->waitForFinished(10000));
            delete program;

            QFile file(iniPath);
            if (!file.exists()) {
                QCOMPARE(round % 2, 0);
                ++killedBeforeSaving;
                continue;
            }
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray found = file.readAll();
            if (round % 2 == 1 && found == oldFile) {
                ++killedBeforeSaving;
                continue;
            }
            const QString problem = problemWith(found);
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
            QProcess* program = startProgram(config.path(), this);
            QVERIFY(program->waitForStarted());
            QTRY_VERIFY_WITH_TIMEOUT(catchesSignal(program->processId(), SIGTERM), 10000);
            ::kill(pid_t(program->processId()), SIGTERM);
            QVERIFY(program->waitForFinished(10000));
            delete program;
        }
        QVERIFY2(leftovers().isEmpty(), qPrintable(leftovers().join(u' ')));
    }
};

QTEST_GUILESS_MAIN(KillDuringSaveTest)
#include "test_kill_during_save.moc"
