// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the panel calculations share: the field texts they read, the
// texts they write (in the order they write them, keyed by field or result),
// and reading a text that may be no number. A text that is no number reads as
// NaN, which carries through the arithmetic to an empty result text, as do a
// division by zero and an overflow.

#include "field_table.h"
#include "field_values.h"

#include <QList>
#include <QString>
#include <cmath>
#include <limits>
#include <optional>
#include <variant>

// The texts of the window's input fields, as a calculation reads them.
using FieldTexts = EnumArray<Field, QString, fieldCount>;

// A calculation writes into an input field (the Speed panel fills in its
// unknown) or into a result label.
using WriteTarget = std::variant<Field, Output>;

struct Write {
    WriteTarget target;
    QString text;
    bool operator==(const Write&) const = default;
};

using Writes = QList<Write>;

// The object name of the control a write goes to.
inline const char* objectName(const WriteTarget& target)
{
    if (const Field* field = std::get_if<Field>(&target))
        return fieldRow(*field).objectName;
    return outputRow(std::get<Output>(target)).objectName;
}

// The text a run leaves in a control, or nothing when the run does not write
// it (the last write wins, as it does on the window).
inline std::optional<QString> writtenText(const Writes& writes, const WriteTarget& target)
{
    std::optional<QString> text;
    for (const Write& write : writes)
        if (write.target == target)
            text = write.text;
    return text;
}

namespace calc {

constexpr double kmhPerMetrePerSecond = 3.6;

inline double numberOrNaN(const QString& text)
{
    return fields::toNumber(text).value_or(std::numeric_limits<double>::quiet_NaN());
}

// dividend / divisor, or NaN when the divisor has already left the range of a
// double: x / inf would read as a plain 0 where the true value is unknown.
inline double quotient(double dividend, double divisor)
{
    return std::isfinite(divisor) ? dividend / divisor : std::numeric_limits<double>::quiet_NaN();
}

} // namespace calc
