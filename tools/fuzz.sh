#!/usr/bin/env bash
# Runs the fuzz targets of the sanitizer build (tools/test-sanitize.sh makes
# it) for a bounded time each, on a copy of their seed corpora in
# tests/fuzz/corpus. Fails on a crash, a leak, a time-out or undefined
# behaviour; the input that caused it is kept in <build>/fuzz-artifacts.
#   tools/fuzz.sh [seconds per target] [target ...]     (default: 30, all)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KD_ASAN_BUILD_DIR:-$root/build-asan}
seconds=${1:-30}
shift || true
jobs=${KD_JOBS:-$(nproc)}
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for corpus in "$root"/tests/fuzz/corpus/*/; do
        targets+=("$(basename "$corpus")")
    done
fi
source "$root/tools/sanitizers/environment.sh"
# Whole leak stacks through Qt, so that a leak of Qt's own is told apart
# from one of ours by the suppressions' function names.
export ASAN_OPTIONS="$ASAN_OPTIONS:fast_unwind_on_malloc=0"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
artifacts="$build/fuzz-artifacts"
mkdir -p "$artifacts"

run() {
    local name=$1
    local binary="$build/bin/fuzz_$name"
    if [ ! -x "$binary" ]; then
        echo "fuzz_$name: not built (configure with -DKD_SANITIZE=ON -DKD_FUZZ=ON)"
        return 1
    fi
    cp -r "$root/tests/fuzz/corpus/$name" "$work/$name"
    if "$binary" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2560 -print_final_stats=1 \
        -artifact_prefix="$artifacts/$name-" "$work/$name" > "$work/$name.log" 2>&1; then
        echo "fuzz_$name: $(grep -m1 -o 'stat::number_of_executed_units: *[0-9]*' "$work/$name.log" |
            grep -o '[0-9]*$') runs in ${seconds} s, no failure"
    else
        echo "fuzz_$name: FAILED"
        tail -n 60 "$work/$name.log"
        return 1
    fi
}

failed=0
running=0
pids=()
for name in "${targets[@]}"; do
    run "$name" &
    pids+=($!)
    running=$((running + 1))
    if [ "$running" -ge "$jobs" ]; then
        wait "${pids[0]}" || failed=1
        pids=("${pids[@]:1}")
        running=$((running - 1))
    fi
done
for pid in "${pids[@]}"; do
    wait "$pid" || failed=1
done
exit $failed
