#!/usr/bin/env bash
# The screen saver is held off only while the window is in front: with a
# two-second screen-saver time-out the X server starts it once the window has
# lost the focus, and not while the window has it. (In front, the frames'
# cursor warps count as activity too; the render test PlatformScreenSaverTest
# shows the hold itself.)
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init "$@"

# saver timeout <s> | reset | state | unfocus: the MIT-SCREEN-SAVER side of the
# X server, and moving the focus away from every window.
saver="$WORK/saver"
cc -x c -o "$saver" - -lX11 -lXss <<'C' || fail "cannot build the screen-saver helper"
#include <X11/Xlib.h>
#include <X11/extensions/scrnsaver.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
int main(int argc, char** argv) {
  Display* display = XOpenDisplay(NULL);
  if (!display || argc < 2) return 1;
  if (strcmp(argv[1], "timeout") == 0 && argc > 2) {
    XSetScreenSaver(display, atoi(argv[2]), 0, PreferBlanking, AllowExposures);
    XResetScreenSaver(display);
  } else if (strcmp(argv[1], "reset") == 0) {
    XResetScreenSaver(display);
  } else if (strcmp(argv[1], "unfocus") == 0) {
    XSetInputFocus(display, None, RevertToNone, CurrentTime);
  } else if (strcmp(argv[1], "state") == 0) {
    XScreenSaverInfo* info = XScreenSaverAllocInfo();
    if (!info || !XScreenSaverQueryInfo(display, DefaultRootWindow(display), info)) return 1;
    puts(info->state == ScreenSaverOn ? "on" : info->state == ScreenSaverOff ? "off" : "disabled");
  } else {
    return 1;
  }
  XCloseDisplay(display);
  return 0;
}
C

log="$WORK/bin/debug.txt"
# wait_log_count <text> <count>: waits until the debug log has that many lines with the text.
wait_log_count() {
  local i
  for ((i = 0; i < 300; i++)); do
    [ "$(grep -cF -- "$1" "$log" 2>/dev/null || true)" -ge "$2" ] && return 0
    sleep 0.1
  done
  fail "debug.txt has fewer than $2 lines with '$1'"
}
# expect_saver <state> <what>: the state after more than the time-out without input.
expect_saver() {
  sleep 3.5
  local state
  state="$("$saver" state)" || fail "cannot read the screen-saver state"
  [ "$state" = "$1" ] || fail "$2: screen saver $state, expected $1"
}

make_plugin "$WORK/Foo" Struct.txt
start_viewer saver "$WORK/Foo" -dbf
window="$(wait_window "Vondrel Plugin Viewer")"
"$saver" timeout 2 || fail "cannot set the screen-saver time-out"

xdotool windowfocus --sync "$window"
wait_log_count "<アクティブ>" 1
"$saver" reset
expect_saver off "window in front"

"$saver" unfocus
wait_log_count "<非アクティブ>" 1
expect_saver on "window behind"

xdotool windowfocus --sync "$window"
wait_log_count "<アクティブ>" 2
"$saver" reset
expect_saver off "window in front again"

request_close "$window"
expect_exit "$VIEWER_PID" 0 "close button"
echo "ok: screen saver"
