#!/usr/bin/env bash
# kxgen at a real terminal: each row types its keys into a pseudo-terminal
# (util-linux script) and checks the exit code, what the terminal showed and
# what went to stdout, which is redirected to a file. With a runner, kxgen.exe
# runs under Wine, whose console turns the pseudo-terminal into a Windows one.
# usage: kxgen_terminal_test.sh KXGEN [RUNNER]
set -uo pipefail

source "$(dirname "$0")/common.sh"
unset LC_MESSAGES LANG
today=$(date +%Y_%m_%d)
absent() { ! grep -q "$@"; }

# Types the answers (printf formats, separated by "|") one by one, each once
# the terminal shows the prompt it answers, as a person would: the name
# prompt ends "[wpx<date>]", the question "[y/N]".
type_answers() {  # answers transcript
    local answer count=0 tries
    local IFS='|'
    for answer in $1; do
        count=$((count + 1))
        for ((tries = 0; tries < 600; tries++)); do
            [ "$(grep -aoE '\[(wpx[0-9_]+|y/N)\]' "$2" 2>/dev/null | wc -l)" -ge $count ] && break
            sleep 0.05
        done
        # Wine's console may show the prompt a moment before it reads keys.
        [ -z "$runner" ] || sleep 0.5
        # shellcheck disable=SC2059  # the answers are printf formats on purpose
        printf "$answer"
    done
}

rows=0
# language, a project that exists before (- for none), the answers, the exit
# code, a pattern the terminal shows, a pattern of stdout (- for nothing),
# further arguments.
row() {
    local language=$1 existing=$2 keys=$3 code=$4 shown=$5 printed=$6 rc
    shift 6
    rows=$((rows + 1))
    local root="$work/r$rows" what="row $rows ($keys)"
    mkdir -p "$root"
    if [ "$existing" != - ]; then
        $runner "$kxgen" "$existing" --root "$(win_path "$root")" --no-open -q </dev/null >/dev/null 2>&1
        touch "$root/$existing/$existing/mine.txt"
    fi
    local command
    command=$(printf '%q ' $runner "$kxgen" --root "$(win_path "$root")" --no-open "$@")
    : >"$work/raw.txt"
    type_answers "$keys" "$work/raw.txt" |
        LC_ALL=$language timeout 120 script -qefc "$command >$work/out.raw" "$work/raw.txt" >/dev/null
    rc=$?
    tr -d '\r' <"$work/raw.txt" >"$work/shown.txt"
    if [[ $language == *GBK ]]; then
        # What a GBK terminal shows, and what it takes, is GBK; bytes typed
        # that are not (the terminal echoes them) are left out.
        iconv -c -f GBK -t UTF-8 <"$work/shown.txt" >"$work/shown.utf8"
        mv "$work/shown.utf8" "$work/shown.txt"
        iconv -f GBK -t UTF-8 <"$work/out.raw" >"$work/out.txt"
    elif [ -n "$runner" ]; then
        # Wine's console draws with cursor controls; redirected output is ANSI.
        sed -i 's/\x1b\[[0-9;?]*[A-Za-z]//g' "$work/shown.txt"
        iconv -f GBK -t UTF-8 <"$work/out.raw" | tr -d '\r' >"$work/out.txt"
    else
        mv "$work/out.raw" "$work/out.txt"
    fi
    check "$what exits $code" test $rc -eq "$code"
    check "$what shows /$shown/" grep -qE -- "$shown" "$work/shown.txt"
    if [ "$printed" = - ]; then
        check "$what prints nothing on stdout" test ! -s "$work/out.txt"
    else
        check "$what prints /$printed/ on stdout" grep -qE -- "$printed" "$work/out.txt"
    fi
    check "$what keeps the prompt off stdout" absent 'KX project\|KX 项目' "$work/out.txt"
    check "$what leaves no lock file" test ! -e "$root/.kx-generate.lock"
    [ -n "$runner" ] || check "$what shows no raw escape character" absent $'\e' "$work/shown.txt"
    if [ "$existing" != - ]; then
        if [ "$code" -ne 0 ]; then
            check "$what keeps the old files" test -f "$root/$existing/$existing/mine.txt"
        else
            check "$what replaces the old files" test ! -e "$root/$existing/$existing/mine.txt"
        fi
    fi
}

