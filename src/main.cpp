// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/settings_platform.h"
#include "gui/main_window.h"

#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>
#include <optional>

#ifdef Q_OS_UNIX
#include "gui/close_on_signals.h"
#endif

namespace {

// True when Qt has somewhere to show the window: an X or Wayland display, or
// a platform named by QT_QPA_PLATFORM or -platform (offscreen, vnc, ...).
bool hasDisplay(bool platformArgument)
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    return platformArgument || !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
#else
    Q_UNUSED(platformArgument);
    return true;
#endif
}

// Answers --help and --version on the terminal, and refuses to start without
// a display, before QApplication exists: it would abort there with a
// misleading hint. Every other argument is left to QApplication, which
// ignores what it does not know. The exit status, or none to open the window.
std::optional<int> answerWithoutWindow(int argc, char* argv[])
{
    const QCoreApplication core(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "JOLV computes propeller speed and pitch, rotor blades and the battery, motor,\n"
        "gear and cable of electric drives for model aircraft and helicopters.\n"
        "The window is in German; its inputs are kept in $XDG_CONFIG_HOME/JOLV.INI\n"
        "(~/.config/JOLV.INI). See jolv(1)."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and exit."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the version and exit."));
    // Qt's own choice of platform, read here only to know that one is given.
    QCommandLineOption platform(QStringLiteral("platform"), QString(), QStringLiteral("name"));
    platform.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOptions({help, version, platform});
    // Qt's options take one dash (-platform); so may ours (-help).
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.parse(QCoreApplication::arguments()); // unknown options are no error

    if (parser.isSet(help)) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        return 0;
    }
    if (parser.isSet(version)) {
        std::puts("jolv " JOLV_VERSION);
        return 0;
    }
    if (!hasDisplay(parser.isSet(platform))) {
        std::fputs("jolv: no display: set DISPLAY or WAYLAND_DISPLAY\n", stderr);
        return 1;
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char* argv[])
{
    if (const std::optional<int> status = answerWithoutWindow(argc, argv))
        return *status;

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("JOLV"));
    QApplication::setDesktopFileName(QStringLiteral(JOLV_APP_ID));
    MainWindow window(settings_platform::settingsDirectory(),
                      settings_platform::earlierSettingsFiles());
#ifdef Q_OS_UNIX
    CloseOnSignals closeOnSignals(&window);
#endif
    window.show();
    return QApplication::exec();
}
