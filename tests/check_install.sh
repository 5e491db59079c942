#!/usr/bin/env bash
# Installs the build into a temporary prefix, checks the layout and validates
# the desktop entry and the AppStream data as installed.
# Usage: check_install.sh BUILD_DIR APP_ID
set -euo pipefail
build=${1:?build directory}
id=${2:?application id}
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" > /dev/null
for file in bin/jolv \
            "share/applications/$id.desktop" \
            "share/metainfo/$id.metainfo.xml" \
            "share/icons/hicolor/16x16/apps/$id.png" \
            "share/icons/hicolor/32x32/apps/$id.png" \
            "share/icons/hicolor/48x48/apps/$id.png" \
            "share/icons/hicolor/scalable/apps/$id.svg"; do
  [ -f "$prefix/$file" ] || { echo "not installed: $file"; exit 1; }
done
[ -x "$prefix/bin/jolv" ] || { echo "bin/jolv is not executable"; exit 1; }

desktop=$prefix/share/applications/$id.desktop
metainfo=$prefix/share/metainfo/$id.metainfo.xml
desktop-file-validate "$desktop"
appstreamcli validate --no-net "$metainfo"

# The three files must name each other with the one id.
grep -qx "Exec=jolv" "$desktop" || { echo "desktop entry does not start jolv"; exit 1; }
grep -qx "Icon=$id" "$desktop" || { echo "desktop entry names another icon"; exit 1; }
grep -q "<id>$id</id>" "$metainfo" || { echo "metainfo has another id"; exit 1; }
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" \
  || { echo "metainfo launches another desktop entry"; exit 1; }
echo "install layout and desktop data are valid"
