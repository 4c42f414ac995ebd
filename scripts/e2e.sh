#!/usr/bin/env bash
# Runs every tests/e2e/*.sh against the built program; each test starts its
# own Xvfb display (tests/e2e/lib.sh), so none of them touches the user's.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
PROGRAM="$(realpath "${1:-$ROOT/build/vondrel-viewer}")"
unset DISPLAY

failed=()
for test in "$ROOT"/tests/e2e/*.sh; do
  case "$(basename "$test")" in lib*.sh) continue ;; esac
  echo "--- $(basename "$test")"
  if ! timeout 300 bash "$test" "$PROGRAM" "$ROOT"; then failed+=("$(basename "$test")"); fi
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "end-to-end failures: ${failed[*]}"
  exit 1
fi
