#include "drive_speed.h"

#include "numbers.h"

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

QString targetControl(Target target)
{
    switch (target) {
    case Target::Rpm:
        return QStringLiteral("TUM");
    case Target::Pitch:
        return QStringLiteral("TAsc");
    case Target::Speed:
        break;
    }
    return QStringLiteral("TSpeed");
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

Result calculate(const Inputs& inputs)
{
    Result result;
    Inputs texts = inputs;

    const QString target = targetControl(inputs.target);
    result.writes.append({target, QString()});
    switch (inputs.target) {
    case Target::Rpm:
        texts.rpm.clear();
        break;
    case Target::Pitch:
        texts.pitch.clear();
        break;
    case Target::Speed:
        texts.speed.clear();
        break;
    }

    if (fields::trimmed(texts.slip).isEmpty()) {
        texts.slip = fields::numberToText(slipWhenBlank);
        result.writes.append({QStringLiteral("TSlip"), texts.slip});
    }

    const QString rpm = fields::trimmed(texts.rpm);
    const QString pitch = fields::trimmed(texts.pitch);
    const QString speed = fields::trimmed(texts.speed);
    const int missingCount = int(rpm.isEmpty()) + int(pitch.isEmpty()) + int(speed.isEmpty());
    if (missingCount > 1) {
        result.message = Message::TooFewInputs;
        return result;
    }

    const double inchFactor = inputs.inch ? centimetresPerInch : 1;
    const double speedFactor = inputs.metresPerSecond ? 1 : calc::kmhPerMetrePerSecond;
    const auto text =
        computeTarget(rpm, pitch, speed, fields::trimmed(texts.slip), inchFactor, speedFactor);
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
    return {{QStringLiteral("TAsc"), *text}};
}

Writes convertSpeed(const QString& speedText, bool nowMetresPerSecond)
{
    const auto speed = fields::toNumber(speedText);
    if (!speed)
        return {};
    const double converted =
        nowMetresPerSecond ? *speed / calc::kmhPerMetrePerSecond : *speed * calc::kmhPerMetrePerSecond;
    const QString text = fields::formatted(converted, Pattern::Whole);
    if (text.isEmpty())
        return {};
    return {{QStringLiteral("TSpeed"), text}};
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
