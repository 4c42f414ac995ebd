#!/usr/bin/env bash
# The viewer on each sample plug-in, started as the simulator starts it (with
# the definition file, with the directory, with a bare ".x"), used as a user
# would: the model, the info block and the switch lines are shown; TAB darkens
# the picture and lights the train's windows; SPACE changes the filter line; a
# right-button drag turns the view; the wheel zooms; Home undoes a pan; the
# station's rails blink; Escape ends the program with a complete shut-down.
# Each picture is also compared with its reference in tests/golden/
# (E2E_UPDATE_GOLDEN=1 writes the references instead, and the README's
# screenshots in docs/screenshots/).
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/lib_images.sh"
e2e_init "$@"

MODEL_AREA="400x300+120+90"
INFO_AREA="260x80+0+400"
SWITCH_AREA="180x34+460+0"
GOLDEN="$ROOT/tests/golden"

# shot <name>: a picture of the window a few frames later, without the frame rate.
shot() {
  sleep 0.4
  screenshot "$WINDOW" "$1.raw"
  without_fps "$SHOTS/$1.raw.png" "$SHOTS/$1.png"
}

press() {
  xdotool keydown "$1"
  sleep 0.15
  xdotool keyup "$1"
}

# drag <button> <dx> <dy>: the pointer moves in small steps while the button is held.
drag() {
  local button="$1" dx="$2" dy="$3" i
  xdotool mousemove --window "$WINDOW" 320 240 mousedown "$button"
  for i in $(seq 8); do
    xdotool mousemove_relative -- "$((dx / 8))" "$((dy / 8))"
    sleep 0.05
  done
  xdotool mouseup "$button"
}

expect_differs() {
  local count
  count="$(differing_pixels "$SHOTS/$1.png" "$SHOTS/$2.png" "${4:-640x480+0+0}")"
  [ "$count" -gt "${5:-500}" ] || fail "$3: only $count pixels changed"
  note "$3: $count pixels changed"
}

# compare_with_golden <name>: the picture matches its reference within a
# tolerance for the rasteriser's rounding, both overall and in the text areas.
compare_with_golden() {
  local name="$1" reference="$GOLDEN/$1.png" count area
  if [ -n "${E2E_UPDATE_GOLDEN:-}" ]; then
    mkdir -p "$GOLDEN" "$ROOT/docs/screenshots"
    cp "$SHOTS/$name.png" "$reference"
    cp "$SHOTS/$name.raw.png" "$ROOT/docs/screenshots/$name.png"
    note "golden picture written: $reference"
    return
  fi
  [ -f "$reference" ] || fail "no golden picture $reference"
  if [ "$name" = station ]; then
    count="$(differing_pixels_not_rail "$SHOTS/$name.png" "$reference")"
  else
    count="$(differing_pixels "$SHOTS/$name.png" "$reference")"
  fi
  [ "$count" -lt 3000 ] || fail "$name: $count pixels differ from $reference"
  for area in "$INFO_AREA" "$SWITCH_AREA"; do
    local text
    text="$(differing_pixels "$SHOTS/$name.png" "$reference" "$area")"
    [ "$text" -lt 60 ] || fail "$name: the text in $area differs from the reference ($text pixels)"
  done
  note "$name: $count pixels differ from the reference"
}

# run_sample <name> <argument>: starts the viewer and checks the first picture.
run_sample() {
  local name="$1" argument="$2"
  rm -f "$WORK/bin/debug.txt"
  start_viewer "$name" "$argument" -dbf
  WINDOW="$(wait_window "Vondrel Plugin Viewer")"
  xdotool windowfocus --sync "$WINDOW"
  xdotool mousemove --window "$WINDOW" 320 240
  sleep 1
  shot "$name"
  local model info switches
  model="$(lit_pixels "$SHOTS/$name.png" "$MODEL_AREA")"
  info="$(lit_pixels "$SHOTS/$name.png" "$INFO_AREA")"
  switches="$(lit_pixels "$SHOTS/$name.png" "$SWITCH_AREA")"
  [ "$model" -gt 20000 ] || fail "$name: the model area is nearly empty ($model lit pixels)"
  [ "$info" -gt 400 ] || fail "$name: no info block at the lower left ($info lit pixels)"
  [ "$switches" -gt 300 ] || fail "$name: no switch lines at the upper right ($switches lit pixels)"
  note "$name: model $model, info $info, switches $switches lit pixels"
  compare_with_golden "$name"
}

