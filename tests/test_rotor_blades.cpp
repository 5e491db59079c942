// SPDX-License-Identifier: GPL-3.0-or-later
// The Rotor panel: diameter, disc area, tip speed and the pull of one blade,
// written in a fixed order; values that cannot be computed are left empty.
// Comma locale throughout.

#include "core/rotor_blades.h"
#include "support.h"

#include <QLocale>
#include <QTest>

namespace {

// The four texts of each side, separated by "|"; "" is the empty text.
struct Row {
    const char* name;
    const char* inputs;   // TBL, TML, TBW, TBS
    const char* expected; // LTH, LCirc, LSpeed, LPull
};

// Expected texts worked out by hand from the formulas, not by the program.
// clang-format off
const Row rows[] = {
    // name                                 TBL|TML|TBW|TBS        LTH|LCirc|LSpeed|LPull
    {"defaults",                            "600|150|150|1500",    "1350|143,14|381,70|254,66"},
    {"speed 0: no tip speed, no pull",      "600|150|150|0",       "1350|143,14|0,00|0,00"},
    {"negative speed, same pull",           "600|150|150|-1500",   "1350|143,14|-381,70|254,66"},
    {"faster: pull grows with the square",  "600|150|150|2000",    "1350|143,14|508,94|452,73"},
    {"odd centre piece adds itself",        "600|151|150|1500",    "1351|143,35|381,99|254,85"},
    {"fractional diameter keeps its half",  "600,75|150|150|1500", "1351,5|143,46|382,13|254,95"},
    {"weightless blade pulls nothing",      "600|150|0|1500",      "1350|143,14|381,70|0,00"},
    // 3.14159, not the full pi: that would give 785398,16, 28274,33 and 18863,92.
    {"pi to five decimals",                 "49925|150|150|1500",  "100000|785397,50|28274,31|18863,89"},
    {"negative diameter computed as is",    "-600|150|150|1500",   "-1050|86,59|-296,88|-198,07"},
    {"no radius: pull 0 / 0 is empty",      "0|0|150|1500",        "0|0,00|0,00|"},
    {"weight letters: only the pull empty", "600|150|abc|1500",    "1350|143,14|381,70|"},
    {"speed letters: speed and pull empty", "600|150|150|abc",     "1350|143,14||"},
    {"blade length letters: all empty",     "abc|150|150|1500",    "|||"},
    {"centre piece letters: all empty",     "600|x|150|1500",      "|||"},
    {"blade length overflows: all empty",   "1E308|150|150|1500",  "|||"},
    {"pull overflows: only the pull empty", "600|150|1E308|1500",  "1350|143,14|381,70|"},
};
// clang-format on

} // namespace

class RotorBladesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    void writesTheFourLabelsInOrder_data()
    {
        QTest::addColumn<int>("row");
        for (std::size_t i = 0; i < std::size(rows); ++i)
            QTest::newRow(rows[i].name) << int(i);
    }

    void writesTheFourLabelsInOrder()
    {
        QFETCH(int, row);
        const QStringList inputs = QString::fromUtf8(rows[row].inputs).split(u'|');
        const QStringList results = QString::fromUtf8(rows[row].expected).split(u'|');
        QCOMPARE(inputs.size(), 4);
        QCOMPARE(results.size(), 4);
        FieldTexts texts;
        texts[Field::BladeLength] = inputs[0];
        texts[Field::HubLength] = inputs[1];
        texts[Field::BladeWeight] = inputs[2];
        texts[Field::RotorSpeed] = inputs[3];
        const QStringList expected = {"LTH=" + results[0], "LCirc=" + results[1],
                                      "LSpeed=" + results[2], "LPull=" + results[3]};
        QCOMPARE(asLines(rotor_blades::calculate(texts)), expected);
    }
};

QTEST_GUILESS_MAIN(RotorBladesTest)
#include "test_rotor_blades.moc"
