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
#include <QTemporaryDir>
#include <QTest>

// Links, special files, owners and modes: what only Unix keeps.
#ifdef Q_OS_UNIX
#include "support_unix.h"

#include <cerrno>
#include <fcntl.h>
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

// While set, a rename onto a file of that name fails, as one onto a file
// that another program holds does on Windows; stands in for the C library's.
static const char* renameOntoFails = nullptr;

extern "C" int rename(const char* from, const char* to)
{
    if (renameOntoFails && QByteArrayView(to).endsWith(renameOntoFails)) {
        errno = EBUSY;
        return -1;
    }
    return int(::syscall(SYS_renameat2, AT_FDCWD, from, AT_FDCWD, to, 0));
}

// JOLV.INI held as a virus scanner or an editor holds it.
struct HeldSettingsFile {
    explicit HeldSettingsFile(const QString&) { renameOntoFails = "/JOLV.INI"; }
    ~HeldSettingsFile() { renameOntoFails = nullptr; }
};
#else
#include <qt_windows.h>

// JOLV.INI held open without delete sharing, as a virus scanner or an editor
// holds it: it cannot be replaced while the handle is open.
struct HeldSettingsFile {
    explicit HeldSettingsFile(const QString& path)
        : handle(
              CreateFileW(reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(path).utf16()),
                          GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr))
    {
    }
    ~HeldSettingsFile() { CloseHandle(handle); }
    HANDLE handle;
};
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

// Every value set, each field to a different text that a reader could trip over.
const Settings oddValues = {
    .top = -7.5, .left = 1440.25,
    .texts = {{F::Rpm, "abc"}, {F::Pitch, "4=1"}, {F::Slip, "*5"}, {F::DriveSpeed, ""},
              {F::SpeedConstant, "1.000,5"}, {F::CellCount, "a\tb"}, {F::CellVoltage, "1,1"},
              {F::GearRatio, "="}, {F::PinionTeeth, "-0"}, {F::GearTeeth, "1E3"},
              {F::CableLength, "Zähne"}, {F::BladeLength, "mm²"}, {F::HubLength, "1 2"},
              {F::BladeWeight, "RPM=5"}, {F::RotorSpeed, "**"}, {F::CellResistance, "\t"},
              {F::Current, "x\fy"}, {F::CableSection, "2,5"}},
    .boxes = {{B::Inch, true}, {B::MetresPerSecond, false}}};
// clang-format on

