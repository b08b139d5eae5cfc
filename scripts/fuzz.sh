#!/usr/bin/env bash
# Runs every fuzz target (or the ones named) for a bounded time each, under
# AddressSanitizer and UndefinedBehaviorSanitizer, and prints executions and
# findings per target. CI does not run this; it replays the committed corpus.
#
#   scripts/fuzz.sh [seconds per target] [target...]
#
# Seconds default to $KX_FUZZ_SECONDS or 60. The build folder is
# $KX_FUZZ_BUILD (default build/fuzz). New corpus inputs stay in
# <build>/corpus/<target>; findings go to <build>/findings/<target>/.
# Exits 1 when anything was found or a target could not run.
set -uo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-${KX_FUZZ_SECONDS:-60}}
[ $# -gt 0 ] && shift
all=(replace_all project_name chunked_text code_page generate_project line_merge)
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=("${all[@]}")
build=${KX_FUZZ_BUILD:-build/fuzz}

if ! [[ $seconds =~ ^[0-9]+$ ]] || [ "$seconds" -eq 0 ]; then
    echo "fuzz: seconds must be a positive number, not '$seconds'" >&2
    exit 2
fi
for t in "${targets[@]}"; do
    if [ ! -d "fuzz/corpus/$t" ]; then
        echo "fuzz: unknown target '$t' (known: ${all[*]})" >&2
        exit 2
    fi
done

echo "== building the fuzz targets in $build"
# The log lives in the build folder, which a fresh clone does not have yet.
mkdir -p "$build" || exit 1
cmake -S . -B "$build" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKX_FUZZ=ON -DKX_SANITIZE=ON \
    -DKX_TESTS=OFF -DKX_BENCHMARKS=OFF >"$build/configure.log" 2>&1 ||
    { cat "$build/configure.log"; exit 1; }
# The build runs tools compiled with the sanitizers; their exit-time leaks are no finding.
ASAN_OPTIONS=detect_leaks=0 cmake --build "$build" -j2 --target "${targets[@]/#/kx_fuzz_}" || exit 1

declare -A executions findings
status=0
for t in "${targets[@]}"; do
    corpus="$build/corpus/$t"
    found="$build/findings/$t"
    log="$build/findings/$t.log"
    mkdir -p "$corpus" "$found"
    before=$(find "$found" -type f | wc -l)
    echo "== $t: ${seconds}s"
    # The seed corpus is read but never written; new inputs go to the build folder.
    "$build/fuzz/kx_fuzz_$t" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$found/" "$corpus" "fuzz/corpus/$t" >"$log" 2>&1
    rc=$?
    executions[$t]=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    findings[$t]=$(( $(find "$found" -type f | wc -l) - before ))
    if [ "$rc" -ne 0 ] || [ "${findings[$t]}" -ne 0 ] || [ -z "${executions[$t]}" ]; then
        status=1
        tail -40 "$log"
    fi
done

echo
printf '%-18s %14s %9s\n' target executions findings
for t in "${targets[@]}"; do
    printf '%-18s %14s %9s\n' "$t" "${executions[$t]:-none}" "${findings[$t]}"
done
exit $status
