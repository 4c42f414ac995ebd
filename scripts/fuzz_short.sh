#!/usr/bin/env bash
# A short run of one fuzz target from a copy of its committed corpus, as CTest
# runs it (label fuzz): FUZZ_SECONDS (default 10). Prints one line, or the end
# of the log when the target fails.
#   scripts/fuzz_short.sh <fuzz target binary>
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
source "$ROOT/scripts/fuzz_lib.sh"
fuzzer="$1"
name="$(fuzz_name "$fuzzer")"
work="$(mktemp -d /tmp/vdl-fuzz-short.XXXXXX)"
trap 'rm -rf "$work"' EXIT
cp -r "$ROOT/fuzz/corpus/$name/." "$work/" 2>/dev/null || true
if fuzz_target "$fuzzer" "${FUZZ_SECONDS:-10}" "$work" "$work.log"; then
  echo "fuzz target $name: $(fuzz_figures "$work.log")"
  rm -f "$work.log"
else
  echo "fuzz target $name failed (log and input kept: $work.log*):"
  tail -40 "$work.log"
  exit 1
fi
