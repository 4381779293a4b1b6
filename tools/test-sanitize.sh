#!/usr/bin/env bash
# The sanitizer build: everything built with clang under AddressSanitizer and
# UndefinedBehaviorSanitizer into build-asan/ (or $KD_ASAN_BUILD_DIR), its
# whole test suite, then every fuzz target for $KD_FUZZ_SECONDS (30) each.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KD_ASAN_BUILD_DIR:-$root/build-asan}
jobs=${KD_JOBS:-$(nproc)}
source "$root/tools/compiler-cache.sh"
# -O1 and no debug information keep the build and the run fast; reports
# still name the functions.
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g0" -DCMAKE_C_FLAGS_DEBUG="-O1 -g0" \
    -DKD_SANITIZE=ON -DKD_FUZZ=ON "${launcher[@]}" >/dev/null
stage=$(date +%s)
cmake --build "$build" -j "$jobs"
echo "stage: sanitizer build took $(( $(date +%s) - stage )) s"
source "$root/tools/sanitizers/environment.sh"
stage=$(date +%s)
status=0
(cd "$build" && xvfb-run -a -s "-screen 0 1920x1080x24" \
    ctest --output-on-failure --no-tests=error -j "$jobs" "$@") || status=$?
echo "stage: sanitizer tests took $(( $(date +%s) - stage )) s"
[ $status -eq 0 ] || exit $status
stage=$(date +%s)
KD_ASAN_BUILD_DIR=$build "$root/tools/fuzz.sh" "${KD_FUZZ_SECONDS:-30}"
echo "stage: fuzzing took $(( $(date +%s) - stage )) s"
