#!/usr/bin/env bash
# kxgen speaks one language per locale: each command line of the table runs
# under every locale at hand (C.UTF-8, en_US.UTF-8, zh_CN.UTF-8, zh_CN.GBK;
# under Wine the runner's Chinese), and every line of its standard output and
# standard error must speak that language, names and paths aside
# (one_language.pl). The table also holds each run's exit code and which
# streams have something to say. Under zh_CN.GBK the arguments are GBK bytes
# and the output must be GBK.
# usage: kxgen_language_test.sh KXGEN [RUNNER]
set -uo pipefail

source "$(dirname "$0")/common.sh"
checker="$(dirname "$0")/one_language.pl"
unset LC_ALL LC_MESSAGES LC_CTYPE LANGUAGE

has_locale() { locale -a 2>/dev/null | grep -qix "$1"; }

# The names and paths the runs use, taken out before a line is judged.
long=$(printf 'a%.0s' {1..300})
export KX_MASK
KX_MASK=$(printf '%s\n' "$work" "$(win_path "$work")" /proc demo neu CON 中文 KX项目 生成 "$long")

touch "$work/afile"
mkdir -p "$work/blocked"
touch "$work/blocked/KX项目"  # the default output root is taken by a file
bad="$work/bad-templates"
mkdir -p "$bad"
printf 'x = 1 $ 2\n\xF0\x9F\x98\x80\n' >"$bad/main-script.kx"

runs=0
skipped=0
# code, what stdout holds (out: something, -: nothing), what stderr holds
# (err or -), then the arguments; "@R" stands for this locale's output root,
# "@T" for its template folder, "@B" for a folder of bad templates. Leading
# words "cd=DIR" and "VAR=value" run kxgen in DIR and with VAR set.
row() {
    local code=$1 out=$2 err=$3 rc dir=$work settings=()
    shift 3
    while [[ $1 == cd=* || $1 =~ ^[A-Z]+= ]]; do
        if [[ $1 == cd=* ]]; then dir=${1#cd=}; else settings+=("$1"); fi
        shift
    done
    local args=() arg
    for arg in "$@"; do
        arg=${arg//@R/$(win_path "$root")}
        arg=${arg//@T/$(win_path "$templates")}
        arg=${arg//@B/$(win_path "$bad")}
        # As typed at a GBK terminal, where a character GBK lacks cannot be
        # typed; bytes that are no UTF-8 text go as they are.
        if [ "$charset" = GBK ] && printf '%s' "$arg" | iconv -f UTF-8 -t UTF-8 >/dev/null 2>&1; then
            arg=$(printf '%s' "$arg" | iconv -f UTF-8 -t GBK 2>/dev/null) || { skipped=$((skipped + 1)); return; }
        fi
        args+=("$arg")
    done
    runs=$((runs + 1))
    local what="$locale: kxgen ${args[*]:0:4}"
    (cd "$dir" && { [ ${#settings[@]} -eq 0 ] || export "${settings[@]}"; } && kx "${args[@]}")
    rc=$?
    if [ "$charset" = GBK ]; then
        for stream in out err; do
            if ! iconv -f GBK -t UTF-8 <"$work/$stream.txt" >"$work/$stream.utf8"; then
                echo "FAILED: $what: std$stream is not GBK"
                failures=$((failures + 1))
            fi
            mv "$work/$stream.utf8" "$work/$stream.txt"
        done
    fi
    check "$what exits $code" test $rc -eq "$code"
    check "$what: stdout ${out/-/holds nothing}" test "$([ -s "$work/out.txt" ] && echo out || echo -)" = "$out"
    check "$what: stderr ${err/-/holds nothing}" test "$([ -s "$work/err.txt" ] && echo err || echo -)" = "$err"
    check "$what speaks $language alone" perl "$checker" "$language" "$work/out.txt" "$work/err.txt"
}

table() {
    row 0 out - --help
    row 2 - err --frobnicate
    row 2 - err -yx demo
    row 2 - err a b
    row 2 - err --root
    row 2 - err --check-templates a --templates b
    row 2 - err 'a😀b' --root @R
    row 0 out - demo --root @R --no-open
    row 0 out - 中文 --root @R --no-open
    row 3 - err demo --root @R --no-open
    row 0 out err demo --root @R -yq --no-open
    row 2 - err CON --root @R --no-open
    row 2 - err 'a*b' --root @R --no-open
    row 2 - err "$long" --root @R --no-open
    row 1 - err demo --root "$work/afile" --no-open
    row 1 - err cd="$work/blocked" demo --no-open
    row 0 out err --export-templates @T
    row 1 - err --export-templates @T
    row 0 - err --check-templates @T
    row 1 - err --check-templates @B
    row 1 - err --templates @B demo --root @R --yes --no-open
    row 1 - err --templates "$work/none" demo --root @R
    row 0 out - --root @R --no-open -- -q
    if [ -z "$runner" ]; then
        row 1 - err demo --root /proc --no-open
        # Bytes no terminal character set here holds.
        row 2 - err $'\xFF\xFEdemo' --root @R --no-open
        # No program to open the project with.
        row 0 out err PATH=/nonexistent neu --root @R -q
    fi
}

if [ -n "$runner" ]; then
    # The runner's locale: Chinese, and ANSI (GBK) output that kx converts.
    locale=wine language=zh charset=UTF-8 root="$work/wine/r" templates="$work/wine/t"
    table
else
    for locale in C.UTF-8 en_US.UTF-8 zh_CN.UTF-8 zh_CN.GBK; do
        if ! has_locale "$locale" && ! has_locale "${locale/UTF-8/utf8}" && ! has_locale "${locale/GBK/gbk}"; then
            echo "skipped: locale $locale is not installed here"
            continue
        fi
        export LANG=$locale
        language=en charset=UTF-8
        [[ $locale == zh_* ]] && language=zh
        [[ $locale == *GBK ]] && charset=GBK
        root="$work/$locale/r" templates="$work/$locale/t"
        table
        check "$locale: the Chinese name arrives as typed" test -f "$root/中文/中文.kxproj"
        # 汉字 in GBK bytes: a name at a GBK terminal, bytes of no character at a UTF-8 one.
        kx $'\xBA\xBA\xD7\xD6' --root "$root" --no-open -q
        if [ "$charset" = GBK ]; then
            check "$locale: a GBK name is written" test -f "$root/汉字/汉字.kxproj"
        else
            check "$locale: GBK bytes are refused, naming the first" grep -q '\\xBA' "$work/err.txt"
        fi
    done
    unset LANG
fi

echo "kxgen language: $runs runs, $skipped rows a locale cannot type, $failures failed"
[ "$failures" -eq 0 ] && [ "$runs" -gt 0 ]
