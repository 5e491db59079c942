// The real window offscreen: any bytes as JOLV.INI, then any sequence of
// clicks. Nothing may crash or hang, every result label holds the empty text
// or a number the field rules read back, and closing writes a whole file.
// Input: the file's bytes, one byte per click, then the number of clicks.

#include "app/field_values.h"
#include "app/main_window.h"
#include "app/settings_file.h"
#include "app/steppers.h"
#include "fuzz_check.h"
#include "fuzz_locale.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdint>

namespace {

const char* const resultLabels[] = {"LUM", "LPRP", "LTRR",  "LUV",   "LVA",
                                    "LQA", "LTH",  "LPull", "LCirc", "LSpeed"};

QStringList clickableControls()
{
    QStringList names = {"CCalc",  "CCalc2", "CCalc3", "TTR0",  "CInch",
                         "CSpeed", "OPC(0)", "OPC(1)", "OPC(2)"};
    for (const steppers::Stepper& stepper : steppers::table())
        names << QString::fromLatin1(stepper.button);
    return names;
}

void checkResults(const QWidget& window)
{
    for (const char* name : resultLabels) {
        QString text = window.findChild<QLabel*>(QString::fromLatin1(name))->text();
        if (QByteArray(name) == "LTRR" && !text.isEmpty()) {
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
    {
        QFile stored(iniPath);
        FUZZ_CHECK(stored.open(QIODevice::WriteOnly) && stored.write(file) == file.size());
    }

    MainWindow window(directory.path());
    window.show();
    for (const char click : clicks) {
        // The Speed panel may answer with a modal box; close it as a user would.
        QTimer::singleShot(0, [] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                box->accept();
        });
        const QString name = clickable[std::uint8_t(click) % clickable.size()];
        QTest::mouseClick(window.findChild<QWidget*>(name), Qt::LeftButton);
        QCoreApplication::processEvents();
        checkResults(window);
    }
    FUZZ_CHECK(window.close());

    QFile saved(iniPath);
    FUZZ_CHECK(saved.open(QIODevice::ReadOnly));
    FUZZ_CHECK(saved.readAll().count("\r\n") == 22);
    return 0;
}
