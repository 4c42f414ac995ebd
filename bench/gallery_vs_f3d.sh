#!/usr/bin/env bash
# -gallery against the shell loop people write with a peer: plug-ins per
# second over one generated folder of PLUGINS plug-ins (copies of the samples,
# every kind, a fifth of them as zip archives), measured in one run. The
# gallery draws each plug-in by day and at night, its thumbnail and its check
# report, with one worker per core; the loop runs one `f3d --output` per model
# (a single picture each) over the same models converted with `assimp export`
# beforehand, which is not timed. f3d needs an X display for its picture, so
# it gets an Xvfb of its own; the gallery runs with no display at all.
# Usage: bench/gallery_vs_f3d.sh [program]   (PLUGINS=200 by default)
set -euo pipefail

ROOT="$(cd "$(dirname "$0")/.." && pwd)"
PROGRAM="${1:-$ROOT/build/vondrel-viewer}"
PLUGINS="${PLUGINS:-200}"

F3D_WORK_PREFIX=vdl-gallery-bench source "$ROOT/bench/lib_f3d.sh"

# The folder: plug-in directories and bare models, every fifth packed as a zip
# archive; and beside it each model converted for f3d, with its textures.
samples=(Train Struct Station Surface model)
mkdir -p "$WORK/plugins" "$WORK/converted"
for ((i = 0; i < PLUGINS; ++i)); do
  sample="${samples[i % ${#samples[@]}]}"
  name="$(printf '%03d_%s' "$i" "$sample")"
  model="$ROOT/samples/$sample/Model.x"
  [ "$sample" = model ] && model="$ROOT/samples/model/Car.x"
  if ((i % 5 == 4)); then
    python3 -c 'import shutil, sys; shutil.make_archive(sys.argv[1], "zip", sys.argv[2], sys.argv[3])' \
      "$WORK/plugins/$name" "$ROOT/samples" "$sample"
  else
    cp -r "$ROOT/samples/$sample" "$WORK/plugins/$name"
  fi
  mkdir -p "$WORK/converted/$name"
  cp -r "$(dirname "$model")"/. "$WORK/converted/$name/"
  assimp export "$model" "$WORK/converted/$name/model.obj" >/dev/null
done

seconds() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", (b - a) / 1e9 }'; }
rate() { awk -v n="$1" -v s="$2" 'BEGIN { printf "%.1f", n / s }'; }

start=$(date +%s%N)
summary="$(env -u DISPLAY -u WAYLAND_DISPLAY "$PROGRAM" -gallery "$WORK/plugins" "$WORK/site")"
ours="$(seconds "$start" "$(date +%s%N)")"
[[ "$summary" == "gallery: $PLUGINS plug-ins, $PLUGINS shown, "* ]] || { echo "gallery: $summary" >&2; exit 1; }

start=$(date +%s%N)
for model in "$WORK"/converted/*/model.obj; do
  DISPLAY="$F3D_DISPLAY" f3d --output="${model%.obj}.png" --resolution=640,480 "$model" >/dev/null 2>&1 ||
    { echo "failed: f3d $model" >&2; exit 1; }
done
peer="$(seconds "$start" "$(date +%s%N)")"

echo "$PLUGINS plug-ins, $(nproc) cores"
printf -- '-gallery (day, night, thumbnail, check)  %7s s  %6s plug-ins/s\n' "$ours" "$(rate "$PLUGINS" "$ours")"
printf 'f3d --output loop (one picture)         %7s s  %6s plug-ins/s\n' "$peer" "$(rate "$PLUGINS" "$peer")"
echo "gallery / loop = $(awk -v a="$ours" -v b="$peer" 'BEGIN { printf "%.1f", b / a }') times the rate"
