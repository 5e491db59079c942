// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/settings_file.h"
#include "gui/main_window.h"

#include <QApplication>

#ifdef Q_OS_UNIX
#include "gui/close_on_signals.h"
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