en=C.UTF-8
zh=zh_CN.UTF-8
gbk=zh_CN.GBK
if [ -n "$runner" ]; then
    # The Windows console: Ctrl+Z then Enter ends the input, and the console
    # itself edits the line, so an arrow key moves the cursor. The runner's
    # locale makes the texts Chinese.
    row $zh -    'typed\r'       0 '^新 KX 项目的名称 \[wpx[0-9_]+\]：typed$' '\\typed$'
    row $zh -    '\r'            0 "^新 KX 项目的名称 \\[wpx$today\\]："      "\\\\wpx$today\$"
    row $zh kept 'kept\r|y\r'    0 '\\kept 已存在。重新生成吗（旧文件移到回收站）？\[y/N\]' '\\kept$'
    row $zh kept 'kept\r|是\r'   0 '\[y/N\]'                                   '\\kept$'
    row $zh kept 'kept\r|n\r'    3 '^kxgen: .*\\kept 已存在，未作改动；加 --yes 再运行即可重新生成$' -
    row $zh kept 'kept\r|\032\r' 3 '^kxgen: .*\\kept 已存在，未作改动'        -
    row $zh -    'ab\033[Dc\r'   0 '^新 KX 项目的名称'                          '\\acb$'
    row $zh -    '한\r'          2 '^kxgen: 名称“한”含有代码页 936 无法表示的字符$' -
    echo "kxgen.exe at a Windows console: $failures failed"
    [ "$failures" -eq 0 ]
    exit
fi
# The name prompt: a typed name, Enter for the proposal, end of input (Ctrl-D)
# for the proposal with the next output on a line of its own; with --yes
# nothing but what was done.
prompt_en="^Name of the new KX project \\[wpx$today\\]: "
row $en -           'typed\r'    0 "${prompt_en}typed\$"                        '/typed$'
row $en -           '\r'         0 "$prompt_en"                                 "/wpx$today\$"
row $en "wpx$today" '\004'       0 '^kxgen: the old files are in the trash: '   "/wpx$today\$" --yes
# The exists question: only yes regenerates; end of input ends its line too.
question_en='^/.*/kept exists\. Regenerate it \(its old files go to the trash\)\? \[y/N\] '
row $en kept        'kept\r|y\r'   0 "$question_en"                             '/kept$'
row $en kept        'kept\r|YES\r' 0 "$question_en"                             '/kept$'
row $en kept        'kept\r|n\r'   3 '^kxgen: /.*/kept exists and was kept; run again with --yes to regenerate it$' -
row $en kept        'kept\r|\r'    3 '^kxgen: /.*/kept exists and was kept'     -
row $en kept        'kept\r|\004'  3 '^kxgen: /.*/kept exists and was kept'     -
question_zh='^/.*/kept 已存在。重新生成吗（旧文件移到回收站）？\[y/N\] '
row $zh kept        'kept\r|是\r'  0 "$question_zh"                             '/kept$'
row $zh kept        'kept\r| 确定 \r' 0 "$question_zh"                          '/kept$'
row $zh kept        'kept\r|否\r'  3 '^kxgen: /.*/kept 已存在，未作改动；加 --yes 再运行即可重新生成$' -
# Ctrl-C at a question stops kxgen as the signal does: nothing changed, no lock file left.
row $en -           '\003'         130 "$prompt_en"                             -
row $en kept        'kept\r|\003'  130 "$question_en"                           -
# A GBK terminal: the prompt, the name and the answer in GBK.
row $gbk -          '\xba\xba\xd7\xd6\r' 0 '^新 KX 项目的名称 \[wpx'             '/汉字$'
row $gbk kept       'kept\r|\xca\xc7\r'  0 '已存在。重新生成吗'                  '/kept$'
row $gbk -          'a\xff\r'      2 '^kxgen: 输入的“a\\xFF”中的 \\xFF 不是 GBK 文字$' -
# What a name may bring along: an arrow key's escape sequence is shown
# escaped; a character code page 936 lacks is a usage error, as on the command line.
row $en -           'ab\033[Dc\r' 2 '^kxgen: "ab\\x1B\[Dc" cannot be used: Windows allows none of' -
row $en -           'a😀b\r'      2 '^kxgen: the name "a😀b" has characters that code page 936 cannot hold$' -
row $zh -           '한\r'        2 '^kxgen: 名称“한”含有代码页 936 无法表示的字符$' -
row $en -           'q\r'         0 "$prompt_en"                                '^/.*/q/q\.kxproj$' --quiet

echo "kxgen at a terminal: $failures failed"
[ "$failures" -eq 0 ]
