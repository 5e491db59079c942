// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// On Linux a screen reader, and any other program that reaches the
// accessibility bus (AT-SPI over D-Bus), talks to Qt's adaptor there. Some of
// its answers do harm whatever our interfaces say:
// - Qt 6.4 asks for the box of a text range offset by offset over the range
//   the caller names (2^31 calls for -2^31..-1, without end for 0..2^31-1:
//   the window freezes and cannot save when the session ends);
// - it pads an inserted text to the length the caller claims with the memory
//   behind it;
// - it gives places and sizes in Qt's device-independent pixels, where AT-SPI
//   means the screen's own (half of them at a scale of 2, and a reader's
//   click lands beside the control), and relative to the window it moves
//   only the left edge (a field 43 px wide reads 243 px wide in a window at
//   x = 200);
// - it never answers GetBoundedRanges (its reply type is unknown to D-Bus),
//   and the caller waits out its timeout.
// BusCallGuard stands in Qt's adaptor's place on the bus, answers those calls
// itself and hands every other call on.

#include <QDBusVirtualObject>
#include <QPointer>

class BusCallGuard : public QDBusVirtualObject {
    Q_OBJECT

public:
    // Owned by the adaptor it guards, and gone with it.
    explicit BusCallGuard(QDBusVirtualObject* adaptor);

    QString introspect(const QString& path) const override;
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;

private:
    QPointer<QDBusVirtualObject> adaptor;
};

// Puts a guard in front of Qt's adaptor as soon as Qt has registered it on
// the accessibility bus; safe to call more than once.
void guardAccessibilityBus();
