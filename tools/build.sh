#!/usr/bin/env bash
# Configures and builds everything into build/ (or $KD_BUILD_DIR).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KD_BUILD_DIR:-$root/build}
jobs=${KD_JOBS:-$(nproc)}
source "$root/tools/compiler-cache.sh"
# Line tables are enough for backtraces and keep objects, archives and links
# a fraction of the size of full debug information.
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" \
    "${launcher[@]}" >/dev/null
cmake --build "$build" -j "$jobs"
# Ninja decides what to compile before the form compiler rewrites its
# headers, so a changed form leaves the objects that include it stale for one
# build; a second pass compiles them, and does nothing otherwise.
cmake --build "$build" -j "$jobs"
