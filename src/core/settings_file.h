// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// JOLV.INI: the window position and every input of the panels, kept
// from one run to the next as lines "KEY=value" in 8-bit text with CR LF.
// Read once when the window is created, replaced when it closes. Why a file
// was not read or not saved is logged under "jolv.settings" (silent unless
// QT_LOGGING_RULES="jolv.settings.info=true").

#include "field_table.h"

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>
#include <span>
#include <variant>

namespace settings_file {

enum class WindowPosition { Top, Left };

// What one key of the file stores.
using Stored = std::variant<WindowPosition, Field, UnitBox>;

// Every key in the order they are written: the 22 that every file holds,
// then the Flug panel's.
std::span<const Stored> keyOrder();

// True for the 22 keys written always; the others are written only while
// their field differs from its default.
bool writtenAlways(const Stored& stored);

// "WINDOWTOP", "RPM", "INC": the name of a key as the file holds it.
const char* keyName(const Stored& stored);

// What a file sets; a key the file does not hold is absent here.
struct Settings {
    std::optional<float> top{};  // WINDOWTOP, twips, the frame's top-left corner
    std::optional<float> left{}; // WINDOWLEFT, twips
    QMap<Field, QString> texts{};
    QMap<UnitBox, bool> boxes{}; // ticked
    bool operator==(const Settings&) const = default;
};

// The system's 8-bit text, or Unicode after a byte-order mark (UTF-8,
// UTF-16 LE or BE). Lines end in CR LF, LF or CR; a line starting with "*" is
// a comment. Keys are matched without regard to case and to spaces around
// them. In a value a Unicode line separator (U+2028, U+2029) reads as the
// space it is written as, and values lose their surrounding spaces. A position that is no number, a
// box state other than 0 or 1, and unknown keys are skipped; of two lines with one key the later
// wins.
Settings parse(const QByteArray& bytes);

// The 22 lines in key order, then a line for each further field that
// differs from its default, each ended by CR LF: positions by the
// single-precision number-to-text rule, boxes as 0 or 1, texts as they are
// but for line breaks (CR, LF, U+2028, U+2029), each written as a space.
// A missing position is written as 0, a missing text as empty, a missing box
// as cleared.
QByteArray serialize(const Settings& current);

// Empty settings when there is no file yet. Nothing when something is there
// that was not read: not a regular file, unreadable, larger than any file
// `save` writes for texts a field can hold, not empty yet without one line
// that names a key, or behind a link that may not be followed (one of
// another user's that points to a file not theirs); also for an empty path,
// where no settings folder is known. The caller then keeps it as it is
// rather than replace it.
std::optional<Settings> load(const QString& path);

// As `load`, but when `path` does not exist yet the first of `earlierFiles`
// that does (settings an earlier program kept elsewhere) is read instead, and
// left as it is; `path` is the one the window saves to.
std::optional<Settings> loadOrTakeOver(const QString& path, const QStringList& earlierFiles);

// Writes beside the old file and renames over it, so that on any failure the
// old file stays as it was and false is returned. A chain of links is
// followed to its end, by the rule `load` follows them, which must be a
// regular file or nothing yet; a file whose mode makes it read-only, or
// that `load` would not read now, is not replaced; the new file gets the old
// one's owner and mode, or the old file stays, and its group where the
// caller may give it.
bool save(const QString& path, const Settings& current);

// The user's configuration directory (~/.config; %APPDATA%\JOLV on
// Windows), created if missing; empty where there is none to use.
QString settingsDirectory();

// The settings file in `directory`; empty for none.
QString iniPath(const QString& directory = settingsDirectory());

} // namespace settings_file
