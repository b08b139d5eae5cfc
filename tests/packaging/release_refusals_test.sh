#!/usr/bin/env bash
# scripts/release.sh refuses a release without its download address and
# donation picture, or with wrong or placeholder ones, before it builds or
# writes anything: each row must exit 2, say why, and leave no build folder
# and no package folder behind.
# usage: release_refusals_test.sh SOURCE
set -uo pipefail

source "$(dirname "$0")/common.sh"
source=$1
export KX_RELEASE_BUILD="$work/build" KX_DIST="$work/dist"

# Pictures: one that fits (not the placeholder), and ones that do not.
placeholder="$source/templates/images/qrcode.bmp"
patched() {  # name offset bytes(printf format): a copy of the placeholder with bytes replaced
    cp "$placeholder" "$work/$1.bmp"
    printf "$3" | dd of="$work/$1.bmp" bs=1 seek="$2" conv=notrunc status=none
}
patched fits 60 '\001'
patched narrow 18 '\241'
patched bits24 28 '\030'
patched compressed 30 '\001'
head -c 60000 "$work/fits.bmp" >"$work/cut.bmp"
url=https://download.example/kx

# arguments | what the refusal says
while IFS='|' read -r args said; do
    eval "args=($args)"
    (cd "$work" && bash "$source/scripts/release.sh" "${args[@]}" >"$work/out.txt" 2>&1)
    rc=$?
    check "release.sh ${args[*]}: exit 2" test $rc -eq 2
    check "release.sh ${args[*]}: says '$said'" grep -qF -- "$said" "$work/out.txt"
    check "release.sh ${args[*]}: builds and writes nothing" test ! -e "$work/build" -a ! -e "$work/dist"
done <<EOF
|a release needs --url
--qrcode $work/fits.bmp|a release needs --url
--url $url|a release needs --qrcode
--url $url --qrcode $placeholder|is the placeholder picture
--url https://kx-tool.example/ --qrcode $work/fits.bmp|is the placeholder address
--url 'ftp://files.example/kx' --qrcode $work/fits.bmp|is not an http or https address
--url 'https://a.example/x y' --qrcode $work/fits.bmp|is not an http or https address
--url $url --qrcode $work/narrow.bmp|is 161 x 162 pixels
--url $url --qrcode $work/bits24.bmp|has 24 bits per pixel
--url $url --qrcode $work/compressed.bmp|is compressed
--url $url --qrcode $work/cut.bmp|is cut off
--url $url --qrcode $source/LICENSE|is not a BMP picture
--url $url --qrcode $work/none.bmp|is not a file
--test-build --qrcode $work/narrow.bmp|is 161 x 162 pixels
--deb --url $url|has no download link or picture
--url|--url needs the download address
--zip|unknown argument
EOF

finish
