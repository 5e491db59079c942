#pragma once

// Calculations with text that may not be a number: such a text reads as NaN,
// which then carries through the arithmetic to an empty result text, as do
// a division by zero and an overflow.

#include "app/field_values.h"

#include <limits>

namespace calc {

constexpr double kmhPerMetrePerSecond = 3.6;

inline double numberOrNaN(const QString& text)
{
    return fields::toNumber(text).value_or(std::numeric_limits<double>::quiet_NaN());
}

} // namespace calc
