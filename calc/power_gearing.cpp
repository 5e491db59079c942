#include "power_gearing.h"

#include "numbers.h"

#include <cmath>

namespace power_gearing {

namespace {
constexpr int milliohmPerOhm = 1000;
constexpr double cableLengthFactor = 0.002; // single length in mm to out-and-back in m
constexpr double copperConductivity = 56.0; // m / (ohm * mm²)
} // namespace

Writes calculate(const Inputs& inputs)
{
    using calc::numberOrNaN;
    using fields::Pattern;

    Writes writes;

    // Battery under load; without a usable resistance and current, no load drop.
    double packVoltage = 0;
    if (fields::isNumeric(inputs.cellResistance) && fields::isNumeric(inputs.current)) {
        const double drop =
            numberOrNaN(inputs.current) * (numberOrNaN(inputs.cellResistance) / milliohmPerOhm);
        const double cellVoltage = numberOrNaN(inputs.cellVoltage) - drop;
        packVoltage = numberOrNaN(inputs.cellCount) * cellVoltage;
        writes.append(
            {QStringLiteral("LVA"), fields::formatted(cellVoltage, Pattern::TwoDecimals)});
    } else {
        packVoltage = numberOrNaN(inputs.cellCount) * numberOrNaN(inputs.cellVoltage);
        writes.append({QStringLiteral("LVA"), QString()});
    }

    const double motorSpeed = numberOrNaN(inputs.speedConstant) * packVoltage;

    const double ratio = fields::trimmed(inputs.ratio).isEmpty()
                             ? numberOrNaN(inputs.gearTeeth) / numberOrNaN(inputs.pinionTeeth)
                             : numberOrNaN(inputs.ratio);
    const bool ratioUsable = std::isfinite(ratio) && ratio != 0;
    const double rotorSpeed = ratioUsable ? motorSpeed / ratio : std::nan("");

    writes.append({QStringLiteral("LUM"), fields::formatted(motorSpeed, Pattern::Whole)});
    writes.append({QStringLiteral("LPRP"), fields::formatted(rotorSpeed, Pattern::Whole)});
    writes.append({QStringLiteral("LTRR"),
                   ratioUsable
                       ? fields::formatted(ratio, Pattern::OneDecimal) + QStringLiteral(":1")
                       : QString()});
    writes.append({QStringLiteral("LUV"), fields::formatted(packVoltage, Pattern::TwoDecimals)});

    // The cable loss only when a cable length is given; otherwise LQA keeps its text.
    if (fields::isNumeric(inputs.cableLength)) {
        double lengthTimesCurrent = numberOrNaN(inputs.cableLength) * cableLengthFactor;
        lengthTimesCurrent = lengthTimesCurrent * numberOrNaN(inputs.current);
        const double sectionTimesConductivity =
            numberOrNaN(inputs.cableSection) * copperConductivity;
        writes.append(
            {QStringLiteral("LQA"), fields::formatted(lengthTimesCurrent / sectionTimesConductivity,
                                                      Pattern::TwoDecimals)});
    }
    return writes;
}

} // namespace power_gearing