Settings changed(Settings settings, const std::function<void(Settings&)>& change)
{
    change(settings);
    return settings;
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

#ifdef Q_OS_UNIX
// "100644 1000:1000", type and mode in octal, then owner and group, and a line end.
QByteArray statusLine(mode_t mode, uid_t owner, gid_t group)
{
    return QByteArray::number(mode, 8) + ' ' + QByteArray::number(owner) + ':' +
           QByteArray::number(group) + '\n';
}
#endif

// A file's bytes; on Unix its status line first, and a link's target or
// nothing for what is not a regular file (a FIFO would block the read).
QByteArray entryOf(const QString& path)
{
#ifdef Q_OS_UNIX
    struct stat status {};
    if (::lstat(QFile::encodeName(path).constData(), &status) != 0)
        return "gone";
    const QByteArray line = statusLine(status.st_mode, status.st_uid, status.st_gid);
    if (S_ISLNK(status.st_mode))
        return line + QFile::encodeName(QFileInfo(path).symLinkTarget());
    return S_ISREG(status.st_mode) ? line + fileBytes(path) : line;
#else
    return fileBytes(path);
#endif
}

// Every entry below a directory, leftovers of a failed write included.
QMap<QString, QByteArray> tree(const QString& root)
{
    QMap<QString, QByteArray> contents;
    QDirIterator entries(root,
                         QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                         QDirIterator::Subdirectories);
    while (entries.hasNext()) {
        const QString path = entries.next();
        contents[QDir(root).relativeFilePath(path)] = entryOf(path);
    }
    return contents;
}

#ifdef Q_OS_UNIX
// What a load gives: the file's key line, the empty settings of a first
// start, or nothing for a file it leaves as it is.
const std::optional<Settings> keyLineRead = Settings{.texts = {{F::Rpm, "5000"}}};
const std::optional<Settings> firstStart = Settings{};
constexpr std::nullopt_t notRead = std::nullopt;

// What stands at JOLV.INI, in a directory "settings" of its own, when it is
// loaded and then saved, and what the two are to make of it.
struct OnDisk {
    const char* name;
    mode_t end = S_IFREG;       // the type of what the links end at; 0: nothing
    int links = 0;              // JOLV.INI -> link1 -> ... -> the last link's target
    const char* linkedTo = {};  // the last link's target, read from its directory; none: the end
    mode_t mode = 0;            // of the end; 0: as created
    qint64 size = 16;           // of a file: a key line, then a comment filling up
    const char* contents = {};  // of a file instead
    bool nobodysFile = false;   // the end handed to the unprivileged user
    bool byNobody = false;      // loaded and saved by that user, who owns the directories too
    bool linksByNobody = false; // the links handed to that user
    mode_t directoryMode = 0;   // of "settings"; 0: as created
    bool noDirectory = false;
    bool modeChangeFails = false;
    std::optional<Settings> loaded = keyLineRead;
    const char* logged = {};        // an info message the load logs
    std::optional<bool> saved = {}; // none: not saved
};

// The largest file a save could write: 26 lines of key, "=", CR LF, and the
// value's longest text (a field's 100 code units, a position's 13, a box's
// 1) at three bytes each.
constexpr qint64 largestWritten = 6861;

// clang-format off
const OnDisk onDisk[] = {
    {.name = "no file: a new one readable by all, written by the owner", .end = 0,
     .loaded = firstStart, .saved = true},
    {.name = "no directory", .end = 0, .noDirectory = true, .loaded = firstStart, .saved = false},
    {.name = "a file of mode 0640 keeps it", .mode = 0640, .saved = true},
    {.name = "as large as a save writes", .size = largestWritten},
    {.name = "an empty file", .contents = "", .loaded = firstStart, .saved = true},
    // Another program's file, or one that lost its key lines, stays.
    {.name = "a file in which no line names a key", .contents = "[General]\r\nRPM 5000\r\n*RPM=1\r\n",
     .loaded = notRead, .logged = "^not read.*no line holds a key", .saved = false},
    {.name = "one byte larger", .size = largestWritten + 1, .loaded = notRead},
    // Write-only for its owner, and read by a user whom that binds.
    {.name = "unreadable file", .mode = 0200, .nobodysFile = true, .byNobody = true,
     .loaded = notRead},
    {.name = "JOLV.INI is a directory", .end = S_IFDIR, .loaded = notRead, .saved = false},
    {.name = "named pipe, which would block a read", .end = S_IFIFO, .loaded = notRead,
     .saved = false},
    {.name = "a link is followed and stays a link", .links = 1, .saved = true},
    {.name = "relative links are followed to their end", .links = 2,
     .linkedTo = "settings-kept-elsewhere", .saved = true},
    // Logged as what it is, not as a first start.
    {.name = "a link loop", .end = 0, .links = 2, .linkedTo = "JOLV.INI", .loaded = firstStart,
     .logged = "^no settings file: its links", .saved = false},
    {.name = "a chain of 45 links", .end = 0, .links = 45, .linkedTo = "link45",
     .loaded = firstStart, .logged = "^no settings file: its links", .saved = false},
    // As the kernel's protected_symlinks rule has it: root, running with a
    // user's folder, follows the user's link only to the user's own file.
    {.name = "another user's link to a file not theirs is not followed", .links = 1,
     .linksByNobody = true, .loaded = notRead, .logged = "^not read.*the link belongs to user 65534",
     .saved = false},
    {.name = "another user's link to their own file is followed", .links = 1, .nobodysFile = true,
     .linksByNobody = true, .saved = true},
    {.name = "a link to a FIFO leaves the FIFO", .end = S_IFIFO, .links = 1, .loaded = notRead,
     .saved = false},
    {.name = "a link to a null device leaves the device", .end = S_IFCHR, .links = 1,
     .loaded = notRead, .saved = false},
    // Saved by a user whom the mode binds, in a directory that user may
    // write: only the program's own check keeps the file.
    {.name = "a read-only file is not replaced", .mode = 0444, .nobodysFile = true,
     .byNobody = true, .saved = false},
    // Saved by whoever runs the test, in CI root, whom no mode binds.
    {.name = "read-only by its mode, whoever saves", .mode = 0444, .saved = false},
    {.name = "another user's file stays theirs", .mode = 0644, .nobodysFile = true, .saved = true},
    {.name = "a mode that cannot be copied keeps the old file", .mode = 0640,
     .modeChangeFails = true, .saved = false},
    {.name = "read-only directory", .nobodysFile = true, .byNobody = true, .directoryMode = 0500,
     .saved = false},
};
// clang-format on

// A file read at start that something changes while the window is open, in
// a directory of its own: closing leaves it as it then is.
struct ChangeWhileOpen {
    const char* name;
    bool (*change)(const QString& directory);
    bool byNobody = false; // read and saved by the unprivileged user
    bool linked = false;   // JOLV.INI is a link of that user's to "mine.ini" of theirs
};

bool linkTo(const QString& directory, const char* target)
{
    const QByteArray link = QFile::encodeName(directory + QStringLiteral("/JOLV.INI"));
    ::unlink(link.constData());
    return ::symlink(target, link.constData()) == 0 &&
           ::lchown(link.constData(), unprivilegedUser, unprivilegedUser) == 0;
}

const ChangeWhileOpen changesWhileOpen[] = {
    {.name = "grown larger than a save writes",
     .change =
         [](const QString& directory) {
             return writeFile(directory + QStringLiteral("/JOLV.INI"),
                              "RPM=1\r\n*" + QByteArray(largestWritten, 'x'));
         }},
    {.name = "replaced by another program's file",
     .change =
         [](const QString& directory) {
             return writeFile(directory + QStringLiteral("/JOLV.INI"), "[General]\ncolour=red\n");
         }},
    {.name = "made write-only for its user",
     .change =
         [](const QString& directory) {
             return ::chmod(QFile::encodeName(directory + QStringLiteral("/JOLV.INI")).constData(),
                            0200) == 0;
         },
     .byNobody = true},
    // Root's file, as /etc/shadow would be.
    {.name = "its link pointed at a file not the link owner's",
     .change =
         [](const QString& directory) {
             return writeFile(directory + QStringLiteral("/system.ini"), "secret\n") &&
                    linkTo(directory, "system.ini");
         },
     .linked = true},
};
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
        QTest::addColumn<Settings>("readBack");
        QTest::newRow("defaults: the sample") << defaults() << sampleFile << defaults();
        const Settings changedValues = changed(defaults(), [](Settings& s) {
            s.top = 123456.7f, s.left = -7.25;
            s.boxes = {{B::Inch, 1}, {B::MetresPerSecond, 1}};
            s.texts[F::Rpm] = " 12\n34 ", s.texts[F::GearRatio] = "4=1";
            s.texts[F::CellVoltage] = "1.1", s.texts[F::DriveSpeed] = "*";
            s.texts[F::Slip] = "1\r2\n3\u20284\u20295";
            s.texts[F::CableLength] = "a\r\nb", s.texts[F::HubLength] = "  ";
        });
        // A pasted line break must not split the key's line in two.
        QTest::newRow("positions to seven digits with a comma, boxes as 1, texts as they are "
                      "but for line breaks; read back without spaces around")
            << changedValues
            << sampleWith({"WINDOWTOP=123456,7", "WINDOWLEFT=-7,25", "INC=1", "SMS=1",
                           "RPM= 12 34 ", "TTR0=4=1", "TVC=1.1", "SPE=*", "SLP=1 2 3 4 5",
                           "TTC0=a  b", "TML=  "})
            << changed(changedValues, [](Settings& s) {
                   s.texts[F::Rpm] = "12 34", s.texts[F::Slip] = "1 2 3 4 5";
                   s.texts[F::CableLength] = "a  b", s.texts[F::HubLength] = "";
               });
        // The Flug panel's keys follow the 22 only while a field differs from
        // its default: untouched, the file is the one every reader knows.
        const Settings flightAtDefaults = changed(defaults(), [](Settings& s) {
            s.texts[F::Capacity] = "3000", s.texts[F::UsablePercent] = "80";
            s.texts[F::LoadFactor] = "85", s.texts[F::TargetSpeed] = "800";
        });
        QTest::newRow("the Flug fields at their defaults add nothing")
            << flightAtDefaults << sampleFile << defaults();
        const Settings capacityChanged =
            changed(flightAtDefaults, [](Settings& s) { s.texts[F::Capacity] = "5000"; });
        QTest::newRow("a changed capacity adds its line after the 22")
            << capacityChanged << sampleFile + "TCAP=5000\r\n"
            << changed(defaults(), [](Settings& s) { s.texts[F::Capacity] = "5000"; });
        const Settings flightChanged = changed(flightAtDefaults, [](Settings& s) {
            s.texts[F::Capacity] = "4000", s.texts[F::UsablePercent] = "75";
            s.texts[F::LoadFactor] = "90", s.texts[F::TargetSpeed] = "";
        });
        QTest::newRow("every Flug field changed, in key order")
            << flightChanged << sampleFile + "TCAP=4000\r\nTUSE=75\r\nTLOAD=90\r\nTHS=\r\n"
            << flightChanged;
        QTest::newRow("nothing set: zero, empty and cleared")
            << Settings{}
            << QByteArray("WINDOWTOP=0\r\nWINDOWLEFT=0\r\nRPM=\r\nASC=\r\nSLP=\r\nSPE=\r\n"
                          "INC=0\r\nSMS=0\r\nTUV=\r\nTCC=\r\nTVC=\r\nTTR0=\r\nTTR1=\r\n"
                          "TTR2=\r\nTTC0=\r\nTBL=\r\nTML=\r\nTBW=\r\nTBS=\r\nTRC=\r\nTCA=\r\n"
                          "TCQ=\r\n")
            << changed(defaults(), [](Settings& s) {
                   s.top = s.left = 0;
                   for (QString& text : s.texts)
                       text.clear();
               });
    }
    void serialize()
    {
        QFETCH(Settings, settings);
        QFETCH(QByteArray, file);
        QFETCH(Settings, readBack);
        QCOMPARE(settings_file::serialize(settings), file);
        QCOMPARE(settings_file::parse(file), readBack);
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
            {"key in any case, spaces around key and value", " Rpm = 5000 \r\n", {.texts = {{F::Rpm, "5000"}}}},
            {"spaces and tabs inside a value stay", "RPM=\t50 00 \r\n", {.texts = {{F::Rpm, "\t50 00"}}}},
            {"lone carriage returns end lines", "RPM=12\rTBL=700\r\r\n", {.texts = {{F::Rpm, "12"}, {F::BladeLength, "700"}}}},
            {"UTF-8 after its byte-order mark", "\xEF\xBB\xBFRPM=4242\r\nTTR1=Z\xC3\xA4hne\r\n",
             {.texts = {{F::Rpm, "4242"}, {F::PinionTeeth, "Zähne"}}}},
            {"UTF-16 LE after its byte-order mark", QByteArray("\xFF\xFER\0P\0M\0=\0" "4\0\r\0\n\0T\0B\0L\0=\0\xE4\0", 26),
             {.texts = {{F::Rpm, "4"}, {F::BladeLength, "ä"}}}},
            {"UTF-16 BE after its byte-order mark", QByteArray("\xFE\xFF\0R\0P\0M\0=\0" "4\0\r", 14),
             {.texts = {{F::Rpm, "4"}}}},
            {"tab before a key makes it unknown", "\tRPM=5000\r\n", {}},
            {"comment, option group, output label, control name", "*RPM=5000\r\nOPC=1\r\nLUM=5\r\nTUM=5\r\n", {}},
            {"a value keeps stars and further equals signs", "TTR0=*4=1\r\n", {.texts = {{F::GearRatio, "*4=1"}}}},
            {"no equals sign, no key before it", "RPM\r\n=5000\r\n", {}},
            {"later line wins", "RPM=1\r\nRPM=2\r\n", {.texts = {{F::Rpm, "2"}}}},
            {"NUL byte in a value", QByteArray("RPM=a\0b\r\n", 9), {.texts = {{F::Rpm, QString::fromUtf8("a\0b", 3)}}}},
            {"boxes before and after the texts convert nothing", "INC=1\r\nASC=6\r\nSPE=68\r\nSMS=1\r\n",
             {.texts = {{F::Pitch, "6"}, {F::DriveSpeed, "68"}}, .boxes = {{B::Inch, true}, {B::MetresPerSecond, true}}}},
            {"empty value empties the field", "SPE=\r\n", {.texts = {{F::DriveSpeed, ""}}}},
            {"empty lines, line feeds only, last line without line end", "\r\n\nRPM=5000\n\nTBL=700",
             {.texts = {{F::Rpm, "5000"}, {F::BladeLength, "700"}}}},
            {"window position", "WINDOWTOP=1440,5\r\nwindowleft = -30 \r\n", {.top = 1440.5, .left = -30}},
            {"a position that is no single skipped", "WINDOWTOP=15\r\nWINDOWTOP=abc\r\nWINDOWLEFT=1E39\r\n", {.top = 15}},
            {"box with spaces; a half rounds to even 0", "SMS = 1 \r\nINC=1\r\nINC=0,5\r\n",
             {.boxes = {{B::Inch, false}, {B::MetresPerSecond, true}}}},
            // 1,5 rounds to 2.
            {"box other than 0 or 1 skipped", "INC=2\r\nINC=-1\r\nINC=1,5\r\nSMS=abc\r\nSMS=\r\n", {}},
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
        // Whatever was read, all keys are written back in order.
        QCOMPARE(wholeFileProblem(settings_file::serialize(settings)), QString());
    }

    void saveThenLoad_data()
    {
        QTest::addColumn<QByteArray>("oldFile"); // empty: none there
        QTest::addColumn<Settings>("settings");
        QTest::newRow("first save") << QByteArray() << oddValues;
        QTest::newRow("longer hand-edited file replaced whole")
            << "* mine\r\nFOO=1\r\nrpm=5\r\n" + QByteArray(2 * 1024, '*') + "\r\nRPM=1\r\n"
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

    // A JOLV.INI that cannot be replaced at closing stays as it was; the
    // inputs are kept beside it and come back at the next start, unless the
    // file was written again later (by another copy of the program).
    void aHeldFileKeepsTheInputsForTheNextStart()
    {
        const QTemporaryDir directory;
        const QString path = directory.filePath(QStringLiteral("JOLV.INI"));
        const QString unsaved = directory.filePath(QStringLiteral(".JOLV.INI.unsaved"));
        QVERIFY(writeFile(path, "RPM=1\r\n"));
        {
            const HeldSettingsFile held(path);
            QVERIFY(!settings_file::save(path, oddValues));
        }
        QCOMPARE(fileBytes(path), QByteArray("RPM=1\r\n"));
        QCOMPARE(fileBytes(unsaved), settings_file::serialize(oddValues));
        QCOMPARE(settings_file::load(path), std::optional(oddValues));

        QVERIFY(settings_file::save(path, defaults()));
        QVERIFY(!QFile::exists(unsaved));
        QCOMPARE(settings_file::load(path), std::optional(defaults()));

        {
            const HeldSettingsFile held(path);
            QVERIFY(!settings_file::save(path, oddValues));
        }
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite) &&
                file.setFileTime(QDateTime::currentDateTime().addSecs(60),
                                 QFileDevice::FileModificationTime));
        file.close();
        QCOMPARE(settings_file::load(path), std::optional(defaults()));
    }

