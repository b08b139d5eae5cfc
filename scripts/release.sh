#!/usr/bin/env bash
# Builds the Windows release package: dist/KXProjectMaker-<version>.zip holding
# KXProjectMaker.exe, kxgen.exe, the user guide and the licence, in one folder.
# The executables are shipped stripped (the build keeps its own copies whole),
# and the script ends with the zip's contents and their sizes.
# The version is the CMake project version (also in the version resource and
# in kxgen --version). The build folder is $KX_RELEASE_BUILD (default
# build/release).
set -euo pipefail
cd "$(dirname "$0")/.."

build=${KX_RELEASE_BUILD:-build/release}
version=$(sed -n 's/^project(KXProjectMaker VERSION \([0-9][0-9.]*\).*/\1/p' CMakeLists.txt)
if [ -z "$version" ]; then
    echo "release: no project version in CMakeLists.txt" >&2
    exit 1
fi
package="KXProjectMaker-$version"

echo "== building $package in $build"
cmake --preset mingw -B "$build" -DKX_TESTS=OFF -DKX_BENCHMARKS=OFF >/dev/null
cmake --build "$build" -j2 --target kx_gui kxgen

gui="$build/app/win32/KXProjectMaker.exe"
cli="$build/app/cli/kxgen.exe"
for file in "$gui" "$cli" "docs/用户指南.md" LICENSE; do
    [ -f "$file" ] || { echo "release: $file is missing" >&2; exit 1; }
done

stage="dist/$package"
rm -rf "$stage" "dist/$package.zip"
mkdir -p "$stage"
cp "$gui" "$cli" "docs/用户指南.md" LICENSE "$stage/"
strip=$(cmake -N -LA "$build" | sed -n 's/^CMAKE_STRIP:FILEPATH=//p')
[ -n "$strip" ] || { echo "release: the build names no strip tool" >&2; exit 1; }
"$strip" --strip-all "$stage/$(basename "$gui")" "$stage/$(basename "$cli")"
(cd dist && cmake -E tar cf "$package.zip" --format=zip "$package")
rm -rf "$stage"

echo "== dist/$package.zip"
(cd dist && cmake -E tar tvf "$package.zip")

# Size budgets of the stripped executables, in bytes.
declare -A budget=([KXProjectMaker.exe]=491520 [kxgen.exe]=409600)
over=0
for name in "${!budget[@]}"; do
    size=$(cd dist && cmake -E tar tvf "$package.zip" | awk -v n="$package/$name" '$NF == n { print $5 }')
    if [ -z "$size" ] || [ "$size" -gt "${budget[$name]}" ]; then
        echo "release: $name is ${size:-missing} bytes, over its budget of ${budget[$name]}" >&2
        over=1
    fi
done
exit $over
