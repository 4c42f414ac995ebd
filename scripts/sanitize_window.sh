#!/usr/bin/env bash
# One window session of the sanitized program under Xvfb, for
# scripts/sanitize_program.sh: the station sample opens, takes a few keys, a
# drag and the wheel, and Escape closes it with status 0 and no sanitizer report.
#   scripts/sanitize_window.sh <sanitized vondrel-viewer>
source "$(dirname "${BASH_SOURCE[0]}")/../tests/e2e/lib.sh"
e2e_init "$1" "$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

start_viewer session "$ROOT/samples/Station" -dbf
WINDOW="$(wait_window "Vondrel Plugin Viewer" 180)"
wait_ready "$WINDOW"
tap Tab 15    # night
tap space 57  # filter
tap Tab 15
mark="$(trace_mark)"
xdotool mousemove --window "$WINDOW" 320 240 mousedown 3
wait_traced "$mark" "buttons=[1:2]" "right button pressed"
move_pointer 400 260
mark="$(trace_mark)"
xdotool mouseup 3 click 4 click 5
wait_traced "$mark" "buttons=[1:1]" "right button released"
settle
xdotool key Escape
expect_exit "$VIEWER_PID" 0 "Escape" 120
if grep -E "Sanitizer|runtime error" "$WORK/session.err" >&2; then fail "a sanitizer report in the window session"; fi
expect_in_file "$LOG" "FreeDirect3D" "the shut-down"
echo "ok: a window session under the sanitizers"
