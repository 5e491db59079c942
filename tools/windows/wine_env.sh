# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the Windows test scripts: a private Wine prefix WINEPREFIX
# (made on first use, without the Mono and Gecko downloads Wine offers),
# quiet, in a German locale where the machine has one (else Wine's US
# English; both use code page 1252), finding Qt's and GCC's DLLs.
# Needs QT_PREFIX set; `windows_path` turns a Unix path into Wine's Z: form.
windows_path() {
	local path
	path=$(realpath -m "$1")
	printf 'Z:%s' "${path//\//\\}"
}

export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
if locale -a 2> /dev/null | grep -qix 'de_DE.utf-\?8'; then
	export LC_ALL=de_DE.UTF-8 LANG=de_DE.UTF-8
fi
gcc_runtime=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libstdc++-6.dll)")
WINEPATH="$(windows_path "$QT_PREFIX/bin");$(windows_path "$gcc_runtime");$(windows_path /usr/x86_64-w64-mingw32/lib)"
export WINEPATH
QT_PLUGIN_PATH=$(windows_path "$QT_PREFIX/plugins")
export QT_PLUGIN_PATH

make_wine_prefix() {
	if [ ! -f "$WINEPREFIX/system.reg" ]; then
		mkdir -p "$WINEPREFIX"
		wineboot --init > /dev/null 2>&1
		wineserver -w
	fi
}

# Fonts as Windows has them, for what is drawn on Windows' own platform:
# fonts-wine's faces in the prefix's Fonts folder (among them the bitmap
# "MS Sans Serif" with faces of 13, 16 and 20 px, as sserife.fon on Windows),
# and for the outline faces "Arial" and "Microsoft Sans Serif", which Wine
# does not bring, Liberation Sans under their names. It has Arial's widths,
# not Microsoft Sans Serif's, which only Windows itself has.
add_windows_fonts() {
	cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
	local family
	for family in Arial "Microsoft Sans Serif"; do
		wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$family" /d "Liberation Sans" /f \
			> /dev/null 2>&1
	done
}

# Windows' resolution, in dots per inch (96 is 100 %, 144 is 150 %), for
# programs started from now on.
set_dpi() {
	wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f > /dev/null 2>&1
}

# A private Xvfb of the given size (WIDTHxHEIGHT) for the program's windows,
# the prefix, and one persistent Wine server; both end with the script.
# Xvfb takes a free display itself and names it once it accepts clients
# (-displayfd): a number picked at random could be one a stale lock holds.
start_wine_on_private_display() {
	local number_file
	number_file=$(mktemp)
	Xvfb -displayfd 3 -screen 0 "${1}x24" -nolisten tcp 3> "$number_file" > /dev/null 2>&1 &
	xvfb=$!
	trap 'wineserver -k 2> /dev/null || true; kill $xvfb 2> /dev/null || true' EXIT
	timeout 20 bash -c "until [ -s '$number_file' ]; do sleep 0.1; done" ||
		{ echo "wine_env.sh: Xvfb did not start" >&2; exit 1; }
	export DISPLAY=:$(cat "$number_file")
	rm -f "$number_file"
	make_wine_prefix
	wineserver -p
}
