#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Replays calls a screen reader makes, hostile ones too, through a real
# accessibility bus: Xvfb, a private D-Bus session with the AT-SPI bus and
# registry, and the program started by hostile_calls.py for each case.
# Bounded to three minutes in all.
# Needs: python3-pyatspi at-spi2-core dbus xvfb xauth xdotool.
# Usage: tools/atspi/replay.sh PROGRAM
set -euo pipefail
program=$(realpath "${1:?program}")
here=$(dirname "$(realpath "$0")")
runtime=$(mktemp -d)
trap 'rm -rf "$runtime"' EXIT
chmod 700 "$runtime"
export XDG_RUNTIME_DIR=$runtime
# What the X server said goes to its log, shown when a case fails.
status=0
timeout 180 xvfb-run -a -e "$runtime/xvfb.log" -s '-screen 0 1024x768x24' \
  dbus-run-session -- bash -c '
  # The X server answers before any case starts, or the replay says so.
  timeout 10 bash -c "until xdotool getdisplaygeometry > /dev/null 2>&1; do sleep 0.1; done" ||
    { echo "replay.sh: the X server on $DISPLAY does not answer"; exit 1; }
  /usr/libexec/at-spi-bus-launcher --launch-immediately > /dev/null 2>&1 &
  launcher=$!
  status=0
  /usr/bin/python3 "$1" "$2" || status=$?
  kill "$launcher" 2> /dev/null || true
  exit "$status"
' _ "$here/hostile_calls.py" "$program" || status=$?
if [ "$status" -ne 0 ] && [ -s "$runtime/xvfb.log" ]; then
  echo "The X server said:"
  cat "$runtime/xvfb.log"
fi
exit "$status"
