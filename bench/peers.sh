#!/usr/bin/env bash
# The viewer against general peer programs, whole processes measured side by
# side in one run (medians of RUNS runs each, wall clock, peak RSS and CPU time
# from bench/measure_run.c), printed as ratios:
#   load:        vondrel-viewer <model> -check   vs  assimp info <model> -r
#                on every shape bench_write_shapes writes (a base and variants
#                that change one thing each), then the worst ratio of the text
#                and of the binary shapes;
#   CPU time (user and system, all threads) beside
#   the wall clock: on a busy machine it shows the work apart from the waits
#   for a core;
#   first frame: vondrel-viewer <model> -shot    vs  f3d --output on the same
#                model converted by assimp export, for a small plug-in and the
#                base shape.
# Usage: bench/peers.sh [build directory] [shape... | first-frame]
#   (RUNS=5 by default; naming shapes measures only those, "first-frame" the
#   first frames; bench_write_shapes without arguments lists the shapes)
set -euo pipefail

ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="$(realpath "${1:-$ROOT/build}")"
shift || true
CHOSEN=("$@")
RUNS="${RUNS:-5}"
VIEWER="$BUILD/vondrel-viewer"

"$ROOT/scripts/deps.sh" peers
if [ ! -x "$VIEWER" ] || [ ! -x "$BUILD/bench_write_shapes" ] || [ ! -x "$BUILD/bench_measure_run" ]; then
  cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$BUILD" -j2 --target vondrel-viewer bench_write_shapes bench_measure_run >/dev/null
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

# Shapes to load (all when nothing is named) and whether to take first frames.
LOAD_SHAPES=() FIRST_FRAME=0
for name in "${CHOSEN[@]}"; do
  if [ "$name" = first-frame ]; then FIRST_FRAME=1; else LOAD_SHAPES+=("$name"); fi
