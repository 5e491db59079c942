// SPDX-License-Identifier: GPL-3.0-or-later
// The field rules under a comma locale (German) and a point locale (English).

#include "core/field_values.h"
#include "support.h"

#include <QLocale>
#include <QTest>
#include <cmath>
#include <limits>

using fields::Pattern;

namespace {

constexpr double noNumber = std::numeric_limits<double>::quiet_NaN();

struct ReadRow {
    const char* text;
    double expected; // NaN: no number
};

// clang-format off
const ReadRow germanReads[] = {
    {"1,1", 1.1}, {" 20 ", 20}, {"1E3", 1000}, {"1e-3", 0.001}, {"1,5E2", 150}, {"-2,5", -2.5},
    {"+3", 3}, {",5", 0.5}, {"1,", 1}, {"007", 7},
    // The full stop groups digits, anywhere among them.
    {"1.1", 11}, {"1..0", 10}, {".5", 5},
    // Too small to tell from zero.
    {"1E-400", 0}, {"0E99999999999", 0},
    {"", noNumber}, {"   ", noNumber}, {"abc", noNumber}, {"12abc", noNumber}, {",", noNumber},
    {"1,5,2", noNumber}, {"1,5.2", noNumber}, {"1e+", noNumber}, {"- 1", noNumber},
    {"--1", noNumber}, {"1 2", noNumber}, {"1e3,5", noNumber}, {"inf", noNumber},
    {"0x10", noNumber},
    // Only the space character is trimmed.
    {"\t1", noNumber}, {"1\t", noNumber},
    // Beyond the range of a double.
    {"1E309", noNumber}, {"1E99999999999", noNumber},
    // An Arabic-Indic digit.
    {"\xd9\xa3", noNumber},
};
// clang-format on

const ReadRow englishReads[] = {{"1.5", 1.5}, {"1,5", 15}, {"1,000.25", 1000.25}};

void addReadRows(const ReadRow* begin, const ReadRow* end)
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");
    for (const ReadRow* row = begin; row != end; ++row)
        QTest::newRow(row->text) << QString::fromUtf8(row->text) << row->expected;
}

void checkRead()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    const auto value = fields::toNumber(text);
    QCOMPARE(fields::isNumeric(text), !std::isnan(expected));
    if (std::isnan(expected)) {
        QVERIFY2(!value, qPrintable(QString::number(value.value_or(0))));
    } else {
        QVERIFY(value);
        QCOMPARE(*value, expected);
    }
}

} // namespace

