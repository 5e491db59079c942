// SPDX-License-Identifier: GPL-3.0-or-later
#include "window_style.h"

WindowStyle::WindowStyle()
    : QProxyStyle(QStringLiteral("Fusion"))
{
}
