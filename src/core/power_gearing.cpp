// SPDX-License-Identifier: GPL-3.0-or-later
#include "power_gearing.h"

namespace power_gearing {

namespace {
constexpr int milliohmPerOhm = 1000;
constexpr double cableLengthFactor = 0.002; // single length in mm to out-and-back in m
constexpr double copperConductivity = 56.0; // m / (ohm * mm²)
} // namespace

Writes calculate(const FieldTexts& texts)
{
    using fields::Pattern;
    const auto number = [&](Field field) { return calc::numberOrNaN(texts[field]); };

    Writes writes;

    // Battery under load; without a usable resistance and current, no load drop.
    double packVoltage = 0;
    if (fields::isNumeric(texts[Field::CellResistance]) &&
        fields::isNumeric(texts[Field::Current])) {
        const double drop =
            number(Field::Current) * (number(Field::CellResistance) / milliohmPerOhm);
        const double cellVoltage = number(Field::CellVoltage) - drop;
        packVoltage = number(Field::CellCount) * cellVoltage;
        writes.append({Output::CellVoltage, fields::formatted(cellVoltage, Pattern::TwoDecimals)});
    } else {
        packVoltage = number(Field::CellCount) * number(Field::CellVoltage);
        writes.append({Output::CellVoltage, QString()});
    }

    const double motorSpeed = number(Field::SpeedConstant) * packVoltage;

    const double ratio = fields::trimmed(texts[Field::GearRatio]).isEmpty()
                             ? number(Field::GearTeeth) / number(Field::PinionTeeth)
                             : number(Field::GearRatio);
    // A ratio of 0 is shown ("0,0:1"); only the rotor speed, divided by it, has no value.
    const double rotorSpeed = calc::quotient(motorSpeed, ratio);
    const QString ratioText = fields::formatted(ratio, Pattern::OneDecimal);

    writes.append({Output::MotorSpeed, fields::formatted(motorSpeed, Pattern::Whole)});
    writes.append({Output::PropellerSpeed, fields::formatted(rotorSpeed, Pattern::Whole)});
    writes.append(
        {Output::GearRatio, ratioText.isEmpty() ? QString() : ratioText + QStringLiteral(":1")});
    writes.append({Output::PackVoltage, fields::formatted(packVoltage, Pattern::TwoDecimals)});

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
