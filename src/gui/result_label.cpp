// SPDX-License-Identifier: GPL-3.0-or-later
#include "result_label.h"

void showResult(ResultLabel& label, const QString& text)
{
    const QString shown =
        label.fontMetrics().elidedText(text, Qt::ElideRight, label.contentsRect().width());
    label.setText(shown);
    label.setToolTip(shown == text ? QString() : text);
    label.setAccessibleName(text);
}
