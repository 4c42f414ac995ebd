#!/usr/bin/env bash
# A plug-in directory opens a centred 640 x 480 window titled
# "Vondrel Plugin Viewer"; its close button ends the program normally.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init "$@"

make_plugin "$WORK/Foo" Struct.txt
start_viewer viewer "$WORK/Foo"
window="$(wait_window "Vondrel Plugin Viewer")"
sleep 0.5
read -r x y width height < <(client_geometry "$window")
read -r screen_width screen_height < <(screen_size)
[ "$width x $height" = "640 x 480" ] || fail "client area $width x $height, expected 640 x 480"
# Bare Xvfb has no window manager, so the outer window is the client area.
[ "$x,$y" = "$(((screen_width - 640) / 2)),$(((screen_height - 480) / 2))" ] ||
  fail "window at $x,$y on a ${screen_width}x$screen_height screen is not centred"
screenshot "$window" plugin_window

request_close "$window"
expect_exit "$VIEWER_PID" 0 "close button"
echo "ok: window"
