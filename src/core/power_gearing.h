// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The Power panel: battery voltage under load, motor and rotor speed, gear
// ratio and the voltage lost in the motor cable.

#include "calculation.h"

namespace power_gearing {

// What the panel works out before it writes it: NaN where a value cannot be
// computed.
struct Drive {
    double cellVoltage; // V under load, NaN without a load drop
    double packVoltage; // V, under load where the resistance and current are numbers
    double motorSpeed;  // revolutions per minute
    double ratio;       // main gear to pinion, or as typed
    double rotorSpeed;  // revolutions per minute behind the gear
};
Drive drive(const FieldTexts& texts);

// Writes the cell voltage, motor speed, propeller speed, gear ratio, pack
// voltage and, when the cable length is a number, the cable loss, in that
// order. A value that cannot be computed is the empty text.
Writes calculate(const FieldTexts& texts);

} // namespace power_gearing
