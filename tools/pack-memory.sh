#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Peak memory and time of kovelin-pack on a CSV dictionary of N and 4N
# synthetic entries and on hostile inputs: a one-line CSV of BIG megabytes,
# a StarDict dictionary whose compressed data holds one entry of BIG
# megabytes, and one whose sixteen entries point at the same 10 MB.
#
# Usage: tools/pack-memory.sh [BUILD_DIR] [N] [BIG]   (default build, 300000, 400)
# Needs GNU time (/usr/bin/time) and kovelin-pack and kovelin-gen-dict built.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
bin="${1:-$root/build}/bin"
n="${2:-300000}"
big="${3:-400}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

be32() {  # a number as four big-endian bytes
    printf "\\x$(printf %02x $(($1 >> 24 & 255)))\\x$(printf %02x $(($1 >> 16 & 255)))"
    printf "\\x$(printf %02x $(($1 >> 8 & 255)))\\x$(printf %02x $(($1 & 255)))"
}
devanagari() (  # BYTES of Devanagari letters (whole letters: a multiple of 9), no line break
    set +o pipefail
    yes 'कखग' | tr -d '\n' | head -c "$1"
)
stardict() {  # NAME ENTRIES DATA_BYTES: ENTRIES entries all pointing at the whole data
    local name="$1" entries="$2" size="$3" word="घर" i
    devanagari "$size" | gzip -9 > "$work/$name.dict.dz"
    : > "$work/$name.idx"
    for ((i = 0; i < entries; ++i)); do
        { printf '%s\0' "$word"; be32 0; be32 "$size"; } >> "$work/$name.idx"
        word+="क"
    done
    printf "StarDict's dict ifo file\nversion=2.4.2\nbookname=%s\nwordcount=%d\nidxfilesize=%d\nsametypesequence=m\n" \
        "$name" "$entries" "$(stat -c %s "$work/$name.idx")" > "$work/$name.ifo"
}
measure() {  # LABEL INPUT
    local input="$2" status=0 sizes
    sizes=$(du -cb "${input%.*}".* | tail -n 1 | cut -f 1)
    /usr/bin/time -f '%M %e' -o "$work/time" "$bin/kovelin-pack" "$input" "$work/out.dll" \
        > "$work/log" 2>&1 || status=$?
    read -r kb seconds < <(tail -n 1 "$work/time")
    printf '%-28s input %7.1f MB  peak %7.1f MB  %6.2f s  exit %d  %s\n' "$1" \
        "$(echo "$sizes / 1000000" | bc -l)" "$(echo "$kb / 1000" | bc -l)" "$seconds" \
        "$status" "$(grep -v ': skipped: ' "$work/log" | tail -n 1 | cut -c 1-90)"
    rm -f "$work/out.dll"
}

"$bin/kovelin-gen-dict" "$n" "$work/n.tsv"
"$bin/kovelin-gen-dict" $((4 * n)) "$work/4n.tsv"
sed 's/\t/,/' "$work/n.tsv" > "$work/n.csv"
sed 's/\t/,/' "$work/4n.tsv" > "$work/4n.csv"
rm "$work/n.tsv" "$work/4n.tsv"
{ printf 'घर,"'; devanagari $((big * 999999)); printf '"\n'; } > "$work/one_line.csv"
stardict one_entry 1 $((big * 999999))
stardict same_text 16 9999999

measure "CSV, $n entries" "$work/n.csv"
measure "CSV, $((4 * n)) entries" "$work/4n.csv"
measure "CSV, one line of $big MB" "$work/one_line.csv"
measure "StarDict, one $big MB entry" "$work/one_entry.ifo"
measure "StarDict, 16 x the same 10 MB" "$work/same_text.ifo"
