#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the Windows build's Qt Test suites under Wine, counted by ctest as on
# Linux, on Windows' own platform on a private Xvfb (wine_on_display.sh). The
# suites that start the program and send it Unix signals, and the install and
# package checks, are not built for Windows.
#
# Usage: run_tests.sh BUILD QT_PREFIX
set -euo pipefail

build=$(cd "$1" && pwd)
export QT_PREFIX=$2
export WINEPREFIX=$build/wine-prefix
. "$(dirname "$0")/wine_env.sh"

start_wine_on_private_display 1024x768 # one server for all suites, instead of one per suite
export JOLV_WINE_DISPLAY=$DISPLAY       # for wine_on_display.sh, as ctest unsets DISPLAY
# Brings up Wine's desktop process before the suites: the first of two
# suites started together could otherwise wait on it for good.
wine cmd /c exit > /dev/null 2>&1
cd "$build"
rm -f tests/*.txt
if ! ctest --output-on-failure -j 2; then
	grep -h -B1 -A3 '^FAIL' tests/*.txt || true
	exit 1
fi
