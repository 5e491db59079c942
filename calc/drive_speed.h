#pragma once

// The Speed panel: propeller or rotor speed, pitch, slip and drive speed.
// Drive speed in m/s = rpm * pitch in cm / 6000, reduced by the slip.

#include "panel_writes.h"

#include <optional>

namespace drive_speed {

// Which of the three quantities the option group marks for computing.
enum class Target { Rpm = 0, Pitch = 1, Speed = 2 };

struct Inputs {
    QString rpm;   // TUM, revolutions per minute
    QString pitch; // TAsc, cm, or inches while `inch` is set
    QString slip;  // TSlip, per cent
    QString speed; // TSpeed, km/h, or m/s while `metresPerSecond` is set
    bool inch = false;
    bool metresPerSecond = false;
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

// The "Berechnen" button of the panel.
Result calculate(const Inputs& inputs);

// Converts the pitch text after "Zoll" changed to `nowInch`, to the nearest
// half unit. No write when the text is blank or no number.
Writes convertPitch(const QString& pitchText, bool nowInch);

// Converts the speed text after "m/s" changed to `nowMetresPerSecond`, to a
// whole number. No write when the text is empty or no number.
Writes convertSpeed(const QString& speedText, bool nowMetresPerSecond);

QString messageText(Message message);

} // namespace drive_speed
