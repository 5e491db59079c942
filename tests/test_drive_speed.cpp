// The Speed panel: rpm, pitch and drive speed from the other two and the slip,
// and the two unit switches. Comma locale throughout.

#include "calc/drive_speed.h"

#include <QLocale>
#include <QTest>

using drive_speed::Message;
using drive_speed::Target;

Q_DECLARE_METATYPE(drive_speed::Inputs)
Q_DECLARE_METATYPE(drive_speed::Message)
Q_DECLARE_METATYPE(std::optional<QString>)

namespace {

constexpr auto untouched = std::nullopt;

struct CalculationRow {
    const char* name;
    drive_speed::Inputs inputs;
    // Texts the run leaves in TUM, TAsc, TSlip and TSpeed; nullopt: not written.
    std::optional<QString> rpm, pitch, slip, speed;
    Message message;
};

drive_speed::Inputs defaults(Target target = Target::Speed)
{
    return {.rpm = "10000", .pitch = "15", .slip = "25", .speed = "", .target = target};
}

drive_speed::Inputs with(drive_speed::Inputs inputs, auto change)
{
    change(inputs);
    return inputs;
}

const CalculationRow calculations[] = {
    {"defaults: 67.5 km/h shows 68", defaults(), untouched, untouched, untouched, "68",
     Message::None},
    {"m/s: 18.75 shows 19", with(defaults(), [](auto& i) { i.metresPerSecond = true; }), untouched,
     untouched, untouched, "19", Message::None},
    {"Zoll: 171.45 shows 171", with(defaults(), [](auto& i) { i.inch = true; }), untouched,
     untouched, untouched, "171", Message::None},
    {"slip 0 gives no reduction", with(defaults(), [](auto& i) { i.slip = "0"; }), untouched,
     untouched, untouched, "90", Message::None},
    {"slip above 100 gives a negative speed", with(defaults(), [](auto& i) { i.slip = "150"; }),
     untouched, untouched, untouched, "-45", Message::None},
    {"a typed target is discarded", with(defaults(), [](auto& i) { i.speed = "999"; }), untouched,
     untouched, untouched, "68", Message::None},
    {"rpm to the nearest hundred",
     {.rpm = "", .pitch = "15", .slip = "25", .speed = "68", .target = Target::Rpm},
     "10100",
     untouched,
     untouched,
     untouched,
     Message::None},
    {"rpm typed is replaced",
     {.rpm = "5000", .pitch = "15", .slip = "25", .speed = "68", .target = Target::Rpm},
     "10100",
     untouched,
     untouched,
     untouched,
     Message::None},
    {"pitch to the nearest half",
     {.rpm = "10000", .pitch = "", .slip = "25", .speed = "68", .target = Target::Pitch},
     untouched,
     "15",
     untouched,
     untouched,
     Message::None},
    {"pitch in inches",
     {.rpm = "10000",
      .pitch = "",
      .slip = "25",
      .speed = "68",
      .inch = true,
      .target = Target::Pitch},
     untouched,
     "6",
     untouched,
     untouched,
     Message::None},
    {"pitch with a half",
     {.rpm = "10000", .pitch = "", .slip = "25", .speed = "29", .target = Target::Pitch},
     untouched,
     "6,5",
     untouched,
     untouched,
     Message::None},
    {"blank slip becomes 25", with(defaults(), [](auto& i) { i.slip = ""; }), untouched, untouched,
     "25", "68", Message::None},
    {"slip of spaces becomes 25", with(defaults(), [](auto& i) { i.slip = "   "; }), untouched,
     untouched, "25", "68", Message::None},
    {"given texts stay as typed", with(defaults(), [](auto& i) { i.rpm = " 10.000 "; }), untouched,
     untouched, untouched, "68", Message::None},
    {"rpm empty: too few", with(defaults(), [](auto& i) { i.rpm = ""; }), untouched, untouched,
     untouched, "", Message::TooFewInputs},
    {"rpm of spaces: too few", with(defaults(), [](auto& i) { i.rpm = "  "; }), untouched,
     untouched, untouched, "", Message::TooFewInputs},
    {"too few still writes the slip",
     {.rpm = "", .pitch = "15", .slip = "", .speed = "", .target = Target::Speed},
     untouched,
     untouched,
     "25",
     "",
     Message::TooFewInputs},
    {"pitch target with speed empty: too few",
     {.rpm = "10000", .pitch = "15", .slip = "25", .speed = "", .target = Target::Pitch},
     untouched,
     "",
     untouched,
     untouched,
     Message::TooFewInputs},
    {"letters in rpm", with(defaults(), [](auto& i) { i.rpm = "abc"; }), untouched, untouched,
     untouched, "", Message::Invalid},
    {"letters in slip", with(defaults(), [](auto& i) { i.slip = "viel"; }), untouched, untouched,
     untouched, "", Message::Invalid},
    {"rpm with slip 100 divides by zero",
     {.rpm = "", .pitch = "15", .slip = "100", .speed = "68", .target = Target::Rpm},
     "",
     untouched,
     untouched,
     untouched,
     Message::Invalid},
    {"rpm with pitch 0 divides by zero",
     {.rpm = "", .pitch = "0", .slip = "25", .speed = "68", .target = Target::Rpm},
     "",
     untouched,
     untouched,
     untouched,
     Message::Invalid},
    {"pitch with rpm 0 divides by zero",
     {.rpm = "0", .pitch = "", .slip = "25", .speed = "68", .target = Target::Pitch},
     untouched,
     "",
     untouched,
     untouched,
     Message::Invalid},
    {"speed overflows",
     with(defaults(),
          [](auto& i) {
              i.rpm = "1E200";
              i.pitch = "1E200";
          }),
     untouched, untouched, untouched, "", Message::Invalid},
    {"pitch in inches overflows while computing rpm",
     {.rpm = "",
      .pitch = "1E308",
      .slip = "25",
      .speed = "68",
      .inch = true,
      .target = Target::Rpm},
     "",
     untouched,
     untouched,
     untouched,
     Message::Invalid},
};

struct ConversionRow {
    const char* name;
    const char* before;
    bool nowTicked;
    std::optional<QString> after;
};

const ConversionRow pitchConversions[] = {
    {"15 cm to inches", "15", true, "6"},     {"6 inches to cm", "6", false, "15"},
    {"16 cm to inches", "16", true, "6,5"},   {"6,5 inches to cm", "6,5", false, "16,5"},
    {"spaces around", " 15 ", true, "6"},     {"empty", "", true, untouched},
    {"spaces only", "   ", false, untouched}, {"letters", "abc", true, untouched},
    {"overflow", "1E308", false, untouched},
};

const ConversionRow speedConversions[] = {
    {"68 km/h to m/s", "68", true, "19"},     {"19 m/s to km/h", "19", false, "68"},
    {"100 km/h to m/s", "100", true, "28"},   {"28 m/s to km/h", "28", false, "101"},
    {"empty", "", true, untouched},           {"spaces only", "  ", true, untouched},
    {"letters", "schnell", false, untouched}, {"overflow", "1E308", false, untouched},
};

void addConversionRows(const ConversionRow* begin, const ConversionRow* end)
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<bool>("nowTicked");
    QTest::addColumn<std::optional<QString>>("after");
    for (const ConversionRow* row = begin; row != end; ++row)
        QTest::newRow(row->name) << QString::fromUtf8(row->before) << row->nowTicked << row->after;
}

} // namespace

class DriveSpeedTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    void calculates_data()
    {
        QTest::addColumn<drive_speed::Inputs>("inputs");
        QTest::addColumn<std::optional<QString>>("rpm");
        QTest::addColumn<std::optional<QString>>("pitch");
        QTest::addColumn<std::optional<QString>>("slip");
        QTest::addColumn<std::optional<QString>>("speed");
        QTest::addColumn<drive_speed::Message>("message");
        for (const CalculationRow& row : calculations)
            QTest::newRow(row.name)
                << row.inputs << row.rpm << row.pitch << row.slip << row.speed << row.message;
    }
    void calculates()
    {
        QFETCH(drive_speed::Inputs, inputs);
        QFETCH(std::optional<QString>, rpm);
        QFETCH(std::optional<QString>, pitch);
        QFETCH(std::optional<QString>, slip);
        QFETCH(std::optional<QString>, speed);
        QFETCH(drive_speed::Message, message);

        const drive_speed::Result result = drive_speed::calculate(inputs);
        QCOMPARE(writtenText(result.writes, "TUM"), rpm);
        QCOMPARE(writtenText(result.writes, "TAsc"), pitch);
        QCOMPARE(writtenText(result.writes, "TSlip"), slip);
        QCOMPARE(writtenText(result.writes, "TSpeed"), speed);
        QCOMPARE(result.message, message);
        // The target is emptied before anything else is written.
        QVERIFY(!result.writes.isEmpty());
        QVERIFY(result.writes.first().text.isEmpty());
    }

    void convertsPitch_data()
    {
        addConversionRows(std::begin(pitchConversions), std::end(pitchConversions));
    }
    void convertsPitch()
    {
        QFETCH(QString, before);
        QFETCH(bool, nowTicked);
        QFETCH(std::optional<QString>, after);
        const Writes writes = drive_speed::convertPitch(before, nowTicked);
        QCOMPARE(writtenText(writes, "TAsc"), after);
        QCOMPARE(writes.size(), after ? 1 : 0);
    }

    void convertsSpeed_data()
    {
        addConversionRows(std::begin(speedConversions), std::end(speedConversions));
    }
    void convertsSpeed()
    {
        QFETCH(QString, before);
        QFETCH(bool, nowTicked);
        QFETCH(std::optional<QString>, after);
        const Writes writes = drive_speed::convertSpeed(before, nowTicked);
        QCOMPARE(writtenText(writes, "TSpeed"), after);
        QCOMPARE(writes.size(), after ? 1 : 0);
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
