#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package from debian/ with dpkg-buildpackage, in a scratch
# copy of the source inside OUTPUT_DIR (dpkg-buildpackage writes into the
# parent of the tree it builds, and nothing may land outside the project),
# and leaves the .deb in OUTPUT_DIR. The copy holds the files git tracks, as
# they are in the work tree; outside a git checkout, all but build folders.
# The tests ran before (make test), so the package build skips them.
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
  git -C "$source" ls-files -z | tar -C "$source" --null -T - --ignore-failed-read -cf - \
    | tar -C "$tree" -xf -
else
  tar -C "$source" --exclude='./build*' --exclude=./.git -cf - . | tar -C "$tree" -xf -
fi

if ! (cd "$tree" && DEB_BUILD_OPTIONS="nocheck ${DEB_BUILD_OPTIONS:-}" \
        dpkg-buildpackage -us -uc -b) > "$scratch/build.log" 2>&1; then
  tail -40 "$scratch/build.log"
  echo "dpkg-buildpackage failed"
  exit 1
fi
for deb in "$scratch"/*.deb; do
  mv "$deb" "$output/"
  echo "Built $output/$(basename "$deb")"
done
