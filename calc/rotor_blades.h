#pragma once

// The Rotor panel: diameter, disc area, tip speed and the outward pull of one
// blade of a two-blade rotor on a centre piece.

#include "panel_writes.h"

namespace rotor_blades {

struct Inputs {
    QString bladeLength; // TBL, mm, from the edge of the centre piece to the tip
    QString hubLength;   // TML, mm, the centre piece across the axis
    QString bladeWeight; // TBW, g, one blade
    QString rotorSpeed;  // TBS, revolutions per minute
    double pi;           // the window's value of pi
};

// Writes LTH, LCirc, LSpeed and LPull in that order; a value that cannot be
// computed (a text that is no number, 0 / 0, an overflow) is the empty text.
Writes calculate(const Inputs& inputs);

} // namespace rotor_blades
