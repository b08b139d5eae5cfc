#!/usr/bin/env bash
# Installs what the build and the tests need on a Debian 12 machine, as root.
# Quick and silent when everything is already there.
set -euo pipefail

need=()
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
    apt_update_needed=1
fi

for p in cmake g++ googletest libgtest-dev libbenchmark-dev \
         g++-mingw-w64-i686 mingw-w64-i686-dev g++-mingw-w64-x86-64 mingw-w64-x86-64-dev \
         wine wine32:i386 wine64 xvfb locales fonts-wqy-microhei fonts-dejavu-core \
         imagemagick qrencode clang libclang-rt-14-dev xdotool x11-utils trash-cli git diffutils patch \
         dpkg-dev unzip libarchive-tools icoutils libxml2-utils man-db groff-base; do
    have_pkg "$p" || need+=("$p")
done

if [ ${#need[@]} -gt 0 ]; then
    echo "setup: installing ${need[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
fi

# Chinese in UTF-8 for Wine and the tests; Chinese in GBK for kxgen's tests
# of a terminal that speaks the legacy character set.
locales_added=0
add_locale() {  # pattern of `locale -a`, line of /etc/locale.gen
    locale -a 2>/dev/null | grep -qi "$1" && return 0
    sed -i "s/^# *\($2\)\$/\1/" /etc/locale.gen
    grep -qx "$2" /etc/locale.gen || echo "$2" >> /etc/locale.gen
    locales_added=1
}
add_locale '^zh_CN\.utf-\?8$' 'zh_CN.UTF-8 UTF-8'
add_locale '^zh_CN\.gbk$' 'zh_CN.GBK GBK'
if [ $locales_added = 1 ]; then locale-gen >/dev/null; fi
