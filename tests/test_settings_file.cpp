#include "app/settings_file.h"
#include "support_files.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using settings_file::Settings;

namespace settings_file {

// Lets QCOMPARE show both sides of a mismatch.
char* toString(const Settings& settings)
{
    QStringList parts;
    if (settings.top)
        parts << QStringLiteral("top %1").arg(*settings.top);
    if (settings.left)
        parts << QStringLiteral("left %1").arg(*settings.left);
    for (auto text = settings.fieldTexts.begin(); text != settings.fieldTexts.end(); ++text)
        parts << QStringLiteral("%1 \"%2\"").arg(text.key(), text.value());
    for (auto box = settings.checkBoxes.begin(); box != settings.checkBoxes.end(); ++box)
        parts << box.key() + (box.value() ? QStringLiteral(" ticked") : QStringLiteral(" cleared"));
    return qstrdup(('{' + parts.join(QStringLiteral(", ")) + '}').toUtf8().constData());
}

} // namespace settings_file

namespace {

// The key names in the order the file holds them.
constexpr const char* writtenKeys[] = {
    "WINDOWTOP", "WINDOWLEFT", "RPM",  "ASC",  "SLP", "SPE", "INC", "SMS", "TUV", "TCC", "TVC",
    "TTR0",      "TTR1",       "TTR2", "TTC0", "TBL", "TML", "TBW", "TBS", "TRC", "TCA", "TCQ",
};

struct TextField {
    const char* key;
    const char* control;
};

constexpr TextField textFields[] = {
    {"RPM", "TUM"},   {"ASC", "TAsc"}, {"SLP", "TSlip"}, {"SPE", "TSpeed"}, {"TUV", "TUV"},
    {"TCC", "TCC"},   {"TVC", "TVC"},  {"TTR0", "TTR0"}, {"TTR1", "TTR1"},  {"TTR2", "TTR2"},
    {"TTC0", "TTC0"}, {"TBL", "TBL"},  {"TML", "TML"},   {"TBW", "TBW"},    {"TBS", "TBS"},
    {"TRC", "TRC"},   {"TCA", "TCA"},  {"TCQ", "TCQ"},
};

// Every input at the window's defaults, the frame 1440 twips down and 2880 right.
const Settings defaults{
    .top = 1440,
    .left = 2880,
    .fieldTexts = {{"TUM", "10000"},
                   {"TAsc", "15"},
                   {"TSlip", "25"},
                   {"TSpeed", ""},
                   {"TUV", "800"},
                   {"TCC", "20"},
                   {"TVC", "1,1"},
                   {"TTR0", ""},
                   {"TTR1", "10"},
                   {"TTR2", "200"},
                   {"TTC0", ""},
                   {"TBL", "600"},
                   {"TML", "150"},
                   {"TBW", "150"},
                   {"TBS", "1500"},
                   {"TRC", "4,5"},
                   {"TCA", "20"},
                   {"TCQ", "2,5"}},
    .checkBoxes = {{"CInch", false}, {"CSpeed", false}},
};

const QByteArray defaultsFile = "WINDOWTOP=1440\r\n"
                                "WINDOWLEFT=2880\r\n"
                                "RPM=10000\r\n"
                                "ASC=15\r\n"
                                "SLP=25\r\n"
                                "SPE=\r\n"
                                "INC=0\r\n"
                                "SMS=0\r\n"
                                "TUV=800\r\n"
                                "TCC=20\r\n"
                                "TVC=1,1\r\n"
                                "TTR0=\r\n"
                                "TTR1=10\r\n"
                                "TTR2=200\r\n"
                                "TTC0=\r\n"
                                "TBL=600\r\n"
                                "TML=150\r\n"
                                "TBW=150\r\n"
                                "TBS=1500\r\n"
                                "TRC=4,5\r\n"
                                "TCA=20\r\n"
                                "TCQ=2,5\r\n";

// Every value set, each field to a different text that a reader could trip over.
const Settings oddValues{
    .top = -7.5,
    .left = 1440.25,
    .fieldTexts = {{"TUM", "abc"},
                   {"TAsc", "4=1"},
                   {"TSlip", "*5"},
                   {"TSpeed", ""},
                   {"TUV", "1.000,5"},
                   {"TCC", "a\tb"},
                   {"TVC", "1,1"},
                   {"TTR0", "="},
                   {"TTR1", "-0"},
                   {"TTR2", "1E3"},
                   {"TTC0", "Zähne"},
                   {"TBL", "mm²"},
                   {"TML", "1 2"},
                   {"TBW", "RPM=5"},
                   {"TBS", "**"},
                   {"TRC", "\t"},
                   {"TCA", "x\ry"},
                   {"TCQ", "2,5"}},
    .checkBoxes = {{"CInch", true}, {"CSpeed", false}},
};

// What reading back a file gives that was written from no values at all.
Settings blankValues()
{
    Settings blank{.top = 0, .left = 0, .checkBoxes = {{"CInch", false}, {"CSpeed", false}}};
    for (const TextField& field : textFields)
        blank.fieldTexts[field.control] = QString();
    return blank;
}

Settings withTexts(Settings settings, const QMap<QString, QString>& texts)
{
    for (auto text = texts.begin(); text != texts.end(); ++text)
        settings.fieldTexts[text.key()] = text.value();
    return settings;
}

// The defaults' file with the lines of some keys replaced ("KEY=value" each).
QByteArray defaultsFileWith(const QList<QByteArray>& changedLines)
{
    QList<QByteArray> lines = defaultsFile.split('\n');
    for (const QByteArray& changed : changedLines) {
        const QByteArray keyAndEquals = changed.first(changed.indexOf('=') + 1);
        for (QByteArray& line : lines)
            if (line.startsWith(keyAndEquals))
                line = changed + '\r';
    }
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

// Permission bits bind neither root nor every file system; a probe tells.
bool creatingIsRefusedIn(const QString& directory)
{
    QFile probe(QDir(directory).filePath(QStringLiteral("probe")));
    if (!probe.open(QIODevice::WriteOnly))
        return true;
    probe.remove();
    return false;
}

constexpr QFile::Permissions readOnlyDirectory = QFile::ReadOwner | QFile::ExeOwner;
constexpr QFile::Permissions writableDirectory = readOnlyDirectory | QFile::WriteOwner;

} // namespace

class TestSettingsFile : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void serialize_data();
    void serialize();
    void parse_data();
    void parse();
    void roundTrip_data();
    void roundTrip();
    void alwaysWritesTheKeysInOrder_data();
    void alwaysWritesTheKeysInOrder();
    void saveThenLoad_data();
    void saveThenLoad();
    void load_data();
    void load();
    void saveFails_data();
    void saveFails();
    void saveRemovesStaleSavingFiles();
    void saveKeepsWhatTheUserSetUp_data();
    void saveKeepsWhatTheUserSetUp();
    void settingsDirectoryIsCreated();
};

