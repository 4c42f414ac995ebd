#!/usr/bin/env bash
# -shot writes the picture the window shows in its first frame, without the
# frame rate, as a PNG file: with no display, with one (mapping no window),
# beside an open viewer and many at once. -notext, -night, -linear and -size
# change the picture as they say; a failure leaves no file and one line.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/lib_images.sh"
e2e_init "$@"

GOLDEN="$ROOT/tests/golden"

# headless_shot <name> <argument> [options]: a shot with no display at all into
# $SHOTS/<name>.png; fails unless it exits 0 with nothing on standard error.
headless_shot() {
  local name="$1" argument="$2" status=0
  shift 2
  env -u DISPLAY -u WAYLAND_DISPLAY "$PROGRAM" "$argument" -shot "$SHOTS/$name.png" "$@" 2>"$WORK/$name.err" ||
    status=$?
  [ "$status" = 0 ] || { cat "$WORK/$name.err" >&2; fail "$name: exit status $status"; }
  [ ! -s "$WORK/$name.err" ] || { cat "$WORK/$name.err" >&2; fail "$name: standard error is not empty"; }
  [ -s "$SHOTS/$name.png" ] || fail "$name: no picture written"
}

picture_size() { identify -format "%wx%h" "$1"; }

# The window's first picture (tests/golden, the frame rate painted over) and the shot agree.
compare_with_window() {
  local name="$1" shot="$SHOTS/$1.png" reference="$GOLDEN/$1.png" count area text
  [ "$(picture_size "$shot")" = 640x480 ] || fail "$name: picture is $(picture_size "$shot"), not 640x480"
  without_fps "$shot" "$SHOTS/$name.nofps.png"
  if [ "$name" = station ]; then
    count="$(differing_pixels_not_rail "$SHOTS/$name.nofps.png" "$reference")"
  else
    count="$(differing_pixels "$SHOTS/$name.nofps.png" "$reference")"
  fi
  [ "$count" -lt 3000 ] || fail "$name: $count pixels differ from the window's picture $reference"
  for area in "$INFO_AREA" "$SWITCH_AREA"; do
    text="$(differing_pixels "$SHOTS/$name.nofps.png" "$reference" "$area")"
    [ "$text" -lt 60 ] || fail "$name: the text in $area differs from the window's ($text pixels)"
  done
  # No frame rate: the upper left corner stays black.
  [ "$(lit_pixels "$shot" 110x22+0+0)" -lt 5 ] || fail "$name: something is drawn where the frame rate would be"
  note "$name: $count pixels differ from the window's first picture"
}

# Every kind, started as the simulator starts it, without a display.
headless_shot train "$ROOT/samples/Train/Train.txt"
headless_shot struct "$ROOT/samples/Struct"
headless_shot station "$ROOT/samples/Station"
headless_shot surface "$ROOT/samples/Surface/Surface.txt"
headless_shot model "$ROOT/samples/model/Car.x"
for name in train struct station surface model; do compare_with_window "$name"; done

# -notext: the model as before, no text anywhere.
headless_shot train_notext "$ROOT/samples/Train" -notext
[ "$(lit_pixels "$SHOTS/train_notext.png" "$INFO_AREA")" -lt 20 ] || fail "-notext: info block drawn"
[ "$(lit_pixels "$SHOTS/train_notext.png" "$SWITCH_AREA")" -lt 20 ] || fail "-notext: switch lines drawn"
count="$(differing_pixels "$SHOTS/train.png" "$SHOTS/train_notext.png" "$MODEL_AREA")"
[ "$count" -lt 200 ] || fail "-notext: the model changed ($count pixels)"

# A picture without text loads no font library: no Fontconfig to start (and
# complain in a thumbnailer's sandbox), no FreeType; with text it does.
loaded_libraries() {
  env -u DISPLAY -u WAYLAND_DISPLAY LD_DEBUG=files "$PROGRAM" "$ROOT/samples/Train" -shot "$WORK/libraries.png" "$@" \
    2>&1 >/dev/null | grep -o 'file=lib[A-Za-z0-9_+-]*' | sort -u
}
loaded_libraries -notext >"$WORK/notext.libraries"
for library in libfreetype libfontconfig; do
  grep -qx "file=$library" "$WORK/notext.libraries" && fail "-shot -notext loaded $library"
done
loaded_libraries >"$WORK/text.libraries"
grep -qx "file=libfontconfig" "$WORK/text.libraries" || fail "-shot with text: Fontconfig not seen in the loader's trace"

# -night: darker, the windows lit; -linear: the filter line says so.
headless_shot train_night "$ROOT/samples/Train" -night
greater "$(mean_level "$SHOTS/train.png" "$MODEL_AREA")" "$(mean_level "$SHOTS/train_night.png" "$MODEL_AREA")" ||
  fail "-night: the picture is not darker"
[ "$(warm_pixels "$SHOTS/train_night.png")" -gt "$(($(warm_pixels "$SHOTS/train.png") + 300))" ] ||
  fail "-night: no lit windows"
headless_shot struct_linear "$ROOT/samples/Struct" -linear
[ "$(differing_pixels "$SHOTS/struct.png" "$SHOTS/struct_linear.png" "$SWITCH_AREA")" -gt 20 ] ||
  fail "-linear: the filter line did not change"

