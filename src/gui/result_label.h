// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A result label has a fixed width and ends its text at its right edge, so a
// result too long for it would lose its leading digits and read as another,
// plausible number ("0000,0:1" for 10000,0:1).

#include <QLabel>

// The widget of every result: screen readers read it by an interface of our
// own (accessibility.h), which gives its whole text, or "leer".
class ResultLabel : public QLabel {
    Q_OBJECT

public:
    using QLabel::QLabel;
};

// Shows the result whole where it fits, else its start followed by "…", with
// the whole text as the label's tooltip. The whole text is kept as the
// label's accessible name either way.
void showResult(ResultLabel& label, const QString& text);
