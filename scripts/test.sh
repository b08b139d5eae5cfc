#!/usr/bin/env bash
# Runs every test: the native suite, the same suite under sanitizers, and the
# Windows build under Wine (unit, kxgen and end-to-end GUI tests) on a private
# Xvfb display with fresh Wine prefixes.
#
# The Windows suite is the 32-bit build where this machine can execute 32-bit
# programs, and the 64-bit build of the same tree under wine64 where it cannot.
# KX_WINDOWS_ARCH=32, 64 or both forces the choice.
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

declare -A results
suites=()
failed=0
run_suite() {  # name, preset
    local name=$1 preset=$2 log="build/$2-ctest.log"
    suites+=("$name")
    echo "== $name"
    if ! cmake --preset "$preset" >/dev/null || ! cmake --build --preset "$preset"; then
        echo "$name: build failed"
        results[$name]="build failed"
        failed=1
        return
    fi
    rm -rf "build/$preset/gtest-results"
    ctest --preset "$preset" 2>&1 | tee "$log"
    local rc=${PIPESTATUS[0]}
    results[$name]=$(grep -E 'tests passed|tests failed' "$log" | tail -1)
    # Tests skipped inside a gtest program that runs as one CTest test (the
    # Windows side writes their reports) and tests CTest itself skipped.
    local inner outer
    inner=$(cat "build/$preset/gtest-results/"*.xml 2>/dev/null | grep -c '<skipped')
    outer=$(grep -cE '\(Skipped\)$' "$log")
    results[$name.skipped]=$((inner + outer))
    results[$name.outer_skipped]=$outer
    [ "$rc" -eq 0 ] || failed=1
}

# One Windows suite: its own display and its own Wine prefixes, a zh-CN one
# for the tests and a bare one for those that must show Chinese without the
# font association.
run_windows_suite() {  # 32|64
    local arch=$1 preset=mingw name=windows32
    [ "$arch" = 64 ] && preset=mingw64 name=windows64
    if [ "$arch" = 32 ] && [ $runs32 = no ]; then
        suites+=("$name")
        results[$name]="not run: $why32"
        failed=1
        return
    fi
    local display=90
    while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
    Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    local xvfb_pid=$!
    export DISPLAY=":$display" KX_WINE_ARCH=$arch
    KX_WINEPREFIX=$(mktemp -d /tmp/kx-wine.XXXXXX)
    KX_WINEPREFIX_PLAIN=$(mktemp -d /tmp/kx-wine-plain.XXXXXX)
    export KX_WINEPREFIX KX_WINEPREFIX_PLAIN
    # Made by the runner on first use; an empty folder means "make it here".
    rmdir "$KX_WINEPREFIX" "$KX_WINEPREFIX_PLAIN"
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done
    echo "== preparing Wine prefixes ($arch-bit)"
    tests/wine/run-under-wine.sh wineboot -i >/dev/null 2>&1 &
    local zh=$!
    KX_WINEPREFIX=$KX_WINEPREFIX_PLAIN KX_WINE_LOOK=plain \
        tests/wine/run-under-wine.sh wineboot -i >/dev/null 2>&1 &
    local plain=$!
    wait "$zh" "$plain"
    run_suite "$name" "$preset"
    for prefix in "$KX_WINEPREFIX" "$KX_WINEPREFIX_PLAIN"; do
        WINEPREFIX=$prefix /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
        rm -rf "$prefix"
    done
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
}

cleanup() {
    for prefix in "${KX_WINEPREFIX:-}" "${KX_WINEPREFIX_PLAIN:-}"; do
        [ -n "$prefix" ] || continue
        WINEPREFIX=$prefix /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
        rm -rf "$prefix"
    done
    jobs -p | xargs -r kill 2>/dev/null || true
}
trap cleanup EXIT

start=$SECONDS
run_suite native native
run_suite sanitize sanitize
for arch in "${windows[@]}"; do run_windows_suite "$arch"; done

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
exit $failed
