#!/usr/bin/env bash
# A dynamic TLS block 16 bytes into a page, which the sanitizer runtime would
# misread (scripts/sanitizer_options.sh): the leak check at exit must still end
# cleanly under the project's sanitizer options.
#   tests/sanitizer/dynamic_tls_test.sh <dynamic_tls_probe> <tls_block_library>
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
probe="$1" library="$2"
source "$ROOT/scripts/sanitizer_options.sh"

# The allocations before the block decide where it lands: find a count that
# puts it 16 bytes into a page (one slot in 128 of its size class).
count=""
for ((n = 0; n < 1024; n++)); do
  if [ "$(ASAN_OPTIONS=detect_leaks=0 "$probe" "$library" "$n")" = 16 ]; then count="$n"; break; fi
done
[ -n "$count" ] || { echo "FAIL: no allocation count puts the TLS block 16 bytes into a page"; exit 1; }

errors="$(mktemp)"
trap 'rm -f "$errors"' EXIT
if ! "$probe" "$library" "$count" >/dev/null 2>"$errors"; then
  cat "$errors"
  echo "FAIL: the leak check failed on a TLS block 16 bytes into a page (after $count allocations)"
  exit 1
fi
echo "ok: the leak check ends cleanly with a TLS block 16 bytes into a page (after $count allocations)"
