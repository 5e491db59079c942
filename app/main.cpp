#include "main_window.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("JOLV"));
    QApplication::setDesktopFileName(QStringLiteral("jolv"));
    MainWindow window;
    window.show();
    return QApplication::exec();
}
