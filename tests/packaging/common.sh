# Shared by the package test scripts: a work folder removed on exit, check,
# finish (reports and sets the exit status) and package_from.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

failures=0
check() {  # description, command...
    local what=$1
    shift
    if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; failures=$((failures + 1)); fi
}

finish() {
    echo "$(basename "$0" .sh): $failures failed"
    [ "$failures" -eq 0 ]
}

# The package file: PACKAGE itself, or the one CPack packs from the build tree
# PACKAGE into the work folder.
package_from() {  # package extension
    if [ -f "$1" ]; then
        echo "$1"
        return
    fi
    cpack --config "$1/CPackConfig.cmake" -B "$work/packages" >"$work/cpack.log" 2>&1 ||
        { cat "$work/cpack.log" >&2; return 1; }
    find "$work/packages" -maxdepth 1 -name "*.$2"
}
