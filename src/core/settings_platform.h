// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the settings file needs from the system, the one place where Windows
// and Unix differ for it: file names as the system takes them, giving a new
// file the old one's owner and mode, bringing it to disk, and where the file
// lives. settings_platform_unix.cpp and settings_platform_windows.cpp hold the
// two sides; the build picks one.

#include <QString>
#include <QStringList>
#include <filesystem>

class QFileDevice;
class QTemporaryFile;

namespace settings_platform {

std::filesystem::path nativePath(const QString& path);
QString qtPath(const std::filesystem::path& path);

// Gives the new file what the old one had, so that replacing it changes only
// the contents; a first save gets the usual mode of a configuration file.
// Empty, or why it could not be done: then the old file stays.
QString takeOverOwnerAndMode(QFileDevice& saving, const QString& oldPath, bool first);

// Empty once the written bytes are on disk, else why not.
QString syncToDisk(QFileDevice& saving);

// Closes `saving` and renames it over `target` in one step. Empty, or why
// it could not be done: then `target` is as it was.
QString replace(QTemporaryFile& saving, const QString& target);

// Whether the link at `link` may be followed to `pointsTo` (the name it
// stands for, which may not exist yet): as the kernel's protected_symlinks
// rule has it, where the link belongs to the user the program runs as, or
// to the owner of what it points to. Empty, or why not. A user's link made
// to have a program run by root (sudo -E) write elsewhere is not followed.
QString linkRefusal(const std::filesystem::path& link, const std::filesystem::path& pointsTo);

// The folder that holds JOLV.INI, created if missing; empty where the
// environment names no usable one.
QString settingsDirectory();

// Settings files an earlier program left elsewhere, most recent first; read
// once when JOLV.INI does not exist yet, never written or removed.
QStringList earlierSettingsFiles();

} // namespace settings_platform
