#include "settings_file.h"

#include "field_values.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLatin1StringView>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <algorithm>
#include <array>
#include <filesystem>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

namespace settings_file {

namespace {

using K = ValueKind;

// clang-format off
constexpr auto keyTable = std::to_array<Key>({
    {"WINDOWTOP",  "",       K::WindowTop},
    {"WINDOWLEFT", "",       K::WindowLeft},
    {"RPM",        "TUM",    K::TextBox},
    {"ASC",        "TAsc",   K::TextBox},
    {"SLP",        "TSlip",  K::TextBox},
    {"SPE",        "TSpeed", K::TextBox},
    {"INC",        "CInch",  K::CheckBox},
    {"SMS",        "CSpeed", K::CheckBox},
    {"TUV",        "TUV",    K::TextBox},
    {"TCC",        "TCC",    K::TextBox},
    {"TVC",        "TVC",    K::TextBox},
    {"TTR0",       "TTR0",   K::TextBox},
    {"TTR1",       "TTR1",   K::TextBox},
    {"TTR2",       "TTR2",   K::TextBox},
    {"TTC0",       "TTC0",   K::TextBox},
    {"TBL",        "TBL",    K::TextBox},
    {"TML",        "TML",    K::TextBox},
    {"TBW",        "TBW",    K::TextBox},
    {"TBS",        "TBS",    K::TextBox},
    {"TRC",        "TRC",    K::TextBox},
    {"TCA",        "TCA",    K::TextBox},
    {"TCQ",        "TCQ",    K::TextBox},
});
// clang-format on

// The program writes about 250 bytes; anything much larger is not its file
// and is not worth reading into memory at start-up.
constexpr qint64 maxFileBytes = 1024 * 1024;

const Key* findKey(const QString& name)
{
    const auto found = std::ranges::find_if(
        keyTable, [&](const Key& key) { return name == QLatin1StringView(key.name); });
    return found == keyTable.end() ? nullptr : &*found;
}

void applyLine(const QString& line, Settings& settings)
{
    if (line.startsWith(u'*'))
        return;
    const qsizetype equals = line.indexOf(u'=');
    if (equals < 0)
        return;
    const Key* key = findKey(fields::trimmed(line.first(equals)).toUpper());
    if (!key)
        return;
    const QString value = fields::trimmed(line.sliced(equals + 1));
    const QString control = QString::fromLatin1(key->control);
    switch (key->kind) {
    case ValueKind::WindowTop:
        if (const auto top = fields::toSingle(value))
            settings.top = *top;
        break;
    case ValueKind::WindowLeft:
        if (const auto left = fields::toSingle(value))
            settings.left = *left;
        break;
    case ValueKind::CheckBox:
        if (const auto state = fields::toInteger(value); state && (*state == 0 || *state == 1))
            settings.checkBoxes[control] = *state == 1;
        break;
    case ValueKind::TextBox:
        settings.fieldTexts[control] = value;
        break;
    }
}

QString valueText(const Key& key, const Settings& current)
{
    const QString control = QString::fromLatin1(key.control);
    switch (key.kind) {
    case ValueKind::WindowTop:
        return fields::singleToText(current.top.value_or(0));
    case ValueKind::WindowLeft:
        return fields::singleToText(current.left.value_or(0));
    case ValueKind::CheckBox:
        return current.checkBoxes.value(control) ? QStringLiteral("1") : QStringLiteral("0");
    case ValueKind::TextBox:
        // A single-line field can still hold a pasted line break; stored as a
        // space it keeps the file at one line per key.
        return current.fieldTexts.value(control).replace(u'\n', u' ');
    }
    return {};
}

constexpr QFileDevice::Permissions newFilePermissions =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
    QFileDevice::ReadOther;

// Temporary files of a save are hidden and carry a name no user would give:
// ".JOLV.INI.saving-XXXXXX" beside the settings file.
QString savingPrefix(const QFileInfo& target)
{
    return u'.' + target.fileName() + QStringLiteral(".saving-");
}

std::filesystem::path nativePath(const QString& path)
{
#ifdef Q_OS_WIN
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

// A save killed half-way leaves its temporary file. One older than any save
// takes belongs to no running save and goes, so that kills cannot pile them up.
void removeStaleSavingFiles(const QFileInfo& target)
{
    constexpr qint64 oldestSaveSeconds = 5;
    const QDateTime staleBefore = QDateTime::currentDateTime().addSecs(-oldestSaveSeconds);
    QDir directory = target.dir();
    directory.setNameFilters({savingPrefix(target) + u'*'});
    directory.setFilter(QDir::Files | QDir::Hidden | QDir::CaseSensitive);
    for (const QFileInfo& saving : directory.entryInfoList())
        if (saving.lastModified() < staleBefore)
            QFile::remove(saving.filePath());
}

#ifdef Q_OS_WIN
QString windowsDirectory()
{
    wchar_t path[MAX_PATH];
    // The length without the NUL; 0 on failure, the size needed when too small.
    const UINT length = GetWindowsDirectoryW(path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return {};
    return QDir::fromNativeSeparators(QString::fromWCharArray(path, qsizetype(length)));
}
#endif

} // namespace

std::span<const Key> keys()
{
    return keyTable;
}

Settings parse(const QByteArray& bytes)
{
    Settings settings;
    for (QByteArray line : bytes.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        applyLine(QString::fromLocal8Bit(line), settings);
    }
    return settings;
}

QByteArray serialize(const Settings& current)
{
    QByteArray bytes;
    for (const Key& key : keyTable) {
        bytes += (QLatin1StringView(key.name) + u'=' + valueText(key, current)).toLocal8Bit();
        bytes += "\r\n";
    }
    return bytes;
}

Settings load(const QString& path)
{
    // Only a regular file: a FIFO or device of that name could block the start.
    if (!QFileInfo(path).isFile())
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // One byte more than allowed tells a file that is too large, also one
    // whose size the system does not report.
    const QByteArray bytes = file.read(maxFileBytes + 1);
    if (bytes.size() > maxFileBytes || file.error() != QFileDevice::NoError)
        return {};
    return parse(bytes);
}

bool save(const QString& path, const Settings& current)
{
    // A link is followed, so that the file it points to gets the new settings.
    const QFileInfo link(path);
    const QFileInfo target(link.isSymLink() ? link.symLinkTarget() : path);
    // A settings file made read-only is kept as it is, as if it could not be written.
    if (target.exists() && !target.isWritable())
        return false;

    QTemporaryFile saving(target.dir().filePath(savingPrefix(target) + QStringLiteral("XXXXXX")));
    if (!saving.open())
        return false;
    const QByteArray bytes = serialize(current);
    if (saving.write(bytes) != bytes.size() || !saving.flush())
        return false;
    // The new file gets the old one's permissions, or the usual ones of a
    // configuration file, not those of a private temporary file.
    saving.setPermissions(target.exists() ? target.permissions() : newFilePermissions);
#ifdef Q_OS_UNIX
    if (::fsync(saving.handle()) != 0) // the bytes are on disk before the name moves
        return false;
#endif
    saving.close(); // Windows renames only files that nobody holds open

    // Renaming over the old file is atomic: it is the old or the new file at
    // every moment. On failure the temporary file is removed with `saving`.
    std::error_code error;
    std::filesystem::rename(nativePath(saving.fileName()), nativePath(target.filePath()), error);
    if (error)
        return false;
    saving.setAutoRemove(false);
    removeStaleSavingFiles(target);
    return true;
}

QString settingsDirectory()
{
#ifdef Q_OS_WIN
    return windowsDirectory();
#else
    const QString directory =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    QDir().mkpath(directory);
    return directory;
#endif
}

QString iniPath(const QString& directory)
{
    return QDir(directory).filePath(QStringLiteral("JOLV.INI"));
}

} // namespace settings_file
