#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian source package as a packager would: in a fresh clone of
# SOURCE_DIR's commit, make orig, then dpkg-buildpackage -S; the .dsc must
# name the upstream tarball, which must hold no debian/.
# Usage: check_source_package.sh SOURCE_DIR VERSION
set -euo pipefail
source=${1:?source directory}
version=${2:?version}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "$*"; exit 1; }

git clone --quiet --no-checkout "$source" "$scratch/jolv"
git -C "$scratch/jolv" checkout --quiet --detach "$(git -C "$source" rev-parse HEAD)"
make -C "$scratch/jolv" --no-print-directory orig > /dev/null || fail "make orig failed"
(cd "$scratch/jolv" && dpkg-buildpackage -us -uc -S > "$scratch/log" 2>&1) \
  || { tail -20 "$scratch/log"; fail "dpkg-buildpackage -S failed"; }
orig=jolv_$version.orig.tar.xz
grep -q " $orig\$" "$scratch"/jolv_"$version"-*.dsc || fail "the .dsc does not name $orig"
! tar -tJf "$scratch/$orig" | grep -q '^[^/]*/debian/' || fail "$orig holds debian/"
echo "the source package builds from a fresh clone"
