#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows program as a user meets it, under Wine on a private virtual
# display, in a new Wine prefix with Windows' fonts:
# - jolv.exe carries its manifest (Windows versions, DPI awareness);
# - a JOLV.INI an earlier program left in the Windows folder (in Windows-1252)
#   is taken over at the first start and stays unchanged there;
# - the window is titled "JOLV"; closing it writes JOLV.INI with 22 CR LF
#   lines to %APPDATA%\JOLV; a value changed there comes back at the next start;
# - at 96 and 144 dpi every caption, heading, button text, field text and
#   result fits its box whole (the window suites' rules, run with the shipped
#   DLLs on Windows' own platform), and the window grows with the resolution;
# - Return presses the focused button, and the message box it brings up shows
#   and closes;
# - the installer installs silently for the current user (Start-menu entry,
#   uninstall entry with version); while the installed jolv.exe runs, neither
#   the uninstaller nor the installer changes a file, and both end with exit
#   code 2; once it is closed the uninstaller removes the program and leaves
#   the settings file.
# Screenshots of the window at 96 and 144 dpi and of the box go to
# BUILD/windows-screenshot.png, BUILD/windows-screenshot-144.png and
# BUILD/windows-message.png.
#
# Usage: check_program.sh BUILD VERSION QT_PREFIX
set -euo pipefail

build=$(cd "$1" && pwd)
version=$2
qt=$3
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
export QT_PREFIX=/nonexistent # the staged program brings its own DLLs
export WINEPREFIX=$build/wine-check
. "$(dirname "$0")/wine_env.sh"
unset QT_PLUGIN_PATH WINEPATH
program=$build/JOLV-$version/jolv.exe
setup=$build/jolv-$version-windows-x64-setup.exe

fail() {
	echo "check_program.sh: $*" >&2
	exit 1
}
# A step that fails without its own message says which it was.
trap 'echo "check_program.sh: line $LINENO failed: $BASH_COMMAND" >&2' ERR

grep -q PerMonitorV2 "$program" || fail "jolv.exe carries no manifest with its DPI awareness"

rm -rf "$WINEPREFIX"
# Full HD, where Windows itself suggests 150 % (144 dpi).
start_wine_on_private_display 1920x1080
add_windows_fonts
set_dpi 96

windows_folder=$WINEPREFIX/drive_c/windows
appdata=$(wine cmd /c 'echo %APPDATA%' 2> /dev/null | tr -d '\r')
ini=$(winepath -u "$appdata" 2> /dev/null)/JOLV/JOLV.INI
[ -n "$appdata" ] || fail "Wine names no APPDATA folder"

# Starts the program, waits for its window, optionally clicks every
# "Berechnen" (where tests/layout.golden puts them, in twips, scaled to the
# resolution DPI) and takes a screenshot, and closes it as the close box does
# (WM_CLOSE), then waits for it to end. Leaves the window's width in
# window_width.
run_window() {
	local screenshot=${1:-} dpi=${2:-96}
	wine "$program" > /dev/null 2>&1 &
	local started=$!
	local window
	window=$(timeout 60 xdotool search --sync --onlyvisible --name '^JOLV$' | head -1) ||
		fail "no window titled JOLV within 60 s"
	window_width=$(xdotool getwindowgeometry --shell "$window" | sed -n 's/^WIDTH=//p')
	if [ -n "$screenshot" ]; then
		sleep 2
		local x y
		while read -r x y; do
			xdotool mousemove --window "$window" $((x * dpi / 1440)) $((y * dpi / 1440)) click 1
		done < <(awk '$1 ~ /^CCalc[0-9]*$/ { print $2 + int($4 / 2), $3 + int($5 / 2) }' \
			"$source_dir/tests/layout.golden")
		sleep 1
		import -window "$window" "$screenshot"
	fi
	wine taskkill /im jolv.exe > /dev/null 2>&1 || true
	timeout 30 tail --pid=$started -f /dev/null || fail "jolv.exe did not end within 30 s of WM_CLOSE"
	[ -n "$window" ]
}

# Windows-1252 as the earlier program wrote: "Zähne" with ä as byte E4.
printf 'WINDOWTOP=1440\r\nWINDOWLEFT=1440\r\nRPM=4321\r\nTTC0=Z\xe4hne\r\n' > "$windows_folder/JOLV.INI"
cp "$windows_folder/JOLV.INI" "$build/earlier.ini"

