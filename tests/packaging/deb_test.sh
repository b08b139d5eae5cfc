#!/usr/bin/env bash
# kxgen's Debian package as users get it: read back with dpkg-deb, its manual
# page rendered by man, its bash completion asked for completions, and the
# option table the two are made from held against what kxgen itself accepts
# and lists in --help. PACKAGE is the .deb, or a build tree for CPack to pack
# one from (nothing is built); scripts/release.sh checks what it made with
# this too.
# usage: deb_test.sh PACKAGE VERSION SOURCE KXGEN
set -uo pipefail

source "$(dirname "$0")/common.sh"
package=$1 version=$2 source=$3 built_kxgen=$(realpath "$4")
table="$source/packaging/kxgen-options.txt"
export LC_ALL=C.UTF-8
unset LANG LC_MESSAGES

# The option table against kxgen: the same options, short names and values.
rows=$(grep '^-' "$table")
help=$("$built_kxgen" --help)
check "the table lists exactly the options of kxgen --help" \
    test "$(cut -f1 <<<"$rows" | sort)" = "$(grep -oE -- '--[a-z][a-z-]+' <<<"$help" | sort -u)"
check "the table pairs the short names as kxgen --help does" \
    test "$(awk -F'\t' '$2 != "-" { print $2 ", " $1 }' <<<"$rows" | sort)" = \
         "$(grep -oE -- '-[A-Za-z], --[a-z-]+' <<<"$help" | sort -u)"
while IFS=$'\t' read -r long _ value _; do
    # A bare option that takes a value, or a flag given a value: refused, nothing done.
    if [ "$value" = - ]; then
        arg="$long=x" said="$long takes no value"
    else
        arg=$long said="$long needs a value"
    fi
    (cd "$work" && "$built_kxgen" "$arg" </dev/null >/dev/null 2>"$work/err.txt")
    rc=$?
    check "kxgen $arg: exit 2, '$said' (as the table's value column says)" \
        eval 'test $rc -eq 2 && grep -qF -- "$said" "$work/err.txt"'
done <<<"$rows"

arch=$(dpkg --print-architecture)
deb=$(package_from "$package" deb) || exit 1
check "the package is kxgen_${version}_$arch.deb" test "$(basename "$deb")" = "kxgen_${version}_$arch.deb"
echo "-- $(basename "$deb")"
dpkg-deb -I "$deb"
dpkg-deb -c "$deb"

while read -r field pattern; do
    check "control: $field matches $pattern" grep -qE -- "$pattern" <<<"$(dpkg-deb -f "$deb" "$field")"
done <<EOF
Package ^kxgen$
Version ^$version$
Architecture ^$arch$
Section ^utils$
Depends ^libc6 \(>= [0-9.]+\)$
Recommends ^xdg-utils$
Maintainer ^.+ <.+@.+>$
Description ^write a new, ready-to-open KX project
EOF

listing=$(dpkg-deb -c "$deb" | awk '{ print $1, $2, $6 }')
expected=$(cat <<'EOF'
drwxr-xr-x root/root ./usr/
drwxr-xr-x root/root ./usr/bin/
-rwxr-xr-x root/root ./usr/bin/kxgen
drwxr-xr-x root/root ./usr/share/
drwxr-xr-x root/root ./usr/share/bash-completion/
drwxr-xr-x root/root ./usr/share/bash-completion/completions/
-rw-r--r-- root/root ./usr/share/bash-completion/completions/kxgen
drwxr-xr-x root/root ./usr/share/doc/
drwxr-xr-x root/root ./usr/share/doc/kxgen/
-rw-r--r-- root/root ./usr/share/doc/kxgen/copyright
drwxr-xr-x root/root ./usr/share/man/
drwxr-xr-x root/root ./usr/share/man/man1/
-rw-r--r-- root/root ./usr/share/man/man1/kxgen.1.gz
EOF
)
check "the package holds exactly kxgen, its manual, its completion and the licence, owned by root" \
    test "$(sort <<<"$listing")" = "$(sort <<<"$expected")"

root="$work/root"
dpkg-deb -x "$deb" "$root"
kxgen="$root/usr/bin/kxgen"
check "kxgen -V says $version" test "$("$kxgen" -V)" = "kxgen $version"
check "kxgen is stripped" eval 'nm "$kxgen" 2>&1 | grep -q "no symbols"'
check "the copyright file is the licence" cmp -s "$root/usr/share/doc/kxgen/copyright" "$source/LICENSE"

page="$root/usr/share/man/man1/kxgen.1.gz"
check "the manual page is gzip data" gzip -t "$page"
shown=$(MANWIDTH=80 man --warnings -l "$page" 2>"$work/man-warnings.txt")
check "man shows the page without warnings" test ! -s "$work/man-warnings.txt"
check "the page's footer names kxgen $version" grep -qE "^kxgen $version +KXGEN\(1\)$" <<<"$shown"
while IFS=$'\t' read -r long short value _; do
    heading=$long
    [ "$short" = - ] || heading="$short, $long"
    [ "$value" = - ] || heading="$heading $value"
    check "the page describes $heading" grep -qxE -- " +$heading" <<<"$shown"
done <<<"$rows"

# The completion, asked as bash asks it: the words so far, the last being completed.
mkdir -p "$work/here/projects" "$work/here/plans"
touch "$work/here/plain-file"
completions() {
    (cd "$work/here" && source "$root/usr/share/bash-completion/completions/kxgen" &&
        COMP_WORDS=(kxgen "$@") && COMP_CWORD=$# && _kxgen &&
        for word in "${COMPREPLY[@]}"; do echo "$word"; done | sort | tr '\n' ' ')
}
all_names=$(awk -F'\t' '{ print $1; if ($2 != "-") print $2 }' <<<"$rows" | sort | tr '\n' ' ')
while IFS='|' read -r words expected; do
    read -ra words <<<"$words"
    [ "${words[-1]}" = "''" ] && words[-1]=
    check "completes 'kxgen ${words[*]}' to '$expected'" test "$(completions "${words[@]}")" = "$expected"
done <<EOF
--ro|--root 
--ch|--check-templates 
-|$all_names
--root p|plans projects 
--root = p|plans projects 
--export-templates ''|plans projects 
--name p|
p|
--yes --no|--no-open 
EOF

finish
