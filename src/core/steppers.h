// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The thirty "<" and ">" buttons beside the fields: each steps its field's
// number by the field's step, keeps it within the field's limit and has the
// panel recalculated. Their rules are the field table's.

#include "field_table.h"

#include <QString>
#include <vector>

namespace steppers {

enum class Direction { Down, Up };

struct Stepper {
    Field field;
    Direction direction;
    bool operator==(const Stepper&) const = default;
};

// The two buttons of every field that has a step, in field order.
std::vector<Stepper> all();

// "CAscD", "TCQU": the field's name with "D" (down) or "U" (up); the Speed
// and Rotor panels' buttons swap the field's leading "T" for a "C".
QString buttonName(Stepper stepper);

// The field's new text after one click; the limit check is strict, and the
// bound itself is written when it applies.
QString stepped(const QString& fieldText, Stepper stepper);

} // namespace steppers
