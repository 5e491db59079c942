#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package a second time, in another folder, and compares it
# with the one in PACKAGE_DIR byte for byte: no build path or time may reach
# the package. On a difference, names the files that differ.
# Usage: check_reproducible.sh SOURCE_DIR PACKAGE_DIR
set -euo pipefail
source=${1:?source directory}
first=$(ls "${2:?package directory}"/jolv_*.deb)
again=$(mktemp -d "$2/again.XXXXXX")
trap 'rm -rf "$again"' EXIT

"$source/tools/build_package.sh" "$source" "$again/elsewhere" > /dev/null
second=$(ls "$again/elsewhere"/jolv_*.deb)
cmp -s "$first" "$second" && { echo "the package builds reproducibly"; exit 0; }

echo "two builds differ: $first $second"
dpkg-deb -R "$first" "$again/first"
dpkg-deb -R "$second" "$again/second"
diff -rq "$again/first" "$again/second" || true
exit 1
