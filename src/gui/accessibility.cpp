// SPDX-License-Identifier: GPL-3.0-or-later
#include "accessibility.h"

#include "field_edit.h"
#include "result_label.h"

#ifdef QT_DBUS_LIB
#include "accessibility_bus.h"
#endif

#include <QAccessibleWidget>
#include <QList>
#include <QStringList>
#include <algorithm>
#include <optional>
#include <tuple>
#include <utility>

namespace {

using Boundary = QAccessible::TextBoundaryType;

// A piece of the text, [start, end).
struct Segment {
    int start;
    int end;
};

// The text cut into the pieces a boundary type asks for: characters (a
// surrogate pair is one), words with the spaces after them, or the whole
// single line for every larger unit.
QList<Segment> segmentsOf(const QString& text, Boundary boundary)
{
    const int length = int(text.size());
    QList<Segment> segments;
    if (length == 0)
        return segments;
    if (boundary != Boundary::CharBoundary && boundary != Boundary::WordBoundary)
        return {{0, length}};
    int start = 0;
    for (int at = 1; at <= length; ++at) {
        const bool cut =
            at == length || (boundary == Boundary::CharBoundary
                                 ? !(text[at - 1].isHighSurrogate() && text[at].isLowSurrogate())
                                 : text[at - 1].isSpace() && !text[at].isSpace());
        if (cut) {
            segments.append({start, at});
            start = at;
        }
    }
    return segments;
}

// The index of the segment holding `offset`; segments.size() at the end of
// the text, which only a whole line holds.
qsizetype segmentAt(const QList<Segment>& segments, int offset, Boundary boundary)
{
    for (qsizetype i = 0; i < segments.size(); ++i)
        if (offset < segments[i].end)
            return i;
    const bool lineHoldsEnd =
        boundary != Boundary::CharBoundary && boundary != Boundary::WordBoundary;
    return lineHoldsEnd && !segments.isEmpty() ? segments.size() - 1 : segments.size();
}

// The piece of `text` at `offset` (clamped to the text), or the one `step`
// pieces before or after it; an empty piece at the text's start or end where
// there is none.
QString pieceNear(const QString& text, int offset, Boundary boundary, int step, int* startOffset,
                  int* endOffset)
{
    const QList<Segment> segments = segmentsOf(text, boundary);
    const qsizetype index =
        segmentAt(segments, std::clamp(offset, 0, int(text.size())), boundary) + step;
    if (index < 0) {
        *startOffset = *endOffset = 0;
        return {};
    }
    if (index >= segments.size()) {
        *startOffset = *endOffset = int(text.size());
        return {};
    }
    *startOffset = segments[index].start;
    *endOffset = segments[index].end;
    return text.mid(*startOffset, *endOffset - *startOffset);
}

// Qt's line edit as screen readers see it, with a text interface of our own
// whose every query ends within one pass over the text.
class FieldEditAccessible : public QAccessibleWidget,
                            public QAccessibleTextInterface,
                            public QAccessibleEditableTextInterface {
public:
    explicit FieldEditAccessible(FieldEdit* edit)
        : QAccessibleWidget(edit, QAccessible::EditableText)
    {
        addControllingSignal(QStringLiteral("textChanged(const QString&)"));
        addControllingSignal(QStringLiteral("returnPressed()"));
        const auto forgetLayout = [this] { layout.reset(); };
        QObject::connect(edit, &QLineEdit::textChanged, edit, forgetLayout);
        QObject::connect(edit, &QLineEdit::cursorPositionChanged, edit, forgetLayout);
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        if (type == QAccessible::EditableTextInterface)
            return static_cast<QAccessibleEditableTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text type) const override
    {
        if (type == QAccessible::Value)
            return edit()->text();
        return QAccessibleWidget::text(type);
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.editable = !edit()->isReadOnly();
        state.readOnly = edit()->isReadOnly();
        state.selectableText = true;
        return state;
    }

    // Selection: a line edit has at most one, and none without focus
    // (field_edit.h).
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override
    {
        *startOffset = *endOffset = 0;
        const FieldEdit::Selection selected = edit()->selectionForReaders();
        if (selectionIndex == 0 && selected.start < selected.end) {
            *startOffset = selected.start;
            *endOffset = selected.end;
        }
    }
    int selectionCount() const override
    {
        const FieldEdit::Selection selected = edit()->selectionForReaders();
        return selected.start < selected.end ? 1 : 0;
    }
    void addSelection(int startOffset, int endOffset) override
    {
        setSelection(0, startOffset, endOffset);
    }
    void removeSelection(int selectionIndex) override
    {
        if (selectionIndex == 0)
            edit()->deselect();
    }
    void setSelection(int selectionIndex, int startOffset, int endOffset) override
    {
        if (selectionIndex == 0)
            edit()->setSelection(clamped(startOffset), clamped(endOffset) - clamped(startOffset));
    }

    int cursorPosition() const override { return edit()->cursorPosition(); }
    void setCursorPosition(int position) override { edit()->setCursorPosition(clamped(position)); }

    QString text(int startOffset, int endOffset) const override
    {
        const int start = clamped(startOffset);
        return edit()->text().mid(start, std::max(0, clamped(endOffset) - start));
    }
    int characterCount() const override { return int(edit()->text().size()); }

    QString textAtOffset(int offset, Boundary boundary, int* startOffset,
                         int* endOffset) const override
    {
        return pieceNear(edit()->text(), offset, boundary, 0, startOffset, endOffset);
    }
    QString textBeforeOffset(int offset, Boundary boundary, int* startOffset,
                             int* endOffset) const override
    {
        return pieceNear(edit()->text(), offset, boundary, -1, startOffset, endOffset);
    }
    QString textAfterOffset(int offset, Boundary boundary, int* startOffset,
                            int* endOffset) const override
    {
        return pieceNear(edit()->text(), offset, boundary, +1, startOffset, endOffset);
    }

    // No formatting anywhere: one run without attributes over the whole text.
    QString attributes(int offset, int* startOffset, int* endOffset) const override
    {
        Q_UNUSED(offset);
        *startOffset = 0;
        *endOffset = characterCount();
        return {};
    }

    // Nothing outside the text and the place after it: a caller may ask for
    // every offset of a range it chose.
    QRect characterRect(int offset) const override
    {
        if (offset < 0 || offset > characterCount())
            return {};
        const Layout& laidOut = currentLayout();
        const QList<qreal>& places = laidOut.caretPlaces;
        // The cursor stands at cursorPosition(); other characters lie at
        // their distance from it.
        const QRect& cursor = laidOut.cursor;
        const qreal x = cursor.center().x() + places[offset] - places[edit()->cursorPosition()];
        const qreal width = offset < characterCount() ? places[offset + 1] - places[offset] : 0;
        return QRect(edit()->mapToGlobal(QPoint(qRound(x), cursor.top())),
                     QSize(qRound(width), cursor.height()));
    }
    int offsetAtPoint(const QPoint& point) const override
    {
        return edit()->cursorPositionAt(edit()->mapFromGlobal(point));
    }
    void scrollToSubstring(int startIndex, int endIndex) override
    {
        Q_UNUSED(endIndex);
        setCursorPosition(startIndex);
    }

    void deleteText(int startOffset, int endOffset) override
    {
        replaceText(startOffset, endOffset, QString());
    }
    void insertText(int offset, const QString& text) override { replaceText(offset, offset, text); }
    // Only the given characters up to a NUL, which ends a caller's string
    // (Qt's bus adaptor pads a text to the length the caller claims with
    // whatever memory follows it), and no more than the field holds.
    void replaceText(int startOffset, int endOffset, const QString& text) override
    {
        const int start = clamped(startOffset);
        const int end = std::max(start, clamped(endOffset));
        const QString given = text.left(text.indexOf(QChar(u'\0'))).left(edit()->maxLength());
        edit()->setText(edit()->text().replace(start, end - start, given));
    }

private:
    FieldEdit* edit() const { return static_cast<FieldEdit*>(widget()); }
    int clamped(int offset) const { return std::clamp(offset, 0, characterCount()); }

    // Where the characters stand, worked out once for each text and cursor
    // position: a reader may ask for the box of every character of a range,
    // a field holds up to 32767 of them, and the line edit finds its cursor
    // by walking the text up to it.
    struct Layout {
        QRect cursor;
        QList<qreal> caretPlaces; // before each offset and after the text, px from its start
    };
    const Layout& currentLayout() const
    {
        if (!layout) {
            layout.emplace();
            layout->cursor = edit()->cursorRect();
            const QString text = edit()->text();
            const QFontMetricsF metrics(edit()->font());
            qreal place = 0;
            for (qsizetype at = 0; at < text.size(); ++at) {
                layout->caretPlaces.append(place);
                // A surrogate pair is one character, as wide as its first half.
                const bool secondHalf =
                    at > 0 && text[at].isLowSurrogate() && text[at - 1].isHighSurrogate();
                if (!secondHalf)
                    place +=
                        metrics.horizontalAdvance(text.mid(at, text[at].isHighSurrogate() ? 2 : 1));
            }
            layout->caretPlaces.append(place);
        }
        return *layout;
    }
    mutable std::optional<Layout> layout; // forgotten whenever the text or the cursor moves
};

// The announcer as a notification, named by what it has to say.
class AnnouncerAccessible : public QAccessibleWidget {
public:
    explicit AnnouncerAccessible(Announcer* announcer)
        : QAccessibleWidget(announcer, QAccessible::Notification)
    {
    }
};

// A result as screen readers see it: a label whose text is the whole
// result, however much of it shows, named by it or, while empty, "leer"
// (Qt would name it after its caption, which readers then say twice). Its
// caption labels it.
class ResultLabelAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit ResultLabelAccessible(ResultLabel* label)
        : QAccessibleWidget(label, QAccessible::StaticText)
    {
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text type) const override
    {
        if (type == QAccessible::Name)
            return whole().isEmpty() ? QStringLiteral("leer") : whole();
        return QAccessibleWidget::text(type);
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = true;
        return state;
    }