void TestSettingsFile::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
}

void TestSettingsFile::serialize_data()
{
    struct Row {
        const char* name;
        Settings settings;
        QByteArray file;
    };
    const Row rows[] = {
        {"defaults", defaults, defaultsFile},
        {"fractional and negative position written with a comma",
         [] {
             Settings moved = defaults;
             moved.top = 1440.5;
             moved.left = -7.25;
             return moved;
         }(),
         defaultsFileWith({"WINDOWTOP=1440,5", "WINDOWLEFT=-7,25"})},
        {"position to seven significant digits",
         [] {
             Settings moved = defaults;
             moved.top = 123456.7f;
             return moved;
         }(),
         defaultsFileWith({"WINDOWTOP=123456,7"})},
        {"both boxes ticked",
         [] {
             Settings ticked = defaults;
             ticked.checkBoxes = {{"CInch", true}, {"CSpeed", true}};
             return ticked;
         }(),
         defaultsFileWith({"INC=1", "SMS=1"})},
        {"texts written as they are",
         withTexts(defaults, {{"TUM", " 100 "}, {"TTR0", "4=1"}, {"TVC", "1.1"}, {"TSpeed", "*"}}),
         defaultsFileWith({"RPM= 100 ", "TTR0=4=1", "TVC=1.1", "SPE=*"})},
        {"nothing set, other controls not written",
         {.fieldTexts = {{"LUM", "7"}, {"OPC", "1"}}, .checkBoxes = {{"OPC", true}}},
         "WINDOWTOP=0\r\nWINDOWLEFT=0\r\nRPM=\r\nASC=\r\nSLP=\r\nSPE=\r\nINC=0\r\nSMS=0\r\n"
         "TUV=\r\nTCC=\r\nTVC=\r\nTTR0=\r\nTTR1=\r\nTTR2=\r\nTTC0=\r\nTBL=\r\nTML=\r\n"
         "TBW=\r\nTBS=\r\nTRC=\r\nTCA=\r\nTCQ=\r\n"},
    };
    QTest::addColumn<Settings>("settings");
    QTest::addColumn<QByteArray>("file");
    for (const Row& row : rows)
        QTest::newRow(row.name) << row.settings << row.file;
}

