#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The files an installation holds, relative to its prefix, one a line.
# Usage: installed_files.sh APP_ID
set -euo pipefail
id=${1:?application id}
echo bin/jolv
echo "share/applications/$id.desktop"
echo "share/metainfo/$id.metainfo.xml"
for size in 16x16 32x32 48x48 64x64 128x128 256x256; do
  echo "share/icons/hicolor/$size/apps/$id.png"
done
echo "share/icons/hicolor/scalable/apps/$id.svg"
echo share/man/man1/jolv.1
echo share/man/de/man1/jolv.1
