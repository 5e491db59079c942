// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The widget behind every input field of the window: a line edit whose
// accessible interface is our own (accessibility.h), which selects its text
// on keyboard focus only once the focus has been reported, and whose text
// never holds a control character, however it comes in (typed, pasted, set
// by the program or by a screen reader).
//
// Without focus a field shows no selection, as line edits do, and screen
// readers are told of none: they read what they are told is selected as
// selected, also in a field they ask about while another has the focus.
// Leaving a field drops its selection without a word to them: a screen
// reader speaks any change of a selection it sees ("Text unselected.").

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
};
