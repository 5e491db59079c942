// The Rotor panel: diameter, disc area, tip speed and the pull of one blade,
// written in a fixed order; values that cannot be computed are left empty.
// Comma locale throughout.

#include "calc/rotor_blades.h"
#include "writes_as_lines.h"

#include <QLocale>
#include <QTest>

namespace {

constexpr double windowPi = 3.14159;

struct Row {
    const char* name;
    const char* inputs[4];   // TBL, TML, TBW, TBS
    const char* expected[4]; // LTH, LCirc, LSpeed, LPull; "" is the empty text
    double pi = windowPi;
};

// Expected texts worked out by hand from the formulas, not by the program.
const Row rows[] = {
    {"defaults", {"600", "150", "150", "1500"}, {"1350", "143,14", "381,70", "254,66"}},
    {"speed 0: no tip speed, no pull",
     {"600", "150", "150", "0"},
     {"1350", "143,14", "0,00", "0,00"}},
    {"negative speed, same pull",
     {"600", "150", "150", "-1500"},
     {"1350", "143,14", "-381,70", "254,66"}},
    {"faster: pull grows with the square",
     {"600", "150", "150", "2000"},
     {"1350", "143,14", "508,94", "452,73"}},
    {"odd centre piece adds itself",
     {"600", "151", "150", "1500"},
     {"1351", "143,35", "381,99", "254,85"}},
    {"fractional blade length",
     {"600,5", "150", "150", "1500"},
     {"1351", "143,35", "381,99", "254,85"}},
    {"fractional diameter keeps its half",
     {"600,75", "150", "150", "1500"},
     {"1351,5", "143,46", "382,13", "254,95"}},
    {"grouping separator in the length",
     {"1.000", "150", "150", "1500"},
     {"2150", "363,05", "607,90", "405,57"}},
    {"spaces around a length",
     {" 600 ", "150", "150", "1500"},
     {"1350", "143,14", "381,70", "254,66"}},
    {"weightless blade pulls nothing",
     {"600", "150", "0", "1500"},
     {"1350", "143,14", "381,70", "0,00"}},
    {"the window's pi, not the full one",
     {"600", "150", "150", "1500"},
     {"1350", "136,69", "364,50", "232,22"},
     3.0},
    {"negative diameter computed as is",
     {"-600", "150", "150", "1500"},
     {"-1050", "86,59", "-296,88", "-198,07"}},
    {"no radius: pull 0 / 0 is empty", {"0", "0", "150", "1500"}, {"0", "0,00", "0,00", ""}},
    {"weight empty: only the pull empty",
     {"600", "150", "", "1500"},
     {"1350", "143,14", "381,70", ""}},
    {"weight letters: only the pull empty",
     {"600", "150", "abc", "1500"},
     {"1350", "143,14", "381,70", ""}},
    {"speed empty: speed and pull empty", {"600", "150", "150", ""}, {"1350", "143,14", "", ""}},
    {"speed letters: speed and pull empty",
     {"600", "150", "150", "abc"},
     {"1350", "143,14", "", ""}},
    {"speed of spaces is no number", {"600", "150", "150", "   "}, {"1350", "143,14", "", ""}},
    {"blade length empty: all empty", {"", "150", "150", "1500"}, {"", "", "", ""}},
    {"blade length letters: all empty", {"abc", "150", "150", "1500"}, {"", "", "", ""}},
    {"centre piece empty: all empty", {"600", "", "150", "1500"}, {"", "", "", ""}},
    {"centre piece letters: all empty", {"600", "x", "150", "1500"}, {"", "", "", ""}},
    {"blade length overflows: all empty", {"1E308", "150", "150", "1500"}, {"", "", "", ""}},
    {"pull overflows: only the pull empty",
     {"600", "150", "1E308", "1500"},
     {"1350", "143,14", "381,70", ""}},
};

} // namespace

class RotorBladesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    void writesTheFourLabelsInOrder_data()
    {
        QTest::addColumn<QString>("bladeLength");
        QTest::addColumn<QString>("hubLength");
        QTest::addColumn<QString>("bladeWeight");
        QTest::addColumn<QString>("rotorSpeed");
        QTest::addColumn<double>("pi");
        QTest::addColumn<QStringList>("expected");
        const char* const labels[] = {"LTH", "LCirc", "LSpeed", "LPull"};
        for (const Row& row : rows) {
            QStringList expected;
            for (int i = 0; i < 4; ++i)
                expected << QString::fromLatin1(labels[i]) + u'=' +
                                QString::fromUtf8(row.expected[i]);
            QTest::newRow(row.name)
                << QString::fromUtf8(row.inputs[0]) << QString::fromUtf8(row.inputs[1])
                << QString::fromUtf8(row.inputs[2]) << QString::fromUtf8(row.inputs[3]) << row.pi
                << expected;
        }
    }

    void writesTheFourLabelsInOrder()
    {
        QFETCH(QString, bladeLength);
        QFETCH(QString, hubLength);
        QFETCH(QString, bladeWeight);
        QFETCH(QString, rotorSpeed);
        QFETCH(double, pi);
        QFETCH(QStringList, expected);

        const Writes writes = rotor_blades::calculate({.bladeLength = bladeLength,
                                                       .hubLength = hubLength,
                                                       .bladeWeight = bladeWeight,
                                                       .rotorSpeed = rotorSpeed,
                                                       .pi = pi});
        QCOMPARE(asLines(writes), expected);
    }
};

QTEST_GUILESS_MAIN(RotorBladesTest)
#include "test_rotor_blades.moc"
