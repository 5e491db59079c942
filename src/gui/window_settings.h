// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// JOLV.INI for one window: read once as the window is built, which places
// the window where it stood, and written once however the window ends.
//
// The position written is the frame's top-left corner in twips where the
// window was moved since it showed. A window left where the file put it, and
// one whose place the platform does not tell (Wayland), write back what the
// file held, so that the position does not drift by the rounding to whole
// pixels or by a window manager that nudges the window onto the screen; one
// never placed writes no number, which the next start skips.

#include "core/settings_file.h"

#include <QObject>
#include <QPoint>
#include <QStringList>
#include <optional>

class QWidget;

class WindowSettings : public QObject {
    Q_OBJECT

public:
    // Settings are kept in JOLV.INI inside settingsDirectory; while there is
    // none yet, the first of earlierSettingsFiles that exists is read.
    // placesWindows: the platform can report and set the window's position.
    WindowSettings(QWidget* window, const QString& settingsDirectory,
                   const QStringList& earlierSettingsFiles, bool placesWindows);

    // Reads the file and moves the window to the stored position where that
    // shows a usable part of it; the texts and boxes to put back. None where
    // what is there was not read: it is then kept, not saved over.
    std::optional<settings_file::Settings> restore();

    // Writes the window's position with `inputs` (texts and boxes), once.
    void save(settings_file::Settings inputs);

    // Twips per pixel on the window's screen, which layout, fonts and the
    // stored position all follow.
    static double twipsPerPixelX(const QWidget& window);
    static double twipsPerPixelY(const QWidget& window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Still where the stored position put it, as far as the window manager let it.
    bool standsWhereItWasPlaced() const;

    QWidget* const window;
    const QString path;
    const QStringList earlierSettingsFiles;
    const bool placesWindows;
    std::optional<float> readTop, readLeft; // twips, the position the file held at start
    bool placedFromFile = false;            // that position was applied
    std::optional<QPoint> shownFrame;       // px, where the window first showed
    bool saved = false;
    bool keepStoredFile = false; // something is stored there that could not be read
};
