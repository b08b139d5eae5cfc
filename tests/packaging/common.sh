# Shared by the package test scripts: the work folder and check of
# tests/support/checks.sh, finish (reports and sets the exit status) and
# package_from.
source "$(dirname "${BASH_SOURCE[0]}")/../support/checks.sh"

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

# The options a kxgen --help text (on stdin, in either language) lists, one a
# line: the long name, the short name or -, and NAME, DIR or - for the value
# it takes.
help_options() {
    awk '
        /^(Options:|选项：)$/ { inside = 1; next }
        inside && /^$/ { exit }
        inside && /^  [^ ]/ {
            label = substr($0, 3)
            sub(/  .*$/, "", label)
            n = split(label, parts, ", ")
            split(parts[n], last, " ")
            short = "-"; value = "-"
            if (n > 1 && parts[1] ~ /^-/) short = parts[1]
            if (last[2] == "NAME" || last[2] == "名称") value = "NAME"
            if (last[2] == "DIR" || last[2] == "文件夹") value = "DIR"
            print last[1], short, value
        }'
}