void TestSettingsFile::serialize()
{
    QFETCH(Settings, settings);
    QFETCH(QByteArray, file);
    QCOMPARE(settings_file::serialize(settings), file);
}

void TestSettingsFile::parse_data()
{
    struct Row {
        const char* name;
        QByteArray file;
        Settings settings;
    };
    const Row rows[] = {
        {"empty file", "", {}},
        {"defaults", defaultsFile, defaults},
        {"lower-case key", "rpm=5000\r\n", {.fieldTexts = {{"TUM", "5000"}}}},
        {"spaces around key and value", " Rpm = 5000 \r\n", {.fieldTexts = {{"TUM", "5000"}}}},
        {"spaces inside a value stay", "RPM=50 00\r\n", {.fieldTexts = {{"TUM", "50 00"}}}},
        {"tab in a value stays", "RPM=\t5000 \r\n", {.fieldTexts = {{"TUM", "\t5000"}}}},
        {"tab before a key makes it unknown", "\tRPM=5000\r\n", {}},
        {"comment", "*RPM=5000\r\n", {}},
        {"space before the star: unknown key", " *RPM=5000\r\n", {}},
        {"star in a value", "RPM=*5\r\n", {.fieldTexts = {{"TUM", "*5"}}}},
        {"value keeps further equals signs", "TTR0=4=1\r\n", {.fieldTexts = {{"TTR0", "4=1"}}}},
        {"line without equals sign", "RPM\r\n", {}},
        {"empty key", "=5000\r\n", {}},
        {"option group not stored", "OPC=1\r\n", {}},
        {"output label not stored", "LUM=5\r\n", {}},
        {"control name is no key", "TUM=5\r\n", {}},
        {"later line wins", "RPM=1\r\nRPM=2\r\n", {.fieldTexts = {{"TUM", "2"}}}},
        {"box before pitch: no conversion",
         "INC=1\r\nASC=6\r\n",
         {.fieldTexts = {{"TAsc", "6"}}, .checkBoxes = {{"CInch", true}}}},
        {"pitch before box: no conversion",
         "ASC=6\r\nINC=1\r\n",
         {.fieldTexts = {{"TAsc", "6"}}, .checkBoxes = {{"CInch", true}}}},
        {"only one key", "TBL=700\r\n", {.fieldTexts = {{"TBL", "700"}}}},
        {"empty value empties the field", "SPE=\r\n", {.fieldTexts = {{"TSpeed", ""}}}},
        {"line feeds only",
         "RPM=5000\nTBL=700\n",
         {.fieldTexts = {{"TUM", "5000"}, {"TBL", "700"}}}},
        {"last line without line end",
         "RPM=5000\r\nTBL=700",
         {.fieldTexts = {{"TUM", "5000"}, {"TBL", "700"}}}},
        {"empty lines", "\r\n\r\nRPM=5\r\n\r\n", {.fieldTexts = {{"TUM", "5"}}}},
        {"window position",
         "WINDOWTOP=1440,5\r\nwindowleft = -30 \r\n",
         {.top = 1440.5, .left = -30}},
        {"position with grouping", "WINDOWTOP=1.440\r\n", {.top = 1440}},
        {"position no number", "WINDOWTOP=abc\r\n", {}},
        {"position empty", "WINDOWLEFT=\r\n", {}},
        {"position beyond single precision", "WINDOWLEFT=1E39\r\n", {}},
        {"skipped position keeps the earlier one",
         "WINDOWTOP=15\r\nWINDOWTOP=abc\r\n",
         {.top = 15}},
        {"box ticked", "SMS = 1 \r\n", {.checkBoxes = {{"CSpeed", true}}}},
        {"box cleared", "INC=0\r\n", {.checkBoxes = {{"CInch", false}}}},
        {"later box line clears", "INC=1\r\nINC=0\r\n", {.checkBoxes = {{"CInch", false}}}},
        {"box 2 skipped", "INC=2\r\n", {}},
        {"box -1 skipped", "INC=-1\r\n", {}},
        {"box no number skipped", "INC=abc\r\n", {}},
        {"box empty skipped", "SMS=\r\n", {}},
        {"box half rounds to even 0", "INC=1\r\nINC=0,5\r\n", {.checkBoxes = {{"CInch", false}}}},
        {"box one and a half rounds to 2, skipped", "INC=1,5\r\n", {}},
    };
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<Settings>("settings");
    for (const Row& row : rows)
        QTest::newRow(row.name) << row.file << row.settings;
    for (const TextField& field : textFields)
        QTest::addRow("key %s", field.key)
            << (QByteArray(field.key) + "=7\r\n")
            << Settings{.fieldTexts = {{field.control, QStringLiteral("7")}}};
}

