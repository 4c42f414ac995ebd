#!/usr/bin/env bash
# Keys, a mouse drag and a wheel notch sent to the window reach the per-frame
# input state, as the input trace (VDL_TRACE_INPUT=1) in debug.txt shows:
# "keys=[code:state]" with DirectInput codes, "buttons=[index:state]",
# client-area cursor positions and the wheel. Escape then closes the program
# through its normal shut-down: input devices first, then the graphics device.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init "$@"

log="$WORK/bin/debug.txt"
make_plugin "$WORK/Foo" Struct.txt
export VDL_TRACE_INPUT=1
start_viewer input "$WORK/Foo" -dbf
window="$(wait_window "Vondrel Plugin Viewer")"
xdotool windowfocus --sync "$window"
# The first poll writes a trace line: from then on frames run and input is read.
for ((i = 0; i < 300; i++)); do grep -q '^input: ' "$log" 2>/dev/null && break; sleep 0.1; done
grep -q '^input: ' "$log" || fail "no frame polled the input within 30s"

# Each press is held over several frames (a frame is 33 ms): a key that is
# down only between two polls is not seen.
xdotool keydown a
sleep 0.3
xdotool keyup a
sleep 0.3
xdotool mousemove --window "$window" 100 100
sleep 0.3
xdotool mousedown 1
sleep 0.3
xdotool mousemove --window "$window" 200 150
sleep 0.3
xdotool mouseup 1
sleep 0.3
xdotool click 4  # one wheel notch forward
sleep 0.3
xdotool keydown Escape
sleep 0.3
xdotool keyup Escape
expect_exit "$VIEWER_PID" 0 "Escape"

expect_in_file "$log" "FreeInput" "input shut-down line"
expect_in_file "$log" "FreeDirect3D" "device shut-down line"
[ "$(grep -xE 'FreeInput|FreeDirect3D' "$log" | tr '\n' ' ')" = "FreeInput FreeDirect3D " ] ||
  fail "shut-down order: input devices, then the graphics device"

trace="$WORK/trace.txt"
grep '^input: ' "$log" >"$trace"
expect_in_file "$trace" "keys=[30:2]" "A pressed (DIK_A = 30)"
expect_in_file "$trace" "keys=[30:1]" "A released"
expect_in_file "$trace" "cursor=(100,100)" "cursor moved into the window"
expect_in_file "$trace" "buttons=[0:2]" "left button pressed"
expect_in_file "$trace" "cursor=(200,150)" "cursor dragged"
expect_in_file "$trace" "buttons=[0:1]" "left button released"
expect_in_file "$trace" "wheel=120" "one wheel notch (120)"
expect_in_file "$trace" "keys=[1:2]" "Escape pressed (DIK_ESCAPE = 1)"
# The cursor follows the pointer before the press, and while the button is held.
line_of() { grep -n -F "$1" "$trace" | head -1 | cut -d: -f1; }
[ "$(line_of 'cursor=(100,100)')" -lt "$(line_of 'buttons=[0:2]')" ] ||
  fail "the cursor position did not follow the pointer before the button went down"
[ "$(line_of 'cursor=(200,150)')" -lt "$(line_of 'buttons=[0:1]')" ] ||
  fail "the cursor position did not follow the drag while the button was held"
echo "ok: input devices"
