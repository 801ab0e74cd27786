#!/usr/bin/env bash
# Builds Kovelin and starts it on the bundled sample dictionary.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default -j "$(nproc)"
if [ -x build/bin/kovelin ]; then
  exec build/bin/kovelin "$@"
fi
# Until the desktop program exists, show the layer's demo window headless.
exec build/bin/kovelin-harness tools/harness/scenarios/demo.txt "$@"
