#!/usr/bin/env bash
# Runs every test: the native suite, the same suite under sanitizers, and the
# Windows build under Wine (unit, kxgen, package and end-to-end GUI tests) on
# a private Xvfb display with fresh Wine prefixes.
#
# The Windows suite is the 32-bit build where this machine can execute 32-bit
# programs, and the 64-bit build of the same tree under wine64 where it cannot.
# KX_WINDOWS_ARCH=32, 64 or both forces the choice.
#
# The Windows suite spends most of its time waiting for windows, so the Linux
# trees are built and tested meanwhile, at a lower priority; their output
# follows the Windows suite's. The summary ends with the time of each phase.
set -uo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh || exit 1

# Can this kernel execute a 32-bit program? Asked of Wine's own 32-bit loader,
# the very program the 32-bit suite needs: some x86-64 kernels cannot.
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
    runs32=yes
    why32="this machine runs 32-bit programs"
else
    runs32=no
    why32="this machine cannot run 32-bit programs (Wine's 32-bit loader does not start)"
fi
case "${KX_WINDOWS_ARCH:-}" in
    "") if [ $runs32 = yes ]; then windows=(32); else windows=(64); fi
        why="$why32" ;;
    32|64) windows=("$KX_WINDOWS_ARCH"); why="KX_WINDOWS_ARCH=$KX_WINDOWS_ARCH; $why32" ;;
    both) windows=(32 64); why="KX_WINDOWS_ARCH=both; $why32" ;;
    *) echo "test.sh: KX_WINDOWS_ARCH must be 32, 64 or both" >&2; exit 2 ;;
esac

mkdir -p build
timings=build/test-timings.txt
: >"$timings"
# Runs a command and notes its wall time and the CPU time of the processes it
# waited for (Wine's server and services, which detach, are not among them).
timed() {  # phase, command...
    local phase=$1 t0=$EPOCHREALTIME s0 s1 rc
    shift
    read -r -a s0 </proc/$BASHPID/stat
    "$@"
    rc=$?
    read -r -a s1 </proc/$BASHPID/stat
    awk -v p="$phase" -v t0="$t0" -v t1="$EPOCHREALTIME" -v hz="$(getconf CLK_TCK)" \
        -v c=$((s1[15] + s1[16] - s0[15] - s0[16])) \
        'BEGIN { printf "%-22s %8.1f %8.1f\n", p, t1 - t0, c / hz }' >>"$timings"
    return $rc
}

preset_of() { case $1 in windows32) echo mingw ;; windows64) echo mingw64 ;; *) echo "$1" ;; esac; }

# A suite's tree: configured and built, or marked as failed to build.
build_suite() {  # name
    local preset
    preset=$(preset_of "$1")
    rm -f "build/$preset.build-failed"
    cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset" && return 0
    touch "build/$preset.build-failed"
    return 1
}

# A suite's tests, their output also in build/<preset>-ctest.log.
test_suite() {  # name
    local preset
    preset=$(preset_of "$1")
    rm -rf "build/$preset/gtest-results" "build/$preset-ctest.log"
    [ -e "build/$preset.build-failed" ] && return 1
    ctest --preset "$preset" 2>&1 | tee "build/$preset-ctest.log"
}

# What a suite's build and log say, for the summary.
declare -A results
suites=()
failed=0
collect() {  # name
    local name=$1 preset log
    preset=$(preset_of "$name")
    log="build/$preset-ctest.log"
    suites+=("$name")
    if [ -e "build/$preset.build-failed" ]; then
        results[$name]="build failed"
        failed=1
        return
    fi
    results[$name]=$(grep -E 'tests passed|tests failed' "$log" 2>/dev/null | tail -1)
    grep -q '^100% tests passed' <<<"${results[$name]}" || failed=1
    # Tests skipped inside a gtest program that runs as one CTest test (the
    # Windows side writes their reports) and tests CTest itself skipped.
    local inner outer
    inner=$(cat "build/$preset/gtest-results/"*.xml 2>/dev/null | grep -c '<skipped')
    outer=$(grep -cE '\(Skipped\)$' "$log" 2>/dev/null)
    results[$name.skipped]=$((inner + outer))
    results[$name.outer_skipped]=$outer
}

