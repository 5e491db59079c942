#include "control_table.h"

#include <array>

namespace {

using K = ControlKind;
using F = FontRole;

// clang-format off
constexpr auto controls = std::to_array<ControlRow>({
    // name, kind, caption, tooltip, {left, top, width, height}, font, names, default
    {"HeadingSpeed", K::Heading, "Speed", "", {120, 75, 735, 255}, F::Heading},
    {"HeadingRotor", K::Heading, "Rotor", "", {5040, 80, 2295, 255}, F::Heading},
    {"HeadingPower", K::Heading, "Power", "", {120, 1950, 2295, 255}, F::Heading},

    // Speed panel: rows at 345, 660, 975 and 1290.
    {"CaptionTUM", K::Caption, "U/min", "Umdrehungen pro Minute", {105, 420, 960, 225}, F::Regular, "TUM"},
    {"OPC(0)", K::Option, "", "", {945, 345, 225, 225}, F::Regular},
    {"TUM", K::TextBox, "", "", {1260, 345, 645, 285}, F::Regular, "", 10000},
    {"CUMD", K::Stepper, "<", "", {1995, 345, 225, 225}, F::Regular},
    {"CUMU", K::Stepper, ">", "", {2205, 345, 225, 225}, F::Regular},

    {"CaptionTAsc", K::Caption, "Steigung", "Steigung", {105, 735, 960, 225}, F::Regular, "TAsc"},
    {"OPC(1)", K::Option, "", "", {945, 660, 225, 225}, F::Regular},
    {"TAsc", K::TextBox, "", "", {1260, 660, 645, 285}, F::Regular, "", 15},
    {"CAscD", K::Stepper, "<", "", {1995, 660, 225, 225}, F::Regular},
    {"CAscU", K::Stepper, ">", "", {2205, 660, 225, 225}, F::Regular},
    {"CInch", K::CheckBox, "Zoll", "", {2520, 660, 645, 330}, F::Regular},

    {"CaptionTSlip", K::Caption, "Schlupf %", "Schlupf", {105, 1050, 960, 225}, F::Regular, "TSlip"},
    {"TSlip", K::TextBox, "", "", {1260, 975, 645, 285}, F::Regular, "", 25},
    {"CSlipD", K::Stepper, "<", "", {1995, 975, 225, 225}, F::Regular},
    {"CSlipU", K::Stepper, ">", "", {2205, 975, 225, 225}, F::Regular},

    {"CaptionTSpeed", K::Caption, "Speed", "Antriebsgeschwindigkeit", {105, 1365, 960, 225}, F::Regular, "TSpeed"},
    {"OPC(2)", K::Option, "", "", {945, 1290, 225, 225}, F::Regular},
    {"TSpeed", K::TextBox, "", "", {1260, 1290, 645, 285}, F::Regular},
    {"CSpeedD", K::Stepper, "<", "", {1995, 1290, 225, 225}, F::Regular},
    {"CSpeedU", K::Stepper, ">", "", {2205, 1290, 225, 225}, F::Regular},
    {"CSpeed", K::CheckBox, "m/s", "", {2520, 1290, 750, 225}, F::Regular},

    {"CCalc", K::Button, "Berechnen", "", {3360, 1185, 1170, 435}, F::Bold},

    // Rotor panel: rows at 360, 720, 1080 and 1440, inputs left, results right.
    {"CaptionTBL", K::Caption, "Blattlänge", "Länge eines Blatts in mm", {5040, 420, 975, 255}, F::Regular, "TBL"},
    {"TBL", K::TextBox, "", "", {6060, 360, 615, 285}, F::Regular, "", 600},
    {"CBLD", K::Stepper, "<", "", {6795, 375, 225, 225}, F::Regular},
    {"CBLU", K::Stepper, ">", "", {7005, 375, 225, 225}, F::Regular},
    {"CaptionLTH", K::Caption, "Durchmesser:", "Durchmesser in mm", {7320, 360, 1095, 255}, F::Regular, "LTH"},
    {"LTH", K::Output, "", "", {8760, 360, 735, 255}, F::Large},

    {"CaptionTML", K::Caption, "Mittelstück", "Länge des Mittelstücks in mm", {5040, 780, 975, 255}, F::Regular, "TML"},
    {"TML", K::TextBox, "", "", {6060, 720, 615, 285}, F::Regular, "", 150},
    {"CMLD", K::Stepper, "<", "", {6795, 735, 225, 225}, F::Regular},
    {"CMLU", K::Stepper, ">", "", {7005, 735, 225, 225}, F::Regular},
    {"CaptionLPull", K::Caption, "Zug/Blatt:", "Zug pro Blatt in Kg", {7320, 720, 855, 255}, F::Regular, "LPull"},
    {"LPull", K::Output, "", "", {8400, 720, 1095, 255}, F::Large},

    {"CaptionTBW", K::Caption, "Blattgewicht", "Gewicht eines Blatts in g", {5040, 1140, 975, 255}, F::Regular, "TBW"},
    {"TBW", K::TextBox, "", "", {6060, 1080, 615, 285}, F::Regular, "", 150},
    {"CBWD", K::Stepper, "<", "", {6795, 1095, 225, 225}, F::Regular},
    {"CBWU", K::Stepper, ">", "", {7005, 1095, 225, 225}, F::Regular},
    {"CaptionLCirc", K::Caption, "Kreisfläche:", "Kreisfläche in Quadratdezimeter", {7320, 1080, 1095, 255}, F::Regular, "LCirc"},
    {"LCirc", K::Output, "", "", {8520, 1080, 975, 255}, F::Large},

    {"CaptionTBS", K::Caption, "U/Min", "Umdrehungen pro Minute", {5040, 1500, 975, 255}, F::Regular, "TBS"},
    {"TBS", K::TextBox, "", "", {6060, 1440, 615, 285}, F::Regular, "", 1500},
    {"CBSD", K::Stepper, "<", "", {6795, 1455, 225, 225}, F::Regular},
    {"CBSU", K::Stepper, ">", "", {7005, 1455, 225, 225}, F::Regular},
    {"CaptionLSpeed", K::Caption, "Km/h:", "Kilometer pro Stunde", {7320, 1440, 1095, 255}, F::Regular, "LSpeed"},
    {"LSpeed", K::Output, "", "", {8400, 1440, 1095, 255}, F::Bold},

    {"CCalc3", K::Button, "Berechnen", "", {8400, 1800, 1170, 435}, F::Bold},

    // Power panel, inputs (left column).
    {"CaptionTUV", K::Caption, "U/Volt Motor", "Umdrehungen pro Volt des Motors", {120, 2370, 975, 255}, F::Regular, "TUV"},
    {"TUV", K::TextBox, "", "", {1260, 2280, 615, 285}, F::Regular, "", 800},
    {"TUVD", K::Stepper, "<", "", {1995, 2295, 225, 225}, F::Regular},
    {"TUVU", K::Stepper, ">", "", {2205, 2295, 225, 225}, F::Regular},

    {"CaptionTCC", K::Caption, "Zellenanzahl", "Zellenanzahl", {120, 2700, 975, 255}, F::Regular, "TCC"},
    {"TCC", K::TextBox, "", "", {1260, 2595, 615, 285}, F::Regular, "", 20},
    {"TCCD", K::Stepper, "<", "", {1995, 2640, 225, 225}, F::Regular},
    {"TCCU", K::Stepper, ">", "", {2205, 2640, 225, 225}, F::Regular},

    {"CaptionTVC", K::Caption, "Volt/Zelle", "Volt pro Zelle", {120, 3015, 975, 255}, F::Regular, "TVC"},
    {"TVC", K::TextBox, "", "", {1260, 2925, 615, 285}, F::Regular, "", 1.1},
    {"TVCD", K::Stepper, "<", "", {1995, 3000, 225, 225}, F::Regular},
    {"TVCU", K::Stepper, ">", "", {2205, 3000, 225, 225}, F::Regular},

    {"CaptionTTR1", K::Caption, "Ritzel", "Anzahl Zähne Rithel", {120, 3315, 975, 255}, F::Regular, "TTR1"},
    {"TTR1", K::TextBox, "", "", {1260, 3240, 615, 285}, F::Regular, "", 10},
    {"TTR1D", K::Stepper, "<", "", {1995, 3315, 225, 225}, F::Regular},
    {"TTR1U", K::Stepper, ">", "", {2205, 3315, 225, 225}, F::Regular},

    {"CaptionTTR2", K::Caption, "Zahnrad", "Anzahl Zähne Hauptzahnrad", {120, 3615, 975, 255}, F::Regular, "TTR2"},
    {"TTR2", K::TextBox, "", "", {1260, 3555, 615, 285}, F::Regular, "", 200},

    {"CaptionTTR0", K::Caption, "Getriebe", "Untersetzung oder leer für Berechnung", {120, 3945, 975, 255}, F::Regular, "TTR0"},
    {"TTR0", K::TextBox, "", "", {1260, 3870, 615, 285}, F::Regular},

    {"CaptionTRC", K::Caption, "Ri / Zelle", "Innenwiderstand pro Zelle in MilliOhm", {120, 4275, 975, 255}, F::Regular, "TRC"},
    {"TRC", K::TextBox, "", "", {1260, 4200, 615, 285}, F::Regular, "", 4.5},
    {"TRCD", K::Stepper, "<", "", {1995, 4200, 225, 225}, F::Regular},
    {"TRCU", K::Stepper, ">", "", {2205, 4200, 225, 225}, F::Regular},

    {"CaptionTCA", K::Caption, "Strom", "Strom in Ampere", {120, 4620, 975, 255}, F::Regular, "TCA"},
    {"TCA", K::TextBox, "", "", {1260, 4560, 615, 285}, F::Regular, "", 20},
    {"TCAD", K::Stepper, "<", "", {1995, 4560, 225, 225}, F::Regular},
    {"TCAU", K::Stepper, ">", "", {2205, 4560, 225, 225}, F::Regular},

    {"CaptionTTC0", K::Caption, "Kabellänge", "Einfache Kabellänge in mm", {120, 4995, 975, 255}, F::Regular, "TTC0"},
    {"TTC0", K::TextBox, "", "", {1260, 4920, 615, 285}, F::Regular},

    {"CaptionTCQ", K::Caption, "Kabelfläche", "Kabelquerschnitt in qmm", {120, 5340, 975, 255}, F::Regular, "TCQ"},
    {"TCQ", K::TextBox, "", "", {1260, 5280, 615, 285}, F::Regular, "", 2.5},
    {"TCQD", K::Stepper, "<", "", {1995, 5280, 225, 225}, F::Regular},
    {"TCQU", K::Stepper, ">", "", {2205, 5280, 225, 225}, F::Regular},

    // Power panel, results (middle column).
    {"CaptionLUM", K::Caption, "U/Motor:", "Umdrehungen des Motors pro Minute", {2520, 2280, 1095, 255}, F::Regular, "LUM"},
    {"LUM", K::Output, "", "", {3720, 2280, 735, 255}, F::Large},
    {"CaptionLPRP", K::Caption, "U/Prop/Rotor:", "Umdrehungen des Prop/Rotors pro Minute", {2520, 2640, 1095, 255}, F::Regular, "LPRP"},
    {"LPRP", K::Output, "", "", {3720, 2640, 735, 255}, F::Large},
    {"CaptionLTRR", K::Caption, "Untersetzung:", "Getriebeuntersetzung", {2520, 3000, 1095, 255}, F::Regular, "LTRR"},
    {"LTRR", K::Output, "", "", {3720, 3000, 735, 255}, F::Large},
    {"CaptionLUV", K::Caption, "Spannung", "Spannung in Volt", {2520, 3360, 855, 255}, F::Regular, "LUV"},
    {"LUV", K::Output, "", "", {3360, 3360, 1095, 255}, F::Large},
    {"CaptionLVA", K::Caption, "Volt / Zelle", "Spannung pro Zelle", {2520, 3720, 855, 255}, F::Regular, "LVA"},
    {"LVA", K::Output, "", "", {3360, 3720, 1095, 255}, F::Large},
    {"CaptionLQA", K::Caption, "Verlust Volt", "Spannungsverlust in Volt", {2520, 4080, 855, 255}, F::Regular, "LQA"},
    {"LQA", K::Output, "", "", {3360, 4080, 1095, 255}, F::Large},

    {"CCalc2", K::Button, "Berechnen", "", {3360, 5160, 1170, 435}, F::Bold},

    // Footer, both right edges at 9570.
    {"LCopy", K::Footer, "© 2026 Autoren", "", {8190, 5040, 1380, 225}, F::Regular},
    {"LVersion", K::Footer, "Version 1.5", "", {8505, 5355, 1065, 225}, F::Regular},
});

constexpr auto focusOrder = std::to_array<const char*>({
    "TUM",    "TAsc",   "CInch",  "TSlip",  "TSpeed", "CSpeed", "CCalc",   "CUMD",   "CUMU",
    "OPC(0)", "OPC(1)", "OPC(2)", "CAscU",  "CAscD",  "CSpeedU", "CSpeedD", "CSlipU", "CSlipD",
    "CCalc2", "TUV",    "TTR1",   "TCC",    "TVC",    "TTR2",   "TUVU",    "TUVD",   "TCCU",
    "TCCD",   "TVCU",   "TVCD",   "TTR1U",  "TTR1D",  "TTR0",   "CBLU",    "TBL",    "CBLD",
    "CMLU",   "TML",    "CMLD",   "CBWU",   "TBW",    "CBWD",   "CBSU",    "TBS",    "CBSD",
    "CCalc3", "TRC",    "TCA",    "TRCU",   "TRCD",   "TCAU",   "TCAD",    "TTC0",   "TCQU",
    "TCQ",    "TCQD",
});
// clang-format on

} // namespace

std::span<const ControlRow> controlTable()
{
    return controls;
}

std::span<const char* const> tabOrder()
{
    return focusOrder;
}
