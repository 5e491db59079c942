// SPDX-License-Identifier: GPL-3.0-or-later
// The built program's answers before any window: --help, --version, an
// argument it does not take and a start without a display each end it at
// once, write no file and open no window (an open window would keep it
// running past the wait).

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class ProgramStartTest : public QObject {
    Q_OBJECT

private slots:
    void endsWithoutWindow_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("environment"); // beside PATH, HOME and XDG_CONFIG_HOME
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("outputStart");
        QTest::addColumn<QString>("errors");

        const QStringList offscreen{"QT_QPA_PLATFORM=offscreen"};
        const QString version = QStringLiteral("jolv " JOLV_VERSION "\n");
        const QString usage = QStringLiteral("Usage: ");
        const QString noDisplay =
            QStringLiteral("jolv: no display: set DISPLAY or WAYLAND_DISPLAY\n");
        QTest::newRow("--version") << QStringList{"--version"} << offscreen << 0 << version << "";
        QTest::newRow("-v") << QStringList{"-v"} << offscreen << 0 << version << "";
        QTest::newRow("--help") << QStringList{"--help"} << offscreen << 0 << usage << "";
        QTest::newRow("Qt's own options")
            << QStringList{"-style=Fusion", "-platform", "xcb", "-reverse", "--version"}
            << offscreen << 0 << version << "";
        QTest::newRow("--version, no display")
            << QStringList{"--version"} << QStringList{} << 0 << version << "";
        QTest::newRow("no display") << QStringList{} << QStringList{} << 1 << "" << noDisplay;
        QTest::newRow("a display nobody serves")
            << QStringList{} << QStringList{"DISPLAY=:529"} << 1 << "" << noDisplay;
        QTest::newRow("a display nobody serves, Qt's reasons asked for")
            << QStringList{} << QStringList{"DISPLAY=:529", "QT_DEBUG_PLUGINS=1"} << 1 << ""
            << noDisplay;
        QTest::newRow("a Wayland display nobody serves")
            << QStringList{} << QStringList{"WAYLAND_DISPLAY=jolv-nowhere"} << 1 << "" << noDisplay;
        // Refused before the display is looked for, and before --help.
        const QString usageLine = QStringLiteral("\nUsage: " JOLV_PROGRAM " [options]\n");
        QTest::newRow("unknown option") << QStringList{"--bogus"} << offscreen << 2 << ""
                                        << "jolv: Unknown option 'bogus'." + usageLine;
        QTest::newRow("a file, no display") << QStringList{"foo"} << QStringList{} << 2 << ""
                                            << "jolv: Unexpected argument 'foo'." + usageLine;
        QTest::newRow("-h among others") << QStringList{"-h", "file.ini"} << offscreen << 2 << ""
                                         << "jolv: Unexpected argument 'file.ini'." + usageLine;
    }
    void endsWithoutWindow()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, environment);
        QFETCH(int, exitCode);
        QFETCH(QString, outputStart);
        QFETCH(QString, errors);

        QTemporaryDir home;
        QProcessEnvironment variables;
        variables.insert(QStringLiteral("PATH"), qEnvironmentVariable("PATH"));
        variables.insert(QStringLiteral("HOME"), home.path());
        variables.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path());
        for (const QString& variable : environment)
            variables.insert(variable.section(u'=', 0, 0), variable.section(u'=', 1));
        QProcess program;
        program.setProcessEnvironment(variables);
        program.start(QStringLiteral(JOLV_PROGRAM), arguments);

        QVERIFY(program.waitForFinished(10000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), exitCode);
        const QString output = QString::fromUtf8(program.readAllStandardOutput());
        QVERIFY2(outputStart.isEmpty() ? output.isEmpty() : output.startsWith(outputStart),
                 qPrintable(output));
        const QString said = QString::fromUtf8(program.readAllStandardError());
        // The program's own words come last and once. What a platform plugin
        // and the libraries below it say first depends on what the machine
        // has installed (libwayland: "XDG_RUNTIME_DIR is invalid"); with
        // Qt's debugging switch Qt's own reasons come first.
        const auto ours = [](const QString& text) { return text.count(QStringLiteral("jolv: ")); };
        if (errors.isEmpty())
            QCOMPARE(said, errors);
        else
            QVERIFY2(said.endsWith(errors) && ours(said) == ours(errors), qPrintable(said));
        if (environment.contains(QStringLiteral("QT_DEBUG_PLUGINS=1")))
            QVERIFY2(said.contains(QStringLiteral(":529")), qPrintable(said));
        QCOMPARE(
            QDir(home.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList());
    }
};

QTEST_GUILESS_MAIN(ProgramStartTest)
#include "test_program_start.moc"
