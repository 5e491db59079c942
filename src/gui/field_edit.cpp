// SPDX-License-Identifier: GPL-3.0-or-later
#include "field_edit.h"

#include <QFocusEvent>
#include <QMetaObject>

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
    if (!hasSelectedText())
        QMetaObject::invokeMethod(this, &QLineEdit::selectAll, Qt::QueuedConnection);
}
