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

// A text read left to right, with what has been accepted of it so far in
// from_chars' syntax ("-12.5e3").
struct NumberScan {
    explicit NumberScan(QStringView text)
        : text(text)
    {
    }

    QStringView text;
    qsizetype at = 0;
    std::string ascii;

    bool atEnd() const { return at == text.size(); }
    bool atDigit() const { return !atEnd() && isAsciiDigit(text[at]); }
    bool atChar(char16_t c) const { return !atEnd() && text[at] == c; }
    bool atAnyOf(char16_t a, char16_t b) const { return atChar(a) || atChar(b); }
    // Passes over the token where it stands next; an empty one never does.
    bool skip(const QString& token)
    {
        if (token.isEmpty() || !text.sliced(at).startsWith(token))
            return false;
        at += token.size();
        return true;
    }
    void skipSpaces()
    {
        while (atChar(u' '))
            ++at;
    }
    // Accepts the character where the scan stands.
    void take() { ascii += char(text[at++].unicode()); }
};

void scanSign(NumberScan& scan)
{
    if (scan.atChar(u'-'))
        scan.ascii += '-';
    if (scan.atAnyOf(u'+', u'-'))
        ++scan.at;
}

struct Mantissa {
    bool seenDigit = false;
    bool seenNonZero = false;
    // The value lies below 10^firstNonZeroPosition (before the exponent is
    // applied): tells an overflow from an underflow when from_chars gives up.
    int firstNonZeroPosition = 0;
};

// Digits with grouping separators anywhere among them, then the decimal
// separator and more digits.
Mantissa scanMantissa(NumberScan& scan, const QString& decimal, const QString& group)
{
    Mantissa mantissa;
    int integerDigits = 0;
    while (true) {
        if (scan.atDigit()) {
            mantissa.seenNonZero = mantissa.seenNonZero || scan.text[scan.at] != u'0';
            integerDigits += mantissa.seenNonZero;
            scan.take();
            mantissa.seenDigit = true;
        } else if (group == decimal || !scan.skip(group)) {
            break;
        }
    }
    if (mantissa.seenNonZero)
        mantissa.firstNonZeroPosition = integerDigits;
    if (!scan.skip(decimal))
        return mantissa;
    scan.ascii += '.';
    for (int fractionIndex = 1; scan.atDigit(); ++fractionIndex) {
        if (scan.text[scan.at] != u'0' && !mantissa.seenNonZero) {
            mantissa.seenNonZero = true;
            mantissa.firstNonZeroPosition = 1 - fractionIndex;
        }
        scan.take();
        mantissa.seenDigit = true;
    }
    return mantissa;
}

// "E" or "e", a sign and digits: the exponent, clamped; 0 without one, and
// nothing for a mark without digits.
std::optional<int> scanExponent(NumberScan& scan)
{
    if (!scan.atAnyOf(u'e', u'E'))
        return 0;
    ++scan.at;
    scan.ascii += 'e';
    const bool negative = scan.atChar(u'-');
    if (scan.atAnyOf(u'+', u'-'))
        scan.take();
    if (!scan.atDigit())
        return std::nullopt;
    int exponent = 0;
    while (scan.atDigit()) {
        exponent = std::min(exponentClamp, exponent * 10 + (scan.text[scan.at].unicode() - u'0'));
        scan.take();
    }
    return negative ? -exponent : exponent;
}

// The accepted text's value: too large is no number, too small to be told
// from zero reads as zero.
std::optional<double> valueOf(const std::string& ascii, const Mantissa& mantissa, int exponent)
{
    double value = 0;
    const auto result = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        if (mantissa.seenNonZero && mantissa.firstNonZeroPosition + exponent > 0)
            return std::nullopt;
        return ascii.front() == '-' ? -0.0 : 0.0;
    }
    if (result.ec != std::errc() || result.ptr != ascii.data() + ascii.size() ||
        !std::isfinite(value))
        return std::nullopt;
    return value;
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
    NumberScan scan(text);
    scan.skipSpaces();
    scanSign(scan);
    const Mantissa mantissa = scanMantissa(scan, locale.decimalPoint(), locale.groupSeparator());
    if (!mantissa.seenDigit)
        return std::nullopt;
    const std::optional<int> exponent = scanExponent(scan);
    scan.skipSpaces();
    if (!exponent || !scan.atEnd())
        return std::nullopt;
    return valueOf(scan.ascii, mantissa, *exponent);
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
