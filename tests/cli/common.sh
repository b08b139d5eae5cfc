# Shared by the kxgen test scripts, sourced with the script's own arguments:
# KXGEN [RUNNER]. Sets kxgen, runner, a work folder removed on exit with the
# trash of regenerations in it, and the helpers below.

kxgen=$(realpath "$1")
runner=${2:+$(realpath "$2")}
source "$(dirname "${BASH_SOURCE[0]}")/../support/checks.sh"
export XDG_DATA_HOME="$work/xdg"  # regenerating moves old files to this trash

# A path as the program spells it: under Wine on drive Z:, with backslashes.
win_path() {
    if [ -n "$runner" ]; then local p=${1//\//\\}; printf 'Z:%s\n' "$p"; else printf '%s\n' "$1"; fi
}

# Runs kxgen; stdout and stderr land in $work/out.txt and $work/err.txt as UTF-8.
kx() {
    local rc
    if [ -n "$runner" ]; then
        "$runner" "$kxgen" "$@" </dev/null >"$work/out.raw" 2>"$work/err.raw"
        rc=$?
        # ANSI bytes, with the CR LF line ends of a Windows text stream.
        iconv -f GBK -t UTF-8 <"$work/out.raw" | tr -d '\r' >"$work/out.txt"
        iconv -f GBK -t UTF-8 <"$work/err.raw" | tr -d '\r' >"$work/err.txt"
    else
        "$kxgen" "$@" </dev/null >"$work/out.txt" 2>"$work/err.txt"
        rc=$?
    fi
    return $rc
}