run_window
[ -f "$ini" ] || fail "no settings file at $ini"
cmp -s "$windows_folder/JOLV.INI" "$build/earlier.ini" || fail "the earlier JOLV.INI was changed"
[ "$(grep -c $'\r$' "$ini")" = 22 ] && [ "$(wc -l < "$ini")" = 22 ] ||
	fail "$ini does not hold 22 CR LF lines"
grep -q $'^RPM=4321\r$' "$ini" || fail "RPM was not taken over from the Windows folder"
grep -q $'^TTC0=Z\xe4hne\r$' "$ini" || fail "TTC0 did not come back in Windows-1252"

sed -i 's/^RPM=4321/RPM=5555/' "$ini"
run_window
grep -q $'^RPM=5555\r$' "$ini" || fail "a changed RPM did not come back at the next start"

# The window suites' rules for what fits, on Windows' own platform (Wine's
# default; it keeps QT_QPA_PLATFORM from Windows programs), with the
# shipped DLLs: in a copy of the program's folder with the suites and Qt Test.
fit=$build/fit-check
rm -rf "$fit"
cp -r "$(dirname "$program")" "$fit"
cp "$build/test_window_layout.exe" "$build/test_window_calculations.exe" \
	"$qt/bin/Qt6Test.dll" "$fit/"
# Runs one suite's named cases at the current resolution; the log goes to BUILD.
fits() {
	local suite=$1 log=$build/windows-fit-$dpi-$1.txt
	shift
	rm -f "$log"
	timeout 300 wine "$fit/$suite.exe" "$@" -o "$(windows_path "$log"),txt" \
		> /dev/null 2>&1 || {
		grep -h -A3 '^FAIL' "$log" >&2 || true
		fail "at $dpi dpi a text or result does not fit its box whole: $log"
	}
}
check_fit_at() {
	dpi=$1
	set_dpi "$dpi"
	fits test_window_layout textsAndMarksFitTheirBoxes longResultsShowThatTheyDoNotFit
	fits test_window_calculations rotorAndPowerButtonsCalculate flightPanelFollowsThePowerPanel
	run_window "$build/windows-screenshot$([ "$dpi" = 96 ] || echo "-$dpi").png" "$dpi"
}
check_fit_at 96
width_at_96=$window_width
check_fit_at 144
[ $((window_width * 10)) -ge $((width_at_96 * 14)) ] ||
	fail "the window is $window_width px wide at 144 dpi, $width_at_96 px at 96: Wine kept one resolution"
set_dpi 96

# Polls for up to a minute until the condition holds.
wait_for() {
	for _ in $(seq 120); do
		eval "$1" && return 0
		sleep 0.5
	done
	return 1
}

windows_titled_jolv() {
	xdotool search --onlyvisible --name '^JOLV$' 2> /dev/null | wc -l
}

# By keyboard alone: the rpm emptied, Tab to the Speed panel's "Berechnen"
# (six stops on), Return presses it and "Zu wenig Angaben !" shows in a box
# titled JOLV; Return closes the box and the window stays.
wine "$program" > /dev/null 2>&1 &
started=$!
window=$(timeout 60 xdotool search --sync --onlyvisible --name '^JOLV$' | head -1) ||
	fail "no window titled JOLV within 60 s"
sleep 1
# Without a window manager the focus may need a second asking; the message
# box's wait below tells whether the keys arrived.
xdotool windowfocus --sync "$window" || xdotool windowfocus --sync "$window" || true
xdotool key --delay 100 ctrl+a BackSpace Tab Tab Tab Tab Tab Tab Return
wait_for '[ "$(windows_titled_jolv)" = 2 ]' || fail "Return on Berechnen showed no message box"
sleep 1
# The box stands over the window: the screen where the window is.
import -window root -crop "$(xdotool getwindowgeometry --shell "$window" |
	awk -F= '{ v[$1] = $2 } END { printf "%dx%d+%d+%d", v["WIDTH"], v["HEIGHT"], v["X"], v["Y"] }')" \
	+repage "$build/windows-message.png"
