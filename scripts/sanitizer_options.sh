# The sanitizer options of every sanitized run: unit tests, fuzz targets and
# the program itself. Source it (needs ROOT, from common.sh).
# shellcheck shell=bash
#
# intercept_tls_get_addr=0: the runtime of clang 14 (and of every clang up to
# 16, GCC up to 13) takes a dynamic TLS block that starts 16 bytes into a page
# for one of glibc 2.19's, and reads the 16 bytes before it as the block's
# start and size; here those bytes are the allocator's own chunk header. At
# exit LeakSanitizer's tracer thread then scans from a wild address and dies:
# "Tracer caught signal 11: addr=0x1188", "LeakSanitizer has encountered a
# fatal error", status 134. The OpenGL driver's block comes from malloc, so
# whether it lands there follows the allocations before it (the input, a
# texture that fails to decode, HOME and the cache paths): one in 128 slots
# of its size class. No thread of ours or the driver's runs at that point;
# all have ended before exit. tests/sanitizer/dynamic_tls_test.sh puts a
# block there and fails without this option. Without the interception only
# memory that a dlopen'ed library's thread-local storage alone points to goes
# unscanned, which can add a leak report but never hide one; the program's own
# thread-locals are static TLS and are still scanned.
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:intercept_tls_get_addr=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:abort_on_error=1"
export LSAN_OPTIONS="suppressions=$ROOT/scripts/lsan.supp"