void TestSettingsFile::parse()
{
    QFETCH(QByteArray, file);
    QFETCH(Settings, settings);
    QCOMPARE(settings_file::parse(file), settings);
}

void TestSettingsFile::roundTrip_data()
{
    struct Row {
        const char* name;
        Settings written;
        Settings readBack;
    };
    const Row rows[] = {
        {"defaults", defaults, defaults},
        {"odd values", oddValues, oddValues},
        {"spaces around texts are lost", withTexts(defaults, {{"TUM", " 100 "}, {"TVC", "  "}}),
         withTexts(defaults, {{"TUM", "100"}, {"TVC", ""}})},
        {"nothing set reads back as zero, empty and cleared", {}, blankValues()},
        // A pasted line break must not split the key's line in two.
        {"line breaks in a text become spaces",
         withTexts(defaults, {{"TUM", "12\n34"}, {"TTC0", "a\r\nb"}}),
         withTexts(defaults, {{"TUM", "12 34"}, {"TTC0", "a\r b"}})},
    };
    QTest::addColumn<Settings>("written");
    QTest::addColumn<Settings>("readBack");
    for (const Row& row : rows)
        QTest::newRow(row.name) << row.written << row.readBack;
}

void TestSettingsFile::roundTrip()
{
    QFETCH(Settings, written);
    QFETCH(Settings, readBack);
    QCOMPARE(settings_file::parse(settings_file::serialize(written)), readBack);
}

void TestSettingsFile::alwaysWritesTheKeysInOrder_data()
{
    struct Row {
        const char* name;
        QByteArray file;
    };
    const Row rows[] = {
        {"empty file", ""},
        {"hand-edited file",
         "* my rotor\r\nFOO=1\r\nrpm=5\r\n\r\nOPC=2\r\nTCQ=1\r\nWINDOWTOP=-1\r\n"},
        {"carriage return inside a value", "RPM=1\r2\r\nASC=3\r\r\n"},
        {"no line end at all", "not a settings file"},
        {"NUL byte in a value", QByteArray("RPM=a\0b\r\n", 9)},
    };
    QTest::addColumn<QByteArray>("file");
    for (const Row& row : rows)
        QTest::newRow(row.name) << row.file;
}

