#!/usr/bin/env bash
# A soak of the real window: scripts/soak.sh [minutes per sample, default 10] [program]
# (without a program it builds the Release one).
# Each sample plug-in runs under Xvfb with -watch while random keys, drags,
# wheel turns and focus changes reach it and its files are saved again (by
# rename, as editors do; now and then a broken model that the next save
# mends). Every few seconds the resident memory, the open descriptors and the
# OpenGL errors are recorded. It fails when memory or descriptors grow from
# the first half of a run to the second, on any OpenGL error, or when the
# viewer does not end with status 0 on Escape. VDL_CONTEXT_LOSS_DRILL=<n> in
# the environment adds a context loss every n frames.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
MINUTES="${1:-10}"
PROGRAM_UNDER_SOAK="${2:-}"
SAMPLE_EVERY=3          # seconds between two records
GROWTH_LIMIT_KB=8192    # more than this from the first half's peak to the second's is growth

if [ -z "$PROGRAM_UNDER_SOAK" ]; then
  configure_and_build "$ROOT/build" vondrel-viewer -- -DCMAKE_BUILD_TYPE=Release >/dev/null
  PROGRAM_UNDER_SOAK="$ROOT/build/vondrel-viewer"
fi
source "$ROOT/tests/e2e/lib.sh"
source "$ROOT/tests/e2e/lib_images.sh"
e2e_init "$PROGRAM_UNDER_SOAK" "$ROOT"
unset VDL_TRACE_INPUT   # a line per frame would only fill the disk
RANDOM=1                # the same actions in every run

SECONDS_PER_SAMPLE="$(awk -v m="$MINUTES" 'BEGIN { s = int(m * 60); print (s < 10 ? 10 : s) }')"
KEYS=(Left Right Up Down Prior Next Home End Insert Delete Tab space Shift_L Control_L a z x KP_8 KP_2)

resident_kb() { awk '/^VmRSS:/ { print $2 }' "/proc/$VIEWER_PID/status"; }
descriptors() { find "/proc/$VIEWER_PID/fd" -mindepth 1 2>/dev/null | wc -l; }
gl_errors() { grep -c '^vondrel-viewer: OpenGL error' "$WORK/$1.err" || true; }

# save <file> <contents file>: as an editor saves.
save() {
  cp "$2" "$1.saving"
  mv -f "$1.saving" "$1"
}

# The files of a plug-in that can be saved again, each with a second version
# to alternate with: textures negated, the definition file renamed.
prepare_versions() {
  local dir="$1" file
  mkdir -p "$dir.versions"
  for file in "$dir"/*; do
    case "${file,,}" in
      *.png | *.jpg | *.bmp | *.tga) convert "$file" -channel RGB -negate "$dir.versions/$(basename "$file")" ;;
      *.txt) sed '1s/.*/Soaked/' "$file" >"$dir.versions/$(basename "$file")" ;;
    esac
  done
}

