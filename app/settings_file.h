#pragma once

// JOLV.INI: the window position and every input of the three panels, kept
// from one run to the next as lines "KEY=value" in 8-bit text with CR LF.
// Read once when the window is created, replaced when it closes.

#include <QByteArray>
#include <QMap>
#include <QString>
#include <optional>
#include <span>

namespace settings_file {

enum class ValueKind { WindowTop, WindowLeft, CheckBox, TextBox };

struct Key {
    const char* name;    // as written in the file, upper case
    const char* control; // objectName of the control it stores; empty for the window keys
    ValueKind kind;
};

// The 22 keys in the order they are written.
std::span<const Key> keys();

// What a file sets; a key the file does not hold is absent here.
struct Settings {
    std::optional<float> top{};          // WINDOWTOP, twips, the frame's top-left corner
    std::optional<float> left{};         // WINDOWLEFT, twips
    QMap<QString, QString> fieldTexts{}; // control objectName -> text
    QMap<QString, bool> checkBoxes{};    // control objectName -> ticked
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