# A Windows suite's display and Wine prefixes: a zh-CN one for the tests and a
# bare one for those that must show Chinese without the font association.
# choose_wine names them (and starts the display); boot_wine, which may run in
# the background, makes the prefixes. Each prefix keeps its Wine server and
# services running for the whole suite, started here with no test's output to
# hold open: each Wine program then starts in a fraction of the time.
choose_wine() {  # 32|64
    local display=90
    while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
    Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$display" KX_WINE_ARCH=$1
    KX_WINEPREFIX=$(mktemp -d /tmp/kx-wine.XXXXXX)
    KX_WINEPREFIX_PLAIN=$(mktemp -d /tmp/kx-wine-plain.XXXXXX)
    export KX_WINEPREFIX KX_WINEPREFIX_PLAIN
    # Made by the runner on first use; an empty folder means "make it here".
    rmdir "$KX_WINEPREFIX" "$KX_WINEPREFIX_PLAIN"
}
boot_wine() {
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${DISPLAY#:}" ] && break; sleep 0.1; done
    local look prefix pids=()
    for look in zh-CN plain; do
        prefix=$KX_WINEPREFIX
        [ $look = plain ] && prefix=$KX_WINEPREFIX_PLAIN
        (
            export KX_WINE_LOOK=$look KX_WINEPREFIX=$prefix
            tests/wine/run-under-wine.sh wineboot -i
            WINEPREFIX=$prefix /usr/lib/wine/wineserver -p
            tests/wine/run-under-wine.sh cmd /c exit
        ) </dev/null >/dev/null 2>&1 &
        pids+=($!)
    done
    wait "${pids[@]}"
}
end_wine() {
    for prefix in "${KX_WINEPREFIX:-}" "${KX_WINEPREFIX_PLAIN:-}"; do
        [ -n "$prefix" ] || continue
        WINEPREFIX=$prefix /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
        rm -rf "$prefix"
    done
    unset KX_WINEPREFIX KX_WINEPREFIX_PLAIN
    if [ -n "${xvfb_pid:-}" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
        xvfb_pid=
    fi
}
trap 'end_wine; jobs -p | xargs -r kill 2>/dev/null || true' EXIT

start=$SECONDS
# The first Windows tree is built while its Wine is prepared; then its suite
# runs, and the Linux trees are built and tested meanwhile in the background
# (with the second Windows tree, for both), at a lower priority.
name=windows${windows[0]}
linux_log=build/linux-suites.log
if [ "$name" = windows32 ] && [ $runs32 = no ]; then
    skip_first=yes
else
    skip_first=no
    echo "== $name"
    choose_wine "${windows[0]}"
    timed "$name prefixes" boot_wine &
    booting=$!
    timed "$name build" build_suite "$name"
    wait $booting
fi
(
    renice -n 10 -p $BASHPID >/dev/null
    for suite in native sanitize; do
        echo "== $suite"
        timed "$suite build" build_suite $suite
        timed "$suite tests" test_suite $suite
    done
    if [ ${#windows[@]} -eq 2 ]; then
        echo "== windows${windows[1]} build"
        timed "windows${windows[1]} build" build_suite "windows${windows[1]}"
    fi
    true
) >"$linux_log" 2>&1 </dev/null &
linux=$!
if [ $skip_first = no ]; then
    timed "$name tests" test_suite "$name"
    end_wine
fi
wait $linux
cat "$linux_log"

if [ ${#windows[@]} -eq 2 ]; then
    name=windows${windows[1]}
    echo "== $name"
    choose_wine "${windows[1]}"
    timed "$name prefixes" boot_wine
    timed "$name tests" test_suite "$name"
    end_wine
fi

for suite in native sanitize; do collect $suite; done
for arch in "${windows[@]}"; do
    if [ "$arch" = 32 ] && [ $runs32 = no ]; then
        suites+=(windows32)
        results[windows32]="not run: $why32"
        failed=1
    else
        collect "windows$arch"
    fi
done

echo
echo "== summary ($((SECONDS - start)) s)"
if [ ${#windows[@]} -eq 2 ]; then
    echo "Windows: the 32-bit and the 64-bit suite, because $why"
else
    echo "Windows: the ${windows[0]}-bit suite, because $why"
fi
total_passed=0
total_failed=0
total_skipped=0
for name in "${suites[@]}"; do
    line=${results[$name]:-not run}
    skipped=${results[$name.skipped]:-0}
    echo "$name: $line ($skipped skipped)"
    if [[ $line =~ ([0-9]+)\ tests\ failed\ out\ of\ ([0-9]+) ]]; then
        total_failed=$((total_failed + BASH_REMATCH[1]))
        # CTest counts its own skipped tests among those that did not fail.
        total_passed=$((total_passed + BASH_REMATCH[2] - BASH_REMATCH[1] - ${results[$name.outer_skipped]:-0}))
        total_skipped=$((total_skipped + skipped))
    else
        total_failed=$((total_failed + 1))
    fi
done
for arch in 32 64; do
    [[ " ${windows[*]} " == *" $arch "* ]] || echo "windows$arch: not run ($why; KX_WINDOWS_ARCH=$arch runs it)"
done
echo "$total_passed passed, $total_failed failed, $total_skipped skipped"
echo "phase                  wall (s)  CPU (s)   (the Linux trees' phases overlap the Windows tests)"
cat "$timings"
exit $failed