void TestSettingsFile::alwaysWritesTheKeysInOrder()
{
    QFETCH(QByteArray, file);
    const QList<QByteArray> lines =
        settings_file::serialize(settings_file::parse(file)).split('\n');
    QCOMPARE(lines.size(), qsizetype(std::size(writtenKeys)) + 1);
    QVERIFY(lines.last().isEmpty());
    for (std::size_t index = 0; index < std::size(writtenKeys); ++index) {
        QVERIFY2(lines[index].startsWith(QByteArray(writtenKeys[index]) + '='), lines[index]);
        QVERIFY2(lines[index].endsWith('\r'), lines[index]);
    }
}

void TestSettingsFile::saveThenLoad_data()
{
    struct Row {
        const char* name;
        QByteArray oldFile; // empty: none there
        Settings settings;
    };
    const Row rows[] = {
        {"first save", {}, defaults},
        {"odd values", {}, oddValues},
        {"hand-edited file replaced", "* mine\r\nFOO=1\r\nrpm=5\r\n", oddValues},
        {"longer old file cut off", QByteArray(64 * 1024, '*') + "\r\nRPM=1\r\n", defaults},
    };
    QTest::addColumn<QByteArray>("oldFile");
    QTest::addColumn<Settings>("settings");
    for (const Row& row : rows)
        QTest::newRow(row.name) << row.oldFile << row.settings;
}

