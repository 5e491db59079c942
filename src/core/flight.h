// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The Flug panel: what the drive of the Power panel means in flight. The
// power it takes, how hard it works the pack (C-rate) and how long the pack
// lasts when only part of its capacity is flown, the head speed under load,
// and the pinion that gives a wanted head speed under load.

#include "calculation.h"

namespace flight {

// Reads the Power panel's fields as its own calculation does, and the
// capacity, usable part, load factor and wanted speed; writes the power,
// C-rate, flight time, speed under load and pinion in that order. A result
// is the empty text where an input it needs is no number or outside its
// field's limits, where it would divide by zero, and for the pinion while a
// ratio is typed instead of teeth.
Writes calculate(const FieldTexts& texts);

} // namespace flight
