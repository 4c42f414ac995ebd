#!/usr/bin/env bash
# vondrel-viewer -shot against f3d 1.3.1's --output on the same models, whole
# processes measured side by side in one run: the two take turns run by run,
# and the medians of RUNS runs each (wall clock) are compared. f3d reads no .x,
# so each model is converted with `assimp export` first. f3d needs an X
# display for its picture (it crashes without one), so it gets an Xvfb of its
# own; -shot runs as a thumbnailer runs it, with no display at all.
# Usage: bench/shot_vs_f3d.sh [program]   (RUNS=9 by default)
set -euo pipefail

ROOT="$(cd "$(dirname "$0")/.." && pwd)"
PROGRAM="${1:-$ROOT/build/vondrel-viewer}"
RUNS="${RUNS:-9}"

F3D_WORK_PREFIX=vdl-shot-bench source "$ROOT/bench/lib_f3d.sh"

# milliseconds <command>...: the wall time of one whole process; a failure stops the script.
milliseconds() {
  local start end
  start=$(date +%s%N)
  "$@" >/dev/null 2>&1 || { echo "failed: $*" >&2; exit 1; }
  end=$(date +%s%N)
  echo $(((end - start) / 1000000))
}

median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# compare <label> <plug-in path> <model file>: a 640x480 picture each, RUNS times in turn.
compare() {
  local label="$1" plugin="$2" model="$3" i ours=() peer=()
  local converted="$WORK/$label/model.obj"
  mkdir -p "$WORK/$label"
  cp "$(dirname "$model")"/* "$WORK/$label/" 2>/dev/null || true  # the textures beside the converted model
  assimp export "$model" "$converted" >/dev/null
  for ((i = 0; i < RUNS; ++i)); do
    ours+=("$(milliseconds env -u DISPLAY -u WAYLAND_DISPLAY "$PROGRAM" "$plugin" -shot "$WORK/ours.png")")
    peer+=("$(milliseconds env DISPLAY="$F3D_DISPLAY" f3d --output="$WORK/f3d.png" --resolution=640,480 "$converted")")
  done
  local a b
  a=$(median "${ours[@]}") b=$(median "${peer[@]}")
  printf '%-8s -shot %5s ms | f3d --output %5s ms | -shot / f3d = %s\n' "$label" "$a" "$b" \
    "$(awk -v a="$a" -v b="$b" 'BEGIN { printf "%.2f", a / b }')"
}

echo "medians of $RUNS runs each, whole processes, 640x480 pictures"
compare Train "$ROOT/samples/Train" "$ROOT/samples/Train/Model.x"
compare Station "$ROOT/samples/Station" "$ROOT/samples/Station/Model.x"
compare Car "$ROOT/samples/model/Car.x" "$ROOT/samples/model/Car.x"
