#!/usr/bin/env bash
# "-watch" as an author uses it, every change saved by rename as editors save:
# a new name in the definition file changes the info block; a replaced texture
# changes the picture; a truncated Model.x leaves the last picture with the
# reason in yellow; the good model shows again and clears it. The camera, the
# light and the switches stay as the user set them. An exporter's burst of
# writes gives one reload; a save shows while another window is in front.
# Escape ends with status 0 and a release line for every load. Without
# "-watch" a replaced texture changes nothing.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/lib_images.sh"
e2e_init "$@"

ALERT_AREA="640x32+0+38"

now_ms() { date +%s%3N; }

# log_count <fixed text>: lines of the log that hold the text.
log_count() { grep -cF -- "$1" "$LOG" 2>/dev/null || true; }

# has_log_lines <fixed text> <count>: the log holds the text on at least <count> lines.
has_log_lines() { [ "$(log_count "$1")" -ge "$2" ]; }

# wait_log <fixed text> <count> <what>: until the log holds the text on <count> lines.
wait_log() { wait_until 30 "$3" has_log_lines "$1" "$2"; }

# save_by_rename <file> <new contents file>: as editors save.
save_by_rename() {
  cp "$2" "$1.saving"
  mv -f "$1.saving" "$1"
}

# shot_when_drawn <name> <area>: a picture once the area shows something.
shot_when_drawn() {
  local i
  for ((i = 0; i < 50; i++)); do
    window_picture "$1"
    [ "$(lit_pixels "$SHOTS/$1.png" "$2")" -gt 400 ] && return 0
    sleep 0.1
  done
  fail "$1: nothing drawn in $2"
}

# yellow_pixels <image> <region>: pixels in the alert colour.
yellow_pixels() {
  convert "$1" -crop "$2" +repage -fx "(r > 0.7 && g > 0.6 && b < 0.3) ? 1 : 0" -colorspace Gray \
    -format "%[fx:round(mean*w*h)]\n" info:
}

# reload <what> <file> <new contents> <log text>: saves and waits for the reload's outcome;
# prints nothing, notes the time from the save to the outcome line.
reload() {
  local what="$1" file="$2" contents="$3" outcome="$4" before start
  before="$(log_count "$outcome")"
  start="$(now_ms)"
  save_by_rename "$file" "$contents"
  wait_log "$outcome" "$((before + 1))" "$what"
  note "$what: '$outcome' $(($(now_ms) - start)) ms after the save"
  sleep 0.2  # a few frames to draw what the reload left
}

expect_same() {
  local count
  count="$(differing_pixels "$SHOTS/$1.png" "$SHOTS/$2.png" "$4")"
  [ "$count" -lt "${5:-100}" ] || fail "$3: $count pixels changed"
  note "$3: $count pixels changed"
}

expect_differs() {
  local count
  count="$(differing_pixels "$SHOTS/$1.png" "$SHOTS/$2.png" "$4")"
  [ "$count" -gt "${5:-500}" ] || fail "$3: only $count pixels changed"
  note "$3: $count pixels changed"
}

start() {
  rm -f "$LOG"
  start_viewer "$1" "$PLUGIN/Struct.txt" -dbf "${@:2}"
  WINDOW="$(wait_window "Vondrel Plugin Viewer")"
  xdotool mousemove --window "$WINDOW" 320 240
  wait_ready "$WINDOW"
}

PLUGIN="$WORK/plugin"
cp -r "$ROOT/samples/Struct" "$PLUGIN"
convert "$PLUGIN/brick.png" -channel RGB -negate "$WORK/brick-negated.png"
cp "$PLUGIN/Model.x" "$WORK/Model-good.x"
head -c "$(($(stat -c %s "$PLUGIN/Model.x") / 2))" "$PLUGIN/Model.x" >"$WORK/Model-half.x"
printf 'WatchedName\nAuthor\n0.5\n' >"$WORK/Struct-renamed.txt"

start watch -watch
wait_log "watch: " 1 "the watch starts"
shot_when_drawn default "$MODEL_AREA"

# The author's view: turned, at night, with linear filtering.
xdotool mousemove --window "$WINDOW" 320 240 mousedown 3
for i in $(seq 8); do xdotool mousemove_relative -- 15 5; sleep 0.05; done
xdotool mouseup 3
tap Tab 15
tap space 57
settle
window_picture set_up
expect_differs default set_up "the view is turned" "$MODEL_AREA"
expect_differs default set_up "TAB and SPACE change the switch lines" "$SWITCH_AREA" 20

reload "name" "$PLUGIN/Struct.txt" "$WORK/Struct-renamed.txt" "reload: ok"
window_picture renamed
expect_differs set_up renamed "a new name changes the info block" "$INFO_AREA" 20
expect_same set_up renamed "the camera and the light are kept" "$MODEL_AREA"
expect_same set_up renamed "the switches are kept" "$SWITCH_AREA" 20

reload "texture" "$PLUGIN/brick.png" "$WORK/brick-negated.png" "reload: ok"
window_picture texture
expect_differs renamed texture "a replaced texture changes the picture" "$MODEL_AREA"
expect_same renamed texture "the info block" "$INFO_AREA" 20

