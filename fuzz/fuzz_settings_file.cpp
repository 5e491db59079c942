// Any bytes as JOLV.INI: reading never fails, writing what was read gives the
// 22 lines in their order, and reading that again changes nothing.

#include "app/settings_file.h"
#include "fuzz_check.h"
#include "fuzz_locale.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    useLocaleFor(data[0]);
    const QByteArray file(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));

    const QByteArray written = settings_file::serialize(settings_file::parse(file));
    FUZZ_CHECK(written.endsWith("\r\n"));
    const QList<QByteArray> lines = written.chopped(2).split('\n');
    const auto keys = settings_file::keys();
    FUZZ_CHECK(std::size_t(lines.size()) == keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i) {
        FUZZ_CHECK(lines[qsizetype(i)].startsWith(QByteArray(keys[i].name) + '='));
        FUZZ_CHECK(i + 1 == keys.size() || lines[qsizetype(i)].endsWith('\r'));
    }

    FUZZ_CHECK(settings_file::serialize(settings_file::parse(written)) == written);
    return 0;
}
