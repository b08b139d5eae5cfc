#!/usr/bin/env bash
# kxgen's Debian package as users get it: read back with dpkg-deb, its manual
# page rendered by man, its bash completion asked for completions. Both are
# made from kxgen's option table; here they are held against what kxgen
# --help lists. PACKAGE is the .deb, or a build tree for CPack to pack one
# from (nothing is built); scripts/release.sh checks what it made with this
# too.
# usage: deb_test.sh PACKAGE VERSION SOURCE KXGEN
set -uo pipefail

source "$(dirname "$0")/common.sh"
package=$1 version=$2 source=$3 kxgen_built=$(realpath "$4")
export LC_ALL=C.UTF-8
unset LANG LC_MESSAGES

# long name, short name or -, NAME, DIR or -
options=$("$kxgen_built" --help | help_options)
check "kxgen --help lists options" test -n "$options"

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
while read -r long short value; do
    heading=$long
    [ "$short" = - ] || heading="$short, $long"
    [ "$value" = - ] || heading="$heading $value"
    check "the page describes $heading" grep -qxE -- " +$heading" <<<"$shown"
done <<<"$options"
check "the page describes no other option" \
    test "$(sed -n '/^OPTIONS$/,/^[A-Z]/p' <<<"$shown" | grep -cE '^ {7}-')" -eq "$(wc -l <<<"$options")"

# The completion, asked as bash asks it: the words so far, the last being completed.
mkdir -p "$work/here/projects" "$work/here/plans"
touch "$work/here/plain-file"
completions() {
    (cd "$work/here" && source "$root/usr/share/bash-completion/completions/kxgen" &&
        COMP_WORDS=(kxgen "$@") && COMP_CWORD=$# && _kxgen &&
        for word in "${COMPREPLY[@]}"; do echo "$word"; done | sort | tr '\n' ' ')
}
completes() {  # expected words...
    local expected=$1
    shift
    check "completes 'kxgen $*' to '$expected'" test "$(completions "$@")" = "$expected"
}
completes "$(awk '{ print $1; if ($2 != "-") print $2 }' <<<"$options" | sort | tr '\n' ' ')" -
completes "--root " --ro
completes "--no-open " --yes --no
completes "" p
# After an option, what its value is: folders, or nothing to offer for a name.
while read -r long _ value; do
    case $value in
        DIR) completes "plans projects " "$long" p
             completes "plans projects " "$long" = p ;;
        *) completes "" "$long" p ;;
    esac
done <<<"$options"
# A project to update: a folder of the output root, KX项目 here or --root's.
mkdir -p "$work/here/KX项目/pdemo" "$work/here/plans/pold" "$work/here/plans/other"
completes "pdemo " --update p
completes "pold " --root plans --update p
completes "pold " --root = plans --update p

finish