reload "truncated model" "$PLUGIN/Model.x" "$WORK/Model-half.x" "reload: failed"
window_picture broken
expect_in_file "$LOG" "reload: failed, the plug-in shown is kept: Model.x: " "the reason in the log"
# What is wrong also reaches standard error, where the log does not go.
expect_in_file "$WORK/watch.err" "vondrel-viewer: reload: failed, the plug-in shown is kept: Model.x: " \
  "the reason on standard error"
grep -q "^reload: " "$WORK/watch.err" && fail "the log's reload lines on standard error"
expect_same texture broken "the last picture stays" "$MODEL_AREA"
alert="$(yellow_pixels "$SHOTS/broken.png" "$ALERT_AREA")"
[ "$alert" -gt 150 ] || fail "no reason in yellow at the top ($alert pixels)"
note "the reason shows in $alert yellow pixels"

reload "good model" "$PLUGIN/Model.x" "$WORK/Model-good.x" "reload: ok"
window_picture restored
alert="$(yellow_pixels "$SHOTS/restored.png" "$ALERT_AREA")"
[ "$alert" -lt 10 ] || fail "the reason still shows after a good save ($alert yellow pixels)"
expect_same texture restored "the good model shows again" "$MODEL_AREA"

# An exporter writing the model in place piece by piece: one reload, after the last piece.
begun() { grep -c '^reload: .* changed$' "$LOG" || true; }
reloads="$(begun)"
oks="$(log_count "reload: ok")"
failures="$(log_count "reload: failed")"
chunk="$(( ($(stat -c %s "$WORK/Model-good.x") + 7) / 8 ))"
: >"$PLUGIN/Model.x"
for i in $(seq 0 7); do
  dd if="$WORK/Model-good.x" bs="$chunk" skip="$i" count=1 status=none >>"$PLUGIN/Model.x"
  sleep 0.08
done
wait_log "reload: ok" "$((oks + 1))" "a burst of writes"
sleep 0.6  # twice the quiet period: a second reload would have begun by now
[ "$(begun)" = "$((reloads + 1))" ] || fail "a burst of writes gave $(($(begun) - reloads)) reloads"
[ "$(log_count "reload: failed")" = "$failures" ] || fail "a reload read the model before the writes had settled"
note "a burst of eight writes gave one reload"

# With another window in front, as beside a modeller, a save shows all the same.
xmessage -geometry +0+0 "modeller" 2>/dev/null &
modeller=$!
E2E_PIDS+=("$modeller")
other="$(wait_window xmessage)"
xdotool windowfocus --sync "$other"
wait_log "<非アクティブ>" 1 "the viewer goes to the background"
printf 'InTheBackground\nAuthor\n0.5\n' >"$WORK/Struct-background.txt"
reload "name, in the background" "$PLUGIN/Struct.txt" "$WORK/Struct-background.txt" "reload: ok"
window_picture background
expect_differs restored background "the new name shows while the viewer is in the background" "$INFO_AREA" 20
expect_same restored background "the picture is drawn as it was" "$MODEL_AREA"
xdotool windowfocus --sync "$WINDOW"
wait_log "<アクティブ>" 2 "the viewer comes back to the front"
kill "$modeller"
wait "$modeller" 2>/dev/null || true

xdotool key Escape
expect_exit "$VIEWER_PID" 0 "Escape"
expect_in_file "$LOG" "FreeInput" "shut-down"
expect_in_file "$LOG" "FreeDirect3D" "shut-down"
# Every file loaded is released as often as it was loaded; a model whose load failed is released too.
grep -o 'load([^)]*) \.\.\. ok\.' "$LOG" | sed 's/^load(\(.*\)) \.\.\. ok\.$/\1/' | sort -u | while read -r file; do
  loaded="$(log_count "load($file) ... ok.")"
  released="$(log_count "release($file)")"
  [ "$released" -ge "$loaded" ] && [ "$released" -le "$(log_count "load($file) ... ")" ] ||
    fail "$file: loaded $loaded times, released $released times"
done
note "loads and releases: $(log_count ') ... ok.') and $(log_count 'release(')"

# Without -watch nothing is watched: a replaced texture changes nothing.
cp "$ROOT/samples/Struct/brick.png" "$PLUGIN/brick.png"
start plain
shot_when_drawn plain "$MODEL_AREA"
save_by_rename "$PLUGIN/brick.png" "$WORK/brick-negated.png"
sleep 1.5  # several times what the reloads above took
window_picture plain_later
expect_same plain plain_later "without -watch the picture stays" "$MODEL_AREA"
[ "$(log_count "load(brick.png) ... ")" = 1 ] || fail "without -watch the texture was read again"
grep -qE '^(watch|reload): ' "$LOG" && fail "without -watch: $(grep -E '^(watch|reload): ' "$LOG")"
xdotool key Escape
expect_exit "$VIEWER_PID" 0 "Escape without -watch"

echo "ok: -watch"
