#!/usr/bin/env bash
# The benchmark runner runs the programs of a bench folder and nothing else there: not CMake's
# bench_*_autogen folders, not files that are no programs. A failing program fails the run.
#
#   tests/scripts/run-benchmarks-test.sh <scripts/run-benchmarks.sh>
set -euo pipefail
runner=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "run-benchmarks test: $*" >&2; exit 1; }

mkdir -p "$work/bench/bench_open_autogen" "$work/bench/bench_repaint_autogen"
for name in bench_open bench_repaint; do
    printf '#!/bin/sh\necho "%s $QT_QPA_PLATFORM $*" >>"%s"\n' "$name" "$work/ran" >"$work/bench/$name"
    chmod +x "$work/bench/$name"
done
echo "not a program" >"$work/bench/bench_notes.txt"

bash "$runner" "$work/bench" --benchmark_min_time=0 || fail "the runner failed on a folder with autogen folders"
expected=$'bench_open offscreen --benchmark_min_time=0\nbench_repaint offscreen --benchmark_min_time=0'
[ "$(cat "$work/ran")" = "$expected" ] || fail "ran: $(cat "$work/ran")"

printf '#!/bin/sh\nexit 3\n' >"$work/bench/bench_broken"
chmod +x "$work/bench/bench_broken"
if bash "$runner" "$work/bench" 2>/dev/null; then fail "a failing benchmark program did not fail the run"; fi

rm -rf "$work/bench"/*
mkdir -p "$work/bench/bench_only_autogen"
if bash "$runner" "$work/bench" 2>/dev/null; then fail "a folder without programs passed"; fi
echo "run-benchmarks: only programs run, failures count"
