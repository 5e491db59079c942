#include "steppers.h"

#include "field_values.h"

#include <array>

namespace steppers {

namespace {

using D = Direction;
using P = Panel;
constexpr std::optional<double> none;

// clang-format off
constexpr auto buttons = std::to_array<Stepper>({
    // button,  field,    direction, step,  limit,  guarded, panel
    {"CUMD",    "TUM",    D::Down,   100,   0,      false,   P::Speed},
    {"CUMU",    "TUM",    D::Up,     100,   90000,  false,   P::Speed},
    {"CAscD",   "TAsc",   D::Down,   0.5,   0,      false,   P::Speed},
    {"CAscU",   "TAsc",   D::Up,     0.5,   24,     false,   P::Speed},
    {"CSlipD",  "TSlip",  D::Down,   1,     0,      false,   P::Speed},
    {"CSlipU",  "TSlip",  D::Up,     1,     50,     false,   P::Speed},
    {"CSpeedD", "TSpeed", D::Down,   1,     0,      false,   P::Speed},
    {"CSpeedU", "TSpeed", D::Up,     1,     500,    false,   P::Speed},
    {"CBLD",    "TBL",    D::Down,   10,    0,      false,   P::Rotor},
    {"CBLU",    "TBL",    D::Up,     10,    10000,  false,   P::Rotor},
    {"CMLD",    "TML",    D::Down,   10,    0,      false,   P::Rotor},
    {"CMLU",    "TML",    D::Up,     10,    10000,  false,   P::Rotor},
    {"CBWD",    "TBW",    D::Down,   10,    0,      false,   P::Rotor},
    {"CBWU",    "TBW",    D::Up,     10,    1000,   false,   P::Rotor},
    {"CBSD",    "TBS",    D::Down,   10,    0,      false,   P::Rotor},
    {"CBSU",    "TBS",    D::Up,     10,    none,   false,   P::Rotor},
    {"TUVD",    "TUV",    D::Down,   10,    0,      false,   P::Power},
    {"TUVU",    "TUV",    D::Up,     10,    10000,  false,   P::Power},
    {"TCCD",    "TCC",    D::Down,   1,     0,      false,   P::Power},
    {"TCCU",    "TCC",    D::Up,     1,     36,     false,   P::Power},
    {"TVCD",    "TVC",    D::Down,   0.01,  0,      false,   P::Power},
    {"TVCU",    "TVC",    D::Up,     0.01,  5,      false,   P::Power},
    {"TTR1D",   "TTR1",   D::Down,   1,     5,      false,   P::Power},
    {"TTR1U",   "TTR1",   D::Up,     1,     50,     false,   P::Power},
    {"TRCD",    "TRC",    D::Down,   0.1,   1,      true,    P::Power},
    {"TRCU",    "TRC",    D::Up,     0.1,   none,   true,    P::Power},
    {"TCAD",    "TCA",    D::Down,   1,     1,      true,    P::Power},
    {"TCAU",    "TCA",    D::Up,     1,     none,   true,    P::Power},
    {"TCQD",    "TCQ",    D::Down,   0.1,   0.1,    true,    P::Power},
    {"TCQU",    "TCQ",    D::Up,     0.1,   none,   true,    P::Power},
});
// clang-format on

} // namespace

std::span<const Stepper> table()
{
    return buttons;
}

QString stepped(const QString& fieldText, const Stepper& stepper)
{
    const auto number = fields::toNumber(fieldText);
    const double start = number ? *number : (stepper.guarded ? 1.0 : 0.0);
    double next =
        stepper.direction == Direction::Down ? start - stepper.step : start + stepper.step;
    if (stepper.limit) {
        if (stepper.direction == Direction::Down && next < *stepper.limit)
            next = *stepper.limit;
        if (stepper.direction == Direction::Up && next > *stepper.limit)
            next = *stepper.limit;
    }
    return fields::numberToText(next);
}

} // namespace steppers
