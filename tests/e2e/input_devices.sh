#!/usr/bin/env bash
# Keys, a mouse drag and a wheel notch sent to the window reach the per-frame
# input state, as the input trace (VDL_TRACE_INPUT=1) in debug.txt shows:
# "keys=[code:state]" with DirectInput codes, "buttons=[index:state]",
# client-area cursor positions and the wheel. Quick taps, down and up between
# two polls, are not lost: four taps of TAB are four polls in which TAB went
# down, so the time of day changes four times. Escape then closes the program
# through its normal shut-down: input devices first, then the graphics device.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init "$@"

make_plugin "$WORK/Foo" Struct.txt
start_viewer input "$WORK/Foo" -dbf
WINDOW="$(wait_window "Vondrel Plugin Viewer")"
wait_ready "$WINDOW"

# Each action waits for the poll that reads it.
mark="$(trace_mark)"
xdotool keydown a
wait_key_edges "$mark" 30:2 1 "A pressed (DIK_A = 30)"
mark="$(trace_mark)"
xdotool keyup a
wait_key_edges "$mark" 30:1 1 "A released"
move_pointer 100 100
mark="$(trace_mark)"
xdotool mousedown 1
wait_traced "$mark" "buttons=[0:2]" "left button pressed"
move_pointer 200 150
mark="$(trace_mark)"
xdotool mouseup 1
wait_traced "$mark" "buttons=[0:1]" "left button released"
mark="$(trace_mark)"
xdotool click 4  # one wheel notch forward
wait_traced "$mark" "wheel=120" "one wheel notch (120)"

# Four quick taps, sent one after the other without waiting for the program.
mark="$(trace_mark)"
for i in 1 2 3 4; do xdotool key Tab; done
wait_key_edges "$mark" 15:1 4 "four TAB taps released (DIK_TAB = 15)"
settle
[ "$(key_edges_after "$mark" 15:2)" = 4 ] || fail "four TAB taps: $(key_edges_after "$mark" 15:2) polls with TAB pressed"
[ "$(key_edges_after "$mark" 15:1)" = 4 ] || fail "four TAB taps: $(key_edges_after "$mark" 15:1) polls with TAB released"

xdotool key Escape
expect_exit "$VIEWER_PID" 0 "Escape"

expect_in_file "$LOG" "FreeInput" "input shut-down line"
expect_in_file "$LOG" "FreeDirect3D" "device shut-down line"
[ "$(grep -xE 'FreeInput|FreeDirect3D' "$LOG" | tr '\n' ' ')" = "FreeInput FreeDirect3D " ] ||
  fail "shut-down order: input devices, then the graphics device"

trace="$WORK/trace.txt"
trace_lines >"$trace"
expect_in_file "$trace" "keys=[1:2]" "Escape pressed (DIK_ESCAPE = 1)"
# The cursor follows the pointer before the press, and while the button is held.
line_of() { grep -n -F "$1" "$trace" | head -1 | cut -d: -f1; }
[ "$(line_of 'cursor=(100,100)')" -lt "$(line_of 'buttons=[0:2]')" ] ||
  fail "the cursor position did not follow the pointer before the button went down"
[ "$(line_of 'cursor=(200,150)')" -lt "$(line_of 'buttons=[0:1]')" ] ||
  fail "the cursor position did not follow the drag while the button was held"
echo "ok: input devices"
