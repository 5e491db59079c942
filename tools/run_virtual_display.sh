#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# make run where there is no display: starts the program on a virtual X
# display (Xvfb), saves a screenshot once its window is up and says where,
# then runs until Ctrl+C, which closes the window the normal way (saving the
# settings) and ends the virtual display after it.
# Usage: tools/run_virtual_display.sh PROGRAM SCREENSHOT.png
set -euo pipefail
program=${1:?program}
screenshot=${2:?screenshot png}
state=$(mktemp -d)
trap 'rm -rf "$state"' EXIT

echo "No display (DISPLAY and WAYLAND_DISPLAY are unset): starting JOLV on a virtual one (Xvfb)."
# In a session of its own, so that Ctrl+C does not reach the X server, which
# would end at once and take the window down before it has saved.
setsid --wait xvfb-run -a -s '-screen 0 1024x768x24' bash -c '
  "$1" &
  pid=$!
  echo "$pid" > "$3/pid"
  if ! window=$(timeout 30 xdotool search --sync --onlyvisible --name "^JOLV\$"); then
    echo "The window did not appear within 30 s."
    kill -TERM "$pid" 2> /dev/null
    wait "$pid"
    exit 1
  fi
  sleep 0.5 # drawn, not only mapped
  import -window "${window%%[[:space:]]*}" "$2" # the first of its windows found
  echo "The window is up; a screenshot of it is in $2"
  echo "Ctrl+C closes it, saves the settings and ends."
  wait "$pid"
' _ "$program" "$screenshot" "$state" &
runner=$!

# SIGTERM saves and closes like the close box.
trap 'kill -TERM "$(cat "$state/pid")" 2> /dev/null || true' INT TERM HUP
status=0
wait "$runner" || status=$?
while kill -0 "$runner" 2> /dev/null; do # woken by the trap: the program is saving
  status=0
  wait "$runner" || status=$?
done
exit "$status"
