#pragma once

// A calculation's writes as "CONTROL=text" lines, so that one comparison
// checks the texts, their order and which controls were written at all.

#include "calc/panel_writes.h"

#include <QStringList>

inline QStringList asLines(const Writes& writes)
{
    QStringList lines;
    for (const FieldWrite& write : writes)
        lines << write.control + u'=' + write.text;
    return lines;
}
