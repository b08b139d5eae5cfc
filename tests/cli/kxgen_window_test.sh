#!/usr/bin/env bash
# kxgen.exe in a console window of its own, as Explorer starts it on a
# double-click (here `start /wait`, which opens a new console): it waits for
# a key before the window closes, and ignores Shift alone. From cmd in the
# same window it does not wait. Keys are typed on the display with xdotool.
# usage: kxgen_window_test.sh KXGEN RUNNER
set -uo pipefail

source "$(dirname "$0")/common.sh"

# Starts kxgen.exe through `start /wait` (with cmd first when asked) in the
# background; its exit code lands in $work/rc.
start_in_window() {  # via(direct|cmd) args...
    local via=$1
    shift
    rm -f "$work/rc"
    local program=("$(win_path "$kxgen")" "$@")
    [ "$via" = cmd ] && program=(cmd /c "${program[@]}")
    ("$runner" start /wait "${program[@]}" </dev/null >/dev/null 2>&1; echo $? >"$work/rc") &
}
finished_within() {  # seconds
    local tries
    for ((tries = 0; tries < $1 * 10; tries++)); do
        [ -s "$work/rc" ] && return 0
        sleep 0.1
    done
    return 1
}
# The console window kxgen.exe runs in: its title is the program's path.
console_window() {
    local tries window
    for ((tries = 0; tries < 300; tries++)); do
        window=$(xdotool search --onlyvisible --name 'kxgen\.exe' 2>/dev/null | head -1)
        [ -n "$window" ] && { echo "$window"; return 0; }
        sleep 0.1
    done
    return 1
}
press() {  # key
    local window
    window=$(console_window) || return 1
    xdotool windowfocus --sync "$window" && xdotool key "$1"
}

root="$work/out"
mkdir -p "$root"
# The project written, the window still open: it waits.
start_in_window direct demo --root "$(win_path "$root")" --no-open
for ((tries = 0; tries < 600; tries++)); do [ -f "$root/demo/demo.kxproj" ] && break; sleep 0.1; done
check "a window of its own: the project is written" test -f "$root/demo/demo.kxproj"
check "a window of its own: kxgen waits for a key" eval '! finished_within 2'
press shift
check "a window of its own: Shift alone does not close it" eval '! finished_within 2'
press space
check "a window of its own: a key closes it" finished_within 30
check "a window of its own: exit code 0 after the key" test "$(cat "$work/rc" 2>/dev/null)" = 0

# A usage error keeps its exit code through the wait.
start_in_window direct --no-such-option
console_window >/dev/null
check "a usage error in a window of its own: kxgen waits" eval '! finished_within 2'
press Return
check "a usage error in a window of its own: exit code 2 after the key" \
    eval 'finished_within 30 && test "$(cat "$work/rc")" = 2'

# From cmd the window is the shell's: no wait.
start_in_window cmd demo2 --root "$(win_path "$root")" --no-open
check "from cmd in the same window: kxgen ends without a key" finished_within 60
check "from cmd in the same window: the project is written" test -f "$root/demo2/demo2.kxproj"

echo "kxgen window: $failures failed"
[ "$failures" -eq 0 ]