#ifdef Q_OS_UNIX
    void loadAndSave_data()
    {
        QTest::addColumn<int>("row");
        for (std::size_t i = 0; i < std::size(onDisk); ++i)
            QTest::newRow(onDisk[i].name) << int(i);
    }
    void loadAndSave()
    {
        QFETCH(int, row);
        const OnDisk& r = onDisk[row];
        if ((S_ISCHR(r.end) || (r.nobodysFile && !r.byNobody) || r.linksByNobody) &&
            ::geteuid() != 0)
            QSKIP("a device node or another user's file or link needs root");
        const QTemporaryDir root;
        const QString directory = root.filePath(QStringLiteral("settings"));
        const QString path = directory + QStringLiteral("/JOLV.INI");
        const QString end =
            r.links == 0 ? path : directory + QStringLiteral("/settings-kept-elsewhere");
        const QByteArray endName = QFile::encodeName(end);
        // Made writable again whatever happens, so that the directory can go.
        const auto restore = qScopeGuard([&] {
            QFile::setPermissions(directory,
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        });
        if (!r.noDirectory)
            QVERIFY(QDir().mkdir(directory));
        if (S_ISREG(r.end))
            QVERIFY(writeFile(end, r.contents ? QByteArray(r.contents)
                                              : "RPM=5000\r\n*" + QByteArray(r.size - 11, 'x')));
        else if (S_ISDIR(r.end))
            QVERIFY(QDir().mkdir(end) && writeFile(end + QStringLiteral("/old"), "RPM=1\r\n"));
        else if (r.end) // a FIFO, or a device with the numbers of /dev/null
            QVERIFY(::mknod(endName.constData(), r.end | 0600, makedev(1, 3)) == 0);
        if (r.mode)
            QVERIFY(::chmod(endName.constData(), r.mode) == 0);
        QString from = path;
        for (int number = 1; number <= r.links; ++number) {
            const QByteArray to = number < r.links ? "link" + QByteArray::number(number)
                                  : r.linkedTo     ? QByteArray(r.linkedTo)
                                                   : endName;
            QVERIFY(::symlink(to.constData(), QFile::encodeName(from).constData()) == 0);
            if (r.linksByNobody)
                QVERIFY(::lchown(QFile::encodeName(from).constData(), unprivilegedUser,
                                 unprivilegedUser) == 0);
            from = directory + u'/' + QFile::decodeName(to);
        }
        if (r.nobodysFile)
            QVERIFY(handToUnprivilegedUser(end));
        if (r.byNobody)
            QVERIFY(handToUnprivilegedUser(root.path()) && handToUnprivilegedUser(directory));
        if (r.directoryMode)
            QVERIFY(::chmod(QFile::encodeName(directory).constData(), r.directoryMode) == 0);
        const QMap<QString, QByteArray> before = tree(root.path());

        const auto quiet = qScopeGuard([] { QLoggingCategory::setFilterRules({}); });
        if (r.logged) {
            QLoggingCategory::setFilterRules(QStringLiteral("jolv.settings.info=true"));
            QTest::ignoreMessage(QtInfoMsg, QRegularExpression(r.logged));
        }
        if (r.byNobody)
            QVERIFY(asUnprivilegedUser([&] { return settings_file::load(path) == r.loaded; }));
        else
            QCOMPARE(settings_file::load(path), r.loaded);
        QLoggingCategory::setFilterRules({});

        QMap<QString, QByteArray> after = before;
        if (r.saved) {
            modeChangeFails = r.modeChangeFails;
            const auto save = [&] { return settings_file::save(path, defaults()) == *r.saved; };
            const bool asExpected = r.byNobody ? asUnprivilegedUser(save) : save();
            modeChangeFails = false;
            QVERIFY(asExpected);
        }
        if (r.saved == true) {
            // The old file's type, mode and owner, or 0644 and the directory's owner.
            struct stat folder {};
            QVERIFY(::stat(QFile::encodeName(directory).constData(), &folder) == 0);
            const QString saved = QDir(root.path()).relativeFilePath(end);
            const QByteArray old =
                before.value(saved, statusLine(S_IFREG | 0644, folder.st_uid, folder.st_gid));
            after[saved] = old.first(old.indexOf('\n') + 1) + settings_file::serialize(defaults());
        }
        QCOMPARE(tree(root.path()), after);
    }

    void changesWhileOpenAreCheckedAtClosing_data()
    {
        QTest::addColumn<int>("row");
        for (std::size_t i = 0; i < std::size(changesWhileOpen); ++i)
            QTest::newRow(changesWhileOpen[i].name) << int(i);
    }
    void changesWhileOpenAreCheckedAtClosing()
    {
        QFETCH(int, row);
        const ChangeWhileOpen& r = changesWhileOpen[row];
        if (r.linked && ::geteuid() != 0)
            QSKIP("another user's link needs root");
        const QTemporaryDir root;
        const QString directory = root.path();
        const QString path = root.filePath(QStringLiteral("JOLV.INI"));
        const QString mine = root.filePath(QStringLiteral("mine.ini"));
        QVERIFY(writeFile(r.linked ? mine : path, "RPM=5000\r\n"));
        if (r.linked)
            QVERIFY(handToUnprivilegedUser(mine) && linkTo(directory, "mine.ini"));
        if (r.byNobody)
            QVERIFY(handToUnprivilegedUser(directory) && handToUnprivilegedUser(path));
        const auto loadChangeAndSave = [&] {
            if (settings_file::load(path) != keyLineRead || !r.change(directory))
                return false;
            const QMap<QString, QByteArray> changed = tree(directory);
            return !settings_file::save(path, defaults()) && tree(directory) == changed;
        };
        QVERIFY(r.byNobody ? asUnprivilegedUser(loadChangeAndSave) : loadChangeAndSave());
    }

    // $XDG_CONFIG_HOME where it is absolute, else .config in the home
    // folder; "@" stands for a home of the test's own.
    void settingsDirectoryFollowsTheEnvironment_data()
    {
        addTextRows({"configHome", "home", "expected"},
                    {{"HOME alone", "", "@", "@/.config"},
                     {"XDG_CONFIG_HOME", "@/settings", "@", "@/settings"},
                     { "a relative XDG_CONFIG_HOME is ignored",
                       "settings",
                       "@",
                       "@/.config" }});
    }
    void settingsDirectoryFollowsTheEnvironment()
    {
        QFETCH(QString, configHome);
        QFETCH(QString, home);
        QFETCH(QString, expected);
        const QTemporaryDir temporaryHome;
        const QByteArray realHome = qgetenv("HOME");
        const QByteArray realConfigHome = qgetenv("XDG_CONFIG_HOME");
        const auto restore = qScopeGuard([&] {
            qputenv("HOME", realHome);
            qputenv("XDG_CONFIG_HOME", realConfigHome);
        });
        const auto placed = [&](const QString& text) {
            return QFile::encodeName(QString(text).replace(u'@', temporaryHome.path()));
        };
        qputenv("HOME", placed(home));
        qputenv("XDG_CONFIG_HOME", placed(configHome));
        const QString directory = QString::fromUtf8(placed(expected));
        QCOMPARE(settings_file::settingsDirectory(), directory);
        QVERIFY(QFileInfo(directory).isDir());
        QCOMPARE(settings_file::iniPath(), directory + QStringLiteral("/JOLV.INI"));
    }

    // Without HOME (su, a service) the account's home, never the root of
    // the file system.
    void settingsDirectoryWithoutHome()
    {
        const QByteArray realHome = qgetenv("HOME");
        const QByteArray realConfigHome = qgetenv("XDG_CONFIG_HOME");
        const auto restore = qScopeGuard([&] {
            qputenv("HOME", realHome);
            qputenv("XDG_CONFIG_HOME", realConfigHome);
        });
        qunsetenv("HOME");
        qunsetenv("XDG_CONFIG_HOME");
        const QString directory = settings_file::settingsDirectory();
        QVERIFY2(directory.isEmpty() || (directory.endsWith(QStringLiteral("/.config")) &&
                                         directory != QStringLiteral("/.config") &&
                                         !directory.startsWith(QStringLiteral("//"))),
                 qPrintable(directory));
        QCOMPARE(settings_file::iniPath(QString()), QString());
        QCOMPARE(settings_file::load(QString()), notRead);
        QVERIFY(!settings_file::save(QString(), defaults()));
    }
#endif
};

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "test_settings_file.moc"
