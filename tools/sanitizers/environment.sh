# The sanitizers' settings for the test suite and the fuzz targets; sourced
# by tools/test-sanitize.sh and tools/fuzz.sh.
sanitizers=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0:detect_odr_violation=0}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$sanitizers/lsan.supp:print_suppressions=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1:suppressions=$sanitizers/ubsan.supp}
