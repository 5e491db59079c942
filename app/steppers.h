#pragma once

// The thirty "<" and ">" buttons beside the fields: each steps its field's
// number by a fixed amount, keeps it within a limit and recalculates the panel.

#include <QString>
#include <optional>
#include <span>

namespace steppers {

enum class Direction { Down, Up };

enum class Panel { Speed, Rotor, Power };

struct Stepper {
    const char* button; // objectName of the button
    const char* field;  // objectName of the field it steps
    Direction direction;
    double step;
    std::optional<double> limit; // lower bound for Down, upper bound for Up
    bool guarded;                // a text that is no number counts as 1, else as 0
    Panel panel;                 // whose calculation runs after the step
};

std::span<const Stepper> table();

// The field's new text after one click; the limit check is strict, and the
// bound itself is written when it applies.
QString stepped(const QString& fieldText, const Stepper& stepper);

} // namespace steppers
