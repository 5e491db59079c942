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

# A private Xvfb (Wine's window functions need a display even for offscreen
# Qt), the prefix, and one persistent Wine server; both end with the script.
start_wine_on_private_display() {
	local display_number=$((90 + RANDOM % 400))
	Xvfb ":$display_number" -screen 0 1024x768x24 -nolisten tcp > /dev/null 2>&1 &
	xvfb=$!
	export DISPLAY=:$display_number
	trap 'wineserver -k 2> /dev/null || true; kill $xvfb 2> /dev/null || true' EXIT
	make_wine_prefix
	wineserver -p
}
