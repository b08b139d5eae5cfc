#!/usr/bin/env bash
# Runs a command with KX_SMALL_DISK naming an empty folder on a file system
# of its own (4 MB), taken away again afterwards. Mounting needs root;
# elsewhere the command runs without the variable and the test that wants
# the disk skips, saying why.
#   small-disk.sh COMMAND [ARG...]
# The mount is made where Wine's server sees it, in this mount namespace: the
# server, not the program, opens the files a Windows program asks for.
set -u
disk=
if [ "$(id -u)" = 0 ]; then
    disk=$(mktemp -d /tmp/kx-small-disk.XXXXXX)
    if mount -t tmpfs -o size=4m,mode=0777 tmpfs "$disk"; then
        export KX_SMALL_DISK=$disk
        trap 'umount "$disk" && rmdir "$disk"' EXIT
    else
        rmdir "$disk"
    fi
fi
"$@"
