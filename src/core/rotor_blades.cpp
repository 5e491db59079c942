// SPDX-License-Identifier: GPL-3.0-or-later
#include "rotor_blades.h"

namespace rotor_blades {

namespace {
// The rotor figures are defined with pi to five decimals, not the full
// constant; the difference shows in the last digits of large rotors (a 100 m
// disc reads 785397,50 dm², not 785398,16).
constexpr double pi = 3.14159;

constexpr double millimetresPerMetre = 1000;
constexpr double gramsPerKilogram = 1000;
constexpr double millimetresPerDecimetre = 100;
constexpr double secondsPerMinute = 60;
constexpr double newtonsPerKilogramForce = 9.81;
} // namespace

Writes calculate(const FieldTexts& texts)
{
    using fields::Pattern;
    const auto number = [&](Field field) { return calc::numberOrNaN(texts[field]); };

    const double h = number(Field::HubLength) / 2;
    const double bladeLength = number(Field::BladeLength);
    const double diameter = 2 * bladeLength + 2 * h; // mm
    const double tipSpeed =
        diameter / millimetresPerMetre * pi * number(Field::RotorSpeed) / secondsPerMinute; // m/s

    const double diameterDm = diameter / millimetresPerDecimetre;
    const double discArea = diameterDm * diameterDm * pi / 4; // dm²

    // The blade's whole mass taken at the tip radius: m v² / r in newtons.
    const double massTimesSpeedSquared =
        number(Field::BladeWeight) / gramsPerKilogram * (tipSpeed * tipSpeed);
    const double radiusTimesG = (bladeLength + h) / millimetresPerMetre * newtonsPerKilogramForce;
    const double pull = massTimesSpeedSquared / radiusTimesG; // kilogram-force

    return {
        {Output::Diameter, fields::numberToText(diameter)},
        {Output::DiscArea, fields::formatted(discArea, Pattern::TwoDecimals)},
        {Output::TipSpeed,
         fields::formatted(calc::kmhPerMetrePerSecond * tipSpeed, Pattern::TwoDecimals)},
        {Output::Pull, fields::formatted(pull, Pattern::TwoDecimals)},
    };
}

} // namespace rotor_blades
