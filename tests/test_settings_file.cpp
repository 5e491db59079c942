// SPDX-License-Identifier: GPL-3.0-or-later
// JOLV.INI without a window: what is written, what is read, and that a save
// replaces the file whole or leaves it alone. Comma locale throughout.

#include "support.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QLocale>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

// Links, special files, owners and modes: what only Unix keeps.
#ifdef Q_OS_UNIX
#include "support_unix.h"

#include <cerrno>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/sysmacros.h>

// While set, changing a file's mode fails, as on a file system that keeps
// none; stands in for the C library's fchmod, which the save calls.
static bool modeChangeFails = false;

extern "C" int fchmod(int fd, mode_t mode)
{
    if (modeChangeFails) {
        errno = EPERM;
        return -1;
    }
    return int(::syscall(SYS_fchmod, fd, mode));
}
#endif

using settings_file::Settings;
using B = UnitBox;
using F = Field;

namespace settings_file {

// Lets QCOMPARE show both sides of a mismatch.
char* toString(const Settings& settings)
{
    QStringList parts;
    if (settings.top)
        parts << QStringLiteral("top %1").arg(*settings.top);
    if (settings.left)
        parts << QStringLiteral("left %1").arg(*settings.left);
    for (auto text = settings.texts.begin(); text != settings.texts.end(); ++text)
        parts << QStringLiteral("%1 \"%2\"")
                     .arg(QLatin1StringView(keyName(text.key())), text.value());
    for (auto box = settings.boxes.begin(); box != settings.boxes.end(); ++box)
        parts << QLatin1StringView(keyName(box.key())) +
                     QLatin1StringView(box.value() ? "=1" : "=0");
    return qstrdup(('{' + parts.join(QStringLiteral(", ")) + '}').toUtf8().constData());
}

char* toString(const std::optional<Settings>& loaded)
{
    return loaded ? toString(*loaded) : qstrdup("not read");
}

} // namespace settings_file

namespace {

// What the sample file holds: every input at its default, the frame 1440
// twips down and 2880 right.
// clang-format off
Settings defaults()
{
    return {.top = 1440, .left = 2880,
            .texts = {{F::Rpm, "10000"}, {F::Pitch, "15"}, {F::Slip, "25"}, {F::DriveSpeed, ""},
                      {F::BladeLength, "600"}, {F::HubLength, "150"}, {F::BladeWeight, "150"},
                      {F::RotorSpeed, "1500"}, {F::SpeedConstant, "800"}, {F::CellCount, "20"},
                      {F::CellVoltage, "1,1"}, {F::PinionTeeth, "10"}, {F::GearTeeth, "200"},
                      {F::GearRatio, ""}, {F::CellResistance, "4,5"}, {F::Current, "20"},
                      {F::CableLength, ""}, {F::CableSection, "2,5"}},
            .boxes = {{B::Inch, false}, {B::MetresPerSecond, false}}};
}
// clang-format on

Settings changed(Settings settings, const std::function<void(Settings&)>& change)
{
    change(settings);
    return settings;
}

// Every value set, each field to a different text that a reader could trip over.
const Settings oddValues = changed(defaults(), [](Settings& s) {
    s.top = -7.5;
    s.left = 1440.25;
    s.texts = {{F::Rpm, "abc"},
               {F::Pitch, "4=1"},
               {F::Slip, "*5"},
               {F::DriveSpeed, ""},
               {F::SpeedConstant, "1.000,5"},
               {F::CellCount, "a\tb"},
               {F::CellVoltage, "1,1"},
               {F::GearRatio, "="},
               {F::PinionTeeth, "-0"},
               {F::GearTeeth, "1E3"},
               {F::CableLength, "Zähne"},
               {F::BladeLength, "mm²"},
               {F::HubLength, "1 2"},
               {F::BladeWeight, "RPM=5"},
               {F::RotorSpeed, "**"},
               {F::CellResistance, "\t"},
               {F::Current, "x\fy"},
               {F::CableSection, "2,5"}};
    s.boxes[B::Inch] = true;
});

// What reading back a file gives that was written from no values at all:
// every key there, at zero, empty or cleared.
Settings blankValues()
{
    Settings blank = defaults();
    blank.top = blank.left = 0;
    for (QString& text : blank.texts)
        text.clear();
    return blank;
}

// The sample file with the lines of some keys replaced ("KEY=value" each).
QByteArray sampleWith(const QList<QByteArray>& changedLines)
{
    QList<QByteArray> lines = sampleFile.split('\n');
    for (const QByteArray& changedLine : changedLines)
        for (QByteArray& line : lines)
            if (line.startsWith(changedLine.first(changedLine.indexOf('=') + 1)))
                line = changedLine + '\r';
    return lines.join('\n');
}

// Every file below a directory with its bytes, leftovers of a failed write included.
QMap<QString, QByteArray> tree(const QString& root)
{
    QMap<QString, QByteArray> contents;
    QDirIterator entries(root,
                         QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                         QDirIterator::Subdirectories);
    while (entries.hasNext()) {
        const QString path = entries.next();
        contents[QDir(root).relativeFilePath(path)] = fileBytes(path);
    }
    return contents;
}

#ifdef Q_OS_UNIX
enum class OnDisk { Nothing, Directory, Fifo, File, UnreadableFile, LinkLoop, LinksPast40 };
enum class Obstacle { ReadOnlyDirectory, DirectoryNamedLikeTheFile, MissingDirectory };
enum class Found { Nothing, Read, Refused };
enum class SetUp {
    NoFile,
    Permissions0640,
    LinkToAnotherFile,
    LinkChain,
    LinkToFifo,
    LinkToNullDevice,
    ReadOnlyFile,
    ReadOnlyForEveryone,
    OtherUsersFile,
    ModeNotCopied,
};

// The file's type and mode bits, or 0 when it is not there.
mode_t modeOf(const QString& path)
{
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode : 0;
}
#endif

} // namespace

