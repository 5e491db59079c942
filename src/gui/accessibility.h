// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What screen readers get beyond Qt's own accessibility: the input fields
// answer text queries at every offset (Qt 6.4's line-edit interface loops
// forever when asked for the word at the end of the text, and reports
// attribute runs of length 0, which makes Orca drop the last digit), the
// results have a text of their own to be read by, and the window announces
// what a calculation wrote.

#include <QList>
#include <QPoint>
#include <QWidget>

// Speaks a text through the screen reader: an invisible notification whose
// name is the text, shown anew for every announcement, so that the same text
// twice is said twice.
class Announcer : public QWidget {
    Q_OBJECT

public:
    explicit Announcer(QWidget* parent);
    void announce(const QString& text);

    // One control's part of what an action announces: which of the action's
    // calculations wrote it, where the control stands in the window, its
    // caption, the text the action left in it and the unit of that text as
    // the window shows it ("dm²").
    struct Part {
        int calculation;
        QPoint place;
        QString caption;
        QString text;
        QString unit;
    };
    // Says what an action wrote, calculation by calculation, each in the
    // order the window shows it (row by row from the top, left to right
    // within a row): "Blattlänge: 610 mm,
    // Durchmesser: 1370 mm, ..."; an empty text as "leer", units as words
    // where their signs are read badly. Nothing for no parts.
    void announceResults(QList<Part> parts);
    // Says the last results again, or that there are none yet (Ctrl+R).
    void repeatResults();

private:
    QString lastResults;
};

// A panel of the window: an area without a look of its own, which screen
// readers present as a group named after its heading ("Rotor"), so that
// they say the panel's name as the focus enters it.
class PanelGroup : public QWidget {
    Q_OBJECT

public:
    using QWidget::QWidget;
};

// Makes Qt ask us for the accessible interfaces of the window (a frame),
// PanelGroup, FieldEdit, ResultLabel and Announcer, and guards the
// accessibility bus where there is one (accessibility_bus.h); safe to call
// more than once.
void installAccessibleInterfaces();