xdotool key Return
wait_for '[ "$(windows_titled_jolv)" = 1 ]' || fail "Return did not close the message box"
# Wine's taskkill may report failure while it closes the window; whether
# the program ended is what counts.
wine taskkill /im jolv.exe > /dev/null 2>&1 || true
timeout 30 tail --pid=$started -f /dev/null || fail "jolv.exe did not end within 30 s of WM_CLOSE"

timeout 120 wine "$setup" /S /CurrentUser > /dev/null 2>&1 || fail "the installer did not end within 120 s"
installed=$(winepath -u "$(wine cmd /c 'echo %LOCALAPPDATA%' 2> /dev/null | tr -d '\r')")/Programs/JOLV
wait_for '[ -f "$installed/uninstall.exe" ]' || fail "the installer put no jolv.exe in $installed"
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\JOLV'
wine reg query "$key" /v DisplayVersion 2> /dev/null | grep -q "$version" ||
	fail "no uninstall entry with version $version"
find "$WINEPREFIX/drive_c/users" -name 'JOLV.lnk' | grep -q . || fail "no Start-menu entry"

# What is installed: every file with its size, inode and change time (which
# even rewriting the same bytes moves), the uninstall entry and the
# Start-menu entry.
installation() {
	(cd "$installed" && find . -type f -printf '%p %s %i %C@\n' | LC_ALL=C sort)
	wine reg query "$key" 2> /dev/null | tr -d '\r'
	find "$WINEPREFIX/drive_c/users" -name 'JOLV.lnk'
}

# Runs a Windows program silently, for the current user, and gives its exit
# code.
exit_code() {
	local status=0
	timeout 120 wine "$@" /S /CurrentUser > /dev/null 2>&1 || status=$?
	echo "$status"
}

# While the installed jolv.exe runs, the uninstaller and the installer end
# with exit code 2 and change nothing. The uninstaller's own start copies it
# to the temporary folder and runs the copy with _?=FOLDER, without waiting
# for it: run so here, it hands back its exit code.
wine "$installed/jolv.exe" > /dev/null 2>&1 &
started=$!
timeout 60 xdotool search --sync --onlyvisible --name '^JOLV$' > /dev/null ||
	fail "the installed jolv.exe showed no window within 60 s"
installation > "$build/installation-before.txt"
grep -q '^\./jolv\.exe ' "$build/installation-before.txt" || fail "no installed files listed"
cp "$installed/uninstall.exe" "$build/uninstall-copy.exe"
status=$(exit_code "$build/uninstall-copy.exe" "_?=$(winepath -w "$installed" 2> /dev/null)")
[ "$status" = 2 ] || fail "the uninstaller ended with $status, not 2, while JOLV ran"
installation | cmp -s - "$build/installation-before.txt" ||
	fail "the uninstaller changed the installation while JOLV ran"
status=$(exit_code "$setup")
[ "$status" = 2 ] || fail "the installer ended with $status, not 2, over a running JOLV"
installation | cmp -s - "$build/installation-before.txt" ||
	fail "the installer changed the installation while JOLV ran"
rm "$build/uninstall-copy.exe"
# Wine's taskkill may report failure while it closes the window; whether
# the program ended is what counts.
wine taskkill /im jolv.exe > /dev/null 2>&1 || true
timeout 30 tail --pid=$started -f /dev/null || fail "jolv.exe did not end within 30 s of WM_CLOSE"

# The uninstaller runs from a copy of itself in the temporary folder.
cp "$ini" "$build/settings-before-uninstall.ini"
timeout 120 wine "$installed/uninstall.exe" /S /CurrentUser > /dev/null 2>&1
wait_for '[ ! -e "$installed" ]' || fail "the uninstaller left $installed"
! wine reg query "$key" > /dev/null 2>&1 || fail "the uninstaller left its registry entry"
! find "$WINEPREFIX/drive_c/users" -name 'JOLV.lnk' | grep -q . || fail "the Start-menu entry is left"
cmp -s "$ini" "$build/settings-before-uninstall.ini" ||
	fail "the uninstaller removed or changed the settings file"
echo "check_program.sh: manifest, window, settings file, take-over, texts at 96 and 144 dpi," \
	"installer and uninstaller, also over a running JOLV: all passed"
