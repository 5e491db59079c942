// SPDX-License-Identifier: GPL-3.0-or-later
#include "field_edit.h"

#include <QFocusEvent>
#include <QMetaObject>
#include <QSignalBlocker>
#include <QValidator>

namespace {

// Tabs and line breaks (pasted from several cells or lines) become spaces, so
// that the pieces stay apart; every other control character (a NUL, an
// escape) goes. The text is always acceptable: nothing a user pastes is
// refused as a whole.
class WithoutControlCharacters : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString& text, int& position) const override
    {
        QString cleaned;
        int cleanedPosition = position;
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar c = text[i];
            if (c.category() != QChar::Other_Control)
                cleaned += c;
            else if (c == u'\t' || c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f')
                cleaned += u' ';
            else if (i < position)
                --cleanedPosition;
        }
        text = cleaned;
        position = cleanedPosition;
        return Acceptable;
    }
};

} // namespace

FieldEdit::FieldEdit(QWidget* parent)
    : QLineEdit(parent)
{
    setValidator(new WithoutControlCharacters(this));
}

void FieldEdit::focusInEvent(QFocusEvent* event)
{
    // Reached by the keyboard, a line edit selects its text, and Qt reports
    // that selection and the caret before the focus itself; a screen reader
    // then presents the caret of a field it has not announced, and says
    // nothing at all for an empty one. So the text is selected only once
    // the focus has been reported.
    const Qt::FocusReason reason = event->reason();
    if (reason != Qt::TabFocusReason && reason != Qt::BacktabFocusReason &&
        reason != Qt::ShortcutFocusReason) {
        QLineEdit::focusInEvent(event);
        return;
    }
    QFocusEvent withoutSelecting(QEvent::FocusIn, Qt::OtherFocusReason);
    QLineEdit::focusInEvent(&withoutSelecting);
    // Not when the focus has moved on meanwhile: a field without focus shows
    // no selection.
    if (!hasSelectedText())
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (hasFocus())
                    selectAll();
            },
            Qt::QueuedConnection);
}

void FieldEdit::focusOutEvent(QFocusEvent* event)
{
    // Qt reports the selection it drops here as a change, and a screen reader
    // says "Text unselected." for the field it still presents, just before
    // the next one. The report follows a signal of the line edit's inner
    // text control (Qt's QWidgetLineControl); with its signals held back the
    // selection goes unreported. The field repaints as the focus leaves all
    // the same.
    const Qt::FocusReason reason = event->reason();
    if (hasSelectedText() && reason != Qt::ActiveWindowFocusReason &&
        reason != Qt::PopupFocusReason) {
        QObject* control = nullptr;
        for (QObject* child : children())
            if (child->inherits("QWidgetLineControl"))
                control = child;
        const QSignalBlocker quiet(control);
        deselect();
    }
    QLineEdit::focusOutEvent(event);
}

FieldEdit::Selection FieldEdit::selectionForReaders() const
{
    if (!hasFocus() || !hasSelectedText())
        return {};
    return {selectionStart(), selectionEnd()};
}
