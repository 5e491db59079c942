// The Power panel: cell and pack voltage under load, motor speed, gear ratio,
// rotor speed and cable loss, written in a fixed order. Comma locale throughout.

#include "calc/power_gearing.h"
#include "writes_as_lines.h"

#include <QLocale>
#include <QTest>

Q_DECLARE_METATYPE(power_gearing::Inputs)

namespace {

// The panel's fields as the window starts with them; a row changes only what
// it names.
struct Fields {
    const char* speedConstant = "800";  // TUV
    const char* cellCount = "20";       // TCC
    const char* cellVoltage = "1,1";    // TVC
    const char* pinionTeeth = "10";     // TTR1
    const char* gearTeeth = "200";      // TTR2
    const char* ratio = "";             // TTR0
    const char* cellResistance = "4,5"; // TRC
    const char* current = "20";         // TCA
    const char* cableLength = "";       // TTC0
    const char* cableSection = "2,5";   // TCQ
};

// Texts of LVA, LUM, LPRP, LTRR, LUV and LQA; "" is the empty text and a null
// cable loss means LQA is not written at all.
struct Results {
    const char* cellVoltage;
    const char* motorSpeed;
    const char* rotorSpeed;
    const char* ratio;
    const char* packVoltage;
    const char* cableLoss = nullptr;
};

struct Row {
    const char* name;
    Fields fields;
    Results expected;
};

constexpr Results defaultResults{"1,01", "16160", "808", "20,0:1", "20,20"};

// Expected texts worked out by hand from the formulas, not by the program.
const Row rows[] = {
    {"defaults", {}, defaultResults},
    {"cable 300 mm", {.cableLength = "300"}, {"1,01", "16160", "808", "20,0:1", "20,20", "0,09"}},
    {"cable 0 mm loses nothing",
     {.cableLength = "0"},
     {"1,01", "16160", "808", "20,0:1", "20,20", "0,00"}},
    {"cable length with grouping",
     {.cableLength = "1.000"},
     {"1,01", "16160", "808", "20,0:1", "20,20", "0,29"}},
    {"cable loss at 300 A",
     {.current = "300", .cableLength = "300"},
     {"-0,25", "-4000", "-200", "20,0:1", "-5,00", "1,29"}},
    {"ratio typed", {.ratio = "12,5"}, {"1,01", "16160", "1293", "12,5:1", "20,20"}},
    {"ratio typed, teeth empty",
     {.pinionTeeth = "", .gearTeeth = "", .ratio = "12,5"},
     {"1,01", "16160", "1293", "12,5:1", "20,20"}},
    {"ratio typed, teeth letters",
     {.pinionTeeth = "abc", .gearTeeth = "xyz", .ratio = "12,5"},
     {"1,01", "16160", "1293", "12,5:1", "20,20"}},
    {"ratio with spaces around", {.ratio = " 12,5 "}, {"1,01", "16160", "1293", "12,5:1", "20,20"}},
    {"ratio of spaces takes the teeth", {.ratio = "   "}, defaultResults},
    {"fractional cell count", {.cellCount = "20,4"}, {"1,01", "16483", "824", "20,0:1", "20,60"}},
    {"resistance empty: no load drop",
     {.cellResistance = ""},
     {"", "17600", "880", "20,0:1", "22,00"}},
    {"resistance letters: no load drop",
     {.cellResistance = "abc"},
     {"", "17600", "880", "20,0:1", "22,00"}},
    {"current empty: no load drop", {.current = ""}, {"", "17600", "880", "20,0:1", "22,00"}},
    {"current letters: no load drop", {.current = "abc"}, {"", "17600", "880", "20,0:1", "22,00"}},
    {"resistance 0 shows the cell voltage",
     {.cellResistance = "0"},
     {"1,10", "17600", "880", "20,0:1", "22,00"}},
    {"load drop beyond the cell voltage",
     {.current = "300"},
     {"-0,25", "-4000", "-200", "20,0:1", "-5,00"}},
    {"ratio 2.25 rounds away from zero",
     {.pinionTeeth = "4", .gearTeeth = "9"},
     {"1,01", "16160", "7182", "2,3:1", "20,20"}},
    {"rotor speed 50.5 rounds up", {.ratio = "320"}, {"1,01", "16160", "51", "320,0:1", "20,20"}},
    {"rotor speed -50.5 rounds down",
     {.ratio = "-320"},
     {"1,01", "16160", "-51", "-320,0:1", "20,20"}},
    {"negative ratio computed as is",
     {.ratio = "-20"},
     {"1,01", "16160", "-808", "-20,0:1", "20,20"}},
    {"pinion 0: no ratio", {.pinionTeeth = "0"}, {"1,01", "16160", "", "", "20,20"}},
    {"main gear 0: ratio 0", {.gearTeeth = "0"}, {"1,01", "16160", "", "", "20,20"}},
    {"ratio typed 0", {.ratio = "0"}, {"1,01", "16160", "", "", "20,20"}},
    {"pinion empty", {.pinionTeeth = ""}, {"1,01", "16160", "", "", "20,20"}},
    {"pinion letters", {.pinionTeeth = "abc"}, {"1,01", "16160", "", "", "20,20"}},
    {"main gear letters", {.gearTeeth = "abc"}, {"1,01", "16160", "", "", "20,20"}},
    {"ratio typed letters", {.ratio = "abc"}, {"1,01", "16160", "", "", "20,20"}},
    {"ratio of a tab is not blank", {.ratio = "\t"}, {"1,01", "16160", "", "", "20,20"}},
    {"speed constant empty", {.speedConstant = ""}, {"1,01", "", "", "20,0:1", "20,20"}},
    {"speed constant letters", {.speedConstant = "abc"}, {"1,01", "", "", "20,0:1", "20,20"}},
    {"motor speed overflows", {.speedConstant = "1E308"}, {"1,01", "", "", "20,0:1", "20,20"}},
    {"cell count empty", {.cellCount = ""}, {"1,01", "", "", "20,0:1", ""}},
    {"cell voltage letters", {.cellVoltage = "abc"}, {"", "", "", "20,0:1", ""}},
    {"cable given, current letters",
     {.current = "abc", .cableLength = "300"},
     {"", "17600", "880", "20,0:1", "22,00", ""}},
    {"cable given, current empty",
     {.current = "", .cableLength = "300"},
     {"", "17600", "880", "20,0:1", "22,00", ""}},
    {"cable given, section letters",
     {.cableLength = "300", .cableSection = "abc"},
     {"1,01", "16160", "808", "20,0:1", "20,20", ""}},
    {"cable given, section empty",
     {.cableLength = "300", .cableSection = ""},
     {"1,01", "16160", "808", "20,0:1", "20,20", ""}},
    {"cable given, section 0",
     {.cableLength = "300", .cableSection = "0"},
     {"1,01", "16160", "808", "20,0:1", "20,20", ""}},
    {"cable length letters: no loss written", {.cableLength = "abc"}, defaultResults},
    {"cable length of spaces: no loss written", {.cableLength = "   "}, defaultResults},
};

power_gearing::Inputs inputsFrom(const Fields& fields)
{
    return {.speedConstant = QString::fromUtf8(fields.speedConstant),
            .cellCount = QString::fromUtf8(fields.cellCount),
            .cellVoltage = QString::fromUtf8(fields.cellVoltage),
            .pinionTeeth = QString::fromUtf8(fields.pinionTeeth),
            .gearTeeth = QString::fromUtf8(fields.gearTeeth),
            .ratio = QString::fromUtf8(fields.ratio),
            .cellResistance = QString::fromUtf8(fields.cellResistance),
            .current = QString::fromUtf8(fields.current),
            .cableLength = QString::fromUtf8(fields.cableLength),
            .cableSection = QString::fromUtf8(fields.cableSection)};
}

// The labels in the order the panel writes them.
QStringList asLines(const Results& results)
{
    auto line = [](const char* label, const char* text) {
        return QString::fromLatin1(label) + u'=' + QString::fromUtf8(text);
    };
    QStringList lines{line("LVA", results.cellVoltage), line("LUM", results.motorSpeed),
                      line("LPRP", results.rotorSpeed), line("LTRR", results.ratio),
                      line("LUV", results.packVoltage)};
    if (results.cableLoss)
        lines << line("LQA", results.cableLoss);
    return lines;
}

} // namespace

class PowerGearingTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    void writesTheLabelsInOrder_data()
    {
        QTest::addColumn<power_gearing::Inputs>("inputs");
        QTest::addColumn<QStringList>("expected");
        for (const Row& row : rows)
            QTest::newRow(row.name) << inputsFrom(row.fields) << asLines(row.expected);
    }

    void writesTheLabelsInOrder()
    {
        QFETCH(power_gearing::Inputs, inputs);
        QFETCH(QStringList, expected);
        QCOMPARE(asLines(power_gearing::calculate(inputs)), expected);
    }
};

QTEST_GUILESS_MAIN(PowerGearingTest)
#include "test_power_gearing.moc"
