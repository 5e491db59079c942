#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows program as a user meets it, under Wine on a private virtual
# display, in a new Wine prefix:
# - a JOLV.INI an earlier program left in the Windows folder (in Windows-1252)
#   is taken over at the first start and stays unchanged there;
# - the window is titled "JOLV"; closing it writes JOLV.INI with 22 CR LF
#   lines to %APPDATA%\JOLV; a value changed there comes back at the next start;
# - the installer installs silently for the current user (Start-menu entry,
#   uninstall entry with version), and the uninstaller removes the program and
#   leaves the settings file.
# - Return presses the focused button, and the message box it brings up shows
#   and closes.
# Screenshots of the window and the box go to BUILD/windows-screenshot.png
# and BUILD/windows-message.png.
#
# Usage: check_program.sh BUILD VERSION
set -euo pipefail

build=$(cd "$1" && pwd)
version=$2
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

rm -rf "$WINEPREFIX"
start_wine_on_private_display

windows_folder=$WINEPREFIX/drive_c/windows
appdata=$(wine cmd /c 'echo %APPDATA%' 2> /dev/null | tr -d '\r')
ini=$(winepath -u "$appdata" 2> /dev/null)/JOLV/JOLV.INI
[ -n "$appdata" ] || fail "Wine names no APPDATA folder"

# Starts the program, waits for its window, optionally takes a screenshot,
# and closes it as the close box does (WM_CLOSE), then waits for it to end.
run_window() {
	wine "$program" > /dev/null 2>&1 &
	local started=$!
	local window
	window=$(timeout 60 xdotool search --sync --onlyvisible --name '^JOLV$' | head -1) ||
		fail "no window titled JOLV within 60 s"
	[ -z "${1:-}" ] || { sleep 2; import -window root "$1"; }
	wine taskkill /im jolv.exe > /dev/null 2>&1
	timeout 30 tail --pid=$started -f /dev/null || fail "jolv.exe did not end within 30 s of WM_CLOSE"
	[ -n "$window" ]
}

# Windows-1252 as the earlier program wrote: "Zähne" with ä as byte E4.
printf 'WINDOWTOP=1440\r\nWINDOWLEFT=1440\r\nRPM=4321\r\nTTC0=Z\xe4hne\r\n' > "$windows_folder/JOLV.INI"
cp "$windows_folder/JOLV.INI" "$build/earlier.ini"

run_window "$build/windows-screenshot.png"
[ -f "$ini" ] || fail "no settings file at $ini"
cmp -s "$windows_folder/JOLV.INI" "$build/earlier.ini" || fail "the earlier JOLV.INI was changed"
[ "$(grep -c $'\r$' "$ini")" = 22 ] && [ "$(wc -l < "$ini")" = 22 ] ||
	fail "$ini does not hold 22 CR LF lines"
grep -q $'^RPM=4321\r$' "$ini" || fail "RPM was not taken over from the Windows folder"
grep -q $'^TTC0=Z\xe4hne\r$' "$ini" || fail "TTC0 did not come back in Windows-1252"

sed -i 's/^RPM=4321/RPM=5555/' "$ini"
run_window
grep -q $'^RPM=5555\r$' "$ini" || fail "a changed RPM did not come back at the next start"

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
xdotool windowfocus --sync "$window"
xdotool key --delay 100 ctrl+a BackSpace Tab Tab Tab Tab Tab Tab Return
wait_for '[ "$(windows_titled_jolv)" = 2 ]' || fail "Return on Berechnen showed no message box"
sleep 1
import -window root "$build/windows-message.png"
xdotool key Return
wait_for '[ "$(windows_titled_jolv)" = 1 ]' || fail "Return did not close the message box"
wine taskkill /im jolv.exe > /dev/null 2>&1
timeout 30 tail --pid=$started -f /dev/null || fail "jolv.exe did not end within 30 s of WM_CLOSE"

timeout 120 wine "$setup" /S /CurrentUser > /dev/null 2>&1 || fail "the installer did not end within 120 s"
installed=$(winepath -u "$(wine cmd /c 'echo %LOCALAPPDATA%' 2> /dev/null | tr -d '\r')")/Programs/JOLV
wait_for '[ -f "$installed/uninstall.exe" ]' || fail "the installer put no jolv.exe in $installed"
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\JOLV'
wine reg query "$key" /v DisplayVersion 2> /dev/null | grep -q "$version" ||
	fail "no uninstall entry with version $version"
find "$WINEPREFIX/drive_c/users" -name 'JOLV.lnk' | grep -q . || fail "no Start-menu entry"

# The uninstaller runs from a copy of itself in the temporary folder.
cp "$ini" "$build/settings-before-uninstall.ini"
timeout 120 wine "$installed/uninstall.exe" /S /CurrentUser > /dev/null 2>&1
wait_for '[ ! -e "$installed" ]' || fail "the uninstaller left $installed"
! wine reg query "$key" > /dev/null 2>&1 || fail "the uninstaller left its registry entry"
! find "$WINEPREFIX/drive_c/users" -name 'JOLV.lnk' | grep -q . || fail "the Start-menu entry is left"
cmp -s "$ini" "$build/settings-before-uninstall.ini" ||
	fail "the uninstaller removed or changed the settings file"
echo "check_program.sh: window, settings file, take-over, installer and uninstaller: all passed"
