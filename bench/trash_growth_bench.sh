#!/usr/bin/env bash
# Regenerating one project many times into one trash: does a run get slower
# as the trash fills? Counts the instructions of the first and of the last
# regeneration (callgrind, or perf where the processor's counters can be
# read) and prints their ratio; goal: at most 1.2.
#
#   bench/trash_growth_bench.sh KXGEN [RUNS] [--keep DIR]
#
# RUNS regenerations (default 300) of one project with --yes into a trash in
# a temporary $XDG_DATA_HOME. With --keep the two worlds stay in DIR: first/
# (one regeneration done) and last/ (RUNS done), and the command lines that
# regenerate each are printed, for timing them against each other from outside.
set -euo pipefail

usage() { echo "usage: $0 KXGEN [RUNS] [--keep DIR]" >&2; exit 2; }
[ $# -ge 1 ] || usage
kxgen=$(realpath "$1")
shift
runs=300
keep=
while [ $# -gt 0 ]; do
    case $1 in
        --keep) [ $# -ge 2 ] || usage; keep=$2; shift 2 ;;
        *[!0-9]* | '') usage ;;
        *) runs=$1; shift ;;
    esac
done
[ "$runs" -ge 2 ] || usage

if [ -n "$keep" ]; then
    mkdir -p "$keep"
    work=$(realpath "$keep")
else
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
fi

# The instructions one command executes in user space.
counter=
if command -v perf >/dev/null && perf stat -x, -e instructions true 2>&1 | grep -q '^[0-9]'; then
    counter=perf
elif command -v valgrind >/dev/null; then
    counter=callgrind
else
    echo "neither perf with instruction counters nor valgrind is here" >&2
    exit 1
fi
count_instructions() {
    local log="$work/count.log"
    if [ $counter = perf ]; then
        perf stat -x, -e instructions:u -o "$log" "$@" >/dev/null
        grep -m1 'instructions' "$log" | cut -d, -f1
    else
        valgrind --tool=callgrind --callgrind-out-file=/dev/null --log-file="$log" "$@" >/dev/null
        sed -n 's/.*Collected : \([0-9]*\).*/\1/p' "$log"
    fi
}

# A world: an output root with the project generated once and an empty trash.
make_world() {
    rm -rf "$1"
    mkdir -p "$1"
    XDG_DATA_HOME="$1/xdg" "$kxgen" demo --root "$1/root" --yes --no-open -q >/dev/null 2>&1
}
regenerate() {  # world, then a command to run kxgen through (or none)
    local world=$1
    shift
    XDG_DATA_HOME="$world/xdg" "$@" "$kxgen" demo --root "$world/root" --yes --no-open -q 2>/dev/null
}

make_world "$work/first"
first=$(regenerate "$work/first" count_instructions)

make_world "$work/last"
for ((i = 1; i < runs; i++)); do regenerate "$work/last" >/dev/null; done
last=$(regenerate "$work/last" count_instructions)
entries=$(find "$work/last/xdg/Trash/info" -name '*.trashinfo' | wc -l)

echo "instructions ($counter): regeneration 1: $first, regeneration $runs: $last ($entries entries in the trash)"
awk -v a="$first" -v b="$last" 'BEGIN { r = b / a; printf "ratio %.3f (goal: at most 1.2)\n", r }'
if [ -n "$keep" ]; then
    for w in first last; do
        echo "$w: env XDG_DATA_HOME=$work/$w/xdg $kxgen demo --root $work/$w/root --yes --no-open -q"
    done
fi