class TestSettingsFile : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    void serialize_data()
    {
        QTest::addColumn<Settings>("settings");
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("defaults: the sample") << defaults() << sampleFile;
        QTest::newRow("fractional and negative position written with a comma")
            << changed(defaults(), [](Settings& s) { s.top = 1440.5, s.left = -7.25; })
            << sampleWith({"WINDOWTOP=1440,5", "WINDOWLEFT=-7,25"});
        QTest::newRow("position to seven significant digits")
            << changed(defaults(), [](Settings& s) { s.top = 123456.7f; })
            << sampleWith({"WINDOWTOP=123456,7"});
        QTest::newRow("both boxes ticked") << changed(defaults(), [](Settings& s) {
            s.boxes = {{B::Inch, 1}, {B::MetresPerSecond, 1}};
        }) << sampleWith({"INC=1", "SMS=1"});
        QTest::newRow("texts written as they are") << changed(defaults(), [](Settings& s) {
            s.texts[F::Rpm] = " 100 ", s.texts[F::GearRatio] = "4=1";
            s.texts[F::CellVoltage] = "1.1", s.texts[F::DriveSpeed] = "*";
        }) << sampleWith({"RPM= 100 ", "TTR0=4=1", "TVC=1.1", "SPE=*"});
        QTest::newRow("nothing set")
            << Settings{}
            << QByteArray("WINDOWTOP=0\r\nWINDOWLEFT=0\r\nRPM=\r\nASC=\r\nSLP=\r\nSPE=\r\n"
                          "INC=0\r\nSMS=0\r\nTUV=\r\nTCC=\r\nTVC=\r\nTTR0=\r\nTTR1=\r\n"
                          "TTR2=\r\nTTC0=\r\nTBL=\r\nTML=\r\nTBW=\r\nTBS=\r\nTRC=\r\nTCA=\r\n"
                          "TCQ=\r\n");
    }
    void serialize()
    {
        QFETCH(Settings, settings);
        QFETCH(QByteArray, file);
        QCOMPARE(settings_file::serialize(settings), file);
    }

    void parse_data()
    {
        struct Row {
            const char* name;
            QByteArray file;
            Settings settings;
        };
        // clang-format off
        const Row rows[] = {
            {"empty file", "", {}},
            {"the sample", sampleFile, defaults()},
            {"lower-case key", "rpm=5000\r\n", {.texts = {{F::Rpm, "5000"}}}},
            {"spaces around key and value", " Rpm = 5000 \r\n", {.texts = {{F::Rpm, "5000"}}}},
            {"spaces inside a value stay", "RPM=50 00\r\n", {.texts = {{F::Rpm, "50 00"}}}},
            {"tab in a value stays", "RPM=\t5000 \r\n", {.texts = {{F::Rpm, "\t5000"}}}},
            {"stray carriage returns read as spaces", "RPM=12\r34\r\r\n", {.texts = {{F::Rpm, "12 34"}}}},
            {"tab before a key makes it unknown", "\tRPM=5000\r\n", {}},
            {"comment", "*RPM=5000\r\n", {}},
            {"space before the star: unknown key", " *RPM=5000\r\n", {}},
            {"star in a value", "RPM=*5\r\n", {.texts = {{F::Rpm, "*5"}}}},
            {"value keeps further equals signs", "TTR0=4=1\r\n", {.texts = {{F::GearRatio, "4=1"}}}},
            {"line without equals sign", "RPM\r\n", {}},
            {"empty key", "=5000\r\n", {}},
            {"option group not stored", "OPC=1\r\n", {}},
            {"output label not stored", "LUM=5\r\n", {}},
            {"control name is no key", "TUM=5\r\n", {}},
            {"later line wins", "RPM=1\r\nRPM=2\r\n", {.texts = {{F::Rpm, "2"}}}},
            {"box before pitch", "INC=1\r\nASC=6\r\n", {.texts = {{F::Pitch, "6"}}, .boxes = {{B::Inch, true}}}},
            {"pitch before box", "ASC=6\r\nINC=1\r\n", {.texts = {{F::Pitch, "6"}}, .boxes = {{B::Inch, true}}}},
            {"empty value empties the field", "SPE=\r\n", {.texts = {{F::DriveSpeed, ""}}}},
            {"line feeds only", "RPM=5000\nTBL=700\n", {.texts = {{F::Rpm, "5000"}, {F::BladeLength, "700"}}}},
            {"last line without line end", "RPM=5000\r\nTBL=700", {.texts = {{F::Rpm, "5000"}, {F::BladeLength, "700"}}}},
            {"empty lines", "\r\n\r\nRPM=5\r\n\r\n", {.texts = {{F::Rpm, "5"}}}},
            {"window position", "WINDOWTOP=1440,5\r\nwindowleft = -30 \r\n", {.top = 1440.5, .left = -30}},
            {"position with grouping", "WINDOWTOP=1.440\r\n", {.top = 1440}},
            {"position no number", "WINDOWTOP=abc\r\n", {}},
            {"position empty", "WINDOWLEFT=\r\n", {}},
            {"position beyond single precision", "WINDOWLEFT=1E39\r\n", {}},
            {"skipped position keeps the earlier one", "WINDOWTOP=15\r\nWINDOWTOP=abc\r\n", {.top = 15}},
            {"box ticked", "SMS = 1 \r\n", {.boxes = {{B::MetresPerSecond, true}}}},
            {"box cleared", "INC=0\r\n", {.boxes = {{B::Inch, false}}}},
            {"later box line clears", "INC=1\r\nINC=0\r\n", {.boxes = {{B::Inch, false}}}},
            {"box 2 skipped", "INC=2\r\n", {}},
            {"box -1 skipped", "INC=-1\r\n", {}},
            {"box no number skipped", "INC=abc\r\n", {}},
            {"box empty skipped", "SMS=\r\n", {}},
            {"box half rounds to even 0", "INC=1\r\nINC=0,5\r\n", {.boxes = {{B::Inch, false}}}},
            {"box one and a half rounds to 2, skipped", "INC=1,5\r\n", {}},
        };
        // clang-format on
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<Settings>("settings");
        for (const Row& row : rows)
            QTest::newRow(row.name) << row.file << row.settings;
    }
    void parse()
    {
        QFETCH(QByteArray, file);
        QFETCH(Settings, settings);
        QCOMPARE(settings_file::parse(file), settings);
    }

    void roundTrip_data()
    {
        QTest::addColumn<Settings>("written");
        QTest::addColumn<Settings>("readBack");
        QTest::newRow("defaults") << defaults() << defaults();
        QTest::newRow("odd values") << oddValues << oddValues;
        QTest::newRow("spaces around texts are lost") << changed(defaults(), [](Settings& s) {
            s.texts[F::Rpm] = " 100 ", s.texts[F::CellVoltage] = "  ";
        }) << changed(defaults(), [](Settings& s) {
            s.texts[F::Rpm] = "100", s.texts[F::CellVoltage] = "";
        });
        QTest::newRow("nothing set reads back as zero, empty and cleared")
            << Settings{} << blankValues();
        // A pasted line break must not split the key's line in two.
        QTest::newRow("line breaks in a text become spaces")
            << changed(defaults(),
                       [](Settings& s) {
                           s.texts[F::Rpm] = "12\n34", s.texts[F::CableLength] = "a\r\nb";
                           s.texts[F::Pitch] = "12\r34", s.texts[F::Slip] = "x\u2028y\u2029z";
                       })
            << changed(defaults(), [](Settings& s) {
                   s.texts[F::Rpm] = "12 34", s.texts[F::CableLength] = "a  b";
                   s.texts[F::Pitch] = "12 34", s.texts[F::Slip] = "x y z";
               });
    }
    void roundTrip()
    {
        QFETCH(Settings, written);
        QFETCH(Settings, readBack);
        QCOMPARE(settings_file::parse(settings_file::serialize(written)), readBack);
    }

    void alwaysWritesTheKeysInOrder_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("hand-edited file")
            << QByteArray("* my rotor\r\nFOO=1\r\nrpm=5\r\n\r\nOPC=2\r\nTCQ=1\r\nWINDOWTOP=-1\r\n");
        QTest::newRow("carriage return inside a value") << QByteArray("RPM=1\r2\r\nASC=3\r\r\n");
        QTest::newRow("no line end at all") << QByteArray("not a settings file");
        QTest::newRow("NUL byte in a value") << QByteArray("RPM=a\0b\r\n", 9);
    }
    void alwaysWritesTheKeysInOrder()
    {
        QFETCH(QByteArray, file);
        QCOMPARE(wholeFileProblem(settings_file::serialize(settings_file::parse(file))), QString());
    }

    void saveThenLoad_data()
    {
        QTest::addColumn<QByteArray>("oldFile"); // empty: none there
        QTest::addColumn<Settings>("settings");
        QTest::newRow("first save") << QByteArray() << defaults();
        QTest::newRow("odd values") << QByteArray() << oddValues;
        QTest::newRow("hand-edited file replaced")
            << QByteArray("* mine\r\nFOO=1\r\nrpm=5\r\n") << oddValues;
        QTest::newRow("longer old file cut off") << QByteArray(64 * 1024, '*') + "\r\nRPM=1\r\n"
                                                 << defaults();
        // The largest file there is: every field full of three-byte characters.
        QTest::newRow("every field at its longest")
            << QByteArray() << changed(oddValues, [](Settings& s) {
                   for (QString& text : s.texts)
                       text = QString(maxFieldTextLength, QChar(u'€'));
                   s.top = s.left = -1.175494e-38f;
               });
    }
    void saveThenLoad()
    {
        QFETCH(QByteArray, oldFile);
        QFETCH(Settings, settings);
        const QTemporaryDir directory;
        const QString path = directory.filePath(QStringLiteral("JOLV.INI"));
        if (!oldFile.isEmpty())
            QVERIFY(writeFile(path, oldFile));

        QVERIFY(settings_file::save(path, settings));
        QCOMPARE(fileBytes(path), settings_file::serialize(settings));
        QCOMPARE(settings_file::load(path), std::optional(settings));
        QCOMPARE(QDir(directory.path())
                     .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("JOLV.INI")});
    }

    // Values are 8-bit text in the system's encoding: UTF-8 here, the ANSI
    // code page on Windows, where a German system's Windows-1252 is what an
    // earlier program wrote.
    void valuesAreTheSystemsEightBitText()
    {
#ifdef Q_OS_WIN
        const QByteArray line = "TTR1=Z\xe4hne\r\n";
#else
        const QByteArray line = "TTR1=Z\xc3\xa4hne\r\n";
#endif
        const Settings settings{.texts = {{F::PinionTeeth, QStringLiteral("Zähne")}}};
        QCOMPARE(settings_file::parse(line), settings);
        QVERIFY(settings_file::serialize(settings).contains(line));
    }

    // While JOLV.INI does not exist, the first earlier file that does is
    // read and left as it was; JOLV.INI is saved beside it.
    void loadOrTakeOver_data()
    {
        QTest::addColumn<QByteArrayList>("files"); // JOLV.INI, then earlier ones; "": none
        QTest::addColumn<QString>("rpm");          // "": not set
        QTest::newRow("JOLV.INI wins") << QByteArrayList{"RPM=1", "RPM=2"} << "1";
        QTest::newRow("no JOLV.INI: the first earlier file")
            << QByteArrayList{"", "RPM=2", "RPM=3"} << "2";
        QTest::newRow("a missing earlier file is passed over")
            << QByteArrayList{"", "", "RPM=3"} << "3";
        QTest::newRow("nothing anywhere") << QByteArrayList{"", "", ""} << "";
        QTest::newRow("an earlier file not read leaves defaults to save")
            << QByteArrayList{"", "<directory>", "RPM=3"} << "";
    }
    void loadOrTakeOver()
    {
        QFETCH(QByteArrayList, files);
        QFETCH(QString, rpm);
        const QTemporaryDir directory;
        QStringList paths;
        for (qsizetype i = 0; i < files.size(); ++i) {
            paths << directory.filePath(QStringLiteral("%1/JOLV.INI").arg(i));
            QVERIFY(QDir().mkpath(QFileInfo(paths.last()).path()));
            if (files[i] == "<directory>")
                QVERIFY(QDir().mkdir(paths.last()));
            else if (!files[i].isEmpty())
                QVERIFY(writeFile(paths.last(), files[i] + "\r\n"));
        }
        const QMap<QString, QByteArray> before = tree(directory.path());
        const std::optional<Settings> loaded =
            settings_file::loadOrTakeOver(paths[0], paths.sliced(1));
        QVERIFY(loaded);
        QCOMPARE(loaded->texts.value(F::Rpm), rpm);
        QVERIFY(settings_file::save(paths[0], *loaded));
        QMap<QString, QByteArray> after = tree(directory.path());
        after.remove(QStringLiteral("0/JOLV.INI"));
        if (!files[0].isEmpty())
            after[QStringLiteral("0/JOLV.INI")] = before[QStringLiteral("0/JOLV.INI")];
        QCOMPARE(after, before);
    }

    // Left by saves that were killed: gone once their time is further from
    // now than any save takes, also when it lies ahead (a clock set back). A
    // fresh one may belong to a save in progress, and names that are not a
    // save's (a user's backup copy) are never touched.
    void saveRemovesStaleSavingFiles()
    {
        const QTemporaryDir directory;
        const QString path = directory.filePath(QStringLiteral("JOLV.INI"));
        const QDateTime now = QDateTime::currentDateTime();
        const std::pair<const char*, int> namesAndAges[] = {
            {".JOLV.INI.saving-aB3xYz", 60},  {".JOLV.INI.saving-fresh1", 0},
            {".JOLV.INI.saving-ahead1", -60}, {".jolv.ini.saving-lower1", 60},
            {"JOLV.INI.backup", 60},          {"JOLV.INI.aB3xYz", 60}};
        for (const auto& [name, ageSeconds] : namesAndAges) {
            QFile file(directory.filePath(QString::fromLatin1(name)));
            QVERIFY(file.open(QIODevice::WriteOnly));
            QVERIFY(file.setFileTime(now.addSecs(-ageSeconds), QFileDevice::FileModificationTime));
        }
        // Nor is a directory of a save's name, which is logged instead.
        QVERIFY(QDir(directory.path()).mkdir(QStringLiteral(".JOLV.INI.saving-folder")));
        QLoggingCategory::setFilterRules(QStringLiteral("jolv.settings.info=true"));
        const auto quiet = qScopeGuard([] { QLoggingCategory::setFilterRules({}); });
        QTest::ignoreMessage(QtInfoMsg, QRegularExpression("^left as it is, a directory .*folder"));
        QVERIFY(settings_file::save(path, defaults()));
        QCOMPARE(QDir(directory.path())
                     .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name),
                 (QStringList{".JOLV.INI.saving-folder", ".JOLV.INI.saving-fresh1",
                              ".jolv.ini.saving-lower1", "JOLV.INI", "JOLV.INI.aB3xYz",
                              "JOLV.INI.backup"}));
    }

