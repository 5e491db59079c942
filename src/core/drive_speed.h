// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The Speed panel: propeller or rotor speed, pitch, slip and drive speed.
// Drive speed in m/s = rpm * pitch in cm / 6000, reduced by the slip.

#include "calculation.h"

namespace drive_speed {

// Which of the three quantities the option group marks for computing.
enum class Target { Rpm = 0, Pitch = 1, Speed = 2 };

// The field a target is computed into.
constexpr Field targetField(Target target)
{
    switch (target) {
    case Target::Rpm:
        return Field::Rpm;
    case Target::Pitch:
        return Field::Pitch;
    case Target::Speed:
        break;
    }
    return Field::DriveSpeed;
}

// The panel's choices beside its field texts.
struct Choices {
    bool inch = false;            // "Zoll": the pitch is in inches
    bool metresPerSecond = false; // "m/s": the drive speed is in m/s
    Target target = Target::Speed;
};

enum class Message {
    None,
    TooFewInputs, // two or more of rpm, pitch and speed are blank
    Invalid,      // a text is no number, a divisor is zero, or a result overflows
};

struct Result {
    Writes writes;
    Message message = Message::None;
};

// The "Berechnen" button of the panel: empties the target field, fills in a
// blank slip, then writes the computed target.
Result calculate(const FieldTexts& texts, const Choices& choices);

// Converts the pitch text after "Zoll" changed to `nowInch`, to the nearest
// half unit. No write when the text is blank or no number.
Writes convertPitch(const QString& pitchText, bool nowInch);

// Converts the speed text after "m/s" changed to `nowMetresPerSecond`, to a
// whole number. No write when the text is empty or no number.
Writes convertSpeed(const QString& speedText, bool nowMetresPerSecond);

QString messageText(Message message);

} // namespace drive_speed
