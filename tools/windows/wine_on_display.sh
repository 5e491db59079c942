#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# The cross build's test runner (CMAKE_CROSSCOMPILING_EMULATOR): runs a
# Windows suite under Wine on the private display run_tests.sh started,
# JOLV_WINE_DISPLAY. ctest takes DISPLAY from every suite, but under Wine the
# suites run on Windows' own platform, which draws through Wine's X11 driver:
# Wine keeps QT_* variables from Windows programs, so QT_QPA_PLATFORM=offscreen
# never reaches them.
DISPLAY=${JOLV_WINE_DISPLAY:?run the suites with tools/windows/run_tests.sh} exec wine "$@"
