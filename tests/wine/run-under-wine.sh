#!/usr/bin/env bash
# Runs a Windows program, or one of Wine's own tools (wineboot, winepath, reg,
# cmd), under Wine with the ANSI code page 936. Every script and test that
# touches Wine goes through here, so that one place picks the loader:
#
#   KX_WINE_ARCH   32 or 64. Without it: the machine type of the program when it
#                  is a file, else the architecture of the existing prefix, else 32.
#                  32 runs Wine's 32-bit loader in a win32 prefix; 64 runs the
#                  64-bit loader in a win64 prefix (machines whose kernel cannot
#                  execute 32-bit programs have only this one).
#   KX_WINE_LOOK   zh-CN (default): the prefix has the font association and
#                  substitutes of a Chinese Windows; plain: a bare prefix, where
#                  the program must still show its Chinese texts.
#   KX_WINEPREFIX, KX_WINEPREFIX_PLAIN
#                  the prefix of each look (one per test run, see scripts/test.sh);
#                  without them per-user prefixes in TMPDIR. New prefixes get
#                  unmanaged windows (the test displays have no window manager).
#   DISPLAY        the display; a private Xvfb when none is set.
#
#   run-under-wine.sh PROGRAM [ARGS...]
#   run-under-wine.sh --arch-of FILE    prints 32 or 64: the machine type of FILE
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"

# The machine type in a PE file's header: 32, 64, or nothing when it is none.
pe_arch() {
    [ -f "$1" ] || return 0
    local offset machine
    offset=$(od -An -tu4 -j60 -N4 "$1" 2>/dev/null | tr -d ' ') || return 0
    [ -n "$offset" ] || return 0
    machine=$(od -An -tx2 -j$((offset + 4)) -N2 "$1" 2>/dev/null | tr -d ' ') || return 0
    case "$machine" in
        014c) echo 32 ;;
        8664) echo 64 ;;
    esac
}

if [ "${1:-}" = --arch-of ]; then  # FILE: prints 32 or 64, for scripts that keep prefixes apart
    pe_arch "$2"
    exit 0
fi

prefix_arch() {  # prefix
    [ -f "$1/system.reg" ] || return 0
    if grep -q '^#arch=win64' "$1/system.reg"; then echo 64; else echo 32; fi
}

arch="${KX_WINE_ARCH:-}"
[ -n "$arch" ] || arch=$(pe_arch "${1:-}")
[ -n "$arch" ] || arch=$(prefix_arch "${KX_WINEPREFIX:-}")
[ -n "$arch" ] || arch=32
case "$arch" in
    32) loader=/usr/lib/wine/wine; export WINEARCH=win32 ;;
    64) loader=/usr/lib/wine/wine64; export WINEARCH=win64 ;;
    *) echo "run-under-wine: KX_WINE_ARCH must be 32 or 64, not '$arch'" >&2; exit 2 ;;
esac
export WINELOADER=$loader

export LC_ALL=zh_CN.UTF-8
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
look="${KX_WINE_LOOK:-zh-CN}"
if [ "$look" = plain ]; then
    export WINEPREFIX="${KX_WINEPREFIX_PLAIN:-${TMPDIR:-/tmp}/kx-wineprefix-$(id -u)-$arch-plain}"
else
    export WINEPREFIX="${KX_WINEPREFIX:-${TMPDIR:-/tmp}/kx-wineprefix-$(id -u)-$arch}"
fi
# Wine's recycle bin is the desktop trash: keep the tests' deletions in the prefix.
export XDG_DATA_HOME="${XDG_DATA_HOME:-$WINEPREFIX/xdg-data}"
mkdir -p "$XDG_DATA_HOME"

program_arch=$(pe_arch "${1:-}")
existing=$(prefix_arch "$WINEPREFIX")
if [ -n "$existing" ] && [ "$existing" != "$arch" ]; then
    echo "run-under-wine: $WINEPREFIX is a ${existing}-bit prefix, asked for ${arch}-bit" >&2
    exit 2
fi
if [ "$arch" = 32 ] && [ "$program_arch" = 64 ]; then
    echo "run-under-wine: $1 is a 64-bit program; run it with KX_WINE_ARCH=64" >&2
    exit 2
fi

if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi

if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    "$loader" wineboot -i >/dev/null 2>&1 || true
    # The test displays run no window manager: a managed window that hides
    # waits about 2 s for one to answer. Unmanaged windows need none.
    "$loader" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
    if [ "$look" = zh-CN ]; then
        reg="$WINEPREFIX/zh-CN-fonts.reg"
        { printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE "$here/zh-CN-fonts.reg"; } >"$reg"
        "$loader" regedit /S "$("$loader" winepath -w "$reg" 2>/dev/null)" >/dev/null 2>&1 || true
    fi
    /usr/lib/wine/wineserver -w || true
fi

# Wine keeps the program's exit code; its own start-up chatter goes to stderr.
exec "$loader" "$@"
