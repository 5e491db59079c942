// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings_platform.h"

#include <QDir>
#include <QFileDevice>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>
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

// Through a handle of its own, beside Qt's, which shares writing.
QString syncToDisk(QFileDevice& saving)
{
    const std::wstring name = nativePath(saving.fileName()).wstring();
    const HANDLE file = CreateFileW(name.c_str(), GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    const bool flushed = file != INVALID_HANDLE_VALUE && FlushFileBuffers(file);
    const DWORD error = GetLastError();
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    return flushed ? QString() : QStringLiteral("FlushFileBuffers failed (%1)").arg(error);
}

// QTemporaryFile::close() only rewinds and keeps its handle, which
// without delete sharing makes any rename fail; its own rename within the
// folder closes it for real (and keeps the saving prefix, so a leftover is
// cleared as stale). MoveFileEx then replaces the target in one step, with
// write-through returning once the rename is on disk.
QString replace(QTemporaryFile& saving, const QString& target)
{
    if (!saving.rename(saving.fileName() + QStringLiteral("-closed")))
        return saving.errorString();
    const std::wstring from = nativePath(saving.fileName()).wstring();
    const std::wstring to = nativePath(target).wstring();
    // A virus scanner or an indexer holds a new file for a moment: up to two
    // seconds of tries while the target is held open.
    constexpr int tries = 20;
    constexpr DWORD pauseMilliseconds = 100;
    DWORD error = ERROR_SUCCESS;
    for (int tried = 1; tried <= tries; ++tried) {
        if (MoveFileExW(from.c_str(), to.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return {};
        error = GetLastError();
        const bool held = error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED ||
                          error == ERROR_LOCK_VIOLATION;
        if (!held || tried == tries)
            break;
        Sleep(pauseMilliseconds);
    }
    QFile::remove(saving.fileName());
    return QStringLiteral("MoveFileEx failed (%1)").arg(error);
}

// Making a link takes a privilege on Windows that a user whose files a
// program run as another may write does not hold by default.
QString linkRefusal(const std::filesystem::path&, const std::filesystem::path&)
{
    return {};
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
