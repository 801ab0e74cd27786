#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Kovelin and starts it on the bundled sample dictionary.
# Without a display, runs it headless through the harness instead and
# writes what it shows to build/run-shots/.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default -j "$(nproc)" --target kovelin kovelin-harness
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec build/bin/kovelin "$@"
fi
echo "No display found: running Kovelin headless; pictures go to build/run-shots/." >&2
exec build/bin/kovelin-harness tools/harness/scenarios/lookup.txt --out build/run-shots
