// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The widget behind every input field of the window: a line edit whose
// accessible interface is our own (accessibility.h), which selects its text
// on keyboard focus only once the focus has been reported, and whose text
// never holds a control character, however it comes in (typed, pasted, set
// by the program or by a screen reader).

#include <QLineEdit>

class FieldEdit : public QLineEdit {
    Q_OBJECT

public:
    using QLineEdit::cursorRect; // where screen readers are told the characters stand
    explicit FieldEdit(QWidget* parent = nullptr);

protected:
    void focusInEvent(QFocusEvent* event) override;
};
