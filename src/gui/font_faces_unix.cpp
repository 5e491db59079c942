// SPDX-License-Identifier: GPL-3.0-or-later
#include "font_faces.h"

#include <QFontDatabase>

namespace font_faces {

// Fontconfig scales whatever it has under the name, so the face itself is
// taken where it is installed.
QString installedFamily(const QString& designed)
{
    return QFontDatabase::hasFamily(designed) ? designed : QString();
}

} // namespace font_faces
