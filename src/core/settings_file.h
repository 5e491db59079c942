// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// JOLV.INI: the window position and every input of the three panels, kept
// from one run to the next as lines "KEY=value" in 8-bit text with CR LF.
// Read once when the window is created, replaced when it closes. Why a file
// was not read or not saved is logged under "jolv.settings" (silent unless
// QT_LOGGING_RULES="jolv.settings.info=true").

#include "field_table.h"

#include <QByteArray>
#include <QMap>
#include <QString>
#include <optional>
#include <span>
#include <variant>

namespace settings_file {

enum class WindowPosition { Top, Left };

// What one key of the file stores.
using Stored = std::variant<WindowPosition, Field, UnitBox>;

// The 22 keys in the order they are written.
std::span<const Stored> keyOrder();

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

// Lines end in LF or CR LF; a line starting with "*" is a comment. Keys are
// matched without regard to case and to spaces around them, values lose their
// surrounding spaces. A position that is no number, a box state other than 0
// or 1, and unknown keys are skipped; of two lines with one key the later wins.
Settings parse(const QByteArray& bytes);

// Exactly the 22 lines in key order, each ended by CR LF: positions by the
// single-precision number-to-text rule, boxes as 0 or 1, texts unchanged.
// A missing position is written as 0, a missing text as empty, a missing box
// as cleared.
QByteArray serialize(const Settings& current);

// Empty when the file is missing, unreadable or larger than 1 MiB.
Settings load(const QString& path);

// Writes beside the old file and renames over it, so that on any failure the
// old file stays as it was and false is returned.
bool save(const QString& path, const Settings& current);

// Windows: the Windows directory. Elsewhere: the user's configuration
// directory, created if missing.
QString settingsDirectory();

// The settings file in `directory`.
QString iniPath(const QString& directory = settingsDirectory());

} // namespace settings_file
