#!/usr/bin/env bash
# Runs every test: the native suite, the same suite under sanitizers, and the
# Windows build under Wine (unit, kxgen and end-to-end GUI tests) on a private
# Xvfb display with a fresh Wine prefix.
set -uo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh || exit 1

declare -A results
failed=0
run_suite() {  # name, preset
    local name=$1 preset=$2 log="build/$2-ctest.log"
    echo "== $name"
    if ! cmake --preset "$preset" >/dev/null || ! cmake --build --preset "$preset"; then
        echo "$name: build failed"
        results[$name]="build failed"
        failed=1
        return
    fi
    ctest --preset "$preset" 2>&1 | tee "$log"
    local rc=${PIPESTATUS[0]}
    results[$name]=$(grep -E 'tests passed|tests failed' "$log" | tail -1)
    [ "$rc" -eq 0 ] || failed=1
}

run_suite native native
run_suite sanitize sanitize

# Windows side: one display and one Wine prefix for this run.
display=90
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=":$display"
export KX_WINEPREFIX
KX_WINEPREFIX=$(mktemp -d /tmp/kx-wine.XXXXXX)
cleanup() {
    WINEPREFIX=$KX_WINEPREFIX wineserver -k >/dev/null 2>&1 || true
    kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$KX_WINEPREFIX"
}
trap cleanup EXIT
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done
echo "== preparing Wine prefix"
tests/wine/run-under-wine.sh wineboot -i >/dev/null 2>&1 || true
run_suite windows mingw

echo
echo "== summary"
total_passed=0
total_failed=0
for name in native sanitize windows; do
    line=${results[$name]:-not run}
    echo "$name: $line"
    if [[ $line =~ ([0-9]+)\ tests\ failed\ out\ of\ ([0-9]+) ]]; then
        total_failed=$((total_failed + BASH_REMATCH[1]))
        total_passed=$((total_passed + BASH_REMATCH[2] - BASH_REMATCH[1]))
    else
        total_failed=$((total_failed + 1))
    fi
done
echo "$total_passed passed, $total_failed failed"
exit $failed
