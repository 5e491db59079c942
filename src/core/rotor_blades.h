// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The Rotor panel: diameter, disc area, tip speed and the outward pull of one
// blade of a two-blade rotor on a centre piece.

#include "calculation.h"

namespace rotor_blades {

// Reads the blade length, centre piece, blade weight and rotor speed; writes
// the diameter, disc area, tip speed and pull in that order. A value that
// cannot be computed (a text that is no number, 0 / 0, an overflow) is the
// empty text.
Writes calculate(const FieldTexts& texts);

} // namespace rotor_blades
