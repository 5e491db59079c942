// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings_platform.h"

#include <QDir>
#include <QFile>
#include <QTemporaryFile>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

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

QString linkRefusal(const std::filesystem::path& link, const std::filesystem::path& pointsTo)
{
    struct stat linkStatus {};
    if (::lstat(link.c_str(), &linkStatus) != 0)
        return systemError();
    const uid_t runningAs = ::geteuid();
    if (linkStatus.st_uid == runningAs)
        return {};
    struct stat target {};
    if (::lstat(pointsTo.c_str(), &target) == 0 && target.st_uid == linkStatus.st_uid)
        return {};
    return QStringLiteral("the link belongs to user %1, neither the user JOLV runs as (%2) nor "
                          "the owner of what it points to")
        .arg(linkStatus.st_uid)
        .arg(runningAs);
}

namespace {

// An absolute folder from the environment, or empty: the XDG rules have a
// relative one ignored, and an empty HOME would put the file at the root.
QString absoluteFolder(const char* variable)
{
    const QString folder = qEnvironmentVariable(variable);
    return QDir::isAbsolutePath(folder) ? QDir::cleanPath(folder) : QString();
}

// The home folder the system keeps for the user, where HOME is unset.
QString accountHome()
{
    const long bufferSize = std::max(::sysconf(_SC_GETPW_R_SIZE_MAX), 16384L);
    std::vector<char> buffer(static_cast<std::size_t>(bufferSize));
    struct passwd account {};
    struct passwd* found = nullptr;
    if (::getpwuid_r(::geteuid(), &account, buffer.data(), buffer.size(), &found) != 0 || !found ||
        !found->pw_dir)
        return {};
    const QString home = QFile::decodeName(found->pw_dir);
    return QDir::isAbsolutePath(home) && home != QStringLiteral("/") ? QDir::cleanPath(home)
                                                                     : QString();
}

} // namespace

// $XDG_CONFIG_HOME, or .config in the home folder.
QString settingsDirectory()
{
    QString directory = absoluteFolder("XDG_CONFIG_HOME");
    if (directory.isEmpty()) {
        QString home = absoluteFolder("HOME");
        if (home.isEmpty() || home == QStringLiteral("/"))
            home = accountHome();
        if (home.isEmpty())
            return {};
        directory = home + QStringLiteral("/.config");
    }
    QDir().mkpath(directory);
    return directory;
}

// No earlier program kept its settings anywhere else here.
QStringList earlierSettingsFiles()
{
    return {};
}

} // namespace settings_platform
