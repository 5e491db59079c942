// SPDX-License-Identifier: GPL-3.0-or-later
#include "field_values.h"

#include <QLocale>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace fields {

namespace {

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Exponents far beyond any double's are clamped while parsing, so that the
// digits of a pasted "1e999999999999" cannot overflow the counter.
constexpr int exponentClamp = 100000;

// Plain ASCII number ("-12.5e3") with the locale's decimal separator put in.
QString localised(const std::string& ascii)
{
    QString text = QString::fromLatin1(ascii.data(), qsizetype(ascii.size()));
    text.replace(u'.', QLocale().decimalPoint());
    return text;
}

// printf's "%.*g" through to_chars: shortest of fixed and exponent form,
// trailing zeros dropped; the exponent is written "E+15" like the reader takes it.
template <typename Real> QString generalForm(Real value, int significantDigits)
{
    if (!std::isfinite(value))
        return {};
    if (value == 0)
        value = 0; // no "-0"
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      std::chars_format::general, significantDigits);
    std::string ascii(buffer, result.ptr);
    std::replace(ascii.begin(), ascii.end(), 'e', 'E');
    return localised(ascii);
}

} // namespace

QStringView trimmed(QStringView text)
{
    while (text.startsWith(u' '))
        text = text.sliced(1);
    while (text.endsWith(u' '))
        text.chop(1);
    return text;
}

QString trimmed(const QString& text)
{
    const QStringView inner = trimmed(QStringView(text));
    return inner.size() == text.size() ? text : inner.toString();
}

std::optional<double> toNumber(const QString& text)
{
    const QLocale locale;
    const QString decimal = locale.decimalPoint();
    const QString group = locale.groupSeparator();
    const QStringView view(text);
    const qsizetype size = view.size();
    qsizetype at = 0;
    auto startsWithAt = [&](const QString& token) {
        return !token.isEmpty() && view.sliced(at).startsWith(token);
    };
    auto skipSpaces = [&] {
        while (at < size && view[at] == u' ')
            ++at;
    };

    std::string ascii; // the accepted number in from_chars' syntax
    // The value lies below 10^firstNonZeroPosition (before the exponent is
    // applied): tells an overflow from an underflow when from_chars gives up.
    int firstNonZeroPosition = 0;
    bool seenNonZero = false;
    bool seenDigit = false;
    int integerDigits = 0;

    skipSpaces();
    if (at < size && (view[at] == u'+' || view[at] == u'-')) {
        if (view[at] == u'-')
            ascii += '-';
        ++at;
    }
    while (at < size) {
        if (isAsciiDigit(view[at])) {
            seenNonZero = seenNonZero || view[at] != u'0';
            if (seenNonZero)
                ++integerDigits;
            ascii += char(view[at].unicode());
            seenDigit = true;
            ++at;
        } else if (group != decimal && startsWithAt(group)) {
            at += group.size();
        } else {
            break;
        }
    }
    if (seenNonZero)
        firstNonZeroPosition = integerDigits;
    if (startsWithAt(decimal)) {
        at += decimal.size();
        ascii += '.';
        int fractionIndex = 0;
        while (at < size && isAsciiDigit(view[at])) {
            ++fractionIndex;
            if (view[at] != u'0' && !seenNonZero) {
                seenNonZero = true;
                firstNonZeroPosition = 1 - fractionIndex;
            }
            ascii += char(view[at].unicode());
            seenDigit = true;
            ++at;
        }
    }
    if (!seenDigit)
        return std::nullopt;

    int exponent = 0;
    if (at < size && (view[at] == u'e' || view[at] == u'E')) {
        ++at;
        ascii += 'e';
        bool negativeExponent = false;
        if (at < size && (view[at] == u'+' || view[at] == u'-')) {
            negativeExponent = view[at] == u'-';
            ascii += char(view[at].unicode());
            ++at;
        }
        bool seenExponentDigit = false;
        while (at < size && isAsciiDigit(view[at])) {
            exponent = std::min(exponentClamp, exponent * 10 + (view[at].unicode() - u'0'));
            ascii += char(view[at].unicode());
            seenExponentDigit = true;
            ++at;
        }
        if (!seenExponentDigit)
            return std::nullopt;
        if (negativeExponent)
            exponent = -exponent;
    }
    skipSpaces();
    if (at != size)
        return std::nullopt;

    double value = 0;
    const auto result = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // Too large is no number; too small to be told from zero reads as zero.
        if (seenNonZero && firstNonZeroPosition + exponent > 0)
            return std::nullopt;
        return ascii.front() == '-' ? -0.0 : 0.0;
    }
    if (result.ec != std::errc() || result.ptr != ascii.data() + ascii.size() ||
        !std::isfinite(value))
        return std::nullopt;
    return value;
}

