// SPDX-License-Identifier: GPL-3.0-or-later
#include "drive_speed.h"

#include <cmath>
#include <initializer_list>

namespace drive_speed {

namespace {

using fields::Pattern;

constexpr double cmPerMinuteToMetresPerSecond = 6000; // 100 cm per m * 60 s per min
constexpr double centimetresPerInch = 2.54;
constexpr double slipWhenBlank = 25; // per cent
constexpr double rpmStep = 100;      // a computed rpm is brought to whole hundreds
constexpr double pitchStep = 0.5;    // a computed pitch to half units

bool allFinite(std::initializer_list<double> values)
{
    for (double value : values)
        if (!std::isfinite(value))
            return false;
    return true;
}

// Pattern "0" of value / step, read back and multiplied by step again: the
// nearest multiple of step, halves away from zero.
std::optional<QString> toNearestStep(double value, double step)
{
    const auto steps = fields::toNumber(fields::formatted(value / step, Pattern::Whole));
    if (!steps || !std::isfinite(*steps * step))
        return std::nullopt;
    return fields::numberToText(*steps * step);
}

// Speed without slip in m/s, from a drive speed that the slip has reduced.
double slipFreeMetresPerSecond(double speed, double slip, double speedFactor)
{
    double v = speed * 100;
    v = v / (100 - slip);
    return v / speedFactor;
}

// The unknown of the three from the other two and the slip, as the text to
// write, or nothing when a text is no number or the arithmetic has no result.
std::optional<QString> computeTarget(const QString& rpm, const QString& pitch, const QString& speed,
                                     const QString& slip, double inchFactor, double speedFactor)
{
    const auto slipValue = fields::toNumber(slip);
    if (!slipValue)
        return std::nullopt;

    if (rpm.isEmpty()) {
        const auto speedValue = fields::toNumber(speed);
        const auto pitchValue = fields::toNumber(pitch);
        if (!speedValue || !pitchValue)
            return std::nullopt;
        const double v = slipFreeMetresPerSecond(*speedValue, *slipValue, speedFactor);
        double d = *pitchValue * inchFactor;
        d = d / cmPerMinuteToMetresPerSecond;
        const double n = v / d;
        if (!allFinite({v, d, n}))
            return std::nullopt;
        return toNearestStep(n, rpmStep);
    }

    if (pitch.isEmpty()) {
        const auto speedValue = fields::toNumber(speed);
        const auto rpmValue = fields::toNumber(rpm);
        if (!speedValue || !rpmValue)
            return std::nullopt;
        const double v = slipFreeMetresPerSecond(*speedValue, *slipValue, speedFactor);
        double h = v / *rpmValue;
        h = h * cmPerMinuteToMetresPerSecond;
        h = h / inchFactor;
        if (!allFinite({v, h}))
            return std::nullopt;
        return toNearestStep(h, pitchStep);
    }

    const auto rpmValue = fields::toNumber(rpm);
    const auto pitchValue = fields::toNumber(pitch);
    if (!rpmValue || !pitchValue)
        return std::nullopt;
    double s = *rpmValue * *pitchValue;
    s = s * inchFactor;
    s = s / cmPerMinuteToMetresPerSecond;
    s = s * speedFactor;
    const double q = *slipValue / 100;
    const double r = s - s * q;
    if (!allFinite({s, s * q, r}))
        return std::nullopt;
    return fields::formatted(r, Pattern::Whole);
}

} // namespace

Result calculate(const FieldTexts& fieldTexts, const Choices& choices)
{
    Result result;
    FieldTexts texts = fieldTexts;

    const Field target = targetField(choices.target);
    texts[target].clear();
    result.writes.append({target, QString()});

    if (fields::trimmed(texts[Field::Slip]).isEmpty()) {
        texts[Field::Slip] = fields::numberToText(slipWhenBlank);
        result.writes.append({Field::Slip, texts[Field::Slip]});
    }

    const QString rpm = fields::trimmed(texts[Field::Rpm]);
    const QString pitch = fields::trimmed(texts[Field::Pitch]);
    const QString speed = fields::trimmed(texts[Field::DriveSpeed]);
    const int missingCount = int(rpm.isEmpty()) + int(pitch.isEmpty()) + int(speed.isEmpty());
    if (missingCount > 1) {
        result.message = Message::TooFewInputs;
        return result;
    }

    const double inchFactor = choices.inch ? centimetresPerInch : 1;
    const double speedFactor = choices.metresPerSecond ? 1 : calc::kmhPerMetrePerSecond;
    const auto text = computeTarget(rpm, pitch, speed, fields::trimmed(texts[Field::Slip]),
                                    inchFactor, speedFactor);
    if (!text) {
        result.message = Message::Invalid;
        return result;
    }
    result.writes.append({target, *text});
    return result;
}

Writes convertPitch(const QString& pitchText, bool nowInch)
{
    const auto pitch = fields::toNumber(fields::trimmed(pitchText));
    if (!pitch)
        return {};
    const double converted = nowInch ? *pitch / centimetresPerInch : *pitch * centimetresPerInch;
    const auto text = toNearestStep(converted, pitchStep);
    if (!text)
        return {};
    return {{Field::Pitch, *text}};
}

Writes convertSpeed(const QString& speedText, bool nowMetresPerSecond)
{
    const auto speed = fields::toNumber(speedText);
    if (!speed)
        return {};
    const double converted = nowMetresPerSecond ? *speed / calc::kmhPerMetrePerSecond
                                                : *speed * calc::kmhPerMetrePerSecond;
    const QString text = fields::formatted(converted, Pattern::Whole);
    if (text.isEmpty())
        return {};
    return {{Field::DriveSpeed, text}};
}

QString messageText(Message message)
{
    switch (message) {
    case Message::TooFewInputs:
        return QStringLiteral("Zu wenig Angaben !");
    case Message::Invalid:
        return QStringLiteral("Ungültige Angaben !");
    case Message::None:
        break;
    }
    return {};
}

} // namespace drive_speed