    // Nothing to select, no caret.
    void selection(int, int* startOffset, int* endOffset) const override
    {
        *startOffset = *endOffset = 0;
    }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    void scrollToSubstring(int, int) override {}

    QString text(int startOffset, int endOffset) const override
    {
        const int start = std::clamp(startOffset, 0, characterCount());
        return whole().mid(start, std::max(0, std::clamp(endOffset, 0, characterCount()) - start));
    }
    int characterCount() const override { return int(whole().size()); }
    QString textAtOffset(int offset, Boundary boundary, int* startOffset,
                         int* endOffset) const override
    {
        return pieceNear(whole(), offset, boundary, 0, startOffset, endOffset);
    }
    QString textBeforeOffset(int offset, Boundary boundary, int* startOffset,
                             int* endOffset) const override
    {
        return pieceNear(whole(), offset, boundary, -1, startOffset, endOffset);
    }
    QString textAfterOffset(int offset, Boundary boundary, int* startOffset,
                            int* endOffset) const override
    {
        return pieceNear(whole(), offset, boundary, +1, startOffset, endOffset);
    }
    QString attributes(int, int* startOffset, int* endOffset) const override
    {
        *startOffset = 0;
        *endOffset = characterCount();
        return {};
    }

    // The label ends its text at its right edge. Characters cut off behind
    // the "…" of a result too long for it all stand where the "…" does.
    QRect characterRect(int offset) const override
    {
        if (offset < 0 || offset >= characterCount())
            return {};
        const QString shown = label()->text();
        const qsizetype showing = shown == whole() ? shown.size() : shown.size() - 1;
        const QFontMetrics metrics = label()->fontMetrics();
        const QRect room = label()->contentsRect();
        const int start = room.right() + 1 - metrics.horizontalAdvance(shown);
        const qsizetype at = std::min<qsizetype>(offset, showing);
        const QRect box(start + metrics.horizontalAdvance(shown.left(at)), room.top(),
                        metrics.horizontalAdvance(shown.mid(at, 1)), metrics.height());
        return QRect(label()->mapToGlobal(box.topLeft()), box.size());
    }
    int offsetAtPoint(const QPoint& point) const override
    {
        for (int offset = 0; offset < characterCount(); ++offset)
            if (characterRect(offset).contains(point))
                return offset;
        return -1;
    }

private:
    ResultLabel* label() const { return static_cast<ResultLabel*>(widget()); }
    QString whole() const { return label()->accessibleName(); } // kept there by showResult
};

