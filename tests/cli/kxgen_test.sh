#!/usr/bin/env bash
# kxgen end to end: run the real program (natively, or kxgen.exe under Wine)
# and check the project it writes on disk, its messages and its exit codes.
# usage: kxgen_test.sh KXGEN [RUNNER]
set -uo pipefail

kxgen=$1
runner=${2:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_DATA_HOME="$work/xdg"  # regenerating moves old files to this trash

failures=0
check() {  # description, command...
    local what=$1
    shift
    if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; failures=$((failures + 1)); fi
}

# The root as the program spells it: a Windows path under Wine.
root_arg() {
    if [ -n "$runner" ]; then "$runner" winepath -w "$1" 2>/dev/null; else echo "$1"; fi
}

# Runs kxgen; stdout and stderr land in $work/out.txt and $work/err.txt as UTF-8.
kx() {
    local rc
    if [ -n "$runner" ]; then
        "$runner" "$kxgen" "$@" </dev/null >"$work/out.raw" 2>"$work/err.raw"
        rc=$?
        iconv -f GBK -t UTF-8 <"$work/out.raw" >"$work/out.txt"
        iconv -f GBK -t UTF-8 <"$work/err.raw" >"$work/err.txt"
    else
        "$kxgen" "$@" </dev/null >"$work/out.txt" 2>"$work/err.txt"
        rc=$?
    fi
    return $rc
}

bytes_of() { od -An -tx1 -N"$2" "$1" | tr -d ' \n'; }

out="$work/out"
mkdir -p "$out"
root=$(root_arg "$out")
project="$out/demo"

kx --name demo --root "$root" --no-open
check "a fresh project exits 0" test $? -eq 0
for f in demo.kxproj demo/demo.kx demo/main.kxwin demo/按键脚本.kx demo/公共库.kx demo/运行时设置函数.kx; do
    check "writes $f" test -f "$project/$f"
done
check "creates the build folder 生成" test -d "$project/生成"
check "the project file is 283 bytes" test "$(stat -c %s "$project/demo.kxproj")" -eq 283
check "the project file starts with the UTF-8 BOM" test "$(bytes_of "$project/demo.kxproj" 3)" = efbbbf
check "the window file starts with FF FE" test "$(bytes_of "$project/demo/main.kxwin" 2)" = fffe
check "the main script starts with its GUID line" \
    env LC_ALL=C grep -qaE '^.{3}var MyGUID="\{[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\}"' "$project/demo/demo.kx"
check "the tree names the files" grep -q '按键脚本.kx' "$work/out.txt"
first_guid=$(head -c 60 "$project/demo/demo.kx")

touch "$project/demo/mine.txt"
kx --name demo --root "$root" --no-open
check "an existing project without --yes exits 1" test $? -eq 1
check "it asks the exists question" grep -q '该项目已经存在，是否重新生成？' "$work/err.txt"
check "declining keeps the user's files" test -f "$project/demo/mine.txt"
check "declining changes nothing" test "$(head -c 60 "$project/demo/demo.kx")" = "$first_guid"

kx --name demo --root "$root" --no-open --yes
check "--yes regenerates" test $? -eq 0
check "the old files are gone from the project" test ! -e "$project/demo/mine.txt"
check "regenerating gives a new GUID" test "$(head -c 60 "$project/demo/demo.kx")" != "$first_guid"
if [ -z "$runner" ]; then
    check "the old files went to the trash" test -f "$XDG_DATA_HOME/Trash/files/demo/mine.txt"
fi

kx --name 'a\b' --root "$root" --no-open
check "a path as name exits 1" test $? -eq 1
check "a path as name gets the format message" grep -q '项目名称格式不正确。' "$work/err.txt"

kx --name '中文项目' --root "$root" --no-open
check "a Chinese name exits 0" test $? -eq 0
check "a Chinese name is a UTF-8 folder on disk" test -f "$out/中文项目/中文项目.kxproj"

kx --root "$root" --no-open
check "no name and no terminal takes the proposed name" test $? -eq 0
check "the proposed name is wpx and today" test -d "$out/wpx$(date +%Y_%m_%d)"

kx --frobnicate
check "an unknown option exits 2" test $? -eq 2

kx --version
check "--version prints the version" grep -qE '^kxgen [0-9]+\.[0-9]+\.[0-9]+' "$work/out.txt"

echo "kxgen: $failures failed"
[ "$failures" -eq 0 ]
