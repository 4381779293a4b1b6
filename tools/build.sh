#!/usr/bin/env bash
# Configures and builds everything into build/ (or $KD_BUILD_DIR).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KD_BUILD_DIR:-$root/build}
jobs=${KD_JOBS:-$(nproc)}
# A compiler cache, when the machine has one, keeps rebuilds of several
# checkouts cheap; paths below the checkout are hashed relative to it.
launcher=()
if command -v ccache >/dev/null; then
    export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$root}
    # Debug info names the build folder; leave it out of the hash so that
    # checkouts in other folders share the cache.
    export CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1}
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
# Line tables are enough for backtraces and keep objects, archives and links
# a fraction of the size of full debug information.
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" \
    "${launcher[@]}" >/dev/null
cmake --build "$build" -j "$jobs"
