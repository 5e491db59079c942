// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The decimal and grouping separators a user may have: comma and full stop
// (German), point and comma (English), comma and a narrow no-break space
// (French).

#include <QLocale>
#include <cstdint>

inline void useLocaleFor(std::uint8_t selector)
{
    static const QLocale locales[] = {
        QLocale(QLocale::German, QLocale::Germany),
        QLocale(QLocale::English, QLocale::UnitedStates),
        QLocale(QLocale::French, QLocale::France),
    };
    QLocale::setDefault(locales[selector % 3]);
}
