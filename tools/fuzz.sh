#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer targets with the fuzz preset (clang) and runs each for
# a bounded time from its seed corpus. Exits non-zero on any finding: a crash,
# a hang past the per-input timeout, a sanitizer report or a broken invariant.
#
# Usage: tools/fuzz.sh [SECONDS]        (default 60 for the HTML label; the
#                                       smaller dictionary readers get a third)
# Environment: FUZZ_BUILD_DIR overrides the build folder (default build-fuzz,
# the preset's own), so several people can fuzz without sharing a folder.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-60}"
build="${FUZZ_BUILD_DIR:-$root/build-fuzz}"

(cd "$root" && cmake --preset fuzz -B "$build" >/dev/null)
cmake --build "$build" --target html_label_fuzz dictionary_import_fuzz -j2

# New inputs the fuzzer finds go to a scratch folder, never into the seeds.
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

status=0
for target in html_label dictionary_import; do
    mkdir -p "$work/$target" "$root/fuzz/corpus/$target"
    time="$seconds"
    [ "$target" = dictionary_import ] && time=$(( (seconds + 2) / 3 ))
    echo "fuzzing $target for ${time}s"
    if ! "$build/bin/${target}_fuzz" -max_total_time="$time" -timeout=5 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$build/${target}_" \
        "$work/$target" "$root/fuzz/corpus/$target"; then
        echo "FINDING in $target (artifacts under $build/${target}_*)" >&2
        status=1
    fi
done
exit "$status"
