#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the built Debian package: its files, doc files, man pages and
# dependencies, lintian's verdict, the unpacked program started offscreen and
# ended by SIGTERM (it must save and exit 0), and that installing and
# removing it in a private dpkg root leaves nothing.
# Usage: check_package.sh BUILD_DIR VERSION APP_ID
set -euo pipefail
build=${1:?build directory}
version=${2:?version}
id=${3:?application id}
# The project's version with a Debian revision: debian/changelog must agree.
deb=$(ls "$build"/jolv_"$version"-*_*.deb) || { echo "no package of version $version"; exit 1; }
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "$*"; exit 1; }

contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
mapfile -t files < <("$(dirname "$0")/installed_files.sh" "$id")
(( ${#files[@]} > 0 )) || fail "no list of installed files"
for file in "${files[@]}"; do
  [[ $file == share/man/* ]] && file+=.gz # compressed by the package build
  grep -qxF -- "./usr/$file" <<<"$contents" || fail "not in the package: $file"
done
for file in copyright changelog.Debian.gz; do
  grep -qxF -- "./usr/share/doc/jolv/$file" <<<"$contents" || fail "no doc file $file"
done
outside=$(grep -vx -e '\./' -e '\./usr/.*' <<<"$contents" || true)
[ -z "$outside" ] || fail "files outside /usr: $outside"
depends=$(dpkg-deb -f "$deb" Depends)
for needed in libqt6widgets6 fonts-liberation2; do
  grep -q "$needed" <<<"$depends" || fail "does not depend on $needed: $depends"
done

# Errors and warnings fail; the rest is shown. Root is warned about, not refused.
status=0
report=$(lintian --fail-on error,warning --display-info --pedantic "$deb" 2>&1) || status=$?
grep -v '^running with root privileges' <<<"$report" || true
[ "$status" -eq 0 ] || fail "lintian reports errors or warnings"

dpkg-deb -x "$deb" "$scratch/root"
# man finds the English page, and the German one for a German reader.
for language in C:man1 de:de/man1; do
  found=$(MANPATH=$scratch/root/usr/share/man man -L "${language%%:*}" -w jolv)
  [ "$found" = "$scratch/root/usr/share/man/${language#*:}/jolv.1.gz" ] \
    || fail "man -L ${language%%:*} jolv finds $found"
done

# The unpacked program opens, saves on SIGTERM and exits 0.
mkdir "$scratch/config"
XDG_CONFIG_HOME=$scratch/config QT_QPA_PLATFORM=offscreen "$scratch/root/usr/bin/jolv" &
pid=$!
for _ in $(seq 100); do
  caught=$(awk '/^SigCgt:/ {print $2}' "/proc/$pid/status" 2>/dev/null || echo 0)
  (( (16#${caught:-0} >> 14) & 1 )) && break # bit 14: SIGTERM (15)
  sleep 0.1
done
kill -TERM "$pid"
status=0
wait "$pid" || status=$?
[ "$status" -eq 0 ] || fail "exited with $status after SIGTERM"
[ "$(grep -c $'\r$' "$scratch/config/JOLV.INI")" -eq 22 ] || fail "settings not saved whole"

# Installed and removed again in a private dpkg database: nothing stays.
root=$scratch/dpkg
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
touch "$root/var/lib/dpkg/status"
# --force-bad-path: a user's PATH lacks ldconfig, which nothing here runs.
dpkg=(dpkg "--root=$root" --force-depends --force-not-root --force-bad-path
      --force-script-chrootless --log=/dev/null)
"${dpkg[@]}" -i "$deb" > /dev/null 2>&1 || fail "dpkg could not install the package"
[ -x "$root/usr/bin/jolv" ] || fail "dpkg did not install usr/bin/jolv"
"${dpkg[@]}" -r jolv > /dev/null 2>&1 || fail "dpkg could not remove the package"
left=$(find "$root" -mindepth 1 -not -path "$root/var*")
[ -z "$left" ] || fail "left after removal: $left"
echo "package is complete, runs, saves and removes cleanly"
