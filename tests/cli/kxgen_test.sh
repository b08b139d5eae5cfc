#!/usr/bin/env bash
# kxgen end to end: run the real program (natively, or kxgen.exe under Wine)
# and check the project it writes on disk, its messages and its exit codes.
# usage: kxgen_test.sh KXGEN [RUNNER]
set -uo pipefail

source "$(dirname "$0")/common.sh"
# English unless a case asks for Chinese (under Wine the runner sets Chinese).
export LC_ALL=C.UTF-8
unset LC_MESSAGES LANG

bytes_of() { od -An -tx1 -N"$2" "$1" | tr -d ' \n'; }
absent() { ! grep -q "$@"; }

cd "$work" || exit 1
out="$work/out"
mkdir -p "$out"
root=$(win_path "$out")
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
check "the tree starts with the project folder" test "$(head -n1 "$work/out.txt")" = "$(win_path "$project")"
first_guid=$(head -c 60 "$project/demo/demo.kx")

touch "$project/demo/mine.txt"
kx --name demo --root "$root" --no-open
check "an existing project without --yes exits 3" test $? -eq 3
check "it names the project that was kept" grep -qF "$(win_path "$project")" "$work/err.txt"
check "it names --yes in a hint" grep -q -- '--yes' "$work/err.txt"
check "it asks nothing without a terminal" absent '\[y/N\]' "$work/err.txt"
check "declining keeps the user's files" test -f "$project/demo/mine.txt"
check "declining changes nothing" test "$(head -c 60 "$project/demo/demo.kx")" = "$first_guid"

kx demo --root "$root" --no-open --yes
check "--yes regenerates" test $? -eq 0
check "the old files are gone from the project" test ! -e "$project/demo/mine.txt"
check "regenerating gives a new GUID" test "$(head -c 60 "$project/demo/demo.kx")" != "$first_guid"
check "--yes shows no question" absent 'y/N\|exists' "$work/err.txt"
check "stdout holds the tree alone" test "$(grep -vc '[├└│]' "$work/out.txt")" -eq 1
if [ -z "$runner" ]; then
    check "the old files went to the trash" test -f "$XDG_DATA_HOME/Trash/files/demo/mine.txt"
    check "stderr says where they went" \
        test "$(cat "$work/err.txt")" = "kxgen: the old files are in the trash: $XDG_DATA_HOME/Trash/files"
fi

kx --name '中文项目' --root "$root" --no-open
check "a Chinese name exits 0" test $? -eq 0
check "a Chinese name is a UTF-8 folder on disk" test -f "$out/中文项目/中文项目.kxproj"

kx --root "$root" --no-open
check "no name and no terminal takes the proposed name" test $? -eq 0
check "the proposed name is wpx and today" test -d "$out/wpx$(date +%Y_%m_%d)"

# Without --root, projects go into KX项目 in the current folder.
mkdir -p "$work/here"
(cd "$work/here" && kx cwd --no-open -q)
check "the default root is KX项目 in the current folder" test -f "$work/here/KX项目/cwd/cwd.kxproj"
check "--quiet prints only the project file's absolute path" \
    test "$(cat "$work/out.txt")" = "$(win_path "$work/here/KX项目/cwd/cwd.kxproj")"

# Output that cannot be written is a failure even when the project is whole:
# a script reading the path must not go on without it.
if [ -e /dev/full ]; then
    if [ -n "$runner" ]; then
        "$runner" "$kxgen" full --root "$root" --no-open -q </dev/null >/dev/full 2>/dev/null
    else
        "$kxgen" full --root "$root" --no-open -q </dev/null >/dev/full 2>/dev/null
    fi
    check "a full standard output exits 5" test $? -eq 5
    check "the project itself was written" test -f "$out/full/full.kxproj"
fi

# On Linux a backslash in --root is part of a folder's name, not a separator.
if [ -z "$runner" ]; then
    mkdir -p "$work/dir/x/demo"
    kx demo --root "$work/dir\\x" --no-open -q
    check "--root 'dir\\x' is one folder" test -f "$work/dir\\x/demo/demo.kxproj"
    check "and dir/x/demo is untouched" test -z "$(ls -A "$work/dir/x/demo")"
    kx demo --root "$work/new/deep/er" --no-open -q
    check "--root makes the folders above it" test -f "$work/new/deep/er/demo/demo.kxproj"
fi

