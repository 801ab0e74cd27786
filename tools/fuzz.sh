#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer targets with the fuzz preset (clang; every target also
# runs under AddressSanitizer and UndefinedBehaviorSanitizer) and runs each
# from its seed corpus. Exits non-zero on any finding: a crash, a hang past
# the per-input timeout, a sanitizer report or a broken invariant.
#
# Usage: tools/fuzz.sh [SECONDS]       each target for SECONDS (default 25),
#                                      new inputs kept only for the run
#        tools/fuzz.sh --long HOURS    a campaign: the targets in turn for
#                                      HOURS in all, new inputs kept in
#                                      BUILD/corpus/TARGET for the next one
#
# A finding is written to BUILD/TARGET_crash-* (or leak-, timeout-, oom-)
# with a one-line command that reproduces it. Seeds are made by
# tools/fuzz-seeds.sh.
# Environment: FUZZ_BUILD_DIR overrides the build folder (default build-fuzz,
# the preset's own), so several people can fuzz without sharing a folder.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="${FUZZ_BUILD_DIR:-$root/build-fuzz}"
targets=(html_label preeti clipboard settings loader archive table scenario dictionary_import)

long=0
seconds=25
if [[ "${1:-}" == "--long" ]]; then
    long=1
    hours="${2:?--long needs HOURS}"
    seconds=$(awk -v h="$hours" -v n="${#targets[@]}" 'BEGIN { printf "%d", h * 3600 / n }')
elif [[ -n "${1:-}" ]]; then
    seconds="$1"
fi

(cd "$root" && cmake --preset fuzz -B "$build" > /dev/null)
cmake --build "$build" --target "${targets[@]/%/_fuzz}" -j2

# New inputs go to a scratch folder (or, in a campaign, to the build's own
# corpus), never into the checked-in seeds.
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# Leaks inside system libraries that our code cannot free are not findings.
export LSAN_OPTIONS="suppressions=$root/tools/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"

# The importers of files from outside run under a tight memory limit, with
# no single allocation beyond a few megabytes: their seeds include bombs
# that only bounded reading survives.
limits() {
    case "$1" in
        dictionary_import | table) echo "-rss_limit_mb=512 -malloc_limit_mb=32" ;;
        *) echo "-rss_limit_mb=2048" ;;
    esac
}

status=0
for target in "${targets[@]}"; do
    if ((long)); then
        found="$build/corpus/$target"
    else
        found="$work/$target"
    fi
    mkdir -p "$found"
    echo "fuzzing $target for ${seconds}s"
    log="$work/$target.log"
    # shellcheck disable=SC2046
    if ! "$build/bin/${target}_fuzz" -max_total_time="$seconds" -timeout=5 $(limits "$target") \
        -print_final_stats=1 -artifact_prefix="$build/${target}_" \
        "$found" "$root/fuzz/corpus/$target" > "$log" 2>&1; then
        tail -n 30 "$log" >&2
        for artifact in "$build/${target}"_{crash,leak,timeout,oom}-*; do
            [[ -e "$artifact" ]] && echo "FINDING in $target; reproduce: $build/bin/${target}_fuzz $artifact" >&2
        done
        status=1
    fi
    grep -E '^stat::(number_of_executed_units|peak_rss_mb)|cov: ' "$log" | tail -n 3 || true
done
exit "$status"
