// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Every input, unit box and result of the window, one row each: the control's
// object name, its settings key, its default and the rules of its "<" and ">"
// buttons. The control table, the settings file, the steppers and the
// calculations name a field by its enum value and take the rest from here,
// so that each is spelled once.

#include <array>
#include <cstddef>
#include <optional>

// In the order Ctrl+1 to Ctrl+4 go to them.
enum class Panel { Speed, Rotor, Power, Flight };
inline constexpr std::size_t panelCount = 4;

// An array indexed by one of the enums below, whose values count from 0.
template <typename Enum, typename Value, std::size_t Count> class EnumArray {
public:
    constexpr Value& operator[](Enum key) { return values[std::size_t(key)]; }
    constexpr const Value& operator[](Enum key) const { return values[std::size_t(key)]; }
    constexpr auto begin() const { return values.begin(); }
    constexpr auto end() const { return values.end(); }

private:
    std::array<Value, Count> values{};
};

enum class Field {
    Rpm,        // TUM, revolutions per minute
    Pitch,      // TAsc, cm, or inches while "Zoll" is ticked
    Slip,       // TSlip, per cent
    DriveSpeed, // TSpeed, km/h, or m/s while "m/s" is ticked

    BladeLength, // TBL, mm, from the edge of the centre piece to the tip
    HubLength,   // TML, mm, the centre piece across the axis
    BladeWeight, // TBW, g, one blade
    RotorSpeed,  // TBS, revolutions per minute

    SpeedConstant,  // TUV, revolutions per minute per volt
    CellCount,      // TCC
    CellVoltage,    // TVC, V without load
    PinionTeeth,    // TTR1
    GearTeeth,      // TTR2
    GearRatio,      // TTR0, or blank to take the teeth
    CellResistance, // TRC, milliohm
    Current,        // TCA, A
    CableLength,    // TTC0, mm, one conductor
    CableSection,   // TCQ, mm²

    Capacity,      // TCAP, mAh
    UsablePercent, // TUSE, per cent of the capacity flown before landing
    LoadFactor,    // TLOAD, per cent of the no-load speed turned under load
    TargetSpeed,   // THS, revolutions per minute wanted under load
};

struct FieldRow {
    Field field;
    const char* objectName;
    const char* settingsKey;
    std::optional<double> defaultValue; // none: the field starts empty
    // The steppers beside the field; no step: the field has none.
    std::optional<double> step;
    std::optional<double> lower; // "<" never goes below it
    std::optional<double> upper; // ">" never goes above it; none: unbounded
    double noNumberStart;        // what a stepper takes a text that is no number for
    Panel panel;                 // whose calculation a step runs
};

namespace field_rows {
constexpr std::optional<double> none;
using P = Panel;
using F = Field;
} // namespace field_rows

// clang-format off
inline constexpr auto fieldTable = [] {
    using namespace field_rows;
    return std::to_array<FieldRow>({
        // field,            name,   key,    default, step, lower, upper,  no number, panel
        {F::Rpm,            "TUM",    "RPM",  10000,   100,  0,     90000,  0,         P::Speed},
        {F::Pitch,          "TAsc",   "ASC",  15,      0.5,  0,     24,     0,         P::Speed},
        {F::Slip,           "TSlip",  "SLP",  25,      1,    0,     50,     0,         P::Speed},
        {F::DriveSpeed,     "TSpeed", "SPE",  none,    1,    0,     500,    0,         P::Speed},
        {F::BladeLength,    "TBL",    "TBL",  600,     10,   0,     10000,  0,         P::Rotor},
        {F::HubLength,      "TML",    "TML",  150,     10,   0,     10000,  0,         P::Rotor},
        {F::BladeWeight,    "TBW",    "TBW",  150,     10,   0,     1000,   0,         P::Rotor},
        {F::RotorSpeed,     "TBS",    "TBS",  1500,    10,   0,     none,   0,         P::Rotor},
        {F::SpeedConstant,  "TUV",    "TUV",  800,     10,   0,     10000,  0,         P::Power},
        {F::CellCount,      "TCC",    "TCC",  20,      1,    0,     36,     0,         P::Power},
        {F::CellVoltage,    "TVC",    "TVC",  1.1,     0.01, 0,     5,      0,         P::Power},
        {F::PinionTeeth,    "TTR1",   "TTR1", 10,      1,    5,     50,     0,         P::Power},
        {F::GearTeeth,      "TTR2",   "TTR2", 200,     none, none,  none,   0,         P::Power},
        {F::GearRatio,      "TTR0",   "TTR0", none,    none, none,  none,   0,         P::Power},
        // A current and a resistance that are no number count as 1, not 0.
        {F::CellResistance, "TRC",    "TRC",  4.5,     0.1,  1,     none,   1,         P::Power},
        {F::Current,        "TCA",    "TCA",  20,      1,    1,     none,   1,         P::Power},
        {F::CableLength,    "TTC0",   "TTC0", none,    none, none,  none,   0,         P::Power},
        {F::CableSection,   "TCQ",    "TCQ",  2.5,     0.1,  0.1,   none,   1,         P::Power},
        {F::Capacity,       "TCAP",   "TCAP", 3000,    100,  100,   100000, 0,         P::Flight},
        {F::UsablePercent,  "TUSE",   "TUSE", 80,      5,    5,     100,    0,         P::Flight},
        {F::LoadFactor,     "TLOAD",  "TLOAD", 85,     1,    50,    100,    0,         P::Flight},
        {F::TargetSpeed,    "THS",    "THS",  800,     10,   0,     none,   0,         P::Flight},
    });
}();
// clang-format on

