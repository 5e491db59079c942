// SPDX-License-Identifier: GPL-3.0-or-later
#include "font_faces.h"

#include <QFontDatabase>

namespace font_faces {

// Windows' "MS Sans Serif" is a bitmap font (sserife.fon) with faces of 13,
// 16 and 20 pixels only: asked for 8.25 pt, GDI hands back a larger face
// than the one Qt measured, and captions are cut off; at 144 dpi results
// are too. "Microsoft Sans Serif" is its outline form, drawn to the same
// widths, and scales to every resolution. A family is taken only as an
// outline font, as a bitmap font of the same name would bring the same fault.
QString installedFamily(const QString& designed)
{
    const QString family =
        designed == u"MS Sans Serif" ? QStringLiteral("Microsoft Sans Serif") : designed;
    return QFontDatabase::hasFamily(family) && QFontDatabase::isSmoothlyScalable(family)
               ? family
               : QString();
}

} // namespace font_faces
