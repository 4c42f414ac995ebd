#!/usr/bin/env bash
# The viewer on each sample plug-in, started as the simulator starts it (with
# the definition file, with the directory, with a bare ".x"), used as a user
# would: the model, the info block and the switch lines are shown; TAB darkens
# the picture and lights the train's windows; SPACE changes the filter line; a
# right-button drag turns the view; the wheel zooms, and so does keypad 9 held
# with NumLock off, as Page Up; Home undoes a pan; the station's rails blink;
# Escape ends the program with a complete shut-down. Keys are quick taps.
# Each picture is also compared with its reference in tests/golden/
# (E2E_UPDATE_GOLDEN=1 writes the references instead, and the README's
# screenshots in docs/screenshots/).
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/lib_images.sh"
e2e_init "$@"

GOLDEN="$ROOT/tests/golden"

# shot <name>: a picture of the window once all that was sent is drawn, without the frame rate.
shot() {
  settle
  window_picture "$1"
}

# drag <button> <dx> <dy>: the pointer moves in eight steps while the button is
# held, each read by a frame of its own (which puts the pointer back to the centre).
drag() {
  local button="$1" dx="$2" dy="$3" index mark i
  index=$([ "$button" = 1 ] && echo 0 || echo 1)  # X buttons 1 and 3 are DirectInput buttons 0 and 1
  mark="$(trace_mark)"
  xdotool mousemove --window "$WINDOW" 320 240 mousedown "$button"
  wait_traced "$mark" "buttons=[$index:2]" "button $button pressed"
  for i in $(seq 8); do move_pointer "$((320 + dx / 8))" "$((240 + dy / 8))"; done
  mark="$(trace_mark)"
  xdotool mouseup "$button"
  wait_traced "$mark" "buttons=[$index:1]" "button $button released"
}

# press <keysym>: a quick tap, down and up within a few milliseconds.
press() { xdotool key "$1"; }

# hold <keysym>: the key is held down over a few frames.
hold() {
  xdotool keydown "$1"
  settle
  xdotool keyup "$1"
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
  rm -f "$LOG"
  start_viewer "$name" "$argument" -dbf
  WINDOW="$(wait_window "Vondrel Plugin Viewer")"
  xdotool mousemove --window "$WINDOW" 320 240
  wait_ready "$WINDOW"
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
  local name="$1" file
  press Escape
  expect_exit "$VIEWER_PID" 0 "$name: Escape"
  expect_in_file "$LOG" "FreeInput" "$name: shut-down"
  expect_in_file "$LOG" "FreeDirect3D" "$name: shut-down"
  grep -q "failed\." "$LOG" && fail "$name: a load failed: $(grep -F "failed." "$LOG")"
  grep -o 'load([^)]*) \.\.\. ok\.' "$LOG" | sed 's/^load(\(.*\)) \.\.\. ok\.$/\1/' | while read -r file; do
    expect_in_file "$LOG" "release($file)" "$name: $file released"
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
hold KP_Prior  # keypad 9 with NumLock off (as Xvfb starts)
shot struct_keypad
expect_differs struct_zoomed struct_keypad "struct: keypad 9 zooms as Page Up"
finish struct

# Station, started with its directory: the rails blink over the model.
run_sample station "$ROOT/samples/Station"
# Pictures a fraction of a blink apart until one differs (two phases of a sine can
# share a value, so a single pair may not).
count=0
for attempt in 1 2 3 4 5; do
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