# Exit codes and where the texts go, one command line a row: the expected
# code, the stream, an extended regular expression it must hold, the arguments.
rows=0
row() {  # code stream pattern args...
    local code=$1 stream=$2 pattern=$3 rc
    shift 3
    rows=$((rows + 1))
    kx "$@"
    rc=$?
    check "row $rows ($*) exits $code" test $rc -eq "$code"
    check "row $rows ($*) prints /$pattern/ on std$stream" grep -qE -- "$pattern" "$work/$stream.txt"
}
touch "$work/afile"
long=$(printf 'a%.0s' {1..250})
if [ -z "$runner" ]; then
    row 2 err '^kxgen: unknown option: --frobnicate$'     --frobnicate
    row 2 err '^Usage: kxgen \[NAME\|--name NAME\]'        --frobnicate
    row 2 err "^Try 'kxgen --help'\.$"                     --frobnicate
    row 2 err '^kxgen: unknown option: -x$'                demo -yx
    row 2 err '^kxgen: more than one project name: b$'     a b
    row 2 err '^kxgen: more than one project name: b$'     --name a b
    row 2 err '^kxgen: more than one project name: b$'     a --name=b
    row 2 err '^kxgen: --name needs a value$'              --name
    row 2 err '^kxgen: --yes takes no value$'              --yes=1
    row 2 err '^kxgen: --root needs a folder$'             demo --root=
    row 2 err '^kxgen: --force goes only with --export-templates$' --force
    row 2 err 'the name "a😀b" has characters that code page 936 cannot hold' 'a😀b'
    row 2 err 'the name "한글" has characters'             --name 한글
    row 2 err 'the name "straße" has characters'           straße
    row 2 err 'the folder ".*/a😀b" has characters'        demo --root 'a😀b'
    row 0 out '^Usage: kxgen \[NAME\|--name NAME\] \[--root DIR\] \[--templates DIR\] \[-y\|--yes\]$' --help
    row 0 out '^       kxgen --export-templates DIR \[--force\]$' -h
    row 0 out '^  kxgen demo --root projects --yes --quiet --no-open$' --help
    row 0 out '^  3  the project exists and was not regenerated' --help
    row 0 out '^kxgen [0-9]+\.[0-9]+\.[0-9]+$'               -V
    row 0 out '^kxgen [0-9]+\.[0-9]+\.[0-9]+$'               --version
    row 0 out "^$out/yq/yq\.kxproj\$"                          yq -yq --root "$root" --no-open
    row 0 out "^$out/yq/yq\.kxproj\$"                          yq -qy --root "$root" --no-open
    # What a refusal says: the name, the rule it breaks, the root as given, the system's reason.
    row 2 err "^kxgen: \"$long\" is too long: a name in $out/$long/$long\.kxproj has 257 bytes, the file system allows 255\$" \
        "$long" --root "$root" --no-open
    row 2 err '^kxgen: "CON" cannot be used: it is a device name Windows reserves \(CON, PRN, AUX, NUL' CON --root "$root" --no-open
    row 2 err '^kxgen: "a\*b" cannot be used: Windows allows none of < > : " / \\ \| \? \* and no control' 'a*b' --root "$root" --no-open
    row 2 err '^kxgen: "a\\b" is not a bare folder name'   'a\b' --root "$root" --no-open
    row 1 err "^kxgen: cannot create the output folder afile/x: Not a directory\$" demo --root afile/x --no-open
    row 1 err '^kxgen: cannot lock /proc for this generation: the lock file /proc/\.kx-generate\.lock cannot be made or opened: No such file or directory; nothing was changed$' \
        demo --root /proc --no-open
    row 0 out "^$out/-q\$"                                    --root "$root" --no-open -- -q
    # A root that fails below folders this run made takes them away again.
    row 1 err '^kxgen: cannot create the output folder made/above/x{300}: File name too long$' \
        demo --root "made/above/$(printf 'x%.0s' {1..300})" --no-open
    check "the folders made above a failed root are gone again" test ! -e "$work/made"
    mkdir -p "$work/blocked" && touch "$work/blocked/KX项目"
    (cd "$work/blocked" && kx demo --no-open)
    check "a default root that cannot be made exits 1" test $? -eq 1
    check "it names the folder, why, and --root" test "$(cat "$work/err.txt")" = \
        "kxgen: cannot create the output folder $work/blocked/KX项目: Not a directory; choose another place with --root DIR"

    # Opening the project: the desktop's program gets the project file; without one kxgen says so.
    mkdir -p "$work/bin"
    printf '#!/bin/sh\nprintf "%%s\\n" "$1" >"%s/opened.txt"\n' "$work" >"$work/bin/xdg-open"
    chmod +x "$work/bin/xdg-open"
    PATH="$work/bin:$PATH" kx opened --root "$root"
    check "kxgen asks xdg-open to open the project file" test "$(sleep 0.2; cat "$work/opened.txt")" = "$out/opened/opened.kxproj"
    check "and has nothing to say about it" test ! -s "$work/err.txt"
    PATH=/nonexistent kx unopened --root "$root" -q
    check "without xdg-open the project is written (exit 0)" test $? -eq 0
    check "and kxgen says so with the path" test "$(cat "$work/err.txt")" = \
        "kxgen: could not ask xdg-open to open the project: No such file or directory; open $out/unopened/unopened.kxproj yourself"

    # A disk that fills up: kxgen names the file it stopped at (exit 4). Mounting needs root.
    disk="$work/small-disk"
    mkdir -p "$disk"
    if [ "$(id -u)" = 0 ] && mount -t tmpfs -o size=40k tmpfs "$disk" 2>/dev/null; then
        kx demo --root "$disk" --no-open
        rc=$?
        umount "$disk"
        check "a full disk stops part way (exit 4)" test $rc -eq 4
        check "it names the file it could not write whole" grep -qE \
            "^kxgen: $disk/demo/.+ could not be written whole \(is the disk full\?\); generation stopped part way, the files written so far stay\$" \
            "$work/err.txt"
    else
        echo "skipped: a full disk (mounting a small file system needs root)"
    fi
