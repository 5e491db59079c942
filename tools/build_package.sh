#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package from debian/ with dpkg-buildpackage, in a scratch
# copy of the source inside OUTPUT_DIR (dpkg-buildpackage writes into the
# parent of the tree it builds, and nothing may land outside the project),
# and leaves the .deb in OUTPUT_DIR. The copy holds the work tree's files
# that git does not ignore; outside a git checkout, all but build folders.
# The tests ran before (make test), so the package build skips them. The
# build's log stays beside the .deb as jolv-package.log.
# Usage: tools/build_package.sh SOURCE_DIR OUTPUT_DIR
set -euo pipefail
source=$(cd "${1:?source directory}" && pwd)
mkdir -p "${2:?output directory}"
output=$(cd "$2" && pwd)
scratch=$(mktemp -d "$output/package.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
tree=$scratch/jolv
mkdir "$tree"

if git -C "$source" rev-parse --is-inside-work-tree > /dev/null 2>&1; then
  git -C "$source" ls-files -z --cached --others --exclude-standard | tar -C "$source" --null -T - --ignore-failed-read -cf - \
    | tar -C "$tree" -xf -
else
  tar -C "$source" --exclude='./build*' --exclude=./.git -cf - . | tar -C "$tree" -xf -
fi

log=$output/jolv-package.log
if ! (cd "$tree" && DEB_BUILD_OPTIONS="nocheck parallel=2 ${DEB_BUILD_OPTIONS:-}" \
        dpkg-buildpackage -us -uc -b) > "$log" 2>&1; then
  tail -40 "$log"
  echo "dpkg-buildpackage failed"
  exit 1
fi
# Only the program's package; the debug symbols' one stays behind.
for deb in "$scratch"/jolv_*.deb; do
  mv "$deb" "$output/"
  echo "Built $output/$(basename "$deb")"
done
