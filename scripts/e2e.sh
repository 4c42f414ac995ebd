#!/usr/bin/env bash
# Runs every tests/e2e/*.sh against the built program on its own Xvfb display.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
PROGRAM="$(realpath "${1:-$ROOT/build/vondrel-viewer}")"

display=99
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done
export DISPLAY=":$display"
export LIBGL_ALWAYS_SOFTWARE=1

failed=()
for test in "$ROOT"/tests/e2e/*.sh; do
  [ "$(basename "$test")" = "lib.sh" ] && continue
  echo "--- $(basename "$test")"
  if ! timeout 300 bash "$test" "$PROGRAM" "$ROOT"; then failed+=("$(basename "$test")"); fi
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "end-to-end failures: ${failed[*]}"; exit 1
fi
