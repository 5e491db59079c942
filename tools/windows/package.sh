#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows program as a user gets it, from a cross build (make windows):
#   BUILD/JOLV-VERSION/          jolv.exe with the DLLs and plugins it loads
#   BUILD/jolv-VERSION-windows-x64.zip         that folder, to run from anywhere
#   BUILD/jolv-VERSION-windows-x64-setup.exe   the installer (NSIS)
#
# The zip may weigh at most 10 MB and the installer 8 MB, or the script fails.
#
# Usage: package.sh BUILD QT_PREFIX VERSION
set -euo pipefail

build=$(cd "$1" && pwd)
qt=$2
version=$3
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
runtime=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libstdc++-6.dll)")
name=JOLV-$version
stage=$build/$name

rm -rf "$stage"
mkdir -p "$stage/platforms" "$stage/styles"
cp "$build/jolv.exe" "$stage/"
x86_64-w64-mingw32-strip "$stage/jolv.exe"
# Qt looks for its plugins beside the program: platforms\, styles\.
cp "$qt"/bin/Qt6Core.dll "$qt"/bin/Qt6Gui.dll "$qt"/bin/Qt6Widgets.dll "$stage/"
cp "$qt/plugins/platforms/qwindows.dll" "$stage/platforms/"
cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$stage/styles/"
# GCC's C++ runtime and threads, as the POSIX thread model of mingw-w64 links them.
cp "$runtime/libgcc_s_seh-1.dll" "$runtime/libstdc++-6.dll" \
	/usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll "$stage/"
# The DLLs come with their symbol tables (libstdc++-6.dll weighs 23.7 MB with
# them, 1.95 MB without), which only a debugger reads.
find "$stage" -name '*.dll' -exec x86_64-w64-mingw32-strip --strip-unneeded {} +
# Text files with Windows line ends, so that Notepad shows them right.
sed 's/$/\r/' "$source_dir/LICENSE" > "$stage/LICENSE.txt"

# The same time on every file gives the same zip for the same build.
stamp=$(git -C "$source_dir" log -1 --format=%cd --date=format:%Y%m%d%H%M.%S 2>/dev/null || date +%Y%m%d%H%M.%S)
find "$stage" -exec touch -t "$stamp" {} +
zip_file=$build/jolv-$version-windows-x64.zip
rm -f "$zip_file"
(cd "$build" && find "$name" -print | LC_ALL=C sort | zip -q -X -@ "$zip_file")

# What the uninstaller removes: exactly the files staged, then their folders.
(cd "$stage" && {
	find . -type f | LC_ALL=C sort | sed 's|^\./||; s|/|\\|g; s|.*|    Delete "$INSTDIR\\&"|'
	find . -mindepth 1 -type d | LC_ALL=C sort -r | sed 's|^\./||; s|/|\\|g; s|.*|    RMDir "$INSTDIR\\&"|'
}) > "$stage.files.nsh"

setup=$build/jolv-$version-windows-x64-setup.exe
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DSTAGE="$stage" \
	-DICON="$build/src/jolv.ico" -DOUTFILE="$setup" \
	"$source_dir/tools/windows/installer.nsi"

# Fails where FILE weighs more than LIMIT bytes.
at_most() {
	local size
	size=$(stat -c %s "$1")
	if [ "$size" -gt "$2" ]; then
		echo "package.sh: $(basename "$1") weighs $size bytes, more than $2" >&2
		exit 1
	fi
	echo "$1 ($size bytes)"
}
at_most "$zip_file" 10000000
at_most "$setup" 8000000
