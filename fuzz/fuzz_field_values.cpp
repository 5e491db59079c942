// SPDX-License-Identifier: GPL-3.0-or-later
// Any text through the text-to-number rule and its relatives: what is
// accepted is finite and is written back so that it reads as the same value.
// Input: one byte choosing the locale, then the text as UTF-8.

#include "core/field_values.h"
#include "fuzz_check.h"
#include "fuzz_locale.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace {

// Within the rounding of a 15-significant-digit decimal form.
bool sameTo15Digits(double a, double b)
{
    return std::fabs(a - b) <= std::fabs(b) * 1e-14 + std::numeric_limits<double>::denorm_min();
}

void checkWrittenForms(double value)
{
    const auto back = fields::toNumber(fields::numberToText(value));
    FUZZ_CHECK(back && sameTo15Digits(*back, value));

    double halfUnit = 0.5;
    for (const auto pattern :
         {fields::Pattern::Whole, fields::Pattern::OneDecimal, fields::Pattern::TwoDecimals}) {
        const auto shown = fields::toNumber(fields::formatted(value, pattern));
        FUZZ_CHECK(shown);
        FUZZ_CHECK(std::fabs(*shown - value) <= halfUnit + std::fabs(value) * 1e-14);
        halfUnit /= 10;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    useLocaleFor(data[0]);
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));

    const auto value = fields::toNumber(text);
    FUZZ_CHECK(fields::isNumeric(text) == value.has_value());
    FUZZ_CHECK(fields::trimmed(fields::trimmed(text)) == fields::trimmed(text));

    const auto single = fields::toSingle(text);
    const auto integer = fields::toInteger(text);
    if (!value) {
        FUZZ_CHECK(!single && !integer);
        return 0;
    }
    FUZZ_CHECK(std::isfinite(*value));
    checkWrittenForms(*value);

    if (std::fabs(*value) <= std::numeric_limits<float>::max()) {
        FUZZ_CHECK(single && *single == static_cast<float>(*value));
        const auto singleBack = fields::toSingle(fields::singleToText(*single));
        FUZZ_CHECK(singleBack && std::fabs(*singleBack - *single) <= std::fabs(*single) * 1e-6f);
    } else {
        FUZZ_CHECK(!single);
    }

    const double whole = std::nearbyint(*value);
    if (whole >= -32768 && whole <= 32767)
        FUZZ_CHECK(integer && *integer == whole);
    else
        FUZZ_CHECK(!integer);
    return 0;
}
