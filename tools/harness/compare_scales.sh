#!/bin/sh
# Runs a harness scenario at scale 1 and at scale N and checks that the two
# runs agree: every `expect` holds at both scales, every state report is
# identical byte for byte (positions, hits, everything the scenario saw),
# every shot is N times as wide and as high. A final state report is added
# to the scenario, so each has at least one to compare.
#
#   compare_scales.sh HARNESS SCENARIO OUT_DIR ENV_DIR N
set -eu
harness=$1
scenario=$2
out=$3
env=$4
scale=$5

mkdir -p "$env"
script="$env/scenario.txt"
cat "$scenario" > "$script"
printf '\nstate zz-final-state.json\n' >> "$script"

run() {
    rm -rf "$env/$1" "$out/$1"
    mkdir -p "$env/$1/run" "$env/$1/config" "$out/$1"
    chmod 700 "$env/$1/run"
    XDG_RUNTIME_DIR="$env/$1/run" XDG_CONFIG_HOME="$env/$1/config" TMPDIR="$env/$1/run" \
        "$harness" "$script" --out "$out/$1" --scale "$1"
}

# A PNG's width or height (big-endian words at bytes 16 and 20).
png_side() {
    od -An -tu1 -j "$2" -N4 "$1" | awk '{ print (($1 * 256 + $2) * 256 + $3) * 256 + $4 }'
}

run 1
run "$scale"

status=0
found=0
for report in "$out/1"/*.json; do
    [ -e "$report" ] || continue
    found=1
    name=$(basename "$report")
    if ! cmp -s "$report" "$out/$scale/$name"; then
        echo "state report $name differs at scale $scale:"
        diff "$report" "$out/$scale/$name" | head -20 || true
        status=1
    fi
done
for shot in "$out/1"/*.png; do
    [ -e "$shot" ] || continue
    name=$(basename "$shot")
    for at in 16 20; do
        one=$(png_side "$shot" $at)
        big=$(png_side "$out/$scale/$name" $at)
        if [ "$big" -ne $((one * scale)) ]; then
            echo "shot $name: $big pixels at scale $scale, $one at scale 1"
            status=1
        fi
    done
done
if [ $found -eq 0 ]; then
    echo "the scenario wrote no state report to compare"
    status=1
fi
exit $status
