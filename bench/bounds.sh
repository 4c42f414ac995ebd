#!/usr/bin/env bash
# Time and peak memory of -check and -shot on hostile plug-ins at full size
# (tests/e2e/hostile_plugins.py --full: 200 MB and 160 MB models, textures
# that claim 65,535 x 65,535 pixels, a 10 MB line, a million platforms) and
# on two just within the limits, one process each, from /usr/bin/time.
# Usage: bench/bounds.sh [build directory]
set -euo pipefail

ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="$(realpath "${1:-$ROOT/build}")"
VIEWER="$BUILD/vondrel-viewer"
"$ROOT/scripts/deps.sh"
if [ ! -x "$VIEWER" ]; then
  cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$BUILD" -j2 --target vondrel-viewer >/dev/null
fi

WORK="$(mktemp -d /tmp/vdl-bounds.XXXXXX)"
trap 'rm -rf "$WORK"' EXIT
python3 "$ROOT/tests/e2e/hostile_plugins.py" "$WORK/plugins" --full

export LIBGL_ALWAYS_SOFTWARE=1
printf '%-16s %-6s %6s %9s %8s  %s\n' case mode status seconds "peak MB" "first line on standard error"
for plugin in "$WORK"/plugins/*; do
  argument="$plugin"
  compgen -G "$plugin/*.txt" >/dev/null || argument="$plugin/Model.x"
  for mode in check shot; do
    options=(-check)
    [ "$mode" = shot ] && options=(-shot "$WORK/shot.png")
    status=0
    env -u DISPLAY -u WAYLAND_DISPLAY /usr/bin/time -f '%e %M' -o "$WORK/time" \
      "$VIEWER" "$argument" "${options[@]}" >/dev/null 2>"$WORK/err" || status=$?
    read -r seconds kilobytes < <(tail -1 "$WORK/time")
    printf '%-16s %-6s %6s %9s %8s  %s\n' "$(basename "$plugin")" "$mode" "$status" "$seconds" \
      "$((kilobytes / 1024))" "$(head -1 "$WORK/err" | cut -c1-110)"
  done
done
