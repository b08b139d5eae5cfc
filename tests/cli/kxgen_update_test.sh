#!/usr/bin/env bash
# kxgen --update end to end, natively or as kxgen.exe under Wine: export the
# templates, generate from them, edit the project and the templates, update,
# and find both edits; then a conflict with its .merge file and exit 6; a
# second update that changes nothing; every old version in the trash.
# usage: kxgen_update_test.sh KXGEN [RUNNER]
set -uo pipefail

source "$(dirname "$0")/common.sh"
export LC_ALL=C.UTF-8
unset LC_MESSAGES LANG

said() { grep -qF -- "$1" "$work/out.txt" "$work/err.txt"; }
# Said in English or in Chinese (kxgen.exe under Wine speaks the prefix's Chinese).
said_either() { said "$1" || said "$2"; }
# A whole line of standard output, the CR of a diff's CR LF line aside.
shown() { tr -d '\r' <"$work/out.txt" | grep -qxF -- "$1"; }
# Every entry below a folder with its bytes' digest and modification time.
snapshot() { (cd "$1" && find . -printf '%p %T@ %s\n' | LC_ALL=C sort && find . -type f -print0 | LC_ALL=C sort -z | xargs -0 md5sum); }
# Replaces line $2 (1-based) of file $1 with $3, keeping the CR LF.
set_line() { sed -i "$2s/.*/$3\r/" "$1"; }
# The trash Wine's Recycle Bin or the freedesktop.org trash fills.
trashed() { cat "$XDG_DATA_HOME/Trash/files/$1" 2>/dev/null; }

tpl="$work/模板"
out="$work/out"
project="$out/demo"
main="$project/demo/demo.kx"
mkdir -p "$out"
root=$(win_path "$out")
sep=/
[ -z "$runner" ] || sep='\'  # kxgen names files as the platform does

kx --export-templates "$(win_path "$tpl")"
kx --templates "$(win_path "$tpl")" --name demo --root "$root" --no-open
check "generating with the exported templates exits 0" test $? -eq 0
check "it keeps a record" test -f "$project/.kxgen/record"
check "the record starts with its format line" test "$(head -n1 "$project/.kxgen/record")" = "kxgen project record 1"
for f in demo/demo.kx demo/main.kxwin demo.kxproj 生成/GetPointXY.dll; do
    check "the record's hash of $f is sha256sum's" \
        grep -qE "^(text|dll) $(sha256sum "$project/$f" | cut -c1-64) ([0-9]+ )?$f\$" "$project/.kxgen/record"
done
check "the record holds the main script as written" \
    grep -qaF "$(tail -n +2 "$main" | head -n 3)" "$project/.kxgen/record"
if [ -n "$runner" ]; then
    check "the record's folder is hidden" \
        bash -c '"$1" cmd /c attrib "$2" | grep -q "^ *H"' _ "$runner" "$(win_path "$project/.kxgen")"
fi

# The user edits line 25 of the main script; the templates change the public
# library and line 10 of the main script (line 11 in the project, after the
# GUID line).
set_line "$main" 25 '\/\/ 我的一行'
sed -i 's/窗口效果/窗口特效/' "$tpl/public-library.kx"
set_line "$tpl/main-script.kx" 10 '\/\/ 模板的一行'
old_main=$(md5sum <"$main")
guid_line=$(head -c 60 "$main")
old_library=$(md5sum <"$project/demo/公共库.kx")

before=$(snapshot "$out")
kx --update demo --root "$root" --templates "$(win_path "$tpl")" --dry-run
check "a dry run exits as the update would (0)" test $? -eq 0
check "it shows the library's change as a unified diff" \
    shown '+// 公共库: 窗口特效, 消息框和托盘, 时间, 文字和网页, 表格和控件, 菜单,'
check "labelled a/ and b/" shown '--- a/demo/公共库.kx'
check "it shows the main script's template line" shown '+// 模板的一行'
check "it writes nothing" test "$(snapshot "$out")" = "$before"

kx --update demo --root "$root" --templates "$(win_path "$tpl")"
check "the update exits 0" test $? -eq 0
check "it names the files it updated" said_either "updated: demo${sep}demo.kx" "已更新：demo${sep}demo.kx"
check "the user's line is kept" grep -q '^// 我的一行' "$main"
check "the template's line arrived" grep -q '^// 模板的一行' "$main"
check "the library's change arrived" grep -q '窗口特效' "$project/demo/公共库.kx"
check "the GUID line stayed" test "$(head -c 60 "$main")" = "$guid_line"
check "the old main script is in the trash, byte for byte" test "$(trashed demo.kx | md5sum)" = "$old_main"
check "the old library is in the trash, byte for byte" test "$(trashed 公共库.kx | md5sum)" = "$old_library"
if [ -z "$runner" ]; then
    check "trash-list knows where the main script came from" \
        bash -c 'trash-list 2>/dev/null | grep -qF "$1"' _ "$main"
fi

# The same line on both sides: a conflict.
set_line "$main" 30 '\/\/ 我改的'
set_line "$tpl/main-script.kx" 29 '\/\/ 模板改的'
mine=$(md5sum <"$main")
kx --update demo --root "$root" --templates "$(win_path "$tpl")"
check "a conflict exits 6" test $? -eq 6
check "the user's file is unchanged" test "$(md5sum <"$main")" = "$mine"
check "the merge is beside it" test -f "$main.merge"
check "it holds the marks around both lines" \
    bash -c 'grep -aA5 "^<<<<<<< yours: demo/demo.kx" "$1" | tr -d "\r" | grep -qxF "// 我改的" &&
             grep -aB1 "^>>>>>>> templates" "$1" | tr -d "\r" | grep -qxF "// 模板改的"' _ "$main.merge"
check "in the file's encoding (UTF-8 with its mark)" test "$(head -c 3 "$main.merge" | od -An -tx1 | tr -d ' ')" = efbbbf
check "the conflict is named" said_either "conflict: demo${sep}demo.kx" "冲突：demo${sep}demo.kx"

# The project alone: the lock file of a real run comes and goes beside it.
before=$(snapshot "$project")
kx --update demo --root "$root" --templates "$(win_path "$tpl")"
check "a second update exits 0" test $? -eq 0
check "it says nothing is new" said_either 'nothing new for project "demo"' '项目“demo”没有需要更新的内容'
check "it changes nothing, not even a time stamp" test "$(snapshot "$project")" = "$before"

kx --dry-run --root "$root"
check "--dry-run without --update is a usage error" test $? -eq 2
kx --update demo --yes
check "--update with --yes is a usage error" test $? -eq 2
kx --update nosuch --root "$root"
check "no such project exits 1" test $? -eq 1

echo "kxgen update: $failures failed"
[ "$failures" -eq 0 ]
