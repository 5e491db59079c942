// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// SIGTERM, SIGINT and SIGHUP (a kill, Ctrl+C, a closed terminal) close the
// window the normal way, so that its settings are saved as on the close box.
// The handler only writes a byte into a socket pair; the event loop reads it
// and closes the window, as Qt recommends for Unix signals. The handlers stay
// until the process ends, so that a signal-started close always exits 0.

#include <QObject>

class QSocketNotifier;
class QWidget;

class CloseOnSignals : public QObject {
    Q_OBJECT

public:
    explicit CloseOnSignals(QWidget* window);

private:
    void closeWindow();

    QWidget* window;
    QSocketNotifier* notifier = nullptr;
};
