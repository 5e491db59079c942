// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Every control of the window: what it stands for, what it shows and where
// it stands. The window builds itself from this table in one loop; fields,
// results and unit boxes take their object names from the field table.

#include "core/drive_speed.h"
#include "core/field_table.h"
#include "core/steppers.h"

#include <QString>
#include <span>
#include <string_view>
#include <variant>

enum class ControlKind {
    Heading,  // panel heading
    Caption,  // static text naming a field or a result
    Output,   // result label written by a calculation
    Footer,   // grey copyright and version line
    TextBox,  // single-line input field
    Button,   // "Berechnen"
    Stepper,  // "<" or ">" beside a field
    CheckBox, // unit switch
    Option,   // one button of the option group OPC
};

enum class FontRole {
    Heading, // Arial 9.75 pt bold italic
    Regular, // MS Sans Serif 8.25 pt
    Bold,    // MS Sans Serif 8.25 pt bold
    Large,   // MS Sans Serif 9.75 pt bold, the results (each control sets its own font)
};

inline constexpr std::size_t targetCount = 3; // the options OPC(0) to OPC(2)

// What a control stands for: the field, result, unit box or option it belongs
// to, or for a "Berechnen" button its panel. Headings and footer lines stand
// for nothing but their name.
struct Control {
    using Subject =
        std::variant<std::monostate, Field, Output, UnitBox, drive_speed::Target, Panel>;

    ControlKind kind;
    Subject subject{};
    steppers::Direction direction{}; // steppers only
    const char* name = "";           // headings and footer lines only

    constexpr bool operator==(const Control& other) const
    {
        return kind == other.kind && subject == other.subject && direction == other.direction &&
               std::string_view(name) == std::string_view(other.name);
    }
};

// clang-format off
namespace controls {
constexpr Control heading(const char* name) { return {ControlKind::Heading, {}, {}, name}; }
constexpr Control footer(const char* name) { return {ControlKind::Footer, {}, {}, name}; }
constexpr Control caption(Field field) { return {ControlKind::Caption, field}; }
constexpr Control caption(Output output) { return {ControlKind::Caption, output}; }
constexpr Control result(Output output) { return {ControlKind::Output, output}; }
constexpr Control textBox(Field field) { return {ControlKind::TextBox, field}; }
constexpr Control down(Field field) { return {ControlKind::Stepper, field, steppers::Direction::Down}; }
constexpr Control up(Field field) { return {ControlKind::Stepper, field, steppers::Direction::Up}; }
constexpr Control checkBox(UnitBox box) { return {ControlKind::CheckBox, box}; }
constexpr Control option(drive_speed::Target target) { return {ControlKind::Option, target}; }
constexpr Control button(Panel panel) { return {ControlKind::Button, panel}; }
} // namespace controls
// clang-format on

// The object name tests, tools and screen readers know a control by:
// "TUM", "CaptionTUM", "CAscD", "LPull", "CInch", "OPC(2)", "CCalc3".
QString controlName(const Control& control);

// Position and size in twips (1/1440 inch) within the client area.
struct TwipsRect {
    int left;
    int top;
    int width;
    int height;
};

struct ControlRow {
    Control control;
    const char* caption;
    const char* toolTip;
    TwipsRect twips;
    FontRole font;
    // Captions only: the unit screen readers hear after the value ("mm");
    // a unit box's caption replaces it while the box is ticked.
    const char* unit = "";
};

std::span<const ControlRow> controlTable();

// A panel of the window: an area that holds its heading and the controls of
// its fields, results and "Berechnen". The footer lies outside all panels.
struct PanelArea {
    Panel panel;
    const char* name;       // object name, "PanelSpeed"
    Control heading;        // whose caption names the panel for screen readers
    const char* buttonName; // of its "Berechnen", "CCalc"
    TwipsRect twips;        // within the client area
};

std::span<const PanelArea> panelAreas();
const PanelArea& panelArea(Panel panel);

// The area a control's row lies in; none for the footer.
const PanelArea* panelAreaOf(const ControlRow& row);

// Every control that takes focus, in keyboard focus order.
std::span<const Control> tabOrder();

// The client area, twips.
inline constexpr int clientWidthTwips = 9690;
inline constexpr int clientHeightTwips = 5745;
