#!/usr/bin/env bash
# Long fuzzing, outside the CI run: fuzzes every target for the given minutes
# (default 10), two at a time, from its committed corpus in fuzz/corpus/, then
# minimises what was found back into fuzz/corpus/<target> (libFuzzer -merge).
# Prints executions, coverage and corpus size per target. Any crash, leak,
# time-out or out-of-memory input is kept in fuzz/findings/<target>/ and makes
# the script fail. Then the sanitized program itself runs -check and -shot on
# every file of every corpus (scripts/sanitize_program.sh --all), and the
# reader's and the mesh ordering's tests run under ThreadSanitizer, when every
# target was fuzzed.
#   scripts/fuzz.sh [minutes] [target...]   (default: every target)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
source "$ROOT/scripts/fuzz_lib.sh"
MINUTES="${1:-10}"
TARGETS=("${@:2}")
RESULTS="$(mktemp -d /tmp/vdl-fuzz.XXXXXX)"

"$ROOT/scripts/deps.sh"
build_sanitized fuzzers vondrel-viewer
source "$ROOT/scripts/sanitizer_options.sh"

# long_run <binary>: fuzz, keep any finding, minimise the corpus, write the figures.
long_run() {
  local fuzzer="$1" name corpus work minimised status=0
  name="$(fuzz_name "$fuzzer")"
  if [ ${#TARGETS[@]} -gt 0 ] && [[ ! " ${TARGETS[*]} " == *" $name "* ]]; then return 0; fi
  corpus="$ROOT/fuzz/corpus/$name"
  work="$RESULTS/$name.work"; minimised="$RESULTS/$name.min"
  mkdir -p "$corpus" "$work" "$minimised"
  local before; before="$(corpus_size "$corpus")"
  cp -r "$corpus/." "$work/"
  fuzz_target "$fuzzer" $((MINUTES * 60)) "$work" "$RESULTS/$name.log" || status=1
  if compgen -G "$RESULTS/$name.log.artifact-*" >/dev/null; then
    mkdir -p "$ROOT/fuzz/findings/$name"
    cp "$RESULTS/$name.log.artifact-"* "$ROOT/fuzz/findings/$name/"
    status=1
  fi
  "$fuzzer" -merge=1 -max_len=65536 -rss_limit_mb=2048 -timeout=10 "$minimised" "$corpus" "$work" \
    >"$RESULTS/$name.merge.log" 2>&1 || status=1
  if [ "$status" -eq 0 ]; then
    rm -rf "$corpus"; mkdir -p "$corpus"; cp -r "$minimised/." "$corpus/"
  fi
  echo "$name: $(fuzz_figures "$RESULTS/$name.log"); corpus $before -> $(corpus_size "$corpus")$( \
    [ "$status" -eq 0 ] || echo "; FAILED, see $RESULTS/$name.log and fuzz/findings/$name/")" \
    >"$RESULTS/$name.summary"
  return "$status"
}

echo "fuzzing every target for $MINUTES min, two at a time (logs in $RESULTS)"
status=0
for_each_fuzzer "$ROOT/build-asan" long_run || status=1
cat "$RESULTS"/*.summary
# The sweep of every corpus, and the threads of the text reader and of the
# vertex-cache ordering under ThreadSanitizer, go with a run of every target.
if [ ${#TARGETS[@]} -eq 0 ]; then
  "$ROOT/scripts/sanitize_program.sh" "$ROOT/build-asan/vondrel-viewer" --all || status=1
  CC=clang CXX=clang++ configure_and_build "$ROOT/build-tsan" unit_gfxutil_xfile unit_gfxutil_mesh -- \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVDL_TSAN=ON -DVDL_BENCH=OFF || status=1
  for tests in unit_gfxutil_xfile unit_gfxutil_mesh; do
    TSAN_OPTIONS="halt_on_error=1" "$ROOT/build-tsan/$tests" --gtest_brief=1 || status=1
  done
fi
exit "$status"
