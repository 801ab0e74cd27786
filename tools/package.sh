#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package in a build folder of its own (build/package, the
# `package` preset) with the distribution's compiler flags, hardening
# included: the installed targets only, then CPack (dependencies from
# dpkg-shlibdeps), then lintian, which must find no error and no warning
# but the first upload's.
# The package lands in build/.
#   tools/package.sh
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh dpkg-dev lintian
source=$(pwd -P)
build="$source/build/package"

# A folder configured for another checkout (this one copied, the build
# folder with it) cannot be built here: CMake keeps its paths. It holds
# nothing but packaging's build, so it starts afresh.
cached() { sed -n "s/^$1:INTERNAL=//p" "$build/CMakeCache.txt"; }
if [ -f "$build/CMakeCache.txt" ]; then
  home=$(cached CMAKE_HOME_DIRECTORY)
  cache_dir=$(cached CMAKE_CACHEFILE_DIR)
  if [ "$(realpath -m "$home")" != "$source" ] || [ "$(realpath -m "$cache_dir")" != "$build" ]; then
    echo "package.sh: $build was configured for $home; configuring it again"
    rm -rf "$build"
  fi
fi

# What dpkg-buildpackage would use: optimisation, debug information (which
# the package strips), and every hardening option (fortified functions,
# stack protector, read-only relocations bound at start).
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cppflags=$(dpkg-buildflags --get CPPFLAGS)
cmake --preset package \
  -DCMAKE_C_FLAGS="$cppflags $(dpkg-buildflags --get CFLAGS)" \
  -DCMAKE_CXX_FLAGS="$cppflags $(dpkg-buildflags --get CXXFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build --preset package -j "$(nproc)" --target kovelin-installable
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls -t "$build"/kovelin_*.deb | head -n 1)
mv -f "$deb" build/
deb="build/$(basename "$deb")"
echo "package.sh: $deb ($(du -h "$deb" | cut -f1))"
# A first upload closes no bug report, the one warning expected until the
# package has been uploaded; any other warning or error fails.
report=$(lintian "$deb" 2>&1 | grep -v '^running with root privileges' || true)
[ -z "$report" ] || echo "$report"
if echo "$report" | grep -E '^[EW]: ' | grep -qv ' initial-upload-closes-no-bugs '; then
  echo "package.sh: lintian finds errors or warnings" >&2
  exit 1
fi
