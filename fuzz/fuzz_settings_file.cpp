// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as JOLV.INI: reading never fails, writing what was read gives the
// 22 lines in their order, and reading that again changes nothing.

#include "core/settings_file.h"
#include "fuzz_check.h"
#include "fuzz_locale.h"
#include "support.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    useLocaleFor(data[0]);
    const QByteArray file(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));

    const QByteArray written = settings_file::serialize(settings_file::parse(file));
    FUZZ_CHECK(wholeFileProblem(written).isEmpty());
    FUZZ_CHECK(settings_file::serialize(settings_file::parse(written)) == written);
    return 0;
}
