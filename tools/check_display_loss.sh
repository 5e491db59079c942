#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The X server goes away under the running program (a session that ends, a
# lost ssh -X, a crash): Qt ends the process, and what was typed into the
# window is in the settings file all the same. Three rounds, each on an Xvfb
# of its own that is killed once "4242" stands in U/min.
# Needs: xvfb xauth xdotool.
# Usage: tools/check_display_loss.sh PROGRAM
set -euo pipefail
program=$(realpath "${1:?program}")
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# Prints nothing when the typed value was saved, else what went wrong.
round() {
  local config=$scratch/$1 xvfb pid
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
  local saved=$config/JOLV.INI
  if [ ! -f "$saved" ] || [ "$(grep -c $'\r$' "$saved")" -ne 22 ]; then
    echo "not saved (exit status $status): $(head -c 300 "$config/stderr")"
  elif ! grep -q $'^RPM=4242\r$' "$saved"; then
    echo "saved without the typed value: $(grep '^RPM=' "$saved")"
  fi
}

status=0
for number in 1 2 3; do
  problem=$(round "$number")
  if [ -n "$problem" ]; then
    echo "round $number: $problem"
    status=1
  fi
done
[ "$status" -eq 0 ] && echo "what was typed is saved when the X server goes away"
exit "$status"
