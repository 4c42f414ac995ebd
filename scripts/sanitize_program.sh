#!/usr/bin/env bash
# The program itself under AddressSanitizer, LeakSanitizer and
# UndefinedBehaviorSanitizer: -check and -shot on every sample, every file in
# tests/data, the hostile plug-ins of the bounds test and up to 30 files of
# each fuzz corpus, chosen evenly through its sorted names (every file with
# --all), each corpus file made into a plug-in by scripts/corpus_plugin.py;
# then one window session under Xvfb (scripts/sanitize_window.sh).
# A run fails on a sanitizer report, a signal, a time-out, an exit status
# other than 0, 1, 2 or 3 (0, 1 or 2 for -shot; 2 is an archive of several plug-ins), or a fault found without a line on
# standard error that names a file: when -check finds problems (or nothing to
# show), both modes must say so there.
#   scripts/sanitize_program.sh <sanitized vondrel-viewer> [--all]
# CORPORA names another directory of corpora than fuzz/corpus.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
PROGRAM="$(realpath "$1")"
CORPORA="${CORPORA:-$ROOT/fuzz/corpus}"
CORPUS_SAMPLE=30
[ "${2:-}" = --all ] && CORPUS_SAMPLE=0
WORK="$(mktemp -d /tmp/vdl-sanitize.XXXXXX)"
trap 'rm -rf "$WORK"' EXIT

source "$ROOT/scripts/sanitizer_options.sh"
export LIBGL_ALWAYS_SOFTWARE=1
# LeakSanitizer can neither scan nor name a library once it is unloaded, so
# what the OpenGL driver keeps in its own globals (a few hundred bytes) would
# show as a leak of an unknown module when SDL unloads EGL at the end of
# -shot. Here no library is unloaded: what they keep stays reachable and any
# true leak keeps a stack with names.
cc -shared -fPIC -x c -o "$WORK/keep_libraries.so" - <<'C'
int dlclose(void* handle) { (void)handle; return 0; }
C
export LD_PRELOAD="$WORK/keep_libraries.so"

INPUTS="$WORK/inputs"  # lines of "<what>\t<argument>"
: >"$INPUTS"
add_input() { printf '%s\t%s\n' "$1" "$2" >>"$INPUTS"; }

for sample in Train Struct Station Surface; do add_input "samples/$sample" "$ROOT/samples/$sample"; done
add_input samples/model/Car.x "$ROOT/samples/model/Car.x"

# evenly <file>...: up to CORPUS_SAMPLE of the files, evenly spaced; all with 0.
evenly() {
  local files=("$@") count=$# i
  if [ "$CORPUS_SAMPLE" -eq 0 ] || [ "$count" -le "$CORPUS_SAMPLE" ]; then printf '%s\n' "${files[@]}"; return; fi
  for ((i = 0; i < CORPUS_SAMPLE; i++)); do printf '%s\n' "${files[$((i * count / CORPUS_SAMPLE))]}"; done
}

# wrap <fuzz target> <file>...: each file made into a plug-in as the target's input.
wrap() {
  local target="$1" file argument
  shift
  mkdir -p "$WORK/plugins"
  python3 "$ROOT/scripts/corpus_plugin.py" "$target" "$(mktemp -d "$WORK/plugins/$target.XXXX")" "$@" |
    while IFS=$'\t' read -r file argument; do add_input "${file#"$ROOT/"}" "$argument"; done
}

while IFS= read -r file; do
  case "${file,,}" in
    *.x) add_input "${file#"$ROOT/"}" "$file" ;;
    *.png) wrap image_png "$file" ;;
    *.tga) wrap image_tga "$file" ;;
    *.bmp) wrap image_bmp "$file" ;;
    *.jpg | *.jpeg) wrap image_jpeg "$file" ;;
    *.dds) wrap image_dds "$file" ;;
  esac
done < <(find "$ROOT/tests/data" -type f | sort)

python3 "$ROOT/tests/e2e/hostile_plugins.py" "$WORK/hostile"
for plugin in "$WORK"/hostile/*; do
  argument="$plugin"
  compgen -G "$plugin/*.txt" >/dev/null || argument="$plugin/Model.x"
  add_input "hostile/$(basename "$plugin")" "$argument"
done

for corpus in "$CORPORA"/*/; do
  target="$(basename "$corpus")"
  mapfile -t files < <(find "$corpus" -type f | sort)
  [ "${#files[@]}" -gt 0 ] || continue
  mapfile -t chosen < <(evenly "${files[@]}")
  wrap "$target" "${chosen[@]}"
done

# run_input <n> <what> <argument>: both modes; a failure leaves $WORK/failed.<n>.
run_input() {
  local n="$1" what="$2" argument="$3" out="$WORK/run.$1" check=0 shot=0 why=""
  timeout 120 "$PROGRAM" "$argument" -check >/dev/null 2>"$out.check.err" || check=$?
  timeout 120 env -u DISPLAY -u WAYLAND_DISPLAY "$PROGRAM" "$argument" -shot "$out.png" 2>"$out.shot.err" || shot=$?
  # 2: an archive of several plug-ins, which asks which one to show.
  case "$check" in 0 | 1 | 2 | 3) ;; *) why="-check ended with status $check" ;; esac
  case "$shot" in 0 | 1 | 2) ;; *) why="${why:+$why; }-shot ended with status $shot" ;; esac
  if grep -lE "Sanitizer|runtime error:" "$out.check.err" "$out.shot.err" >/dev/null; then
    why="${why:+$why; }a sanitizer report"
  elif [ "$check" != 0 ]; then
    # A fault found: every line names a file ("vondrel-viewer: <file>: ..."), in both modes.
    local mode
    for mode in check shot; do
      if [ ! -s "$out.$mode.err" ] || grep -vqE '^vondrel-viewer: .+: ' "$out.$mode.err"; then
        why="${why:+$why; }-$mode does not name the faulty file on standard error"
      fi
    done
  fi
  [ -z "$why" ] && return 0
  {
    echo "FAIL: $what ($argument): $why"
    local mode
    for mode in check shot; do echo "--- -$mode, standard error:"; tail -40 "$out.$mode.err"; done
  } >"$WORK/failed.$n"
}

total="$(wc -l <"$INPUTS")"
echo "-check and -shot under the sanitizers on $total inputs, two at a time"
n=0 running=0
while IFS=$'\t' read -r what argument; do
  n=$((n + 1))
  if [ "$running" -ge 2 ]; then wait -n || true; running=$((running - 1)); fi
  run_input "$n" "$what" "$argument" &
  running=$((running + 1))
done <"$INPUTS"
wait

status=0
if compgen -G "$WORK/failed.*" >/dev/null; then
  cat "$WORK"/failed.*
  echo "$(find "$WORK" -name 'failed.*' | wc -l) of $total inputs failed under the sanitizers"
  status=1
else
  echo "all $total inputs ran clean: no sanitizer report, crash or time-out, every fault named"
fi

bash "$ROOT/scripts/sanitize_window.sh" "$PROGRAM" || status=1
exit "$status"
