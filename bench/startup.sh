#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Start-up of JOLV against the bare Qt floor, interleaved on one Xvfb server:
# time from exec until the window is mapped, and resident memory once shown.
# Usage: bench/startup.sh BUILD_DIR [RUNS]
set -euo pipefail
build=$(realpath "${1:?build directory}")
runs=${2:-15}
(( runs >= 10 )) || { echo "at least 10 runs of each, please"; exit 2; }
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir "$scratch/config"

cd "$scratch"
XDG_CONFIG_HOME=$scratch/config xvfb-run -a -s '-screen 0 1024x768x24' bash -s "$build" "$runs" <<'RUN'
set -euo pipefail
build=$1 runs=$2
probe=$build/bench/time_to_map
median() { sort -n | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
for _ in 1 2; do # warm-up: caches, fonts, the settings file
  "$probe" "$build/bench/startup_floor" > /dev/null
  "$probe" "$build/jolv" > /dev/null
done
: > floor.times; : > jolv.times
for _ in $(seq "$runs"); do
  "$probe" "$build/bench/startup_floor" >> floor.times
  "$probe" "$build/jolv" >> jolv.times
done
floor_ms=$(cut -d' ' -f1 floor.times | median)
jolv_ms=$(cut -d' ' -f1 jolv.times | median)
floor_kib=$(cut -d' ' -f2 floor.times | median)
jolv_kib=$(cut -d' ' -f2 jolv.times | median)
echo "runs: $runs of each, interleaved, after 2 warm-up runs"
printf 'floor: %s ms to map, %s KiB resident\n' "$floor_ms" "$floor_kib"
printf 'JOLV:  %s ms to map, %s KiB resident\n' "$jolv_ms" "$jolv_kib"
awk -v j="$jolv_ms" -v f="$floor_ms" -v jk="$jolv_kib" -v fk="$floor_kib" \
  'BEGIN {printf "JOLV/floor: time %.2f, memory %+.1f MiB\n", j / f, (jk - fk) / 1024}'
RUN
