#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# One session as a blind user would have it, by keyboard, with one mouse
# click on a stepper. Each step leaves a time-stamped "## ..." line, which
# session.sh puts between the things Orca said.
# Usage (by session.sh): drive.sh PROGRAM_PID WINDOW_ID
set -euo pipefail
pid=${1:?pid} window=${2:?window}
step() { echo "$(date +%H:%M:%S.%N | cut -c1-15) - ## $*" >> "$OUT/steps.txt"; }
key() { xdotool key --delay 400 "$@"; sleep 1.2; }
alive() { kill -0 "$pid" || { echo "the program died: $*" >> "$OUT/problems.txt"; exit 1; }; }
# Client coordinates of a control's centre at 96 dpi (twips / 15).
click() { xdotool mousemove --window "$window" "$1" "$2" click 1; sleep 1.5; }

step "start: focus in U/min"
key Home
step "Ctrl+Right to the end of U/min, and once more at the end"
key ctrl+Right ctrl+Right
alive "after Ctrl+Right at the end of the text"
step "Tab to Steigung, Tab to Zoll, Space ticks it, Space clears it"
key Tab; key Tab; key space; key space
step "Tab on to the Speed panel's Berechnen, Return"
key Tab Tab Tab Tab; key Return
step "Tab to the options, Up, Left, Right"
key Tab Tab Tab; key Up; key Left; key Right
step "Tab on to the Power panel's Berechnen, Return"
key Tab Tab Tab Tab Tab Tab Tab; key Return
step "Ctrl+R says it again"
key ctrl+r
step "Tab to Volt/Zelle"
key Tab Tab Tab Tab
step "Ctrl+2 to Blattlänge, Tab on to the Rotor panel's Berechnen, Return"
key ctrl+2
for _ in $(seq 11); do xdotool key Tab; sleep 0.15; done
sleep 1.2
key Return
step "flat review: the line above, and the one above it"
key KP_Home; key KP_Home
step "click the stepper > beside Blattlänge"
click 474 32
step "click into U/min, empty it, Tab to Berechnen, Return"
click 107 32
key ctrl+a BackSpace
key Tab Tab Tab Tab Tab Tab; key Return
step "the message box: Return closes it"
key Return
alive "at the end of the session"