class FieldValuesTest : public QObject {
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    void trimsOnlySpaces_data()
    {
        addTextRows({"text", "expected"}, {{"both ends", " 1 2 ", "1 2"},
                                           {"tabs stay", "\t1 ", "\t1"},
                                           {"only spaces", "   ", ""},
                                           {"empty", "", ""}});
    }
    void trimsOnlySpaces()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(fields::trimmed(text), expected);
    }

    void readsGermanText_data() { addReadRows(std::begin(germanReads), std::end(germanReads)); }
    void readsGermanText() { checkRead(); }

    void readsEnglishText_data() { addReadRows(std::begin(englishReads), std::end(englishReads)); }
    void readsEnglishText()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        checkRead();
    }

    void readsIntegersHalfToEven_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expected"); // -99999: no result
        const std::pair<const char*, int> rows[] = {
            {"1", 1},           {"0,5", 0},        {"1,5", 2},
            {"2,5", 2},         {"-1,5", -2},      {"32767", 32767},
            {"-32768", -32768}, {"32768", -99999}, {"32767,5", -99999},
            {"-32769", -99999}, {"abc", -99999}};
        for (const auto& [text, expected] : rows)
            QTest::newRow(text) << QString::fromLatin1(text) << expected;
    }
    void readsIntegersHalfToEven()
    {
        QFETCH(QString, text);
        QFETCH(int, expected);
        const auto value = fields::toInteger(text);
        QCOMPARE(value ? int(*value) : -99999, expected);
    }

    void readsSinglePrecision_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<float>("expected");
        QTest::newRow("tenth") << "0,1" << true << 0.1f;
        QTest::newRow("beyond float") << "1E39" << false << 0.0f;
        QTest::newRow("below float") << "-1E39" << false << 0.0f;
    }
    void readsSinglePrecision()
    {
        QFETCH(QString, text);
        QFETCH(bool, accepted);
        QFETCH(float, expected);
        const auto value = fields::toSingle(text);
        QCOMPARE(value.has_value(), accepted);
        if (accepted)
            QCOMPARE(*value, expected);
    }

    void writesNumbers_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<bool>("single"); // to 7 digits, not 15
        QTest::addColumn<QString>("expected");
        QTest::newRow("6.5") << 6.5 << false << "6,5";
        QTest::newRow("10100") << 10100.0 << false << "10100";
        QTest::newRow("0.1 + 0.2") << 0.1 + 0.2 << false << "0,3";
        QTest::newRow("one third") << 1.0 / 3 << false << "0,333333333333333";
        QTest::newRow("negative zero") << -0.0 << false << "0";
        QTest::newRow("15 digits whole") << 999999999999999.0 << false << "999999999999999";
        QTest::newRow("exponent from 1E15") << 1e15 << false << "1E+15";
        QTest::newRow("rounded to 15 digits")
            << 123456789012345678.0 << false << "1,23456789012346E+17";
        QTest::newRow("smallest fixed") << 1e-4 << false << "0,0001";
        QTest::newRow("exponent below 1E-4") << 1e-5 << false << "1E-05";
        QTest::newRow("largest double")
            << std::numeric_limits<double>::max() << false << "1,79769313486232E+308";
        QTest::newRow("not finite") << std::numeric_limits<double>::infinity() << false << "";
        QTest::newRow("single fraction") << 1440.5 << true << "1440,5";
        QTest::newRow("single tenth, not 0.100000001") << 0.1 << true << "0,1";
        QTest::newRow("single of eight digits") << 16777216.0 << true << "1,677722E+07";
    }
    void writesNumbers()
    {
        QFETCH(double, value);
        QFETCH(bool, single);
        QFETCH(QString, expected);
        QCOMPARE(single ? fields::singleToText(float(value)) : fields::numberToText(value),
                 expected);
    }

    // What the rule writes, the rule reads back (to the 15 digits written).
    void writtenNumbersReadBack_data()
    {
        QTest::addColumn<double>("value");
        for (double value : {0.1, 2.675, -1e-7, 1e300, 123456.789, 1e-300, 5e-324})
            QTest::newRow(qPrintable(QString::number(value))) << value;
    }
    void writtenNumbersReadBack()
    {
        QFETCH(double, value);
        const auto back = fields::toNumber(fields::numberToText(value));
        QVERIFY(back);
        QVERIFY(std::fabs(*back - value) <= std::fabs(value) * 1e-14);
    }

    void formatsPatterns_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QString>("expected");
        QTest::newRow("0.5") << 0.5 << 0 << "1";
        QTest::newRow("negative half away") << -0.5 << 0 << "-1";
        QTest::newRow("2.5 not to even") << 2.5 << 0 << "3";
        QTest::newRow("2.25") << 2.25 << 1 << "2,3";
        QTest::newRow("negative") << -0.25 << 2 << "-0,25";
        QTest::newRow("trailing zero kept") << 20.0 << 1 << "20,0";
        // 2.67499999999999982236431605997495353221893310546875 as a double.
        QTest::newRow("2.675 by its decimal form") << 2.675 << 2 << "2,68";
        QTest::newRow("carry into thousands") << 999.95 << 1 << "1000,0";
        QTest::newRow("negative to zero has no sign") << -0.001 << 2 << "0,00";
        QTest::newRow("negative zero") << -0.0 << 0 << "0";
        QTest::newRow("half of last place") << 0.005 << 2 << "0,01";
        QTest::newRow("just below half") << 0.004999 << 2 << "0,00";
        QTest::newRow("far below") << 1e-9 << 2 << "0,00";
        QTest::newRow("no grouping") << 1234567.0 << 0 << "1234567";
        QTest::newRow("beyond 15 digits") << 1e20 << 0 << "100000000000000000000";
        QTest::newRow("not finite") << std::nan("") << 1 << "";
    }
    void formatsPatterns()
    {
        QFETCH(double, value);
        QFETCH(int, decimals);
        QFETCH(QString, expected);
        QCOMPARE(fields::formatted(value, Pattern(decimals)), expected);
    }

    void writesWithThePointInEnglish()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QCOMPARE(fields::numberToText(1.1), QStringLiteral("1.1"));
        QCOMPARE(fields::formatted(20.2, Pattern::TwoDecimals), QStringLiteral("20.20"));
    }
};

QTEST_GUILESS_MAIN(FieldValuesTest)
#include "test_field_values.moc"
