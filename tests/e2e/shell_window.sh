#!/usr/bin/env bash
# A plug-in directory opens a centred 640 x 480 window titled
# "Vondrel Plugin Viewer"; its close button ends the program normally.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init "$@"

make_plugin "$WORK/Foo" Struct.txt
start_viewer viewer "$WORK/Foo"
window="$(wait_window "Vondrel Plugin Viewer")"
read -r screen_width screen_height < <(screen_size)
# Bare Xvfb has no window manager, so the outer window is the client area.
placed() {
  read -r x y width height < <(client_geometry "$window")
  [ "$width x $height" = "640 x 480" ] && [ "$x,$y" = "$(((screen_width - 640) / 2)),$(((screen_height - 480) / 2))" ]
}
poll_until 30 placed ||
  fail "client area $width x $height at $x,$y on a ${screen_width}x$screen_height screen: not 640 x 480 and centred"
screenshot "$window" plugin_window

request_close "$window"
expect_exit "$VIEWER_PID" 0 "close button"
echo "ok: window"