void TestSettingsFile::saveThenLoad()
{
    QFETCH(QByteArray, oldFile);
    QFETCH(Settings, settings);
    const QTemporaryDir directory;
    QVERIFY(directory.isValid());
    const QString path = directory.filePath(QStringLiteral("JOLV.INI"));
    if (!oldFile.isEmpty())
        QVERIFY(writeFile(path, oldFile));

    QVERIFY(settings_file::save(path, settings));
    QCOMPARE(fileBytes(path), settings_file::serialize(settings));
    QCOMPARE(settings_file::load(path), settings);
    QCOMPARE(
        QDir(directory.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
        QStringList{QStringLiteral("JOLV.INI")});
}

namespace {

enum class OnDisk { Nothing, Directory, Fifo, File, UnreadableFile };

} // namespace

void TestSettingsFile::load_data()
{
    constexpr qint64 mebibyte = 1024 * 1024;
    struct Row {
        const char* name;
        OnDisk onDisk;
        qint64 fileSize; // bytes, for files: a key line, then a comment filling up
        bool read;
    };
    const Row rows[] = {
        {"no file", OnDisk::Nothing, 0, false},
        {"directory", OnDisk::Directory, 0, false},
        {"named pipe, which would block a read", OnDisk::Fifo, 0, false},
        {"unreadable file", OnDisk::UnreadableFile, 16, false},
        {"small file", OnDisk::File, 16, true},
        {"exactly 1 MiB", OnDisk::File, mebibyte, true},
        {"1 MiB and one byte", OnDisk::File, mebibyte + 1, false},
    };
    QTest::addColumn<OnDisk>("onDisk");
    QTest::addColumn<qint64>("fileSize");
    QTest::addColumn<bool>("read");
    for (const Row& row : rows)
        QTest::newRow(row.name) << row.onDisk << row.fileSize << row.read;
}

void TestSettingsFile::load()
{
    QFETCH(OnDisk, onDisk);
    QFETCH(qint64, fileSize);
    QFETCH(bool, read);
    const QTemporaryDir directory;
    QVERIFY(directory.isValid());
    const QString path = directory.filePath(QStringLiteral("JOLV.INI"));
    switch (onDisk) {
    case OnDisk::Nothing:
        break;
    case OnDisk::Directory:
        QVERIFY(QDir(directory.path()).mkdir(QStringLiteral("JOLV.INI")));
        break;
    case OnDisk::Fifo:
#ifdef Q_OS_UNIX
        QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
        break;
#else
        QSKIP("no named pipes in the file system here");
#endif
    case OnDisk::File:
    case OnDisk::UnreadableFile: {
        QByteArray bytes = "RPM=5000\r\n*";
        bytes += QByteArray(fileSize - bytes.size(), 'x');
        QVERIFY(writeFile(path, bytes));
        break;
    }
    }
    if (onDisk == OnDisk::UnreadableFile) {
        QVERIFY(QFile::setPermissions(path, QFile::WriteOwner));
        if (QFile file(path); file.open(QIODevice::ReadOnly))
            QSKIP("permissions do not keep this user from reading");
    }

    const Settings expected = read ? Settings{.fieldTexts = {{"TUM", "5000"}}} : Settings{};
    QCOMPARE(settings_file::load(path), expected);
}

namespace {

enum class Obstacle { ReadOnlyDirectory, DirectoryNamedLikeTheFile, MissingDirectory };

} // namespace

void TestSettingsFile::saveFails_data()
{
    struct Row {
        const char* name;
        Obstacle obstacle;
    };
    const Row rows[] = {
        {"read-only directory", Obstacle::ReadOnlyDirectory},
        {"JOLV.INI is a directory", Obstacle::DirectoryNamedLikeTheFile},
        {"directory missing", Obstacle::MissingDirectory},
    };
    QTest::addColumn<Obstacle>("obstacle");
    for (const Row& row : rows)
        QTest::newRow(row.name) << row.obstacle;
}

void TestSettingsFile::saveFails()
{
    QFETCH(Obstacle, obstacle);
    const QTemporaryDir directory;
    QVERIFY(directory.isValid());
    const QString settingsDirectory = directory.filePath(QStringLiteral("settings"));
    const QString path = QDir(settingsDirectory).filePath(QStringLiteral("JOLV.INI"));
    const QByteArray oldFile = "* old\r\nRPM=1\r\n";
    // Made writable again whatever happens, so that the directory can go.
    const auto restore = qScopeGuard([&] {
        if (obstacle == Obstacle::ReadOnlyDirectory)
            QFile::setPermissions(settingsDirectory, writableDirectory);
    });
    switch (obstacle) {
    case Obstacle::ReadOnlyDirectory:
        QVERIFY(QDir().mkdir(settingsDirectory));
        QVERIFY(writeFile(path, oldFile));
        QVERIFY(QFile::setPermissions(settingsDirectory, readOnlyDirectory));
        break;
    case Obstacle::DirectoryNamedLikeTheFile:
        QVERIFY(QDir().mkpath(path));
        QVERIFY(writeFile(QDir(path).filePath(QStringLiteral("old")), oldFile));
        break;
    case Obstacle::MissingDirectory:
        break;
    }
    if (obstacle == Obstacle::ReadOnlyDirectory && !creatingIsRefusedIn(settingsDirectory))
        QSKIP("permissions do not keep this user from writing");

    const QMap<QString, QByteArray> before = tree(directory.path());
    QVERIFY(!settings_file::save(path, defaults));
    QCOMPARE(tree(directory.path()), before);
}

// Left by saves that were killed: gone once older than any save takes. A
// fresh one may belong to a save in progress, and names that are not a
// save's (a user's backup copy) are never touched.
void TestSettingsFile::saveRemovesStaleSavingFiles()
{
    const QTemporaryDir directory;
    QVERIFY(directory.isValid());
    const QString path = directory.filePath(QStringLiteral("JOLV.INI"));
    const QDateTime minuteAgo = QDateTime::currentDateTime().addSecs(-60);
    const char* const names[] = {".JOLV.INI.saving-aB3xYz", ".JOLV.INI.saving-fresh1",
                                 ".jolv.ini.saving-aB3xYz", "JOLV.INI.backup", "JOLV.INI.aB3xYz"};
    for (const char* name : names) {
        QFile file(directory.filePath(QString::fromLatin1(name)));
        QVERIFY(file.open(QIODevice::WriteOnly));
        if (QByteArray(name) != ".JOLV.INI.saving-fresh1")
            QVERIFY(file.setFileTime(minuteAgo, QFileDevice::FileModificationTime));
    }
    QVERIFY(settings_file::save(path, defaults));
    const QStringList left =
        QDir(directory.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    QCOMPARE(left, (QStringList{".JOLV.INI.saving-fresh1", ".jolv.ini.saving-aB3xYz", "JOLV.INI",
                                "JOLV.INI.aB3xYz", "JOLV.INI.backup"}));
}

namespace {

enum class SetUp { NoFile, Permissions0640, LinkToAnotherFile, ReadOnlyFile };

} // namespace

void TestSettingsFile::saveKeepsWhatTheUserSetUp_data()
{
    QTest::addColumn<SetUp>("setUp");
    QTest::newRow("a new file is readable by all, written by the owner") << SetUp::NoFile;
    QTest::newRow("the old file's permissions stay") << SetUp::Permissions0640;
    QTest::newRow("a link is followed and stays a link") << SetUp::LinkToAnotherFile;
    QTest::newRow("a read-only file is not replaced") << SetUp::ReadOnlyFile;
}

void TestSettingsFile::saveKeepsWhatTheUserSetUp()
{
    QFETCH(SetUp, setUp);
    const QTemporaryDir directory;
    QVERIFY(directory.isValid());
    const QString path = directory.filePath(QStringLiteral("JOLV.INI"));
    const QString linked = directory.filePath(QStringLiteral("settings-kept-elsewhere.ini"));
    const QByteArray oldFile = "RPM=1\r\n";
    const auto ownerGroup = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser |
                            QFile::WriteUser | QFile::ReadGroup;
    const auto readOnly = QFile::ReadOwner | QFile::ReadUser | QFile::ReadGroup | QFile::ReadOther;
    switch (setUp) {
    case SetUp::NoFile:
        break;
    case SetUp::Permissions0640:
        QVERIFY(writeFile(path, oldFile));
        QVERIFY(QFile::setPermissions(path, ownerGroup));
        break;
    case SetUp::LinkToAnotherFile:
        QVERIFY(writeFile(linked, oldFile));
        QVERIFY(QFile::link(linked, path));
        break;
    case SetUp::ReadOnlyFile:
        QVERIFY(writeFile(path, oldFile));
        QVERIFY(QFile::setPermissions(path, readOnly));
        if (QFileInfo(path).isWritable())
            QSKIP("permissions do not keep this user from writing");
        break;
    }

    const bool saved = settings_file::save(path, defaults);
    QCOMPARE(saved, setUp != SetUp::ReadOnlyFile);
    const QFileInfo written(path);
    switch (setUp) {
    case SetUp::NoFile:
        QCOMPARE(written.permissions() & (QFile::ReadOther | QFile::WriteOther | QFile::WriteGroup),
                 QFile::ReadOther);
        break;
    case SetUp::Permissions0640:
        QCOMPARE(written.permissions() & ~(QFile::ExeOwner | QFile::ExeUser), ownerGroup);
        break;
    case SetUp::LinkToAnotherFile:
        QVERIFY(written.isSymLink());
        QCOMPARE(fileBytes(linked), settings_file::serialize(defaults));
        break;
    case SetUp::ReadOnlyFile:
        QCOMPARE(fileBytes(path), oldFile);
        break;
    }
    QCOMPARE(QDir(directory.path()).entryList(QDir::Hidden | QDir::Files).filter(".saving-"),
             QStringList());
}

void TestSettingsFile::settingsDirectoryIsCreated()
{
#ifdef Q_OS_WIN
    QSKIP("the Windows directory is the system's");
#else
    // The configuration directory below a home of our own, not the user's.
    const QTemporaryDir home;
    QVERIFY(home.isValid());
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
    QVERIFY(settings_file::save(path, defaults));
    QCOMPARE(settings_file::load(path), defaults);
#endif
}

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "test_settings_file.moc"
