#!/usr/bin/env bash
# Installs what is missing, builds kxgen and the Windows programs, and generates
# a project with the default name into ./KX项目, showing its tree.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake --preset native >/dev/null
cmake --build --preset native --target kxgen
cmake --preset mingw >/dev/null
cmake --build --preset mingw --target kxgen kx_gui

# --yes: a second run on the same day regenerates (the old files go to the trash).
build/native/app/cli/kxgen --root KX项目 --yes --no-open </dev/null
