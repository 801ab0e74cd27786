#!/usr/bin/env bash
# Makes the fuzz targets' seed corpora (fuzz/corpus/TARGET/) from the sample
# dictionary with the project's own tools, so the seeds are small, readable
# where they can be, and made again the same way after a format changes.
# The HTML label's seeds, and the importer's hand-written ones, are left
# alone.
#
# Usage: tools/fuzz-seeds.sh [BUILD_DIR]   (default build; needs kovelin-pack
# and sysmaint built there)
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
bin="${1:-$root/build}/bin"
corpus="$root/fuzz/corpus"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

table="$root/data/dictionary.tsv"
seed() {  # seed TARGET NAME: standard input becomes the seed file
    mkdir -p "$corpus/$1"
    cat > "$corpus/$1/$2"
}
for target in preeti clipboard settings loader archive table scenario; do
    rm -rf "${corpus:?}/$target"
done

# A small table: the first entries and a few with sub-entries.
{ head -n 6 "$table"; grep -m 3 '\[' "$table"; } > "$work/small.tsv"
"$bin/kovelin-pack" "$work/small.tsv" "$work/load.dll" > /dev/null
(cd "$work" && "$bin/sysmaint" -o -squarbelink load.dll > /dev/null)
words="$work/M_A_X_T1"
lines="$work/M_A_X_T2"

# Archives: as packed, unencrypted, and with AES.
seed archive packed < "$work/load.dll"
"$bin/kovelin-pack" --encryption none "$work/small.tsv" "$work/plain.dll" > /dev/null
seed archive plain < "$work/plain.dll"
"$bin/kovelin-pack" --encryption aes "$work/small.tsv" "$work/aes.dll" > /dev/null
seed archive aes < "$work/aes.dll"

# The two data files, behind the two-byte length of the records.
records_size=$(stat -c %s "$words")
{ printf "\\x$(printf %02x $((records_size >> 8)))\\x$(printf %02x $((records_size & 255)))"
  cat "$words" "$lines"; } | seed loader packed
{ printf '\x00\x22'; head -c 34 "$words"; printf 'line one\nline two\r\n\0tail'; } | seed loader mixed_ends

# Converters: Preeti definition lines, and Unicode lines from the table.
head -n 3 "$lines" | tr -d '\r' | seed preeti preeti_lines
awk -F'\t' 'NR <= 3 { print $2 }' "$table" | seed preeti unicode_lines
awk -F'\t' 'NR <= 40 { printf "%s ", $1 }' "$table" | seed preeti unicode_words
awk -F'\t' 'NR <= 2 { print $2 }' "$table" | seed clipboard unicode
head -n 2 "$lines" | tr -d '\r' | seed clipboard preeti_bytes

# Tables: the first byte picks the encoding (0 Unicode, 1 Preeti).
{ printf '\x00'; cat "$work/small.tsv"; } | seed table unicode
{ printf '\x01'
  paste <(fold -b -w 34 "$words" | cut -b 1-30 | sed 's/ *$//') <(tr -d '\r' < "$lines") |
      awk 'NR <= 5'; } | seed table preeti

# Settings files.
printf '[Search]\r\nHistory=3/,3/,g]kfn\r\n' | seed settings history
printf '; note\n[ Data ]\nKey = a\\x00b\\n\n[Other]\nx=1\n' | seed settings escaped

# The importer: the first byte picks the reader (see
# fuzz/dictionary_import_fuzz.cpp); StarDict input is the index's length
# (two bytes, low first), the index, then the data. Besides a plain
# dictionary, bombs that the limits must stop early: compressed data
# expanding a thousandfold, and an index whose entries all point at the same
# text.
be32() { printf "\\x$(printf %02x $(($1 >> 24 & 255)))\\x$(printf %02x $(($1 >> 16 & 255)))\\x$(printf %02x $(($1 >> 8 & 255)))\\x$(printf %02x $(($1 & 255)))"; }
le16() { printf "\\x$(printf %02x $(($1 & 255)))\\x$(printf %02x $(($1 >> 8 & 255)))"; }
stardict_seed() {  # NAME MODE INDEX_FILE DATA_FILE
    { printf "\\x$2"; le16 "$(stat -c %s "$3")"; cat "$3" "$4"; } | seed dictionary_import "$1"
}
rm -f "$corpus/dictionary_import/"{sd1,stardict_*,*_bomb}
printf 'बस्ने ठाउँ' > "$work/text"
{ printf 'घर\0'; be32 0; be32 "$(stat -c %s "$work/text")"; } > "$work/index"
stardict_seed stardict_plain 40 "$work/index" "$work/text"
gzip -9n < "$work/text" > "$work/text.gz"
stardict_seed stardict_compressed 7c "$work/index" "$work/text.gz"
head -c 1000000 /dev/zero | tr '\0' 'a' | gzip -9n > "$work/zeros.gz"
{ printf '\x02'; cat "$work/zeros.gz"; } | seed dictionary_import gzip_bomb
{ printf 'घर\0'; be32 0; be32 1000000; } > "$work/index"
stardict_seed stardict_gzip_bomb 7c "$work/index" "$work/zeros.gz"
head -c 2000 /dev/zero | tr '\0' 'a' > "$work/text"
for i in $(seq 200); do printf 'घर\0'; be32 0; be32 2000; done > "$work/index"
stardict_seed stardict_same_text_bomb 09 "$work/index" "$work/text"

# Scenarios: the harness's own.
for scenario in lookup history startup_report; do
    seed scenario "$scenario" < "$root/tools/harness/scenarios/$scenario.txt"
done
echo "seeds written to $corpus"
