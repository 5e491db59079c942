// Any field texts through the three panel calculations, the unit switches and
// every stepper: each output is the empty text or a text that reads back as a
// number ("…:1" for the gear ratio), and the steppers keep their limits.
// Input: one byte for the locale, one for the boxes and the option, then the
// eighteen field texts separated by line feeds.

#include "app/field_values.h"
#include "app/steppers.h"
#include "calc/drive_speed.h"
#include "calc/power_gearing.h"
#include "calc/rotor_blades.h"
#include "fuzz_check.h"
#include "fuzz_locale.h"

#include <QStringList>
#include <cstdint>

namespace {

void checkReadable(const Writes& writes)
{
    for (const FieldWrite& write : writes) {
        QString text = write.text;
        if (write.control == QLatin1String("LTRR") && !text.isEmpty()) {
            FUZZ_CHECK(text.endsWith(QLatin1String(":1")));
            text.chop(2);
        }
        FUZZ_CHECK(text.isEmpty() || fields::isNumeric(text));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    useLocaleFor(data[0]);
    const std::uint8_t flags = data[1];
    QStringList texts =
        QString::fromUtf8(reinterpret_cast<const char*>(data + 2), qsizetype(size - 2))
            .split(u'\n');
    while (texts.size() < 18)
        texts << QString();

    const drive_speed::Inputs speedInputs{
        .rpm = texts[0],
        .pitch = texts[1],
        .slip = texts[2],
        .speed = texts[3],
        .inch = (flags & 1) != 0,
        .metresPerSecond = (flags & 2) != 0,
        .target = drive_speed::Target((flags >> 2) % 3),
    };
    const drive_speed::Result speed = drive_speed::calculate(speedInputs);
    checkReadable(speed.writes);
    const bool computed = speed.message == drive_speed::Message::None;
    const char* const targetFields[] = {"TUM", "TAsc", "TSpeed"};
    const auto target = writtenText(speed.writes, targetFields[int(speedInputs.target)]);
    FUZZ_CHECK(target && computed == !target->isEmpty());
    checkReadable(drive_speed::convertPitch(texts[1], speedInputs.inch));
    checkReadable(drive_speed::convertSpeed(texts[3], speedInputs.metresPerSecond));

    const Writes rotor = rotor_blades::calculate({texts[4], texts[5], texts[6], texts[7], 3.14159});
    FUZZ_CHECK(rotor.size() == 4);
    checkReadable(rotor);

    const Writes power =
        power_gearing::calculate({texts[8], texts[9], texts[10], texts[11], texts[12], texts[13],
                                  texts[14], texts[15], texts[16], texts[17]});
    FUZZ_CHECK(power.size() == (fields::isNumeric(texts[16]) ? 6 : 5));
    checkReadable(power);

    // Each stepper on the text at its field's place in the input.
    const QStringList fieldOrder = {"TUM",  "TAsc", "TSlip", "TSpeed", "TBL",  "TML",
                                    "TBW",  "TBS",  "TUV",   "TCC",    "TVC",  "TTR1",
                                    "TTR2", "TTR0", "TRC",   "TCA",    "TTC0", "TCQ"};
    for (const steppers::Stepper& stepper : steppers::table()) {
        const qsizetype at = fieldOrder.indexOf(QLatin1String(stepper.field));
        FUZZ_CHECK(at >= 0);
        const auto stepped = fields::toNumber(steppers::stepped(texts[at], stepper));
        FUZZ_CHECK(stepped);
        if (stepper.limit && stepper.direction == steppers::Direction::Down)
            FUZZ_CHECK(*stepped >= *stepper.limit);
        if (stepper.limit && stepper.direction == steppers::Direction::Up)
            FUZZ_CHECK(*stepped <= *stepper.limit);
    }
    return 0;
}
