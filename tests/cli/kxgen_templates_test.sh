#!/usr/bin/env bash
# kxgen's own-template options end to end, natively or as kxgen.exe under
# Wine: export the built-in set, check a folder, generate from it, and the
# refusals that must leave everything on disk as it was.
# usage: kxgen_templates_test.sh KXGEN [RUNNER]
set -uo pipefail

source "$(dirname "$0")/common.sh"
# The messages checked below are the Chinese ones (under Wine the runner's
# locale is Chinese too); kxgen_language_test.sh has them in English.
export LC_ALL=zh_CN.UTF-8

said() { grep -qF -- "$1" "$work/err.txt" "$work/out.txt"; }
snapshot() { (cd "$1" && find . -print0 | LC_ALL=C sort -z | xargs -0 md5sum 2>/dev/null; find . | LC_ALL=C sort); }
crlf_only() { test "$(tr -cd '\n' <"$1" | wc -c)" -eq "$(grep -c $'\r$' "$1")"; }
# Two projects alike but for the main script's first line (its GUID) and the record.
same_project() {  # folder1 folder2 name
    local f rel
    diff <(cd "$1" && find . | LC_ALL=C sort) <(cd "$2" && find . | LC_ALL=C sort) >/dev/null || return 1
    while IFS= read -r -d '' f; do
        rel=${f#"$1"/}
        if [ "$rel" = .kxgen/record ]; then
            continue  # the record holds the GUID too; kxgen_update_test.sh reads it
        elif [ "$rel" = "$3/$3.kx" ]; then
            cmp -s <(tail -n +2 "$f") <(tail -n +2 "$2/$rel") || return 1
        else
            cmp -s "$f" "$2/$rel" || return 1
        fi
    done < <(find "$1" -type f -print0)
}

tpl="$work/我的模板"
out="$work/out"
mkdir -p "$out/built-in" "$out/own" "$out/edited" "$out/refused"

# Export.
kx --export-templates "$(win_path "$tpl")"
check "export exits 0" test $? -eq 0
check "export writes the six templates and the guide" test "$(cd "$tpl" && ls | LC_ALL=C sort | tr '\n' ' ')" = \
    "GetPointXY.dll main-script.kx project-file.kxproj public-library.kx runtime-settings.kx window.kxwin 说明.txt "
for f in main-script.kx project-file.kxproj public-library.kx runtime-settings.kx window.kxwin 说明.txt; do
    check "$f is UTF-8 with a BOM" test "$(od -An -tx1 -N3 "$tpl/$f" | tr -d ' ')" = efbbbf
    check "$f has CR LF line ends only" crlf_only "$tpl/$f"
done
check "the guide names the placeholder" grep -qF '$ProjectName$ 会被替换为项目名称' "$tpl/说明.txt"

before=$(snapshot "$tpl")
kx --export-templates "$(win_path "$tpl")"
check "export over existing files exits 1" test $? -eq 1
check "it names an existing file" said "public-library.kx 已存在"
check "it says nothing was written" said "没有写入任何文件；要覆盖这些文件请加 --force"
check "the folder is untouched" test "$(snapshot "$tpl")" = "$before"
echo '// mine' >"$tpl/public-library.kx"
kx --export-templates "$(win_path "$tpl")" --force
check "--force exports again" test $? -eq 0
check "--force restored the library" test "$(snapshot "$tpl")" = "$before"
check "the export prints the path of each file it wrote" test "$(grep -c "^$(win_path "$tpl" | sed 's/\\/\\\\/g')" "$work/out.txt")" -eq 7

kx --check-templates "$(win_path "$tpl")"
check "an exported folder checks clean (exit 0)" test $? -eq 0
check "checking writes nothing" test "$(snapshot "$tpl")" = "$before"
check "and prints nothing on stdout" test ! -s "$work/out.txt"

# Generate: unedited, then edited.
kx --name demo --root "$(win_path "$out/built-in")" --no-open
kx --templates "$(win_path "$tpl")" --name demo --root "$(win_path "$out/own")" --no-open
check "generating from the unedited folder exits 0" test $? -eq 0
check "it gives the built-in project but for the GUID" same_project "$out/built-in/demo" "$out/own/demo" demo

printf '\xEF\xBB\xBF// 我的公共库\r\nfunction 加一(x)\r\nreturn x+1\r\nend\r\n' >"$tpl/public-library.kx"
printf '$ProjectName$ 和 $ProjectName$\n$ProjectName$$ProjectName$\n' >"$tpl/main-script.kx"
kx --templates "$(win_path "$tpl")" --name 中文项目 --root "$(win_path "$out/edited")" --no-open
check "generating from the edited folder exits 0" test $? -eq 0
project="$out/edited/中文项目"
check "the edited library arrives byte for byte" cmp -s "$tpl/public-library.kx" "$project/中文项目/公共库.kx"
check "every placeholder in the main script is the name" \
    test "$(tail -n +2 "$project/中文项目/中文项目.kx" | od -An -tx1 | tr -d ' \n')" = \
    "$(printf '中文项目 和 中文项目\r\n中文项目中文项目\r\n' | od -An -tx1 | tr -d ' \n')"
check "LF line ends are said once" test "$(grep -c '行尾不是 CR LF' "$work/err.txt")" -eq 1
check "the other files come from the folder unchanged" \
    cmp -s <(tail -c +4 "$tpl/runtime-settings.kx") <(tail -c +4 "$project/中文项目/运行时设置函数.kx")

# Refusals: each names file and line, and nothing on disk changes, not even
# an existing project that --yes would regenerate.
fresh_bad() { rm -rf "$work/bad" && cp -r "$tpl" "$work/bad" && cp "$out/own/demo/demo/公共库.kx" "$work/bad/public-library.kx"; }
kx --name demo --root "$(win_path "$out/refused")" --no-open
refusals=(
    'main-script.kx|a\r\n\xF0\x9F\x98\x80\r\n|main-script.kx:2: 错误：代码页 936 (GBK) 无法表示的字符：U+1F600'
    'window.kxwin|a\r\nb\x00c\r\n|window.kxwin:2: 错误：含有 NUL 字节（0x00）'
    'public-library.kx|\xB9\xAB\xB9\xB2\r\n|public-library.kx:1: 错误：不是 UTF-8 文本（第一个无效字节 0xB9）'
    'project-file.kxproj||project-file.kxproj: 错误：文件是空的：生成的项目会缺少这个文件'
    'GetPointXY.dll|MZ|GetPointXY.dll: 错误：不是导出序号 1 和 2 的 32 位 DLL'
)
for case in "${refusals[@]}"; do
    IFS='|' read -r file bytes message <<<"$case"
    fresh_bad
    printf "$bytes" >"$work/bad/$file"
    before=$(snapshot "$out/refused")
    kx --templates "$(win_path "$work/bad")" --name demo --yes --root "$(win_path "$out/refused")" --no-open
    check "$file refused: exit 1" test $? -eq 1
    check "$file refused: message" said "$message"
    check "$file refused: nothing written" said "模板有误，没有写入任何文件"
    check "$file refused: the old project is untouched" test "$(snapshot "$out/refused")" = "$before"
    kx --check-templates "$(win_path "$work/bad")"
    check "$file: --check-templates exits 1" test $? -eq 1
    check "$file: --check-templates gives the message" said "$message"
done

fresh_bad
printf 'x = 1 $ 2\r\n' >"$work/bad/runtime-settings.kx"
kx --check-templates "$(win_path "$work/bad")"
check "a warning alone makes --check-templates exit 1" test $? -eq 1
check "the warning names the line and column" said "runtime-settings.kx:1: 警告：第 7 列的“$”不属于 \$ProjectName\$，将原样写入"

# The command line.
for args in "--export-templates" "--force" "--check-templates a --templates b"; do
    # shellcheck disable=SC2086
    kx $args
    check "kxgen $args is a usage error (exit 2)" test $? -eq 2
done
kx --templates ""
check "an empty template folder is a usage error (exit 2)" test $? -eq 2

echo "kxgen templates: $failures failed"
[ "$failures" -eq 0 ]
