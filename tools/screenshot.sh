#!/usr/bin/env bash
# Starts the program on a virtual display and saves a screenshot of it.
# Usage: tools/screenshot.sh PROGRAM OUTPUT.png
set -euo pipefail
program=${1:?program}
output=${2:?output png}
mkdir -p "$(dirname "$output")"
config=$(mktemp -d)
trap 'rm -rf "$config"' EXIT
XDG_CONFIG_HOME=$config xvfb-run -a -s '-screen 0 800x500x24' bash -c '
  "$1" & pid=$!
  sleep 2
  import -window root "$2"
  kill "$pid"; wait "$pid" || true
' _ "$program" "$output"
echo "Saved $output"
