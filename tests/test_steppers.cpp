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
};
// clang-format on

std::optional<Stepper> stepperNamed(const QString& button)
{
    for (const Stepper& stepper : steppers::all())
        if (steppers::buttonName(stepper) == button)
            return stepper;
    return std::nullopt;
}

struct StepRow {
    const char* name;
    const char* button;
    const char* start;
    const char* expected;
};

// clang-format off
const StepRow steps[] = {
    // name                             button     start      expected
    {"TUM down 100",                    "CUMD",    "10000",   "9900"},
    {"TUM not snapped to the step",     "CUMD",    "10050",   "9950"},
    {"TUM below 0 becomes 0",           "CUMD",    "50",      "0"},
    {"TUM empty counts as 0",           "CUMD",    "",        "0"},
    {"TUM up 100",                      "CUMU",    "10000",   "10100"},
    {"TUM past the bound takes it",     "CUMU",    "89950",   "90000"},
    {"TUM above the bound pulled back", "CUMU",    "95000",   "90000"},
    {"TUM negative not lifted by up",   "CUMU",    "-50",     "50"},
    {"TUM letters count as 0",          "CUMU",    "abc",     "100"},
    {"TUM with grouping",               "CUMU",    "10.000",  "10100"},
    {"TAsc down half",                  "CAscD",   "15",      "14,5"},
    {"TAsc up half",                    "CAscU",   "15",      "15,5"},
    {"TAsc above the bound, down",      "CAscD",   "30",      "29,5"},
    {"TAsc above the bound, up",        "CAscU",   "30",      "24"},
    {"TAsc below 0 becomes 0",          "CAscD",   "0,3",     "0"},
    {"TAsc past 24 takes it",           "CAscU",   "23,8",    "24"},
    {"TAsc with spaces around",         "CAscD",   " 15 ",    "14,5"},
    {"TSlip down 1",                    "CSlipD",  "25",      "24"},
    {"TSlip up 1",                      "CSlipU",  "25",      "26"},
    {"TSlip past 50 takes it",          "CSlipU",  "49,5",    "50"},
    {"TSpeed down 1",                   "CSpeedD", "100",     "99"},
    {"TSpeed below 0 becomes 0",        "CSpeedD", "0,5",     "0"},
    {"TSpeed up 1",                     "CSpeedU", "100",     "101"},
    {"TSpeed past 500 takes it",        "CSpeedU", "499,5",   "500"},
    {"TBL down 10",                     "CBLD",    "600",     "590"},
    {"TBL below 0 becomes 0",           "CBLD",    "5",       "0"},
    {"TBL rewritten from the number",   "CBLU",    "600,0",   "610"},
    {"TBL past 10000 takes it",         "CBLU",    "9995",    "10000"},
    {"TML down 10",                     "CMLD",    "150",     "140"},
    {"TML up 10",                       "CMLU",    "150",     "160"},
    {"TML past 10000 takes it",         "CMLU",    "9999",    "10000"},
    {"TBW down 10",                     "CBWD",    "150",     "140"},
    {"TBW below 0 becomes 0",           "CBWD",    "3",       "0"},
    {"TBW up 10",                       "CBWU",    "150",     "160"},
    {"TBW past 1000 takes it",          "CBWU",    "995",     "1000"},
    {"TBS down 10",                     "CBSD",    "1500",    "1490"},
    {"TBS below 0 becomes 0",           "CBSD",    "5",       "0"},
    {"TBS up 10",                       "CBSU",    "1500",    "1510"},
    {"TBS unbounded, fifteen digits",   "CBSU",    "1E14",    "100000000000010"},
    {"TBS unbounded, exponent form",    "CBSU",    "1E15",    "1,00000000000001E+15"},
    {"TUV down 10",                     "TUVD",    "800",     "790"},
    {"TUV below 0 becomes 0",           "TUVD",    "5",       "0"},
    {"TUV up 10",                       "TUVU",    "800",     "810"},
    {"TUV past 10000 takes it",         "TUVU",    "9995",    "10000"},
    {"TCC down 1",                      "TCCD",    "20",      "19"},
    {"TCC up 1",                        "TCCU",    "20",      "21"},
    {"TCC past 36 takes it",            "TCCU",    "35,5",    "36"},
    {"TVC down a hundredth",            "TVCD",    "1,1",     "1,09"},
    {"TVC down to 0",                   "TVCD",    "0,01",    "0"},
    {"TVC up a hundredth",              "TVCU",    "1,1",     "1,11"},
    {"TVC up to 5",                     "TVCU",    "4,99",    "5"},
    {"TVC sum written short",           "TVCU",    "0,29",    "0,3"},
    {"TTR1 down 1",                     "TTR1D",   "10",      "9"},
    {"TTR1 below 5 lifted by down",     "TTR1D",   "2",       "5"},
    {"TTR1 empty down",                 "TTR1D",   "",        "5"},
    {"TTR1 up 1",                       "TTR1U",   "10",      "11"},
    {"TTR1 below 5 not lifted by up",   "TTR1U",   "2",       "3"},
    {"TTR1 past 50 takes it",           "TTR1U",   "49,5",    "50"},
    {"TTR1 empty up",                   "TTR1U",   "",        "1"},
    {"TRC down a tenth",                "TRCD",    "4,5",     "4,4"},
    {"TRC below 1 becomes 1",           "TRCD",    "1,05",    "1"},
    {"TRC empty counts as 1, down",     "TRCD",    "",        "1"},
    {"TRC up a tenth",                  "TRCU",    "4,5",     "4,6"},
    {"TRC sum written short",           "TRCU",    "1,1",     "1,2"},
    {"TRC unbounded",                   "TRCU",    "500",     "500,1"},
    {"TRC letters count as 1, up",      "TRCU",    "abc",     "1,1"},
    {"TCA down 1",                      "TCAD",    "20",      "19"},
    {"TCA below 1 becomes 1",           "TCAD",    "1,5",     "1"},
    {"TCA empty counts as 1, down",     "TCAD",    "",        "1"},
    {"TCA up 1",                        "TCAU",    "20",      "21"},
    {"TCA unbounded",                   "TCAU",    "1000000", "1000001"},
    {"TCA letters count as 1, up",      "TCAU",    "abc",     "2"},
    {"TCQ down a tenth",                "TCQD",    "2,5",     "2,4"},
    {"TCQ below 0.1 becomes 0.1",       "TCQD",    "0,15",    "0,1"},
    {"TCQ down to exactly 0.1",         "TCQD",    "0,2",     "0,1"},
    {"TCQ empty counts as 1, down",     "TCQD",    "",        "0,9"},
    {"TCQ up a tenth",                  "TCQU",    "2,5",     "2,6"},
    {"TCQ sum written short",           "TCQU",    "0,2",     "0,3"},
    {"TCQ unbounded",                   "TCQU",    "1000",    "1000,1"},
    {"TCQ letters count as 1, up",      "TCQU",    "abc",     "1,1"},
};
// clang-format on

