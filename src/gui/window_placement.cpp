// SPDX-License-Identifier: GPL-3.0-or-later
#include "window_placement.h"

#include <QRegion>
#include <algorithm>

namespace window_placement {

namespace {

constexpr int titleAreaHeight = 20; // px, about a window manager's title bar

qint64 area(const QRect& rect)
{
    return qint64(rect.width()) * rect.height();
}

bool showsAQuarter(const QRect& rect, const QRegion& screens)
{
    qint64 shown = 0;
    for (const QRect& part : screens.intersected(rect))
        shown += area(part);
    return !rect.isEmpty() && 4 * shown >= area(rect);
}

} // namespace

bool placesWindows(const QString& platformName)
{
    return !platformName.startsWith(QStringLiteral("wayland"));
}

bool showsUsablePart(const QRect& frame, const QList<QRect>& screens)
{
    QRegion region;
    for (const QRect& screen : screens)
        region += screen;
    const QRect titleArea(frame.topLeft(),
                          QSize(frame.width(), std::min(frame.height(), titleAreaHeight)));
    return showsAQuarter(titleArea, region) || showsAQuarter(frame, region);
}

std::optional<QSize> scrollingSize(const QSize& client, const QSize& screenArea,
                                   int scrollBarExtent)
{
    const QSize room = screenArea - QSize(0, titleAreaHeight);
    const bool tooWide = client.width() > room.width();
    const bool tooHigh = client.height() > room.height();
    if (!tooWide && !tooHigh)
        return std::nullopt;
    const QSize withBars =
        client + QSize(tooHigh ? scrollBarExtent : 0, tooWide ? scrollBarExtent : 0);
    return withBars.boundedTo(room);
}

} // namespace window_placement
