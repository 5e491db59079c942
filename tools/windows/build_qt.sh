#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Qt 6.4.2 (qtbase only) for 64-bit Windows with mingw-w64, once, into
# a cache outside the checkout, and prints its prefix on the last line.
#
# The source is Debian 12's qt6-base source package, the same version as the
# host tools in qt6-base-dev-tools (moc, rcc, uic), which the cross build runs
# through QT_HOST_PATH. It is fetched with a private apt configuration in the
# cache folder, so the machine's own apt sources are never changed, and the
# tarball's SHA-256 is checked against the .dsc before it is unpacked.
#
# Usage: build_qt.sh [CACHE]   (default: $XDG_CACHE_HOME/jolv or ~/.cache/jolv)
set -euo pipefail

QT_VERSION=6.4.2
cache=${1:-${JOLV_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/jolv}}
prefix=$cache/qt-$QT_VERSION-mingw64
jobs=${JOBS:-$(nproc)}

if [ -f "$prefix/.complete" ]; then
	echo "$prefix"
	exit 0
fi

mkdir -p "$cache"
cache=$(cd "$cache" && pwd)
prefix=$cache/qt-$QT_VERSION-mingw64
source_dir=$cache/source
mkdir -p "$source_dir"

# A private apt: Debian 12's main archive as a deb-src entry, lists and
# downloads under the cache, the system's keyring for the signatures.
fetch_source() {
	local apt=$cache/apt
	mkdir -p "$apt/lists/partial" "$apt/archives/partial" "$apt/etc/preferences.d"
	cat > "$apt/etc/sources.list" <<SOURCES
deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian bookworm main
SOURCES
	local -a options=(
		-o Dir::Etc::SourceList="$apt/etc/sources.list"
		-o Dir::Etc::SourceParts=/nonexistent
		-o Dir::Etc::Preferences=/nonexistent
		-o Dir::Etc::PreferencesParts="$apt/etc/preferences.d"
		-o Dir::State::Lists="$apt/lists"
		-o Dir::Cache="$apt"
		-o Dir::Cache::Archives="$apt/archives"
		-o APT::Sandbox::User="$(id -un)"
	)
	apt-get -q "${options[@]}" update
	(cd "$source_dir" && apt-get -q "${options[@]}" source --download-only qt6-base)
}

tarball=$(ls "$source_dir"/qt6-base_"$QT_VERSION"*.orig.tar.* 2>/dev/null | head -1 || true)
if [ -z "$tarball" ]; then
	fetch_source
	tarball=$(ls "$source_dir"/qt6-base_"$QT_VERSION"*.orig.tar.* | head -1)
fi
dsc=$(ls "$source_dir"/qt6-base_"$QT_VERSION"*.dsc | head -1)

# The .dsc lists every file of the source package with its SHA-256.
expected=$(awk -v name="$(basename "$tarball")" '
	/^Checksums-Sha256:/ { in_list = 1; next }
	/^[^ ]/ { in_list = 0 }
	in_list && $3 == name { print $1 }' "$dsc")
actual=$(sha256sum "$tarball" | cut -d' ' -f1)
if [ -z "$expected" ] || [ "$expected" != "$actual" ]; then
	echo "build_qt.sh: $(basename "$tarball"): SHA-256 $actual does not match the .dsc ('$expected')" >&2
	exit 1
fi

unpacked=$cache/qtbase-src
if [ ! -f "$unpacked/.unpacked" ]; then
	rm -rf "$unpacked"
	mkdir -p "$unpacked"
	tar -xf "$tarball" -C "$unpacked" --strip-components=1
	touch "$unpacked/.unpacked"
fi

# Debian's host Qt: tools in /usr/lib/qt6/libexec, CMake packages under the
# multiarch folder.
host_path=/usr
host_cmake_dir=/usr/lib/$(gcc -dumpmachine)/cmake
[ -x /usr/lib/qt6/libexec/moc ] || { echo "build_qt.sh: qt6-base-dev-tools is not installed" >&2; exit 1; }

build=$cache/qtbase-build
rm -rf "$build" "$prefix"
mkdir -p "$build"
cd "$build"
# A shared Qt: jolv.exe stays small, the Qt Test suites and the program share
# one set of DLLs, and the LGPL's relinking terms are met by the DLLs alone.
# Only what the program and its tests use is built; the bundled zlib, libpng,
# pcre2, harfbuzz, freetype and double-conversion stand in for system ones.
# Tablet events are left out: Debian's source leaves out the Wintab header
# they need (not free software). Nor does JOLV use the graphics view, the
# standard dialogs but the message box, rich-text readers and writers, PDF,
# animated images, undo stacks or Vulkan. (Direct2D stays: without it Qt 6.4
# leaves out the DirectWrite font database that its Windows platform plugin
# still links to; so does the input dialog, whose header the Windows Vista
# style includes unconditionally.)
"$unpacked/configure" \
	-prefix "$prefix" \
	-qt-host-path "$host_path" \
	-xplatform win32-g++ \
	-device-option CROSS_COMPILE=x86_64-w64-mingw32- \
	-release -shared -optimize-size \
	-nomake examples -nomake tests \
	-no-opengl -no-dbus -no-icu -no-glib -no-fontconfig -no-feature-sql -no-feature-network \
	-no-feature-printsupport -no-feature-concurrent -no-feature-xml \
	-no-feature-tabletevent \
	-no-feature-graphicsview -no-feature-vulkan -no-feature-sessionmanager \
	-no-feature-colordialog -no-feature-fontdialog -no-feature-filedialog -no-feature-wizard \
	-no-feature-progressdialog -no-feature-errormessage \
	-no-feature-mdiarea -no-feature-calendarwidget -no-feature-systemtrayicon \
	-no-feature-textmarkdownreader -no-feature-textmarkdownwriter -no-feature-textodfwriter \
	-no-feature-pdf -no-feature-movie -no-feature-undocommand \
	-qt-zlib -qt-libpng -no-libjpeg -qt-pcre -qt-harfbuzz -qt-freetype -qt-doubleconversion \
	-- \
	-DQT_HOST_PATH_CMAKE_DIR="$host_cmake_dir" \
	-DCMAKE_SYSTEM_NAME=Windows \
	-DCMAKE_C_COMPILER=x86_64-w64-mingw32-gcc-posix \
	-DCMAKE_CXX_COMPILER=x86_64-w64-mingw32-g++-posix \
	-DCMAKE_RC_COMPILER=x86_64-w64-mingw32-windres \
	-DCMAKE_FIND_ROOT_PATH=/usr/x86_64-w64-mingw32 \
	-DCMAKE_FIND_ROOT_PATH_MODE_PROGRAM=NEVER \
	-DCMAKE_FIND_ROOT_PATH_MODE_LIBRARY=ONLY \
	-DCMAKE_FIND_ROOT_PATH_MODE_INCLUDE=ONLY \
	-DCMAKE_FIND_ROOT_PATH_MODE_PACKAGE=ONLY
cmake --build . --parallel "$jobs"
cmake --install .
touch "$prefix/.complete"
rm -rf "$build"
echo "$prefix"
