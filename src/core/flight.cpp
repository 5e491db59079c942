// SPDX-License-Identifier: GPL-3.0-or-later
#include "flight.h"

#include "power_gearing.h"

namespace flight {

namespace {

constexpr double mAhPerAh = 1000;
constexpr double minutesPerHour = 60;
constexpr double percent = 100;

// The field's number where it lies within the field's limits, else NaN: a
// capacity of 0 or a usable part of 300 % answers nothing.
double withinLimits(const FieldTexts& texts, Field field)
{
    const FieldRow& row = fieldRow(field);
    const double value = calc::numberOrNaN(texts[field]);
    if ((row.lower && value < *row.lower) || (row.upper && value > *row.upper))
        return std::numeric_limits<double>::quiet_NaN();
    return value;
}

// dividend / divisor where the divisor is a number other than 0, else NaN.
double dividedBy(double dividend, double divisor)
{
    return divisor != 0 ? calc::quotient(dividend, divisor)
                        : std::numeric_limits<double>::quiet_NaN();
}

} // namespace

Writes calculate(const FieldTexts& texts)
{
    using fields::Pattern;
    const power_gearing::Drive drive = power_gearing::drive(texts);
    // A negative current is no load the pack can carry.
    double current = calc::numberOrNaN(texts[Field::Current]);
    if (current < 0)
        current = std::numeric_limits<double>::quiet_NaN();
    const double capacityAh = withinLimits(texts, Field::Capacity) / mAhPerAh;
    const double usable = withinLimits(texts, Field::UsablePercent) / percent;
    const double load = withinLimits(texts, Field::LoadFactor) / percent;
    const double target = withinLimits(texts, Field::TargetSpeed);

    // The pinion only makes sense with teeth, not with a typed ratio.
    const bool teeth = fields::trimmed(texts[Field::GearRatio]).isEmpty();
    const double pinion = teeth ? dividedBy(target * calc::numberOrNaN(texts[Field::GearTeeth]),
                                            drive.motorSpeed * load)
                                : std::numeric_limits<double>::quiet_NaN();
    return {
        {Output::DrivePower, fields::formatted(drive.packVoltage * current, Pattern::Whole)},
        {Output::CRate, fields::formatted(dividedBy(current, capacityAh), Pattern::OneDecimal)},
        {Output::FlightTime,
         fields::formatted(dividedBy(capacityAh * usable, current) * minutesPerHour,
                           Pattern::OneDecimal)},
        {Output::LoadedSpeed, fields::formatted(drive.rotorSpeed * load, Pattern::Whole)},
        {Output::PinionForTarget, fields::formatted(pinion, Pattern::OneDecimal)},
    };
}

} // namespace flight
