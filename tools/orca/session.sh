#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs JOLV under the Orca screen reader on a virtual display and prints what
# Orca said: Xvfb, a private D-Bus session with the accessibility bus, openbox,
# and a speech-dispatcher whose only voice appends each text to a file (no
# sound card needed). The keys come from a drive script (default: drive.sh
# beside this one), which gets the program's process id and window id.
# Needs: orca speech-dispatcher openbox at-spi2-core xvfb xdotool.
# Usage: tools/orca/session.sh PROGRAM [DRIVE_SCRIPT] [OUTPUT_DIR]
set -euo pipefail
program=$(realpath "${1:?program}")
drive=$(realpath "${2:-$(dirname "$0")/drive.sh}")
out=${3:-$(mktemp -d)}
mkdir -p "$out"
out=$(realpath "$out")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Orca, speech-dispatcher and the program each keep their files in $work.
speech=$work/speech-config
mkdir -p "$speech/speech-dispatcher/modules" "$work/runtime" "$work/orca" "$work/jolv"
chmod 700 "$work/runtime"
cat > "$speech/speech-dispatcher/speechd.conf" <<CONF
AddModule "generic" "sd_generic" "generic.conf"
DefaultModule generic
AudioOutputMethod "alsa"
AudioALSADevice "null"
CONF
cat > "$speech/speech-dispatcher/modules/generic.conf" <<CONF
GenericExecuteSynth "printf '%s\\\\n' \\"\$DATA\\" >> $out/speech-dispatcher.txt"
AddVoice "de" "MALE1" "de"
AddVoice "en" "MALE1" "en"
CONF

export XDG_RUNTIME_DIR=$work/runtime XDG_CONFIG_HOME=$speech
export OUT=$out PROGRAM=$program JOLV_CONFIG=$work/jolv
xvfb-run -a -s '-screen 0 1024x768x24' dbus-run-session -- bash -s "$drive" <<'SESSION'
set -euo pipefail
drive=$1
/usr/libexec/at-spi-bus-launcher --launch-immediately > /dev/null 2>&1 &
sleep 1
openbox > /dev/null 2>&1 &
sleep 1
orca --replace -u "$XDG_RUNTIME_DIR/../orca" --debug-file "$OUT/orca-debug.txt" > /dev/null 2>&1 &
orca=$!
sleep 5
XDG_CONFIG_HOME=$JOLV_CONFIG QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 LC_ALL=de_DE.UTF-8 \
  "$PROGRAM" > "$OUT/program.txt" 2>&1 &
pid=$!
window=$(xdotool search --sync --onlyvisible --name '^JOLV$' | head -1)
sleep 3
status=0
"$drive" "$pid" "$window" || status=$?
# However the keys went, the program must still end on SIGTERM and save.
kill -TERM "$pid"
for _ in $(seq 50); do kill -0 "$pid" 2> /dev/null || break; sleep 0.1; done
if kill -0 "$pid" 2> /dev/null; then
  echo "the program did not end on SIGTERM within 5 s" >> "$OUT/problems.txt"
  kill -KILL "$pid"
fi
wait "$pid" || echo "the program exited with $?" >> "$OUT/problems.txt"
[ -f "$JOLV_CONFIG/JOLV.INI" ] || echo "no JOLV.INI saved" >> "$OUT/problems.txt"
kill "$orca" 2> /dev/null || true
exit "$status"
SESSION
# What Orca said, with the drive script's steps put in by time.
sed -n "s/^\([0-9:.]*\) - SPEECH OUTPUT: '\(.*\)' *\[\?{'established.*/\1 - \2/p" \
  "$out/orca-debug.txt" | cat - "$out/steps.txt" 2> /dev/null | sort | sed 's/^[0-9:.]* - //' \
  > "$out/transcript.txt"
cat "$out/transcript.txt"
echo "--- transcript and Orca's debug log are in $out"
if [ -s "$out/problems.txt" ]; then cat "$out/problems.txt"; exit 1; fi
