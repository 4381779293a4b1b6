#!/usr/bin/env bash
# Sets up, builds and runs every test. Tests that need real X windows get a
# virtual display; the rest run on Qt's offscreen platform.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KD_BUILD_DIR:-$root/build}
stage=$(date +%s)
"$root/tools/install-deps.sh"
echo "stage: packages took $(( $(date +%s) - stage )) s"
stage=$(date +%s)
"$root/tools/build.sh"
echo "stage: build took $(( $(date +%s) - stage )) s"
cd "$build"
jobs=${KD_JOBS:-$(nproc)}
stage=$(date +%s)
status=0
xvfb-run -a -s "-screen 0 1920x1080x24" \
    ctest --output-on-failure --no-tests=error -j "$jobs" "$@" || status=$?
echo "stage: tests took $(( $(date +%s) - stage )) s"
exit $status
