#!/usr/bin/env bash
# The real window through a hundred context losses: with the loss drill every
# five presents, the device is lost for a moment each time (the frames are
# skipped with the lost line) and comes back by itself. The picture after a
# hundred losses is the picture of a run without any; memory and descriptors
# stay level; Escape ends with status 0.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/lib_images.sh"
e2e_init "$@"

restores() { grep -c "^OpenGL context restored" "$WORK/$1.err" 2>/dev/null || true; }
has_restores() { [ "$(restores "$1")" -ge "$2" ]; }
resident_kb() { awk '/^VmRSS:/ { print $2 }' "/proc/$VIEWER_PID/status"; }
descriptors() { find "/proc/$VIEWER_PID/fd" -mindepth 1 | wc -l; }

# run <name> [drill]: the structure sample, ready for input.
run() {
  rm -f "$LOG"
  VDL_CONTEXT_LOSS_DRILL="${2:-}" start_viewer "$1" "$ROOT/samples/Struct" -dbf -log
  WINDOW="$(wait_window "Vondrel Plugin Viewer")"
  xdotool mousemove --window "$WINDOW" 320 240
  wait_ready "$WINDOW"
}

run plain
window_picture plain
[ "$(lit_pixels "$SHOTS/plain.png" "$MODEL_AREA")" -gt 20000 ] || fail "no model drawn"
xdotool key Escape
expect_exit "$VIEWER_PID" 0 "Escape without losses"

run drill 5
wait_until 60 "ten context losses" has_restores drill 10
rss_ten="$(resident_kb)" fds_ten="$(descriptors)"
wait_until 120 "a hundred context losses" has_restores drill 100
rss_hundred="$(resident_kb)" fds_hundred="$(descriptors)"
settle
window_picture drill
count="$(differing_pixels "$SHOTS/plain.png" "$SHOTS/drill.png")"
[ "$count" -lt 100 ] || fail "after a hundred losses the picture differs in $count pixels"
note "after $(restores drill) losses: $count pixels differ; resident $rss_ten → $rss_hundred kB; descriptors $fds_ten → $fds_hundred"
[ $((rss_hundred - rss_ten)) -lt 8192 ] || fail "resident memory grew by $((rss_hundred - rss_ten)) kB over 90 losses"
[ "$fds_hundred" -le "$fds_ten" ] || fail "descriptors grew from $fds_ten to $fds_hundred"
expect_in_file "$LOG" "3Dデバイスがロストしています." "the frames skipped while lost"
grep -q "^OpenGL context not restored" "$WORK/drill.err" && fail "$(grep "not restored" "$WORK/drill.err" | head -1)"
xdotool key Escape
expect_exit "$VIEWER_PID" 0 "Escape after the losses"
expect_in_file "$LOG" "FreeDirect3D" "shut-down"
echo "ok: the picture comes back after every context loss"
