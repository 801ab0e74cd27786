#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a scratch prefix and checks the installed tree as
# a user meets it: the files the install rules lay out (the data folder
# exactly as the build's manifest lists it, beside the archive and the
# extraction tool), the menu entry and AppStream data through their
# validators, the installed kovelin-lookup and kovelin-pack, and the program
# itself: the harness, put beside the installed programs as the program is,
# runs SCENARIO there and from the build folder, at scale 1 and 2, and the
# state reports and shots must be identical. The program's private runtime
# folder must be empty after each run.
#   tools/install-test.sh BUILD_DIR HARNESS SCENARIO MANIFEST
set -euo pipefail
build=$(realpath "$1")
harness=$(realpath "$2")
scenario=$(realpath "$3")
manifest=$(realpath "$4")
prefix="$build/install-test"
id=org.kovelin.Kovelin
rm -rf "$prefix"
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

fail() { echo "install-test: $*" >&2; exit 1; }
for f in bin/kovelin bin/kovelin-lookup bin/kovelin-pack \
         lib/kovelin/kovelin lib/kovelin/kovelin-lookup lib/kovelin/kovelin-pack \
         share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
         share/icons/hicolor/scalable/apps/$id.svg share/icons/hicolor/48x48/apps/$id.png \
         share/man/man1/kovelin.1.gz share/man/man1/kovelin-lookup.1.gz \
         share/man/man1/kovelin-pack.1.gz share/doc/kovelin/copyright; do
  [ -e "$prefix/$f" ] || fail "$f is not installed"
done

# The data folder: what the asset tool wrote, the archive and the tool,
# nothing missing and nothing else.
system="$prefix/lib/kovelin/system"
[ -s "$manifest" ] || fail "$manifest is empty"
expected=$( (cat "$manifest"; printf 'load.dll\nsysmaint.dll\n') | sort)
installed=$(cd "$system" && find . -type f | sed 's|^\./||' | sort)
if [ "$expected" != "$installed" ]; then
  diff <(echo "$expected") <(echo "$installed") | sed 's/^</missing:/; s/^>/not listed:/' | grep : >&2 || true
  fail "the installed data folder differs from the build's list"
fi
[ -x "$system/sysmaint.dll" ] || fail "sysmaint.dll is not executable"

# The menu entry and the AppStream data, as the desktop's tools read them:
# not even a hint.
out=$(desktop-file-validate "$prefix/share/applications/$id.desktop" 2>&1) \
  && [ -z "$out" ] || fail "desktop-file-validate: $out"
appstreamcli validate --no-net --explain "$prefix/share/metainfo/$id.metainfo.xml" >/dev/null \
  || fail "appstreamcli rejects the metainfo file"

# The installed tools on the installed dictionary, with no dictionary of the
# user's own in the way.
export HOME="$prefix/home" XDG_DATA_HOME="$prefix/home/data" XDG_RUNTIME_DIR="$prefix/run"
export XDG_CONFIG_HOME="$prefix/home/config" TMPDIR="$prefix/run"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
out=$("$prefix/bin/kovelin-lookup" नेपाल) || fail "kovelin-lookup failed: $out"
[ "${out%%$'\n'*}" = "नेपाल" ] || fail "kovelin-lookup found: $out"
"$prefix/bin/kovelin-lookup" --help | grep -q "Now: the bundled dictionary ($system/load.dll)" \
  || fail "kovelin-lookup --help does not name the installed dictionary"
"$prefix/bin/kovelin" --version | grep -q "GPL-3.0-or-later" || fail "kovelin --version names no licence"

# A dictionary of the user's own, made with the installed packer, comes first.
mkdir -p "$XDG_DATA_HOME/kovelin"
printf 'घर,बस्ने ठाउँ\n' > "$prefix/home/own.csv"
"$prefix/bin/kovelin-pack" "$prefix/home/own.csv" "$XDG_DATA_HOME/kovelin/load.dll" >/dev/null
out=$("$prefix/bin/kovelin-lookup" घ) || fail "kovelin-lookup on the user's dictionary failed"
[ "$out" = $'घर\nबस्ने ठाउँ ।' ] || fail "kovelin-lookup on the user's dictionary found: $out"
rm -r "$XDG_DATA_HOME/kovelin"

# The program: the same scenario from the build folder and from the
# installed tree (through the link in bin/, as the menu starts it).
cp "$harness" "$prefix/lib/kovelin/"
ln -s ../lib/kovelin/kovelin-harness "$prefix/bin/kovelin-harness"
run() {  # NAME HARNESS SCALE
  local env="$prefix/runs/$1"
  mkdir -p "$env/run" "$env/config" "$env/data" "$env/out"
  chmod 700 "$env/run"
  XDG_RUNTIME_DIR="$env/run" XDG_CONFIG_HOME="$env/config" XDG_DATA_HOME="$env/data" \
    TMPDIR="$env/run" "$2" "$scenario" --out "$env/out" --scale "$3" >/dev/null \
    || fail "the scenario fails in the $1 run"
  # Once the program has closed, its private runtime folder is empty.
  left=$(find "$env/run" -mindepth 2 -print)
  [ -z "$left" ] || fail "the $1 run left in its runtime folder: $left"
}
for scale in 1 2; do
  run "build-$scale" "$harness" "$scale"
  run "installed-$scale" "$prefix/bin/kovelin-harness" "$scale"
  built="$prefix/runs/build-$scale/out"
  here="$prefix/runs/installed-$scale/out"
  [ -n "$(ls "$built")" ] || fail "the scenario wrote nothing"
  [ "$(ls "$built")" = "$(ls "$here")" ] || fail "the runs wrote different files at scale $scale"
  for f in "$built"/*; do
    name=$(basename "$f")
    if [ "${name##*.}" = json ]; then
      # Paths name each run's own folders; the rest must be the same.
      a=$(sed "s|$(dirname "$harness")/|PROGRAM/|g; s|$prefix/runs/build-$scale/|RUN/|g" "$f")
      b=$(sed "s|$prefix/lib/kovelin/|PROGRAM/|g; s|$prefix/runs/installed-$scale/|RUN/|g" "$here/$name")
      [ "$a" = "$b" ] || { diff <(echo "$a") <(echo "$b") | head -20 >&2
                           fail "$name differs from the build's at scale $scale"; }
    else
      cmp -s "$f" "$here/$name" || fail "$name differs from the build's at scale $scale"
    fi
  done
done
echo "install-test: ok"
