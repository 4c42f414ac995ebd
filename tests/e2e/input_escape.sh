#!/usr/bin/env bash
# Escape closes the program: exit status 0 and the normal shut-down, input
# devices first, then the graphics device.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init "$@"

log="$WORK/bin/debug.txt"
make_plugin "$WORK/Foo" Struct.txt
start_viewer escape "$WORK/Foo" -dbf
window="$(wait_window "Vondrel Plugin Viewer")"
xdotool windowfocus --sync "$window"
sleep 0.5
# Held for several frames: a key that is down only between two polls is not seen.
xdotool keydown Escape
sleep 0.3
xdotool keyup Escape
expect_exit "$VIEWER_PID" 0 "Escape"

expect_in_file "$log" "FreeInput" "input shut-down line"
expect_in_file "$log" "FreeDirect3D" "device shut-down line"
[ "$(grep -nxE 'FreeInput|FreeDirect3D' "$log" | cut -d: -f2 | tr '\n' ' ')" = "FreeInput FreeDirect3D " ] ||
  fail "shut-down order: input devices, then the graphics device"
echo "ok: Escape closes"
