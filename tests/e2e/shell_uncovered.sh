#!/usr/bin/env bash
# An inactive window that is uncovered shows its last picture again: another
# window over the viewer takes the focus (the viewer goes inactive and draws no
# frames), then goes away; the viewer's window shows the picture it showed
# before, not what covered it.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/lib_images.sh"
e2e_init "$@"

log="$WORK/bin/debug.txt"
start_viewer uncovered "$ROOT/samples/Struct" -dbf
window="$(wait_window "Vondrel Plugin Viewer")"
xdotool windowfocus --sync "$window"
sleep 1.5
screenshot "$window" before.raw
without_fps "$SHOTS/before.raw.png" "$SHOTS/before.png"
[ "$(lit_pixels "$SHOTS/before.png" "$MODEL_AREA")" -gt 20000 ] || fail "no model before covering"

# A white window of the same size on top, holding the focus.
read -r x y width height < <(client_geometry "$window")
toplevel_windows >"$WORK/before-cover"
xmessage -geometry "${width}x${height}+$x+$y" -bg white -fg white -center "cover" 2>"$WORK/xmessage.err" &
cover_pid=$!
E2E_PIDS+=("$cover_pid")
cover="$(wait_new_window "$WORK/before-cover")"
sleep 0.5
xdotool windowfocus --sync "$cover"
for ((i = 0; i < 50; i++)); do
  grep -qF "<非アクティブ>" "$log" && break
  sleep 0.1
done
expect_in_file "$log" "<非アクティブ>" "the viewer losing the focus"
# What the screen shows there (a picture of the covered window itself is undefined).
import -window root -crop "${width}x${height}+$x+$y" "$SHOTS/covered.png"
greater "$(mean_level "$SHOTS/covered.png" "$MODEL_AREA")" 0.9 || fail "the cover does not cover the viewer"

xdotool windowunmap --sync "$cover"
sleep 1
screenshot "$window" after.raw
without_fps "$SHOTS/after.raw.png" "$SHOTS/after.png"
count="$(differing_pixels "$SHOTS/before.png" "$SHOTS/after.png")"
[ "$count" -lt 500 ] || fail "the uncovered window does not show its last picture ($count pixels differ)"
note "uncovered: $count pixels differ from the picture before"
[ "$(tail -1 "$log" | tr -d '\n')" = "<非アクティブ>" ] || fail "the viewer did not stay inactive: $(tail -3 "$log")"

kill "$cover_pid"
wait "$cover_pid" 2>/dev/null || true
request_close "$window"
expect_exit "$VIEWER_PID" 0 "close"
echo "ok: an uncovered inactive window shows its last picture"
