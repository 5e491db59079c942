// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings_file.h"

#include "field_values.h"
#include "settings_platform.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLatin1StringView>
#include <QLoggingCategory>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryFile>
#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <string_view>

namespace settings_file {

namespace {

Q_LOGGING_CATEGORY(settingsLog, "jolv.settings", QtWarningMsg)

using P = WindowPosition;
using F = Field;
using B = UnitBox;

// clang-format off
constexpr auto keyTable = std::to_array<Stored>({
    P::Top, P::Left,
    F::Rpm, F::Pitch, F::Slip, F::DriveSpeed, B::Inch, B::MetresPerSecond,
    F::SpeedConstant, F::CellCount, F::CellVoltage, F::GearRatio, F::PinionTeeth, F::GearTeeth,
    F::CableLength, F::BladeLength, F::HubLength, F::BladeWeight, F::RotorSpeed,
    F::CellResistance, F::Current, F::CableSection,
    F::Capacity, F::UsablePercent, F::LoadFactor, F::TargetSpeed,
});
// clang-format on
static_assert(keyTable.size() == 2 + fieldCount + unitBoxCount, "every input has its key");

// The first 22 keys are written always; the Flug panel's after them only
// while their field differs from its default, so that the file of a user who
// never touches that panel stays the 22 lines every reader of the format
// knows.
constexpr std::size_t alwaysWrittenKeys = 22;

constexpr const char* nameOf(const Stored& stored)
{
    if (const auto* position = std::get_if<WindowPosition>(&stored))
        return *position == WindowPosition::Top ? "WINDOWTOP" : "WINDOWLEFT";
    if (const auto* box = std::get_if<UnitBox>(&stored))
        return unitBoxRow(*box).settingsKey;
    return fieldRow(std::get<Field>(stored)).settingsKey;
}

// The longest value a key's line holds, in UTF-16 code units: a field's whole
// text, a box's "0" or "1", a position's single-precision form at its widest
// (sign, seven digits, separator, "E", exponent sign and two digits).
constexpr qint64 longestValue(const Stored& key)
{
    if (std::holds_alternative<WindowPosition>(key))
        return 13;
    if (std::holds_alternative<UnitBox>(key))
        return 1;
    return maxFieldTextLength;
}

// The local 8-bit encoding (UTF-8 on Unix, the code page on Windows) takes at
// most three bytes for one UTF-16 code unit: U+0800 to U+FFFF, and a lone
// surrogate written as U+FFFD; a surrogate pair takes four for its two.
constexpr qint64 widestEncodedCodeUnit = 3;

// The largest file a save writes: every key with its longest value in the
// widest encoding (about 1.7 MiB; an everyday file has 250 bytes). The reader
// takes every file up to that size; a larger one is not this program's, is
// not worth reading into memory at start-up and is left as it is.
constexpr qint64 maxFileBytes = [] {
    const qint64 equalsAndLineEnd = 3;
    qint64 bytes = 0;
    for (const Stored& key : keyTable)
        bytes += qint64(std::string_view(nameOf(key)).size()) + equalsAndLineEnd +
                 longestValue(key) * widestEncodedCodeUnit;
    return bytes;
}();

// The keys' names in key order, looked up for every line read.
constexpr auto keyNames = [] {
    std::array<std::string_view, keyTable.size()> names;
    std::ranges::transform(keyTable, names.begin(), nameOf);
    return names;
}();

// Keys are plain ASCII: an ASCII name matches in any case, any other only
// once upper-cased by Unicode's rules (a dotless "ı" becomes "I").
const Stored* findKey(QStringView name)
{
    const bool ascii = std::ranges::all_of(name, [](QChar c) { return c.unicode() < 0x80; });
    const QString upperCased = ascii ? QString() : name.toString().toUpper();
    const QStringView compared = ascii ? name : QStringView(upperCased);
    for (std::size_t i = 0; i < keyNames.size(); ++i) {
        const QLatin1StringView keyText(keyNames[i].data(), qsizetype(keyNames[i].size()));
        if (compared.size() == keyText.size() &&
            compared.compare(keyText, ascii ? Qt::CaseInsensitive : Qt::CaseSensitive) == 0)
            return &keyTable[i];
    }
    return nullptr;
}

// A single-line field can still hold a pasted line break; stored as a space
// it keeps the file at one line per key, also for editors that break lines at
// the Unicode separators. A stray one in a file (CR CR LF) reads the same way.
QString withLineBreaksAsSpaces(QString text)
{
    for (const char16_t lineBreak : {u'\r', u'\n', u'\u2028', u'\u2029'})
        text.replace(QChar(lineBreak), u' ');
    return text;
}

// True when the line names one of the keys, whether or not its value is taken.
bool applyLine(QStringView line, Settings& settings)
{
    if (line.startsWith(u'*'))
        return false;
    const qsizetype equals = line.indexOf(u'=');
    if (equals < 0)
        return false;
    const Stored* key = findKey(fields::trimmed(line.first(equals)));
    if (!key)
        return false;
    const QString value =
        fields::trimmed(withLineBreaksAsSpaces(line.sliced(equals + 1).toString()));
    if (const auto* position = std::get_if<WindowPosition>(key)) {
        if (const auto coordinate = fields::toSingle(value))
            (*position == WindowPosition::Top ? settings.top : settings.left) = *coordinate;
    } else if (const auto* box = std::get_if<UnitBox>(key)) {
        if (const auto state = fields::toInteger(value); state && (*state == 0 || *state == 1))
            settings.boxes[*box] = *state == 1;
    } else {
        settings.texts[std::get<Field>(*key)] = value;
    }
    return true;
}

// Calls `apply` with each line of `text`, which end in CR LF, LF or CR alone
// (as editors on Windows, Unix and old Macs save them).
template <typename View, typename Apply> void forEachLine(View text, const Apply& apply)
{
    while (!text.isEmpty()) {
        qsizetype end = 0;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n')
            ++end;
        apply(text.first(end));
        const bool crLf = end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n';
        text = text.sliced(std::min(text.size(), end + (crLf ? 2 : 1)));
    }
}

// What `parse` found, and whether any line named a key: a file of which none
// did is not this program's.
struct Parsed {
    Settings settings;
    bool anyKey = false;
};

// A byte-order mark says the file is Unicode (an editor's "save as UTF-16" or
// "UTF-8 with BOM"); without one it is the system's 8-bit text, as written.
Parsed parsed(QByteArrayView bytes)
{
    Parsed result;
    const auto apply = [&result](QStringView line) {
        result.anyKey = applyLine(line, result.settings) || result.anyKey;
    };
    const std::pair<QByteArrayView, QStringConverter::Encoding> unicodeMarks[] = {
        {"\xEF\xBB\xBF", QStringConverter::Utf8},
        {"\xFF\xFE", QStringConverter::Utf16LE},
        {"\xFE\xFF", QStringConverter::Utf16BE},
    };
    for (const auto& [mark, encoding] : unicodeMarks)
        if (bytes.startsWith(mark)) {
            QStringDecoder decoder(encoding, QStringDecoder::Flag::Stateless);
            const QString text = decoder.decode(bytes.sliced(mark.size()));
            forEachLine(QStringView(text), apply);
            return result;
        }
    // Each line is decoded on its own (as QString::fromLocal8Bit does), so
    // that a broken sequence cannot reach into the next line; one buffer
    // serves them all.
    QStringDecoder fromLocal8Bit(QStringDecoder::System, QStringDecoder::Flag::Stateless);
    QString line;
    forEachLine(bytes, [&](QByteArrayView lineBytes) {
        line.resize(fromLocal8Bit.requiredSpace(lineBytes.size()));
        line.truncate(fromLocal8Bit.appendToBuffer(line.data(), lineBytes) - line.constData());
        apply(line);
    });
    return result;
}

QString valueText(const Stored& key, const Settings& current)
{
    if (const auto* position = std::get_if<WindowPosition>(&key))
        return fields::singleToText(
            (*position == WindowPosition::Top ? current.top : current.left).value_or(0));
    if (const auto* box = std::get_if<UnitBox>(&key))
        return current.boxes.value(*box) ? QStringLiteral("1") : QStringLiteral("0");
    return withLineBreaksAsSpaces(current.texts.value(std::get<Field>(key)));
}

// A field that the settings do not hold, or that holds its default's text.
bool atDefault(Field field, const Settings& current)
{
    const auto text = current.texts.constFind(field);
    if (text == current.texts.cend())
        return true;
    const std::optional<double> defaultValue = fieldRow(field).defaultValue;
    return *text == (defaultValue ? fields::numberToText(*defaultValue) : QString());
}

// Temporary files of a save are hidden and carry a name no user would give:
// ".JOLV.INI.saving-XXXXXX" beside the settings file.
QString savingPrefix(const QFileInfo& target)
{
    return u'.' + target.fileName() + QStringLiteral(".saving-");
}

// The file a save replaces, and what is there now.
struct Replaced {
    QString path;
    std::filesystem::file_type type; // not_found: a first save
};

// Where a chain of links ends, or why it is not followed there.
struct Chain {
    std::optional<Replaced> end; // none: not followed to an end
    QString refusal;             // a link that may not be followed; empty for a loop
};

// Follows `path` through a chain of links to the name it finally stands for
// (a link's relative target read from the link's own directory), so that the
// file at the end is read and replaced and every link stays. Each link must
// be one the system's own rule for shared folders would follow
// (settings_platform::linkRefusal), checked at start and again at closing,
// when it may point elsewhere.
Chain followLinks(const QString& path)
{
    constexpr int mostLinks = 40; // as many as the system follows in one path
    std::filesystem::path name = settings_platform::nativePath(path);
    for (int followed = 0; followed <= mostLinks; ++followed) {
        std::error_code error;
        const std::filesystem::file_type type = std::filesystem::symlink_status(name, error).type();
        if (type == std::filesystem::file_type::none)
            return {};
        if (type != std::filesystem::file_type::symlink)
            return {Replaced{settings_platform::qtPath(name), type}, {}};
        const std::filesystem::path target =
            name.parent_path() / std::filesystem::read_symlink(name, error);
        if (error)
            return {};
        if (const QString refusal = settings_platform::linkRefusal(name, target);
            !refusal.isEmpty())
            return {std::nullopt, settings_platform::qtPath(name) + QStringLiteral(": ") + refusal};
        name = target;
    }
    return {};
}

// The settings of a file that is there, or why it is not read: a file that
// is not this program's, or not as it can read it, is left as it is.
std::variant<Settings, QString> readExisting(const QString& path)
{
    const QFileInfo info(path);
    // Only a regular file: a FIFO or device of that name could block the start.
    if (!info.isFile())
        return QStringLiteral("not a regular file");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return file.errorString();
    // One byte more than allowed tells a file that is too large, also one
    // whose size the system does not report.
    const QByteArray bytes = file.read(maxFileBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return file.errorString();
    if (bytes.size() > maxFileBytes)
        return QStringLiteral("larger than %1 bytes").arg(maxFileBytes);
    Parsed read = parsed(bytes);
    if (!bytes.isEmpty() && !read.anyKey)
        return QStringLiteral("no line holds a key of JOLV's");
    return std::move(read.settings);
}

// Where a save that could not replace `target` keeps the inputs:
// ".JOLV.INI.unsaved" beside it.
QString unsavedPath(const QFileInfo& target)
{
    return target.dir().filePath(u'.' + target.fileName() + QStringLiteral(".unsaved"));
}

// Inputs a failed save kept beside `target`, where they are newer than it:
// a regular file of that name (no link), written after the file itself.
bool hasNewerUnsaved(const QFileInfo& target)
{
    const QString unsaved = unsavedPath(target);
    std::error_code error;
    if (std::filesystem::symlink_status(settings_platform::nativePath(unsaved), error).type() !=
        std::filesystem::file_type::regular)
        return false;
    return !target.exists() || QFileInfo(unsaved).lastModified() >= target.lastModified();
}

// Writes `bytes` beside `target` and renames the new file over it, so that
// `target` is the old or the new file at every moment. Empty, or the step
// that failed and why; the temporary file is then removed.
QString writeInPlace(const QFileInfo& target, const QByteArray& bytes, bool first)
{
    const auto failed = [&](const QString& step, const QString& reason) {
        return step + u' ' + target.filePath() + u' ' + reason;
    };
    QTemporaryFile saving(target.dir().filePath(savingPrefix(target) + QStringLiteral("XXXXXX")));
    if (!saving.open())
        return failed(QStringLiteral("no temporary file beside"), saving.errorString());
    if (saving.write(bytes) != bytes.size() || !saving.flush())
        return failed(QStringLiteral("cannot write beside"), saving.errorString());
    if (const QString reason =
            settings_platform::takeOverOwnerAndMode(saving, target.filePath(), first);
        !reason.isEmpty())
        return failed(QStringLiteral("cannot give the old file's owner and mode to the new one:"),
                      reason);
    if (const QString reason = settings_platform::syncToDisk(saving); !reason.isEmpty())
        return failed(QStringLiteral("cannot sync beside"), reason);
    if (const QString reason = settings_platform::replace(saving, target.filePath());
        !reason.isEmpty())
        return failed(QStringLiteral("cannot replace"), reason);
    saving.setAutoRemove(false);
    return {};
}

// A settings file made read-only is kept as it is. Its mode decides, which
// binds every user, also one whom the system lets write it anyway (root).
bool isReadOnly(const QString& path)
{
    const QFileInfo file(path);
    return !file.isWritable() || !file.permissions().testFlag(QFileDevice::WriteOwner);
}

// A save killed half-way leaves its temporary file. One whose time lies
// further from now than any save takes belongs to no running save and goes,
// so that kills cannot pile them up; also one dated in the future (a clock
// set back, a copied folder), which would otherwise never grow old. A
// directory of such a name is no save's and stays, but is logged.
void removeStaleSavingFiles(const QFileInfo& target)
{
    constexpr qint64 longestSaveMilliseconds = 5000;
    const QDateTime now = QDateTime::currentDateTime();
    QDir directory = target.dir();
    directory.setNameFilters({savingPrefix(target) + u'*'});
    directory.setFilter(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden |
                        QDir::CaseSensitive);
    for (const QFileInfo& saving : directory.entryInfoList())
        if (saving.isDir())
            qCInfo(settingsLog) << "left as it is, a directory named like a save's file:"
                                << saving.filePath();
        else if (std::abs(now.msecsTo(saving.lastModified())) > longestSaveMilliseconds)
            QFile::remove(saving.filePath());
}

} // namespace

std::span<const Stored> keyOrder()
{
    return keyTable;
}

bool writtenAlways(const Stored& stored)
{
    return std::ranges::find(keyTable, stored) - keyTable.begin() <
           std::ptrdiff_t(alwaysWrittenKeys);
}

const char* keyName(const Stored& stored)
{
    return nameOf(stored);
}

Settings parse(const QByteArray& bytes)
{
    return parsed(bytes).settings;
}

QByteArray serialize(const Settings& current)
{
    // Encoded straight into the file's bytes, as QString::toLocal8Bit does.
    QStringEncoder toLocal8Bit(QStringEncoder::System, QStringEncoder::Flag::Stateless);
    QByteArray bytes;
    bytes.reserve(512); // an everyday file has 250 bytes
    for (std::size_t i = 0; i < keyTable.size(); ++i) {
        const Stored& key = keyTable[i];
        if (i >= alwaysWrittenKeys && atDefault(std::get<Field>(key), current))
            continue;
        const QString value = valueText(key, current);
        bytes += QByteArrayView(nameOf(key));
        bytes += '=';
        const qsizetype start = bytes.size();
        bytes.resize(start + toLocal8Bit.requiredSpace(value.size()));
        bytes.truncate(toLocal8Bit.appendToBuffer(bytes.data() + start, value) - bytes.constData());
        bytes += "\r\n";
    }
    return bytes;
}

std::optional<Settings> load(const QString& path)
{
    if (path.isEmpty()) {
        qCInfo(settingsLog) << "no settings folder: set HOME or XDG_CONFIG_HOME to an absolute "
                               "path; nothing is read or saved";
        return std::nullopt;
    }
    const Chain chain = followLinks(path);
    const auto refused = [&](const QString& reason) {
        qCInfo(settingsLog).noquote() << "not read, to be kept as it is:" << path << reason;
        return std::nullopt;
    };
    if (!chain.refusal.isEmpty())
        return refused(chain.refusal);
    if (!chain.end) {
        // Nothing at the end of a loop; it will not be saved either.
        qCInfo(settingsLog) << "no settings file: its links cannot be followed to an end (a "
                               "loop, more than 40):"
                            << path;
        return Settings{};
    }
    const QFileInfo end(chain.end->path);
    if (hasNewerUnsaved(end)) {
        auto kept = readExisting(unsavedPath(end));
        if (auto* settings = std::get_if<Settings>(&kept)) {
            qCInfo(settingsLog) << "taking over the inputs the last save could not put in"
                                << end.filePath() << "from" << unsavedPath(end);
            return std::move(*settings);
        }
    }
    if (chain.end->type == std::filesystem::file_type::not_found) {
        qCInfo(settingsLog) << "no settings file yet:" << path;
        return Settings{};
    }
    auto read = readExisting(chain.end->path);
    if (const auto* reason = std::get_if<QString>(&read))
        return refused(*reason);
    return std::get<Settings>(std::move(read));
}

std::optional<Settings> loadOrTakeOver(const QString& path, const QStringList& earlierFiles)
{
    // A link is there even when what it names is not: its save creates that.
    const QFileInfo info(path);
    if (path.isEmpty() || info.exists() || info.isSymLink())
        return load(path);
    for (const QString& earlier : earlierFiles) {
        if (!QFileInfo::exists(earlier))
            continue;
        qCInfo(settingsLog) << "no settings file yet:" << path << "taking over" << earlier;
        // One that is not read leaves the defaults: JOLV.INI is still new.
        return load(earlier).value_or(Settings{});
    }
    return load(path);
}

bool save(const QString& path, const Settings& current)
{
    const auto refused = [&](const QString& reason, const QString& file) {
        qCInfo(settingsLog).noquote() << "not saved," << reason << file;
        return false;
    };
    if (path.isEmpty())
        return refused(QStringLiteral("no settings folder"), path);
    // Only a regular file is replaced, or created where none is yet: a
    // device or FIFO that JOLV.INI links to (/dev/null, to keep nothing)
    // stays what it is. What was checked at start is checked again: the
    // file or its links may have changed while the window was open.
    const Chain chain = followLinks(path);
    if (!chain.refusal.isEmpty())
        return refused(QStringLiteral("a link is not followed:"), chain.refusal);
    if (!chain.end)
        return refused(QStringLiteral("cannot follow the links of"), path);
    const Replaced* replaced = &*chain.end;
    const bool first = replaced->type == std::filesystem::file_type::not_found;
    if (!first && replaced->type != std::filesystem::file_type::regular)
        return refused(QStringLiteral("not a regular file:"), replaced->path);
    if (!first && isReadOnly(replaced->path))
        return refused(QStringLiteral("the file is read-only:"), replaced->path);
    if (!first)
        if (const auto read = readExisting(replaced->path); std::holds_alternative<QString>(read))
            return refused(QStringLiteral("the file is not one to replace now (%1):")
                               .arg(std::get<QString>(read)),
                           replaced->path);

    const QFileInfo target(replaced->path);
    const QByteArray bytes = serialize(current);
    if (const QString why = writeInPlace(target, bytes, first); !why.isEmpty()) {
        // The inputs go beside the file, for the next start, rather than
        // nowhere: a virus scanner or an editor may hold JOLV.INI without
        // letting it be replaced.
        const QFileInfo unsaved(unsavedPath(target));
        const QString keptWhy = writeInPlace(unsaved, bytes, true);
        return refused(why, keptWhy.isEmpty() ? QStringLiteral("; the inputs are kept in %1 for "
                                                               "the next start")
                                                    .arg(unsaved.filePath())
                                              : QStringLiteral("; nor kept: ") + keptWhy);
    }
    QFile::remove(unsavedPath(target));
    removeStaleSavingFiles(target);
    return true;
}

QString settingsDirectory()
{
    return settings_platform::settingsDirectory();
}

QString iniPath(const QString& directory)
{
    return directory.isEmpty() ? QString() : QDir(directory).filePath(QStringLiteral("JOLV.INI"));
}

} // namespace settings_file
