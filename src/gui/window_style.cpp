// SPDX-License-Identifier: GPL-3.0-or-later
#include "window_style.h"

#include "font_faces.h"

#include <QApplication>
#include <QPainter>
#include <QPointer>
#include <QRadioButton>
#include <QStyleOption>
#include <cmath>

namespace {

constexpr int ringWidth = 2; // px
constexpr double ringContrast = 4.5;
// WCAG's least contrast for the parts of a control that show its state.
constexpr double markContrast = 3;

// Relative luminance of a colour, as contrast ratios are defined on it.
double luminance(const QColor& colour)
{
    const auto linear = [](double channel) {
        return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
           0.0722 * linear(colour.blueF());
}

double contrast(const QColor& a, const QColor& b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The colour, darkened on a light background or lightened on a dark one
// until it stands out `ratio`:1; black or white where no shade of it does.
QColor standingOut(QColor colour, const QColor& background, double ratio)
{
    const bool lightBackground = luminance(background) > 0.18;
    for (int step = 0; step < 8 && contrast(colour, background) < ratio; ++step)
        colour = lightBackground ? colour.darker(125) : colour.lighter(125);
    if (contrast(colour, background) < ratio)
        colour = lightBackground ? Qt::black : Qt::white;
    return colour;
}

QColor ringColour(const QPalette& palette, const QColor& background)
{
    return standingOut(palette.color(QPalette::Highlight), background, ringContrast);
}

// Fusion outlines an unticked box or option in a shade of the window that
// dark palettes (Adwaita-Dark) and its own light one leave hardly visible:
// the same outline again, in a shade that stands out from the window.
void drawMarkOutline(QPainter* painter, const QStyleOption* option, bool round)
{
    const QColor window = option->palette.color(QPalette::Window);
    painter->save();
    painter->setPen(standingOut(window.darker(150), window, markContrast));
    painter->setBrush(Qt::NoBrush);
    // Crisp: antialiased, a 1 px circle spreads over pixels that each stand
    // out too little.
    painter->setRenderHint(QPainter::Antialiasing, false);
    const QRect& rect = option->rect;
    if (round) {
        // Fusion's circle: centred one pixel right of and below the middle.
        const double radius = (rect.width() + (rect.width() + 1) % 2) / 2.0 - 1;
        painter->drawEllipse(QPointF(rect.center() + QPoint(1, 1)), radius, radius);
    } else {
        painter->drawRect(rect.adjusted(0, 0, -1, -1));
    }
    painter->restore();
}

void drawRing(QPainter* painter, const QRect& rect, const QColor& colour)
{
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->setPen(Qt::NoPen);
    painter->setBrush(colour);
    const QRect inner = rect.adjusted(ringWidth, ringWidth, -ringWidth, -ringWidth);
    painter->setClipRegion(QRegion(rect).subtracted(QRegion(inner)));
    painter->drawRect(rect);
    painter->restore();
}

bool hasKeyboardFocus(const QStyleOption* option)
{
    return (option->state & QStyle::State_HasFocus) &&
           (option->state & QStyle::State_KeyboardFocusChange);
}

} // namespace

WindowStyle::WindowStyle()
    : QProxyStyle(QStringLiteral("Fusion"))
{
}

void WindowStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                QPainter* painter, const QWidget* widget) const
{
    switch (element) {
    case PE_FrameFocusRect:
        // Check boxes round their caption; options, which have none, round
        // the whole button.
        if (option->state & State_KeyboardFocusChange)
            drawRing(painter,
                     qobject_cast<const QRadioButton*>(widget) ? widget->rect() : option->rect,
                     ringColour(option->palette, option->palette.color(QPalette::Window)));
        return;
    case PE_FrameLineEdit:
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        if (option->state & State_HasFocus)
            drawRing(painter, option->rect,
                     ringColour(option->palette, option->palette.color(QPalette::Base)));
        return;
    case PE_IndicatorCheckBox:
    case PE_IndicatorRadioButton:
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        drawMarkOutline(painter, option, element == PE_IndicatorRadioButton);
        return;
    default:
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }
}

void WindowStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                              const QWidget* widget) const
{
    QProxyStyle::drawControl(element, option, painter, widget);
    if (element == CE_PushButton && hasKeyboardFocus(option))
        drawRing(painter, option->rect,
                 ringColour(option->palette, option->palette.color(QPalette::Button)));
}

namespace {

// The window's faces are MS Sans Serif and Arial, or what the system has
// in their place (font_faces.h); where it has none the metric-compatible free
// face stands in (installed with the program on Linux). Asking the font
// database once is far cheaper at start-up than letting every control's font
// fall back from a missing family.
QString installedFamily(const QString& family)
{
    const QString installed = font_faces::installedFamily(family);
    return installed.isEmpty() ? QStringLiteral("Liberation Sans") : installed;
}

} // namespace

QFont fontFor(FontRole role)
{
    static const QString headingFamily = installedFamily(QStringLiteral("Arial"));
    static const QString controlFamily = installedFamily(QStringLiteral("MS Sans Serif"));
    const bool heading = role == FontRole::Heading;
    QFont font(heading ? headingFamily : controlFamily);
    font.setPointSizeF(heading || role == FontRole::Large ? 9.75 : 8.25);
    font.setBold(role != FontRole::Regular);
    font.setItalic(heading);
    return font;
}

QStyle* controlStyle()
{
    static QPointer<QStyle> style;
    if (!style) {
        style = new WindowStyle;
        style->setParent(qApp);
    }
    return style;
}
