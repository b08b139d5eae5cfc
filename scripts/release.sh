#!/usr/bin/env bash
# Builds a package with CPack (packaging/CMakeLists.txt says what it holds):
#
#   scripts/release.sh --url URL --qrcode FILE     dist/KXProjectMaker-<version>.zip
#   scripts/release.sh --test-build [--url URL] [--qrcode FILE]
#                                                  dist/KXProjectMaker-<version>-test.zip
#   scripts/release.sh --deb                       dist/kxgen_<version>_<arch>.deb
#
# URL is the address the main window's download link opens, FILE the donation
# picture it shows (a 162 x 162 BMP, 32 bits per pixel). A release refuses to
# start without both, or with the placeholders a test build keeps; nothing is
# built or written before they are checked. The package is then checked as the
# test command checks its own (tests/packaging/), listed, and a zip's stripped
# programs held to their size budgets. Build folders: $KX_RELEASE_BUILD (default build/release, for the
# .deb build/release-deb); packages go to $KX_DIST (default dist).
set -euo pipefail
cd "$(dirname "$0")/.."

usage() {
    echo "release: $1" >&2
    echo "usage: scripts/release.sh --url URL --qrcode FILE | --test-build [--url URL] [--qrcode FILE] | --deb" >&2
    exit 2
}

url= qrcode= test_build= deb=
while [ $# -gt 0 ]; do
    case $1 in
        --url) [ $# -ge 2 ] || usage "--url needs the download address"; url=$2; shift ;;
        --qrcode) [ $# -ge 2 ] || usage "--qrcode needs the picture"; qrcode=$2; shift ;;
        --test-build) test_build=1 ;;
        --deb) deb=1 ;;
        *) usage "unknown argument '$1'" ;;
    esac
    shift
done
if [ -n "$deb" ]; then
    [ -z "$url$qrcode$test_build" ] || usage "--deb builds kxgen's package, which has no download link or picture"
elif [ -z "$test_build" ]; then
    [ -n "$url" ] || usage "a release needs --url, the download address (or --test-build)"
    [ -n "$qrcode" ] || usage "a release needs --qrcode, the donation picture (or --test-build)"
fi
# The build's own checks of the two, before anything is built or written.
if [ -z "$deb" ]; then
    [ -z "$qrcode" ] || qrcode=$(realpath -m -- "$qrcode")
    release=ON
    [ -z "$test_build" ] || release=OFF
    problems=$(cmake -DURL="$url" -DPICTURE="$qrcode" -DRELEASE=$release -P cmake/ReleaseInputs.cmake 2>&1)
    [ -z "$problems" ] || usage "$problems"
fi

dist=${KX_DIST:-dist}
if [ -n "$deb" ]; then
    build=${KX_RELEASE_BUILD:-build/release-deb}
    echo "== building kxgen's Debian package in $build"
    cmake --preset native -B "$build" -DKX_TESTS=OFF -DKX_BENCHMARKS=OFF >/dev/null
    cmake --build "$build" -j2 --target kxgen kx_manual_page
else
    build=${KX_RELEASE_BUILD:-build/release}
    # Given inputs are set, missing ones (a test build) reset to the placeholders.
    inputs=(-UKX_DOWNLOAD_URL -UKX_QRCODE_BMP)
    [ -z "$url" ] || inputs+=("-DKX_DOWNLOAD_URL=$url")
    [ -z "$qrcode" ] || inputs+=("-DKX_QRCODE_BMP=$qrcode")
    echo "== building the Windows package in $build"
    cmake --preset mingw -B "$build" -DKX_TESTS=OFF -DKX_BENCHMARKS=OFF -DKX_RELEASE=$release \
        "${inputs[@]}" >/dev/null
    cmake --build "$build" -j2 --target kx_gui kxgen
fi

rm -rf "$build/packages"
cpack --config "$build/CPackConfig.cmake" -B "$build/packages" >/dev/null
mkdir -p "$dist"
package=$(find "$build/packages" -maxdepth 1 -type f \( -name '*.zip' -o -name '*.deb' \))
[ "$(wc -l <<<"$package")" -eq 1 ] || { echo "release: CPack made no single package: $package" >&2; exit 1; }
name=$(basename "$package")
mv -f "$package" "$dist/$name"
echo "== $dist/$name"

# The package checked as the test command checks its own (listing, control
# data, version resources, manifests, the given address and picture).
cached() { cmake -N -LA "$build" | sed -n "s/^$1:[A-Z]*=//p"; }
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
status=0
if [ -n "$deb" ]; then
    bash tests/packaging/deb_test.sh "$dist/$name" "$version" "$PWD" "$build/app/cli/kxgen" |
        grep -v '^ok: ' || status=1
    exit $status
fi
windres=$(sed -n 's/^set(CMAKE_RC_COMPILER \(.*\))$/\1/p' cmake/mingw-i686.cmake)
bash tests/packaging/zip_test.sh "$dist/$name" "$version" "$release" "$(cached KX_DOWNLOAD_URL)" \
    "$(cached KX_QRCODE_BMP)" "$windres" tests/wine/run-under-wine.sh "$PWD" |
    grep -v '^ok: ' || status=1

# Size budgets of the stripped executables, in bytes: about 5 % above what
# they were when last set (KXProjectMaker.exe 503,822 bytes; kxgen.exe
# 547,854 with both languages and --update), so that growth nobody meant,
# such as the C++ runtime's demangler coming back, stops a release.
declare -A budget=([KXProjectMaker.exe]=524288 [kxgen.exe]=573440)
for exe in "${!budget[@]}"; do
    size=$(unzip -l "$dist/$name" | awk -v n="${name%.zip}/$exe" '$NF == n { print $1 }')
    if [ -z "$size" ] || [ "$size" -gt "${budget[$exe]}" ]; then
        echo "release: $exe is ${size:-missing} bytes, over its budget of ${budget[$exe]}" >&2
        status=1
    fi
done
exit $status
