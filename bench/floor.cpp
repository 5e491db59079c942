// SPDX-License-Identifier: GPL-3.0-or-later
// The floor for JOLV's start-up: a bare Qt Widgets window of the same size
// with about a hundred labels, fields and buttons at fixed places, and
// nothing else (no fonts chosen, no icon, no settings, no calculations).

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Floor"));
    window.setFixedSize(646, 383);
    for (int i = 0; i < 99; ++i) {
        const int column = i / 20;
        const int row = i % 20;
        const QRect place(8 + column * 128, 4 + row * 19, 60, 17);
        QWidget* control = nullptr;
        switch (i % 3) {
        case 0:
            control = new QLabel(QStringLiteral("Beschriftung"), &window);
            break;
        case 1:
            control = new QLineEdit(QStringLiteral("1500"), &window);
            break;
        default:
            control = new QPushButton(QStringLiteral(">"), &window);
            break;
        }
        control->setGeometry(place);
    }
    window.show();
    return QApplication::exec();
}
