// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The rules by which a field's text becomes a number and a number becomes text.
// Every calculation, the steppers and the settings file read and write through
// these; separators come from the default QLocale() at the time of the call.

#include <QString>
#include <cstdint>
#include <optional>

namespace fields {

// Removes leading and trailing U+0020 only; tabs and other white space stay.
QStringView trimmed(QStringView text);
QString trimmed(const QString& text);

// Spaces, sign, digits with the locale's grouping separator anywhere among
// them, the locale's decimal separator with digits, an exponent, spaces.
// Anything else, and a value beyond the range of a double, gives no number.
std::optional<double> toNumber(const QString& text);

bool isNumeric(const QString& text);

// toNumber rounded to the nearest IEEE single-precision value.
std::optional<float> toSingle(const QString& text);

// toNumber rounded half to even; no number outside the signed 16-bit range.
std::optional<std::int16_t> toInteger(const QString& text);

// At most 15 significant digits, trailing zeros dropped, locale separator,
// no grouping; exponent form ("1E+15", "1E-05") below 1E-4 and from 1E15 on.
QString numberToText(double value);

// The same with at most 7 significant digits, for single-precision values.
QString singleToText(float value);

// Fixed-decimal patterns "0", "0.0" and "0.00".
enum class Pattern { Whole = 0, OneDecimal = 1, TwoDecimals = 2 };

// Rounds the value's 15-significant-digit decimal form to the pattern's
// decimals, halves away from zero; a value that rounds to zero has no sign.
// A value that is not finite gives the empty text.
QString formatted(double value, Pattern pattern);

} // namespace fields
