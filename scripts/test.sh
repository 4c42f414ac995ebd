#!/usr/bin/env bash
# Checks the include layers, builds everything and runs every test: unit and
# render tests, the unit tests again under AddressSanitizer and
# UndefinedBehaviorSanitizer, the fuzz targets for a short time each, the
# program itself under the sanitizers (scripts/sanitize_program.sh), the
# end-to-end tests under Xvfb, and a short soak of the window.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
FUZZ_SECONDS="${FUZZ_SECONDS:-10}"

phase() { echo; echo "=== $* ($(date +%T))"; }

phase "dependencies"
"$ROOT/scripts/deps.sh"

phase "includes follow the layer order"
python3 "$ROOT/scripts/check_includes.py" "$ROOT"

phase "build (Release)"
configure_and_build "$ROOT/build" -- -DCMAKE_BUILD_TYPE=Release

phase "unit and render tests"
(cd "$ROOT/build" && ctest --output-on-failure -j2 --timeout 300)

phase "build (sanitizers, libFuzzer)"
CC=clang CXX=clang++ configure_and_build "$ROOT/build-asan" unit_tests fuzzers vondrel-viewer -- \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVDL_SANITIZE=ON -DVDL_FUZZ=ON -DVDL_BENCH=OFF

phase "unit tests under sanitizers"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$ROOT/scripts/lsan.supp"
(cd "$ROOT/build-asan" && ctest --output-on-failure -j2 --timeout 600 -L unit)

phase "fuzzing, ${FUZZ_SECONDS}s per target, two at a time"
source "$ROOT/scripts/fuzz_lib.sh"
# run_fuzzer <binary>: fuzzes a copy of the target's committed corpus; prints
# one line, or the end of the log when the target fails.
run_fuzzer() {
  local fuzzer="$1" name work
  name="$(fuzz_name "$fuzzer")"
  work="$(mktemp -d)"
  cp -r "$ROOT/fuzz/corpus/$name/." "$work/" 2>/dev/null || true
  if fuzz_target "$fuzzer" "$FUZZ_SECONDS" "$work" "$work.log"; then
    echo "fuzz target $name: $(fuzz_figures "$work.log")"
  else
    echo "fuzz target $name failed:"; tail -40 "$work.log"; return 1
  fi
}
for_each_fuzzer "$ROOT/build-asan" run_fuzzer

phase "the program under sanitizers: -check and -shot on samples, test data and corpora; a window session"
"$ROOT/scripts/sanitize_program.sh" "$ROOT/build-asan/vondrel-viewer"

phase "end-to-end tests under Xvfb"
"$ROOT/scripts/e2e.sh" "$ROOT/build/vondrel-viewer"

phase "a one-minute soak of the window"
"$ROOT/scripts/soak.sh" "${SOAK_MINUTES:-0.2}"

phase "all tests passed"
