// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings_file.h"

#include "field_values.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLatin1StringView>
#include <QLoggingCategory>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

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
});
// clang-format on
static_assert(keyTable.size() == 2 + fieldCount + unitBoxCount, "every input has its key");

// The program writes about 250 bytes; anything much larger is not its file
// and is not worth reading into memory at start-up.
constexpr qint64 maxFileBytes = 1024 * 1024;

const Stored* findKey(const QString& name)
{
    const auto found = std::ranges::find_if(
        keyTable, [&](const Stored& key) { return name == QLatin1StringView(keyName(key)); });
    return found == keyTable.end() ? nullptr : &*found;
}

void applyLine(const QString& line, Settings& settings)
{
    if (line.startsWith(u'*'))
        return;
    const qsizetype equals = line.indexOf(u'=');
    if (equals < 0)
        return;
    const Stored* key = findKey(fields::trimmed(line.first(equals)).toUpper());
    if (!key)
        return;
    const QString value = fields::trimmed(line.sliced(equals + 1));
    if (const auto* position = std::get_if<WindowPosition>(key)) {
        if (const auto coordinate = fields::toSingle(value))
            (*position == WindowPosition::Top ? settings.top : settings.left) = *coordinate;
    } else if (const auto* box = std::get_if<UnitBox>(key)) {
        if (const auto state = fields::toInteger(value); state && (*state == 0 || *state == 1))
            settings.boxes[*box] = *state == 1;
    } else {
        settings.texts[std::get<Field>(*key)] = value;
    }
}

QString valueText(const Stored& key, const Settings& current)
{
    if (const auto* position = std::get_if<WindowPosition>(&key))
        return fields::singleToText(
            (*position == WindowPosition::Top ? current.top : current.left).value_or(0));
    if (const auto* box = std::get_if<UnitBox>(&key))
        return current.boxes.value(*box) ? QStringLiteral("1") : QStringLiteral("0");
    // A single-line field can still hold a pasted line break; stored as a
    // space it keeps the file at one line per key.
    return current.texts.value(std::get<Field>(key)).replace(u'\n', u' ');
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

std::span<const Stored> keyOrder()
{
    return keyTable;
}

const char* keyName(const Stored& stored)
{
    if (const auto* position = std::get_if<WindowPosition>(&stored))
        return *position == WindowPosition::Top ? "WINDOWTOP" : "WINDOWLEFT";
    if (const auto* box = std::get_if<UnitBox>(&stored))
        return unitBoxRow(*box).settingsKey;
    return fieldRow(std::get<Field>(stored)).settingsKey;
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
    for (const Stored& key : keyTable) {
        bytes += (QLatin1StringView(keyName(key)) + u'=' + valueText(key, current)).toLocal8Bit();
        bytes += "\r\n";
    }
    return bytes;
}

Settings load(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        qCInfo(settingsLog) << "no settings file yet:" << path;
        return {};
    }
    // Only a regular file: a FIFO or device of that name could block the start.
    if (!info.isFile()) {
        qCInfo(settingsLog) << "not read, not a regular file:" << path;
        return {};
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qCInfo(settingsLog) << "not read:" << path << file.errorString();
        return {};
    }
    // One byte more than allowed tells a file that is too large, also one
    // whose size the system does not report.
    const QByteArray bytes = file.read(maxFileBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        qCInfo(settingsLog) << "not read:" << path << file.errorString();
        return {};
    }
    if (bytes.size() > maxFileBytes) {
        qCInfo(settingsLog) << "not read, larger than" << maxFileBytes << "bytes:" << path;
        return {};
    }
    return parse(bytes);
}

bool save(const QString& path, const Settings& current)
{
    // A link is followed, so that the file it points to gets the new settings.
    const QFileInfo link(path);
    const QFileInfo target(link.isSymLink() ? link.symLinkTarget() : path);
    // A settings file made read-only is kept as it is, as if it could not be written.
    if (target.exists() && !target.isWritable()) {
        qCInfo(settingsLog) << "not saved, the file is read-only:" << target.filePath();
        return false;
    }
    const auto failed = [&](const QString& step, const QString& reason) {
        qCInfo(settingsLog).noquote() << "not saved," << step << target.filePath() << reason;
        return false;
    };

    QTemporaryFile saving(target.dir().filePath(savingPrefix(target) + QStringLiteral("XXXXXX")));
    if (!saving.open())
        return failed(QStringLiteral("no temporary file beside"), saving.errorString());
    const QByteArray bytes = serialize(current);
    if (saving.write(bytes) != bytes.size() || !saving.flush())
        return failed(QStringLiteral("cannot write beside"), saving.errorString());
    // The new file gets the old one's permissions, or the usual ones of a
    // configuration file, not those of a private temporary file.
    saving.setPermissions(target.exists() ? target.permissions() : newFilePermissions);
#ifdef Q_OS_UNIX
    if (::fsync(saving.handle()) != 0) // the bytes are on disk before the name moves
        return failed(QStringLiteral("cannot sync beside"),
                      QString::fromLocal8Bit(strerror(errno)));
#endif
    saving.close(); // Windows renames only files that nobody holds open

    // Renaming over the old file is atomic: it is the old or the new file at
    // every moment. On failure the temporary file is removed with `saving`.
    std::error_code error;
    std::filesystem::rename(nativePath(saving.fileName()), nativePath(target.filePath()), error);
    if (error)
        return failed(QStringLiteral("cannot replace"), QString::fromStdString(error.message()));
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
