// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Whether the window's stored position is applied at start: only where the
// platform places windows at all, and only where the window would show a
// part a user can reach on one of the screens as they are now. And the size
// of a window too large for its screen.

#include <QList>
#include <QRect>
#include <QSize>
#include <QString>
#include <QWidget>
#include <optional>

namespace window_placement {

// False for Qt's Wayland platforms ("wayland", "wayland-egl", ...): there the
// compositor places the window, and what Qt reports as its position is only
// the offset of the title bar it draws, no place on any screen.
bool placesWindows(const QString& platformName);

// True when a frame at `frame` (pixels) would show at least a quarter of its
// title area, the strip a window is dragged by, or a quarter of the whole
// frame on the screens' available geometries. A position that shows less (the
// monitors changed since it was stored) is left to the platform.
bool showsUsablePart(const QRect& frame, const QList<QRect>& screens);

// The size of a window whose client area (pixels) does not fit the screen's
// available area less a title bar, as with a large scale factor on a small
// screen: the client area then scrolls, with a scroll bar `scrollBarExtent`
// wide beside it in each direction it overflows, as far as the area allows.
// None where the client area fits.
std::optional<QSize> scrollingSize(const QSize& client, const QSize& screenArea,
                                   int scrollBarExtent);

// Puts the window's controls into a scroll area where the window is too
// large for its screen (scrollingSize); `staysOutside` is left where it is.
void scrollWhereTheScreenIsTooSmall(QWidget& window, const QWidget* staysOutside);

} // namespace window_placement
