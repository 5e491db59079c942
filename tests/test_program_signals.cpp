// The built program, ended by a signal, saves its settings like a normal close.

#include "support_files.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>

namespace {

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
        {
            QFile stored(iniPath);
            QVERIFY(stored.open(QIODevice::WriteOnly));
            stored.write("RPM=4242\r\nINC=1\r\n");
        }

        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(JOLV_PROGRAM), {});
        QVERIFY(program.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(catchesSignal(program.processId(), signalNumber), 10000);

        ::kill(pid_t(program.processId()), signalNumber);
        QVERIFY(program.waitForFinished(10000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);

        QFile saved(iniPath);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = saved.readAll().split('\n');
        QCOMPARE(lines.size(), 23);
        QCOMPARE(lines[2], QByteArray("RPM=4242\r"));
        QCOMPARE(lines[6], QByteArray("INC=1\r"));
        QCOMPARE(lines[21], QByteArray("TCQ=2.5\r"));
        QCOMPARE(QDir(config.path()).entryList(QDir::Files), QStringList{"JOLV.INI"});
    }

    // Started under nohup, the program keeps ignoring the hang-up.
    void ignoredHangUpStaysIgnored()
    {
        QTemporaryDir config;
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        program.setProcessEnvironment(environment);
        program.setChildProcessModifier([] { std::signal(SIGHUP, SIG_IGN); });
        program.start(QStringLiteral(JOLV_PROGRAM), {});
        QVERIFY(program.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(catchesSignal(program.processId(), SIGTERM), 10000);
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
