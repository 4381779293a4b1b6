#!/usr/bin/env bash
# Runs the whole test suite [runs] times (3) beside a full CPU load
# (stress-ng on every core) and prints each run's failures, then how many
# runs passed. Not part of CI: a machine ten times slower than usual is what
# the tests must hold on, and this is the nearest we have to one.
# Extra arguments go to ctest (e.g. -R '^call_').
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KD_BUILD_DIR:-$root/build}
runs=${1:-3}
shift || true
"$root/tools/install-deps.sh"
"$root/tools/build.sh" >/dev/null
jobs=${KD_JOBS:-$(nproc)}

stress-ng --cpu "$(nproc)" --timeout 0 --quiet &
stress=$!
trap 'kill $stress 2>/dev/null; wait $stress 2>/dev/null' EXIT

passed=0
for run in $(seq 1 "$runs"); do
    log=$build/test-under-load-$run.log
    start=$(date +%s)
    (cd "$build" && xvfb-run -a -s "-screen 0 1920x1080x24" \
        ctest --output-on-failure --no-tests=error -j "$jobs" "$@") >"$log" 2>&1
    status=$?
    took=$(( $(date +%s) - start ))
    load=$(cut -d' ' -f1 /proc/loadavg)
    if [ $status -eq 0 ]; then
        passed=$((passed + 1))
        echo "run $run: passed in $took s (load $load)"
    else
        echo "run $run: FAILED in $took s (load $load), log $log:"
        sed -n '/The following tests FAILED/,$p' "$log" | grep -E '^\s+[0-9]+ - ' || tail -5 "$log"
    fi
done
echo "$passed of $runs runs passed under load"
[ "$passed" -eq "$runs" ]
