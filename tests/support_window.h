#pragma once

// Reading the window's controls by their names, as the tests do.

#include <QLabel>
#include <QLineEdit>
#include <QWidget>

// The text of a field or a label.
inline QString textOf(const QWidget& window, const char* name)
{
    const QObject* control = window.findChild<QObject*>(QString::fromLatin1(name));
    if (const auto* field = qobject_cast<const QLineEdit*>(control))
        return field->text();
    if (const auto* label = qobject_cast<const QLabel*>(control))
        return label->text();
    qFatal("no field or label named %s", name);
}