# rewrite <dir> <model>: saves one of the plug-in's files again.
rewrite() {
  local dir="$1" model="$2" versions=("$1.versions"/*) pick
  if ((RANDOM % 6 == 0)); then
    # A half-written model, mended by the next save.
    head -c "$(($(stat -c %s "$dir.original/$model") / 2))" "$dir.original/$model" >"$WORK/half.x"
    save "$dir/$model" "$WORK/half.x"
    sleep 0.5
    save "$dir/$model" "$dir.original/$model"
  elif [ ${#versions[@]} -gt 0 ] && [ -e "${versions[0]}" ]; then
    pick="$(basename "${versions[RANDOM % ${#versions[@]}]}")"
    if cmp -s "$dir/$pick" "$dir.original/$pick"; then
      save "$dir/$pick" "$dir.versions/$pick"
    else
      save "$dir/$pick" "$dir.original/$pick"
    fi
  else
    save "$dir/$model" "$dir.original/$model"
  fi
}

# One random action on the window.
act() {
  local window="$1" cover="$2" i key
  case $((RANDOM % 10)) in
    0 | 1 | 2 | 3) xdotool key "${KEYS[RANDOM % ${#KEYS[@]}]}" ;;
    4)
      key="${KEYS[RANDOM % 8]}"  # an arrow or page key held: the camera turns or zooms
      xdotool keydown "$key"; sleep 0.$((RANDOM % 5 + 1)); xdotool keyup "$key" ;;
    5 | 6)
      xdotool mousemove --window "$window" $((RANDOM % 640)) $((RANDOM % 480)) mousedown $((RANDOM % 2 * 2 + 1))
      for ((i = 0; i < 6; i++)); do xdotool mousemove_relative -- $((RANDOM % 41 - 20)) $((RANDOM % 41 - 20)); done
      xdotool mouseup 1 mouseup 3 ;;
    7) xdotool click --repeat $((RANDOM % 4 + 1)) $((RANDOM % 2 + 4)) ;;
    8) xdotool windowfocus "$cover"; sleep 0.3; xdotool windowfocus "$window" ;;
    9) return 1 ;;  # the caller saves a file
  esac
}

# soak <sample> <path inside the copy> <model file>
soak() {
  local name="$1" target="$2" model="$3" dir="$WORK/plugins/$1" end record=0 next half
  local -a rss=() fds=()
  mkdir -p "$WORK/plugins"
  cp -r "$ROOT/samples/$name" "$dir"
  cp -r "$ROOT/samples/$name" "$dir.original"
  prepare_versions "$dir"
  rm -f "$LOG"
  start_viewer "$name" "$dir/$target" -watch -dbf
  local window cover
  window="$(wait_window "Vondrel Plugin Viewer")"
  toplevel_windows >"$WORK/before-cover"
  xmessage -geometry 200x60+700+600 "soak" 2>/dev/null &
  local cover_pid=$!
  E2E_PIDS+=("$cover_pid")
  cover="$(wait_new_window "$WORK/before-cover")"
  xdotool windowfocus --sync "$window"

  end=$((SECONDS + SECONDS_PER_SAMPLE))
  next=$SECONDS
  local actions=0
  while ((SECONDS < end)); do
    kill -0 "$VIEWER_PID" 2>/dev/null || { tail -20 "$WORK/$name.err" >&2; fail "$name: the viewer ended"; }
    if ((SECONDS >= next)); then
      rss+=("$(resident_kb)")
      fds+=("$(descriptors)")
      next=$((SECONDS + SAMPLE_EVERY))
    fi
    act "$window" "$cover" || rewrite "$dir" "$model"
    actions=$((actions + 1))
    sleep 0.0$((RANDOM % 9 + 1))
  done
  xdotool windowfocus --sync "$window"
  sleep 0.3
  xdotool key Escape
  expect_exit "$VIEWER_PID" 0 "$name: Escape"
  kill "$cover_pid"
  wait "$cover_pid" 2>/dev/null || true

  # The first half's peak against the second half's.
  half=$((${#rss[@]} / 2))
  local first_rss=0 second_rss=0 first_fds=0 second_fds=0 i
  for ((i = 0; i < ${#rss[@]}; i++)); do
    if ((i < half)); then
      ((rss[i] > first_rss)) && first_rss=${rss[i]}
      ((fds[i] > first_fds)) && first_fds=${fds[i]}
    else
      ((rss[i] > second_rss)) && second_rss=${rss[i]}
      ((fds[i] > second_fds)) && second_fds=${fds[i]}
    fi
  done
  local ok failed errors
  ok="$(grep -c '^reload: ok' "$LOG" || true)"
  failed="$(grep -c '^reload: failed' "$LOG" || true)"
  errors="$(gl_errors "$name")"
  printf '%-8s %4ds %5d actions %4d reloads (%d kept the last model)  resident %s→%s kB (peaks %s, %s)  descriptors %s→%s  GL errors %s\n' \
    "$name" "$SECONDS_PER_SAMPLE" "$actions" "$((ok + failed))" "$failed" "${rss[0]}" "${rss[-1]}" \
    "$first_rss" "$second_rss" "${fds[0]}" "${fds[-1]}" "$errors"
  ((${#rss[@]} >= 2)) || fail "$name: too few records"
  ((second_rss - first_rss <= GROWTH_LIMIT_KB)) || fail "$name: resident memory grew by $((second_rss - first_rss)) kB"
  ((second_fds <= first_fds)) || fail "$name: descriptors grew from $first_fds to $second_fds"
  [ "$errors" = 0 ] || fail "$name: $(grep -m1 '^vondrel-viewer: OpenGL error' "$WORK/$name.err")"
  ((ok > 0)) || fail "$name: no save was reloaded"
}

echo "soak: ${SECONDS_PER_SAMPLE}s per sample"
soak Train Train.txt Model.x
soak Struct Struct.txt Model.x
soak Station Station.txt Model.x
soak Surface Surface.txt Model.x
soak model Car.x Car.x
echo "soak passed"
