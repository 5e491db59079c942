#include "main_window.h"
#include "settings_file.h"

#include <QApplication>

#ifdef Q_OS_UNIX
#include "close_on_signals.h"
#endif

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("JOLV"));
    QApplication::setDesktopFileName(QStringLiteral(JOLV_APP_ID));
    MainWindow window(settings_file::settingsDirectory());
#ifdef Q_OS_UNIX
    CloseOnSignals closeOnSignals(&window);
#endif
    window.show();
    return QApplication::exec();
}
