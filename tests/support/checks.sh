# Shared by the test scripts: a work folder removed on exit, and check, which
# runs a command and counts a failure when it fails.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

failures=0
check() {  # description, command...
    local what=$1
    shift
    if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; failures=$((failures + 1)); fi
}
