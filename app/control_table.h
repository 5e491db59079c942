#pragma once

// Every control of the window: what it is, what it shows and where it stands.
// The window builds itself from this table in one loop.

#include <cmath>
#include <limits>
#include <span>

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

// Position and size in twips (1/1440 inch) within the client area.
struct TwipsRect {
    int left;
    int top;
    int width;
    int height;
};

struct ControlRow {
    const char* name; // objectName
    ControlKind kind;
    const char* caption;
    const char* toolTip;
    TwipsRect twips;
    FontRole font;
    const char* names = "";                                         // Caption: the control it names
    double defaultValue = std::numeric_limits<double>::quiet_NaN(); // TextBox: NaN for empty
};

std::span<const ControlRow> controlTable();

// Object names in keyboard focus order; OPC(0) to OPC(2) stand for the group.
std::span<const char* const> tabOrder();

// The client area, twips.
inline constexpr int clientWidthTwips = 9690;
inline constexpr int clientHeightTwips = 5745;
