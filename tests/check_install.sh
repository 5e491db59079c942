#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a temporary prefix, checks the layout, validates
# the desktop entry and the AppStream data as installed, and composes the
# catalogue a software centre reads from them.
# Usage: check_install.sh CMAKE BUILD_DIR APP_ID
set -euo pipefail
cmake=${1:?cmake}
build=${2:?build directory}
id=${3:?application id}
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

"$cmake" --install "$build" --prefix "$prefix" > /dev/null
mapfile -t files < <("$(dirname "$0")/installed_files.sh" "$id")
(( ${#files[@]} > 0 )) || { echo "no list of installed files"; exit 1; }
for file in "${files[@]}"; do
  [ -f "$prefix/$file" ] || { echo "not installed: $file"; exit 1; }
done
[ -x "$prefix/bin/jolv" ] || { echo "bin/jolv is not executable"; exit 1; }

desktop=$prefix/share/applications/$id.desktop
metainfo=$prefix/share/metainfo/$id.metainfo.xml
desktop-file-validate "$desktop"
appstreamcli validate --pedantic --no-net "$metainfo"

# The three files must name each other with the one id.
grep -qx "Exec=jolv" "$desktop" || { echo "desktop entry does not start jolv"; exit 1; }
grep -qx "Icon=$id" "$desktop" || { echo "desktop entry names another icon"; exit 1; }
grep -q "<id>$id</id>" "$metainfo" || { echo "metainfo has another id"; exit 1; }
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" \
  || { echo "metainfo launches another desktop entry"; exit 1; }

# A description per language: a translated element must be a paragraph or a
# list item of its own, or compose folds it into the English text.
appstreamcli compose --no-net --origin=jolv --result-root="$prefix/catalogue" --prefix=/ \
  "$prefix" > /dev/null
catalogue=$(zcat "$prefix/catalogue/share/swcatalog/xml/jolv.xml.gz")
for description in "<description>" "<description xml:lang=\"de\">"; do
  grep -qF "$description" <<<"$catalogue" || { echo "catalogue lacks $description"; exit 1; }
done
echo "install layout and desktop data are valid"
