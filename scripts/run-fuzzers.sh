#!/usr/bin/env bash
# Runs every fuzz target built in BUILD/fuzz for SECONDS each, starting from the seeds in
# fuzz/seeds/<target> (when there are any) and the corpus earlier runs grew in BUILD/corpus.
# A finding (a crash, a sanitizer report, a difference from a reference) stops the run with a
# non-zero status and leaves the input that caused it in BUILD/findings. One input may take up to a
# minute: the time limit is there to catch a decoder that never ends, and under the sanitizers a
# large picture the loader accepts takes seconds, more on a busy machine.
set -euo pipefail
build=${1:?build folder}
seconds=${2:-30}
root="$(cd "$(dirname "$0")/.." && pwd)"
mkdir -p "$build/findings"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:allocator_may_return_null=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

status=0
passed=0
failed=0
for target in "$build"/fuzz/fuzz_*; do
    [ -f "$target" ] && [ -x "$target" ] || continue
    name=$(basename "$target")
    corpus="$build/corpus/$name"
    mkdir -p "$corpus"
    seeds=()
    [ -d "$root/fuzz/seeds/${name#fuzz_}" ] && seeds+=("$root/fuzz/seeds/${name#fuzz_}")
    echo "== $name for ${seconds}s"
    if ! "$target" -max_total_time="$seconds" -timeout=60 -rss_limit_mb=4096 -print_final_stats=1 \
        -artifact_prefix="$build/findings/$name-" "$corpus" "${seeds[@]}" 2>"$build/$name.log"; then
        status=1
        failed=$((failed + 1))
        echo "$name: FINDING, see $build/$name.log and $build/findings"
        grep -E "ERROR|runtime error|differs|expected|gave different" "$build/$name.log" | head -20 || true
    else
        passed=$((passed + 1))
    fi
    grep -E "stat::number_of_executed_units|stat::peak_rss_mb|^Done|INFO: seed corpus" "$build/$name.log" || true
done
# One closing line in the form test runners use, a target counting as passed when it found nothing.
echo "fuzz: $passed passed, $failed failed"
exit $status
