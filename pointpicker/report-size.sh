#!/usr/bin/env bash
# Prints the size of GetPointXY.dll against its goal of 32 KB. A report, not a
# gate: only a missing file is an error.
#   pointpicker/report-size.sh [path/to/GetPointXY.dll]
set -euo pipefail

dll="${1:-build/native/pointpicker/GetPointXY.dll}"
goal=32768

if [ ! -f "$dll" ]; then
    echo "report-size: no DLL at $dll (build the kx_pointpicker target first)" >&2
    exit 1
fi

size=$(wc -c < "$dll")
percent=$(( (size * 100 + goal - 1) / goal ))
if [ "$size" -le "$goal" ]; then
    echo "GetPointXY.dll: $size bytes, ${percent}% of the $goal-byte goal ($(( goal - size )) to spare)"
else
    echo "GetPointXY.dll: $size bytes, OVER the $goal-byte goal by $(( size - goal )) bytes"
fi
