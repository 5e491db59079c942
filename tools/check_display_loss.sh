#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The display goes away under the running program (a session that ends, a
# lost ssh -X, a crash): Qt ends the process, and the window's inputs are in
# the settings file all the same. Three rounds on an Xvfb of their own that
# is killed once "4242" is typed into U/min; three on a headless Weston
# killed under a window that read "RPM=4242" from a one-line file, which
# then holds all 22 lines.
# Needs: xvfb xauth xdotool weston qt6-wayland.
# Usage: tools/check_display_loss.sh PROGRAM
set -euo pipefail
program=$(realpath "${1:?program}")
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# Prints nothing when the file in $1 holds 22 lines with RPM=4242, else
# what went wrong; $2 is the program's exit status.
check_saved() {
  local saved=$1/JOLV.INI
  if [ ! -f "$saved" ] || [ "$(grep -c $'\r$' "$saved")" -ne 22 ]; then
    echo "not saved (exit status $2): $(head -c 300 "$1/stderr")"
  elif ! grep -q $'^RPM=4242\r$' "$saved"; then
    echo "saved without the value: $(grep '^RPM=' "$saved")"
  fi
}

# Prints nothing when the typed value was saved, else what went wrong.
x11_round() {
  local config=$scratch/x11-$1 xvfb pid
  mkdir -p "$config"
  # -displayfd: the server takes a free display and says which.
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3> "$config/display" 2> /dev/null &
  xvfb=$!
  timeout 10 bash -c "until [ -s '$config/display' ]; do sleep 0.1; done" ||
    { echo "the X server did not start"; return; }
  export DISPLAY=:$(cat "$config/display")
  XDG_CONFIG_HOME=$config QT_QPA_PLATFORM=xcb WAYLAND_DISPLAY= "$program" 2> "$config/stderr" &
  pid=$!
  window=$(timeout 30 xdotool search --sync --onlyvisible --name '^JOLV$' | head -1)
  xdotool windowfocus --sync "$window"
  # Ctrl+1 goes to U/min, Ctrl+A selects its text, which the typing replaces.
  xdotool key --window "$window" ctrl+1 ctrl+a
  xdotool type --window "$window" 4242
  sleep 0.5
  kill -KILL "$xvfb"
  wait "$xvfb" 2> /dev/null || true
  local status=0
  timeout 20 tail --pid="$pid" -f /dev/null || echo "still running after the display went"
  wait "$pid" || status=$?
  check_saved "$config" "$status"
}

wayland_round() {
  local config=$scratch/wayland-$1 weston pid status=0
  mkdir -p "$config/runtime"
  chmod 700 "$config/runtime"
  printf 'RPM=4242\r\n' > "$config/JOLV.INI"
  XDG_RUNTIME_DIR=$config/runtime weston --backend=headless-backend.so --socket=jolv \
    --idle-time=0 > "$config/weston.log" 2>&1 &
  weston=$!
  timeout 10 bash -c "until [ -S '$config/runtime/jolv' ]; do sleep 0.1; done" ||
    { echo "Weston did not start"; return; }
  XDG_RUNTIME_DIR=$config/runtime XDG_CONFIG_HOME=$config WAYLAND_DISPLAY=jolv \
    QT_QPA_PLATFORM=wayland DISPLAY= "$program" 2> "$config/stderr" &
  pid=$!
  sleep 1.5 # connected and shown
  kill -KILL "$weston"
  wait "$weston" 2> /dev/null || true
  timeout 20 tail --pid="$pid" -f /dev/null || echo "still running after the compositor went"
  wait "$pid" || status=$?
  check_saved "$config" "$status"
}

status=0
for display in x11 wayland; do
  for number in 1 2 3; do
    problem=$("${display}_round" "$number")
    if [ -n "$problem" ]; then
      echo "$display round $number: $problem"
      status=1
    fi
  done
done
[ "$status" -eq 0 ] && echo "the inputs are saved when the X server or the compositor goes away"
exit "$status"
