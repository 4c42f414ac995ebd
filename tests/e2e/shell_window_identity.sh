#!/usr/bin/env bash
# The window names its class VDL_CLASS_VONDREL (the desktop entry's
# StartupWMClass) and carries the program's own 48-pixel icon.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init "$@"

make_plugin "$WORK/Foo" Struct.txt
start_viewer identity "$WORK/Foo"
window="$(wait_window "Vondrel Plugin Viewer")"

class="$(xprop -id "$window" WM_CLASS)"
[ "$class" = 'WM_CLASS(STRING) = "VDL_CLASS_VONDREL", "VDL_CLASS_VONDREL"' ] || fail "window class: $class"
grep -qxF "StartupWMClass=VDL_CLASS_VONDREL" "$ROOT/desktop/vondrel-viewer.desktop" ||
  fail "the desktop entry's StartupWMClass is not the window's class"

# _NET_WM_ICON holds width, height, then ARGB pixels; compare them with the PNG.
xprop -id "$window" -notype 32c _NET_WM_ICON | tr -d ' ' | sed 's/^_NET_WM_ICON=//' | tr ',' '\n' >"$WORK/icon.txt"
[ "$(head -2 "$WORK/icon.txt" | tr '\n' ' ')" = "48 48 " ] || fail "window icon is not 48 x 48: $(head -c 80 "$WORK/icon.txt")"
convert "$ROOT/desktop/icons/vondrel-viewer-48.png" -depth 8 RGBA:- | od -An -v -tu1 -w4 |
  awk '{ printf "%u\n", (($4 * 256 + $1) * 256 + $2) * 256 + $3 }' >"$WORK/png.txt"
tail -n +3 "$WORK/icon.txt" | cmp -s - "$WORK/png.txt" || fail "the window icon's pixels differ from vondrel-viewer-48.png"

request_close "$window"
expect_exit "$VIEWER_PID" 0 "close button"
echo "ok: window identity"
