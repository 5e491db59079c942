// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the window suites share: a settings folder of their own, typing and
// clicking by object name, the window's texts, the announcer's words, the
// room a style leaves a control's text and mark, and contrast.

#include "gui/main_window.h"
#include "support.h"

#include <QAccessible>
#include <QCheckBox>
#include <QFile>
#include <QMap>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QScrollArea>
#include <QSignalSpy>
#include <QStyleFactory>
#include <QStyleOption>
#include <QTemporaryDir>
#include <cmath>
#include <limits>

// The test object of a window suite: its windows keep their settings in a
// folder of their own, never the user's, and write numbers the German way.
class WindowSuite : public QObject {
public:
    WindowSuite() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

protected:
    QTemporaryDir settingsDirectory;
};

// Shows the window and waits until it has the keyboard focus.
inline bool shownActive(QWidget& window)
{
    window.show();
    return QTest::qWaitForWindowActive(&window);
}

inline void setText(QWidget& window, const QString& name, const QString& text)
{
    findControl<QLineEdit>(window, name)->setText(text);
}

inline void click(QWidget& window, const QString& name)
{
    QTest::mouseClick(findControl(window, name), Qt::LeftButton);
}

// Every text of the window, to tell what a click or a key changed.
inline QMap<QString, QString> allTexts(const QWidget& window)
{
    QMap<QString, QString> texts;
    for (const ControlRow& row : controlTable())
        if (row.control.kind == ControlKind::TextBox || row.control.kind == ControlKind::Output)
            texts.insert(controlName(row.control), textOf(window, controlName(row.control)));
    return texts;
}

// Records what the window's announcer says: a screen reader speaks it each
// time the announcer shows (no screen reader listens offscreen, so the test
// watches the announcer itself).
class AnnouncementRecorder : public QObject {
public:
    QStringList said;
    bool eventFilter(QObject* announcer, QEvent* event) override
    {
        if (event->type() == QEvent::Show)
            said << static_cast<QWidget*>(announcer)->accessibleName();
        return false;
    }
};

// Where a control's style puts its text and its mark (none: a field, a push
// button or a label). A field keeps 2 px more at each side, and one for the
// cursor, or it scrolls its first digits out of sight.
struct Room {
    QRect text, mark;
};

inline Room roomOf(const QWidget& control)
{
    const QStyle* style = control.style();
    if (const auto* edit = qobject_cast<const QLineEdit*>(&control)) {
        QStyleOptionFrame frame;
        frame.initFrom(edit);
        frame.lineWidth = style->pixelMetric(QStyle::PM_DefaultFrameWidth, &frame, edit);
        frame.state |= QStyle::State_Sunken;
        return {style->subElementRect(QStyle::SE_LineEditContents, &frame, edit)
                    .marginsRemoved(edit->textMargins())
                    .adjusted(2, 0, -3, 0),
                {}};
    }
    const auto* button = qobject_cast<const QAbstractButton*>(&control);
    if (!button)
        return {control.rect(), {}};
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    const auto rect = [&](QStyle::SubElement element) {
        return style->subElementRect(element, &option, button);
    };
    if (qobject_cast<const QCheckBox*>(button))
        return {rect(QStyle::SE_CheckBoxContents), rect(QStyle::SE_CheckBoxIndicator)};
    if (qobject_cast<const QRadioButton*>(button))
        return {rect(QStyle::SE_RadioButtonContents), rect(QStyle::SE_RadioButtonIndicator)};
    return {rect(QStyle::SE_PushButtonContents), {}};
}

// WCAG 2's contrast ratio of two colours, from 1 (the same) to 21 (black on white).
inline double contrastRatio(QRgb a, QRgb b)
{
    const auto luminance = [](QRgb pixel) {
        const auto linear = [](int channel) {
            const double c = channel / 255.0;
            return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(qRed(pixel)) + 0.7152 * linear(qGreen(pixel)) +
               0.0722 * linear(qBlue(pixel));
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}
