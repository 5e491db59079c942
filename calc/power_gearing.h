#pragma once

// The Power panel: battery voltage under load, motor and rotor speed, gear
// ratio and the voltage lost in the motor cable.

#include "panel_writes.h"

namespace power_gearing {

struct Inputs {
    QString speedConstant;  // TUV, revolutions per minute per volt
    QString cellCount;      // TCC
    QString cellVoltage;    // TVC, V without load
    QString pinionTeeth;    // TTR1
    QString gearTeeth;      // TTR2
    QString ratio;          // TTR0, or blank to take the teeth
    QString cellResistance; // TRC, milliohm
    QString current;        // TCA, A
    QString cableLength;    // TTC0, mm, one conductor
    QString cableSection;   // TCQ, mm²
};

// Writes LVA, LUM, LPRP, LTRR, LUV and, when the cable length is a number,
// LQA. A value that cannot be computed is the empty text.
Writes calculate(const Inputs& inputs);

} // namespace power_gearing
