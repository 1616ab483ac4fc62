#!/usr/bin/env bash
# Runs every benchmark program of a build's bench folder, headless, and stops at the first that
# fails. CMake leaves bench_*_autogen folders beside the programs, so only executable files count.
#
#   scripts/run-benchmarks.sh <build>/bench [benchmark options...]
set -euo pipefail

if [ $# -lt 1 ]; then
    echo "usage: $0 <bench folder> [benchmark options...]" >&2
    exit 2
fi
folder=$1
shift
found=0
for program in "$folder"/bench_*; do
    [ -f "$program" ] && [ -x "$program" ] || continue
    found=1
    QT_QPA_PLATFORM=offscreen "$program" "$@"
done
[ "$found" -eq 1 ] || { echo "run-benchmarks: no benchmark programs in $folder" >&2; exit 1; }
