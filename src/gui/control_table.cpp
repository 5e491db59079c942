// SPDX-License-Identifier: GPL-3.0-or-later
#include "control_table.h"

#include <algorithm>
#include <array>

namespace {

using namespace controls;
using B = UnitBox;
using F = Field;
using O = Output;
using R = FontRole;
using T = drive_speed::Target;

// clang-format off
constexpr auto rows = std::to_array<ControlRow>({
    // control, caption, tooltip, {left, top, width, height}, font, and for a
    // caption the unit of its field or result as its tooltip or caption
    // gives it; none where the caption is the unit ("U/min", "Km/h:",
    // "Schlupf %") or the value has none (counts, ratios).
    {heading("HeadingSpeed"), "Speed", "", {120, 75, 735, 255}, R::Heading},
    {heading("HeadingRotor"), "Rotor", "", {5040, 80, 2295, 255}, R::Heading},
    {heading("HeadingPower"), "Power", "", {120, 1950, 2295, 255}, R::Heading},
    {heading("HeadingFlight"), "Flug", "", {5040, 2480, 2295, 255}, R::Heading},

    // Speed panel: rows at 345, 660, 975 and 1290.
    {caption(F::Rpm), "U/min", "Umdrehungen pro Minute", {105, 420, 960, 225}, R::Regular},
    {option(T::Rpm), "", "", {945, 345, 225, 225}, R::Regular},
    {textBox(F::Rpm), "", "", {1260, 345, 645, 285}, R::Regular},
    {down(F::Rpm), "<", "", {1995, 345, 225, 225}, R::Regular},
    {up(F::Rpm), ">", "", {2205, 345, 225, 225}, R::Regular},

    {caption(F::Pitch), "Steigung", "Steigung", {105, 735, 960, 225}, R::Regular, "cm"},
    {option(T::Pitch), "", "", {945, 660, 225, 225}, R::Regular},
    {textBox(F::Pitch), "", "", {1260, 660, 645, 285}, R::Regular},
    {down(F::Pitch), "<", "", {1995, 660, 225, 225}, R::Regular},
    {up(F::Pitch), ">", "", {2205, 660, 225, 225}, R::Regular},
    {checkBox(B::Inch), "Zoll", "", {2520, 660, 645, 330}, R::Regular},

    {caption(F::Slip), "Schlupf %", "Schlupf", {105, 1050, 960, 225}, R::Regular},
    {textBox(F::Slip), "", "", {1260, 975, 645, 285}, R::Regular},
    {down(F::Slip), "<", "", {1995, 975, 225, 225}, R::Regular},
    {up(F::Slip), ">", "", {2205, 975, 225, 225}, R::Regular},

    {caption(F::DriveSpeed), "Speed", "Antriebsgeschwindigkeit", {105, 1365, 960, 225}, R::Regular, "km/h"},
    {option(T::Speed), "", "", {945, 1290, 225, 225}, R::Regular},
    {textBox(F::DriveSpeed), "", "", {1260, 1290, 645, 285}, R::Regular},
    {down(F::DriveSpeed), "<", "", {1995, 1290, 225, 225}, R::Regular},
    {up(F::DriveSpeed), ">", "", {2205, 1290, 225, 225}, R::Regular},
    {checkBox(B::MetresPerSecond), "m/s", "", {2520, 1290, 750, 225}, R::Regular},

    {button(Panel::Speed), "Berechnen", "", {3360, 1185, 1170, 435}, R::Bold},

    // Rotor panel: rows at 360, 720, 1080 and 1440, inputs left, results right.
    {caption(F::BladeLength), "Blattlänge", "Länge eines Blatts in mm", {5040, 420, 975, 255}, R::Regular, "mm"},
    {textBox(F::BladeLength), "", "", {6060, 360, 615, 285}, R::Regular},
    {down(F::BladeLength), "<", "", {6795, 375, 225, 225}, R::Regular},
    {up(F::BladeLength), ">", "", {7005, 375, 225, 225}, R::Regular},
    {caption(O::Diameter), "Durchmesser:", "Durchmesser in mm", {7320, 360, 1095, 255}, R::Regular, "mm"},
    {result(O::Diameter), "", "", {8760, 360, 735, 255}, R::Large},

    {caption(F::HubLength), "Mittelstück", "Länge des Mittelstücks in mm", {5040, 780, 975, 255}, R::Regular, "mm"},
    {textBox(F::HubLength), "", "", {6060, 720, 615, 285}, R::Regular},
    {down(F::HubLength), "<", "", {6795, 735, 225, 225}, R::Regular},
    {up(F::HubLength), ">", "", {7005, 735, 225, 225}, R::Regular},
    {caption(O::Pull), "Zug/Blatt:", "Zug pro Blatt in Kg", {7320, 720, 855, 255}, R::Regular, "kg"},
    {result(O::Pull), "", "", {8400, 720, 1095, 255}, R::Large},

    {caption(F::BladeWeight), "Blattgewicht", "Gewicht eines Blatts in g", {5040, 1140, 975, 255}, R::Regular, "g"},
    {textBox(F::BladeWeight), "", "", {6060, 1080, 615, 285}, R::Regular},
    {down(F::BladeWeight), "<", "", {6795, 1095, 225, 225}, R::Regular},
    {up(F::BladeWeight), ">", "", {7005, 1095, 225, 225}, R::Regular},
    {caption(O::DiscArea), "Kreisfläche:", "Kreisfläche in Quadratdezimeter", {7320, 1080, 1095, 255}, R::Regular, "dm²"},
    {result(O::DiscArea), "", "", {8520, 1080, 975, 255}, R::Large},

    {caption(F::RotorSpeed), "U/Min", "Umdrehungen pro Minute", {5040, 1500, 975, 255}, R::Regular},
    {textBox(F::RotorSpeed), "", "", {6060, 1440, 615, 285}, R::Regular},
    {down(F::RotorSpeed), "<", "", {6795, 1455, 225, 225}, R::Regular},
    {up(F::RotorSpeed), ">", "", {7005, 1455, 225, 225}, R::Regular},
    {caption(O::TipSpeed), "Km/h:", "Kilometer pro Stunde", {7320, 1440, 1095, 255}, R::Regular},
    {result(O::TipSpeed), "", "", {8400, 1440, 1095, 255}, R::Bold},

    {button(Panel::Rotor), "Berechnen", "", {8400, 1800, 1170, 435}, R::Bold},

    // Power panel, inputs (left column).
    {caption(F::SpeedConstant), "U/Volt Motor", "Umdrehungen pro Volt des Motors", {120, 2370, 975, 255}, R::Regular},
    {textBox(F::SpeedConstant), "", "", {1260, 2280, 615, 285}, R::Regular},
    {down(F::SpeedConstant), "<", "", {1995, 2295, 225, 225}, R::Regular},
    {up(F::SpeedConstant), ">", "", {2205, 2295, 225, 225}, R::Regular},

    {caption(F::CellCount), "Zellenanzahl", "Zellenanzahl", {120, 2700, 975, 255}, R::Regular},
    {textBox(F::CellCount), "", "", {1260, 2595, 615, 285}, R::Regular},
    {down(F::CellCount), "<", "", {1995, 2640, 225, 225}, R::Regular},
    {up(F::CellCount), ">", "", {2205, 2640, 225, 225}, R::Regular},

    {caption(F::CellVoltage), "Volt/Zelle", "Volt pro Zelle", {120, 3015, 975, 255}, R::Regular, "V"},
    {textBox(F::CellVoltage), "", "", {1260, 2925, 615, 285}, R::Regular},
    {down(F::CellVoltage), "<", "", {1995, 3000, 225, 225}, R::Regular},
    {up(F::CellVoltage), ">", "", {2205, 3000, 225, 225}, R::Regular},

    {caption(F::PinionTeeth), "Ritzel", "Anzahl Zähne Rithel", {120, 3315, 975, 255}, R::Regular},
    {textBox(F::PinionTeeth), "", "", {1260, 3240, 615, 285}, R::Regular},
    {down(F::PinionTeeth), "<", "", {1995, 3315, 225, 225}, R::Regular},
    {up(F::PinionTeeth), ">", "", {2205, 3315, 225, 225}, R::Regular},

    {caption(F::GearTeeth), "Zahnrad", "Anzahl Zähne Hauptzahnrad", {120, 3615, 975, 255}, R::Regular},
    {textBox(F::GearTeeth), "", "", {1260, 3555, 615, 285}, R::Regular},

    {caption(F::GearRatio), "Getriebe", "Untersetzung oder leer für Berechnung", {120, 3945, 975, 255}, R::Regular},
    {textBox(F::GearRatio), "", "", {1260, 3870, 615, 285}, R::Regular},

    {caption(F::CellResistance), "Ri / Zelle", "Innenwiderstand pro Zelle in MilliOhm", {120, 4275, 975, 255}, R::Regular, "mΩ"},
    {textBox(F::CellResistance), "", "", {1260, 4200, 615, 285}, R::Regular},
    {down(F::CellResistance), "<", "", {1995, 4200, 225, 225}, R::Regular},
    {up(F::CellResistance), ">", "", {2205, 4200, 225, 225}, R::Regular},

    {caption(F::Current), "Strom", "Strom in Ampere", {120, 4620, 975, 255}, R::Regular, "A"},
    {textBox(F::Current), "", "", {1260, 4560, 615, 285}, R::Regular},
    {down(F::Current), "<", "", {1995, 4560, 225, 225}, R::Regular},
    {up(F::Current), ">", "", {2205, 4560, 225, 225}, R::Regular},

    {caption(F::CableLength), "Kabellänge", "Einfache Kabellänge in mm", {120, 4995, 975, 255}, R::Regular, "mm"},
    {textBox(F::CableLength), "", "", {1260, 4920, 615, 285}, R::Regular},

    {caption(F::CableSection), "Kabelfläche", "Kabelquerschnitt in qmm", {120, 5340, 975, 255}, R::Regular, "mm²"},
    {textBox(F::CableSection), "", "", {1260, 5280, 615, 285}, R::Regular},
    {down(F::CableSection), "<", "", {1995, 5280, 225, 225}, R::Regular},
    {up(F::CableSection), ">", "", {2205, 5280, 225, 225}, R::Regular},

    // Power panel, results (middle column).
    {caption(O::MotorSpeed), "U/Motor:", "Umdrehungen des Motors pro Minute", {2520, 2280, 1095, 255}, R::Regular, "U/min"},
    {result(O::MotorSpeed), "", "", {3720, 2280, 735, 255}, R::Large},
    {caption(O::PropellerSpeed), "U/Prop/Rotor:", "Umdrehungen des Prop/Rotors pro Minute", {2520, 2640, 1095, 255}, R::Regular, "U/min"},
    {result(O::PropellerSpeed), "", "", {3720, 2640, 735, 255}, R::Large},
    {caption(O::GearRatio), "Untersetzung:", "Getriebeuntersetzung", {2520, 3000, 1095, 255}, R::Regular},
    {result(O::GearRatio), "", "", {3720, 3000, 735, 255}, R::Large},
    {caption(O::PackVoltage), "Spannung", "Spannung in Volt", {2520, 3360, 855, 255}, R::Regular, "V"},
    {result(O::PackVoltage), "", "", {3360, 3360, 1095, 255}, R::Large},
    {caption(O::CellVoltage), "Volt / Zelle", "Spannung pro Zelle", {2520, 3720, 855, 255}, R::Regular, "V"},
    {result(O::CellVoltage), "", "", {3360, 3720, 1095, 255}, R::Large},
    {caption(O::CableLoss), "Verlust Volt", "Spannungsverlust in Volt", {2520, 4080, 855, 255}, R::Regular, "V"},
    {result(O::CableLoss), "", "", {3360, 4080, 1095, 255}, R::Large},

    {button(Panel::Power), "Berechnen", "", {3360, 5160, 1170, 435}, R::Bold},

    // Flug panel, below the Rotor panel and laid out like it: rows at 2840,
    // 3200, 3560 and 3920, results down to 4280, "Berechnen" under the fields.
    {caption(F::Capacity), "Kapazität", "Kapazität des Akkus in mAh", {5040, 2900, 975, 255}, R::Regular, "mAh"},
    {textBox(F::Capacity), "", "", {6060, 2840, 615, 285}, R::Regular},
    {down(F::Capacity), "<", "", {6795, 2855, 225, 225}, R::Regular},
    {up(F::Capacity), ">", "", {7005, 2855, 225, 225}, R::Regular},
    {caption(O::DrivePower), "Leistung:", "Leistung in Watt", {7320, 2840, 1095, 255}, R::Regular, "W"},
    {result(O::DrivePower), "", "", {8400, 2840, 1095, 255}, R::Large},

    {caption(F::UsablePercent), "Nutzbar %", "Nutzbarer Anteil der Kapazität in Prozent", {5040, 3260, 975, 255}, R::Regular},
    {textBox(F::UsablePercent), "", "", {6060, 3200, 615, 285}, R::Regular},
    {down(F::UsablePercent), "<", "", {6795, 3215, 225, 225}, R::Regular},
    {up(F::UsablePercent), ">", "", {7005, 3215, 225, 225}, R::Regular},
    {caption(O::CRate), "C-Rate:", "Strom im Verhältnis zur Kapazität", {7320, 3200, 1095, 255}, R::Regular},
    {result(O::CRate), "", "", {8400, 3200, 1095, 255}, R::Large},

    {caption(F::LoadFactor), "Lastfaktor %", "Drehzahl unter Last in Prozent der Leerlaufdrehzahl", {5040, 3620, 975, 255}, R::Regular},
    {textBox(F::LoadFactor), "", "", {6060, 3560, 615, 285}, R::Regular},
    {down(F::LoadFactor), "<", "", {6795, 3575, 225, 225}, R::Regular},
    {up(F::LoadFactor), ">", "", {7005, 3575, 225, 225}, R::Regular},
    {caption(O::FlightTime), "Flugzeit:", "Flugzeit in Minuten mit dem nutzbaren Anteil", {7320, 3560, 1095, 255}, R::Regular, "min"},
    {result(O::FlightTime), "", "", {8400, 3560, 1095, 255}, R::Large},

    {caption(F::TargetSpeed), "Soll U/min", "Gewünschte Drehzahl des Prop/Rotors unter Last", {5040, 3980, 975, 255}, R::Regular},
    {textBox(F::TargetSpeed), "", "", {6060, 3920, 615, 285}, R::Regular},
    {down(F::TargetSpeed), "<", "", {6795, 3935, 225, 225}, R::Regular},
    {up(F::TargetSpeed), ">", "", {7005, 3935, 225, 225}, R::Regular},
    {caption(O::LoadedSpeed), "U/Rotor Last:", "Umdrehungen des Prop/Rotors pro Minute unter Last", {7320, 3920, 1095, 255}, R::Regular, "U/min"},
    {result(O::LoadedSpeed), "", "", {8400, 3920, 1095, 255}, R::Large},

    {caption(O::PinionForTarget), "Ritzel:", "Zähne des Ritzels für die Soll-Drehzahl", {7320, 4280, 1095, 255}, R::Regular, "Zähne"},
    {result(O::PinionForTarget), "", "", {8400, 4280, 1095, 255}, R::Large},

    {button(Panel::Flight), "Berechnen", "", {6060, 4320, 1170, 435}, R::Bold},

    // Footer, both right edges at 9570.
    {footer("LCopy"), "© 2026 Autoren", "", {8190, 5040, 1380, 225}, R::Regular},
    {footer("LVersion"), "Version 1.5", "", {8505, 5355, 1065, 225}, R::Regular},
});

// Speed top left, Rotor top right, Power below Speed, Flug below Rotor; the
// footer in the bottom right corner is left over.
constexpr auto panels = std::to_array<PanelArea>({
    {Panel::Speed, "PanelSpeed", heading("HeadingSpeed"), "CCalc", {0, 0, 4785, 1935}},
    {Panel::Rotor, "PanelRotor", heading("HeadingRotor"), "CCalc3", {4785, 0, 4905, 2400}},
    {Panel::Power, "PanelPower", heading("HeadingPower"), "CCalc2", {0, 1935, 4785, 3810}},
    {Panel::Flight, "PanelFlight", heading("HeadingFlight"), "CCalc4", {4785, 2400, 4905, 2595}},
});

// As listed for the window: it jumps between the panels. The options are
// one stop of the tab order, at the selected one (the window sees to that).
constexpr auto focusOrder = std::to_array<Control>({
    textBox(F::Rpm), textBox(F::Pitch), checkBox(B::Inch), textBox(F::Slip), textBox(F::DriveSpeed), checkBox(B::MetresPerSecond), button(Panel::Speed),
    down(F::Rpm), up(F::Rpm), option(T::Rpm), option(T::Pitch), option(T::Speed),
    up(F::Pitch), down(F::Pitch), up(F::DriveSpeed), down(F::DriveSpeed), up(F::Slip), down(F::Slip),
    button(Panel::Power), textBox(F::SpeedConstant), textBox(F::PinionTeeth), textBox(F::CellCount), textBox(F::CellVoltage), textBox(F::GearTeeth),
    up(F::SpeedConstant), down(F::SpeedConstant), up(F::CellCount), down(F::CellCount), up(F::CellVoltage), down(F::CellVoltage), up(F::PinionTeeth), down(F::PinionTeeth),
    textBox(F::GearRatio),
    up(F::BladeLength), textBox(F::BladeLength), down(F::BladeLength), up(F::HubLength), textBox(F::HubLength), down(F::HubLength),
    up(F::BladeWeight), textBox(F::BladeWeight), down(F::BladeWeight), up(F::RotorSpeed), textBox(F::RotorSpeed), down(F::RotorSpeed),
    button(Panel::Rotor),
    textBox(F::CellResistance), textBox(F::Current), up(F::CellResistance), down(F::CellResistance), up(F::Current), down(F::Current),
    textBox(F::CableLength), up(F::CableSection), textBox(F::CableSection), down(F::CableSection),
    // The Flug panel after all the others, row by row.
    textBox(F::Capacity), down(F::Capacity), up(F::Capacity), textBox(F::UsablePercent), down(F::UsablePercent), up(F::UsablePercent),
    textBox(F::LoadFactor), down(F::LoadFactor), up(F::LoadFactor), textBox(F::TargetSpeed), down(F::TargetSpeed), up(F::TargetSpeed),
    button(Panel::Flight),
});
// clang-format on

constexpr bool liesIn(const TwipsRect& inner, const TwipsRect& outer)
{
    return inner.left >= outer.left && inner.top >= outer.top &&
           inner.left + inner.width <= outer.left + outer.width &&
           inner.top + inner.height <= outer.top + outer.height;
}

constexpr const PanelArea* areaOf(const ControlRow& row)
{
    for (const PanelArea& area : panels)
        if (liesIn(row.twips, area.twips))
            return &area;
    return nullptr;
}

// Every control but the footer's lies wholly in a panel, each panel's
// heading in its own, and the panels lie apart within the client area.
static_assert([] {
    for (const ControlRow& row : rows) {
        const PanelArea* area = areaOf(row);
        if ((area == nullptr) != (row.control.kind == ControlKind::Footer))
            return false;
        if (row.control.kind == ControlKind::Heading && !(area->heading == row.control))
            return false;
    }
    for (std::size_t i = 0; i < panels.size(); ++i) {
        const TwipsRect& a = panels[i].twips;
        if (!liesIn(a, {0, 0, clientWidthTwips, clientHeightTwips}))
            return false;
        for (std::size_t j = i + 1; j < panels.size(); ++j) {
            const TwipsRect& b = panels[j].twips;
            if (a.left < b.left + b.width && b.left < a.left + a.width &&
                a.top < b.top + b.height && b.top < a.top + a.height)
                return false;
        }
    }
    return true;
}());

constexpr int rowsFor(const Control& control)
{
    int count = 0;
    for (const ControlRow& row : rows)
        count += row.control == control;
    return count;
}

constexpr int stopsFor(const Control& control)
{
    int count = 0;
    for (const Control& stop : focusOrder)
        count += stop == control;
    return count;
}

// Every field, result, unit box, option and panel has its controls, once
// each, and every control that takes focus has its one place in the tab
// order: a missing or doubled row does not build. (Three checks, each within
// what a compiler evaluates in one constant expression.)
static_assert(
    [] {
        for (const FieldRow& field : fieldTable) {
            const int steppers = field.step ? 1 : 0;
            if (rowsFor(textBox(field.field)) != 1 || rowsFor(caption(field.field)) != 1 ||
                rowsFor(down(field.field)) != steppers || rowsFor(up(field.field)) != steppers)
                return false;
        }
        for (const OutputRow& output : outputTable)
            if (rowsFor(result(output.output)) != 1 || rowsFor(caption(output.output)) != 1)
                return false;
        for (const UnitBoxRow& box : unitBoxTable)
            if (rowsFor(checkBox(box.box)) != 1)
                return false;
        for (const T target : {T::Rpm, T::Pitch, T::Speed})
            if (rowsFor(option(target)) != 1)
                return false;
        for (const PanelArea& area : panels)
            if (rowsFor(button(area.panel)) != 1)
                return false;
        return panels.size() == panelCount;
    }(),
    "every field, result, unit box, option and panel has its control rows");
static_assert(
    [] {
        for (const ControlRow& row : rows) {
            const bool takesFocus = row.control.kind != ControlKind::Heading &&
                                    row.control.kind != ControlKind::Caption &&
                                    row.control.kind != ControlKind::Output &&
                                    row.control.kind != ControlKind::Footer;
            if (stopsFor(row.control) != (takesFocus ? 1 : 0))
                return false;
        }
        return true;
    }(),
    "every control that takes focus has its one stop in the tab order");
static_assert(
    [] {
        for (const Control& stop : focusOrder)
            if (rowsFor(stop) != 1)
                return false;
        return true;
    }(),
    "every stop of the tab order is a control of the table");

QString subjectName(const Control::Subject& subject)
{
    if (const auto* field = std::get_if<Field>(&subject))
        return QString::fromLatin1(fieldRow(*field).objectName);
    return QString::fromLatin1(outputRow(std::get<Output>(subject)).objectName);
}

} // namespace