# finish <name>: Escape ends the program normally, releasing all it loaded.
finish() {
  local name="$1" log="$WORK/bin/debug.txt" file
  press Escape
  expect_exit "$VIEWER_PID" 0 "$name: Escape"
  expect_in_file "$log" "FreeInput" "$name: shut-down"
  expect_in_file "$log" "FreeDirect3D" "$name: shut-down"
  grep -q "failed\." "$log" && fail "$name: a load failed: $(grep -F "failed." "$log")"
  grep -o 'load([^)]*) \.\.\. ok\.' "$log" | sed 's/^load(\(.*\)) \.\.\. ok\.$/\1/' | while read -r file; do
    expect_in_file "$log" "release($file)" "$name: $file released"
  done
}

# Train, started with its definition file: day and night.
run_sample train "$ROOT/samples/Train/Train.txt"
press Tab
shot train_night
greater "$(mean_level "$SHOTS/train.png" "$MODEL_AREA")" "$(mean_level "$SHOTS/train_night.png" "$MODEL_AREA")" ||
  fail "train: the night picture is not darker"
[ "$(warm_pixels "$SHOTS/train_night.png")" -gt "$(( $(warm_pixels "$SHOTS/train.png") + 300 ))" ] ||
  fail "train: no lit windows at night"
expect_differs train train_night "train: the time-of-day line" "$SWITCH_AREA" 20
press Tab
finish train

# Structure, started with its directory: filter, turn, zoom, pan and Home.
run_sample struct "$ROOT/samples/Struct"
press space
shot struct_linear
expect_differs struct struct_linear "struct: SPACE changes the filter line" "$SWITCH_AREA" 20
press space
drag 1 80 40
shot struct_panned
expect_differs struct struct_panned "struct: a left-button drag pans"
press Home
shot struct_home
count="$(differing_pixels "$SHOTS/struct.png" "$SHOTS/struct_home.png")"
[ "$count" -lt 1500 ] || fail "struct: Home did not undo the pan ($count pixels differ)"
drag 3 120 0
shot struct_turned
expect_differs struct struct_turned "struct: a right-button drag turns the view"
xdotool click 4 click 4 click 4
shot struct_zoomed
expect_differs struct_turned struct_zoomed "struct: the wheel zooms"
finish struct

# Station, started with its directory: the rails blink over the model.
run_sample station "$ROOT/samples/Station"
# Pictures a fraction of a blink apart until one differs (two phases of a sine can
# share a value, so a single pair may not).
count=0
for attempt in 1 2 3 4 5; do
  sleep 0.1
  shot station_later
  count="$(differing_pixels "$SHOTS/station.png" "$SHOTS/station_later.png")"
  [ "$count" -gt 200 ] && break
done
[ "$count" -gt 200 ] || fail "station: the rails do not blink ($count pixels changed)"
outside="$(differing_pixels_not_rail "$SHOTS/station.png" "$SHOTS/station_later.png")"
[ "$outside" -lt 100 ] || fail "station: $outside pixels away from the rails changed"
note "station: $count pixels changed between two pictures, $outside away from the rails"
finish station

# Surface, started with its definition file.
run_sample surface "$ROOT/samples/Surface/Surface.txt"
finish surface

# A bare model.
run_sample model "$ROOT/samples/model/Car.x"
finish model

# The other way of starting gives the same picture: the train by its
# directory, the station by its definition file.
run_sample train "$ROOT/samples/Train"
finish train
run_sample station "$ROOT/samples/Station/Station.txt"
finish station

echo "ok: the viewer on every sample"
