#include "rotor_blades.h"

#include "numbers.h"

namespace rotor_blades {

namespace {
constexpr double millimetresPerMetre = 1000;
constexpr double gramsPerKilogram = 1000;
constexpr double millimetresPerDecimetre = 100;
constexpr double secondsPerMinute = 60;
constexpr double newtonsPerKilogramForce = 9.81;
} // namespace

Writes calculate(const Inputs& inputs)
{
    using calc::numberOrNaN;
    using fields::Pattern;

    const double h = numberOrNaN(inputs.hubLength) / 2;
    const double bladeLength = numberOrNaN(inputs.bladeLength);
    const double diameter = 2 * bladeLength + 2 * h; // mm
    const double tipSpeed = diameter / millimetresPerMetre * inputs.pi *
                            numberOrNaN(inputs.rotorSpeed) / secondsPerMinute; // m/s

    const double diameterDm = diameter / millimetresPerDecimetre;
    const double discArea = diameterDm * diameterDm * inputs.pi / 4; // dm²

    // The blade's whole mass taken at the tip radius: m v² / r in newtons.
    const double massTimesSpeedSquared =
        numberOrNaN(inputs.bladeWeight) / gramsPerKilogram * (tipSpeed * tipSpeed);
    const double radiusTimesG = (bladeLength + h) / millimetresPerMetre * newtonsPerKilogramForce;
    const double pull = massTimesSpeedSquared / radiusTimesG; // kilogram-force

    return {
        {QStringLiteral("LTH"), fields::numberToText(diameter)},
        {QStringLiteral("LCirc"), fields::formatted(discArea, Pattern::TwoDecimals)},
        {QStringLiteral("LSpeed"),
         fields::formatted(calc::kmhPerMetrePerSecond * tipSpeed, Pattern::TwoDecimals)},
        {QStringLiteral("LPull"), fields::formatted(pull, Pattern::TwoDecimals)},
    };
}

} // namespace rotor_blades
