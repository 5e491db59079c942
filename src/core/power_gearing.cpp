// SPDX-License-Identifier: GPL-3.0-or-later
#include "power_gearing.h"

namespace power_gearing {

namespace {
constexpr int milliohmPerOhm = 1000;
constexpr double cableLengthFactor = 0.002; // single length in mm to out-and-back in m
constexpr double copperConductivity = 56.0; // m / (ohm * mm²)
} // namespace

Drive drive(const FieldTexts& texts)
{
    const auto number = [&](Field field) { return calc::numberOrNaN(texts[field]); };
    Drive drive{};
    // Battery under load; without a usable resistance and current, no load drop.
    if (fields::isNumeric(texts[Field::CellResistance]) &&
        fields::isNumeric(texts[Field::Current])) {
        const double drop =
            number(Field::Current) * (number(Field::CellResistance) / milliohmPerOhm);
        drive.cellVoltage = number(Field::CellVoltage) - drop;
        drive.packVoltage = number(Field::CellCount) * drive.cellVoltage;
    } else {
        drive.cellVoltage = std::numeric_limits<double>::quiet_NaN();
        drive.packVoltage = number(Field::CellCount) * number(Field::CellVoltage);
    }
    drive.motorSpeed = number(Field::SpeedConstant) * drive.packVoltage;
    drive.ratio = fields::trimmed(texts[Field::GearRatio]).isEmpty()
                      ? number(Field::GearTeeth) / number(Field::PinionTeeth)
                      : number(Field::GearRatio);
    // A ratio of 0 is shown ("0,0:1"); only the rotor speed, divided by it, has no value.
    drive.rotorSpeed = calc::quotient(drive.motorSpeed, drive.ratio);
    return drive;
}

Writes calculate(const FieldTexts& texts)
{
    using fields::Pattern;
    const auto number = [&](Field field) { return calc::numberOrNaN(texts[field]); };
    const Drive worked = drive(texts);
    const QString ratioText = fields::formatted(worked.ratio, Pattern::OneDecimal);
    Writes writes{
        {Output::CellVoltage, fields::formatted(worked.cellVoltage, Pattern::TwoDecimals)},
        {Output::MotorSpeed, fields::formatted(worked.motorSpeed, Pattern::Whole)},
        {Output::PropellerSpeed, fields::formatted(worked.rotorSpeed, Pattern::Whole)},
        {Output::GearRatio, ratioText.isEmpty() ? QString() : ratioText + QStringLiteral(":1")},
        {Output::PackVoltage, fields::formatted(worked.packVoltage, Pattern::TwoDecimals)},
    };

    // The cable loss only when a cable length is given; otherwise its label keeps its text.
    if (fields::isNumeric(texts[Field::CableLength])) {
        double lengthTimesCurrent = number(Field::CableLength) * cableLengthFactor;
        lengthTimesCurrent = lengthTimesCurrent * number(Field::Current);
        const double sectionTimesConductivity = number(Field::CableSection) * copperConductivity;
        writes.append(
            {Output::CableLoss,
             fields::formatted(calc::quotient(lengthTimesCurrent, sectionTimesConductivity),
                               Pattern::TwoDecimals)});
    }
    return writes;
}

} // namespace power_gearing
