// SPDX-License-Identifier: GPL-3.0-or-later
// The Speed panel: rpm, pitch and drive speed from the other two and the slip,
// and the two unit switches. Comma locale throughout.

#include "core/drive_speed.h"

#include <QLocale>
#include <QTest>

using drive_speed::Message;
using drive_speed::Target;

namespace {

constexpr const char* no = nullptr; // expected: the run does not write the field
constexpr auto R = Target::Rpm, P = Target::Pitch, S = Target::Speed;
constexpr auto ok = Message::None, tooFew = Message::TooFewInputs, invalid = Message::Invalid;

struct CalculationRow {
    const char* name;
    Target target;
    const char* texts[4]; // TUM, TAsc, TSlip, TSpeed
    bool inch, metresPerSecond;
    const char* expected[4]; // what the run leaves in them
    Message message;
};

constexpr Field speedFields[] = {Field::Rpm, Field::Pitch, Field::Slip, Field::DriveSpeed};

// Expected texts worked out by hand from the formulas, not by the program.
// clang-format off
const CalculationRow calculations[] = {
    // name, target; TUM, TAsc, TSlip, TSpeed; Zoll, m/s; then the four as the run leaves them
    {"defaults: 67.5 km/h shows 68", S, {"10000", "15", "25", ""}, 0, 0, {no, no, no, "68"}, ok},
    {"m/s: 18.75 shows 19", S, {"10000", "15", "25", ""}, 0, 1, {no, no, no, "19"}, ok},
    {"Zoll: 171.45 shows 171", S, {"10000", "15", "25", ""}, 1, 0, {no, no, no, "171"}, ok},
    {"slip 0 gives no reduction", S, {"10000", "15", "0", ""}, 0, 0, {no, no, no, "90"}, ok},
    {"slip over 100: negative speed", S, {"10000", "15", "150", ""}, 0, 0, {no, no, no, "-45"}, ok},
    {"a typed target is discarded", S, {"10000", "15", "25", "999"}, 0, 0, {no, no, no, "68"}, ok},
    {"rpm to the nearest hundred", R, {"", "15", "25", "68"}, 0, 0, {"10100", no, no, no}, ok},
    {"pitch to the nearest half", P, {"10000", "", "25", "68"}, 0, 0, {no, "15", no, no}, ok},
    {"pitch in inches", P, {"10000", "", "25", "68"}, 1, 0, {no, "6", no, no}, ok},
    {"pitch with a half", P, {"10000", "", "25", "29"}, 0, 0, {no, "6,5", no, no}, ok},
    {"slip of spaces becomes 25", S, {"10000", "15", "   ", ""}, 0, 0, {no, no, "25", "68"}, ok},
    {"given texts stay as typed", S, {" 10.000 ", "15", "25", ""}, 0, 0, {no, no, no, "68"}, ok},
    {"rpm of spaces: too few", S, {"  ", "15", "25", ""}, 0, 0, {no, no, no, ""}, tooFew},
    {"too few still writes the slip", S, {"", "15", "", ""}, 0, 0, {no, no, "25", ""}, tooFew},
    {"pitch, speed empty: too few", P, {"10000", "15", "25", ""}, 0, 0, {no, "", no, no}, tooFew},
    {"letters in rpm", S, {"abc", "15", "25", ""}, 0, 0, {no, no, no, ""}, invalid},
    {"letters in slip", S, {"10000", "15", "viel", ""}, 0, 0, {no, no, no, ""}, invalid},
    {"rpm, slip 100: division by 0", R, {"", "15", "100", "68"}, 0, 0, {"", no, no, no}, invalid},
    {"rpm, pitch 0: division by 0", R, {"", "0", "25", "68"}, 0, 0, {"", no, no, no}, invalid},
    {"pitch, rpm 0: division by 0", P, {"0", "", "25", "68"}, 0, 0, {no, "", no, no}, invalid},
    {"speed overflows", S, {"1E200", "1E200", "25", ""}, 0, 0, {no, no, no, ""}, invalid},
    {"inch pitch overflows for rpm", R, {"", "1E308", "25", "68"}, 1, 0, {"", no, no, no}, invalid},
};
// clang-format on

// Ticking or clearing "Zoll" (TAsc) or "m/s" (TSpeed) converts the field.
struct ConversionRow {
    const char* name;
    Field field;
    const char* before;
    bool nowTicked;
    const char* after; // no: no write
};

constexpr auto A = Field::Pitch, V = Field::DriveSpeed;

const ConversionRow conversions[] = {
    {"15 cm to inches", A, "15", true, "6"},     {"6 inches to cm", A, "6", false, "15"},
    {"16 cm to inches", A, "16", true, "6,5"},   {"6,5 inches to cm", A, "6,5", false, "16,5"},
    {"pitch with spaces", A, " 15 ", true, "6"}, {"pitch of spaces", A, "   ", false, no},
    {"pitch letters", A, "abc", true, no},       {"pitch overflows", A, "1E308", false, no},
    {"68 km/h to m/s", V, "68", true, "19"},     {"19 m/s to km/h", V, "19", false, "68"},
    {"100 km/h to m/s", V, "100", true, "28"},   {"28 m/s to km/h", V, "28", false, "101"},
    {"speed of spaces", V, "  ", true, no},      {"speed letters", V, "schnell", false, no},
    {"speed overflows", V, "1E308", false, no},
};

std::optional<QString> text(const char* expected)
{
    return expected ? std::optional(QString::fromUtf8(expected)) : std::nullopt;
}

template <typename Row, std::size_t Count> void addRows(const Row (&rows)[Count])
{
    QTest::addColumn<int>("row");
    for (std::size_t i = 0; i < Count; ++i)
        QTest::newRow(rows[i].name) << int(i);
}

} // namespace

class DriveSpeedTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    void calculates_data() { addRows(calculations); }
    void calculates()
    {
        QFETCH(int, row);
        const CalculationRow& r = calculations[row];
        FieldTexts texts;
        for (int i = 0; i < 4; ++i)
            texts[speedFields[i]] = QString::fromUtf8(r.texts[i]);

        const auto result = drive_speed::calculate(texts, {r.inch, r.metresPerSecond, r.target});
        for (int i = 0; i < 4; ++i)
            QCOMPARE(writtenText(result.writes, speedFields[i]), text(r.expected[i]));
        QCOMPARE(result.message, r.message);
        // The target is emptied before anything else is written.
        QVERIFY(!result.writes.isEmpty());
        QCOMPARE(result.writes.first(), (Write{drive_speed::targetField(r.target), QString()}));
    }

    void convertsUnits_data() { addRows(conversions); }
    void convertsUnits()
    {
        QFETCH(int, row);
        const ConversionRow& r = conversions[row];
        const QString before = QString::fromUtf8(r.before);
        const Writes writes = r.field == Field::Pitch
                                  ? drive_speed::convertPitch(before, r.nowTicked)
                                  : drive_speed::convertSpeed(before, r.nowTicked);
        QCOMPARE(writtenText(writes, r.field), text(r.after));
        QCOMPARE(writes.size(), r.after ? 1 : 0);
    }

    void namesItsMessages()
    {
        QCOMPARE(drive_speed::messageText(Message::TooFewInputs),
                 QStringLiteral("Zu wenig Angaben !"));
        QCOMPARE(drive_speed::messageText(Message::Invalid), QStringLiteral("Ungültige Angaben !"));
        QVERIFY(drive_speed::messageText(Message::None).isEmpty());
    }
};

QTEST_GUILESS_MAIN(DriveSpeedTest)
#include "test_drive_speed.moc"
