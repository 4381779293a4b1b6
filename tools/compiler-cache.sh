# Sourced by the build scripts after they set $root: a compiler cache, when
# the machine has one, keeps rebuilds of several checkouts cheap. Leaves the
# cmake arguments that use it in the array $launcher (empty without one).
launcher=()
if command -v ccache >/dev/null; then
    # Paths below the checkout are hashed relative to it.
    export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$root}
    # Debug info names the build folder; leave it out of the hash so that
    # checkouts in other folders share the cache.
    export CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1}
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