# -size fits the 640x480 picture into the box, aspect kept; the thumbnailer's form.
headless_shot size_exact "$ROOT/samples/Struct" -size 256x192
[ "$(picture_size "$SHOTS/size_exact.png")" = 256x192 ] || fail "-size 256x192: $(picture_size "$SHOTS/size_exact.png")"
headless_shot size_square "$ROOT/samples/Struct" -size 128x128
[ "$(picture_size "$SHOTS/size_square.png")" = 128x96 ] || fail "-size 128x128: $(picture_size "$SHOTS/size_square.png")"
headless_shot thumbnail "$ROOT/samples/model/Car.x" -notext -size 256x256
[ "$(picture_size "$SHOTS/thumbnail.png")" = 256x192 ] || fail "thumbnail: $(picture_size "$SHOTS/thumbnail.png")"

# Failures: one line, status 1, and no file, not even a temporary one.
mkdir -p "$WORK/out"
expect_failure() {
  local what="$1" status=0
  shift
  env -u DISPLAY -u WAYLAND_DISPLAY "$PROGRAM" "$@" 2>"$WORK/failure.err" || status=$?
  [ "$status" = 1 ] || fail "$what: exit status $status, expected 1"
  [ "$(wc -l <"$WORK/failure.err")" = 1 ] || { cat "$WORK/failure.err" >&2; fail "$what: not one line on standard error"; }
  [ -z "$(ls -A "$WORK/out")" ] || fail "$what: left $(ls -A "$WORK/out")"
  note "$what: $(cat "$WORK/failure.err")"
}
expect_failure "no plug-in" "$WORK/nothing-here" -shot "$WORK/out/a.png"
make_plugin "$WORK/Broken" Struct.txt
echo "not an X file" >"$WORK/Broken/Model.x"
expect_failure "a model that does not load" "$WORK/Broken" -shot "$WORK/out/b.png"
expect_failure "an unwritable file" "$ROOT/samples/Struct" -shot "$WORK/out/missing-directory/c.png"
expect_failure "a directory as the file" "$ROOT/samples/Struct" -shot "$WORK/out"

# A relative picture path belongs to the directory the program was started
# in, not to the plug-in's, which the launch enters; a failure names the path
# as it was given.
cp -r "$ROOT/samples/Train" "$WORK/TrainCopy"
mkdir -p "$WORK/caller/pictures"
while read -r given; do
  (cd "$WORK/caller" && env -u DISPLAY -u WAYLAND_DISPLAY "$PROGRAM" "$WORK/TrainCopy" -shot "$given" -notext) ||
    fail "-shot $given from another directory"
  [ -s "$WORK/caller/$given" ] || fail "-shot $given: not written in the directory the program was started in"
done <<'GIVEN'
relative.png
pictures/relative.png
./pictures/../dotted.png
GIVEN
[ -z "$(find "$WORK/TrainCopy" -name '*.png')" ] || fail "-shot wrote into the plug-in's directory: $(find "$WORK/TrainCopy" -name '*.png')"
status=0
(cd "$WORK/caller" && env -u DISPLAY -u WAYLAND_DISPLAY "$PROGRAM" "$WORK/TrainCopy" -shot missing/relative.png) \
  2>"$WORK/relative.err" || status=$?
[ "$status" = 1 ] || fail "-shot into a missing folder: exit status $status"
expect_in_file "$WORK/relative.err" "vondrel-viewer: cannot create a file beside missing/relative.png: No such file or directory" \
  "the path as given"

# A plug-in with problems is still drawn; each error and warning is a line on
# standard error, as -check writes them.
make_plugin "$WORK/Odd" Struct.txt
status=0
env -u DISPLAY -u WAYLAND_DISPLAY "$PROGRAM" "$WORK/Odd" -shot "$SHOTS/odd.png" 2>"$WORK/odd.err" || status=$?
[ "$status" = 0 ] && [ -s "$SHOTS/odd.png" ] || { cat "$WORK/odd.err" >&2; fail "a plug-in with problems: no picture"; }
expect_in_file "$WORK/odd.err" "vondrel-viewer: Struct.txt: line 1: only 2 of 3 items read" "a problem on standard error"
"$PROGRAM" "$WORK/Odd" -check >/dev/null 2>"$WORK/odd.check.err" && fail "-check finds no problem in the odd plug-in"
cmp -s "$WORK/odd.err" "$WORK/odd.check.err" || { diff "$WORK/odd.err" "$WORK/odd.check.err" >&2; fail "a plug-in with problems: not the lines of -check"; }

# With a display present no window is mapped; beside an open viewer (which
# holds the single-instance lock) four shots run at once.
start_viewer viewer "$ROOT/samples/Struct"
wait_window "Vondrel Plugin Viewer" >/dev/null
toplevel_windows >"$WORK/before"
pids=()
for i in 1 2 3 4; do
  "$PROGRAM" "$ROOT/samples/Station" -shot "$SHOTS/parallel$i.png" 2>"$WORK/parallel$i.err" &
  pids+=($!)
done
while kill -0 "${pids[@]}" 2>/dev/null; do
  new="$(toplevel_windows | grep -vxF -f "$WORK/before" || true)"
  [ -z "$new" ] || fail "a shot mapped a window ($new)"
  sleep 0.05
done
for i in 1 2 3 4; do
  wait "${pids[$((i - 1))]}" || fail "parallel shot $i failed: $(cat "$WORK/parallel$i.err")"
  [ "$(differing_pixels "$SHOTS/station.png" "$SHOTS/parallel$i.png")" -lt 50 ] || fail "parallel shot $i differs"
done
kill -0 "$VIEWER_PID" || fail "the viewer ended"
kill -TERM "$VIEWER_PID"
expect_exit "$VIEWER_PID" 0 "the viewer beside the shots"

echo "ok: -shot"
