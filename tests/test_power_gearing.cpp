// SPDX-License-Identifier: GPL-3.0-or-later
// The Power panel: cell and pack voltage under load, motor speed, gear ratio,
// rotor speed and cable loss, written in a fixed order. Comma locale throughout.

#include "core/power_gearing.h"
#include "support.h"

#include <QLocale>
#include <QTest>

namespace {

// The panel's fields as the window starts with them; a row changes only what
// it names.
struct Fields {
    const char *TUV = "800", *TCC = "20", *TVC = "1,1", *TTR1 = "10", *TTR2 = "200", *TTR0 = "",
               *TRC = "4,5", *TCA = "20", *TTC0 = "", *TCQ = "2,5";
};

// Texts of LVA, LUM, LPRP, LTRR, LUV and LQA, separated by "|": "" is the empty
// text, and without a sixth text LQA is not written at all.
struct Row {
    const char* name;
    Fields fields;
    const char* expected;
};

constexpr const char* defaults = "1,01|16160|808|20,0:1|20,20";

// Expected texts worked out by hand from the formulas, not by the program.
const Row rows[] = {
    {"defaults", {}, defaults},
    {"cable 300 mm", {.TTC0 = "300"}, "1,01|16160|808|20,0:1|20,20|0,09"},
    {"cable 0 mm loses nothing", {.TTC0 = "0"}, "1,01|16160|808|20,0:1|20,20|0,00"},
    {"cable loss at 300 A", {.TCA = "300", .TTC0 = "300"}, "-0,25|-4000|-200|20,0:1|-5,00|1,29"},
    {"ratio typed", {.TTR0 = "12,5"}, "1,01|16160|1293|12,5:1|20,20"},
    {"ratio typed, teeth empty or letters",
     {.TTR1 = "", .TTR2 = "xyz", .TTR0 = "12,5"},
     "1,01|16160|1293|12,5:1|20,20"},
    {"ratio with spaces around", {.TTR0 = " 12,5 "}, "1,01|16160|1293|12,5:1|20,20"},
    {"ratio of spaces takes the teeth", {.TTR0 = "   "}, defaults},
    {"fractional cell count", {.TCC = "20,4"}, "1,01|16483|824|20,0:1|20,60"},
    {"resistance letters: no load drop", {.TRC = "abc"}, "|17600|880|20,0:1|22,00"},
    {"current letters: no load drop", {.TCA = "abc"}, "|17600|880|20,0:1|22,00"},
    {"resistance 0 shows the cell voltage", {.TRC = "0"}, "1,10|17600|880|20,0:1|22,00"},
    {"ratio 2.25 rounds away from zero", {.TTR1 = "4", .TTR2 = "9"}, "1,01|16160|7182|2,3:1|20,20"},
    {"rotor speed 50.5 rounds up", {.TTR0 = "320"}, "1,01|16160|51|320,0:1|20,20"},
    {"rotor speed -50.5 rounds down", {.TTR0 = "-320"}, "1,01|16160|-51|-320,0:1|20,20"},
    {"pinion 0: no ratio", {.TTR1 = "0"}, "1,01|16160|||20,20"},
    {"main gear 0: ratio 0, no rotor speed", {.TTR2 = "0"}, "1,01|16160||0,0:1|20,20"},
    {"ratio typed 0", {.TTR0 = "0"}, "1,01|16160||0,0:1|20,20"},
    {"ratio typed -0", {.TTR0 = "-0"}, "1,01|16160||0,0:1|20,20"},
    {"pinion letters", {.TTR1 = "abc"}, "1,01|16160|||20,20"},
    {"main gear letters", {.TTR2 = "abc"}, "1,01|16160|||20,20"},
    {"ratio typed letters", {.TTR0 = "abc"}, "1,01|16160|||20,20"},
    {"ratio of a tab is not blank", {.TTR0 = "\t"}, "1,01|16160|||20,20"},
    {"speed constant letters", {.TUV = "abc"}, "1,01|||20,0:1|20,20"},
    {"motor speed overflows", {.TUV = "1E308"}, "1,01|||20,0:1|20,20"},
    {"cell count empty", {.TCC = ""}, "1,01|||20,0:1|"},
    {"cell voltage letters", {.TVC = "abc"}, "|||20,0:1|"},
    {"cable given, current letters", {.TCA = "abc", .TTC0 = "300"}, "|17600|880|20,0:1|22,00|"},
    {"cable given, section letters", {.TTC0 = "300", .TCQ = "abc"}, "1,01|16160|808|20,0:1|20,20|"},
    {"cable given, section 0", {.TTC0 = "300", .TCQ = "0"}, "1,01|16160|808|20,0:1|20,20|"},
    {"section times conductivity overflows",
     {.TTC0 = "1", .TCQ = "1E307"},
     "1,01|16160|808|20,0:1|20,20|"},
    {"cable length letters: no loss written", {.TTC0 = "abc"}, defaults},
};

FieldTexts textsOf(const Fields& fields)
{
    FieldTexts texts;
    texts[Field::SpeedConstant] = QString::fromUtf8(fields.TUV);
    texts[Field::CellCount] = QString::fromUtf8(fields.TCC);
    texts[Field::CellVoltage] = QString::fromUtf8(fields.TVC);
    texts[Field::PinionTeeth] = QString::fromUtf8(fields.TTR1);
    texts[Field::GearTeeth] = QString::fromUtf8(fields.TTR2);
    texts[Field::GearRatio] = QString::fromUtf8(fields.TTR0);
    texts[Field::CellResistance] = QString::fromUtf8(fields.TRC);
    texts[Field::Current] = QString::fromUtf8(fields.TCA);
    texts[Field::CableLength] = QString::fromUtf8(fields.TTC0);
    texts[Field::CableSection] = QString::fromUtf8(fields.TCQ);
    return texts;
}

} // namespace

class PowerGearingTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    void writesTheLabelsInOrder_data()
    {
        QTest::addColumn<int>("row");
        for (std::size_t i = 0; i < std::size(rows); ++i)
            QTest::newRow(rows[i].name) << int(i);
    }

    void writesTheLabelsInOrder()
    {
        QFETCH(int, row);
        // The labels in the order the panel writes them; LQA only with a cable.
        QCOMPARE(asLines(power_gearing::calculate(textsOf(rows[row].fields))),
                 labelledLines({"LVA", "LUM", "LPRP", "LTRR", "LUV", "LQA"}, rows[row].expected));
    }
};

QTEST_GUILESS_MAIN(PowerGearingTest)
#include "test_power_gearing.moc"
