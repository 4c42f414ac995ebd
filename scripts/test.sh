#!/usr/bin/env bash
# Checks the include layers, builds everything and runs every test: unit and
# render tests, the unit tests again under AddressSanitizer and
# UndefinedBehaviorSanitizer, the fuzz targets for a short time each, and the
# end-to-end tests under Xvfb.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
FUZZ_SECONDS="${FUZZ_SECONDS:-30}"

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
CC=clang CXX=clang++ configure_and_build "$ROOT/build-asan" unit_tests fuzzers -- \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVDL_SANITIZE=ON -DVDL_FUZZ=ON -DVDL_BENCH=OFF

phase "unit tests under sanitizers"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$ROOT/scripts/lsan.supp"
(cd "$ROOT/build-asan" && ctest --output-on-failure -j2 --timeout 600 -L unit)

phase "fuzzing, ${FUZZ_SECONDS}s per target, two at a time"
# run_fuzzer <binary>: fuzzes from the target's seed corpus (and dictionary);
# prints one line, or the end of the log when the target fails.
run_fuzzer() {
  local fuzzer="$1" name work dictionary=()
  name="$(basename "$fuzzer")"; name="${name#fuzz_}"
  work="$(mktemp -d)"
  cp -r "$ROOT/fuzz/corpus/$name/." "$work/" 2>/dev/null || true
  [ -f "$ROOT/fuzz/$name.dict" ] && dictionary=(-dict="$ROOT/fuzz/$name.dict")
  if "$fuzzer" -max_total_time="$FUZZ_SECONDS" -max_len=65536 -rss_limit_mb=2048 "${dictionary[@]}" \
       -artifact_prefix="$work/" "$work" >"$work.log" 2>&1; then
    echo "fuzz target $name: $(grep -Eo '#[0-9]+[[:space:]]+DONE.*' "$work.log" | tail -1)"
  else
    echo "fuzz target $name failed:"; tail -40 "$work.log"; return 1
  fi
}
fuzz_failed=0
running=0
for fuzzer in "$ROOT"/build-asan/fuzz_*; do
  [ -x "$fuzzer" ] || continue
  if [ "$running" -ge 2 ]; then wait -n || fuzz_failed=1; running=$((running - 1)); fi
  run_fuzzer "$fuzzer" &
  running=$((running + 1))
done
while [ "$running" -gt 0 ]; do wait -n || fuzz_failed=1; running=$((running - 1)); done
[ "$fuzz_failed" -eq 0 ]

phase "end-to-end tests under Xvfb"
"$ROOT/scripts/e2e.sh" "$ROOT/build/vondrel-viewer"

phase "all tests passed"