bool isNumeric(const QString& text)
{
    return toNumber(text).has_value();
}

std::optional<float> toSingle(const QString& text)
{
    const auto value = toNumber(text);
    if (!value || std::fabs(*value) > std::numeric_limits<float>::max())
        return std::nullopt;
    return static_cast<float>(*value);
}

std::optional<std::int16_t> toInteger(const QString& text)
{
    const auto value = toNumber(text);
    if (!value)
        return std::nullopt;
    const double whole = std::nearbyint(*value); // default rounding: half to even
    if (whole < std::numeric_limits<std::int16_t>::min() ||
        whole > std::numeric_limits<std::int16_t>::max())
        return std::nullopt;
    return static_cast<std::int16_t>(whole);
}

QString numberToText(double value)
{
    return generalForm(value, 15);
}

QString singleToText(float value)
{
    return generalForm(value, 7);
}

QString formatted(double value, Pattern pattern)
{
    if (!std::isfinite(value))
        return {};
    const int decimals = static_cast<int>(pattern);

    // |value| as 15 significant digits and the exponent of the first one.
    char buffer[64];
    const auto printed = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                       std::chars_format::scientific, 14);
    const std::string scientific(buffer, printed.ptr);
    const std::size_t exponentMark = scientific.find('e');
    const std::string digits = scientific.substr(0, 1) + scientific.substr(2, exponentMark - 2);
    const int exponent = std::stoi(scientific.substr(exponentMark + 1));

    // |value| * 10^decimals, rounded to a whole number, as decimal digits.
    const int kept = exponent + 1 + decimals;
    // One digit is assigned as a count and a character: assigning a string
    // literal trips a false -Wrestrict of GCC 12 (mingw-w64, -O2).
    std::string scaled;
    if (kept < 0) {
        scaled.assign(1, '0');
    } else if (kept == 0) {
        scaled.assign(1, digits[0] >= '5' ? '1' : '0');
    } else if (kept >= int(digits.size())) {
        scaled = digits + std::string(kept - digits.size(), '0');
    } else {
        scaled = digits.substr(0, kept);
        if (digits[kept] >= '5') { // a half or more goes away from zero
            int position = kept - 1;
            while (position >= 0 && scaled[position] == '9')
                scaled[position--] = '0';
            if (position < 0)
                scaled.insert(scaled.begin(), '1');
            else
                ++scaled[position];
        }
    }

    if (int(scaled.size()) <= decimals)
        scaled.insert(0, decimals + 1 - scaled.size(), '0');
    std::string whole = scaled.substr(0, scaled.size() - decimals);
    const std::string fraction = scaled.substr(scaled.size() - decimals);
    whole.erase(0, std::min(whole.find_first_not_of('0'), whole.size() - 1));

    const bool isZero = scaled.find_first_not_of('0') == std::string::npos;
    std::string ascii = (value < 0 && !isZero) ? "-" : "";
    ascii += whole;
    if (decimals > 0)
        ascii += "." + fraction;
    return localised(ascii);
}

} // namespace fields
