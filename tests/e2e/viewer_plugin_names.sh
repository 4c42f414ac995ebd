#!/usr/bin/env bash
# A plug-in from an old archive: upper-case 8.3 names (MODEL.X, STRUCT.TXT),
# directories named Model.x and Train.txt beside them, and texture names that
# point elsewhere (an absolute Windows path, a path outside the plug-in). The
# viewer finds the model in any letter case, passes over the directories,
# takes each texture from the model's directory with one log line naming the
# file used, and shows the picture of the Struct sample it was made from.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/lib_images.sh"
e2e_init "$@"

sample="$ROOT/samples/Struct"
plugin="$WORK/OLDSHED"
mkdir -p "$plugin/Model.x" "$plugin/Train.txt"
cp "$sample/Struct.txt" "$plugin/STRUCT.TXT"
cp "$sample/brick.png" "$plugin/BRICK.PNG"
cp "$sample/tiles.jpg" "$plugin/Tiles.jpg"
sed -e 's|"brick.png"|"C:\\Users\\me\\My Documents\\tex\\Brick.png"|' \
  -e 's|"tiles.jpg"|"..\\..\\shared\\TILES.JPG"|' "$sample/Model.x" >"$plugin/MODEL.X"
grep -qF 'My Documents' "$plugin/MODEL.X" && grep -qF 'shared' "$plugin/MODEL.X" ||
  fail "the texture names of the sample model were not rewritten"

log="$WORK/bin/debug.txt"
start_viewer names "$plugin" -dbf
window="$(wait_window "Vondrel Plugin Viewer")"
xdotool windowfocus --sync "$window"
xdotool mousemove --window "$window" 320 240
sleep 1.4
screenshot "$window" names.raw
without_fps "$SHOTS/names.raw.png" "$SHOTS/names.png"
count="$(differing_pixels "$SHOTS/names.png" "$ROOT/tests/golden/struct.png")"
[ "$count" -lt 3000 ] || fail "the picture differs from the Struct sample's in $count pixels"
note "$count pixels differ from the Struct sample's picture"

request_close "$window"
expect_exit "$VIEWER_PID" 0 "close"
expect_in_file "$log" "ViewerStartup: Struct plug-in in $plugin/" "kind"
expect_in_file "$log" "load(Model.x) ... ok." "model"
expect_in_file "$log" 'C:\Users\me\My Documents\tex\Brick.png: not found as named; using BRICK.PNG from the model'"'"'s directory' "texture by an absolute Windows path"
expect_in_file "$log" '..\..\shared\TILES.JPG: not found as named; using Tiles.jpg from the model'"'"'s directory' "texture outside the plug-in"
grep -qF "failed." "$log" && fail "a load failed: $(grep -F "failed." "$log")"
echo "ok: a plug-in with old names and foreign texture paths"