#ifdef Q_OS_UNIX
    void load_data()
    {
        // The largest file a save could write: 22 lines of key, "=", CR LF,
        // and the value's longest text (a field's 32767 code units, a
        // position's 13, a box's 1) at three bytes each.
        constexpr qint64 largestWritten = 1769651;
        QTest::addColumn<OnDisk>("onDisk");
        QTest::addColumn<qint64>("fileSize"); // a key line, then a comment filling up
        QTest::addColumn<Found>("found");
        QTest::newRow("no file") << OnDisk::Nothing << 0LL << Found::Nothing;
        QTest::newRow("a link loop") << OnDisk::LinkLoop << 0LL << Found::Nothing;
        QTest::newRow("a chain of 45 links") << OnDisk::LinksPast40 << 0LL << Found::Nothing;
        QTest::newRow("directory") << OnDisk::Directory << 0LL << Found::Refused;
        QTest::newRow("named pipe, which would block a read")
            << OnDisk::Fifo << 0LL << Found::Refused;
        QTest::newRow("unreadable file") << OnDisk::UnreadableFile << 16LL << Found::Refused;
        QTest::newRow("small file") << OnDisk::File << 16LL << Found::Read;
        QTest::newRow("as large as a save writes") << OnDisk::File << largestWritten << Found::Read;
        QTest::newRow("one byte larger") << OnDisk::File << largestWritten + 1 << Found::Refused;
    }
    void load()
    {
        QFETCH(OnDisk, onDisk);
        QFETCH(qint64, fileSize);
        QFETCH(Found, found);
        const QTemporaryDir directory;
        const QString path = directory.filePath(QStringLiteral("JOLV.INI"));
        const auto quiet = qScopeGuard([] { QLoggingCategory::setFilterRules({}); });
        switch (onDisk) {
        case OnDisk::Nothing:
            break;
        case OnDisk::Directory:
            QVERIFY(QDir(directory.path()).mkdir(QStringLiteral("JOLV.INI")));
            break;
        case OnDisk::Fifo:
            QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
            break;
        case OnDisk::File:
        case OnDisk::UnreadableFile:
            QVERIFY(writeFile(path, "RPM=5000\r\n*" + QByteArray(fileSize - 11, 'x')));
            break;
        case OnDisk::LinkLoop:
        case OnDisk::LinksPast40: {
            // JOLV.INI -> link1 -> ... -> linkN, the last back to JOLV.INI or
            // to nothing; logged as what it is, not as a first start.
            const bool loop = onDisk == OnDisk::LinkLoop;
            const int links = loop ? 2 : 45;
            QString from = path;
            for (int number = 1; number <= links; ++number) {
                const QString to = loop && number == links
                                       ? path
                                       : directory.filePath(QStringLiteral("link%1").arg(number));
                QVERIFY(QFile::link(to, from));
                from = to;
            }
            QLoggingCategory::setFilterRules(QStringLiteral("jolv.settings.info=true"));
            QTest::ignoreMessage(QtInfoMsg, QRegularExpression("^no settings file: its links"));
            break;
        }
        }
        const std::optional<Settings> expected = found == Found::Read ? Settings{.texts =
                                                                                 { { F::Rpm,
                                                                                     "5000" } }}
                                                 : found == Found::Nothing
                                                     ? std::optional(Settings{})
                                                     : std::nullopt;
        if (onDisk != OnDisk::UnreadableFile) {
            QCOMPARE(settings_file::load(path), expected);
            return;
        }
        // Write-only for its owner, and read by a user whom that binds.
        QVERIFY(handToUnprivilegedUser(directory.path()) && handToUnprivilegedUser(path));
        QVERIFY(QFile::setPermissions(path, QFile::WriteOwner));
        QVERIFY(asUnprivilegedUser([&] { return settings_file::load(path) == expected; }));
    }

    void saveFails_data()
    {
        QTest::addColumn<Obstacle>("obstacle");
        QTest::newRow("read-only directory") << Obstacle::ReadOnlyDirectory;
        QTest::newRow("JOLV.INI is a directory") << Obstacle::DirectoryNamedLikeTheFile;
        QTest::newRow("directory missing") << Obstacle::MissingDirectory;
    }
    void saveFails()
    {
        QFETCH(Obstacle, obstacle);
        const QTemporaryDir directory;
        const QString settingsDirectory = directory.filePath(QStringLiteral("settings"));
        const QString path = QDir(settingsDirectory).filePath(QStringLiteral("JOLV.INI"));
        const QByteArray oldFile = "* old\r\nRPM=1\r\n";
        // Made writable again whatever happens, so that the directory can go.
        const auto restore = qScopeGuard([&] {
            QFile::setPermissions(settingsDirectory,
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        });
        switch (obstacle) {
        case Obstacle::ReadOnlyDirectory:
            QVERIFY(QDir().mkdir(settingsDirectory));
            QVERIFY(writeFile(path, oldFile));
            QVERIFY(handToUnprivilegedUser(directory.path()) &&
                    handToUnprivilegedUser(settingsDirectory) && handToUnprivilegedUser(path));
            QVERIFY(QFile::setPermissions(settingsDirectory, QFile::ReadOwner | QFile::ExeOwner));
            break;
        case Obstacle::DirectoryNamedLikeTheFile:
            QVERIFY(QDir().mkpath(path));
            QVERIFY(writeFile(QDir(path).filePath(QStringLiteral("old")), oldFile));
            break;
        case Obstacle::MissingDirectory:
            break;
        }

        const QMap<QString, QByteArray> before = tree(directory.path());
        const auto refused = [&] { return !settings_file::save(path, defaults()); };
        QVERIFY(obstacle == Obstacle::ReadOnlyDirectory ? asUnprivilegedUser(refused) : refused());
        QCOMPARE(tree(directory.path()), before);
    }

    void saveKeepsWhatTheUserSetUp_data()
    {
        QTest::addColumn<SetUp>("setUp");
        QTest::addColumn<bool>("saved");
        QTest::newRow("a new file is readable by all, written by the owner")
            << SetUp::NoFile << true;
        QTest::newRow("the old file's permissions stay") << SetUp::Permissions0640 << true;
        QTest::newRow("a link is followed and stays a link") << SetUp::LinkToAnotherFile << true;
        QTest::newRow("a chain of links is followed to its end") << SetUp::LinkChain << true;
        QTest::newRow("a link to a FIFO leaves the FIFO") << SetUp::LinkToFifo << false;
        QTest::newRow("a link to a null device leaves the device")
            << SetUp::LinkToNullDevice << false;
        QTest::newRow("a read-only file is not replaced") << SetUp::ReadOnlyFile << false;
        QTest::newRow("read-only by its mode, whoever saves")
            << SetUp::ReadOnlyForEveryone << false;
        QTest::newRow("another user's file stays theirs") << SetUp::OtherUsersFile << true;
        QTest::newRow("a mode that cannot be copied keeps the old file")
            << SetUp::ModeNotCopied << false;
    }
    void saveKeepsWhatTheUserSetUp()
    {
        QFETCH(SetUp, setUp);
        QFETCH(bool, saved);
        const QTemporaryDir directory;
        const QString path = directory.filePath(QStringLiteral("JOLV.INI"));
        // Where the link rows lead: a file, a FIFO or a device node.
        const QString linked = directory.filePath(QStringLiteral("settings-kept-elsewhere"));
        const QString middleLink = directory.filePath(QStringLiteral("middle-link"));
        const QByteArray oldFile = "RPM=1\r\n";
        const auto symlink = [](const char* target, const QString& name) {
            return ::symlink(target, QFile::encodeName(name).constData()) == 0;
        };
        const auto ownerGroup = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser |
                                QFile::WriteUser | QFile::ReadGroup;
        const auto readOnly =
            QFile::ReadOwner | QFile::ReadUser | QFile::ReadGroup | QFile::ReadOther;
        switch (setUp) {
        case SetUp::NoFile:
            break;
        case SetUp::Permissions0640:
        case SetUp::ModeNotCopied:
            QVERIFY(writeFile(path, oldFile));
            QVERIFY(QFile::setPermissions(path, ownerGroup));
            break;
        case SetUp::LinkToAnotherFile:
            QVERIFY(writeFile(linked, oldFile));
            QVERIFY(QFile::link(linked, path));
            break;
        case SetUp::LinkChain: // relative links, read from their own directory
            QVERIFY(writeFile(linked, oldFile));
            QVERIFY(symlink("settings-kept-elsewhere", middleLink) && symlink("middle-link", path));
            break;
        case SetUp::LinkToFifo:
            QVERIFY(::mkfifo(QFile::encodeName(linked).constData(), 0600) == 0);
            QVERIFY(QFile::link(linked, path));
            break;
        case SetUp::LinkToNullDevice:
            if (::geteuid() != 0)
                QSKIP("making a device node needs root");
            QVERIFY(::mknod(QFile::encodeName(linked).constData(), S_IFCHR | 0666, makedev(1, 3)) ==
                    0);
            QVERIFY(QFile::link(linked, path));
            break;
        case SetUp::ReadOnlyFile:
            QVERIFY(writeFile(path, oldFile));
            QVERIFY(handToUnprivilegedUser(directory.path()) && handToUnprivilegedUser(path));
            QVERIFY(QFile::setPermissions(path, readOnly));
            break;
        case SetUp::ReadOnlyForEveryone:
            QVERIFY(writeFile(path, oldFile));
            QVERIFY(QFile::setPermissions(path, readOnly));
            break;
        case SetUp::OtherUsersFile:
            if (::geteuid() != 0)
                QSKIP("giving a file to another user needs root");
            QVERIFY(writeFile(path, oldFile));
            QVERIFY(QFile::setPermissions(path, readOnly | QFile::WriteOwner));
            QVERIFY(handToUnprivilegedUser(path));
            break;
        }

        // The read-only case is saved by a user whom the mode binds, in a
        // directory that user may write: only the program's own check keeps
        // the file from being replaced. The others are saved by whoever runs
        // the test, in CI root, whom no mode binds.
        modeChangeFails = setUp == SetUp::ModeNotCopied;
        const bool savedNow =
            setUp == SetUp::ReadOnlyFile
                ? !asUnprivilegedUser([&] { return !settings_file::save(path, defaults()); })
                : settings_file::save(path, defaults());
        modeChangeFails = false;
        QCOMPARE(savedNow, saved);
        const QByteArray expected = saved ? settings_file::serialize(defaults()) : oldFile;
        switch (setUp) {
        case SetUp::NoFile:
            QCOMPARE(QFileInfo(path).permissions() &
                         (QFile::ReadOther | QFile::WriteOther | QFile::WriteGroup),
                     QFile::ReadOther);
            break;
        case SetUp::Permissions0640:
        case SetUp::ModeNotCopied:
            QCOMPARE(modeOf(path), S_IFREG | 0640);
            QCOMPARE(fileBytes(path), expected);
            break;
        case SetUp::LinkToAnotherFile:
        case SetUp::LinkChain:
            QVERIFY(QFileInfo(path).isSymLink());
            QVERIFY(setUp == SetUp::LinkToAnotherFile || QFileInfo(middleLink).isSymLink());
            QCOMPARE(fileBytes(linked), expected);
            break;
        case SetUp::LinkToFifo:
            QCOMPARE(modeOf(linked), S_IFIFO | 0600);
            break;
        case SetUp::LinkToNullDevice:
            QCOMPARE(modeOf(linked) & S_IFMT, mode_t(S_IFCHR));
            break;
        case SetUp::ReadOnlyFile:
        case SetUp::ReadOnlyForEveryone:
            QCOMPARE(modeOf(path), S_IFREG | 0444);
            QCOMPARE(fileBytes(path), expected);
            break;
        case SetUp::OtherUsersFile: {
            struct stat status {};
            QVERIFY(::stat(QFile::encodeName(path).constData(), &status) == 0);
            QCOMPARE(status.st_uid, unprivilegedUser);
            QCOMPARE(status.st_gid, gid_t(unprivilegedUser));
            QCOMPARE(status.st_mode, S_IFREG | 0644);
            QCOMPARE(fileBytes(path), expected);
            break;
        }
        }
        QCOMPARE(QDir(directory.path()).entryList(QDir::Hidden | QDir::Files).filter(".saving-"),
                 QStringList());
    }

    void settingsDirectoryIsCreated()
    {
        // The configuration directory below a home of our own, not the user's.
        const QTemporaryDir home;
        const QByteArray realHome = qgetenv("HOME");
        qputenv("HOME", QFile::encodeName(home.path()));
        QStandardPaths::setTestModeEnabled(true);
        const auto restore = qScopeGuard([&] {
            QStandardPaths::setTestModeEnabled(false);
            qputenv("HOME", realHome);
        });

        const QString directory = settings_file::settingsDirectory();
        QVERIFY2(directory.startsWith(home.path() + u'/'), qPrintable(directory));
        QVERIFY(QFileInfo(directory).isDir());
        const QString path = settings_file::iniPath();
        QCOMPARE(QFileInfo(path).absolutePath(), directory);
        QVERIFY(settings_file::save(path, defaults()));
        QCOMPARE(settings_file::load(path), std::optional(defaults()));
    }
#endif
};

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "test_settings_file.moc"