done
if [ ${#CHOSEN[@]} -eq 0 ]; then
  FIRST_FRAME=1
  "$BUILD/bench_write_shapes" "$WORK" >"$WORK/written"
else
  # The base shape is the first frame's large model.
  extra=()
  [ "$FIRST_FRAME" = 1 ] && extra=(base)
  "$BUILD/bench_write_shapes" "$WORK" "${LOAD_SHAPES[@]}" "${extra[@]}" >"$WORK/written"
fi
# name file mesh-bytes, a line per shape to load
if [ ${#CHOSEN[@]} -eq 0 ]; then
  cp "$WORK/written" "$WORK/shapes"
else
  : >"$WORK/shapes"
  for name in "${LOAD_SHAPES[@]}"; do awk -v n="$name" '$1 == n' "$WORK/written" >>"$WORK/shapes"; done
fi
# The shapes' three textures, so that every program finds what it names.
for i in 0 1 2; do cp "$ROOT/samples/Struct/brick.png" "$WORK/tex$i.png"; done
SMALL_DIR="$ROOT/samples/Train"
if [ "$FIRST_FRAME" = 1 ]; then
  assimp export "$WORK/base.x" "$WORK/base.obj" >/dev/null
  assimp export "$SMALL_DIR/Model.x" "$WORK/small.obj" >/dev/null
  find "$SMALL_DIR" -maxdepth 1 -type f ! -iname '*.x' ! -iname '*.txt' -exec cp {} "$WORK" \;
fi

# One run: wall time in ms, peak RSS in KiB and CPU time in ms, or nothing
# when it failed; timed around the program alone (no shell, no /usr/bin/time),
# which matters on the small shapes, where a few milliseconds are a large share.
run_once() { eval "'$BUILD/bench_measure_run' $1" || true; }

median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

declare -A OUR_MS OUR_KIB OUR_CPU PEER_MS PEER_KIB PEER_CPU
# The two programs take turns run by run, so that load on the machine falls on both.
# Each timed run follows an untimed one of the same command, so that both read
# their files and libraries from the page cache: the kernel may drop pages
# unused for a few seconds (proactive reclaim), and a run after the other
# program's would then read from disk.
side_by_side() {
  local name="$1" label="$2" ours="$3" peer="$4" i ms kib cpu command
  local our_ms=() our_kib=() our_cpu=() peer_ms=() peer_kib=() peer_cpu=()
  for ((i = 0; i < RUNS; ++i)); do
    for command in "$ours" "$peer"; do
      run_once "$command" >/dev/null
      read -r ms kib cpu <<<"$(run_once "$command")"
      if [ -z "$ms" ]; then
        echo "failed: $command" >&2
        exit 1
      fi
      if [ "$command" = "$ours" ]; then
        our_ms+=("$ms") our_kib+=("$kib") our_cpu+=("$cpu")
      else
        peer_ms+=("$ms") peer_kib+=("$kib") peer_cpu+=("$cpu")
      fi
    done
  done
  local a b c d e f
  a=$(median "${our_ms[@]}") b=$(median "${our_kib[@]}") c=$(median "${peer_ms[@]}") d=$(median "${peer_kib[@]}")
  e=$(median "${our_cpu[@]}") f=$(median "${peer_cpu[@]}")
  OUR_MS[$name]=$a OUR_KIB[$name]=$b OUR_CPU[$name]=$e PEER_MS[$name]=$c PEER_KIB[$name]=$d PEER_CPU[$name]=$f
  printf '%-27s ours %5s ms (cpu %4s) %7s KiB | peer %5s ms (cpu %4s) %7s KiB | peer/ours: time %s, cpu %s; ours/peer RSS %s\n' \
    "$label" "$a" "$e" "$b" "$c" "$f" "$d" "$(ratio "$c" "$a")" "$(ratio "$f" "$e")" "$(ratio "$b" "$d")"
}

if ! "$VIEWER" --help 2>&1 | grep -q -- "-check"; then
  echo "This viewer has no -check and -shot modes yet; nothing to measure." >&2
  exit 2
fi

echo "load on $(nproc) cores; load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
cd "$WORK"
OURS="-u DISPLAY '$VIEWER'"
worst() { # kind: the shapes of the lowest peer/ours time and CPU ratios and the highest RSS ratio
  local kind="$1" line name file bytes time_ratio cpu_ratio rss_ratio low="" low_cpu="" high=""
  for line in "${SHAPE_LINES[@]}"; do
    read -r name file bytes <<<"$line"
    [ "$(shape_kind "$file")" = "$kind" ] || continue
    time_ratio=$(ratio "${PEER_MS[$name]}" "${OUR_MS[$name]}")
    cpu_ratio=$(ratio "${PEER_CPU[$name]}" "${OUR_CPU[$name]}")
    rss_ratio=$(ratio "${OUR_KIB[$name]}" "${PEER_KIB[$name]}")
    if [ -z "$low" ] || awk -v a="$time_ratio" -v b="${low%% *}" 'BEGIN { exit !(a < b) }'; then low="$time_ratio $name"; fi
    if [ -z "$low_cpu" ] || awk -v a="$cpu_ratio" -v b="${low_cpu%% *}" 'BEGIN { exit !(a < b) }'; then
      low_cpu="$cpu_ratio $name"
    fi
    if [ -z "$high" ] || awk -v a="$rss_ratio" -v b="${high%% *}" 'BEGIN { exit !(a > b) }'; then high="$rss_ratio $name"; fi
  done
  [ -z "$low" ] || echo "worst $kind: peer/ours time ${low% *} (${low#* }), cpu ${low_cpu% *} (${low_cpu#* });" \
    "ours/peer RSS ${high% *} (${high#* })"
  return 0
}
# Text files say "txt " or "tzip" in their header; binary ones "bin " or "bzip".
shape_kind() { case "$(head -c 12 "$1" | tail -c 4)" in "txt "|tzip) echo text ;; *) echo binary ;; esac; }

mapfile -t SHAPE_LINES <"$WORK/shapes"
for line in "${SHAPE_LINES[@]}"; do
  read -r name file bytes <<<"$line"
  echo "$name: $(stat -c %s "$file") bytes, $(shape_kind "$file"), mesh $bytes bytes"
  side_by_side "$name" "load, $name" "$OURS $file -check" "assimp info $file -r"
done
worst text
worst binary

if [ "$FIRST_FRAME" = 1 ]; then
  side_by_side small "first frame, small plug-in" "$OURS '$SMALL_DIR' -shot '$WORK/small.png'" \
    "f3d --output small_f3d.png small.obj"
  side_by_side grid "first frame, base shape" "$OURS base.x -shot '$WORK/base.png'" "f3d --output base_f3d.png base.obj"
  mesh_bytes=$(awk '$1 == "base" { print $3 }' "$WORK/written")
  allowed=$((OUR_KIB[small] + 3 * mesh_bytes / 1024))
  echo "first-frame RSS on the base shape: ${OUR_KIB[grid]} KiB; the small plug-in's plus 3x the mesh: $allowed KiB"
fi
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
