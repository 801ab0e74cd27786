#!/usr/bin/env bash
# Runs a test program on a fresh virtual X display. Exits 77, which the test
# registration treats as "skipped", where Xvfb is not installed.
set -euo pipefail
if ! command -v xvfb-run >/dev/null 2>&1 || ! command -v Xvfb >/dev/null 2>&1; then
  echo "xvfb-run/Xvfb not installed: skipping the desktop test"
  exit 77
fi
export KOVELIN_XVFB=1
exec xvfb-run -a -s '-screen 0 1024x768x24' "$@"
