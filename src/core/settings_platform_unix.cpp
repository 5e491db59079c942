// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings_platform.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace settings_platform {

namespace {

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

} // namespace

std::filesystem::path nativePath(const QString& path)
{
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

QString qtPath(const std::filesystem::path& path)
{
    return QFile::decodeName(path.c_str());
}

// Owner and group first (a save as root leaves a user's file the user's),
// then the mode (after chown, which clears set-id bits); 0644 for a first
// save.
QString takeOverOwnerAndMode(QFileDevice& saving, const QString& oldPath, bool first)
{
    const int handle = saving.handle();
    if (first)
        return ::fchmod(handle, S_IRUSR | S_IWUSR | S_IRGRP | S_IROTH) == 0 ? QString()
                                                                            : systemError();
    struct stat old {};
    struct stat created {};
    if (::stat(QFile::encodeName(oldPath).constData(), &old) != 0 || ::fstat(handle, &created) != 0)
        return systemError();
    if (old.st_uid != created.st_uid) {
        if (::fchown(handle, old.st_uid, old.st_gid) != 0)
            return systemError();
    } else if (old.st_gid != created.st_gid) {
        // Our own file keeps its group where we may give it (one we belong
        // to); else it gets ours, as every save of it did before.
        [[maybe_unused]] const int groupKept = ::fchown(handle, uid_t(-1), old.st_gid);
    }
    return ::fchmod(handle, old.st_mode & 07777) == 0 ? QString() : systemError();
}

// The bytes are on disk before the new file's name moves over the old one.
QString syncToDisk(QFileDevice& saving)
{
    return ::fsync(saving.handle()) == 0 ? QString() : systemError();
}

QString replace(QTemporaryFile& saving, const QString& target)
{
    saving.close();
    std::error_code error;
    std::filesystem::rename(nativePath(saving.fileName()), nativePath(target), error);
    return error ? QString::fromStdString(error.message()) : QString();
}

// ~/.config, or $XDG_CONFIG_HOME.
QString settingsDirectory()
{
    const QString directory =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    QDir().mkpath(directory);
    return directory;
}

// No earlier program kept its settings anywhere else here.
QStringList earlierSettingsFiles()
{
    return {};
}

} // namespace settings_platform
