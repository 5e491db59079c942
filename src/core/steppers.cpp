// SPDX-License-Identifier: GPL-3.0-or-later
#include "steppers.h"

#include "field_values.h"

namespace steppers {

std::vector<Stepper> all()
{
    std::vector<Stepper> steppers;
    for (const FieldRow& row : fieldTable)
        if (row.step)
            for (const Direction direction : {Direction::Down, Direction::Up})
                steppers.push_back({row.field, direction});
    return steppers;
}

QString buttonName(Stepper stepper)
{
    const FieldRow& row = fieldRow(stepper.field);
    QString name = QString::fromLatin1(row.objectName);
    if (row.panel != Panel::Power)
        name[0] = u'C';
    return name + (stepper.direction == Direction::Down ? u'D' : u'U');
}

QString stepped(const QString& fieldText, Stepper stepper)
{
    const FieldRow& row = fieldRow(stepper.field);
    const double start = fields::toNumber(fieldText).value_or(row.noNumberStart);
    const double step = row.step.value_or(0);
    if (stepper.direction == Direction::Down) {
        const double next = start - step;
        return fields::numberToText(row.lower && next < *row.lower ? *row.lower : next);
    }
    const double next = start + step;
    return fields::numberToText(row.upper && next > *row.upper ? *row.upper : next);
}

} // namespace steppers
