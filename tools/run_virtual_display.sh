#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# make run where there is no display: starts the program on a virtual X
# display (Xvfb), saves a screenshot once its window is up and says where,
# then runs until Ctrl+C, which closes the window the normal way (saving the
# settings) and ends the virtual display with it.
# Usage: tools/run_virtual_display.sh PROGRAM SCREENSHOT.png
set -euo pipefail
program=${1:?program}
screenshot=${2:?screenshot png}
echo "No display (DISPLAY and WAYLAND_DISPLAY are unset): starting JOLV on a virtual one (Xvfb)."
xvfb-run -a -s '-screen 0 1024x768x24' bash -c '
  "$1" & pid=$!
  # A background job of a script starts with SIGINT ignored, and the program
  # keeps ignored signals ignored; so Ctrl+C reaches it as SIGTERM, which
  # saves the same way.
  trap "kill -TERM $pid 2> /dev/null" INT TERM HUP
  if ! timeout 30 xdotool search --sync --onlyvisible --name "^JOLV\$" > /dev/null; then
    echo "The window did not appear."
    kill -TERM "$pid" 2> /dev/null
    wait "$pid"
    exit 1
  fi
  sleep 0.5 # drawn, not only mapped
  import -window root "$2"
  echo "The window is up; a screenshot of the virtual display is in $2"
  echo "Ctrl+C closes it, saves the settings and ends."
  status=0
  wait "$pid" || status=$?
  # Interrupted by the trap: wait for the program to finish saving.
  if kill -0 "$pid" 2> /dev/null; then
    status=0
    wait "$pid" || status=$?
  fi
  exit "$status"
' _ "$program" "$screenshot"
