// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A result label has a fixed width and ends its text at its right edge, so a
// result too long for it would lose its leading digits and read as another,
// plausible number ("0000,0:1" for 10000,0:1).

class QLabel;
class QString;

// Shows the result whole where it fits, else its start followed by "…", with
// the whole text as the label's tooltip. Screen readers get the whole text
// as the label's name either way.
void showResult(QLabel& label, const QString& text);
