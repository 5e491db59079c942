// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The fonts and the style of the window's own controls. The layout has fixed sizes in
// twips, so a style's frames and padding decide what is left for the text:
// Fusion leaves each field its whole number and each option its whole mark,
// where Adwaita's padding shows "10000" as "000". The window's controls use
// this style whatever the desktop or QT_STYLE_OVERRIDE gives the application;
// message boxes, menus and tooltips keep the application's style.
//
// Keyboard focus is marked by a 2 px ring in a colour that stands out at
// least 4.5:1 from the control's background: Fusion's own mark is a 1 px
// line that a 15 px stepper hardly shows. Unticked boxes and options are
// outlined at least 3:1 from the window, where Fusion's outline is not.

#include "control_table.h"

#include <QFont>
#include <QProxyStyle>

class WindowStyle : public QProxyStyle {
    Q_OBJECT

public:
    WindowStyle();

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
};

// A control's font by its role: MS Sans Serif 8.25 pt and Arial 9.75 pt as
// the layout is measured in, or what the system shows them with.
QFont fontFor(FontRole role);

// The style of the window and its controls: one for the application, which
// deletes it after every window.
QStyle* controlStyle();
