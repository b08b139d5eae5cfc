#!/usr/bin/env bash
# Screenshots of the Windows program under Wine: the main window, the name
# prompt and one message box, saved as PNG files for a person to look at.
#
#   tests/gui/screenshots.sh [program.exe] [output folder]
#
# Defaults: build/mingw/app/win32/KXProjectMaker.exe and build/artifacts.
# Runs on a private Xvfb display and a Wine prefix of its own (KX_SHOTS_WINEPREFIX,
# kept between runs), because it turns on title bars drawn by Wine, which the
# tests' prefix should not get.
set -euo pipefail

repo="$(cd "$(dirname "$0")/../.." && pwd)"
exe="$(realpath "${1:-$repo/build/mingw/app/win32/KXProjectMaker.exe}")"
out="$(realpath -m "${2:-$repo/build/artifacts}")"

if [ -z "${KX_SHOTS_DISPLAY:-}" ]; then
    export KX_SHOTS_DISPLAY=1
    exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$(realpath "$0")" "$exe" "$out"
fi

runner="$repo/tests/wine/run-under-wine.sh"
arch="$("$runner" --arch-of "$exe")"
look="${KX_WINE_LOOK:-zh-CN}"
export KX_WINE_ARCH="$arch"
export KX_WINEPREFIX="${KX_SHOTS_WINEPREFIX:-${TMPDIR:-/tmp}/kx-shots-wine-$(id -u)-$arch-$look}"
# With no window manager on the display Wine draws the title bars itself.
"$runner" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
WINEPREFIX=$KX_WINEPREFIX wineserver -w || true

work="$(mktemp -d)"
cleanup() {
    [ -n "${pid:-}" ] && kill "$pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
cp "$exe" "$work/"
mkdir -p "$out"

wait_for_window() {  # title
    for _ in $(seq 1 100); do
        if xdotool search --name "$1" >/dev/null 2>&1; then return 0; fi
        sleep 0.2
    done
    echo "screenshots: no window named $1" >&2
    return 1
}

shoot() {  # file title
    local id geometry
    id="$(xdotool search --name "$2" | head -n 1)"
    sleep 1  # let it paint
    import -window root "$out/$1-screen.png"
    # The window alone, with a margin for the frame Wine draws around it.
    eval "$(xdotool getwindowgeometry --shell "$id")"
    geometry="$((WIDTH + 16))x$((HEIGHT + 40))+$((X > 8 ? X - 8 : 0))+$((Y > 32 ? Y - 32 : 0))"
    convert "$out/$1-screen.png" -crop "$geometry" +repage "$out/$1.png"
    echo "screenshots: $out/$1.png"
}

(cd "$work" && exec "$runner" "./$(basename "$exe")") &
pid=$!

wait_for_window 'KX按键项目模板'
shoot main-window 'KX按键项目模板'

xdotool key Return  # btn1 has the focus: Generate opens the name prompt
wait_for_window '请输入生成的KX项目名称'
shoot name-prompt '请输入生成的KX项目名称'

xdotool type 'a\b'  # a name with a backslash: the format message
xdotool key Return
wait_for_window '^提示$'
shoot message-box '^提示$'

xdotool key Return
sleep 1
xdotool key Tab Return  # Exit
wait "$pid" || true
pid=
