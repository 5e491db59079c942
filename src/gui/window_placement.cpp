// SPDX-License-Identifier: GPL-3.0-or-later
#include "window_placement.h"

#include <QApplication>
#include <QRegion>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>
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

// The layout has fixed sizes; on a screen too small for it (a large scale
// factor on a small screen) it goes into a scroll area, in a window that may
// be resized up to the layout's size, and the focus, however it moves, is
// scrolled into sight. Where the layout fits, the window stays as it is.
void scrollWhereTheScreenIsTooSmall(QWidget& window, const QWidget* staysOutside)
{
    const QSize client = window.size();
    // The scroll bars keep the application's style.
    const std::optional<QSize> scrolling = window_placement::scrollingSize(
        client, window.screen()->availableSize(),
        QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    if (!scrolling)
        return;
    auto* scrollArea = new QScrollArea(&window);
    auto* content = new QWidget(&window);
    content->setFixedSize(client);
    for (QWidget* child : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (child != content && child != scrollArea && child != staysOutside) {
            child->setParent(content);
            child->show();
        }
    scrollArea->setObjectName(QStringLiteral("ScrollArea"));
    scrollArea->setFrameShape(QFrame::NoFrame);
    scrollArea->setFocusPolicy(Qt::NoFocus); // no stop of the tab order
    scrollArea->viewport()->setBackgroundRole(QPalette::Window);
    scrollArea->setWidget(content);
    auto* layout = new QVBoxLayout(&window);
    layout->setContentsMargins(QMargins());
    layout->addWidget(scrollArea);
    window.setMinimumSize(0, 0);
    window.setMaximumSize(client);
    window.resize(*scrolling);
    // The whole control with a little room round it: the scroll area's own
    // ensureWidgetVisible() brings only a field's cursor into sight.
    QObject::connect(
        qApp, &QApplication::focusChanged, scrollArea, [scrollArea](QWidget*, QWidget* now) {
            if (!now || !scrollArea->widget()->isAncestorOf(now))
                return;
            constexpr int room = 8; // px
            const QRect placed(now->mapTo(scrollArea->widget(), QPoint()), now->size());
            scrollArea->ensureVisible(placed.center().x(), placed.center().y(),
                                      placed.width() / 2 + room, placed.height() / 2 + room);
        });
}

} // namespace window_placement