QAccessibleInterface* accessibleInterfaceFor(const QString& className, QObject* object)
{
    if (className == QLatin1StringView("FieldEdit"))
        return new FieldEditAccessible(static_cast<FieldEdit*>(object));
    if (className == QLatin1StringView("Announcer"))
        return new AnnouncerAccessible(static_cast<Announcer*>(object));
    if (className == QLatin1StringView("ResultLabel"))
        return new ResultLabelAccessible(static_cast<ResultLabel*>(object));
    // Qt gives a plain widget the role of a client area, which screen
    // readers take for filler, not for the application's window.
    if (className == QLatin1StringView("MainWindow"))
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
    if (className == QLatin1StringView("PanelGroup"))
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Grouping);
    return nullptr;
}

} // namespace

Announcer::Announcer(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("Announcer"));
    setGeometry(0, 0, 0, 0);
    setFocusPolicy(Qt::NoFocus);
}

void Announcer::announce(const QString& text)
{
    // A screen reader speaks a notification as it comes into view.
    hide();
    setAccessibleName(text);
    show();
}

namespace {

// Units whose signs screen readers read badly ("dm hochgestellt 2").
// clang-format off
constexpr std::pair<const char16_t*, const char16_t*> unitWords[] = {
    {u"dm²", u"Quadratdezimeter"},
    {u"mm²", u"Quadratmillimeter"},
    {u"mΩ", u"Milliohm"},
};
// clang-format on

QString spokenUnit(const QString& unit)
{
    for (const auto& [sign, word] : unitWords)
        if (unit == QStringView(sign))
            return QString::fromUtf16(word);
    return unit;
}

} // namespace

void Announcer::announceResults(QList<Part> parts)
{
    if (parts.isEmpty())
        return;
    std::ranges::stable_sort(parts, {}, [](const Part& part) {
        return std::tuple(part.calculation, part.place.y(), part.place.x());
    });
    QStringList said;
    for (const Part& part : parts) {
        QString caption = part.caption;
        if (!caption.endsWith(u':'))
            caption += u':';
        QString spoken =
            caption + u' ' + (part.text.isEmpty() ? QStringLiteral("leer") : part.text);
        if (!part.text.isEmpty() && !part.unit.isEmpty())
            spoken += u' ' + spokenUnit(part.unit);
        said << spoken;
    }
    lastResults = said.join(QStringLiteral(", "));
    announce(lastResults);
}

void Announcer::repeatResults()
{
    announce(lastResults.isEmpty() ? QStringLiteral("Noch keine Ergebnisse") : lastResults);
}

void installAccessibleInterfaces()
{
    static const bool installed = [] {
        QAccessible::installFactory(accessibleInterfaceFor);
        return true;
    }();
    Q_UNUSED(installed);
#ifdef QT_DBUS_LIB
    guardAccessibilityBus();
#endif
}
