// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The widget behind every input field of the window: a line edit whose
// accessible interface is our own (accessibility.h), which selects its text
// on keyboard focus only once the focus has been reported, and whose text
// never holds a control character, however it comes in (typed, pasted, set
// by the program or by a screen reader).
//
// A screen reader remembers the selection it last saw in a field and speaks
// any change ("Text unselected."), whichever control has the focus. Without
// focus the field shows no selection, as line edits do; screen readers are
// told the one it held when the focus left, so that neither leaving it nor a
// later write into it (a stepper, "Berechnen", a unit box) is spoken.

#include <QLineEdit>

class FieldEdit : public QLineEdit {
    Q_OBJECT

public:
    using QLineEdit::cursorRect; // where screen readers are told the characters stand
    explicit FieldEdit(QWidget* parent = nullptr);

    // [start, end) as screen readers are told it; start == end: none.
    struct Selection {
        int start = 0;
        int end = 0;
    };
    Selection selectionForReaders() const;

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    Selection shownSelection() const;
    Selection selectionWhenLeft;
};