// Each click starts from the text the last one wrote; the rounding errors of
// the fractional steps must not pile up.
struct RunRow {
    const char* name;
    const char* button;
    const char* start;
    int clicks;
    const char* texts; // the field after each of the last clicks, separated by spaces
};

const RunRow runs[] = {
    {"TCQ up from 2.5", "TCQU", "2,5", 10, "2,6 2,7 2,8 2,9 3 3,1 3,2 3,3 3,4 3,5"},
    {"TVC down from 1.1", "TVCD", "1,1", 12,
     "1,09 1,08 1,07 1,06 1,05 1,04 1,03 1,02 1,01 1 0,99 0,98"},
    {"TVC up from 0", "TVCU", "0", 12,
     "0,01 0,02 0,03 0,04 0,05 0,06 0,07 0,08 0,09 0,1 0,11 0,12"},
    {"TRC up from 1", "TRCU", "1", 12, "1,1 1,2 1,3 1,4 1,5 1,6 1,7 1,8 1,9 2 2,1 2,2"},
    {"TCQ down to its bound", "TCQD", "1", 11, "0,9 0,8 0,7 0,6 0,5 0,4 0,3 0,2 0,1 0,1 0,1"},
    {"TAsc up to its bound", "CAscU", "22", 5, "22,5 23 23,5 24 24"},
    {"TCQ up 10000 times", "TCQU", "2,5", 10000, "1002,5"},
    {"TRC up 1000 times", "TRCU", "1", 1000, "101"},
    {"TVC up to 5 by hundredths", "TVCU", "0", 1000, "5"},
    {"TVC down to 0 by hundredths", "TVCD", "5", 1000, "0"},
    {"TCQ down to 0.1 by tenths", "TCQD", "100", 2000, "0,1"},
};

} // namespace

class SteppersTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    // Both buttons of every field with a step, and no others, each by its own name.
    void thirtyNamedButtons()
    {
        QStringList names;
        for (const Stepper& stepper : steppers::all())
            names << steppers::buttonName(stepper);
        QCOMPARE(names, buttonNames);
        QCOMPARE(QSet<QString>(names.begin(), names.end()).size(), 30);
    }

    void clicks_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("start");
        QTest::addColumn<int>("clicks");
        QTest::addColumn<QStringList>("texts");
        for (const StepRow& row : steps)
            QTest::newRow(row.name)
                << QString::fromLatin1(row.button) << QString::fromUtf8(row.start) << 1
                << QStringList{QString::fromUtf8(row.expected)};
        for (const RunRow& row : runs)
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
