// SPDX-License-Identifier: GPL-3.0-or-later
// The "<" and ">" buttons: their names, and the text one click or a run of
// clicks leaves in the field. Comma locale throughout.

#include "core/steppers.h"

#include <QLocale>
#include <QSet>
#include <QTest>

using steppers::Stepper;

namespace {

// The names tests and tools know the buttons by, in field order: the field's
// name and D or U; Speed and Rotor buttons swap the field's T for a C.
// clang-format off
const QStringList buttonNames = {
    "CUMD", "CUMU", "CAscD", "CAscU", "CSlipD", "CSlipU", "CSpeedD", "CSpeedU",
    "CBLD", "CBLU", "CMLD", "CMLU", "CBWD", "CBWU", "CBSD", "CBSU",
    "TUVD", "TUVU", "TCCD", "TCCU", "TVCD", "TVCU", "TTR1D", "TTR1U",
    "TRCD", "TRCU", "TCAD", "TCAU", "TCQD", "TCQU",
    "CCAPD", "CCAPU", "CUSED", "CUSEU", "CLOADD", "CLOADU", "CHSD", "CHSU",
};
// clang-format on

std::optional<Stepper> stepperNamed(const QString& button)
{
    for (const Stepper& stepper : steppers::all())
        if (steppers::buttonName(stepper) == button)
            return stepper;
    return std::nullopt;
}

struct ClickRow {
    const char* name;
    const char* button;
    const char* start;
    int clicks;
    const char* texts; // the field after each of the last clicks, separated by spaces
};

// clang-format off
const ClickRow rows[] = {
    // name                             button     start      clicks, texts
    {"TUM down 100",                    "CUMD",    "10000",   1, "9900"},
    {"TUM not snapped to the step",     "CUMD",    "10050",   1, "9950"},
    {"TUM below 0 becomes 0",           "CUMD",    "50",      1, "0"},
    {"TUM empty counts as 0",           "CUMD",    "",        1, "0"},
    {"TUM past the bound takes it",     "CUMU",    "89950",   1, "90000"},
    {"TUM above the bound pulled back", "CUMU",    "95000",   1, "90000"},
    {"TUM negative not lifted by up",   "CUMU",    "-50",     1, "50"},
    {"TAsc down half",                  "CAscD",   "15",      1, "14,5"},
    {"TAsc above the bound, down",      "CAscD",   "30",      1, "29,5"},
    {"TAsc above the bound, up",        "CAscU",   "30",      1, "24"},
    {"TAsc below 0 becomes 0",          "CAscD",   "0,3",     1, "0"},
    {"TSlip down 1",                    "CSlipD",  "25",      1, "24"},
    {"TSlip past 50 takes it",          "CSlipU",  "49,5",    1, "50"},
    {"TSpeed down 1",                   "CSpeedD", "100",     1, "99"},
    {"TSpeed below 0 becomes 0",        "CSpeedD", "0,5",     1, "0"},
    {"TSpeed past 500 takes it",        "CSpeedU", "499,5",   1, "500"},
    {"TBL below 0 becomes 0",           "CBLD",    "5",       1, "0"},
    {"TBL rewritten from the number",   "CBLU",    "600,0",   1, "610"},
    {"TBL past 10000 takes it",         "CBLU",    "9995",    1, "10000"},
    {"TML down 10",                     "CMLD",    "150",     1, "140"},
    {"TML past 10000 takes it",         "CMLU",    "9999",    1, "10000"},
    {"TBW down 10",                     "CBWD",    "150",     1, "140"},
    {"TBW below 0 becomes 0",           "CBWD",    "3",       1, "0"},
    {"TBW past 1000 takes it",          "CBWU",    "995",     1, "1000"},
    {"TBS down 10",                     "CBSD",    "1500",    1, "1490"},
    {"TBS below 0 becomes 0",           "CBSD",    "5",       1, "0"},
    {"TBS unbounded, exponent form",    "CBSU",    "1E15",    1, "1,00000000000001E+15"},
    {"TUV down 10",                     "TUVD",    "800",     1, "790"},
    {"TUV below 0 becomes 0",           "TUVD",    "5",       1, "0"},
    {"TUV past 10000 takes it",         "TUVU",    "9995",    1, "10000"},
    {"TCC down 1",                      "TCCD",    "20",      1, "19"},
    {"TCC past 36 takes it",            "TCCU",    "35,5",    1, "36"},
    {"TVC down a hundredth",            "TVCD",    "1,1",     1, "1,09"},
    {"TVC down to 0",                   "TVCD",    "0,01",    1, "0"},
    {"TVC up to 5",                     "TVCU",    "4,99",    1, "5"},
    {"TTR1 down 1",                     "TTR1D",   "10",      1, "9"},
    {"TTR1 below 5 lifted by down",     "TTR1D",   "2",       1, "5"},
    {"TTR1 below 5 not lifted by up",   "TTR1U",   "2",       1, "3"},
    {"TTR1 past 50 takes it",           "TTR1U",   "49,5",    1, "50"},
    {"TTR1 empty up",                   "TTR1U",   "",        1, "1"},
    {"TRC down a tenth",                "TRCD",    "4,5",     1, "4,4"},
    {"TRC below 1 becomes 1",           "TRCD",    "1,05",    1, "1"},
    {"TRC unbounded",                   "TRCU",    "500",     1, "500,1"},
    {"TRC letters count as 1, up",      "TRCU",    "abc",     1, "1,1"},
    {"TCA down 1",                      "TCAD",    "20",      1, "19"},
    {"TCA below 1 becomes 1",           "TCAD",    "1,5",     1, "1"},
    {"TCA unbounded",                   "TCAU",    "1000000", 1, "1000001"},
    {"TCA letters count as 1, up",      "TCAU",    "abc",     1, "2"},
    {"TCQ down a tenth",                "TCQD",    "2,5",     1, "2,4"},
    {"TCQ below 0.1 becomes 0.1",       "TCQD",    "0,15",    1, "0,1"},
    {"TCQ down to exactly 0.1",         "TCQD",    "0,2",     1, "0,1"},
    {"TCQ empty counts as 1, down",     "TCQD",    "",        1, "0,9"},
    {"TCQ sum written short",           "TCQU",    "0,2",     1, "0,3"},
    {"TCQ unbounded",                   "TCQU",    "1000",    1, "1000,1"},
    // Each click starts from the text the last one wrote; the rounding
    // errors of the fractional steps must not pile up.
    {"TCQ up from 2.5", "TCQU", "2,5", 10, "2,6 2,7 2,8 2,9 3 3,1 3,2 3,3 3,4 3,5"},
    {"TVC down from 1.1", "TVCD", "1,1", 12,
     "1,09 1,08 1,07 1,06 1,05 1,04 1,03 1,02 1,01 1 0,99 0,98"},
    {"TVC up from 0", "TVCU", "0", 12,
     "0,01 0,02 0,03 0,04 0,05 0,06 0,07 0,08 0,09 0,1 0,11 0,12"},
    {"TCQ down to its bound", "TCQD", "1", 11, "0,9 0,8 0,7 0,6 0,5 0,4 0,3 0,2 0,1 0,1 0,1"},
    {"TAsc up to its bound", "CAscU", "22", 5, "22,5 23 23,5 24 24"},
    {"TCQ up 10000 times", "TCQU", "2,5", 10000, "1002,5"},
    {"TVC up to 5 by hundredths", "TVCU", "0", 1000, "5"},
    {"TVC down to 0 by hundredths", "TVCD", "5", 1000, "0"},
    {"TCAP stops at 100 mAh",           "CCAPD",   "150",     2, "100 100"},
    {"TCAP stops at 100000 mAh",        "CCAPU",   "99950",   2, "100000 100000"},
    {"TUSE in steps of 5 to 100 %",     "CUSEU",   "90",      3, "95 100 100"},
    {"TLOAD stops at 50 %",             "CLOADD",  "51",      2, "50 50"},
    {"THS letters count as 0",          "CHSU",    "abc",     1, "10"},
};
// clang-format on

} // namespace

class SteppersTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    // Both buttons of every field with a step, and no others, each by its
    // own name: the thirty of Speed, Rotor and Power, then the Flug panel's.
    void everyStepperNamed()
    {
        QStringList names;
        for (const Stepper& stepper : steppers::all())
            names << steppers::buttonName(stepper);
        QCOMPARE(names, buttonNames);
        QCOMPARE(QSet<QString>(names.begin(), names.end()).size(), buttonNames.size());
    }

    void clicks_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("start");
        QTest::addColumn<int>("clicks");
        QTest::addColumn<QStringList>("texts");
        for (const ClickRow& row : rows)
            QTest::newRow(row.name)
                << QString::fromLatin1(row.button) << QString::fromUtf8(row.start) << row.clicks
                << QString::fromUtf8(row.texts).split(u' ');
    }

    void clicks()
    {
        QFETCH(QString, button);
        QFETCH(QString, start);
        QFETCH(int, clicks);
        QFETCH(QStringList, texts);

        const auto stepper = stepperNamed(button);
        QVERIFY2(stepper, qPrintable(button));
        QStringList written;
        QString text = start;
        for (int click = 0; click < clicks; ++click)
            written << (text = steppers::stepped(text, *stepper));
        QCOMPARE(written.mid(written.size() - texts.size()), texts);
    }
};

QTEST_GUILESS_MAIN(SteppersTest)
#include "test_steppers.moc"
