// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings_platform.h"

#include <QDir>
#include <QFileDevice>
#include <QFileInfo>
#include <QStandardPaths>
#include <io.h>
#include <qt_windows.h>

namespace settings_platform {

namespace {

// C:/Windows, or empty if the system does not say.
QString windowsDirectory()
{
    wchar_t path[MAX_PATH];
    // The length without the NUL; 0 on failure, the size needed when too small.
    const UINT length = GetWindowsDirectoryW(path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return {};
    return QDir::fromNativeSeparators(QString::fromWCharArray(path, qsizetype(length)));
}

} // namespace

std::filesystem::path nativePath(const QString& path)
{
    return std::filesystem::path(QDir::toNativeSeparators(path).toStdWString());
}

QString qtPath(const std::filesystem::path& path)
{
    return QDir::fromNativeSeparators(QString::fromStdWString(path.wstring()));
}

// Windows keeps no Unix owner or mode: the new file inherits the folder's
// access rights, and only the read-only attribute is carried over.
QString takeOverOwnerAndMode(QFileDevice& saving, const QString& oldPath, bool first)
{
    const QFileDevice::Permissions usual = QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                           QFileDevice::ReadGroup | QFileDevice::ReadOther;
    return saving.setPermissions(first ? usual : QFileInfo(oldPath).permissions())
               ? QString()
               : saving.errorString();
}

QString syncToDisk(QFileDevice& saving)
{
    const auto file = reinterpret_cast<HANDLE>(_get_osfhandle(saving.handle()));
    return file != INVALID_HANDLE_VALUE && FlushFileBuffers(file)
               ? QString()
               : QStringLiteral("FlushFileBuffers failed (%1)").arg(GetLastError());
}

// %APPDATA%\JOLV: a program may write there without administrator rights,
// and the file roams with the user's profile. The Windows directory, where
// the file used to live, is no longer writable for programs.
QString settingsDirectory()
{
    const QString directory = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(directory);
    return directory;
}

// An earlier program kept JOLV.INI in the Windows directory. Without
// administrator rights its writes went to the user's VirtualStore copy,
// which it then read back in preference: that copy is the more recent.
QStringList earlierSettingsFiles()
{
    const QString windows = windowsDirectory();
    if (windows.isEmpty())
        return {};
    QStringList files;
    const QString localAppData =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (!localAppData.isEmpty())
        files << QDir(localAppData)
                     .filePath(QStringLiteral("VirtualStore/") + windows.mid(3) +
                               QStringLiteral("/JOLV.INI"));
    files << QDir(windows).filePath(QStringLiteral("JOLV.INI"));
    return files;
}

} // namespace settings_platform
