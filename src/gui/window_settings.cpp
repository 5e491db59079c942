// SPDX-License-Identifier: GPL-3.0-or-later
#include "window_settings.h"

#include "window_placement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <cmath>
#include <limits>

namespace {

constexpr double twipsPerInch = 1440;
constexpr double windowCoordinateLimit = 32767; // pixels; X11 holds 16-bit coordinates

// Every screen's area less its panels and docks, in pixels.
QList<QRect> availableGeometries()
{
    QList<QRect> geometries;
    for (const QScreen* screen : QGuiApplication::screens())
        geometries << screen->availableGeometry();
    return geometries;
}

} // namespace

WindowSettings::WindowSettings(QWidget* window, const QString& settingsDirectory,
                               const QStringList& earlierSettingsFiles, bool placesWindows)
    : QObject(window)
    , window(window)
    , path(settings_file::iniPath(settingsDirectory))
    , earlierSettingsFiles(earlierSettingsFiles)
    , placesWindows(placesWindows)
{
    window->installEventFilter(this);
}

double WindowSettings::twipsPerPixelX(const QWidget& window)
{
    return twipsPerInch / window.screen()->logicalDotsPerInchX();
}

double WindowSettings::twipsPerPixelY(const QWidget& window)
{
    return twipsPerInch / window.screen()->logicalDotsPerInchY();
}

std::optional<settings_file::Settings> WindowSettings::restore()
{
    std::optional<settings_file::Settings> stored =
        settings_file::loadOrTakeOver(path, earlierSettingsFiles);
    // What was not read (a file too large, unreadable) is not replaced by
    // this window's defaults either.
    keepStoredFile = !stored;
    if (!stored)
        return std::nullopt;
    readTop = stored->top;
    readLeft = stored->left;
    if (placesWindows && stored->top && stored->left) {
        // The frame's top-left corner, applied as stored wherever the window
        // would show a usable part on the screens as they are now; otherwise
        // (and beyond the coordinates a window system can hold at all) the
        // platform places the window. Files we write always hold both keys.
        const double x = *stored->left / twipsPerPixelX(*window);
        const double y = *stored->top / twipsPerPixelY(*window);
        if (std::fabs(x) <= windowCoordinateLimit && std::fabs(y) <= windowCoordinateLimit) {
            const QRect frame(QPoint(qRound(x), qRound(y)), window->size());
            placedFromFile = window_placement::showsUsablePart(frame, availableGeometries());
            if (placedFromFile)
                window->move(frame.topLeft());
        }
    }
    return stored;
}

void WindowSettings::save(settings_file::Settings inputs)
{
    if (saved || keepStoredFile)
        return;
    saved = true;
    if (placesWindows && !standsWhereItWasPlaced()) {
        const QPoint frame = window->frameGeometry().topLeft();
        inputs.top = float(frame.y() * twipsPerPixelY(*window));
        inputs.left = float(frame.x() * twipsPerPixelX(*window));
    } else {
        // The position read at start goes back unchanged, and one never read
        // is written empty (no number), which the next start skips as it
        // does a missing one. Written from the frame, an unmoved window's
        // position would drift: a pixel is 15 twips, and a window manager
        // may nudge a window towards the screen (openbox keeps a tenth of it
        // there).
        constexpr float noPosition = std::numeric_limits<float>::quiet_NaN();
        inputs.top = readTop.value_or(noPosition);
        inputs.left = readLeft.value_or(noPosition);
    }
    // A failed save leaves the old file as it was; closing goes ahead regardless.
    settings_file::save(path, inputs);
}

bool WindowSettings::standsWhereItWasPlaced() const
{
    return placedFromFile && shownFrame == window->frameGeometry().topLeft();
}

// The window manager has placed the frame by the time the window is first
// exposed.
bool WindowSettings::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == window && event->type() == QEvent::Show && !shownFrame)
        window->windowHandle()->installEventFilter(this);
    if (watched == window->windowHandle() && event->type() == QEvent::Expose &&
        window->windowHandle()->isExposed() && !shownFrame) {
        shownFrame = window->frameGeometry().topLeft();
        window->windowHandle()->removeEventFilter(this);
    }
    return QObject::eventFilter(watched, event);
}
