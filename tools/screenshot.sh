#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts the program on a virtual display in a German locale, clicks the four
# "Berechnen" buttons and saves a screenshot.
# Usage: tools/screenshot.sh PROGRAM OUTPUT.png
set -euo pipefail
program=${1:?program}
output=${2:?output png}
mkdir -p "$(dirname "$output")"
config=$(mktemp -d)
trap 'rm -rf "$config"' EXIT
LC_ALL=de_DE.UTF-8 XDG_CONFIG_HOME=$config xvfb-run -a -s '-screen 0 1024x768x24' bash -c '
  "$1" & pid=$!
  sleep 2
  # Button centres in pixels at 96 dpi; without a window manager the window
  # stands at the corner of the screen.
  for at in "263 93" "599 134" "263 358" "443 303"; do
    xdotool mousemove $at click 1
    sleep 0.3
  done
  # The screen is larger than the picture: on a screen that leaves no room
  # for a title bar the window would scroll.
  import -window root -crop 660x400+0+0 +repage "$2"
  kill "$pid"; wait "$pid" || true
' _ "$program" "$output"
echo "Saved $output"
