#!/usr/bin/env bash
# Sets up, builds and runs every test. Tests that need real X windows get a
# virtual display; the rest run on Qt's offscreen platform.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KD_BUILD_DIR:-$root/build}
"$root/tools/install-deps.sh"
"$root/tools/build.sh"
cd "$build"
jobs=${KD_JOBS:-$(nproc)}
xvfb-run -a -s "-screen 0 1920x1080x24" \
    ctest --output-on-failure --no-tests=error -j "$jobs" "$@"
