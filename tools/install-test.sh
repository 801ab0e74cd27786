#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a scratch prefix and checks the installed tree: the
# files the install rules must lay out, the installed kovelin-lookup on the
# installed dictionary, and the program itself, through the harness, on the
# installed data folder. A file missing from the install rules fails here.
#   tools/install-test.sh BUILD_DIR HARNESS SCENARIO
set -euo pipefail
build="$1"
harness="$2"
scenario="$3"
prefix="$build/install-test"
id=org.kovelin.Kovelin
rm -rf "$prefix"
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

fail() { echo "install-test: $*" >&2; exit 1; }
for f in bin/kovelin bin/kovelin-lookup bin/kovelin-pack \
         lib/kovelin/kovelin lib/kovelin/kovelin-lookup lib/kovelin/kovelin-pack \
         lib/kovelin/system/load.dll lib/kovelin/system/sysmaint.dll \
         lib/kovelin/system/wait.bmp lib/kovelin/system/splash.bmp lib/kovelin/system/start.wav \
         share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
         share/icons/hicolor/scalable/apps/$id.svg share/icons/hicolor/48x48/apps/$id.png \
         share/man/man1/kovelin.1.gz share/man/man1/kovelin-lookup.1.gz \
         share/man/man1/kovelin-pack.1.gz share/doc/kovelin/copyright; do
  [ -e "$prefix/$f" ] || fail "$f is not installed"
done
[ -x "$prefix/lib/kovelin/system/sysmaint.dll" ] || fail "sysmaint.dll is not executable"

# The installed tools on the installed dictionary, with no dictionary of the
# user's own in the way.
export HOME="$prefix/home" XDG_DATA_HOME="$prefix/home/data" XDG_RUNTIME_DIR="$prefix/run"
export XDG_CONFIG_HOME="$prefix/home/config" TMPDIR="$prefix/run"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
out=$("$prefix/bin/kovelin-lookup" नेपाल) || fail "kovelin-lookup failed: $out"
[ "${out%%$'\n'*}" = "नेपाल" ] || fail "kovelin-lookup found: $out"
"$prefix/bin/kovelin-lookup" --help | grep -q "Now: the bundled dictionary ($prefix/lib/kovelin/system/load.dll)" \
  || fail "kovelin-lookup --help does not name the installed dictionary"
"$prefix/bin/kovelin" --version | grep -q "GPL-3.0-or-later" || fail "kovelin --version names no licence"

# A dictionary of the user's own, made with the installed packer, comes first.
mkdir -p "$XDG_DATA_HOME/kovelin"
printf 'घर,बस्ने ठाउँ\n' > "$prefix/home/own.csv"
"$prefix/bin/kovelin-pack" "$prefix/home/own.csv" "$XDG_DATA_HOME/kovelin/load.dll" >/dev/null
out=$("$prefix/bin/kovelin-lookup" घ) || fail "kovelin-lookup on the user's dictionary failed"
[ "$out" = $'घर\nबस्ने ठाउँ ।' ] || fail "kovelin-lookup on the user's dictionary found: $out"
rm -r "$XDG_DATA_HOME/kovelin"

# The program on the installed data folder.
"$harness" "$scenario" --data "$prefix/lib/kovelin/system" --out "$prefix/shots" >/dev/null \
  || fail "the program does not start on the installed data folder"

if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net --explain "$prefix/share/metainfo/$id.metainfo.xml" >/dev/null \
    || fail "appstreamcli rejects the metainfo file"
fi
echo "install-test: ok"
