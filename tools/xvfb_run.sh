#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# xvfb-run on a display number of its own. An X client tries the abstract
# socket @/tmp/.X11-unix/X<n> before the socket file, and abstract sockets
# are shared by every container on a host's network: there xvfb-run -a's
# first free number, 99, can be another machine's server, which refuses our
# cookie, and Qt reports no display. A random start among 29000 numbers
# makes that unlikely; -a still skips the numbers in use here.
# Usage: tools/xvfb_run.sh [xvfb-run options] COMMAND...
exec xvfb-run -a -n "$((1000 + RANDOM % 29000))" "$@"
