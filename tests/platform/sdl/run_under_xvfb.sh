#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a test program on a fresh virtual X display. Exits 77, which the test
# registration treats as "skipped", where Xvfb is not installed, or where a
# program named with --needs (say, a window manager) is not. --screen
# WxH gives the virtual screen's size (1024x768 unless given).
set -euo pipefail
screen=1024x768
while [ "${1:-}" = "--needs" ] || [ "${1:-}" = "--screen" ]; do
  if [ "$1" = "--screen" ]; then
    screen=$2
  elif ! command -v "$2" >/dev/null 2>&1; then
    echo "$2 not installed: skipping the desktop test"
    exit 77
  fi
  shift 2
done
if ! command -v xvfb-run >/dev/null 2>&1 || ! command -v Xvfb >/dev/null 2>&1; then
  echo "xvfb-run/Xvfb not installed: skipping the desktop test"
  exit 77
fi
export KOVELIN_XVFB=1
exec xvfb-run -a -s "-screen 0 ${screen}x24" "$@"
