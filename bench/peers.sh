#!/usr/bin/env bash
# The viewer against general peer programs, whole processes measured side by
# side in one run (medians of RUNS runs each, wall clock and peak RSS from
# /usr/bin/time), printed as ratios:
#   load:        vondrel-viewer <model> -check   vs  assimp info <model> -r
#                on the benchmark grid as text and as binary;
#   first frame: vondrel-viewer <model> -shot    vs  f3d --output on the same
#                model converted by assimp export, for a small plug-in and the grid.
# Usage: bench/peers.sh [build directory]   (RUNS=5 by default)
set -euo pipefail

ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="$(realpath "${1:-$ROOT/build}")"
RUNS="${RUNS:-5}"
VIEWER="$BUILD/vondrel-viewer"

"$ROOT/scripts/deps.sh" peers
if [ ! -x "$VIEWER" ] || [ ! -x "$BUILD/bench_write_grid" ]; then
  cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$BUILD" -j2 --target vondrel-viewer bench_write_grid >/dev/null
fi

WORK="$(mktemp -d /tmp/vdl-peers.XXXXXX)"
XVFB_PID=""
cleanup() {
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
  rm -rf "$WORK"
}
trap cleanup EXIT

# A display for f3d, which needs one for its picture; the viewer's -check and
# -shot run without, as a thumbnailer runs them.
export DISPLAY=":$((90 + $$ % 100))"
Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 &
XVFB_PID=$!
sleep 1

MESH_BYTES="$("$BUILD/bench_write_grid" "$WORK/grid")"
# The grid's three textures, so that every program finds what it names.
for i in 0 1 2; do cp "$ROOT/samples/Struct/brick.png" "$WORK/tex$i.png"; done
assimp export "$WORK/grid_text.x" "$WORK/grid.obj" >/dev/null
SMALL_DIR="$ROOT/samples/Train"
assimp export "$SMALL_DIR/Model.x" "$WORK/small.obj" >/dev/null
find "$SMALL_DIR" -maxdepth 1 -type f ! -iname '*.x' ! -iname '*.txt' -exec cp {} "$WORK" \;

# One run: wall time in ms and peak RSS in KiB, or nothing when it failed.
run_once() {
  local start end
  start=$(date +%s%N)
  /usr/bin/time -f "%M" -o "$WORK/rss" bash -c "$1" >/dev/null 2>&1 || return 0
  end=$(date +%s%N)
  echo "$(((end - start) / 1000000)) $(tail -n 1 "$WORK/rss")"
}

median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

declare -A OUR_MS OUR_KIB
# The two programs take turns run by run, so that load on the machine falls on both.
# Each timed run follows an untimed one of the same command, so that both read
# their files and libraries from the page cache: the kernel may drop pages
# unused for a few seconds (proactive reclaim), and a run after the other
# program's would then read from disk.
side_by_side() {
  local name="$1" label="$2" ours="$3" peer="$4" i ms kib command
  local our_ms=() our_kib=() peer_ms=() peer_kib=()
  for ((i = 0; i < RUNS; ++i)); do
    for command in "$ours" "$peer"; do
      run_once "$command" >/dev/null
      read -r ms kib <<<"$(run_once "$command")"
      if [ -z "$ms" ]; then
        echo "failed: $command" >&2
        exit 1
      fi
      if [ "$command" = "$ours" ]; then our_ms+=("$ms") our_kib+=("$kib"); else peer_ms+=("$ms") peer_kib+=("$kib"); fi
    done
  done
  local a b c d
  a=$(median "${our_ms[@]}") b=$(median "${our_kib[@]}") c=$(median "${peer_ms[@]}") d=$(median "${peer_kib[@]}")
  OUR_MS[$name]=$a OUR_KIB[$name]=$b
  printf '%-27s ours %6s ms %7s KiB | peer %6s ms %7s KiB | ours/peer: time %s, RSS %s; peer/ours time %s\n' \
    "$label" "$a" "$b" "$c" "$d" "$(ratio "$a" "$c")" "$(ratio "$b" "$d")" "$(ratio "$c" "$a")"
}

if ! "$VIEWER" --help 2>&1 | grep -q -- "-check"; then
  echo "This viewer has no -check and -shot modes yet; nothing to measure." >&2
  exit 2
fi

echo "grid: $(stat -c %s "$WORK/grid_text.x") bytes as text, $(stat -c %s "$WORK/grid_binary.x") as binary; mesh $MESH_BYTES bytes"
cd "$WORK"
OURS="env -u DISPLAY '$VIEWER'"
side_by_side text "load, text grid" "$OURS grid_text.x -check" "assimp info grid_text.x -r"
side_by_side binary "load, binary grid" "$OURS grid_binary.x -check" "assimp info grid_binary.x -r"
side_by_side small "first frame, small plug-in" "$OURS '$SMALL_DIR' -shot '$WORK/small.png'" \
  "f3d --output small_f3d.png small.obj"
side_by_side grid "first frame, grid" "$OURS grid_text.x -shot '$WORK/grid.png'" "f3d --output grid_f3d.png grid.obj"

allowed=$((OUR_KIB[small] + 3 * MESH_BYTES / 1024))
echo "first-frame RSS on the grid: ${OUR_KIB[grid]} KiB; the small plug-in's plus 3x the mesh: $allowed KiB"
