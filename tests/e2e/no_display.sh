#!/usr/bin/env bash
# Without a display the viewer ends at once with status 1 and one line that
# says so and names -shot and -check; a display named but unreachable ends it
# too, never leaving it running with a window nobody sees; a driver chosen
# explicitly (SDL_VIDEODRIVER=offscreen) still runs it off-screen.
E2E_NO_DISPLAY=1
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init "$@"

for arguments in "$ROOT/samples/Struct" ""; do
  start_viewer nodisplay $arguments
  expect_exit "$VIEWER_PID" 1 "no display (${arguments:-no argument})" 5
  [ "$(wc -l <"$WORK/nodisplay.err")" = 1 ] || fail "no display: not one line: $(cat "$WORK/nodisplay.err")"
  for text in "no display" "-shot" "-check"; do expect_in_file "$WORK/nodisplay.err" "$text" "no display line"; done
done

DISPLAY=":$((1000 + $$ % 1000))" start_viewer unreachable "$ROOT/samples/Struct"
expect_exit "$VIEWER_PID" 1 "a display that cannot be opened" 10
expect_in_file "$WORK/unreachable.err" "not available" "reason for the missing display"

SDL_VIDEODRIVER=offscreen start_viewer offscreen "$ROOT/samples/Struct"
sleep 2
kill -0 "$VIEWER_PID" 2>/dev/null || fail "the off-screen driver chosen explicitly: the viewer ended: $(cat "$WORK/offscreen.err")"
kill -TERM "$VIEWER_PID"
expect_exit "$VIEWER_PID" 0 "off-screen viewer after SIGTERM"
echo "ok: no display"
