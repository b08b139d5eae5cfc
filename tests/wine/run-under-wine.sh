#!/usr/bin/env bash
# Runs a Windows program under Wine with the ANSI code page 936.
# The prefix comes from KX_WINEPREFIX (one per test run, see scripts/test.sh);
# the display from DISPLAY, or a private Xvfb when none is set.
set -euo pipefail

export LC_ALL=zh_CN.UTF-8
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win32
export WINEPREFIX="${KX_WINEPREFIX:-${TMPDIR:-/tmp}/kx-wineprefix-$(id -u)}"
# Wine's recycle bin is the desktop trash: keep the tests' deletions in the prefix.
export XDG_DATA_HOME="${XDG_DATA_HOME:-$WINEPREFIX/xdg-data}"
mkdir -p "$XDG_DATA_HOME"

if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi

if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w || true
fi

# Wine keeps the program's exit code; its own start-up chatter goes to stderr.
exec wine "$@"
