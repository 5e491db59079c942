// SPDX-License-Identifier: GPL-3.0-or-later
// The Flug panel: power, C-rate, flight time, speed under load and the pinion
// for a wanted speed, from the Power panel's fields and its own. Comma locale.

#include "core/flight.h"
#include "support.h"

#include <QLocale>
#include <QTest>

namespace {

// The fields as the window starts with them; a row changes only what it names.
struct Fields {
    const char *TUV = "800", *TCC = "20", *TVC = "1,1", *TTR1 = "10", *TTR2 = "200", *TTR0 = "",
               *TRC = "4,5", *TCA = "20", *TCAP = "3000", *TUSE = "80", *TLOAD = "85", *THS = "800";
};

// Texts of LPOW, LCRATE, LTIME, LHEAD and LPIN separated by "|", worked out
// by hand: with the defaults 20,2 V x 20 A = 404 W, 20 A / 3 Ah = 6,67,
// 3 Ah x 0,8 / 20 A x 60 = 7,2 min, 808 x 0,85 = 686,8 and
// 800 x 200 / (16160 x 0,85) = 11,65.
struct Row {
    const char* name;
    Fields fields;
    const char* expected;
};

// clang-format off
const Row rows[] = {
    {"defaults", {}, "404|6,7|7,2|687|11,6"},
    // 20 x (1,1 - 40 x 0,0045) = 18,4 V, 14720 and 736 U/min.
    {"5000 mAh at 40 A, 75 % flown", {.TCA = "40", .TCAP = "5000", .TUSE = "75"}, "736|8,0|5,6|626|12,8"},
    {"load factor 90 %, 700 U/min wanted", {.TLOAD = "90", .THS = "700"}, "404|6,7|7,2|727|9,6"},
    {"all of the capacity", {.TUSE = "100"}, "404|6,7|9,0|687|11,6"},
    {"the ratio typed: no pinion", {.TTR0 = "12,5"}, "404|6,7|7,2|1099|"},
    {"a ratio of spaces takes the teeth", {.TTR0 = "  "}, "404|6,7|7,2|687|11,6"},
    {"capacity empty", {.TCAP = ""}, "404|||687|11,6"},
    {"capacity letters", {.TCAP = "abc"}, "404|||687|11,6"},
    {"capacity 0", {.TCAP = "0"}, "404|||687|11,6"},
    {"capacity above 100000 mAh", {.TCAP = "200000"}, "404|||687|11,6"},
    // No load drop: 22 V, 17600 and 880 U/min.
    {"current 0: no flight time", {.TCA = "0"}, "0|0,0||748|10,7"},
    {"current letters", {.TCA = "abc"}, "|||748|10,7"},
    // 22,45 V under a negative drop, 17960 and 898 U/min.
    {"current negative", {.TCA = "-5"}, "|||763|10,5"},
    {"usable part 0", {.TUSE = "0"}, "404|6,7||687|11,6"},
    {"usable part letters", {.TUSE = "x"}, "404|6,7||687|11,6"},
    {"load factor 0", {.TLOAD = "0"}, "404|6,7|7,2||"},
    {"load factor above 100 %", {.TLOAD = "120"}, "404|6,7|7,2||"},
    {"wanted speed empty", {.THS = ""}, "404|6,7|7,2|687|"},
    {"wanted speed negative", {.THS = "-800"}, "404|6,7|7,2|687|"},
    {"main gear letters", {.TTR2 = "abc"}, "404|6,7|7,2||"},
    {"speed constant 0: no pinion", {.TUV = "0"}, "404|6,7|7,2|0|"},
};
// clang-format on

FieldTexts textsOf(const Fields& fields)
{
    FieldTexts texts;
    const std::pair<Field, const char*> given[] = {
        {Field::SpeedConstant, fields.TUV},  {Field::CellCount, fields.TCC},
        {Field::CellVoltage, fields.TVC},    {Field::PinionTeeth, fields.TTR1},
        {Field::GearTeeth, fields.TTR2},     {Field::GearRatio, fields.TTR0},
        {Field::CellResistance, fields.TRC}, {Field::Current, fields.TCA},
        {Field::Capacity, fields.TCAP},      {Field::UsablePercent, fields.TUSE},
        {Field::LoadFactor, fields.TLOAD},   {Field::TargetSpeed, fields.THS},
    };
    for (const auto& [field, text] : given)
        texts[field] = QString::fromUtf8(text);
    return texts;
}

} // namespace

class FlightTest : public QObject {
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
        QCOMPARE(asLines(flight::calculate(textsOf(rows[row].fields))),
                 labelledLines({"LPOW", "LCRATE", "LTIME", "LHEAD", "LPIN"}, rows[row].expected));
    }
};

QTEST_GUILESS_MAIN(FlightTest)
#include "test_flight.moc"
