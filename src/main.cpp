// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/settings_platform.h"
#include "gui/main_window.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QList>
#include <QThread>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <utility>

#ifdef Q_OS_UNIX
#include "gui/close_on_signals.h"
#endif

namespace {

constexpr char noDisplayMessage[] = "jolv: no display: set DISPLAY or WAYLAND_DISPLAY\n";
// As getopt's users do, apart from 1 (no display).
constexpr int usageErrorStatus = 2;

// The options QApplication and its platform plugins take out of the
// arguments themselves (-platform NAME, -style=NAME, -reverse): no unknown
// options. Those of the first list take a value.
// clang-format off
constexpr const char* qtOptionsWithValue[] = {
    "platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry", "geometry",
    "qwindowtitle", "title", "qwindowicon", "icon", "display", "name", "visual", "session",
    "style", "stylesheet", "qmljsdebugger"};
// clang-format on
constexpr const char* qtFlags[] = {"reverse", "testability", "widgetcount", "nograb", "dograb"};

void addQtOptions(QCommandLineParser& parser)
{
    const auto add = [&parser](const char* name, const QString& valueName) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), valueName);
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    };
    for (const char* name : qtOptionsWithValue)
        add(name, QStringLiteral("value"));
    for (const char* name : qtFlags)
        add(name, QString());
}

// What is wrong with the arguments, or nothing: the program takes no file or
// other argument, and no option beyond its own and Qt's.
std::optional<QString> argumentProblem(const QCommandLineParser& parser, bool parsed)
{
    if (!parsed)
        return parser.errorText();
    if (!parser.positionalArguments().isEmpty())
        return QStringLiteral("Unexpected argument '%1'.")
            .arg(parser.positionalArguments().first());
    return std::nullopt;
}

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

// Refuses arguments it does not know, answers --help and --version on the
// terminal, and refuses to start without a display, before QApplication
// exists: it would abort there with a misleading hint. Qt's own options are
// left to QApplication. The exit status, or none to open the window.
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
    parser.addOptions({help, version});
    addQtOptions(parser);
    // Qt's options take one dash (-platform); so may ours (-help).
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const bool parsed = parser.parse(QCoreApplication::arguments());

    if (const std::optional<QString> problem = argumentProblem(parser, parsed)) {
        std::fprintf(stderr, "jolv: %s\n%s\n", qPrintable(*problem),
                     qPrintable(parser.helpText().section(u'\n', 0, 0)));
        return usageErrorStatus;
    }

    if (parser.isSet(help)) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        return 0;
    }
    if (parser.isSet(version)) {
        std::puts("jolv " JOLV_VERSION);
        return 0;
    }
    // Qt's own choice of platform, read here only to know that one is given.
    if (!hasDisplay(parser.isSet(QStringLiteral("platform")))) {
        std::fputs(noDisplayMessage, stderr);
        return 1;
    }
    return std::nullopt;
}

// A message of Qt's, kept with copies of where it came from.
struct HeldMessage {
    QtMsgType type;
    QByteArray file, function, category;
    int line;
    QString text;
};

QList<HeldMessage> heldMessages;
QtMessageHandler outerHandler = nullptr;

// Qt ends the program by abort() (SIGABRT, a core dump) where no platform
// plugin starts, as when DISPLAY names a display that nobody serves; its
// messages then blame the installation. While QApplication starts, Qt's
// messages are held back: on that failure only ours is said, as for no
// display at all. With QT_DEBUG_PLUGINS, Qt's switch for finding out why a
// plugin does not start, what Qt said comes first.
void holdOrRefuse(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtFatalMsg) {
        if (qEnvironmentVariableIsSet("QT_DEBUG_PLUGINS")) {
            for (const HeldMessage& held : heldMessages)
                std::fprintf(stderr, "%s\n", qPrintable(held.text));
            std::fprintf(stderr, "%s\n", qPrintable(text));
        }
        std::fputs(noDisplayMessage, stderr);
        std::_Exit(1);
    }
    heldMessages.append(
        {type, context.file, context.function, context.category, context.line, text});
}

void holdQtMessages()
{
    outerHandler = qInstallMessageHandler(holdOrRefuse);
}

// Says what Qt said while it started, once it has.
void releaseQtMessages()
{
    qInstallMessageHandler(outerHandler);
    for (const HeldMessage& message : std::exchange(heldMessages, {})) {
        const QMessageLogContext context(message.file.constData(), message.line,
                                         message.function.constData(),
                                         message.category.constData());
        outerHandler(message.type, context, message.text);
    }
}

// Qt ends the process when the display goes away before the window closes
// (an X server or Wayland compositor that ends with the session or crashes,
// a lost ssh -X): by exit() on X11, by _exit() right after its warning on
// Wayland. The window and its texts are still there and are saved on the way
// out. Set while the event loop runs, the only time Qt does either.
MainWindow* windowSavedAtExit = nullptr;

void saveAtExit()
{
    if (windowSavedAtExit)
        windowSavedAtExit->saveSettings();
}

// Qt's Wayland plugin says this before _exit(), from its event thread or the
// GUI thread, whichever notices first. The window is saved on the GUI thread
// alone, which owns it; the event thread waits for that, or for the GUI
// thread's own _exit() after its save.
void saveBeforeWaylandEnds(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtWarningMsg && windowSavedAtExit &&
        text.startsWith(QLatin1StringView("The Wayland connection "))) {
        if (QThread::currentThread() == windowSavedAtExit->thread())
            saveAtExit();
        else
            QMetaObject::invokeMethod(windowSavedAtExit, &MainWindow::saveSettings,
                                      Qt::BlockingQueuedConnection);
    }
    outerHandler(type, context, text);
}

} // namespace

int main(int argc, char* argv[])
{
    if (const std::optional<int> status = answerWithoutWindow(argc, argv))
        return *status;

    holdQtMessages();
    QApplication app(argc, argv);
    releaseQtMessages();
    QApplication::setApplicationName(QStringLiteral("JOLV"));
    QApplication::setDesktopFileName(QStringLiteral(JOLV_APP_ID));
    MainWindow window(settings_platform::settingsDirectory(),
                      settings_platform::earlierSettingsFiles());
#ifdef Q_OS_UNIX
    CloseOnSignals closeOnSignals(&window);
#endif
    window.show();
    windowSavedAtExit = &window;
    std::atexit(saveAtExit);
    outerHandler = qInstallMessageHandler(saveBeforeWaylandEnds);
    const int status = QApplication::exec();
    windowSavedAtExit = nullptr;
    return status;
}
