// SPDX-License-Identifier: GPL-3.0-or-later
// Any field texts through the three panel calculations, the unit switches and
// every stepper: each output is the empty text or a text that reads back as a
// number ("…:1" for the gear ratio), and the steppers keep their limits.
// Input: one byte for the locale, one for the boxes and the option, then the
// field texts in the order of the field table, separated by line feeds.

#include "core/drive_speed.h"
#include "core/field_values.h"
#include "core/power_gearing.h"
#include "core/rotor_blades.h"
#include "core/steppers.h"
#include "fuzz_check.h"
#include "fuzz_locale.h"

#include <QStringList>
#include <cstdint>

namespace {

void checkReadable(const Writes& writes)
{
    for (const Write& write : writes) {
        QString text = write.text;
        if (write.target == WriteTarget(Output::GearRatio) && !text.isEmpty()) {
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
    const QStringList lines =
        QString::fromUtf8(reinterpret_cast<const char*>(data + 2), qsizetype(size - 2))
            .split(u'\n');
    FieldTexts texts;
    for (std::size_t i = 0; i < fieldCount && qsizetype(i) < lines.size(); ++i)
        texts[fieldTable[i].field] = lines[qsizetype(i)];

    const drive_speed::Choices choices{
        .inch = (flags & 1) != 0,
        .metresPerSecond = (flags & 2) != 0,
        .target = drive_speed::Target((flags >> 2) % 3),
    };
    const drive_speed::Result speed = drive_speed::calculate(texts, choices);
    checkReadable(speed.writes);
    const bool computed = speed.message == drive_speed::Message::None;
    const auto target = writtenText(speed.writes, drive_speed::targetField(choices.target));
    FUZZ_CHECK(target && computed == !target->isEmpty());
    checkReadable(drive_speed::convertPitch(texts[Field::Pitch], choices.inch));
    checkReadable(drive_speed::convertSpeed(texts[Field::DriveSpeed], choices.metresPerSecond));

    const Writes rotor = rotor_blades::calculate(texts);
    FUZZ_CHECK(rotor.size() == 4);
    checkReadable(rotor);

    const Writes power = power_gearing::calculate(texts);
    FUZZ_CHECK(power.size() == (fields::isNumeric(texts[Field::CableLength]) ? 6 : 5));
    checkReadable(power);

    // Each stepper on its field's text.
    for (const steppers::Stepper& stepper : steppers::all()) {
        const FieldRow& row = fieldRow(stepper.field);
        const auto stepped = fields::toNumber(steppers::stepped(texts[stepper.field], stepper));
        FUZZ_CHECK(stepped);
        if (stepper.direction == steppers::Direction::Down)
            FUZZ_CHECK(row.lower && *stepped >= *row.lower);
        else if (row.upper)
            FUZZ_CHECK(*stepped <= *row.upper);
    }
    return 0;
}
