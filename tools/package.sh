#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package from the default build: the installed targets
# only, then CPack (dependencies from dpkg-shlibdeps), then lintian, which must
# finds no error. The package lands in build/.
#   tools/package.sh
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh dpkg-dev lintian
cmake --preset default >/dev/null
cmake --build build -j "$(nproc)" --target kovelin-installable
(cd build && cpack -G DEB >/dev/null)
deb=$(ls -t build/kovelin_*.deb | head -n 1)
echo "package.sh: $deb ($(du -h "$deb" | cut -f1))"
lintian --fail-on error "$deb"