QString controlName(const Control& control)
{
    switch (control.kind) {
    case ControlKind::Heading:
    case ControlKind::Footer:
        break;
    case ControlKind::Caption:
        return QStringLiteral("Caption") + subjectName(control.subject);
    case ControlKind::Output:
    case ControlKind::TextBox:
        return subjectName(control.subject);
    case ControlKind::Stepper:
        return steppers::buttonName({std::get<Field>(control.subject), control.direction});
    case ControlKind::CheckBox:
        return QString::fromLatin1(unitBoxRow(std::get<UnitBox>(control.subject)).objectName);
    case ControlKind::Option:
        return QStringLiteral("OPC(%1)").arg(int(std::get<T>(control.subject)));
    case ControlKind::Button:
        return QString::fromLatin1(panelArea(std::get<Panel>(control.subject)).buttonName);
    }
    return QString::fromLatin1(control.name);
}

std::span<const ControlRow> controlTable()
{
    return rows;
}

std::span<const Control> tabOrder()
{
    return focusOrder;
}

std::span<const PanelArea> panelAreas()
{
    return panels;
}

const PanelArea& panelArea(Panel panel)
{
    return *std::ranges::find(panels, panel, &PanelArea::panel);
}

const PanelArea* panelAreaOf(const ControlRow& row)
{
    return areaOf(row);
}