fi
# The same in Chinese (under Wine the runner's locale makes it Chinese).
export LC_ALL=zh_CN.UTF-8
row 2 err '^kxgen: 未知选项：--frobnicate$'                   --frobnicate
row 2 err '^用法：kxgen \[名称\|--name 名称\]'                  --frobnicate
row 2 err '名称“a.*b”含有代码页 936 无法表示的字符'             'a😀b'
row 0 out '^用法：kxgen \[名称\|--name 名称\] \[--root 文件夹\]' --help
row 0 out '^  kxgen demo --root 项目 --yes --quiet --no-open$'  --help
row 0 out '^  3  项目已存在，没有重新生成（见 --yes）$'          --help
row 3 err "^kxgen: $(win_path "$project" | sed 's/\\/\\\\/g') 已存在，未作改动；加 --yes 再运行即可重新生成\$" demo --root "$root" --no-open
row 2 err '^kxgen: “a\\b”不是单纯的文件夹名'                    'a\b' --root "$root" --no-open
row 2 err '^kxgen: “CON”不能使用：这是 Windows 保留的设备名'      CON --root "$root" --no-open
row 1 err "^kxgen: 无法创建输出文件夹 $(win_path "$work/afile/x" | sed 's/\\/\\\\/g')：" \
    demo --root "$(win_path "$work/afile/x")" --no-open
row 2 err '“ab\\x1B\[Dc”不能使用：Windows 的名称里不能有'           $'ab\e[Dc' --root "$root" --no-open
row 0 out "^$(win_path "$out/tidy/tidy.kxproj" | sed 's/\\/\\\\/g')\$" tidy -q --no-open --root "$(win_path "$work//out/./x/..")"
check "no raw escape character reaches the terminal" absent $'\e' "$work/err.txt"

# The language: the first of LC_ALL, LC_MESSAGES and LANG that is set.
if [ -z "$runner" ]; then
    language_row() {  # expected first word of --help, then the environment
        local expected=$1
        shift
        env -u LC_ALL -u LC_MESSAGES -u LANG "$@" "$kxgen" --help >"$work/out.txt" 2>&1
        check "--help with $* is in $expected" grep -q "^$expected" "$work/out.txt"
    }
    language_row Usage
    language_row 用法 LANG=zh_CN.UTF-8
    language_row 用法 LC_MESSAGES=zh_TW.UTF-8 LANG=en_US.UTF-8
    language_row Usage LC_ALL=en_US.UTF-8 LANG=zh_CN.UTF-8
    language_row 用法 LC_ALL= LANG=zh_CN.UTF-8
    language_row Usage LC_ALL=C LC_MESSAGES=zh_CN.UTF-8
fi

echo "kxgen: $failures failed"
[ "$failures" -eq 0 ]