inline constexpr std::size_t fieldCount = fieldTable.size();

// The longest text a field holds, in UTF-16 code units, set on every field:
// the settings file's reader is sized by it. The longest number a field
// takes needs about 30 (a double's 17 digits with sign, separators and
// exponent); the rest leaves room for a pasted text with spaces. A line
// edit lays out its whole text on every keystroke: at QLineEdit's own limit
// of 32767 a keystroke cost 5 ms and a burst of typing delayed the program's
// answer to a signal by seconds.
inline constexpr int maxFieldTextLength = 100;

constexpr const FieldRow& fieldRow(Field field)
{
    return fieldTable[std::size_t(field)];
}

// The two check boxes that set the unit of the pitch and of the drive speed.
enum class UnitBox { Inch, MetresPerSecond };

struct UnitBoxRow {
    UnitBox box;
    const char* objectName;
    const char* settingsKey;
    Field field; // whose unit it sets
};

inline constexpr auto unitBoxTable = std::to_array<UnitBoxRow>({
    {UnitBox::Inch, "CInch", "INC", Field::Pitch},
    {UnitBox::MetresPerSecond, "CSpeed", "SMS", Field::DriveSpeed},
});

inline constexpr std::size_t unitBoxCount = unitBoxTable.size();

constexpr const UnitBoxRow& unitBoxRow(UnitBox box)
{
    return unitBoxTable[std::size_t(box)];
}

// The labels the calculations write their results into.
enum class Output {
    MotorSpeed,      // LUM, revolutions per minute
    PropellerSpeed,  // LPRP, revolutions per minute behind the gear
    GearRatio,       // LTRR, "20,0:1"
    PackVoltage,     // LUV, V
    CellVoltage,     // LVA, V under load
    CableLoss,       // LQA, V
    Diameter,        // LTH, mm
    Pull,            // LPull, kilogram-force per blade
    DiscArea,        // LCirc, dm²
    TipSpeed,        // LSpeed, km/h
    DrivePower,      // LPOW, W
    CRate,           // LCRATE, current per capacity, 1/h
    FlightTime,      // LTIME, minutes
    LoadedSpeed,     // LHEAD, revolutions per minute under load
    PinionForTarget, // LPIN, teeth
};

struct OutputRow {
    Output output;
    const char* objectName;
};

inline constexpr auto outputTable = std::to_array<OutputRow>({
    {Output::MotorSpeed, "LUM"},
    {Output::PropellerSpeed, "LPRP"},
    {Output::GearRatio, "LTRR"},
    {Output::PackVoltage, "LUV"},
    {Output::CellVoltage, "LVA"},
    {Output::CableLoss, "LQA"},
    {Output::Diameter, "LTH"},
    {Output::Pull, "LPull"},
    {Output::DiscArea, "LCirc"},
    {Output::TipSpeed, "LSpeed"},
    {Output::DrivePower, "LPOW"},
    {Output::CRate, "LCRATE"},
    {Output::FlightTime, "LTIME"},
    {Output::LoadedSpeed, "LHEAD"},
    {Output::PinionForTarget, "LPIN"},
});

inline constexpr std::size_t outputCount = outputTable.size();

constexpr const OutputRow& outputRow(Output output)
{
    return outputTable[std::size_t(output)];
}

// Each table lists its enum in order, so that a value is its row's index.
static_assert([] {
    for (std::size_t i = 0; i < fieldCount; ++i)
        if (std::size_t(fieldTable[i].field) != i)
            return false;
    for (std::size_t i = 0; i < unitBoxCount; ++i)
        if (std::size_t(unitBoxTable[i].box) != i)
            return false;
    for (std::size_t i = 0; i < outputCount; ++i)
        if (std::size_t(outputTable[i].output) != i)
            return false;
    return true;
}());

// A field with steppers has both limits' rules; one without has none.
static_assert([] {
    for (const FieldRow& row : fieldTable)
        if (row.step.has_value() != row.lower.has_value() || (!row.step && row.upper))
            return false;
    return true;
}());
