// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Which installed family shows one of the faces the window is laid out in
// ("MS Sans Serif" and "Arial"), the one place where Windows and Unix differ
// for fonts. font_faces_unix.cpp and font_faces_windows.cpp hold the two
// sides; the build picks one.

#include <QString>

namespace font_faces {

// The installed family to ask for in place of `designed`, or an empty string
// where the system has none that shows it at every size and resolution.
QString installedFamily(const QString& designed);

} // namespace font_faces
