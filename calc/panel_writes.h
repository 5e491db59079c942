#pragma once

#include <QList>
#include <QString>
#include <optional>

// What a panel calculation writes: control names and their new texts, in the
// order they are written. The window applies them; tests read them directly.
struct FieldWrite {
    QString control;
    QString text;
    bool operator==(const FieldWrite&) const = default;
};

using Writes = QList<FieldWrite>;

// The text a calculation's run leaves in a control, or nothing when the run
// does not write it (the last write wins, as it does on the window).
inline std::optional<QString> writtenText(const Writes& writes, const QString& control)
{
    std::optional<QString> text;
    for (const FieldWrite& write : writes)
        if (write.control == control)
            text = write.text;
    return text;
}
