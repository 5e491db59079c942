#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The stored position under a window manager (openbox on a 1024x768 Xvfb): a
# window the user does not move writes back the position it read, also where
# openbox nudges it (it keeps a tenth of a window on the screen, so a top of
# 11000 twips, 733 px, shows at 728 px) and where twips fall between pixels;
# a window moved writes its new place.
# Usage: tools/check_position.sh PROGRAM
set -euo pipefail
program=$(realpath "${1:?program}")
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# Top, left and whether to move the window; prints the position written.
run() {
  mkdir -p "$scratch/$1-$2"
  printf 'WINDOWTOP=%s\r\nWINDOWLEFT=%s\r\n' "$1" "$2" > "$scratch/$1-$2/JOLV.INI"
  XDG_CONFIG_HOME=$scratch/$1-$2 QT_QPA_PLATFORM=xcb xvfb-run -a -s '-screen 0 1024x768x24' bash -c '
    openbox > /dev/null 2>&1 &
    until xdotool get_num_desktops > /dev/null 2>&1; do sleep 0.1; done
    "$1" 2> /dev/null & pid=$!
    window=$(timeout 30 xdotool search --sync --onlyvisible --name "^JOLV\$" | head -1)
    sleep 0.5 # placed and drawn
    if [ "$2" = moved ]; then xdotool windowmove "$window" 200 100; sleep 0.5; fi
    kill -TERM "$pid"; wait "$pid"
  ' _ "$program" "$3" || echo "exited with $?"
  # A whole file, so that the program did save it.
  [ "$(grep -c $'\r$' "$scratch/$1-$2/JOLV.INI")" -eq 22 ] || echo "not saved"
  grep -h '^WINDOW' "$scratch/$1-$2/JOLV.INI" | tr -d '\r' | tr '\n' ' '
}

status=0
for case in "11000 1500 kept" "1000 1000 kept" "1500 1500 moved"; do
  read -r top left what <<< "$case"
  written=$(run "$top" "$left" "$what")
  stored="WINDOWTOP=$top WINDOWLEFT=$left "
  if { [ "$what" = kept ] && [ "$written" != "$stored" ]; } ||
     { [ "$what" = moved ] && [ "$written" = "$stored" ]; }; then
    echo "top $top, left $left, $what: wrote $written"
    status=1
  fi
done
[ "$status" -eq 0 ] && echo "the stored position does not drift, and a move is kept"
exit "$status"
