// SPDX-License-Identifier: GPL-3.0-or-later
// The real window offscreen: any bytes as JOLV.INI, then any sequence of
// clicks. Nothing may crash or hang, every result label holds the empty text
// or a number the field rules read back (shown whole, or its start and "…"),
// and closing writes a whole file or leaves one it did not read as it was.
// Input: the file's bytes, one byte per click, then the number of clicks.

#include "core/field_values.h"
#include "core/settings_file.h"
#include "fuzz_check.h"
#include "fuzz_locale.h"
#include "gui/main_window.h"
#include "support.h"

#include <QApplication>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <cstdint>

namespace {

// A click byte picks from these by its remainder. They are grouped by kind,
// in the order the seeds in corpus/fuzz_window were written for: the
// "Berechnen" buttons, the gear ratio box, the unit boxes, the options and
// the steppers.
QStringList clickableControls()
{
    QStringList names;
    const auto add = [&names](ControlKind kind) {
        for (const ControlRow& row : controlTable())
            if (row.control.kind == kind)
                names << controlName(row.control);
    };
    add(ControlKind::Button);
    names << QString::fromLatin1(fieldRow(Field::GearRatio).objectName);
    add(ControlKind::CheckBox);
    add(ControlKind::Option);
    add(ControlKind::Stepper);
    return names;
}

void checkResults(const QWidget& window)
{
    for (const OutputRow& row : outputTable) {
        const auto* label = window.findChild<QLabel*>(QString::fromLatin1(row.objectName));
        FUZZ_CHECK(label);
        // What does not fit shows its start and "…", never a cut number.
        const QString shown = label->text();
        QString text = label->accessibleName();
        FUZZ_CHECK(shown == text || (shown.endsWith(u'…') && text.startsWith(shown.chopped(1)) &&
                                     label->toolTip() == text));
        if (row.output == Output::GearRatio && !text.isEmpty()) {
            FUZZ_CHECK(text.endsWith(QLatin1String(":1")));
            text.chop(2);
        }
        FUZZ_CHECK(text.isEmpty() || fields::isNumeric(text));
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Never destroyed: torn down among the exit handlers, after Qt's own
    // globals, it would crash the fuzzer on its way out.
    new QApplication(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const QTemporaryDir directory;
    static const QStringList clickable = clickableControls();
    // The last byte tells how many clicks (up to 64) stand before it; the
    // rest, any bytes at all, is the settings file.
    if (size == 0)
        return 0;
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size) - 1);
    const qsizetype clickCount = std::min<qsizetype>(data[size - 1] % 65, input.size());
    const QByteArray file = input.first(input.size() - clickCount);
    const QByteArray clicks = input.last(clickCount);
    useLocaleFor(clicks.isEmpty() ? 0 : std::uint8_t(clicks[0]));

    const QString iniPath = settings_file::iniPath(directory.path());
    FUZZ_CHECK(writeFile(iniPath, file));
    // A file that is not read (no line names a key) is left as it is.
    const bool kept = !settings_file::load(iniPath);

    MainWindow window(directory.path());
    window.show();
    for (const char click : clicks) {
        auto* control =
            window.findChild<QWidget*>(clickable[std::uint8_t(click) % clickable.size()]);
        FUZZ_CHECK(control);
        // The Speed panel may answer with a modal box; it is closed as a user would.
        messageDuring([control] { QTest::mouseClick(control, Qt::LeftButton); });
        checkResults(window);
    }
    FUZZ_CHECK(window.close());
    FUZZ_CHECK(kept ? fileBytes(iniPath) == file : wholeFileProblem(fileBytes(iniPath)).isEmpty());
    return 0;
}
