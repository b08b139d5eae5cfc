#!/usr/bin/env bash
# The Windows zip as users get it: its names read as Explorer on a Chinese
# Windows reads them (bsdtar), unpacked, the programs' version resources read
# back with windres, their manifests with wrestool and xmllint, their headers
# with objdump, kxgen.exe run under Wine (its version, and its options for the
# completion's). PACKAGE is the zip, or a build tree
# for CPack to pack one from (nothing is built); scripts/release.sh checks
# what it made with this too.
# usage: zip_test.sh PACKAGE VERSION RELEASE(ON|OFF) URL PICTURE WINDRES RUNNER SOURCE
set -uo pipefail

source "$(dirname "$0")/common.sh"
package=$1 version=$2 release=$3 url=$4 picture=$5 windres=$6 runner=$7 source=$8

top="KXProjectMaker-$version"
[[ $release =~ ^(ON|1|TRUE|YES)$ ]] || top="$top-test"
zip=$(package_from "$package" zip) || exit 1
check "the package is $top.zip" test "$(basename "$zip")" = "$top.zip"
echo "-- $top.zip"
unzip -l "$zip"

# Entries without the UTF-8 flag are read in the ANSI code page (936): the
# Chinese file name must survive that.
expected=$(printf '%s\n' KXProjectMaker.exe kxgen.exe 用户指南.txt LICENSE.txt kxgen.ps1 | sed "s|^|$top/|" | sort)
listed=$(LC_ALL=zh_CN.UTF-8 bsdtar --options zip:hdrcharset=CP936 -tf "$zip" | grep -v '/$' | sort)
check "the zip holds exactly the two programs, the guide, the licence and the completion" \
    test "$listed" = "$expected"
mkdir -p "$work/x"
unzip -q "$zip" -d "$work/x"
x="$work/x/$top"

# Texts Notepad opens: a byte order mark, CR LF line ends only, else the source.
windows_text() {  # file source
    [ "$(head -c3 "$1" | od -An -tx1 | tr -d ' ')" = efbbbf ] || return 1
    [ "$(tr -cd '\n' <"$1" | wc -c)" -eq "$(grep -c $'\r$' "$1")" ] || return 1
    [ -z "$2" ] || cmp -s <(tail -c +4 "$1" | tr -d '\r') "$2"
}
check "用户指南.txt is the guide, with BOM and CR LF" windows_text "$x/用户指南.txt" "$source/docs/用户指南.md"
check "LICENSE.txt is the licence, with BOM and CR LF" windows_text "$x/LICENSE.txt" "$source/LICENSE"
check "kxgen.ps1 has BOM and CR LF" windows_text "$x/kxgen.ps1" ""
check "kxgen.ps1 registers a completer for kxgen" grep -q 'Register-ArgumentCompleter -Native -CommandName kxgen' "$x/kxgen.ps1"
# The completion offers what kxgen.exe --help lists (in the user's language,
# redirected: ANSI), with the value each option takes.
options=$("$runner" "$x/kxgen.exe" --help </dev/null 2>/dev/null | iconv -f GBK -t UTF-8 | tr -d '\r' | help_options)
check "kxgen.exe --help lists options" test -n "$options"
while read -r long short value; do
    [ "$value" = - ] && value=
    for name in "$long" "$short"; do
        [ "$name" = - ] && continue
        check "kxgen.ps1 completes $name" grep -qF "Name = '$name'; Value = '$value';" "$x/kxgen.ps1"
    done
done <<<"$options"
check "kxgen.ps1 completes no other option" \
    test "$(grep -c "Name = '" "$x/kxgen.ps1")" -eq "$(awk '{ n += ($2 == "-") ? 1 : 2 } END { print n }' <<<"$options")"

arch=$("$runner" --arch-of "$x/kxgen.exe")
manifest_arch=x86
[ "$arch" = 64 ] && manifest_arch=amd64
# program, FileDescription, subsystem, manifest's name
while read -r exe description subsystem identity; do
    file="$x/$exe"
    description=${description//_/ } subsystem=${subsystem//_/ }
    windres_rc=$("$windres" -J coff -O rc -i "$file" 2>&1)
    version_info=$(sed -n '/VERSIONINFO/,/^END/p' <<<"$windres_rc")
    check "$exe: FILEVERSION ${version//./, }, 0" grep -q "FILEVERSION ${version//./, }, 0" <<<"$version_info"
    check "$exe: PRODUCTVERSION ${version//./, }, 0" grep -q "PRODUCTVERSION ${version//./, }, 0" <<<"$version_info"
    for pair in "FileDescription|$description" "FileVersion|$version" "ProductVersion|$version" \
                "OriginalFilename|$exe" "ProductName|KX project maker"; do
        check "$exe: $pair" grep -qF "VALUE \"${pair%%|*}\", \"${pair#*|}\"" <<<"$version_info"
    done
    manifest=$(wrestool -x --raw --type=24 --name=1 "$file")
    check "$exe: the manifest is well-formed XML" xmllint --noout - <<<"$manifest"
    identity_of() { xmllint --xpath "string(/*[local-name()='assembly']/*[local-name()='assemblyIdentity']/@$1)" - <<<"$manifest"; }
    check "$exe: the manifest names $identity" test "$(identity_of name)" = "$identity"
    check "$exe: the manifest's version is $version.0" test "$(identity_of version)" = "$version.0"
    check "$exe: the manifest's architecture is $manifest_arch" test "$(identity_of processorArchitecture)" = "$manifest_arch"
    check "$exe: asInvoker" grep -q 'requestedExecutionLevel level="asInvoker"' <<<"$manifest"
    headers=$(objdump -p "$file")
    check "$exe: subsystem $subsystem" grep -qE "^Subsystem.*\($subsystem\)" <<<"$headers"
    check "$exe: stripped" test "$(objdump -t "$file" | grep -c '^\[')" -eq 0
    # The runtime's verbose terminate handler names types with the demangler.
    check "$exe: no verbose terminate handler, no demangler" \
        test "$(grep -c -e 'terminate called after throwing' -e '{lambda(' "$file")" -eq 0
    echo "-- $exe version resource"
    sed -n '/StringFileInfo/,/^  END/p' <<<"$version_info" | grep VALUE
done <<'EOF'
KXProjectMaker.exe KX_project_maker Windows_GUI KX.ProjectMaker
kxgen.exe kxgen Windows_CUI KX.kxgen
EOF
check "the GUI's common controls are of the same architecture" \
    grep -q "Microsoft.Windows.Common-Controls.*processorArchitecture=\"$manifest_arch\"" \
    <(wrestool -x --raw --type=24 --name=1 "$x/KXProjectMaker.exe" | tr '\n' ' ')
# The build's download address and donation picture (a bitmap resource is the
# file without its 14-byte file header).
check "KXProjectMaker.exe holds the download address $url" grep -qF "$url" "$x/KXProjectMaker.exe"
check "KXProjectMaker.exe shows the donation picture $picture" \
    cmp -s <(wrestool -x --raw --type=2 --name=QRCODE "$x/KXProjectMaker.exe") <(tail -c +15 "$picture")
check "kxgen.exe -V says $version" test "$("$runner" "$x/kxgen.exe" -V </dev/null 2>/dev/null | tr -d '\r')" = "kxgen $version"

finish
